#pragma once
// The commands of mireforge-cli. Each one describes its options once (for
// parsing and --help) and runs on the parsed options, throwing Error when the
// operation fails and UsageError when the command line is wrong.
#include <iosfwd>
#include <vector>

#include "cli/options.h"

namespace mireforge::cli {

struct Command {
  const CommandSpec& (*Spec)();
  void (*Run)(const ParsedOptions& options, std::ostream& out);
};

const CommandSpec& GeneratePlasmaSpec();
const CommandSpec& GenerateCEvoSpec();
const CommandSpec& ConvertSpec();
const CommandSpec& StatsSpec();

void RunGeneratePlasma(const ParsedOptions& options, std::ostream& out);
void RunGenerateCEvo(const ParsedOptions& options, std::ostream& out);
void RunConvert(const ParsedOptions& options, std::ostream& out);
void RunStats(const ParsedOptions& options, std::ostream& out);

// Every command, in the order the overall help lists them.
const std::vector<Command>& Commands();

// The value of the required "-o FILE"; UsageError when it is missing.
const std::string& OutputPath(const ParsedOptions& options);

}  // namespace mireforge::cli
