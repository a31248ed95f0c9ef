// The cost of one autosave: the whole project written as a recovery copy (on the
// writer thread), and the snapshot taken of it on the GUI thread, the only pause
// a user can feel.
#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QTemporaryDir>
#include <memory>

#include "app/session/recovery.h"

namespace mireforge {
namespace {

Project SampleProject(int size) {
  Project project;
  project.Map.ResizeMap(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) project.Map.Cells[x + y * size] = static_cast<TerrainCode>((x ^ y) % 16);
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  project.ProjectSaved = false;
  return project;
}

void BM_WriteRecoveryCopy(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  const Project project = SampleProject(size);
  QTemporaryDir dir;
  const QString path = dir.filePath("session.mfp");
  for (auto _ : state) WriteRecoveryCopy(project, path, QDateTime::currentDateTime());
  state.SetItemsProcessed(state.iterations() * size * size);
}
BENCHMARK(BM_WriteRecoveryCopy)->Arg(66)->Arg(512)->Unit(benchmark::kMillisecond);

void BM_RecoverySnapshot(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  const Project project = SampleProject(size);
  for (auto _ : state) {
    auto snapshot = std::make_shared<const Project>(project);
    benchmark::DoNotOptimize(snapshot);
  }
  state.SetItemsProcessed(state.iterations() * size * size);
}
BENCHMARK(BM_RecoverySnapshot)->Arg(66)->Arg(512)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireforge
