#pragma once
// Per-cell location descriptions and domain numbers, and the index that finds a cell's entry.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/desc_text.h"

namespace mireforge {

class MapGrid;

struct TDescItem {
  TDescItem() = default;
  TDescItem(int terrain, DescText text, int x, int y, int domain);

  void MoveTo(int x, int y) {
    X = x;
    Y = y;
  }

  // "[x,y]", or "[y,x]" when SwapXY is set.
  std::string PositionText() const;
  // PositionText with the column first, as at creation: made from X and Y when
  // asked for rather than kept in every cell.
  std::string Position() const;

  std::int32_t Terrain = 0;  // code when created; readers take the current one from the grid
  DescText Text;
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t Domain = 0;
  bool SwapXY = false;
};

// DescriptionNodes, the index by cell: element x + y * width refers to the cell's
// entry. Entries are always in index order, so element i is i and only the
// length is stored; it is kept equal to the list's.
class CellEntryIndex {
 public:
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::uint32_t operator[](std::size_t cell) const { return static_cast<std::uint32_t>(cell); }
  void resize(std::size_t size) { size_ = size; }
  void clear() { size_ = 0; }
  friend bool operator==(const CellEntryIndex&, const CellEntryIndex&) = default;

 private:
  std::size_t size_ = 0;
};

// The description list: one entry per cell in index order, plus DescriptionNodes.
class DescriptionList {
 public:
  // Appends an entry; callers add cells strictly in index order.
  void AddDescription(int terrain, DescText text, int x, int y, int domain);
  void Clear();
  void Reserve(std::size_t count);

  bool Empty() const { return Entries.empty(); }
  std::size_t Size() const { return Entries.size(); }

  TDescItem& Entry(std::size_t i) { return Entries[i]; }
  const TDescItem& Entry(std::size_t i) const { return Entries[i]; }

  // The item of cell (x, y), or nullptr when the index is empty or the cell lies
  // outside it (a view may ask about a cell of a map that is being replaced).
  TDescItem* CellDescription(int x, int y, int width);
  const TDescItem* CellDescription(int x, int y, int width) const;

  std::vector<TDescItem> Entries;
  CellEntryIndex DescriptionNodes;
};

// Rebuilds the list from the terrain: every cell gets its terrain name and domain 0.
void BuildDefaultDescriptions(DescriptionList& list, const MapGrid& grid);

}  // namespace mireforge
