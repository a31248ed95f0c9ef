#pragma once
// The commands of mireforge-cli. Each one describes its options once (for
// parsing and --help) and runs on the parsed options, throwing Error when the
// operation fails and UsageError when the command line is wrong.
#include <iosfwd>
#include <vector>

#include "cli/options.h"

namespace mireforge::cli {

// Where a command writes: its results to Out, progress to Err when ShowProgress
// (standard error is a terminal, so the bar does not clutter a log).
struct CommandContext {
  std::ostream& Out;
  std::ostream& Err;
  bool ShowProgress = false;
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

// The value of the required "-o FILE"; UsageError when it is missing.
const std::string& OutputPath(const ParsedOptions& options);

}  // namespace mireforge::cli
