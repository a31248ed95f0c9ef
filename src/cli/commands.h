#pragma once
// The commands of mireforge-cli. Each one describes its options once (for
// parsing and --help) and runs on the parsed options, throwing Error when the
// operation fails and UsageError when the command line is wrong.
#include <exception>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/options.h"
#include "formats/map_files.h"
#include "project/project.h"

namespace mireforge::cli {

// Where a command writes: its results to Out, progress to Err when ShowProgress
// (standard error is a terminal, so the bar does not clutter a log).
struct CommandContext {
  std::ostream& Out;
  std::ostream& Err;
  bool ShowProgress = false;
  bool Quiet = false;  // --quiet: no report lines
};

struct Command {
  const CommandSyntax& (*Syntax)();
  void (*Run)(const ParsedOptions& options, const CommandContext& context);
};

const CommandSyntax& GeneratePlasmaSpec();
const CommandSyntax& GenerateCEvoSpec();
const CommandSyntax& NameSpec();
const CommandSyntax& ConvertSpec();
const CommandSyntax& StatsSpec();
const CommandSyntax& ImportSpec();
const CommandSyntax& RenderSpec();
const CommandSyntax& ResizeSpec();
const CommandSyntax& CropSpec();
const CommandSyntax& FlipSpec();
const CommandSyntax& RotateSpec();

void RunGeneratePlasma(const ParsedOptions& options, const CommandContext& context);
void RunGenerateCEvo(const ParsedOptions& options, const CommandContext& context);
void RunName(const ParsedOptions& options, const CommandContext& context);
void RunConvert(const ParsedOptions& options, const CommandContext& context);
void RunStats(const ParsedOptions& options, const CommandContext& context);
void RunImport(const ParsedOptions& options, const CommandContext& context);
void RunRender(const ParsedOptions& options, const CommandContext& context);
void RunResize(const ParsedOptions& options, const CommandContext& context);
void RunCrop(const ParsedOptions& options, const CommandContext& context);
void RunFlip(const ParsedOptions& options, const CommandContext& context);
void RunRotate(const ParsedOptions& options, const CommandContext& context);

// Every command, in the order the overall help lists them.
const std::vector<Command>& Commands();

// Inside a catch block: rethrows the Error being handled, with the file's name
// in front unless its message already names it (a reader's bare "List index
// out of bounds (0)" says nothing of which file).
[[noreturn]] void RethrowNamingFile(const std::string& path);

// Runs read() for the file a command line names, naming it in any failure.
template <typename Read>
auto ReadNamingFile(const std::string& path, Read read) -> decltype(read()) {
  try {
    return read();
  } catch (const std::exception&) {
    RethrowNamingFile(path);
  }
}

// Reads the map a command line names.
inline Project LoadMapArgument(const std::string& path, MapFileParts content = MapFileParts::Whole) {
  return ReadNamingFile(path, [&] { return LoadMapFile(path, content); });
}

}  // namespace mireforge::cli
