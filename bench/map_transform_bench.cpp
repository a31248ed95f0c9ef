// Whole-map transforms of a 512 x 512 map with a description per cell.
#include <benchmark/benchmark.h>

#include "big_project.h"
#include "project/map_transform.h"

namespace mireforge {
namespace {

void BM_Transform512(benchmark::State& state) {
  Project project = BigProject();
  const MapTransform transforms[] = {MapTransform::Flip(true), MapTransform::Flip(false), MapTransform::Turn(1),
                                     MapTransform::Turn(2),
                                     // Same size each run: shifted by five cells, the ring rebuilt.
                                     MapTransform::ResizeTo(512, 512, {-5, -5}, true)};
  const MapTransform& transform = transforms[state.range(0)];
  for (auto _ : state) {
    transform.Apply(project);
    benchmark::DoNotOptimize(project.Descriptions.Entries.data());
  }
}
BENCHMARK(BM_Transform512)->DenseRange(0, 4)->ArgName("flipH_flipV_rot90_rot180_resize")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireforge
