// What an edit costs the editor beyond the edit itself, on a 512 x 512 project
// with a text and a domain in every cell: a bucket fill of the whole interior, the
// paste of a 100 x 100 block (the same block each time, or one never drawn before)
// and the undo of each, once as the core operation (the cells found, the undo step
// made and applied, nobody listening) and once through the real window (a click on
// the grid, then every event the window posted, its repaint included). And one
// pointer move of a brush stroke. Process CPU time.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <vector>

#include "../big_project.h"
#include "app/dialogs/user_prompts.h"
#include "app/main_window/main_window.h"
#include "app/main_window/window_parts.h"
#include "app/tools/map_tools.h"
#include "formats/cell_block.h"
#include "model/map_regions.h"

namespace mireforge {
namespace {

constexpr int FillColumn = 20, FillRow = 20;
constexpr int PasteColumn = 60, PasteRow = 60;

// A 100 x 100 block of every terrain, each cell with a description and domain of its own;
// each copy a new text in every cell, so that nothing drawn of an earlier paste serves.
CellBlock Block100(int copy = 0) {
  CellBlock block;
  block.Width = block.Height = 100;
  for (int i = 0; i < 100 * 100; ++i)
    block.Cells.push_back({true, static_cast<TerrainCode>(i % 16), i % 7,
                           "Cell number " + std::to_string(i) + (copy > 0 ? " of copy " + std::to_string(copy) : "")});
  return block;
}

// The clipboard text of a paste benchmark: the same block each time (its second
// range 0) or a new one (1); none for the others.
template <bool Pastes>
std::string PastedText(const benchmark::State& state, int iteration) {
  if (!Pastes) return {};
  static const std::string same = Block100().Serialize();
  return state.range(1) == 0 ? same : Block100(iteration + 1).Serialize();
}

// The fill of the whole interior: every border cell is frozen wastes, the rest plains.
void PrepareForFill(Project& project) {
  project.Map.FillTerrain(FrozenWastes, true);
  project.Map.FillTerrain(Plains, false);
}

class NoView : public EditView {
 public:
  void CellsEdited(const std::vector<std::uint32_t>&) override {}
  void DomainsEdited() override {}
  void MapRestored(bool, const QString&) override {}
};

// The core operations, built as the tools build them.
std::unique_ptr<CellEditCommand> CoreFill(Project& project, NoView& view, const std::string&) {
  const MapGrid& map = project.Map;
  const auto member = [&](int x, int y) { return !map.OnBorder(x, y) && map.GetTerrain(x, y) == Plains; };
  CellEdit edit(project);
  for (std::uint32_t cell : FloodRegion(map.Width, map.Height, FillColumn, FillRow, member)) {
    const CellState now = ReadCell(project, cell);
    CellState drawn = ReadCell(project, cell);
    drawn.terrain = Forest;
    drawn.text = DefaultDescription(Forest);
    if (drawn.terrain != now.terrain || drawn.domain != now.domain) edit.Set(cell, drawn);
  }
  return std::make_unique<CellEditCommand>("Fill", project, view, std::move(edit), false);
}

std::unique_ptr<CellEditCommand> CorePaste(Project& project, NoView& view, const std::string& clipboard) {
  const CellBlock block = CellBlock::Parse(clipboard);
  CellEdit edit(project);
  for (int y = 0; y < block.Height; ++y)
    for (int x = 0; x < block.Width; ++x) {
      const BlockCell& cell = block.At(x, y);
      edit.Set((PasteColumn + x) + (PasteRow + y) * project.Map.Width, {cell.terrain, cell.domain, cell.text});
    }
  return std::make_unique<CellEditCommand>("Paste", project, view, std::move(edit), false);
}

enum class Step { Do, Undo };

// The least of the repetitions: on a shared machine the figure least disturbed by
// other work, and so the steadiest ratio between two benchmarks run apart.
double Least(const std::vector<double>& runs) { return *std::min_element(runs.begin(), runs.end()); }

template <std::unique_ptr<CellEditCommand> (*Make)(Project&, NoView&, const std::string&), bool Pastes>
void BM_Core(benchmark::State& state) {
  const Step step = static_cast<Step>(state.range(0));
  Project project = LargestProject();
  PrepareForFill(project);
  NoView view;
  int iteration = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string clipboard = PastedText<Pastes>(state, iteration++);
    state.ResumeTiming();
    if (step != Step::Do) state.PauseTiming();
    std::unique_ptr<CellEditCommand> command = Make(project, view, clipboard);
    command->redo();
    if (step != Step::Do) state.ResumeTiming();
    if (step != Step::Undo) state.PauseTiming();
    command->undo();
    command.reset();
    if (step != Step::Undo) state.ResumeTiming();
  }
}
BENCHMARK(BM_Core<CoreFill, false>)->Name("BM_CoreFill512")->ArgNames({"do0_undo1"})->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->ComputeStatistics("min", Least);
BENCHMARK(BM_Core<CorePaste, true>)->Name("BM_CorePaste100x100")->ArgNames({"do0_undo1", "same0_new1"})
    ->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->ComputeStatistics("min", Least);

class BigWindow {
 public:
  BigWindow() : window(dir.filePath("mireforge.ini"), prompts) {
    window.resize(1200, 900);
    window.show();
    Project& project = window.CurrentProject();
    project = LargestProject();
    PrepareForFill(project);
    window.RefreshMap("Created from project");
    window.ChooseTileSize(6);
    window.ChooseTerrain(Forest);
    Settle();
  }
  ~BigWindow() { window.CurrentProject().ProjectSaved = true; }

