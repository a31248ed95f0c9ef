#pragma once
// A block of copied cells (terrain, description and domain of each), the
// clipboard's content: flipped and turned while it is held, and written as
// our own text format and as plain terrain letters.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/cell_selection.h"
#include "model/terrain.h"

namespace mireforge {

class DescriptionList;
class MapGrid;

struct BlockCell {
  bool present = false;  // cells of the bounding box outside the selection are not part of the block
  TerrainCode terrain = 0;
  std::int32_t domain = 0;
  std::string text;
};

struct CellBlock {
  int Width = 0, Height = 0;
  std::vector<BlockCell> Cells;  // row by row

  bool Empty() const { return Width == 0 || Height == 0; }
  std::size_t Present() const;
  const BlockCell& At(int x, int y) const { return Cells[static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * Width]; }

  // The selected cells within their bounding box.
  static CellBlock Copy(const MapGrid& map, const DescriptionList& descriptions, const CellSelection& selection);

  void FlipHorizontally();
  void FlipVertically();
  void RotateClockwise();
  void RotateAnticlockwise();

  // "Mireforge cells 1", the size, then one line per cell: "-" for a cell
  // that is not part of the block, else terrain, domain and the description.
  std::string Serialize() const;
  // Throws Error for text that is not such a block.
  static CellBlock Parse(std::string_view text);
  // One line of Midnight/MU terrain letters per row; "." marks a cell that is not part of the block.
  std::string TerrainText() const;
  // Lines of terrain letters (every other character ends a line or is ".");
  // descriptions become terrain names. Throws Error when no letter is found.
  static CellBlock FromTerrainText(std::string_view text);
};

// The MIME type of the clipboard's own format.
inline constexpr const char* CellBlockMimeType = "application/x-mireforge-cells";

}  // namespace mireforge
