#include <gtest/gtest.h>

#include <string>

#include "generate/cevo.h"
#include "generate/generation.h"
#include "generate/plasma.h"
#include "base/error.h"

namespace mireforge {
namespace {

std::int32_t Clock() { return MillisecondsOfDay(13, 5, 7, 250); }

bool SameSettings(const GeneratorSettings& a, const GeneratorSettings& b) {
  return a.CreateRare == b.CreateRare && a.RareCount == b.RareCount && a.RandomizeRare == b.RandomizeRare &&
         a.RareSeed == b.RareSeed && a.ResizeType == b.ResizeType && a.MountainLevel == b.MountainLevel &&
         a.DownsLevel == b.DownsLevel && a.ForestLevel == b.ForestLevel && a.Smooth == b.Smooth &&
         a.SmoothLevel == b.SmoothLevel && a.AvgHeight == b.AvgHeight && a.LandPercent == b.LandPercent &&
         a.MountainPercent == b.MountainPercent && a.DownsPercent == b.DownsPercent &&
         a.RandDownsPercent == b.RandDownsPercent && a.AddRandDowns == b.AddRandDowns &&
         a.SmoothFactor == b.SmoothFactor && a.DetailFactor == b.DetailFactor;
}

bool SameRows(const GeneratorRows& a, const GeneratorRows& b) {
  const PlasmaRows &p = a.Plasma, &q = b.Plasma;
  const CEvoRows &c = a.CEvo, &d = b.CEvo;
  return a.Mode == b.Mode && p.Width == q.Width && p.Height == q.Height && p.Randomize == q.Randomize &&
         p.Seed == q.Seed && p.CreateRare == q.CreateRare && p.RandomizeRare == q.RandomizeRare &&
         p.RareSeed == q.RareSeed && p.RareCount == q.RareCount && p.ResizeType == q.ResizeType &&
         p.MountainLevel == q.MountainLevel && p.DownsLevel == q.DownsLevel && p.ForestLevel == q.ForestLevel &&
         p.Smooth == q.Smooth && p.SmoothLevel == q.SmoothLevel && p.AvgHeight == q.AvgHeight &&
         c.Width == d.Width && c.Height == d.Height && c.Randomize == d.Randomize && c.Seed == d.Seed &&
         c.CreateRare == d.CreateRare && c.RandomizeRare == d.RandomizeRare && c.RareSeed == d.RareSeed &&
         c.RareCount == d.RareCount && c.LandMass == d.LandMass && c.Downs == d.Downs &&
         c.AddRandDowns == d.AddRandDowns && c.RandDowns == d.RandDowns && c.Mountains == d.Mountains &&
         c.ElevationSmooth == d.ElevationSmooth && c.ElevationDetail == d.ElevationDetail;
}

TEST(GenerateFromRows, ModesPickTheMethod) {
  EXPECT_EQ(MethodOfMode(0), GenerationMethod::Plasma);
  EXPECT_EQ(MethodOfMode(1), GenerationMethod::CEvo);
  EXPECT_EQ(MethodOfMode(2), GenerationMethod::Plasma);
  EXPECT_EQ(MethodOfMode(-1), GenerationMethod::Plasma);
}

TEST(GenerateFromRows, RandomizedSeedsComeFromTheClockAndAreWrittenBack) {
  for (GenerationMethod method : {GenerationMethod::Plasma, GenerationMethod::CEvo}) {
    GeneratorRows rows;  // map seed randomized by default
    rows.Plasma.CreateRare = "True";
    rows.Plasma.RandomizeRare = "True";
    rows.CEvo.CreateRare = "True";
    rows.CEvo.RandomizeRare = "True";
    GeneratorSettings settings;
    MapGrid grid;
    RandomSource random(Clock);
    GenerateFromRows(rows, method, settings, grid, random);
    const std::string& seed = method == GenerationMethod::CEvo ? rows.CEvo.Seed : rows.Plasma.Seed;
    const std::string& rareSeed = method == GenerationMethod::CEvo ? rows.CEvo.RareSeed : rows.Plasma.RareSeed;
    EXPECT_EQ(seed, "47107250");
    EXPECT_EQ(rareSeed, "47107250");
    EXPECT_EQ(settings.RareSeed, 47107250);

    // The seeds written back reproduce the map with randomizing off, from any clock.
    GeneratorRows again = rows;
    again.Plasma.Randomize = again.Plasma.RandomizeRare = "False";
    again.CEvo.Randomize = again.CEvo.RandomizeRare = "False";
    MapGrid replay;
    RandomSource other([] { return 5; });
    GenerateFromRows(again, method, settings, replay, other);
    EXPECT_EQ(replay.Width, 66);
    EXPECT_EQ(replay.Height, 63);
    EXPECT_EQ(replay.Cells, grid.Cells);
  }
}

TEST(GenerateFromRows, FixedSeedsReproduceTheGeneratorsOwnRun) {
  GeneratorRows rows;
  rows.Plasma.Randomize = "False";
  rows.Plasma.Seed = "-42";
  rows.Plasma.Width = "40";
  rows.Plasma.Height = "30";
  rows.Plasma.CreateRare = "False";
  rows.Plasma.RareSeed = "9";
  rows.CEvo = {};
  rows.CEvo.Randomize = "False";
  rows.CEvo.Seed = "-42";
  rows.CEvo.Width = "40";
  rows.CEvo.Height = "30";
  rows.CEvo.LandMass = "100";
  for (GenerationMethod method : {GenerationMethod::Plasma, GenerationMethod::CEvo}) {
    GeneratorSettings settings;
    MapGrid grid;
    grid.ResizeMap(3, 3);
    RandomSource random(Clock);
    GenerateFromRows(rows, method, settings, grid, random);

    MapGrid direct;
    direct.ResizeMap(40, 30);
    RandomSource seeded;
    seeded.RandomSeed = -42;
    GeneratorSettings copy = settings;
    if (method == GenerationMethod::CEvo)
      GenerateCEvo(direct, copy, seeded);
    else
      GeneratePlasma(direct, copy, seeded);
    EXPECT_EQ(grid.Cells, direct.Cells);
    EXPECT_EQ(rows.Plasma.Seed, "-42");
    EXPECT_EQ(rows.CEvo.Seed, "-42");
  }
  // The unchanged rare seed is written back all the same, and "% of plains" 100
  // is a cEvo map without land.
  EXPECT_EQ(rows.Plasma.RareSeed, "9");
  GeneratorSettings settings;
  MapGrid grid;
  RandomSource random;
  GenerateFromRows(rows, GenerationMethod::CEvo, settings, grid, random);
  EXPECT_EQ(settings.LandPercent, 0);
  for (int y = 1; y < 29; ++y) {
    for (int x = 1; x < 39; ++x) {
      EXPECT_EQ(grid.Cells[x + y * 40], Plains) << x << "," << y;
    }
  }
}

TEST(GenerateFromRows, ABadRowChangesNothing) {
  struct Case {
    GenerationMethod method;
    std::string PlasmaRows::*plasmaRow;
    std::string CEvoRows::*cevoRow;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {GenerationMethod::Plasma, &PlasmaRows::Width, nullptr, "6x", "'6x' is not a valid integer value"},
      {GenerationMethod::Plasma, &PlasmaRows::Seed, nullptr, "", "'' is not a valid integer value"},
      {GenerationMethod::Plasma, &PlasmaRows::AvgHeight, nullptr, "256", nullptr},
      {GenerationMethod::Plasma, &PlasmaRows::SmoothLevel, nullptr, "0", nullptr},
      {GenerationMethod::Plasma, &PlasmaRows::RareSeed, nullptr, "1e3", "'1e3' is not a valid integer value"},
      {GenerationMethod::CEvo, nullptr, &CEvoRows::Height, "513", nullptr},
      {GenerationMethod::CEvo, nullptr, &CEvoRows::ElevationDetail, "abc", "'abc' is not a valid integer value"},
      {GenerationMethod::CEvo, nullptr, &CEvoRows::RareCount, "0", nullptr},
  };
  for (const Case& c : cases) {
    GeneratorRows rows;
    rows.Plasma.SmoothLevel = "7";  // differs from the settings, so a partial write would show
    rows.CEvo.Mountains = "9";
    if (c.plasmaRow) rows.Plasma.*c.plasmaRow = c.text;
    if (c.cevoRow) rows.CEvo.*c.cevoRow = c.text;
    const GeneratorRows rowsBefore = rows;
    GeneratorSettings settings;
    settings.RareSeed = 77;
    const GeneratorSettings settingsBefore = settings;
    MapGrid grid;
    grid.ResizeMap(5, 4);
    grid.FillTerrain(Lake, true);
    const MapGrid gridBefore = grid;
    RandomSource random(Clock);
    random.RandomSeed = 1234;

    SCOPED_TRACE(c.text);
    try {
      GenerateFromRows(rows, c.method, settings, grid, random);
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      if (c.message) {
        EXPECT_EQ(std::string(e.what()), c.message);
      }
    }
    EXPECT_TRUE(SameRows(rows, rowsBefore));
    EXPECT_TRUE(SameSettings(settings, settingsBefore));
    EXPECT_EQ(grid.Width, gridBefore.Width);
    EXPECT_EQ(grid.Height, gridBefore.Height);
    EXPECT_EQ(grid.Cells, gridBefore.Cells);
    EXPECT_EQ(random.RandomSeed, 1234);
  }
}

}  // namespace
}  // namespace mireforge
