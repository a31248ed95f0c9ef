#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "formats/map_image.h"
#include "pictures/tile_pictures.h"

namespace mireforge {
namespace {

std::uint32_t Hash(std::uint32_t v) {
  v ^= v >> 16;
  v *= 0x7feb352d;
  v ^= v >> 15;
  v *= 0x846ca68b;
  return v ^ (v >> 16);
}

// A 512 x 512 map of terrain patches, framed, with scattered rare cells.
MapGrid BenchMap() {
  MapGrid grid;
  grid.ResizeMap(MaxMapSize, MaxMapSize);
  const TerrainCode common[] = {Plains, Forest, Downs, Mountains, Lake};
  for (int y = 0; y < grid.Height; ++y)
    for (int x = 0; x < grid.Width; ++x) {
      const std::uint32_t h = Hash(x * 7919 + y);
      TerrainCode code = common[Hash((x / 12) * 131 + (y / 9)) % 5];
      if (h % 50 == 0) code = static_cast<TerrainCode>(h % 16);
      grid.Cells[x + y * grid.Width] = grid.OnBorder(x, y) ? TerrainCode{FrozenWastes} : code;
    }
  return grid;
}

const std::string OutputPath = (std::filesystem::temp_directory_path() / "mireforge_map_image_bench.png").string();

void BM_MapImage512At32WithGridPng(benchmark::State& state) {
  const MapGrid map = BenchMap();
  const TileSet tiles = LoadTileSet(false, false);
  for (auto _ : state) SaveMapImage(OutputPath, PictureFileType::Png, map, tiles, 32, 1);
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(OutputPath)) / 1e6;
  std::filesystem::remove(OutputPath);
}
// Compresses on every core: the CPU column counts all threads.
BENCHMARK(BM_MapImage512At32WithGridPng)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// The yardstick: zlib at level 5 over the very RGB bytes the PNG holds, row
// by row as they are drawn, without PNG's filtering and framing.
void BM_MapImageZlibLevel5SameBytes(benchmark::State& state) {
  const MapGrid map = BenchMap();
  const TileSet tiles = LoadTileSet(false, false);
  std::array<Image, TerrainCount> scaled;
  for (int code = 0; code < TerrainCount; ++code) scaled[code] = ScaleTile(tiles.Tiles[code], 32);
  const int step = 33;
  const std::size_t width = static_cast<std::size_t>(map.Width) * step;
  std::vector<unsigned char> row(width * 3, 0);
  std::vector<unsigned char> out(1 << 16);
  std::size_t compressed = 0;
  for (auto _ : state) {
    z_stream z{};
    deflateInit(&z, 5);
    compressed = 0;
    auto feed = [&](int flush) {
      z.next_in = row.data();
      z.avail_in = static_cast<uInt>(row.size());
      do {
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        deflate(&z, flush);
        compressed += out.size() - z.avail_out;
      } while (z.avail_out == 0);
    };
    for (int y = 0; y < map.Height; ++y) {
      for (int r = 0; r < 32; ++r) {
        std::fill(row.begin(), row.end(), 0);
        for (int x = 0; x < map.Width; ++x) {
          const std::uint32_t* source = &scaled[map.GetTerrain(x, y)].Pixels[r * 32];
          unsigned char* p = row.data() + static_cast<std::size_t>(x) * step * 3;
          for (int i = 0; i < 32; ++i, p += 3) {
            p[0] = static_cast<unsigned char>(source[i] >> 16);
            p[1] = static_cast<unsigned char>(source[i] >> 8);
            p[2] = static_cast<unsigned char>(source[i]);
          }
        }
        feed(Z_NO_FLUSH);
      }
      std::fill(row.begin(), row.end(), 0);
      feed(y + 1 == map.Height ? Z_FINISH : Z_NO_FLUSH);
    }
    deflateEnd(&z);
  }
  state.counters["file_MB"] = static_cast<double>(compressed) / 1e6;
}
BENCHMARK(BM_MapImageZlibLevel5SameBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace mireforge
