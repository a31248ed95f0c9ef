#include <benchmark/benchmark.h>

#include "model/descriptions.h"
#include "model/map_grid.h"

namespace mireforge {
namespace {

void BM_BuildDefaultDescriptions512(benchmark::State& state) {
  MapGrid grid;
  grid.ResizeMap(512, 512);
  grid.FillTerrain(FrozenWastes, true);
  grid.FillTerrain(Mountains, false);
  DescriptionList list;
  for (auto _ : state) {
    BuildDefaultDescriptions(list, grid);
    benchmark::DoNotOptimize(list.Entries.data());
  }
}
BENCHMARK(BM_BuildDefaultDescriptions512)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireforge
