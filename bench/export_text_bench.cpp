// The text exports of the largest map: SQL script and HTML page of 512 x 512 cells.
#include <benchmark/benchmark.h>

#include "formats/html_map.h"
#include "formats/sql_export.h"
#include "project/project.h"

namespace mireforge {
namespace {

Project LargestMap() {
  Project p;
  p.Map.ResizeMap(MaxMapSize, MaxMapSize);
  for (std::size_t i = 0; i < p.Map.Cells.size(); ++i) p.Map.Cells[i] = static_cast<TerrainCode>(i * 7 % 16);
  BuildDefaultDescriptions(p.Descriptions, p.Map);
  for (std::size_t i = 0; i < p.Descriptions.Size(); i += 3) p.Descriptions.Entry(i).Text = "The \"Tower\" of Moon & <Lith>";
  return p;
}

void BM_SqlScriptAllOptions(benchmark::State& state) {
  const Project p = LargestMap();
  SqlExportOptions options;
  options.SelectAllMmuOptions();
  for (auto _ : state) benchmark::DoNotOptimize(FormatSQLScript(p, options));
}
BENCHMARK(BM_SqlScriptAllOptions)->Unit(benchmark::kMillisecond);

void BM_HtmlPage(benchmark::State& state) {
  const Project p = LargestMap();
  for (auto _ : state) benchmark::DoNotOptimize(FormatHtmlMap(p));
}
BENCHMARK(BM_HtmlPage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireforge
