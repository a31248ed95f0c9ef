#include "model/statistics.h"

#include "model/map_grid.h"

namespace mireforge {

std::array<int, TerrainCount> CountTerrain(const MapGrid& map) {
  // Four tallies side by side, so that runs of one terrain do not wait on each other.
  std::array<std::array<int, TerrainCount>, 4> tallies{};
  const std::size_t size = map.Cells.size(), whole = size & ~std::size_t{3};
  const TerrainCode* cells = map.Cells.data();
  for (std::size_t i = 0; i < whole; i += 4) {
    ++tallies[0][TerrainOf(cells[i])];
    ++tallies[1][TerrainOf(cells[i + 1])];
    ++tallies[2][TerrainOf(cells[i + 2])];
    ++tallies[3][TerrainOf(cells[i + 3])];
  }
  for (std::size_t i = whole; i < size; ++i) ++tallies[0][TerrainOf(cells[i])];
  std::array<int, TerrainCount> counts{};
  for (const auto& tally : tallies)
    for (int code = 0; code < TerrainCount; ++code) counts[code] += tally[code];
  return counts;
}

std::string FormatPercent(long long count, long long total) {
  long long hundredths = 0;
  // A map holds at most 512 x 512 cells, so count * 20000 stays far below the limit.
  if (total > 0 && count > 0) hundredths = (count * 20000 + total) / (2 * total);
  std::string text = std::to_string(hundredths / 100) + ".";
  const long long fraction = hundredths % 100;
  text += static_cast<char>('0' + fraction / 10);
  text += static_cast<char>('0' + fraction % 10);
  return text;
}

}  // namespace mireforge
