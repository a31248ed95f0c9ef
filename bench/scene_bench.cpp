// One frame of the actual view composed by the core: backdrop, stretched
// ground and 48 sprites from our picture pack, the pictures already decoded
// (they stay cached while the view is open). Also the first frame after
// opening, which decodes the pictures it needs.
#include <benchmark/benchmark.h>

#include "scene/picture_library.h"
#include "model/map_grid.h"
#include "scene/scene_pictures.h"

namespace mireforge {
namespace {

MapGrid VariedMap() {
  MapGrid map;
  map.ResizeMap(66, 63);
  for (int y = 0; y < map.Height; ++y)
    for (int x = 0; x < map.Width; ++x)
      map.Cells[x + y * map.Width] = static_cast<TerrainCode>(map.OnBorder(x, y) ? 10 : (x * 7 + y * 3) % 15);
  map.RebuildTerrainRows();
  return map;
}

void BM_ComposeSceneCached(benchmark::State& state) {
  const MapGrid map = VariedMap();
  ScenePictures pictures(OpenPicturePack(MIREFORGE_SCENE_PACK_DIR));
  Image frame;
  ViewState view;
  view.MoveTo(30, 30);
  for (int d = 0; d < 8; ++d) {  // warm the cache as walking around would
    view.ViewDirection = d;
    ComposeScene(frame, pictures, SceneSprites(view, map));
  }
  int step = 0;
  for (auto _ : state) {
    view.ViewDirection = step++ % 8;
    ComposeScene(frame, pictures, SceneSprites(view, map));
    benchmark::DoNotOptimize(frame.Pixels.data());
  }
}
BENCHMARK(BM_ComposeSceneCached)->Unit(benchmark::kMicrosecond);

void BM_ComposeSceneFirstFrame(benchmark::State& state) {
  const MapGrid map = VariedMap();
  ViewState view;
  view.MoveTo(30, 30);
  for (auto _ : state) {
    ScenePictures pictures(OpenPicturePack(MIREFORGE_SCENE_PACK_DIR));
    Image frame;
    ComposeScene(frame, pictures, SceneSprites(view, map));
    benchmark::DoNotOptimize(frame.Pixels.data());
  }
}
BENCHMARK(BM_ComposeSceneFirstFrame)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireforge
