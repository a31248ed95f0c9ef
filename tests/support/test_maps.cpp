#include "support/test_maps.h"

namespace mireforge {

MapGrid FramedMap(int width, int height, TerrainCode inside) {
  MapGrid grid;
  grid.ResizeMap(width, height);
  grid.FillTerrain(FrozenWastes, true);
  grid.FillTerrain(inside, false);
  return grid;
}

GeneratorSettings DefaultsWithoutRare() {
  GeneratorSettings settings;
  settings.CreateRare = false;
  return settings;
}

MapGrid RunGenerator(Generator generate, int width, int height, GeneratorSettings settings, std::int32_t seed,
                     std::int32_t* seedAfter) {
  MapGrid grid;
  grid.ResizeMap(width, height);
  RandomSource random([] { return 0; });
  random.RandomSeed = seed;
  generate(grid, settings, random);
  if (seedAfter) *seedAfter = random.RandomSeed;
  return grid;
}

std::array<int, TerrainCount> TerrainCounts(const MapGrid& grid) {
  std::array<int, TerrainCount> counts{};
  for (TerrainCode c : grid.Cells) ++counts[c];
  return counts;
}

bool RingIsFrozen(const MapGrid& grid) {
  for (int y = 0; y < grid.Height; ++y)
    for (int x = 0; x < grid.Width; ++x)
      if (grid.OnBorder(x, y) && grid.Cells[x + y * grid.Width] != FrozenWastes) return false;
  return true;
}

}  // namespace mireforge