  // Everything the window posted: repaints, panel updates, deferred work.
  // (The repaint is asked for in the first turn and runs in the next.)
  static void Settle() {
    for (int turn = 0; turn < 3; ++turn) QApplication::processEvents();
  }

  void Mouse(QEvent::Type type, int column, int row, Qt::MouseButton button, Qt::MouseButtons buttons) {
    const QPointF pos((column - grid->LeftColumn()) * 8 + 4, (row - grid->TopRow()) * 8 + 4);
    QMouseEvent event(type, pos, grid->viewport()->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &event);
  }
  void Click(int column, int row) {
    Mouse(QEvent::MouseButtonPress, column, row, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, column, row, Qt::LeftButton, Qt::NoButton);
  }

  QTemporaryDir dir;
  DialogPrompts prompts;
  TfMain window;
  // Found once: a search through the window's children is no part of an edit's cost.
  MapGridView* grid = PartOf<MapGridView>(window, "DG");
  MapTools* tools = PartOf<MapTools>(window, "tools");
  QAction* undo = PartOf<QAction>(window, "aUndo");
};

void Fill(BigWindow& big) {
  big.tools->aTool[static_cast<int>(Tool::Bucket)]->trigger();
  big.Click(FillColumn, FillRow);
}

void Paste(BigWindow& big) {
  big.tools->aPaste->trigger();
  big.Click(PasteColumn, PasteRow);
}

// The timed steps, apart in a profile: the edit and its undo each in a function of its
// own (noipa, so that the compiler does not fold the two into one).
[[gnu::noipa]] void TimedEdit(const std::function<void()>& step) {
  step();
  BigWindow::Settle();
}
[[gnu::noipa]] void TimedUndo(const std::function<void()>& step) {
  step();
  BigWindow::Settle();
}

template <void (*Edit)(BigWindow&), bool Pastes>
void BM_Window(benchmark::State& state) {
  const Step step = static_cast<Step>(state.range(0));
  BigWindow big;
  int iteration = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (Pastes) {
      auto* data = new QMimeData;
      const std::string text = PastedText<Pastes>(state, iteration++);
      data->setData(CellBlockMimeType, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
      QApplication::clipboard()->setMimeData(data);
      BigWindow::Settle();
    }
    state.ResumeTiming();
    if (step != Step::Do) state.PauseTiming();
    TimedEdit([&] { Edit(big); });
    if (step != Step::Do) state.ResumeTiming();
    if (big.window.UndoStack().count() != 1) state.SkipWithError("the edit made no undo step");
    if (step != Step::Undo) state.PauseTiming();
    TimedUndo([&] { big.undo->trigger(); });
    if (step != Step::Undo) state.ResumeTiming();
    state.PauseTiming();
    big.window.UndoStack().clear();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Window<Fill, false>)->Name("BM_WindowFill512")->ArgNames({"do0_undo1"})->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->ComputeStatistics("min", Least);
BENCHMARK(BM_Window<Paste, true>)->Name("BM_WindowPaste100x100")->ArgNames({"do0_undo1", "same0_new1"})
    ->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->ComputeStatistics("min", Least);

// One held pointer move of the brush onto the next cell, and the window's repaint.
void BM_WindowBrushMove512(benchmark::State& state) {
  BigWindow big;
  big.tools->aTool[static_cast<int>(Tool::Brush)]->trigger();
  PartOf<QAction>(big.window, "aPaint")->trigger();
  int column = 10, row = 10, terrain = Forest;
  big.Mouse(QEvent::MouseButtonPress, column, row, Qt::LeftButton, Qt::LeftButton);
  BigWindow::Settle();
  for (auto _ : state) {
    // Along a row and back one row lower, within the visible cells; a new stroke
    // of another terrain over the same rows when they are done.
    column += (row % 2 == 0) ? 1 : -1;
    if (column > 100 || column < 10) {
      column = std::clamp(column, 10, 100);
      if (++row > 80) {
        state.PauseTiming();
        big.Mouse(QEvent::MouseButtonRelease, column, row, Qt::LeftButton, Qt::NoButton);
        terrain = terrain == Forest ? Mountains : Forest;
        big.window.ChooseTerrain(terrain);
        row = 10;
        big.Mouse(QEvent::MouseButtonPress, column, row, Qt::LeftButton, Qt::LeftButton);
        BigWindow::Settle();
        state.ResumeTiming();
      }
    }
    big.Mouse(QEvent::MouseMove, column, row, Qt::NoButton, Qt::LeftButton);
    BigWindow::Settle();
  }
  big.Mouse(QEvent::MouseButtonRelease, column, row, Qt::LeftButton, Qt::NoButton);
  BigWindow::Settle();
}
BENCHMARK(BM_WindowBrushMove512)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

}  // namespace
}  // namespace mireforge
