#include "cli/cli.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <ostream>
#include <sstream>

#include "cli/commands.h"
#include "formats/map_files.h"
#include "base/error.h"

namespace mireforge::cli {

namespace {

constexpr const char* Program = "mireforge-cli";

std::vector<std::string_view> SplitWords(std::string_view words) {
  std::vector<std::string_view> list;
  while (!words.empty()) {
    const std::size_t space = words.find(' ');
    list.push_back(words.substr(0, space));
    words = space == std::string_view::npos ? std::string_view() : words.substr(space + 1);
  }
  return list;
}

// The command whose words open the command line, and how many words it took.
const Command* FindCommand(const std::vector<std::string>& args, std::size_t& wordCount) {
  for (const Command& command : Commands()) {
    const std::vector<std::string_view> words = SplitWords(command.Syntax().Words);
    if (words.size() > args.size()) continue;
    bool match = true;
    for (std::size_t i = 0; i < words.size() && match; ++i) match = args[i] == words[i];
    if (match) {
      wordCount = words.size();
      return &command;
    }
  }
  return nullptr;
}

std::string OverallHelp(std::string_view only = {}) {
  std::ostringstream text;
  text << "Usage: " << Program << " COMMAND [options]\n"
       << "Generates, converts, transforms and inspects Midnight/MU terrain maps.\n\nCommands:\n";
  for (const Command& command : Commands()) {
    const CommandSyntax& syntax = command.Syntax();
    if (!only.empty() && syntax.Words.substr(0, only.size()) != only) continue;
    const std::string head = std::string(syntax.Words) + " " + std::string(syntax.Arguments);
    text << "  " << head << std::string(head.size() < 36 ? 36 - head.size() : 1, ' ') << syntax.Summary << "\n";
  }
  text << "\nMap files are read from " << LoadableExtensions() << " and written to " << SavableExtensions()
       << ", by extension; -o - writes to standard output in the --format given.\n"
       << "Run '" << Program << " COMMAND --help' for the options of a command.\n";
  return text.str();
}

int UsageFailure(std::ostream& err, const std::string& message, std::string_view helpWords) {
  err << Program << ": " << message << "\n";
  err << "Try '" << Program << (helpWords.empty() ? "" : " ") << helpWords << " --help'.\n";
  return 2;
}

}  // namespace

void RethrowNamingFile(const std::string& path) {
  try {
    throw;
  } catch (const Error& e) {
    const std::string message = e.what();
    if (message.find(path) != std::string::npos) throw;
    throw Error(path + ": " + message);
  }
}

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {GeneratePlasmaSpec, RunGeneratePlasma},
      {GenerateCEvoSpec, RunGenerateCEvo},
      {NameSpec, RunName},
      {ConvertSpec, RunConvert},
      {StatsSpec, RunStats},
      {ImportSpec, RunImport},
      {RenderSpec, RunRender},
      {ResizeSpec, RunResize},
      {CropSpec, RunCrop},
      {FlipSpec, RunFlip},
      {RotateSpec, RunRotate},
  };
  return commands;
}

namespace {

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool showProgress) {
  if (args.empty()) return UsageFailure(err, "no command given", "");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    out << OverallHelp();
    return 0;
  }
  if (args[0] == "--version") {
    out << Program << " " << MIREFORGE_VERSION << "\n";
    return 0;
  }

  std::size_t wordCount = 0;
  const Command* command = FindCommand(args, wordCount);
  if (!command) {
    if (args[0] == "generate") {
      if (WantsHelp(args, 1)) {
        out << OverallHelp("generate");
        return 0;
      }
      const std::string method = args.size() > 1 ? "unknown method '" + args[1] + "'" : "missing method";
      return UsageFailure(err, "generate: " + method + " (plasma or cevo)", "generate");
    }
    return UsageFailure(err, "unknown command '" + args[0] + "'", "");
  }

  const CommandSyntax& syntax = command->Syntax();
  if (WantsHelp(args, wordCount)) {
    out << HelpText(syntax);
    return 0;
  }
  try {
    const ParsedOptions options = ParseOptions(args, wordCount, syntax);
    const bool quiet = options.Has("--quiet");
    command->Run(options, CommandContext{out, err, showProgress && !quiet, quiet});
    return 0;
  } catch (const UsageError& e) {
    return UsageFailure(err, std::string(syntax.Words) + ": " + e.what(), syntax.Words);
  } catch (const std::exception& e) {
    // Error carries the user-facing message; anything else (out of memory, a
    // file system fault) is still a failed operation, not a crash.
    err << Program << ": " << e.what() << "\n";
    return 1;
  }
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool showProgress) {
  errno = 0;
  const int status = RunCommand(args, out, err, showProgress);
  out.flush();
  // Output that could not be written (a full disk, a closed pipe) is a failure too.
  if (!out) {
    const int reason = errno;
    err << Program << ": cannot write to standard output" << (reason ? std::string(": ") + std::strerror(reason) : "")
        << "\n";
    return 1;
  }
  return status;
}

}  // namespace mireforge::cli
