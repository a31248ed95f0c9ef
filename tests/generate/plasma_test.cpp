#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "generate/plasma.h"
#include "generate/rare_terrain.h"
#include "base/error.h"
#include "model/terrain.h"
#include "support/test_maps.h"

namespace mireforge {
namespace {

// A straightforward plasma generator, loop for loop as the algorithm reads,
// to hold the optimised one to the same bytes.
class ReferencePlasma {
 public:
  ReferencePlasma(MapGrid& grid, GeneratorSettings& settings, RandomSource& random)
      : grid_(grid), settings_(settings), random_(random) {}

  void Run() {
    grid_.Cells.assign(static_cast<std::size_t>(grid_.Width) * grid_.Height, 0);
    workWidth_ = 4 * grid_.Width;
    workHeight_ = 4 * grid_.Height;
    work_.assign(static_cast<std::size_t>(workWidth_) * workHeight_, 0);
    G(0, 0) = 128;
    G(workWidth_ - 1, 0) = 128;
    G(0, workHeight_ - 1) = 128;
    G(workWidth_ - 1, workHeight_ - 1) = 128;
    Subdivide(0, 0, workWidth_ - 1, workHeight_ - 1);
    if (settings_.Smooth)
      for (int x = 0; x < workWidth_; ++x)
        for (int y = 0; y < workHeight_; ++y) SmoothCell(x, y);
    if (settings_.ResizeType == 1)
      ResizeBilinear();
    else
      for (int y = 0; y < grid_.Height; ++y)
        for (int x = 0; x < grid_.Width; ++x) grid_.Cells[x + y * grid_.Width] = G(4 * x, 4 * y);
    for (int y = 0; y < grid_.Height; ++y)
      for (int x = 0; x < grid_.Width; ++x) {
        std::uint8_t& c = grid_.Cells[x + y * grid_.Width];
        const int v = c;
        if (x == 0 || y == 0 || x == grid_.Width - 1 || y == grid_.Height - 1)
          c = 10;
        else if (v <= settings_.MountainLevel)
          c = 14;
        else if (v <= settings_.DownsLevel)
          c = 6;
        else if (v <= settings_.ForestLevel)
          c = 2;
        else
          c = 0;
      }
    if (settings_.CreateRare) ScatterRareTerrain(grid_, settings_, random_);
  }

 private:
  std::uint8_t& G(int x, int y) { return work_[x + y * workWidth_]; }

  int Displace(int sum, int d, int divisor) {
    return ((sum + d - static_cast<int>(random_.RandomInt(d))) / divisor) % settings_.AvgHeight;
  }

  void Subdivide(std::uint16_t x1, std::uint16_t y1, std::uint16_t x2, std::uint16_t y2) {
    if (x2 - x1 < 2 && y2 - y1 < 2) return;
    const int tl = G(x1, y1), bl = G(x1, y2), tr = G(x2, y1), br = G(x2, y2);
    const std::uint16_t xm = (x1 + x2) / 2, ym = (y1 + y2) / 2;
    const int d = ((x2 - x1) + (y2 - y1)) * 5 / 3;
    if (G(xm, y1) == 0) G(xm, y1) = Displace(tl + tr, d, 2);
    if (G(x1, ym) == 0) G(x1, ym) = Displace(tl + bl, d, 2);
    if (G(x2, ym) == 0) G(x2, ym) = Displace(tr + br, d, 2);
    if (G(xm, y2) == 0) G(xm, y2) = Displace(bl + br, d, 2);
    G(xm, ym) = Displace(tl + bl + tr + br, d, 4);
    Subdivide(x1, y1, xm, ym);
    Subdivide(xm, y1, x2, ym);
    Subdivide(x1, ym, xm, y2);
    Subdivide(xm, ym, x2, y2);
  }

  void SmoothCell(int x, int y) {
    int sum = 0;
    for (int i = -1; i <= 2; ++i)
      for (int j = -2; j <= 2; ++j) sum += G((x + i + workWidth_) % workWidth_, (y + j + workHeight_) % workHeight_);
    G(x, y) = static_cast<std::uint8_t>(static_cast<int>(static_cast<double>(sum) / settings_.SmoothLevel));
  }

  void ResizeBilinear() {
    const std::uint32_t xstep = ((workWidth_ - 1) * 65536) / grid_.Width;
    const std::uint32_t ystep = ((workHeight_ - 1) * 65536) / grid_.Height;
    std::uint32_t fy = 0;
    for (int y = 0; y < grid_.Height; ++y) {
      const std::uint32_t yi = fy >> 16;
      const std::uint32_t row0 = yi * workWidth_;
      const std::uint32_t row1 = static_cast<int>(yi) < workHeight_ - 1 ? (yi + 1) * workWidth_ : row0;
      const std::uint32_t wy1 = (fy & 0xFFFF) + 1, wy0 = 65536 - (fy & 0xFFFF);
      std::uint32_t fx = 0;
      for (int x = 0; x < grid_.Width; ++x) {
        const std::uint32_t xi = fx >> 16, f = fx & 0xFFFF;
        const std::uint32_t a = (wy0 * f) >> 16, b = (wy1 * f) >> 16;
        const std::uint32_t v = (work_[row0 + xi] * (wy0 - a) + work_[row0 + xi + 1] * a +
                                 work_[row1 + xi] * (wy1 - b) + work_[row1 + xi + 1] * b) >>
                                16;
        grid_.Cells[x + y * grid_.Width] = static_cast<std::uint8_t>(v);
        fx += xstep;
      }
      fy += ystep;
    }
  }

