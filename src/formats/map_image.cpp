#include "formats/map_image.h"

#include <algorithm>

#include "base/error.h"

namespace mireforge {

Image ScaleTile(const Image& tile, int size) {
  Image scaled(size, size);
  for (int y = 0; y < size; ++y) {
    const int sy = static_cast<int>(static_cast<long long>(y) * tile.Height / size);
    for (int x = 0; x < size; ++x) {
      const int sx = static_cast<int>(static_cast<long long>(x) * tile.Width / size);
      scaled.At(x, y) = tile.At(sx, sy) | 0xFF000000u;
    }
  }
  return scaled;
}

PictureSize MapImageSize(const MapGrid& grid, int tileSize, int gridLineWidth) {
  const int step = tileSize + gridLineWidth;
  return {grid.Width * step, grid.Height * step};
}

void SaveMapImage(const std::string& path, PictureFileType type, const MapGrid& grid, const TileSet& tiles,
                  int tileSize, int gridLineWidth, const MapImageProgress& progress) {
  if (tileSize < 1 || tileSize > 256) throw Error(FormatMessage("Tile size %d is not supported", tileSize));
  if (gridLineWidth < 0 || gridLineWidth > 16)
    throw Error(FormatMessage("Grid line width %d is not supported", gridLineWidth));
  for (int code = 0; code < TerrainCount; ++code)
    if (tiles.Tiles[code].Empty()) throw Error(FormatMessage("The tile picture of terrain %d is missing", code));

  // Scaled once here; the loop below only copies rows of them.
  std::array<Image, TerrainCount> scaled;
  for (int code = 0; code < TerrainCount; ++code) scaled[code] = ScaleTile(tiles.Tiles[code], tileSize);

  const PictureSize size = MapImageSize(grid, tileSize, gridLineWidth);
  const int step = tileSize + gridLineWidth;
  // Any row on its own, as the PNG encoder draws bands of rows on several threads.
  const auto drawRow = [&](int imageRow, std::uint32_t* out) {
    std::fill_n(out, size.Width, Argb(0, 0, 0));  // the grid lines stay black
    const int y = imageRow / step, tileRow = imageRow % step;
    if (tileRow >= tileSize) return;
    for (int x = 0; x < grid.Width; ++x) {
      const std::uint32_t* source = &scaled[grid.GetTerrain(x, y)].Pixels[static_cast<std::size_t>(tileRow) * tileSize];
      std::copy_n(source, tileSize, out + static_cast<std::size_t>(x) * step);
    }
  };
  int mapRowsDone = 0;
  const auto imageRowsDone = [&](int rows) {
    for (; mapRowsDone < grid.Height && (mapRowsDone + 1) * step <= rows; ++mapRowsDone)
      if (progress) progress(mapRowsDone + 1, grid.Height);
  };
  SavePictureRows(path, type, size.Width, size.Height, drawRow, imageRowsDone);
}

}  // namespace mireforge
