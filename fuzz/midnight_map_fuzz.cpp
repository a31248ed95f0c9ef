// Feeds arbitrary bytes to the map file reader. Whatever it accepts must write
// back and read again to the same map.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "formats/midnight_map.h"
#include "base/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  mireforge::MapGrid grid;
  try {
    grid = mireforge::ParseMidnightMap(bytes);
  } catch (const mireforge::Error&) {
    return 0;
  }
  if (grid.Width < 1 || grid.Width > mireforge::MaxMapSize || grid.Height < 1 ||
      grid.Height > mireforge::MaxMapSize || grid.Cells.size() != std::size_t{grid.Width} * grid.Height)
    std::abort();
  for (const mireforge::TerrainCode cell : grid.Cells)
    if (cell > 15) std::abort();
  const mireforge::MapGrid again = mireforge::ParseMidnightMap(mireforge::FormatMidnightMap(grid, false));
  if (again.Width != grid.Width || again.Height != grid.Height || again.Cells != grid.Cells) std::abort();
  return 0;
}
