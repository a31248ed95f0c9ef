// mireforge-cli render: the map image, every cell drawn with its tile, as the
// grid view shows it.
#include <string>

#include "cli/commands.h"
#include "cli/output_options.h"
#include "cli/progress_bar.h"
#include "base/file_io.h"
#include "formats/map_files.h"
#include "formats/map_image.h"
#include "pictures/tile_pictures.h"
#include "base/error.h"

namespace mireforge::cli {

namespace {

PictureFileType ImageTypeOf(const std::string& path) {
  const std::string extension = LowerExtension(path);
  if (extension == "png") return PictureFileType::Png;
  if (extension == "bmp") return PictureFileType::Bitmap;
  throw Error(FormatMessage("Unknown picture file extension (.%s)", extension));
}

// The sizes the grid view offers, so an image matches what the editor shows.
int TileSizeOption(const ParsedOptions& options) {
  const std::string* text = options.Value("--tile-size");
  if (!text) return TilePictureSize;
  for (const int size : TileSizes)
    if (*text == std::to_string(size)) return size;
  throw UsageError("--tile-size takes 32, 24, 20, 16, 12, 10 or 8, not '" + *text + "'");
}

}  // namespace

const CommandSyntax& RenderSpec() {
  static const CommandSyntax syntax{
      "render",
      "MAP -o IMAGE",
      "Draws the map MAP tile by tile into IMAGE (.png or .bmp).",
      {
          {"--output", "-o", "IMAGE", "the picture to write, .png or .bmp; - for standard output"},
          OutputFormatOption,
          {"--tile-size", "", "N", "pixels per tile: 32, 24, 20, 16, 12, 10 or 8 (32)"},
          {"--grid", "", "", "a black line right of and below every tile"},
          {"--retro", "", "", "the retro tiles"},
          {"--grayscale", "", "", "the grey tiles"},
      },
      1,
      "MAP"};
  return syntax;
}

void RunRender(const ParsedOptions& options, const CommandContext& context) {
  const OutputTarget target(options, context);
  const std::string& output = target.Path();
  const PictureFileType type = ImageTypeOf(output);
  const int tileSize = TileSizeOption(options);
  const Project project = LoadMapArgument(options.Positionals.front());
  const TileSet tiles = LoadTileSet(options.Has("--retro"), options.Has("--grayscale"));
  ProgressBar bar(context.Err, "Rendering", context.ShowProgress);
  SaveMapImage(output, type, project.Map, tiles, tileSize, options.Has("--grid") ? 1 : 0,
               [&bar](int done, int total) { bar.Update(done, total); });
  bar.Finish();
  target.Deliver();
}

}  // namespace mireforge::cli
