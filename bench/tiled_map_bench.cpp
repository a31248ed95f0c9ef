// Tiled maps and CSV of the largest map: writing the map text and reading it
// back into a project, every third cell with a description of its own.
#include <benchmark/benchmark.h>

#include "big_project.h"
#include "formats/csv_map.h"
#include "formats/tiled_project.h"

namespace mireforge {
namespace {

Project DescribedBigProject() {
  Project project = BigProject();
  for (std::size_t i = 0; i < project.Descriptions.Size(); i += 3) {
    project.Descriptions.Entry(i).Text = "The \"Tower\" of Moon & <Lith>";
    project.Descriptions.Entry(i).Domain = static_cast<int>(i % 40);
  }
  for (int n = 1; n < 40; ++n) project.Domains.Slots[n] = {n * 1000, "Domain " + std::to_string(n)};
  return project;
}

template <std::string (*Format)(const TiledMap&)>
void BM_TiledMapWrite(benchmark::State& state) {
  const Project project = DescribedBigProject();
  for (auto _ : state) benchmark::DoNotOptimize(Format(TiledMapOfProject(project, TileLook::Color, "d.png")));
}
BENCHMARK(BM_TiledMapWrite<FormatTmx>)->Name("BM_TmxWrite")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiledMapWrite<FormatTmj>)->Name("BM_TmjWrite")->Unit(benchmark::kMillisecond);

template <std::string (*Format)(const TiledMap&), TiledMap (*Parse)(std::string_view)>
void BM_TiledMapRead(benchmark::State& state) {
  const std::string text = Format(TiledMapOfProject(DescribedBigProject(), TileLook::Color, "d.png"));
  for (auto _ : state) benchmark::DoNotOptimize(ProjectOfTiledMap(Parse(text)));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_TiledMapRead<FormatTmx, ParseTmx>)->Name("BM_TmxRead")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiledMapRead<FormatTmj, ParseTmj>)->Name("BM_TmjRead")->Unit(benchmark::kMillisecond);

void BM_CsvRead(benchmark::State& state) {
  const std::string text = FormatCsvMap(BigProject().Map);
  for (auto _ : state) benchmark::DoNotOptimize(ParseCsvMap(text));
}
BENCHMARK(BM_CsvRead)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireforge
