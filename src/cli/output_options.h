#pragma once
// The options of every command that writes a map file: the ones that shape
// particular formats (frame, SQL statements, HTML pictures), checked against
// the format the output name picks.
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/options.h"
#include "formats/map_files.h"

namespace mireforge::cli {

struct CommandContext;

// "--format EXT": the format of "-o -", which has no extension to go by.
inline constexpr OptionSyntax OutputFormatOption{"--format", "", "EXT",
                                                "with -o -: the format to write, such as php, sql or png"};

// Where a command's file goes: the file "-o" names, or with "-o -" standard
// output. The writers pick the format by extension and write whole files, so
// standard output is fed from a scratch file named with the --format.
class OutputTarget {
 public:
  // UsageError for a missing -o, "-o -" without --format or --format with a file name.
  OutputTarget(const ParsedOptions& options, const CommandContext& context);
  ~OutputTarget();
  OutputTarget(const OutputTarget&) = delete;
  OutputTarget& operator=(const OutputTarget&) = delete;

  // The file to write.
  const std::string& Path() const { return path_; }
  bool ToStandardOutput() const { return !scratchFolder_.empty(); }
  // Where report lines (seeds, sizes) go: nowhere with --quiet, standard error
  // when standard output carries the file.
  std::ostream* Report() const;
  // Copies the written scratch file to standard output; nothing for a named file.
  void Deliver() const;

 private:
  const CommandContext& context_;
  std::string path_;
  std::string scratchFolder_;
};

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
