#pragma once
// The column and row of cell indexes x + y * width met mostly in order, as an
// edit lists its cells: the next cell along a row is found without a division,
// the slowest step of walking a whole map's cells.
#include <cstdint>

namespace mireforge {

class CellPlace {
 public:
  explicit CellPlace(int width) : width_(width) {}
  void MoveTo(std::uint32_t cell) {
    if (cell == next_ && x_ + 1 < width_) {
      ++x_;
    } else {
      y_ = static_cast<int>(cell / static_cast<std::uint32_t>(width_));
      x_ = static_cast<int>(cell - static_cast<std::uint32_t>(y_) * static_cast<std::uint32_t>(width_));
    }
    next_ = cell + 1;
  }
  int X() const { return x_; }
  int Y() const { return y_; }

 private:
  int width_;
  // As if cell -1 had been met last, so that cell 0 follows it.
  int x_ = -1, y_ = 0;
  std::uint32_t next_ = 0;
};

}  // namespace mireforge
