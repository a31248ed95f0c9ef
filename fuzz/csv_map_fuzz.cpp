// Feeds arbitrary bytes to the CSV map reader, and to the domain reader for a
// map of the size read. What it accepts must write back and read again the same.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "formats/csv_map.h"
#include "base/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  mireforge::MapGrid grid;
  try {
    grid = mireforge::ParseCsvMap(bytes);
  } catch (const mireforge::Error&) {
    return 0;
  }
  if (grid.Width < 1 || grid.Width > mireforge::MaxMapSize || grid.Height < 1 || grid.Height > mireforge::MaxMapSize ||
      grid.Cells.size() != std::size_t{grid.Width} * grid.Height)
    std::abort();
  if (mireforge::ParseCsvMap(mireforge::FormatCsvMap(grid)).Cells != grid.Cells) std::abort();
  try {
    const auto domains = mireforge::ParseCsvDomains(bytes, grid.Width, grid.Height);
    if (domains.size() != grid.Cells.size()) std::abort();
  } catch (const mireforge::Error&) {
  }
  return 0;
}
