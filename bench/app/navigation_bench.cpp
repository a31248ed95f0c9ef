// Finding one's way in a 512 x 512 map: the overview and the live statistics
// after one painted cell, and finding text in all 262,144 descriptions.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/panels/live_statistics.h"
#include "app/navigation/overview_map.h"
#include "app/grid/tile_images.h"
#include "model/text_search.h"
#include "../big_project.h"
#include "project/project.h"

namespace mireforge {
namespace {

// One cell painted, then the overview brought up to date and repainted on screen.
void BM_OverviewAfterOneCell512(benchmark::State& state) {
  Project project = BigProject();
  OverviewMap overview(project);
  overview.resize(512, 512);
  overview.SetVisibleArea(QRect(100, 100, 240, 135));
  overview.show();
  QApplication::processEvents();
  std::uint32_t cell = 0;
  for (auto _ : state) {
    cell = (cell + 4099) % static_cast<std::uint32_t>(project.Map.Cells.size());
    project.Map.Cells[cell] = TerrainOf(project.Map.Cells[cell] + 1);
    overview.UpdateCells({cell});
    QApplication::processEvents();  // the paint of the changed square
  }
}
BENCHMARK(BM_OverviewAfterOneCell512)->Unit(benchmark::kMicrosecond);

void BM_LiveStatisticsAfterOneCell512(benchmark::State& state) {
  Project project = BigProject();
  TileImages tiles(LoadTileArtwork());
  LiveStatistics stats(project, tiles);
  stats.resize(300, 500);
  stats.show();
  QApplication::processEvents();
  std::uint32_t cell = 0;
  for (auto _ : state) {
    cell = (cell + 4099) % static_cast<std::uint32_t>(project.Map.Cells.size());
    project.Map.Cells[cell] = TerrainOf(project.Map.Cells[cell] + 1);
    stats.UpdateCells({cell});
    QApplication::processEvents();
  }
}
BENCHMARK(BM_LiveStatisticsAfterOneCell512)->Unit(benchmark::kMicrosecond);

// Arg: 0 case-insensitive, 1 whole words, 2 match case, 3 a text found nowhere.
void BM_FindAll262144(benchmark::State& state) {
  const Project project = BigProject();
  TextSearch search{"forest", false, false};
  if (state.range(0) == 1) search.wholeWords = true;
  if (state.range(0) == 2) search.matchCase = true;
  if (state.range(0) == 3) search.pattern = "dragon";
  std::size_t found = 0;
  for (auto _ : state) {
    found = FindAll(project.Descriptions, project.Domains, search, true, true).size();
    benchmark::DoNotOptimize(found);
  }
  state.counters["matches"] = static_cast<double>(found);
}
BENCHMARK(BM_FindAll262144)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireforge
