#include "cli/cli_runner.h"

#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

#include "cli/cli.h"
#include "base/file_io.h"

namespace mireforge::cli {

CliResult RunInProcess(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  CliResult result;
  result.Status = RunCli(args, out, err);
  result.Out = out.str();
  result.Err = err.str();
  return result;
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') quoted += "'\\''";
    else quoted += c;
  }
  quoted += '\'';
  return quoted;
}

CliResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& outputFolder) {
  const std::string outPath = outputFolder + "/stdout.txt";
  const std::string errPath = outputFolder + "/stderr.txt";
  std::string command = ShellQuote(program);
  for (const std::string& arg : args) command.append(" ").append(ShellQuote(arg));
  command.append(" >").append(ShellQuote(outPath)).append(" 2>").append(ShellQuote(errPath));
  const int raw = std::system(command.c_str());
  CliResult result;
  result.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.Out = ReadWholeFile(outPath);
  result.Err = ReadWholeFile(errPath);
  return result;
}

}  // namespace mireforge::cli
