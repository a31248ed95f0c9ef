#include "model/statistics.h"

#include <gtest/gtest.h>

#include "model/map_grid.h"

namespace mireforge {
namespace {

TEST(Statistics, PercentRoundsAHalfUpExactly) {
  struct Case {
    long long count, total;
    const char* text;
  };
  for (const Case c : {Case{1, 800, "0.13"},       // 0.125: a half, up
                       Case{29, 20000, "0.15"},    // 0.145, which a double holds just below the half
                       Case{1, 20000, "0.01"},     // 0.005
                       Case{1, 20001, "0.00"},     // just below 0.005
                       Case{254, 4158, "6.11"},    Case{3904, 4158, "93.89"}, Case{2, 3, "66.67"},
                       Case{4158, 4158, "100.00"}, Case{0, 4158, "0.00"},     Case{0, 0, "0.00"},
                       Case{5, 0, "0.00"},         Case{262143, 262144, "100.00"}, Case{1, 262144, "0.00"}})
    EXPECT_EQ(FormatPercent(c.count, c.total), c.text) << c.count << " of " << c.total;
}

TEST(Statistics, CountTerrainReadsTheLowFourBits) {
  MapGrid map;
  map.ResizeMap(4, 3);
  map.FillTerrain(FrozenWastes, true);
  map.FillTerrain(Lake, false);
  map.Cells[5] = static_cast<TerrainCode>(0x10 | Forest);  // high bits are not part of the terrain
  const auto counts = CountTerrain(map);
  EXPECT_EQ(counts[FrozenWastes], 10);
  EXPECT_EQ(counts[Lake], 1);
  EXPECT_EQ(counts[Forest], 1);
  int sum = 0;
  for (int n : counts) sum += n;
  EXPECT_EQ(sum, 12);
}

}  // namespace
}  // namespace mireforge
