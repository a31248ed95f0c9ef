#include <benchmark/benchmark.h>

#include "generate/cevo.h"
#include "generate/plasma.h"

namespace mireforge {
namespace {

// The wizard's largest map with the page defaults, rare terrain off.
template <void (*Generate)(MapGrid&, GeneratorSettings&, RandomSource&)>
void BM_Generate512(benchmark::State& state) {
  GeneratorSettings settings;
  settings.CreateRare = false;
  MapGrid grid;
  grid.ResizeMap(512, 512);
  RandomSource random;
  std::int32_t seed = 0;
  for (auto _ : state) {
    random.RandomSeed = seed++;
    Generate(grid, settings, random);
    benchmark::DoNotOptimize(grid.Cells.data());
  }
}
BENCHMARK(BM_Generate512<GeneratePlasma>)->Name("GeneratePlasma512")->Unit(benchmark::kMillisecond);
// Splits its columns over two threads: the CPU column counts both.
BENCHMARK(BM_Generate512<GenerateCEvo>)->Name("GenerateCEvo512")->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireforge
