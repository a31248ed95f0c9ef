// One repaint of the actual view widget (composition, text, frame, copy to the
// target) with its pictures cached, offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/actual_view/actual_view.h"
#include "model/descriptions.h"
#include "project/project.h"

namespace mireforge {
namespace {

void BM_ActualViewRepaint(benchmark::State& state) {
  Project project;
  project.Map.ResizeMap(66, 63);
  for (int y = 0; y < 63; ++y)
    for (int x = 0; x < 66; ++x)
      project.Map.Cells[x + y * 66] = static_cast<TerrainCode>(project.Map.OnBorder(x, y) ? 10 : (x * 7 + y * 3) % 15);
  project.Map.RebuildTerrainRows();
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  TfActualView view(project, nullptr);
  view.MoveTo(30, 30);
  view.show();
  QApplication::processEvents();
  for (int d = 0; d < 8; ++d) {
    view.State().ViewDirection = d;
    benchmark::DoNotOptimize(view.grab());
  }
  int step = 0;
  for (auto _ : state) {
    view.State().ViewDirection = step++ % 8;
    // grab() runs the paint event into a pixmap, as a repaint does into the window.
    benchmark::DoNotOptimize(view.grab());
  }
}
BENCHMARK(BM_ActualViewRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mireforge
