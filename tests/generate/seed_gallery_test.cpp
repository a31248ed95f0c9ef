#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "generate/seed_gallery.h"

namespace mireforge {
namespace {

GeneratorRows SmallRows() {
  GeneratorRows rows;
  rows.Plasma.Width = rows.CEvo.Width = "40";
  rows.Plasma.Height = rows.CEvo.Height = "30";
  rows.Plasma.RandomizeRare = "True";
  rows.CEvo.CreateRare = "True";
  return rows;
}

TEST(SeedGallery, EveryEntryIsTheMapItsRowsGenerate) {
  RandomSource random([] { return 4711; });
  const std::vector<GallerySeeds> seeds = DrawGallerySeeds(random, 9);
  ASSERT_EQ(seeds.size(), 9u);
  std::set<std::int32_t> distinct;
  for (const GallerySeeds& s : seeds) distinct.insert(s.Seed);
  EXPECT_EQ(distinct.size(), 9u);

  for (const GenerationMethod method : {GenerationMethod::Plasma, GenerationMethod::CEvo}) {
    SCOPED_TRACE(static_cast<int>(method));
    const GeneratorRows rows = SmallRows();
    const std::vector<MapGrid> parallel = GenerateGallery(rows, method, seeds, 4);
    EXPECT_EQ(GenerateGallery(rows, method, seeds, 1).size(), 9u);
    ASSERT_EQ(parallel.size(), 9u);
    std::set<std::vector<TerrainCode>> maps;
    for (std::size_t i = 0; i < seeds.size(); ++i) {
      // What "Create preview" makes of the entry's rows, with a clock that must not be asked.
      GeneratorRows entry = RowsWithSeeds(rows, method, seeds[i]);
      GeneratorSettings settings;
      RandomSource alone([]() -> std::int32_t { throw std::logic_error("the clock was read"); });
      MapGrid map;
      GenerateFromRows(entry, method, settings, map, alone);
      EXPECT_EQ(parallel[i].Width, 40);
      EXPECT_EQ(parallel[i].Cells, map.Cells) << "entry " << i;
      maps.insert(map.Cells);
    }
    EXPECT_EQ(maps.size(), 9u) << "nine seeds, nine maps";
  }
}

TEST(SeedGallery, RowsTakeTheSeedsAndStopRandomizing) {
  const GeneratorRows rows = SmallRows();
  const GeneratorRows plasma = RowsWithSeeds(rows, GenerationMethod::Plasma, {-5, 77});
  EXPECT_EQ(plasma.Plasma.Randomize, "False");
  EXPECT_EQ(plasma.Plasma.Seed, "-5");
  EXPECT_EQ(plasma.Plasma.RandomizeRare, "False");
  EXPECT_EQ(plasma.Plasma.RareSeed, "77");
  EXPECT_EQ(plasma.CEvo.Seed, rows.CEvo.Seed) << "the other page is left alone";
  // A fixed rare seed stays the row's own.
  const GeneratorRows cevo = RowsWithSeeds(rows, GenerationMethod::CEvo, {12, 77});
  EXPECT_EQ(cevo.CEvo.Seed, "12");
  EXPECT_EQ(cevo.CEvo.RareSeed, "0");
  EXPECT_EQ(cevo.CEvo.RandomizeRare, "False");
}

TEST(SeedGallery, ARowThatDoesNotConvertStopsTheGallery) {
  GeneratorRows rows = SmallRows();
  rows.Plasma.Width = "wide";
  RandomSource random([] { return 1; });
  try {
    GenerateGallery(rows, GenerationMethod::Plasma, DrawGallerySeeds(random, 9), 2);
    FAIL() << "no failure";
  } catch (const std::exception& error) {
    EXPECT_STREQ(error.what(), "'wide' is not a valid integer value");
  }
}

}  // namespace
}  // namespace mireforge