  MapGrid& grid_;
  GeneratorSettings& settings_;
  RandomSource& random_;
  int workWidth_ = 0, workHeight_ = 0;
  std::vector<std::uint8_t> work_;
};

MapGrid Plasma(int width, int height, GeneratorSettings settings, std::int32_t seed = 0,
               std::int32_t* seedAfter = nullptr) {
  return RunGenerator(GeneratePlasma, width, height, settings, seed, seedAfter);
}

TEST(Plasma, DefaultMapsHaveTheKnownTerrainCounts) {
  struct Case {
    int resizeType;
    int plains, forest, downs, mountains;
  };
  for (const Case& c : {Case{1, 2843, 849, 192, 20}, Case{0, 2845, 846, 186, 27}}) {
    GeneratorSettings settings = DefaultsWithoutRare();
    settings.ResizeType = c.resizeType;
    const MapGrid first = Plasma(66, 63, settings);
    const auto counts = TerrainCounts(first);
    SCOPED_TRACE(c.resizeType);
    EXPECT_EQ(counts[Plains], c.plains);
    EXPECT_EQ(counts[Forest], c.forest);
    EXPECT_EQ(counts[Downs], c.downs);
    EXPECT_EQ(counts[Mountains], c.mountains);
    EXPECT_EQ(counts[FrozenWastes], 254);
    EXPECT_EQ(first.Cells.size(), 66u * 63u);
    EXPECT_EQ(Plasma(66, 63, settings).Cells, first.Cells);
  }
}


TEST(Plasma, MatchesTheStraightforwardGeneratorByteForByte) {
  struct Case {
    int width, height;
    std::int32_t seed;
    bool smooth;
    std::int32_t smoothLevel;
    std::uint8_t avgHeight;
    std::int32_t resizeType;
  };
  const Case cases[] = {
      {66, 63, 0, true, 20, 254, 1},      {66, 63, 12345, true, 20, 254, 0},  {1, 1, 7, true, 20, 254, 1},
      {1, 9, -3, true, 20, 254, 1},       {9, 1, 99, true, 3, 254, 0},        {2, 2, 5, true, 20, 254, 1},
      {3, 5, 42, true, 1, 97, 1},         {5, 3, -99999, false, 20, 254, 1},  {17, 129, 8, true, 255, 200, 1},
      {100, 37, 2024, true, 7, 1, 1},     {127, 64, 31337, true, 20, 255, 0}, {255, 3, 77, true, 11, 128, 1},
      {512, 512, 47107250, true, 20, 254, 1},
  };
  for (const Case& c : cases) {
    GeneratorSettings settings = DefaultsWithoutRare();
    settings.Smooth = c.smooth;
    settings.SmoothLevel = c.smoothLevel;
    settings.AvgHeight = c.avgHeight;
    settings.ResizeType = c.resizeType;
    // Levels that keep all four kinds apart and leave few cells in each band.
    settings.MountainLevel = 40;
    settings.DownsLevel = 100;
    settings.ForestLevel = 160;
    std::int32_t fastSeed = 0;
    const MapGrid fast = Plasma(c.width, c.height, settings, c.seed, &fastSeed);

    MapGrid expected;
    expected.ResizeMap(c.width, c.height);
    RandomSource random([] { return 0; });
    random.RandomSeed = c.seed;
    ReferencePlasma(expected, settings, random).Run();

    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " seed " + std::to_string(c.seed));
    EXPECT_EQ(fast.Cells, expected.Cells);
    EXPECT_EQ(fastSeed, random.RandomSeed);
  }
}

TEST(Plasma, LevelsOnlyMoveTheInteriorBetweenKinds) {
  struct Case {
    std::int32_t mountains, downs, forest;
    bool plains, forests, downsLeft, mountainsLeft;
  };
  const Case cases[] = {
      {76, 120, 170, true, true, true, true},     {76, 120, 255, false, true, true, true},
      {255, 0, 0, false, false, false, true},     {120, 76, 170, true, true, false, true},
      {0, 0, 0, true, false, false, false},       {-1, -1, -1, true, false, false, false},
      {76, 255, 10, false, false, true, true},
  };
  for (const Case& c : cases) {
    GeneratorSettings settings = DefaultsWithoutRare();
    settings.MountainLevel = c.mountains;
    settings.DownsLevel = c.downs;
    settings.ForestLevel = c.forest;
    const MapGrid grid = Plasma(66, 63, settings);
    const auto counts = TerrainCounts(grid);
    SCOPED_TRACE(std::to_string(c.mountains) + "/" + std::to_string(c.downs) + "/" + std::to_string(c.forest));
    EXPECT_TRUE(RingIsFrozen(grid));
    EXPECT_EQ(counts[FrozenWastes], 254);
    EXPECT_EQ(counts[Plains] > 0, c.plains);
    EXPECT_EQ(counts[Forest] > 0, c.forests);
    EXPECT_EQ(counts[Downs] > 0, c.downsLeft);
    EXPECT_EQ(counts[Mountains] > 0, c.mountainsLeft);
    EXPECT_EQ(counts[Plains] + counts[Forest] + counts[Downs] + counts[Mountains], 64 * 61);
  }
}

TEST(Plasma, TinyMapsAreAllFrame) {
  for (int size : {1, 2}) {
    const MapGrid grid = Plasma(size, size, DefaultsWithoutRare(), 3);
    EXPECT_EQ(grid.Cells, std::vector<TerrainCode>(size * size, FrozenWastes)) << size;
  }
}

TEST(Plasma, ReductionsShareTheRandomStream) {
  GeneratorSettings settings = DefaultsWithoutRare();
  std::int32_t bilinearSeed = 0, quickSeed = 0;
  const MapGrid bilinear = Plasma(80, 50, settings, 555, &bilinearSeed);
  settings.ResizeType = 0;
  const MapGrid quick = Plasma(80, 50, settings, 555, &quickSeed);
  EXPECT_EQ(bilinearSeed, quickSeed);
  EXPECT_NE(bilinear.Cells, quick.Cells);
}

TEST(Plasma, SmoothingLevelMattersOnlyWhenSmoothing) {
  GeneratorSettings settings = DefaultsWithoutRare();
  settings.Smooth = false;
  settings.SmoothLevel = 20;
  const MapGrid off20 = Plasma(66, 63, settings, 9);
  settings.SmoothLevel = 5;
  EXPECT_EQ(Plasma(66, 63, settings, 9).Cells, off20.Cells);
  settings.SmoothLevel = 0;  // never divided by when smoothing is off
  EXPECT_EQ(Plasma(66, 63, settings, 9).Cells, off20.Cells);
  settings.Smooth = true;
  settings.SmoothLevel = 20;
  const MapGrid on20 = Plasma(66, 63, settings, 9);
  settings.SmoothLevel = 5;
  EXPECT_NE(Plasma(66, 63, settings, 9).Cells, on20.Cells);
  EXPECT_NE(on20.Cells, off20.Cells);
}

TEST(Plasma, RareTerrainComesLastFromItsOwnSeed) {
  GeneratorSettings settings = DefaultsWithoutRare();
  const MapGrid land = Plasma(66, 63, settings, 4);
  settings.CreateRare = true;
  settings.RareSeed = 0;
  settings.RareCount = 500;
  const MapGrid withRare = Plasma(66, 63, settings, 4);

  MapGrid expected = land;
  RandomSource random;
  random.RandomSeed = 0;
  PlaceRareTerrain(expected, 500, random);
  EXPECT_EQ(withRare.Cells, expected.Cells);
  EXPECT_TRUE(RingIsFrozen(withRare));

  // A randomized rare seed comes from the clock and is written back.
  settings.RandomizeRare = true;
  MapGrid grid;
  grid.ResizeMap(66, 63);
  RandomSource clocked([] { return MillisecondsOfDay(13, 5, 7, 250); });
  clocked.RandomSeed = 4;
  GeneratePlasma(grid, settings, clocked);
  EXPECT_EQ(settings.RareSeed, 47107250);
  MapGrid expectedClocked = land;
  RandomSource rare;
  rare.RandomSeed = 47107250;
  PlaceRareTerrain(expectedClocked, 500, rare);
  EXPECT_EQ(grid.Cells, expectedClocked.Cells);
}

TEST(Plasma, InputTheRowsWouldRefuseLeavesTheGridAlone) {
  struct Case {
    int width, height;
    std::uint8_t avgHeight;
    std::int32_t smoothLevel;
    const char* message;
  };
  const Case cases[] = {
      {4, 4, 0, 20, "\"Average height\" must be between 1 and 255, not 0"},
      {4, 4, 254, 0, "\"Smoothing level\" must be between 1 and 255, not 0"},
      {513, 2, 254, 20, "\"Map width\" must be between 1 and 512, not 513"},
      {3, 20000, 254, 20, "\"Map height\" must be between 1 and 512, not 20000"},
  };
  for (const Case& c : cases) {
    GeneratorSettings settings = DefaultsWithoutRare();
    settings.AvgHeight = c.avgHeight;
    settings.SmoothLevel = c.smoothLevel;
    MapGrid grid;
    grid.ResizeMap(c.width, c.height);
    grid.FillTerrain(Lake, true);
    const std::vector<TerrainCode> before = grid.Cells;
    RandomSource random;
    try {
      GeneratePlasma(grid, settings, random);
      ADD_FAILURE() << c.message;
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
    EXPECT_EQ(grid.Cells, before);
    EXPECT_EQ(random.RandomSeed, 0);
  }
}
}  // namespace
}  // namespace mireforge
