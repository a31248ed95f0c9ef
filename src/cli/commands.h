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
  const CommandSpec& (*Spec)();
  void (*Run)(const ParsedOptions& options, const CommandContext& context);
};

const CommandSpec& GeneratePlasmaSpec();
const CommandSpec& GenerateCEvoSpec();
const CommandSpec& ConvertSpec();
const CommandSpec& StatsSpec();
const CommandSpec& ImportSpec();
const CommandSpec& RenderSpec();

void RunGeneratePlasma(const ParsedOptions& options, const CommandContext& context);
void RunGenerateCEvo(const ParsedOptions& options, const CommandContext& context);
void RunConvert(const ParsedOptions& options, const CommandContext& context);
void RunStats(const ParsedOptions& options, const CommandContext& context);
void RunImport(const ParsedOptions& options, const CommandContext& context);
void RunRender(const ParsedOptions& options, const CommandContext& context);

// Every command, in the order the overall help lists them.
const std::vector<Command>& Commands();

// The value of the required "-o FILE"; UsageError when it is missing.
const std::string& OutputPath(const ParsedOptions& options);

}  // namespace mireforge::cli
