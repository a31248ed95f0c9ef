#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "generate/cevo.h"
#include "generate/rare_terrain.h"
#include "model/terrain.h"
#include "support/test_maps.h"

namespace mireforge {
namespace {

// A straightforward cEvo generator in extended precision, loop for loop as the
// algorithm reads, to hold the optimised one to the same bytes.
void ReferenceCEvo(MapGrid& grid, GeneratorSettings& settings, RandomSource& random) {
  constexpr long double Pi = std::numbers::pi_v<long double>;
  const int width = grid.Width, height = grid.Height;
  grid.Cells.assign(static_cast<std::size_t>(width) * height, 0);
  float dirX[64], dirY[64], freq[64], amp[64];
  for (int k = 0; k < 64; ++k) {
    float angle;
    if (k == 0) {
      const std::uint32_t bits = 0x3FC90FDB;
      std::memcpy(&angle, &bits, sizeof angle);
    } else {
      angle = static_cast<float>(random.RandomFloat() * 2.0L * Pi);
    }
    dirX[k] = static_cast<float>(sinl(angle) / width);
    dirY[k] = static_cast<float>(cosl(angle) / height);
    freq[k] = static_cast<float>(expl(k * static_cast<long double>(settings.DetailFactor)) * 2.0L * Pi);
    amp[k] = static_cast<float>(expl(-(k + 1) * static_cast<long double>(settings.SmoothFactor)));
  }
  std::vector<std::uint8_t> elevation(grid.Cells.size());
  std::int32_t histogram[256] = {};
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y) {
      const int p = 2 * x + (y & 1);
      float sum = 0;
      for (int k = 0; k < 64; ++k) {
        const long double arg = (p * static_cast<long double>(dirX[k]) + y * 1.5L * dirY[k]) * freq[k];
        sum = static_cast<float>(sum + sinl(arg) * amp[k]);
      }
      const long double t = 2.0L * y / height - 1.0L;
      const float h = static_cast<float>(sum - t * t * t * t);
      int e;
      if (h < -4.0L)
        e = 0;
      else if (h > 8.75L)
        e = 255;
      else
        e = static_cast<int>(nearbyintl((h + 4.0L) * 20.0L));
      elevation[x + y * width] = static_cast<std::uint8_t>(e);
      ++histogram[e];
    }
  const long long n = static_cast<long long>(width) * height;
  long long count = 0;
  int m = 256;
  while (count < n * settings.LandPercent * settings.MountainPercent / 10000 && m > 0) count += histogram[--m];
  long long count2 = 0;
  int d = m;
  while (count2 < n * settings.LandPercent * settings.DownsPercent / 10000 && d > 0) count2 += histogram[--d];
  long long total = count + count2;
  int f = d;
  while (total < n * settings.LandPercent / 100 && f > 0) total += histogram[--f];
  for (std::size_t i = 0; i < grid.Cells.size(); ++i) {
    const int e = elevation[i];
    grid.Cells[i] = e >= m ? 14 : e >= d ? 6 : e >= f ? 2 : 0;
  }
  if (settings.AddRandDowns)
    for (std::size_t i = 0; i < grid.Cells.size(); ++i)
      if (grid.Cells[i] == 2 && static_cast<std::int64_t>(random.RandomInt(100)) < settings.RandDownsPercent)
        grid.Cells[i] = 6;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (x == 0 || y == 0 || x == width - 1 || y == height - 1) grid.Cells[x + y * width] = 10;
  if (settings.CreateRare) ScatterRareTerrain(grid, settings, random);
}

MapGrid CEvo(int width, int height, GeneratorSettings settings, std::int32_t seed = 0,
             std::int32_t* seedAfter = nullptr) {
  return RunGenerator(GenerateCEvo, width, height, settings, seed, seedAfter);
}

TEST(CEvo, MatchesTheExtendedPrecisionGeneratorByteForByte) {
  struct Case {
    int width, height;
    std::int32_t seed;
    float smooth, detail;
  };
  const Case cases[] = {
      {66, 63, 0, 0.049f, 0.095f},    {1, 1, 3, 0.049f, 0.095f},       {2, 2, 3, 0.049f, 0.095f},
      {1, 40, 11, 0.049f, 0.095f},    {37, 1, -8, 0.0f, 0.0f},         {5, 7, 99, 0.255f, 0.255f},
      {101, 33, 1234, 0.0f, 0.2f},    {64, 129, -77777, 0.1f, 0.01f},  {200, 150, 42, 0.049f, 0.255f},
  };
  for (const Case& c : cases) {
    GeneratorSettings settings = DefaultsWithoutRare();
    settings.SmoothFactor = c.smooth;
    settings.DetailFactor = c.detail;
    std::int32_t fastSeed = 0;
    const MapGrid fast = CEvo(c.width, c.height, settings, c.seed, &fastSeed);

    MapGrid expected;
    expected.ResizeMap(c.width, c.height);
    RandomSource random([] { return 0; });
    random.RandomSeed = c.seed;
    ReferenceCEvo(expected, settings, random);

    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " seed " + std::to_string(c.seed));
    EXPECT_EQ(fast.Cells, expected.Cells);
    EXPECT_EQ(fastSeed, random.RandomSeed);
  }
}

// The reference needs seconds for the largest map; kept apart so it can be filtered out.
TEST(CEvo, MatchesTheExtendedPrecisionGeneratorOnTheLargestMap) {
  const GeneratorSettings settings = DefaultsWithoutRare();
  const MapGrid fast = CEvo(512, 512, settings, 47107250);
  MapGrid expected;
  expected.ResizeMap(512, 512);
  GeneratorSettings referenceSettings = settings;
  RandomSource random;
  random.RandomSeed = 47107250;
  ReferenceCEvo(expected, referenceSettings, random);
  EXPECT_EQ(fast.Cells, expected.Cells);
}

// The state after n draws from seed.
std::int32_t SeedAfterDraws(std::int32_t seed, int n) {
  RandomSource random;
  random.RandomSeed = seed;
  for (int i = 0; i < n; ++i) random.RandomInt(1);
  return random.RandomSeed;
}

TEST(CEvo, DefaultsGiveTheSameMapEveryRun) {
  const MapGrid first = CEvo(66, 63, DefaultsWithoutRare());
  EXPECT_EQ(CEvo(66, 63, DefaultsWithoutRare()).Cells, first.Cells);
  const auto counts = TerrainCounts(first);
  EXPECT_EQ(counts[FrozenWastes], 254);
  for (TerrainCode kind : {Plains, Forest, Downs, Mountains}) EXPECT_GT(counts[kind], 0) << int(kind);
  EXPECT_EQ(counts[Plains] + counts[Forest] + counts[Downs] + counts[Mountains], 64 * 61);
  // The land share is taken whole histogram levels at a time, so it is at least
  // the 75 % asked for, less what the frame covers.
  EXPECT_GE(counts[Forest] + counts[Downs] + counts[Mountains], 66 * 63 * 75 / 100 - 254);
  EXPECT_LT(counts[Plains], 66 * 63 * 25 / 100 + 40);
}

TEST(CEvo, PercentagesDecideTheKinds) {
  struct Case {
    std::int32_t land, mountains, downs, randDowns;
    bool addRandDowns;
    bool plains, forest, downsLeft, mountainsLeft;
  };
  const Case cases[] = {
      {0, 5, 7, 12, true, true, false, false, false},     // "% of plains" 100
      {75, 0, 7, 12, true, true, true, true, false},      // no mountains
      {75, 5, 0, 12, false, true, true, false, true},     // no downs at all
      {75, 5, 0, 100, true, true, false, true, true},     // every forest cell turns
      {100, 100, 0, 0, true, false, false, false, true},  // all land is mountains
      {100, 0, 0, 0, true, false, true, false, false},    // all land is forest
  };
  for (const Case& c : cases) {
    GeneratorSettings settings = DefaultsWithoutRare();
    settings.LandPercent = c.land;
    settings.MountainPercent = c.mountains;
    settings.DownsPercent = c.downs;
    settings.RandDownsPercent = c.randDowns;
    settings.AddRandDowns = c.addRandDowns;
    const MapGrid grid = CEvo(66, 63, settings, 17);
    const auto counts = TerrainCounts(grid);
    SCOPED_TRACE(std::to_string(c.land) + "/" + std::to_string(c.mountains) + "/" + std::to_string(c.downs) + "/" +
                 std::to_string(c.randDowns));
    EXPECT_TRUE(RingIsFrozen(grid));
    EXPECT_EQ(counts[FrozenWastes], 254);
    EXPECT_EQ(counts[Plains] > 0, c.plains);
    EXPECT_EQ(counts[Forest] > 0, c.forest);
    EXPECT_EQ(counts[Downs] > 0, c.downsLeft);
    EXPECT_EQ(counts[Mountains] > 0, c.mountainsLeft);
  }
}

