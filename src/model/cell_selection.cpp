#include "model/cell_selection.h"

#include <algorithm>

namespace mireforge {

void CellSelection::Reset(int width, int height) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  flags_.assign(static_cast<std::size_t>(width_) * height_, 0);
  count_ = 0;
}

void CellSelection::Set(std::uint32_t index, bool selected) {
  if (index >= flags_.size() || (flags_[index] != 0) == selected) return;
  flags_[index] = selected ? 1 : 0;
  if (selected) ++count_;
  else --count_;
}

void CellSelection::Apply(const std::vector<std::uint32_t>& cells, SelectionMode mode) {
  if (mode == SelectionMode::Replace) Clear();
  const bool selected = mode != SelectionMode::Subtract;
  for (std::uint32_t cell : cells) Set(cell, selected);
}

void CellSelection::SelectAll() {
  std::fill(flags_.begin(), flags_.end(), 1);
  count_ = flags_.size();
}

void CellSelection::Clear() {
  std::fill(flags_.begin(), flags_.end(), 0);
  count_ = 0;
}

void CellSelection::Invert() {
  for (std::uint8_t& flag : flags_) flag ^= 1;
  count_ = flags_.size() - count_;
}

CellBounds CellSelection::Bounds() const {
  CellBounds b{width_, height_, -1, -1};
  if (count_ == 0) return CellBounds{};
  for (int y = 0; y < height_; ++y) {
    const std::uint8_t* row = flags_.data() + static_cast<std::size_t>(y) * width_;
    const std::uint8_t* first = std::find(row, row + width_, 1);
    if (first == row + width_) continue;
    const int last = static_cast<int>(width_ - 1 - (std::find(std::make_reverse_iterator(row + width_),
                                                              std::make_reverse_iterator(row), 1) -
                                                    std::make_reverse_iterator(row + width_)));
    b.left = std::min(b.left, static_cast<int>(first - row));
    b.right = std::max(b.right, last);
    b.top = std::min(b.top, y);
    b.bottom = y;
  }
  return b;
}

std::vector<std::uint32_t> CellSelection::Cells() const {
  std::vector<std::uint32_t> cells;
  cells.reserve(count_);
  for (std::uint32_t i = 0; i < flags_.size(); ++i)
    if (flags_[i]) cells.push_back(i);
  return cells;
}

}  // namespace mireforge
