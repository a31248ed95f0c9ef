#pragma once
// The options of every command that writes a map file: the ones that shape
// particular formats (frame, SQL statements, HTML pictures), checked against
// the format the output name picks.
#include <string>
#include <vector>

#include "cli/options.h"
#include "formats/map_files.h"

namespace mireforge::cli {

// "-o FILE" followed by the format options, for a command's option list;
// less the one named ownOption, which the command uses for something else.
std::vector<OptionSyntax> MapOutputOptions(std::string_view ownOption = {});

// Checks that the output can be written in its format and that every format
// option given applies to that format, then gathers them. Called before any
// work, so a mistake costs nothing. Error for an unknown or unwritable
// extension, UsageError for a misplaced or empty option.
MapFileOptions MapOutputFileOptions(const ParsedOptions& options, const std::string& path,
                                    std::string_view ownOption = {});

}  // namespace mireforge::cli
