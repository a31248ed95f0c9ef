#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "pictures/picture.h"
#include "import/heightmap.h"

namespace mireforge {
namespace {

// A smooth height field with some grain, like a real heightmap.
Image MakeHeightPicture(int size) {
  Image picture(size, size);
  std::uint32_t noise = 12345;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int level = ((x + y) * 255 / (2 * size) + static_cast<int>(noise >> 28)) & 0xFF;
      picture.At(x, y) = Argb(level, level, (level + 40) & 0xFF);
    }
  return picture;
}

// The 4096 x 4096 PNG, written once for the whole run and removed at exit.
struct PngFixture {
  PngFixture()
      : Path((std::filesystem::temp_directory_path() / ("mireforge-import-bench-" + std::to_string(getpid()) + ".png"))
                 .string()) {
    SavePicture(Path, PictureFileType::Png, MakeHeightPicture(4096));
  }
  ~PngFixture() { std::filesystem::remove(Path); }
  std::string Path;
};

const std::string& BenchPng() {
  static PngFixture fixture;
  return fixture.Path;
}

// What the wizard does when a big picture is chosen: decode, resample, grey.
void BM_ImportPng4096LanczosTo512(benchmark::State& state) {
  const std::string& path = BenchPng();
  for (auto _ : state) {
    Image preview = LoadPicturePreview(path, {ResizeMethod::Lanczos, false, true});
    benchmark::DoNotOptimize(preview.Pixels.data());
  }
}
BENCHMARK(BM_ImportPng4096LanczosTo512)->Unit(benchmark::kMillisecond)->UseRealTime();

// The resampling share of it, on the decoded picture.
void BM_PreviewLanczos4096To512InMemory(benchmark::State& state) {
  const Image picture = MakeHeightPicture(4096);
  for (auto _ : state) {
    Image preview = BuildPicturePreview(picture, {ResizeMethod::Lanczos, false, true});
    benchmark::DoNotOptimize(preview.Pixels.data());
  }
}
BENCHMARK(BM_PreviewLanczos4096To512InMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

// Moving a threshold redraws the classes of a 512 x 512 preview.
void BM_DrawTerrainPreview512(benchmark::State& state) {
  Image grey = MakeHeightPicture(512);
  ConvertToGrey(grey);
  for (auto _ : state) {
    Image classes = DrawTerrainPreview(grey, ImportThresholds{});
    benchmark::DoNotOptimize(classes.Pixels.data());
  }
}
BENCHMARK(BM_DrawTerrainPreview512)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireforge
