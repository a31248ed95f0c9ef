#include "formats/map_image.h"

#include <algorithm>
#include <vector>

#include "model/error.h"

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
  PictureRowWriter writer(path, type, size.Width, size.Height);
  std::vector<std::uint32_t> row(static_cast<std::size_t>(size.Width), Argb(0, 0, 0));
  const std::vector<std::uint32_t> gridRow(row.size(), Argb(0, 0, 0));
  for (int y = 0; y < grid.Height; ++y) {
    for (int tileRow = 0; tileRow < tileSize; ++tileRow) {
      for (int x = 0; x < grid.Width; ++x) {
        const std::uint32_t* source = &scaled[grid.GetTerrain(x, y)].Pixels[static_cast<std::size_t>(tileRow) * tileSize];
        // The grid line pixels after each tile stay black from the fill above.
        std::copy_n(source, tileSize, row.data() + static_cast<std::size_t>(x) * step);
      }
      writer.WriteRow(row.data());
    }
    for (int line = 0; line < gridLineWidth; ++line) writer.WriteRow(gridRow.data());
    if (progress) progress(y + 1, grid.Height);
  }
  writer.Commit();
}

}  // namespace mireforge
