// The Map menu's commands on a 512 x 512 map in the real window: the
// transform with the window's refresh, and its undo.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QTemporaryDir>

#include "../big_project.h"
#include "app/main_window/main_window.h"
#include "app/main_window/window_parts.h"
#include "app/edit/map_transform_command.h"
#include "app/dialogs/user_prompts.h"

namespace mireforge {
namespace {

struct BigMapWindow {
  BigMapWindow() : window(dir.filePath("mireforge.ini"), prompts) {
    window.CurrentProject() = BigProject();
    window.Document().MapRestored(true, "Created from project");
  }
  QTemporaryDir dir;
  DialogPrompts prompts;
  TfMain window;
};

// 0: rotate clockwise (undone by the opposite turn), 1: flip horizontally,
// 2: resize (undone from its snapshot). range(1): 0 times the command with the
// window's refresh, 1 times its undo.
void BM_WindowTransform512(benchmark::State& state) {
  BigMapWindow big;
  TfMain& window = big.window;
  const bool timeUndo = state.range(1) != 0;
  const auto run = [&] {
    switch (state.range(0)) {
      case 0: mireforge::PartOf<QAction>(window, "aRotateClockwise")->trigger(); break;
      case 1: mireforge::PartOf<QAction>(window, "aFlipHorizontally")->trigger(); break;
      default: {
        // What "Resize map..." pushes after its dialog: five cells cut off each side.
        CurrentCellAccess current{[] { return std::pair(0, 0); }, [&](int x, int y) { mireforge::PartOf<mireforge::MapGridView>(window, "DG")->SetCurrentCell(x, y); }};
        window.Document().Push(new MapTransformCommand("Resize map", window.CurrentProject(), window.Document(),
                                                        MapTransform::ResizeTo(502, 502, {-5, -5}, true),
                                                        "Created from project", current));
      }
    }
  };
  for (auto _ : state) {
    if (timeUndo) {
      state.PauseTiming();
      run();
      state.ResumeTiming();
      mireforge::PartOf<QAction>(window, "aUndo")->trigger();
    } else {
      run();
      state.PauseTiming();
      mireforge::PartOf<QAction>(window, "aUndo")->trigger();
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_WindowTransform512)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->ArgNames({"rotate_flip_resize", "undo"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

}  // namespace
}  // namespace mireforge
