#pragma once
// The terrain map: one TerrainCode per cell at index x + y * Width.
#include <cstdint>
#include <vector>

#include "model/terrain.h"

namespace mireforge {

class DescriptionList;

class MapGrid {
 public:
  bool Empty() const { return Width == 0 || Height == 0; }
  bool OnBorder(int x, int y) const { return x == 0 || y == 0 || x == Width - 1 || y == Height - 1; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }

  // Sets the size; bytes keep their linear positions, new bytes are plains.
  // Touches neither TerrainRows nor the descriptions: callers rewrite every cell.
  void ResizeMap(int width, int height);
  // Every interior cell gets code; ring cells only when includeBorder.
  void FillTerrain(int code, bool includeBorder);
  TerrainCode GetTerrain(int x, int y) const { return Cells[x + y * Width] & 0x0F; }
  // The single-cell paint: grid, TerrainRows and the cell's description text.
  void SetTerrain(int x, int y, int code, DescriptionList& descriptions);
  // Copies Cells into TerrainRows, sized Height rows of Width bytes.
  void RebuildTerrainRows();

  // Row y of TerrainRows, Width bytes.
  const TerrainCode* TerrainRow(int y) const { return TerrainRows.data() + y * Width; }

  std::uint16_t Width = 0;
  std::uint16_t Height = 0;
  std::vector<TerrainCode> Cells;
  // The actual view's copy of the terrain, indexed [y][x] through TerrainRow.
  std::vector<TerrainCode> TerrainRows;
};

}  // namespace mireforge
