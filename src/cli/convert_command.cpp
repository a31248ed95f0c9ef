// mireforge-cli convert: reads a map in one format and writes it in another,
// each chosen by the file name's extension.
#include "cli/commands.h"
#include "formats/map_files.h"

namespace mireforge::cli {

const CommandSpec& ConvertSpec() {
  static const CommandSpec spec{
      "convert",
      "IN -o OUT",
      "Reads the map IN and writes it to OUT in the format of its extension.",
      {
          {"--output", "-o", "OUT", "the map file to write"},
          {"--omit-border", "", "", "leave the outermost rows and columns out of the written map"},
      },
      1,
      "IN"};
  return spec;
}

void RunConvert(const ParsedOptions& options, std::ostream&) {
  const std::string& input = options.Positionals.front();
  const std::string& output = OutputPath(options);
  CheckSavable(output);  // refuse an unknown target before reading anything
  const Project project = LoadMapFile(input);
  MapFileOptions fileOptions;
  fileOptions.OmitBorder = options.Has("--omit-border");
  SaveMapFile(output, project, fileOptions);
}

}  // namespace mireforge::cli
