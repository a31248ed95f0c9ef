#pragma once
// A selection of map cells: any set of cells, not only a rectangle, kept as
// one flag per cell so that membership tests are constant-time.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace mireforge {

struct CellBounds {
  int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; empty when right < left
  bool Empty() const { return right < left || bottom < top; }
  int Width() const { return Empty() ? 0 : right - left + 1; }
  int Height() const { return Empty() ? 0 : bottom - top + 1; }
};

// How a new region meets the selection (no modifier, Shift, Ctrl).
enum class SelectionMode { Replace, Add, Subtract };

class CellSelection {
 public:
  // An empty selection of a map of this size.
  void Reset(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return count_ == 0; }
  std::size_t Count() const { return count_; }
  bool Contains(std::uint32_t index) const { return index < flags_.size() && flags_[index] != 0; }
  bool Contains(int x, int y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_ && flags_[x + y * width_] != 0;
  }
  void Set(std::uint32_t index, bool selected);
  // Combines the cells given with the selection.
  void Apply(const std::vector<std::uint32_t>& cells, SelectionMode mode);
  void SelectAll();
  void Clear();
  void Invert();
  // The smallest rectangle holding every selected cell.
  CellBounds Bounds() const;
  // Selected cells in index order.
  std::vector<std::uint32_t> Cells() const;
  bool operator==(const CellSelection& other) const = default;

 private:
  int width_ = 0, height_ = 0;
  std::size_t count_ = 0;
  std::vector<std::uint8_t> flags_;
};

}  // namespace mireforge
