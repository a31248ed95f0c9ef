#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "formats/midnight_map.h"

namespace mireforge {
namespace {

MapGrid LargestMap() {
  MapGrid grid;
  grid.ResizeMap(MaxMapSize, MaxMapSize);
  unsigned seed = 1;
  for (TerrainCode& cell : grid.Cells) {
    seed = seed * 1103515245u + 12345u;
    cell = static_cast<TerrainCode>((seed >> 16) % 16);
  }
  return grid;
}

// Text in memory: what the format itself costs.
void BM_MidnightMapFormatAndParse512(benchmark::State& state) {
  const MapGrid grid = LargestMap();
  for (auto _ : state) {
    const std::string text = FormatMidnightMap(grid, false);
    MapGrid back = ParseMidnightMap(text);
    benchmark::DoNotOptimize(back.Cells.data());
  }
}
BENCHMARK(BM_MidnightMapFormatAndParse512)->Unit(benchmark::kMillisecond);

// Through a real file, with the atomic write's flush to disk.
void BM_WriteAndReadMidnightMap512(benchmark::State& state) {
  const MapGrid grid = LargestMap();
  std::string folder = (std::filesystem::temp_directory_path() / "mireforge-bench-XXXXXX").string();
  if (!::mkdtemp(folder.data())) {
    state.SkipWithError("cannot create a temporary folder");
    return;
  }
  const std::string path = folder + "/map.php";
  MapGrid back;
  for (auto _ : state) {
    WriteMidnightMap(path, grid, false);
    ReadMidnightMap(path, back);
    benchmark::DoNotOptimize(back.Cells.data());
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteAndReadMidnightMap512)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireforge
