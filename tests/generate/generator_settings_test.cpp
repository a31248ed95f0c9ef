#include <gtest/gtest.h>

#include <set>

#include "generate/generator_settings.h"
#include "generate/rare_terrain.h"
#include "base/error.h"
#include "support/test_maps.h"

namespace mireforge {
namespace {

TEST(RowConversion, IntegersBooleansAndTheirMessage) {
  EXPECT_EQ(RowInteger("42"), 42);
  EXPECT_EQ(RowInteger("-7"), -7);
  EXPECT_EQ(RowInteger(" 12 "), 12);
  EXPECT_EQ(RowInteger("2147483647"), 2147483647);
  EXPECT_EQ(RowInteger("-2147483648"), -2147483647 - 1);
  for (const char* bad : {"", "abc", "12a", "1.5", "2147483648", "-", "0x10"}) {
    try {
      RowInteger(bad);
      ADD_FAILURE() << bad;
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid integer value");
    }
  }
  EXPECT_TRUE(RowBool("True"));
  EXPECT_FALSE(RowBool("true"));
  EXPECT_FALSE(RowBool(""));
  EXPECT_FALSE(RowBool("False"));
}

TEST(RowConversion, PlasmaDefaults) {
  GeneratorSettings settings;
  PlasmaRows rows;
  const GenerationRun run = ApplyPlasmaRows(rows, settings);
  EXPECT_EQ(run.Width, 66);
  EXPECT_EQ(run.Height, 63);
  EXPECT_TRUE(run.Randomize);
  EXPECT_EQ(run.Seed, 0);
  EXPECT_TRUE(settings.CreateRare);
  EXPECT_FALSE(settings.RandomizeRare);  // the empty default text
  EXPECT_EQ(settings.RareCount, 500);
  EXPECT_EQ(settings.ResizeType, 1);
  EXPECT_EQ(settings.MountainLevel, 76);
  EXPECT_EQ(settings.DownsLevel, 120);
  EXPECT_EQ(settings.ForestLevel, 170);
  EXPECT_TRUE(settings.Smooth);
  EXPECT_EQ(settings.SmoothLevel, 20);
  EXPECT_EQ(settings.AvgHeight, 254);
  rows.ResizeType = "Quick";
  ApplyPlasmaRows(rows, settings);
  EXPECT_EQ(settings.ResizeType, 0);
  rows.ResizeType = "quick";
  ApplyPlasmaRows(rows, settings);
  EXPECT_EQ(settings.ResizeType, 1);
}

TEST(RowConversion, CEvoDefaultsAndThePlainsShare) {
  GeneratorSettings settings;
  CEvoRows rows;
  ApplyCEvoRows(rows, settings);
  EXPECT_FALSE(settings.CreateRare);
  EXPECT_EQ(settings.LandPercent, 75);
  EXPECT_EQ(settings.MountainPercent, 5);
  EXPECT_EQ(settings.DownsPercent, 7);
  EXPECT_EQ(settings.RandDownsPercent, 12);
  EXPECT_TRUE(settings.AddRandDowns);
  EXPECT_EQ(settings.SmoothFactor, 0.049f);
  EXPECT_EQ(settings.DetailFactor, 0.095f);
  rows.LandMass = "100";
  ApplyCEvoRows(rows, settings);
  EXPECT_EQ(settings.LandPercent, 0);
}

TEST(RowConversion, ValuesOutOfRangeAreRefusedBeforeAnythingChanges) {
  struct Case { void (*edit)(PlasmaRows&); };
  const Case cases[] = {
      {[](PlasmaRows& r) { r.AvgHeight = "256"; }},   // low 8 bits 0: division by zero
      {[](PlasmaRows& r) { r.AvgHeight = "0"; }},
      {[](PlasmaRows& r) { r.SmoothLevel = "0"; }},
      {[](PlasmaRows& r) { r.Width = "513"; }},
      {[](PlasmaRows& r) { r.Height = "0"; }},
      {[](PlasmaRows& r) { r.RareCount = "0"; }},
      {[](PlasmaRows& r) { r.MountainLevel = "-1"; }},
      {[](PlasmaRows& r) { r.ForestLevel = "x"; }},
  };
  for (const Case& c : cases) {
    PlasmaRows rows;
    rows.SmoothLevel = "10";  // would change if anything were written
    c.edit(rows);
    GeneratorSettings settings;
    const GeneratorSettings before = settings;
    EXPECT_THROW(ApplyPlasmaRows(rows, settings), Error);
    EXPECT_EQ(settings.SmoothLevel, before.SmoothLevel);
  }
  CEvoRows rows;
  rows.LandMass = "101";
  GeneratorSettings settings;
  EXPECT_THROW(ApplyCEvoRows(rows, settings), Error);
  EXPECT_EQ(settings.LandPercent, 75);
}

TEST(RareTerrain, FiveHundredDrawsLandOn467DistinctInteriorCells) {
  MapGrid grid = FramedMap(66, 63, Plains);
  RandomSource random;
  random.RandomSeed = 0;
  PlaceRareTerrain(grid, 500, random);
  std::set<int> rare;
  const std::set<int> rareKinds = {1, 2, 3, 4, 5, 7, 8, 9, 11, 12, 13};
  for (int y = 0; y < 63; ++y)
    for (int x = 0; x < 66; ++x) {
      const int code = grid.GetTerrain(x, y);
      if (grid.OnBorder(x, y)) {
        EXPECT_EQ(code, FrozenWastes);
      } else if (code != Plains) {
        EXPECT_TRUE(rareKinds.count(code)) << code;
        rare.insert(x + y * 66);
      }
    }
  EXPECT_EQ(rare.size(), 467u);
}

TEST(RareTerrain, MapsWithoutAnInteriorGetNothingAndTheLoopEnds) {
  for (auto [w, h] : {std::pair{1, 1}, {2, 2}, {2, 50}, {50, 2}}) {
    MapGrid grid;
    grid.ResizeMap(w, h);
    grid.FillTerrain(FrozenWastes, true);
    RandomSource random;
    PlaceRareTerrain(grid, 500, random);
    for (TerrainCode c : grid.Cells) EXPECT_EQ(c, FrozenWastes);
  }
}

TEST(RareTerrain, ScatterSeedsFromTheRareSeedOrTheClock) {
  MapGrid a, b;
  for (MapGrid* g : {&a, &b}) {
    g->ResizeMap(20, 20);
    g->FillTerrain(Plains, true);
  }
  GeneratorSettings settings;
  settings.CreateRare = true;
  settings.RareCount = 30;
  settings.RareSeed = 1234;
  RandomSource random([] { return 5555; });
  random.RandomSeed = 99;
  ScatterRareTerrain(a, settings, random);
  random.RandomSeed = -42;  // the map seed does not matter to the scatter
  ScatterRareTerrain(b, settings, random);
  EXPECT_EQ(a.Cells, b.Cells);
  settings.RandomizeRare = true;
  ScatterRareTerrain(a, settings, random);
  EXPECT_EQ(settings.RareSeed, 5555);
}

}  // namespace
}  // namespace mireforge
