// mireforge-cli resize, crop, flip and rotate: whole-map transforms for batch
// use. Each reads a map, changes it, and writes it in the format of the
// output's extension; descriptions and domains travel with their cells.
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/output_options.h"
#include "formats/map_files.h"
#include "base/error.h"
#include "model/terrain.h"
#include "project/map_transform.h"

namespace mireforge::cli {

namespace {

// Offsets a little beyond the largest map, so a map can be pushed fully out of view.
constexpr int MaxOffset = 2 * MaxMapSize;

const std::vector<std::string_view> AnchorNames = {"top-left", "top",         "top-right",
                                                   "left",     "centre",      "right",
                                                   "bottom-left", "bottom", "bottom-right"};

std::vector<OptionSyntax> WithOutput(std::vector<OptionSyntax> own) {
  for (const OptionSyntax& option : MapOutputOptions()) own.push_back(option);
  return own;
}

const OptionSyntax RingOption{"--ring", "", "", "then make the border ring frozen wastes"};

// Loads IN, lets change() transform it, writes OUT. The output is checked first,
// so a wrong command line costs no reading.
template <typename Change>
void TransformFile(const ParsedOptions& options, const CommandContext& context, Change change) {
  const OutputTarget target(options, context);
  const MapFileOptions fileOptions = MapOutputFileOptions(options, target.Path());
  Project project = LoadMapArgument(options.Positionals.front());
  change(project);
  SaveMapFile(target.Path(), project, fileOptions);
  target.Deliver();
}

}  // namespace

const CommandSyntax& ResizeSpec() {
  static const CommandSyntax syntax{
      "resize",
      "IN -o OUT [options]",
      "Resizes the map IN to --width x --height and writes it to OUT; new cells are plains.",
      WithOutput({
          {"--width", "", "W", "the new width, 1 to 512 (the map's own)"},
          {"--height", "", "H", "the new height, 1 to 512 (the map's own)"},
          {"--anchor", "", "SIDE",
           "where the old map stays: top-left, top, top-right, left, centre, right, bottom-left, bottom or "
           "bottom-right (top-left)"},
          {"--dx", "", "N", "column where the old left column lands (from --anchor)"},
          {"--dy", "", "N", "row where the old top row lands (from --anchor)"},
          RingOption,
      }),
      1,
      "IN"};
  return syntax;
}

const CommandSyntax& CropSpec() {
  static const CommandSyntax syntax{
      "crop",
      "IN -o OUT [options]",
      "Keeps the box --x, --y, --width, --height of the map IN and writes it to OUT.",
      WithOutput({
          {"--x", "", "X", "column of the box's left edge"},
          {"--y", "", "Y", "row of the box's top edge"},
          {"--width", "", "W", "width of the box, 1 to 512"},
          {"--height", "", "H", "height of the box, 1 to 512"},
          RingOption,
      }),
      1,
      "IN"};
  return syntax;
}

const CommandSyntax& FlipSpec() {
  static const CommandSyntax syntax{"flip",
                                    "IN -o OUT [options]",
                                    "Mirrors the map IN (--horizontal, --vertical or both) and writes it to OUT.",
                                    WithOutput({
                                        {"--horizontal", "", "", "mirror left to right"},
                                        {"--vertical", "", "", "mirror top to bottom (with --horizontal: both)"},
                                    }),
                                    1,
                                    "IN"};
  return syntax;
}

const CommandSyntax& RotateSpec() {
  static const CommandSyntax syntax{
      "rotate",
      "IN -o OUT [options]",
      "Turns the map IN clockwise by --degrees and writes it to OUT.",
      WithOutput({
          {"--degrees", "", "N", "90, 180 or 270 (90)"},
          {"--counter-clockwise", "", "", "turn the other way"},
      }),
      1,
      "IN"};
  return syntax;
}

void RunResize(const ParsedOptions& options, const CommandContext& context) {
  // Every option is checked before the map is read; the map's own size is the default.
  const int width = IntegerOption(options, "--width", 0, 1, MaxMapSize);
  const int height = IntegerOption(options, "--height", 0, 1, MaxMapSize);
  const auto anchor = static_cast<Anchor>(ChoiceOption(options, "--anchor", AnchorNames, 0));
  const int dx = IntegerOption(options, "--dx", 0, -MaxOffset, MaxOffset);
  const int dy = IntegerOption(options, "--dy", 0, -MaxOffset, MaxOffset);
  TransformFile(options, context, [&](Project& project) {
    const int oldWidth = project.Map.Width, oldHeight = project.Map.Height;
    const int newWidth = width ? width : oldWidth, newHeight = height ? height : oldHeight;
    const MapOffset placed = AnchorOffset(anchor, oldWidth, oldHeight, newWidth, newHeight);
    ResizeProject(project, newWidth, newHeight, options.Has("--dx") ? dx : placed.dx,
                  options.Has("--dy") ? dy : placed.dy, options.Has("--ring"));
  });
}

void RunCrop(const ParsedOptions& options, const CommandContext& context) {
  for (std::string_view name : {"--x", "--y", "--width", "--height"})
    if (!options.Has(name)) throw UsageError("missing " + std::string(name));
  const int x = IntegerOption(options, "--x", 0, 0, MaxMapSize - 1);
  const int y = IntegerOption(options, "--y", 0, 0, MaxMapSize - 1);
  const int width = IntegerOption(options, "--width", 0, 1, MaxMapSize);
  const int height = IntegerOption(options, "--height", 0, 1, MaxMapSize);
  TransformFile(options, context, [&](Project& project) {
    const MapGrid& map = project.Map;
    if (x + width > map.Width || y + height > map.Height)
      throw Error("The box " + std::to_string(width) + " x " + std::to_string(height) + " at " + std::to_string(x) +
                  "," + std::to_string(y) + " does not fit in the " + std::to_string(map.Width) + " x " +
                  std::to_string(map.Height) + " map");
    ResizeProject(project, width, height, -x, -y, options.Has("--ring"));
  });
}

void RunFlip(const ParsedOptions& options, const CommandContext& context) {
  const bool horizontal = options.Has("--horizontal"), vertical = options.Has("--vertical");
  if (!horizontal && !vertical) throw UsageError("say --horizontal or --vertical");
  TransformFile(options, context, [&](Project& project) {
    if (horizontal) FlipHorizontally(project);
    if (vertical) FlipVertically(project);
  });
}

void RunRotate(const ParsedOptions& options, const CommandContext& context) {
  const int turns = ChoiceOption(options, "--degrees", {"90", "180", "270"}, 0) + 1;
  TransformFile(options, context,
                [&](Project& project) { RotateProject(project, options.Has("--counter-clockwise") ? -turns : turns); });
}

}  // namespace mireforge::cli