TEST(CEvo, RandomDownsDrawOncePerForestCell) {
  GeneratorSettings settings = DefaultsWithoutRare();
  settings.AddRandDowns = false;
  std::int32_t seedAfter = 0;
  const MapGrid plain = CEvo(70, 45, settings, 321, &seedAfter);
  EXPECT_EQ(seedAfter, SeedAfterDraws(321, 63));  // the wave directions only
  const int forest = TerrainCounts(plain)[Forest];
  ASSERT_GT(forest, 0);

  // Forest cells on the ring draw too, before the frame covers them.
  const auto drawsAfterDirections = [](std::int32_t seedAfter, int atLeast, int atMost) {
    for (int n = atLeast; n <= atMost; ++n)
      if (SeedAfterDraws(321, 63 + n) == seedAfter) return n;
    return -1;
  };
  const int ring = 2 * (70 + 45) - 4;
  settings.AddRandDowns = true;
  settings.RandDownsPercent = 0;
  EXPECT_EQ(CEvo(70, 45, settings, 321, &seedAfter).Cells, plain.Cells);
  const int draws = drawsAfterDirections(seedAfter, forest, forest + ring);
  EXPECT_GE(draws, forest);

  settings.RandDownsPercent = 100;
  MapGrid allTurned = plain;
  for (TerrainCode& cell : allTurned.Cells)
    if (cell == Forest) cell = Downs;
  EXPECT_EQ(CEvo(70, 45, settings, 321, &seedAfter).Cells, allTurned.Cells);
  EXPECT_EQ(drawsAfterDirections(seedAfter, forest, forest + ring), draws);

  // Only forest cells turn, and some but not all at 12 %.
  settings.RandDownsPercent = 12;
  const MapGrid some = CEvo(70, 45, settings, 321);
  int turned = 0;
  for (std::size_t i = 0; i < some.Cells.size(); ++i) {
    if (some.Cells[i] != plain.Cells[i]) {
      EXPECT_EQ(plain.Cells[i], Forest);
      EXPECT_EQ(some.Cells[i], Downs);
      ++turned;
    }
  }
  EXPECT_GT(turned, 0);
  EXPECT_LT(turned, forest / 2);

  // With no land there is no forest, so nothing is drawn after the directions.
  settings.LandPercent = 0;
  const MapGrid flat = CEvo(70, 45, settings, 321, &seedAfter);
  EXPECT_EQ(seedAfter, SeedAfterDraws(321, 63));
  EXPECT_EQ(TerrainCounts(flat)[Plains], 68 * 43);
}

TEST(CEvo, SmoothingAndDetailLeaveTheWaveDirectionsAlone) {
  // Every run draws exactly the 63 directions, whatever the shape values, and
  // the straightforward generator (which takes its directions from the seed
  // alone) agrees byte for byte.
  for (float smooth : {0.0f, 0.049f, 0.2f})
    for (float detail : {0.0f, 0.095f, 0.15f}) {
      GeneratorSettings settings = DefaultsWithoutRare();
      settings.AddRandDowns = false;
      settings.SmoothFactor = smooth;
      settings.DetailFactor = detail;
      std::int32_t seedAfter = 0;
      const MapGrid grid = CEvo(30, 20, settings, 5, &seedAfter);
      EXPECT_EQ(seedAfter, SeedAfterDraws(5, 63));
      MapGrid expected;
      expected.ResizeMap(30, 20);
      RandomSource random;
      random.RandomSeed = 5;
      ReferenceCEvo(expected, settings, random);
      EXPECT_EQ(grid.Cells, expected.Cells) << smooth << " " << detail;
    }
}

TEST(CEvo, TinyMapsAreAllFrame) {
  for (int size : {1, 2}) {
    const MapGrid grid = CEvo(size, size, DefaultsWithoutRare(), 3);
    EXPECT_EQ(grid.Cells, std::vector<TerrainCode>(size * size, FrozenWastes)) << size;
  }
}

TEST(CEvo, RareTerrainComesLastFromItsOwnSeed) {
  GeneratorSettings settings = DefaultsWithoutRare();
  const MapGrid land = CEvo(66, 63, settings, 8);
  settings.CreateRare = true;
  settings.RareSeed = -12;
  settings.RareCount = 300;
  MapGrid expected = land;
  RandomSource random;
  random.RandomSeed = -12;
  PlaceRareTerrain(expected, 300, random);
  std::int32_t seedAfter = 0;
  EXPECT_EQ(CEvo(66, 63, settings, 8, &seedAfter).Cells, expected.Cells);
  EXPECT_EQ(seedAfter, random.RandomSeed);
}

}  // namespace
}  // namespace mireforge
