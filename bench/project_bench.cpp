#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "base/ini_file.h"
#include "formats/project_file.h"

namespace mireforge {
namespace {

// The largest project: 512 x 512 cells, each with its own description and a
// domain, and all 256 domains named and coloured.
Project LargestProject() {
  Project project;
  project.Map.ResizeMap(MaxMapSize, MaxMapSize);
  for (std::size_t i = 0; i < project.Map.Cells.size(); ++i)
    project.Map.Cells[i] = static_cast<TerrainCode>((i * 2654435761u >> 7) % 16);
  project.Map.RebuildTerrainRows();
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  for (std::size_t i = 0; i < project.Descriptions.Size(); ++i) {
    TDescItem& item = project.Descriptions.Entry(i);
    item.Text = "Somewhere in the land, place " + std::to_string(i);
    item.Domain = static_cast<int>(i % DomainCount);
  }
  for (int n = 0; n < DomainCount; ++n) project.Domains.Slots[n] = {n * 65793, "Domain " + std::to_string(n)};
  return project;
}

std::string BenchFile() {
  return (std::filesystem::temp_directory_path() / ("mireforge-bench-" + std::to_string(::getpid()) + ".mfp")).string();
}

void BM_SaveAndLoadProject512(benchmark::State& state) {
  Project project = LargestProject();
  const std::string path = BenchFile();
  for (auto _ : state) {
    std::filesystem::remove(path);  // each save writes a new file, not an update
    SaveProject(project, path);
    Project loaded;
    LoadProject(loaded, path);
    benchmark::DoNotOptimize(loaded.Descriptions.Entries.data());
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  std::filesystem::remove(path);
}
BENCHMARK(BM_SaveAndLoadProject512)->Unit(benchmark::kMillisecond);

void BM_SaveProject512(benchmark::State& state) {
  Project project = LargestProject();
  const std::string path = BenchFile();
  for (auto _ : state) {
    std::filesystem::remove(path);
    SaveProject(project, path);
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_SaveProject512)->Unit(benchmark::kMillisecond);

// Saving again over the same file: the old file is read first for its foreign content.
void BM_SaveProjectOverExisting512(benchmark::State& state) {
  Project project = LargestProject();
  const std::string path = BenchFile();
  SaveProject(project, path);
  for (auto _ : state) SaveProject(project, path);
  std::filesystem::remove(path);
}
BENCHMARK(BM_SaveProjectOverExisting512)->Unit(benchmark::kMillisecond);

void BM_LoadProject512(benchmark::State& state) {
  Project project = LargestProject();
  const std::string path = BenchFile();
  SaveProject(project, path);
  for (auto _ : state) {
    Project loaded;
    LoadProject(loaded, path);
    benchmark::DoNotOptimize(loaded.Descriptions.Entries.data());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_LoadProject512)->Unit(benchmark::kMillisecond);

// The two halves of a load: the INI text parsed, then the project read from it.
void BM_ParseProjectText512(benchmark::State& state) {
  Project project = LargestProject();
  const std::string path = BenchFile();
  SaveProject(project, path);
  for (auto _ : state) benchmark::DoNotOptimize(IniFile::Load(path, MaxProjectFileBytes).KeyCount("Domains"));
  std::filesystem::remove(path);
}
BENCHMARK(BM_ParseProjectText512)->Unit(benchmark::kMillisecond);

void BM_ReadParsedProject512(benchmark::State& state) {
  Project project = LargestProject();
  const std::string path = BenchFile();
  SaveProject(project, path);
  const IniFile ini = IniFile::Load(path, MaxProjectFileBytes);
  for (auto _ : state) {
    Project loaded;
    ReadProject(ini, loaded);
    benchmark::DoNotOptimize(loaded.Descriptions.Entries.data());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadParsedProject512)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireforge
