// Any bytes as a preview image file (first byte picks BMP or PNG): the load
// either succeeds with a consistent grid or throws Error with the grid as it was.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "formats/preview_image.h"
#include "base/error.h"

using namespace mireforge;

namespace {

// The files of every run live here; removed when the fuzzer exits, so that
// runs leave nothing behind.
struct TempFolder {
  std::string path;
  TempFolder() {
    char name[] = "/tmp/preview_fuzz_XXXXXX";
    if (!mkdtemp(name)) std::abort();
    path = name;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const TempFolder temp;
  const std::string& folder = temp.path;
  const std::string path = folder + ((data[0] & 1) ? "/p.png" : "/p.bmp");
  {
    // A plain write: the atomic writer's fsync would slow every run to a crawl.
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data) + 1, static_cast<std::streamsize>(size - 1));
  }

  MapGrid grid;
  grid.ResizeMap(3, 2);
  grid.Cells = {0, 1, 2, 3, 4, 5};
  try {
    LoadPreviewImage(path, grid);
  } catch (const Error&) {
    if (grid.Width != 3 || grid.Height != 2 || grid.Cells != std::vector<TerrainCode>{0, 1, 2, 3, 4, 5}) std::abort();
    return 0;
  }
  if (grid.Width == 0 || grid.Width > MaxMapSize || grid.Height == 0 || grid.Height > MaxMapSize) std::abort();
  if (grid.Cells.size() != static_cast<std::size_t>(grid.Width) * grid.Height) std::abort();
  for (TerrainCode c : grid.Cells)
    if (c >= TerrainCount) std::abort();
  // What loaded saves and loads back cell for cell.
  const std::string again = folder + "/again.png";
  SavePreviewImage(again, PictureFileType::Png, grid);
  MapGrid back;
  LoadPreviewImage(again, back);
  if (back.Cells != grid.Cells) std::abort();
  return 0;
}
