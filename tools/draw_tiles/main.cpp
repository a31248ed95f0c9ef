// Draws the artwork of Mireforge and writes it as files:
//   draw_tiles TILES_FOLDER [APP_FOLDER]
// TILES_FOLDER receives terrain.bmp, terrainr.bmp, terrains.bmp and ticker.bmp;
// APP_FOLDER (if given) the application icons and the side picture.
#include <cstdio>
#include <exception>
#include <string>

#include "app_art.h"
#include "canvas.h"
#include "picture_files.h"
#include "quantize.h"
#include "terrain_art.h"

namespace drawtiles {
namespace {

using Pixels = std::vector<Canvas::Pixel>;

// Renders `count` square pictures of `size` px side by side into one strip.
template <class Draw>
Pixels Strip(int count, int size, int supersample, Draw draw) {
  Pixels strip(std::size_t(count) * size * size);
  for (int i = 0; i < count; ++i) {
    Canvas canvas(size, size, TileUnits, supersample);
    draw(canvas, i);
    const Pixels tile = canvas.Resolve();
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) strip[std::size_t(y) * count * size + i * size + x] = tile[std::size_t(y) * size + x];
  }
  return strip;
}

// The sixteen colours of the classic VGA text palette, as a retro look expects.
const std::vector<Rgb8> RetroPalette = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

// The domain indicator: a flag on a pole whose cloth is left see-through, so
// the domain colour painted underneath shows inside the frame.
Pixels Ticker() {
  static const char* const Rows[8] = {
      "#..........",
      "#########..",
      "#.......#s.",
      "#.......#s.",
      "#.......#s.",
      "#.......#s.",
      "#.......#s.",
      "#########s.",
  };
  Pixels out;
  for (const char* row : Rows)
    for (int x = 0; x < 11; ++x) {
      Canvas::Pixel p;
      p.Alpha = row[x] == '.' ? 0.0 : 1.0;
      p.Colour = row[x] == '#' ? Hex(0x1C1814) : Hex(0x5A5A5A);
      out.push_back(p);
    }
  return out;
}

void DrawTiles(const std::string& folder) {
  const Pixels terrain = Strip(TerrainKinds, 32, 4, DrawTerrainTile);
  WriteIndexedBmp(folder + "/terrain.bmp", Quantize(32 * TerrainKinds, 32, terrain, 256, false), 8);

  const Pixels retro = Strip(TerrainKinds, 32, 1, DrawRetroTile);
  WriteIndexedBmp(folder + "/terrainr.bmp", MapToPalette(32 * TerrainKinds, 32, retro, RetroPalette), 4);

  const Pixels icons = Strip(TerrainKinds + 1, 16, 4, [](Canvas& c, int i) {
    if (i < TerrainKinds)
      DrawTerrainTile(c, i);
    else
      c.Clear(Box(0, 0, TileUnits, TileUnits));  // the empty icon
  });
  WriteIndexedBmp(folder + "/terrains.bmp", Quantize(16 * (TerrainKinds + 1), 16, icons, 256, true), 8);

  WriteIndexedBmp(folder + "/ticker.bmp", Quantize(11, 8, Ticker(), 256, true), 8);
}

}  // namespace
}  // namespace drawtiles

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: draw_tiles TILES_FOLDER [APP_FOLDER]\n");
    return 2;
  }
  try {
    drawtiles::DrawTiles(argv[1]);
    if (argc == 3) drawtiles::DrawAppPictures(argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "draw_tiles: %s\n", e.what());
    return 1;
  }
  return 0;
}
