// The editing tools on a 512 x 512 map in the real window: a bucket fill of
// the whole interior (260,100 cells), the paste of a 100 x 100 block, and the
// undo of each. Each use is one click on the grid, as a person gives it.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>

#include "app/main_window/main_window.h"
#include "app/main_window/window_parts.h"
#include "app/tools/map_tools.h"
#include "app/dialogs/user_prompts.h"
#include "formats/cell_block.h"

namespace mireforge {
namespace {

class BigMapWindow {
 public:
  BigMapWindow() : window(dir.filePath("mireforge.ini"), prompts) {
    window.resize(1200, 900);
    window.show();
    MapGrid& map = window.CurrentProject().Map;
    map.ResizeMap(512, 512);
    map.FillTerrain(FrozenWastes, true);
    map.FillTerrain(Plains, false);
    window.RefreshMap("Created from file");
    BuildDefaultDescriptions(window.CurrentProject().Descriptions, map);
    window.ChooseTileSize(6);
    window.ChooseTerrain(Forest);
    QApplication::processEvents();
  }
  ~BigMapWindow() { window.CurrentProject().ProjectSaved = true; }

  void Click(int column, int row) {
    const QPointF pos((column - mireforge::PartOf<mireforge::MapGridView>(window, "DG")->LeftColumn()) * 8 + 4, (row - mireforge::PartOf<mireforge::MapGridView>(window, "DG")->TopRow()) * 8 + 4);
    for (auto [type, button, buttons] : {std::tuple{QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton},
                                         std::tuple{QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton}}) {
      QMouseEvent event(type, pos, mireforge::PartOf<mireforge::MapGridView>(window, "DG")->viewport()->mapToGlobal(pos), button, buttons, Qt::NoModifier);
      QApplication::sendEvent(mireforge::PartOf<mireforge::MapGridView>(window, "DG")->viewport(), &event);
    }
  }

  QTemporaryDir dir;
  DialogPrompts prompts;
  TfMain window;
};

void BM_BucketFill512(benchmark::State& state) {
  BigMapWindow big;
  mireforge::PartOf<mireforge::MapTools>(big.window, "tools")->aTool[static_cast<int>(Tool::Bucket)]->trigger();
  for (auto _ : state) {
    big.Click(20, 20);
    state.PauseTiming();
    if (big.window.UndoStack().count() != 1) state.SkipWithError("the fill made no undo step");
    mireforge::PartOf<QAction>(big.window, "aUndo")->trigger();
    big.window.UndoStack().clear();
    state.ResumeTiming();
  }
  state.counters["cells"] = 510.0 * 510.0;
}
BENCHMARK(BM_BucketFill512)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_UndoBucketFill512(benchmark::State& state) {
  BigMapWindow big;
  mireforge::PartOf<mireforge::MapTools>(big.window, "tools")->aTool[static_cast<int>(Tool::Bucket)]->trigger();
  for (auto _ : state) {
    state.PauseTiming();
    big.Click(20, 20);
    state.ResumeTiming();
    mireforge::PartOf<QAction>(big.window, "aUndo")->trigger();
    state.PauseTiming();
    big.window.UndoStack().clear();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_UndoBucketFill512)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// A 100 x 100 block of every terrain, with descriptions of their own.
void PutBlockOnClipboard() {
  CellBlock block;
  block.Width = block.Height = 100;
  for (int i = 0; i < 100 * 100; ++i)
    block.Cells.push_back({true, static_cast<TerrainCode>(i % 16), i % 7, "Cell number " + std::to_string(i)});
  auto* data = new QMimeData;
  const std::string text = block.Serialize();
  data->setData(CellBlockMimeType, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  QApplication::clipboard()->setMimeData(data);
}

void BM_Paste100x100(benchmark::State& state) {
  BigMapWindow big;
  PutBlockOnClipboard();
  for (auto _ : state) {
    state.PauseTiming();
    mireforge::PartOf<mireforge::MapTools>(big.window, "tools")->aPaste->trigger();
    state.ResumeTiming();
    big.Click(60, 60);
    state.PauseTiming();
    if (big.window.UndoStack().count() != 1) state.SkipWithError("the paste made no undo step");
    mireforge::PartOf<QAction>(big.window, "aUndo")->trigger();
    big.window.UndoStack().clear();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Paste100x100)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_UndoPaste100x100(benchmark::State& state) {
  BigMapWindow big;
  PutBlockOnClipboard();
  for (auto _ : state) {
    state.PauseTiming();
    mireforge::PartOf<mireforge::MapTools>(big.window, "tools")->aPaste->trigger();
    big.Click(60, 60);
    state.ResumeTiming();
    mireforge::PartOf<QAction>(big.window, "aUndo")->trigger();
    state.PauseTiming();
    big.window.UndoStack().clear();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_UndoPaste100x100)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
}  // namespace mireforge
