// mireforge-cli import: a heightmap picture made into a map, as the import
// wizard makes it: grey levels cut into mountains, downs, forest and plains,
// framed by frozen wastes.
#include <ostream>
#include <string>

#include "cli/commands.h"
#include "cli/output_options.h"
#include "import/heightmap.h"
#include "model/descriptions.h"

namespace mireforge::cli {

namespace {

// The wizard's fields keep mountains < downs < forests by lowering the darker
// value when a lighter one is set below it; here that happens only to values
// left at their defaults, never to one the user gave.
ImportThresholds ThresholdOptions(const ParsedOptions& options) {
  const ImportThresholds defaults;
  ImportThresholds thresholds;
  thresholds.Mountains = IntegerOption(options, "--mountains", defaults.Mountains, 0, 255);
  thresholds.Downs = IntegerOption(options, "--downs", defaults.Downs, 1, 255);
  thresholds.Forests = IntegerOption(options, "--forests", defaults.Forests, 2, 255);
  const ImportThresholds given = thresholds;
  CoupleThresholds(thresholds);
  if ((options.Has("--mountains") && thresholds.Mountains != given.Mountains) ||
      (options.Has("--downs") && thresholds.Downs != given.Downs))
    throw UsageError("the thresholds must rise: --mountains " + std::to_string(given.Mountains) + " < --downs " +
                     std::to_string(given.Downs) + " < --forests " + std::to_string(given.Forests) + " does not hold");
  return thresholds;
}

}  // namespace

const CommandSyntax& ImportSpec() {
  static const CommandSyntax syntax = [] {
    CommandSyntax s{"import",
                  "PICTURE [options] -o FILE",
                  "Makes a map of the heightmap PICTURE (.png or .bmp).",
                  {
                      {"--resize", "", "METHOD",
                       "nearest|linear|spline|lanczos|mitchell: how a picture larger than 512 becomes "
                       "512 x 512 (nearest)"},
                      {"--invert", "", "", "light is high, dark is low"},
                      {"--full-edge", "", "", "full edge resampling"},
                      {"--mountains", "", "N", "grey levels up to N are mountains, 0 to 255 (76)"},
                      {"--downs", "", "N", "grey levels up to N are downs, 1 to 255 (120)"},
                      {"--forests", "", "N", "grey levels up to N are forest, the rest plains, 2 to 255 (170)"},
                  },
                  1,
                  "PICTURE"};
    for (OptionSyntax& option : MapOutputOptions()) s.Options.push_back(option);
    return s;
  }();
  return syntax;
}

void RunImport(const ParsedOptions& options, const CommandContext& context) {
  const OutputTarget target(options, context);
  const std::string& output = target.Path();
  const MapFileOptions fileOptions = MapOutputFileOptions(options, output);
  PictureImportOptions picture;
  picture.Method = ResizeMethodOfIndex(
      ChoiceOption(options, "--resize", {"nearest", "linear", "spline", "lanczos", "mitchell"}, 0));
  picture.Invert = options.Has("--invert");
  picture.FullEdge = options.Has("--full-edge");
  const ImportThresholds thresholds = ThresholdOptions(options);

  const std::string& input = options.Positionals.front();
  const Image preview = ReadNamingFile(input, [&] { return LoadPicturePreview(input, picture); });
  Project project;
  project.Map = BuildMapFromPreview(DrawTerrainPreview(preview, thresholds));
  if (MapFileFormatOf(output).WritesDescriptions) BuildDefaultDescriptions(project.Descriptions, project.Map);
  project.ProjectSaved = false;
  SaveMapFile(output, project, fileOptions);
  target.Deliver();
  if (std::ostream* report = target.Report())
    *report << "map-size: " << project.Map.Width << "x" << project.Map.Height << "\n";
}

}  // namespace mireforge::cli
