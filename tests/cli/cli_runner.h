#pragma once
// Runs mireforge-cli for tests: in-process through RunCli, or as the real
// program with its real exit status and output streams.
#include <string>
#include <vector>

namespace mireforge::cli {

struct CliResult {
  int Status = -1;
  std::string Out;
  std::string Err;
};

CliResult RunInProcess(const std::vector<std::string>& args);
// Runs the built binary; outputFolder receives its captured streams.
CliResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& outputFolder);
std::string ShellQuote(const std::string& text);

}  // namespace mireforge::cli
