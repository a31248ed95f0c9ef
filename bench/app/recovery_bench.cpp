// The cost of one autosave: the whole project written as a recovery copy, the
// pause a user feels after a wholesale change and at each two-minute tick.
#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QTemporaryDir>

#include "app/recovery.h"

namespace mireforge {
namespace {

void BM_WriteRecoveryCopy(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  Project project;
  project.Map.ResizeMap(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) project.Map.Cells[x + y * size] = static_cast<TerrainCode>((x ^ y) % 16);
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  project.ProjectSaved = false;
  QTemporaryDir dir;
  const QString path = dir.filePath("session.mfp");
  for (auto _ : state) WriteRecoveryCopy(project, path, QDateTime::currentDateTime());
  state.SetItemsProcessed(state.iterations() * size * size);
}
BENCHMARK(BM_WriteRecoveryCopy)->Arg(66)->Arg(512)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireforge
