#include "generate/rare_terrain.h"

namespace mireforge {

void ScatterRareTerrain(MapGrid& grid, GeneratorSettings& settings, RandomSource& random) {
  if (settings.RandomizeRare) {
    random.SeedFromClock();
    settings.RareSeed = random.RandomSeed;
  } else {
    random.RandomSeed = settings.RareSeed;
  }
  if (settings.CreateRare) PlaceRareTerrain(grid, settings.RareCount, random);
}

void PlaceRareTerrain(MapGrid& grid, std::int32_t rareCount, RandomSource& random) {
  // Without an interior cell the draw below could never end.
  if (rareCount <= 0 || grid.Width < 3 || grid.Height < 3) return;
  for (std::int32_t i = 0; i < rareCount; ++i) {
    std::uint32_t x, y;
    do {
      x = random.RandomInt(grid.Width);
      y = random.RandomInt(grid.Height);
    } while (grid.OnBorder(static_cast<int>(x), static_cast<int>(y)));
    std::uint32_t t;
    do {
      t = random.RandomInt(15);
    } while (t == Plains || t == Downs || t == FrozenWastes || t == Mountains);
    grid.Cells[x + y * grid.Width] = static_cast<TerrainCode>(t);
  }
}

}  // namespace mireforge
