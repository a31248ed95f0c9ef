#include "model/statistics.h"

#include "model/map_grid.h"

namespace mireforge {

std::array<int, TerrainCount> CountTerrain(const MapGrid& map) {
  std::array<int, TerrainCount> counts{};
  for (const TerrainCode cell : map.Cells) ++counts[cell & 0x0F];
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
