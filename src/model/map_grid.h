#pragma once
// The terrain map: one TerrainCode per cell at index x + y * Width.
#include <cstdint>
#include <utility>
#include <vector>

#include "model/terrain.h"

namespace mireforge {

class DescriptionList;

class MapGrid {
 public:
  MapGrid() = default;
  // TerrainRows stays bound to the grid's own cells.
  MapGrid(const MapGrid& other) : Width(other.Width), Height(other.Height), Cells(other.Cells) {}
  MapGrid(MapGrid&& other) noexcept : Width(other.Width), Height(other.Height), Cells(std::move(other.Cells)) {}
  MapGrid& operator=(const MapGrid& other) {
    Width = other.Width;
    Height = other.Height;
    Cells = other.Cells;
    return *this;
  }
  MapGrid& operator=(MapGrid&& other) noexcept {
    Width = other.Width;
    Height = other.Height;
    Cells = std::move(other.Cells);
    return *this;
  }

  bool Empty() const { return Width == 0 || Height == 0; }
  bool OnBorder(int x, int y) const { return x == 0 || y == 0 || x == Width - 1 || y == Height - 1; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }

  // Sets the size; bytes keep their linear positions, new bytes are plains.
  // Touches not the descriptions: callers rewrite every cell.
  void ResizeMap(int width, int height);
  // Every interior cell gets code; ring cells only when includeBorder.
  void FillTerrain(int code, bool includeBorder);
  TerrainCode GetTerrain(int x, int y) const { return TerrainAt(x + static_cast<std::size_t>(y) * Width); }
  // The same by cell index.
  TerrainCode TerrainAt(std::size_t cell) const { return TerrainOf(Cells[cell]); }
  // The single-cell paint: the cell and its description text.
  void SetTerrain(int x, int y, int code, DescriptionList& descriptions);

  // The rows have nothing to copy (see TerrainRows); this marks where they are to
  // follow a wholesale change.
  void RebuildTerrainRows() {}
  // Row y of TerrainRows, Width bytes.
  const TerrainCode* TerrainRow(int y) const { return Cells.data() + y * Width; }

  std::uint16_t Width = 0;
  std::uint16_t Height = 0;
  std::vector<TerrainCode> Cells;
  // The terrain row by row, [y][x] through TerrainRow, as the actual view reads it:
  // the cells themselves, so stored once and in step with every change.
  const std::vector<TerrainCode>& TerrainRows = Cells;
};

}  // namespace mireforge
