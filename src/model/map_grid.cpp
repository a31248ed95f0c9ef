#include "model/map_grid.h"

#include <string>

#include "model/descriptions.h"

namespace mireforge {

void MapGrid::ResizeMap(int width, int height) {
  Width = static_cast<std::uint16_t>(width);
  Height = static_cast<std::uint16_t>(height);
  Cells.resize(static_cast<std::size_t>(Width) * Height, Plains);
}

void MapGrid::FillTerrain(int code, bool includeBorder) {
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x)
      if (includeBorder || !OnBorder(x, y)) Cells[x + y * Width] = static_cast<TerrainCode>(code);
}

void MapGrid::SetTerrain(int x, int y, int code, DescriptionList& descriptions) {
  const TerrainCode masked = TerrainOf(code);
  Cells[x + y * Width] = masked;
  if (TDescItem* item = descriptions.CellDescription(x, y, Width))
    item->Text = DefaultDescription(masked);
}

}  // namespace mireforge
