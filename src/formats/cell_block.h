#pragma once
// A block of copied cells (terrain, description and domain of each), the
// clipboard's content: flipped and turned while it is held, and written as
// our own text format and as plain terrain letters.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/cell_selection.h"
#include "model/desc_text.h"
#include "model/domains.h"
#include "model/terrain.h"

namespace mireforge {

class DescriptionList;
class DomainTable;
class MapGrid;

struct BlockCell {
  bool present = false;  // cells of the bounding box outside the selection are not part of the block
  TerrainCode terrain = 0;
  std::int32_t domain = 0;
  DescText text;
};

// A domain of the copied cells as the source map names and colours it.
struct BlockDomain {
  int Number = 0;
  DomainSlot Slot;
  bool operator==(const BlockDomain& other) const {
    return Number == other.Number && Slot.Color == other.Slot.Color && Slot.Name == other.Slot.Name;
  }
};

struct CellBlock {
  int Width = 0, Height = 0;
  std::vector<BlockCell> Cells;  // row by row
  std::vector<BlockDomain> Domains;  // the named domains the cells use, by number
  // Terrain letters only: placed, the cells keep their domains, as painting does.
  bool TerrainOnly = false;

  bool Empty() const { return Width == 0 || Height == 0; }
  std::size_t Present() const;
  const BlockCell& At(int x, int y) const { return Cells[static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * Width]; }

  // The selected cells within their bounding box.
  static CellBlock Copy(const MapGrid& map, const DescriptionList& descriptions, const DomainTable& domains,
                        const CellSelection& selection);

  void FlipHorizontally();
  void FlipVertically();
  void RotateClockwise();
  void RotateAnticlockwise();

  // "Mireforge cells 1", the size, then one line per cell: "-" for a cell
  // that is not part of the block, else terrain, domain and the description;
  // then a line "domain", number, colour and name per named domain (readers
  // that know only the cells stop before them).
  std::string Serialize() const;
  // Throws Error for text that is not such a block.
  static CellBlock Parse(std::string_view text);
  // One line of Midnight/MU terrain letters per row; "." marks a cell that is not part of the block.
  std::string TerrainText() const;
  // Lines of terrain letters in either case ("." leaves a cell out, a short
  // line is filled with plains); descriptions become terrain names. Throws
  // Error for any other character or no line at all.
  static CellBlock FromTerrainText(std::string_view text);
};

// The MIME type of the clipboard's own format.
inline constexpr const char* CellBlockMimeType = "application/x-mireforge-cells";

}  // namespace mireforge
