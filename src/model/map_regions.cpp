#include "model/map_regions.h"

#include <algorithm>
#include <cstdlib>

namespace mireforge {

namespace {

CellBounds Clip(int width, int height, CellBounds box) {
  box.left = std::max(box.left, 0);
  box.top = std::max(box.top, 0);
  box.right = std::min(box.right, width - 1);
  box.bottom = std::min(box.bottom, height - 1);
  return box;
}

std::uint32_t Index(int width, int x, int y) { return static_cast<std::uint32_t>(x + y * width); }

}  // namespace

CellBounds ShapeBox(int x0, int y0, int x1, int y1, bool constrain) {
  if (constrain) {
    const int side = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    x1 = x0 + (x1 < x0 ? -side : side);
    y1 = y0 + (y1 < y0 ? -side : side);
  }
  return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

std::vector<std::uint32_t> RectangleCells(int width, int height, const CellBounds& box) {
  std::vector<std::uint32_t> cells;
  const CellBounds b = Clip(width, height, box);
  if (b.Empty()) return cells;
  cells.reserve(static_cast<std::size_t>(b.Width()) * b.Height());
  for (int y = b.top; y <= b.bottom; ++y)
    for (int x = b.left; x <= b.right; ++x) cells.push_back(Index(width, x, y));
  return cells;
}

std::vector<std::uint32_t> EllipseCells(int width, int height, const CellBounds& box) {
  std::vector<std::uint32_t> cells;
  if (box.Empty()) return cells;
  // Cell centres inside the ellipse through the box's outer edges.
  const double cx = (box.left + box.right + 1) / 2.0, cy = (box.top + box.bottom + 1) / 2.0;
  const double rx = box.Width() / 2.0, ry = box.Height() / 2.0;
  const CellBounds b = Clip(width, height, box);
  for (int y = b.top; y <= b.bottom; ++y) {
    const double dy = (y + 0.5 - cy) / ry;
    for (int x = b.left; x <= b.right; ++x) {
      const double dx = (x + 0.5 - cx) / rx;
      if (dx * dx + dy * dy <= 1.0) cells.push_back(Index(width, x, y));
    }
  }
  return cells;
}

std::vector<std::uint32_t> LineCells(int width, int height, int x0, int y0, int x1, int y1) {
  std::vector<std::uint32_t> cells;
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    if (x0 >= 0 && y0 >= 0 && x0 < width && y0 < height) cells.push_back(Index(width, x0, y0));
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * error;
    if (e2 >= dy) {
      error += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      error += dx;
      y0 += sy;
    }
  }
  return cells;
}

std::vector<std::uint32_t> BrushCells(int width, int height, int x, int y, int size, bool round) {
  std::vector<std::uint32_t> cells;
  size = std::max(1, size);
  const int first = -(size - 1) / 2;
  // Round: cells whose centre lies within size / 2 - 1/4 of the footprint's
  // centre, which keeps 2 a square and makes 3 a plus.
  const double centre = first + (size - 1) / 2.0;
  const double radius = size / 2.0 - 0.25;
  for (int dy = first; dy < first + size; ++dy)
    for (int dx = first; dx < first + size; ++dx) {
      const int cx = x + dx, cy = y + dy;
      if (cx < 0 || cy < 0 || cx >= width || cy >= height) continue;
      if (round) {
        const double ex = dx - centre, ey = dy - centre;
        if (ex * ex + ey * ey > radius * radius) continue;
      }
      cells.push_back(Index(width, cx, cy));
    }
  return cells;
}

int RandomPick(std::uint32_t seed, std::uint32_t cell, int count) {
  if (count <= 1) return 0;
  // SplitMix64 of seed and cell.
  std::uint64_t z = (static_cast<std::uint64_t>(seed) << 32 | cell) + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return static_cast<int>(z % static_cast<std::uint64_t>(count));
}

}  // namespace mireforge
