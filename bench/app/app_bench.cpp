// Editor timings, offscreen: the grid view's full repaint, the description
// panel's rebuild, and start-up to the first painted window.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeView>

#include "../big_project.h"
#include "app/panels/description_model.h"
#include "app/main_window/main_window.h"
#include "app/main_window/window_parts.h"
#include "app/grid/map_grid_view.h"
#include "app/grid/tile_images.h"
#include "app/dialogs/user_prompts.h"
#include "project/project.h"

namespace mireforge {
namespace {

// A viewport of exactly 1920 x 1080 over the whole map at tile size 8.
void SetUpView(MapGridView& view, bool gridLines) {
  view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view.setFrameStyle(0);
  view.resize(1920, 1080);
  GridOptions options;
  options.tileSize = 8;
  options.gridLines = gridLines;
  view.SetOptions(options);
  view.SetGridSize(512, 512);
  view.SetDisplay(CellDisplay::Terrain);
}

void BM_GridFullRepaintTile8(benchmark::State& state) {
  Project project = BigProject();
  TileImages tiles(LoadTileArtwork());
  MapGridView view(project, tiles);
  SetUpView(view, state.range(0) != 0);
  view.show();
  QApplication::processEvents();
  if (view.viewport()->size() != QSize(1920, 1080)) state.SkipWithError("viewport is not 1920 x 1080");
  for (auto _ : state) {
    view.viewport()->repaint();  // synchronous: every visible cell drawn and put on screen
  }
  state.counters["cells"] = static_cast<double>((1920 / 8) * (1080 / 8));
}
BENCHMARK(BM_GridFullRepaintTile8)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The drawing alone, without handing the picture to the window system.
void BM_GridRenderTile8(benchmark::State& state) {
  Project project = BigProject();
  TileImages tiles(LoadTileArtwork());
  MapGridView view(project, tiles);
  SetUpView(view, false);
  const QRect all(0, 0, 1920, 1080);
  for (auto _ : state) {
    view.RenderRect(all);
    benchmark::DoNotOptimize(view.Buffer().constBits());
  }
}
BENCHMARK(BM_GridRenderTile8)->Unit(benchmark::kMillisecond);

void BM_DescriptionsRebuild512(benchmark::State& state) {
  Project project = BigProject();
  TileImages tiles(LoadTileArtwork());
  const bool invert = false;
  DescriptionModel model(project, tiles, invert);
  QTreeView view;
  view.setUniformRowHeights(true);
  view.setModel(&model);
  view.resize(400, 800);
  view.show();
  QApplication::processEvents();
  for (auto _ : state) {
    BuildDefaultDescriptions(project.Descriptions, project.Map);
    model.Reset();
    view.viewport()->repaint();
  }
  state.counters["rows"] = static_cast<double>(model.rowCount());
}
BENCHMARK(BM_DescriptionsRebuild512)->Unit(benchmark::kMillisecond);

class PaintWatcher : public QObject {
 public:
  bool painted = false;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return false;
  }
};

void BM_StartupToFirstPaint(benchmark::State& state) {
  QTemporaryDir dir;
  DialogPrompts prompts;
  for (auto _ : state) {
    TfMain window(dir.filePath("mireforge.ini"), prompts);
    PaintWatcher watcher;
    mireforge::PartOf<mireforge::MapGridView>(window, "DG")->viewport()->installEventFilter(&watcher);
    window.ShowAtStart();
    while (!watcher.painted) QApplication::processEvents();
    state.PauseTiming();
    window.hide();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartupToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace mireforge

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // A repaint comes with the next turn of the event loop, not 5 ms later, so that
  // a benchmark that lets the events run times the repaint it caused.
  if (qEnvironmentVariableIsEmpty("QT_QPA_UPDATE_IDLE_TIME")) qputenv("QT_QPA_UPDATE_IDLE_TIME", "0");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Mireforge");
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
