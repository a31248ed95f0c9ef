// Draws the actual view's picture pack and writes it as PNG files:
//   draw_scene PACK_FOLDER [PREVIEW.png]
// PACK_FOLDER receives 20.png (sky), 21.png (ground) and <code>_<size>.png for
// every terrain code and size class, pure red where see-through. PREVIEW (if
// given) receives four views of a sample map composed from the written pack,
// to look at the pictures together.
#include <cstdio>
#include <exception>
#include <string>

#include "base/file_io.h"
#include "pictures/image.h"
#include "scene/picture_library.h"
#include "pictures/png_codec.h"
#include "model/map_grid.h"
#include "scene/scene_pictures.h"
#include "scene_art.h"

namespace {

using mireforge::Image;

constexpr std::uint32_t PureRed = 0xFFFF0000u;

void Save(const std::string& path, const Image& image) {
  mireforge::WriteWholeFile(path, mireforge::EncodePng(image, mireforge::PngColor::Rgb), "Cannot create file %s");
}

Image Sprite(int code, int sizeClass) {
  const int width = mireforge::SpriteWidths[sizeClass], height = mireforge::SpriteHeight(sizeClass);
  drawtiles::Canvas canvas(width, height, drawscene::FrameUnits, width > 120 ? 3 : 5);
  canvas.Clear(drawtiles::Box(0, 0, canvas.UnitsWide(), canvas.UnitsHigh()));  // a canvas starts opaque
  drawscene::DrawTerrain(canvas, code);
  const auto pixels = canvas.Resolve();
  Image image(width, height, PureRed);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    if (pixels[i].Alpha < 0.5) continue;
    const auto channel = [](double v) { return int(std::clamp(v + 0.5, 0.0, 255.0)); };
    std::uint32_t argb = mireforge::Argb(channel(pixels[i].Colour.R), channel(pixels[i].Colour.G), channel(pixels[i].Colour.B));
    if (argb == PureRed) argb = mireforge::Argb(254, 0, 0);  // pure red means see-through
    image.Pixels[i] = argb;
  }
  return image;
}

void Preview(const std::string& packFolder, const std::string& path) {
  // Every terrain in bands around the viewer, framed by frozen wastes.
  mireforge::MapGrid map;
  map.ResizeMap(24, 24);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x)
      map.Cells[x + y * 24] = map.OnBorder(x, y) ? 10 : static_cast<mireforge::TerrainCode>((x / 2 + y * 5 / 3) % 15);
  map.RebuildTerrainRows();
  mireforge::ScenePictures pictures(mireforge::OpenPicturePack(packFolder));
  Image sheet(2 * mireforge::SceneWidth, 2 * mireforge::SceneHeight);
  Image frame;
  for (int i = 0; i < 4; ++i) {
    mireforge::ViewState view;
    view.MoveTo(i < 2 ? 12 : 2, i < 2 ? 12 : 3);
    view.ViewDirection = i * 3 % 8;
    mireforge::ComposeScene(frame, pictures, mireforge::SceneSprites(view, map));
    for (int y = 0; y < frame.Height; ++y)
      for (int x = 0; x < frame.Width; ++x)
        sheet.At(x + (i % 2) * mireforge::SceneWidth, y + (i / 2) * mireforge::SceneHeight) = frame.At(x, y);
  }
  if (!pictures.Notice().empty()) std::fprintf(stderr, "%s\n", pictures.Notice().c_str());
  Save(path, sheet);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: draw_scene PACK_FOLDER [PREVIEW.png]\n");
    return 2;
  }
  try {
    const std::string folder = argv[1];
    const int horizon = mireforge::GroundTop;
    Image sky(mireforge::SceneWidth, horizon);
    sky.Pixels = drawscene::DrawSky(sky.Width, sky.Height, horizon);
    Save(folder + "/20.png", sky);
    Image ground(mireforge::SceneWidth, mireforge::SceneHeight - horizon);
    ground.Pixels = drawscene::DrawGround(ground.Width, ground.Height);
    Save(folder + "/21.png", ground);
    for (int code = 0; code < mireforge::TerrainCount; ++code)
      for (int size = 0; size < mireforge::SizeClassCount; ++size)
        Save(folder + "/" + mireforge::SpriteName(code, size) + ".png", Sprite(code, size));
    if (argc > 2) Preview(folder, argv[2]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "draw_scene: %s\n", error.what());
    return 1;
  }
  return 0;
}
