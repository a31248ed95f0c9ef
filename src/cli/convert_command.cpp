// mireforge-cli convert: reads a map in one format and writes it in another,
// each chosen by the file name's extension.
#include "cli/commands.h"
#include "cli/output_options.h"
#include "formats/map_files.h"

namespace mireforge::cli {

const CommandSyntax& ConvertSpec() {
  static const CommandSyntax syntax{"convert", "IN -o OUT",
                                "Reads the map IN and writes it to OUT in the format of its extension.",
                                MapOutputOptions(), 1, "IN"};
  return syntax;
}

void RunConvert(const ParsedOptions& options, const CommandContext& context) {
  const OutputTarget target(options, context);
  // Refuse an unknown target or a misplaced option before reading anything.
  const MapFileOptions fileOptions = MapOutputFileOptions(options, target.Path());
  const Project project = LoadMapArgument(
      options.Positionals.front(),
      MapFileFormatOf(target.Path()).WritesDescriptions ? MapFileParts::Whole : MapFileParts::Terrain);
  SaveMapFile(target.Path(), project, fileOptions);
  target.Deliver();
}

}  // namespace mireforge::cli
