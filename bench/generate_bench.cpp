#include <benchmark/benchmark.h>

#include "generate/cevo.h"
#include "generate/land_naming.h"
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

// Naming the largest map (plasma with rare terrain, 12 realms), to set beside
// generating it: the descriptions start as a fresh map's, as after generation.
void BM_NameTheLand512(benchmark::State& state) {
  MapGrid grid;
  grid.ResizeMap(512, 512);
  GeneratorSettings settings;
  RandomSource random;
  GeneratePlasma(grid, settings, random);
  DescriptionList descriptions;
  DomainTable domains;
  LandNamingOptions options;
  for (auto _ : state) {
    state.PauseTiming();
    BuildDefaultDescriptions(descriptions, grid);
    state.ResumeTiming();
    ++options.Seed;
    benchmark::DoNotOptimize(NameTheLand(grid, descriptions, domains, options));
  }
}
BENCHMARK(BM_NameTheLand512)->Name("NameTheLand512")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireforge
