#include "formats/preview_image.h"

#include <cstdio>

namespace mireforge {

std::string LegendColorText(std::uint32_t color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", color & 0xFFFFFFu);
  return text;
}

TerrainCode PreviewTerrain(std::uint32_t argb) {
  const std::uint32_t color = PixelToColor(argb);
  for (int code = 0; code < TerrainCount; ++code)
    if (PreviewPalette[code] == color) return static_cast<TerrainCode>(code);
  return NoTerrain;
}

void SavePreviewImage(const std::string& path, PictureFileType type, const MapGrid& grid) {
  if (type != PictureFileType::Bitmap && type != PictureFileType::Png) return;
  Image image(grid.Width, grid.Height);
  for (int y = 0; y < grid.Height; ++y)
    for (int x = 0; x < grid.Width; ++x) image.At(x, y) = ColorToPixel(PreviewPalette[grid.GetTerrain(x, y)]);
  SavePicture(path, type, image);
}

void LoadPreviewImage(const std::string& path, MapGrid& grid) {
  // Larger pictures would not fit the grid's sizes; refused before decoding.
  const Image image = LoadPicture(path, MaxMapSize);
  std::vector<TerrainCode> cells(image.Pixels.size());
  for (std::size_t i = 0; i < cells.size(); ++i) cells[i] = PreviewTerrain(image.Pixels[i]);
  grid.ResizeMap(image.Width, image.Height);
  grid.Cells = std::move(cells);
}

}  // namespace mireforge
