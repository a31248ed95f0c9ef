#pragma once
// The sets of cells the editing tools act on: connected regions, shapes and
// brush footprints, as cell indexes x + y * width of a map.
#include <cstdint>
#include <vector>

#include "model/cell_selection.h"

namespace mireforge {

// The 4-connected region around (x, y) of cells for which member(x, y) is
// true (the start cell included only when it is a member). Scanline fill:
// each cell is looked at a constant number of times.
template <class Member>
std::vector<std::uint32_t> FloodRegion(int width, int height, int x, int y, Member member) {
  std::vector<std::uint32_t> cells;
  if (x < 0 || y < 0 || x >= width || y >= height || !member(x, y)) return cells;
  std::vector<std::uint8_t> seen(static_cast<std::size_t>(width) * height, 0);
  std::vector<std::pair<int, int>> stack{{x, y}};
  const auto open = [&](int cx, int cy) {
    const std::size_t i = static_cast<std::size_t>(cx) + static_cast<std::size_t>(cy) * width;
    return !seen[i] && member(cx, cy);
  };
  while (!stack.empty()) {
    auto [sx, sy] = stack.back();
    stack.pop_back();
    if (!open(sx, sy)) continue;
    int left = sx, right = sx;
    while (left > 0 && open(left - 1, sy)) --left;
    while (right < width - 1 && open(right + 1, sy)) ++right;
    for (int cx = left; cx <= right; ++cx) {
      const std::size_t i = static_cast<std::size_t>(cx) + static_cast<std::size_t>(sy) * width;
      seen[i] = 1;
      cells.push_back(static_cast<std::uint32_t>(i));
    }
    // One seed per run of open cells in the rows above and below.
    for (int ny : {sy - 1, sy + 1}) {
      if (ny < 0 || ny >= height) continue;
      bool inRun = false;
      for (int cx = left; cx <= right; ++cx) {
        const bool o = open(cx, ny);
        if (o && !inRun) stack.emplace_back(cx, ny);
        inRun = o;
      }
    }
  }
  return cells;
}

// Every cell of the map for which member(x, y) is true, in index order.
template <class Member>
std::vector<std::uint32_t> MatchingCells(int width, int height, Member member) {
  std::vector<std::uint32_t> cells;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (member(x, y)) cells.push_back(static_cast<std::uint32_t>(x + y * width));
  return cells;
}

// Shapes between two corner cells, clipped to the map. With constrain the
// box becomes a square (a circle for the ellipse) on the side of the second corner.
CellBounds ShapeBox(int x0, int y0, int x1, int y1, bool constrain);
std::vector<std::uint32_t> RectangleCells(int width, int height, const CellBounds& box);
// The filled ellipse inscribed in the box.
std::vector<std::uint32_t> EllipseCells(int width, int height, const CellBounds& box);
// An 8-connected line from the first cell to the second (Bresenham).
std::vector<std::uint32_t> LineCells(int width, int height, int x0, int y0, int x1, int y1);

// Brush sizes offered: square or round footprints of this many cells across.
inline constexpr int BrushSizes[] = {1, 2, 3, 5, 7, 9};
// The footprint of a brush of size n at (x, y), clipped to the map; for even
// sizes (x, y) is the cell left of and above the footprint's centre.
std::vector<std::uint32_t> BrushCells(int width, int height, int x, int y, int size, bool round);

// A choice 0 to count - 1 for a cell that depends only on the seed and the
// cell, so a random brush gives the same cell the same pick however it is crossed.
int RandomPick(std::uint32_t seed, std::uint32_t cell, int count);

}  // namespace mireforge
