// Regions, shapes, brush footprints and the selection the editing tools act on.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <set>

#include "model/cell_place.h"
#include "model/cell_selection.h"
#include "model/map_regions.h"
#include "model/random_source.h"

namespace mireforge {
namespace {

std::set<std::uint32_t> AsSet(const std::vector<std::uint32_t>& cells) { return {cells.begin(), cells.end()}; }

// A plain breadth-first search, to hold the scanline fill against.
std::set<std::uint32_t> Reference(const std::vector<int>& grid, int w, int h, int x, int y) {
  std::set<std::uint32_t> seen;
  const int value = grid[x + y * w];
  std::deque<std::pair<int, int>> queue{{x, y}};
  while (!queue.empty()) {
    auto [cx, cy] = queue.front();
    queue.pop_front();
    if (cx < 0 || cy < 0 || cx >= w || cy >= h || grid[cx + cy * w] != value) continue;
    if (!seen.insert(static_cast<std::uint32_t>(cx + cy * w)).second) continue;
    queue.insert(queue.end(), {{cx + 1, cy}, {cx - 1, cy}, {cx, cy + 1}, {cx, cy - 1}});
  }
  return seen;
}

TEST(FloodRegion, MatchesABreadthFirstSearchOnRandomMaps) {
  RandomSource random;
  for (int round = 0; round < 40; ++round) {
    random.RandomSeed = round;
    const int w = 1 + static_cast<int>(random.RandomInt(40)), h = 1 + static_cast<int>(random.RandomInt(40));
    const int kinds = 2 + round % 3;  // few kinds: big, winding regions
    std::vector<int> grid(static_cast<std::size_t>(w) * h);
    for (int& cell : grid) cell = static_cast<int>(random.RandomInt(kinds));
    const int x = static_cast<int>(random.RandomInt(w)), y = static_cast<int>(random.RandomInt(h));
    const int value = grid[x + y * w];
    const auto cells = FloodRegion(w, h, x, y, [&](int cx, int cy) { return grid[cx + cy * w] == value; });
    EXPECT_EQ(cells.size(), AsSet(cells).size()) << "a cell reported twice, round " << round;
    EXPECT_EQ(AsSet(cells), Reference(grid, w, h, x, y)) << "round " << round;
  }
}

TEST(FloodRegion, DiagonalsDoNotConnectAndANonMemberStartGivesNothing) {
  // 1 0
  // 0 1
  const std::vector<int> grid{1, 0, 0, 1};
  const auto ones = [&](int x, int y) { return grid[x + y * 2] == 1; };
  EXPECT_EQ(FloodRegion(2, 2, 0, 0, ones), std::vector<std::uint32_t>{0});
  EXPECT_TRUE(FloodRegion(2, 2, 1, 0, ones).empty());
  EXPECT_TRUE(FloodRegion(2, 2, 5, 0, ones).empty());
}

TEST(Shapes, BoxesRectanglesEllipsesAndLines) {
  const CellBounds box = ShapeBox(7, 2, 3, 5, false);
  EXPECT_EQ(box.left, 3);
  EXPECT_EQ(box.right, 7);
  EXPECT_EQ(box.top, 2);
  EXPECT_EQ(box.bottom, 5);
  // Constrained towards the second corner: up and to the left.
  const CellBounds square = ShapeBox(10, 10, 7, 2, true);
  EXPECT_EQ(square.Width(), 9);
  EXPECT_EQ(square.Height(), 9);
  EXPECT_EQ(square.left, 2);
  EXPECT_EQ(square.top, 2);

  // Clipped to the map.
  EXPECT_EQ(RectangleCells(4, 4, ShapeBox(-2, -2, 1, 0, false)).size(), 2u * 1u);
  const auto ellipse = EllipseCells(20, 20, ShapeBox(0, 0, 4, 2, false));
  EXPECT_EQ(AsSet(ellipse), AsSet({1, 2, 3, 20, 21, 22, 23, 24, 41, 42, 43}));
  EXPECT_EQ(EllipseCells(5, 5, ShapeBox(2, 2, 2, 2, false)), std::vector<std::uint32_t>{12});

  EXPECT_EQ(LineCells(10, 10, 0, 0, 3, 3), (std::vector<std::uint32_t>{0, 11, 22, 33}));
  EXPECT_EQ(LineCells(10, 10, 3, 1, 0, 1), (std::vector<std::uint32_t>{13, 12, 11, 10}));
  EXPECT_EQ(LineCells(10, 10, 8, 0, 11, 0), (std::vector<std::uint32_t>{8, 9}));  // clipped
}

TEST(Brush, FootprintsOfEverySize) {
  const int expectedSquare[] = {1, 4, 9, 25, 49, 81};
  const int expectedRound[] = {1, 4, 5, 21, 37, 61};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(BrushCells(30, 30, 15, 15, BrushSizes[i], false).size(), static_cast<std::size_t>(expectedSquare[i]));
    EXPECT_EQ(BrushCells(30, 30, 15, 15, BrushSizes[i], true).size(), static_cast<std::size_t>(expectedRound[i]));
  }
  // Size 2 grows right and down; size 3 round is a plus; the edge clips.
  EXPECT_EQ(AsSet(BrushCells(10, 10, 4, 4, 2, false)), AsSet({44, 45, 54, 55}));
  EXPECT_EQ(AsSet(BrushCells(10, 10, 4, 4, 3, true)), AsSet({34, 43, 44, 45, 54}));
  EXPECT_EQ(BrushCells(10, 10, 0, 0, 3, false).size(), 4u);
}

TEST(Brush, RandomPickDependsOnlyOnSeedAndCell) {
  std::vector<int> counts(3);
  for (std::uint32_t cell = 0; cell < 3000; ++cell) {
    const int pick = RandomPick(7, cell, 3);
    ASSERT_GE(pick, 0);
    ASSERT_LT(pick, 3);
    EXPECT_EQ(pick, RandomPick(7, cell, 3));
    ++counts[pick];
  }
  for (int count : counts) EXPECT_NEAR(count, 1000, 120);
  int differ = 0;
  for (std::uint32_t cell = 0; cell < 100; ++cell) differ += RandomPick(7, cell, 3) != RandomPick(8, cell, 3);
  EXPECT_GT(differ, 40);
}

TEST(CellPlace, MatchesDivisionInEveryOrder) {
  for (const int width : {1, 3, 512}) {
    std::vector<std::uint32_t> cells;
    for (std::uint32_t cell = 0; cell < static_cast<std::uint32_t>(width) * 4; ++cell) cells.push_back(cell);  // rows wrap
    const std::vector<std::uint32_t> inOrder = cells;
    cells.insert(cells.end(), inOrder.rbegin(), inOrder.rend());
    cells.insert(cells.end(), {5, 5, 6, 2, 3, 0, 1});  // repeats, jumps back, the first cell again
    RandomSource random;
    random.RandomSeed = width;
    for (int i = 0; i < 200; ++i) cells.push_back(random.RandomInt(static_cast<std::uint32_t>(width) * 4));
    CellPlace place(width);
    for (const std::uint32_t cell : cells) {
      place.MoveTo(cell);
      ASSERT_EQ(place.X(), static_cast<int>(cell % width)) << "cell " << cell << " width " << width;
      ASSERT_EQ(place.Y(), static_cast<int>(cell / width)) << "cell " << cell << " width " << width;
    }
  }
}

TEST(CellSelection, CombinesCountsAndBounds) {
  CellSelection selection;
  selection.Reset(5, 4);
  EXPECT_TRUE(selection.Bounds().Empty());
  selection.Apply({6, 7, 8}, SelectionMode::Replace);
  selection.Apply({8, 13}, SelectionMode::Add);
  EXPECT_EQ(selection.Count(), 4u);
  selection.Apply({6, 19}, SelectionMode::Subtract);
  EXPECT_EQ(selection.Cells(), (std::vector<std::uint32_t>{7, 8, 13}));
  const CellBounds b = selection.Bounds();
  EXPECT_EQ(b.left, 2);
  EXPECT_EQ(b.right, 3);
  EXPECT_EQ(b.top, 1);
  EXPECT_EQ(b.bottom, 2);
  selection.Invert();
  EXPECT_EQ(selection.Count(), 17u);
  EXPECT_FALSE(selection.Contains(2, 1));
  EXPECT_TRUE(selection.Contains(0, 0));
  EXPECT_FALSE(selection.Contains(5, 0));
  selection.Apply({0}, SelectionMode::Replace);
  EXPECT_EQ(selection.Count(), 1u);
  selection.SelectAll();
  EXPECT_EQ(selection.Bounds().Width(), 5);
  selection.Clear();
  EXPECT_TRUE(selection.Empty());
}

}  // namespace
}  // namespace mireforge
