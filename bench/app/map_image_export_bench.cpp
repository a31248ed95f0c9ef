// The map image command on a 512 x 512 map at 32 pixels, as the user runs it:
// the progress form must keep moving and the whole program stay small.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QProgressBar>

#include "app/main_window/main_window.h"
#include "app/main_window/window_parts.h"
#include "app/dialogs/small_forms.h"
#include "app/dialogs/user_prompts.h"

namespace {

class SaveToFile : public mireforge::DialogPrompts {
 public:
  mireforge::FileChoice SaveFile(QWidget*, const QString&, const QString&, const QString&) override {
    return {QDir::temp().filePath("mireforge_bench_map.png"), 2};
  }
  void ShowError(QWidget*, const QString& message) override { error = message; }
  QString error;
};

void BM_MapImageExport512(benchmark::State& state) {
  SaveToFile prompts;
  mireforge::TfMain window(QDir::temp().filePath("mireforge_bench.ini"), prompts);
  window.show();
  mireforge::MapGrid& map = window.CurrentProject().Map;
  map.ResizeMap(512, 512);
  for (int i = 0; i < 512 * 512; ++i) map.Cells[i] = static_cast<mireforge::TerrainCode>((i * 7 + i / 512) % 16);
  window.RefreshMap("Created from file");
  int progressSteps = 0;
  QObject::connect(mireforge::PartOf<mireforge::TfInfo>(window, "fInfo")->pbInfo, &QProgressBar::valueChanged, [&] { ++progressSteps; });
  for (auto _ : state) {
    progressSteps = 0;
    mireforge::PartOf<QAction>(window, "aSaveMap")->trigger();
    if (!prompts.error.isEmpty()) state.SkipWithError(prompts.error.toStdString().c_str());
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  state.counters["progress_steps"] = progressSteps;
  QFile::remove(QDir::temp().filePath("mireforge_bench_map.png"));
  window.CurrentProject().ProjectSaved = true;
}
BENCHMARK(BM_MapImageExport512)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
