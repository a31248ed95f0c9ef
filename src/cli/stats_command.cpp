// mireforge-cli stats: the terrain statistics of a map file, as text or JSON.
#include <array>
#include <cstdio>
#include <ostream>

#include "cli/commands.h"
#include "formats/map_files.h"
#include "model/terrain.h"

namespace mireforge::cli {

namespace {

struct TerrainStatistics {
  std::array<long, TerrainCount> Counts{};
  long Total = 0;
};

TerrainStatistics CountTerrain(const MapGrid& map) {
  TerrainStatistics stats;
  for (const TerrainCode cell : map.Cells)
    if (cell < TerrainCount) ++stats.Counts[cell];
  stats.Total = static_cast<long>(map.Width) * map.Height;
  return stats;
}

// Two decimals; an empty map has no share to divide, so every share is 0.00.
std::string Percent(long count, long total) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", total > 0 ? count * 100.0 / total : 0.0);
  return text;
}

}  // namespace

const CommandSyntax& StatsSpec() {
  static const CommandSyntax syntax{
      "stats",
      "FILE [--json]",
      "Prints the cell count and share of each terrain in the map FILE.",
      {{"--json", "", "", "print the same figures as one JSON object"}},
      1,
      "FILE"};
  return syntax;
}

void RunStats(const ParsedOptions& options, const CommandContext& context) {
  std::ostream& out = context.Out;
  const Project project = LoadMapFile(options.Positionals.front());
  const TerrainStatistics stats = CountTerrain(project.Map);
  if (options.Has("--json")) {
    // Terrain names are plain lower-case words: nothing in them needs escaping.
    out << "{";
    for (int code = 0; code < TerrainCount; ++code)
      out << "\"" << TerrainNames[code] << "\": {\"count\": " << stats.Counts[code]
          << ", \"percent\": " << Percent(stats.Counts[code], stats.Total) << "}, ";
    out << "\"total\": " << stats.Total << "}\n";
    return;
  }
  for (int code = 0; code < TerrainCount; ++code)
    out << TerrainNames[code] << '\t' << stats.Counts[code] << '\t' << Percent(stats.Counts[code], stats.Total)
        << " %\n";
  out << "total\t" << stats.Total << "\n";
}

}  // namespace mireforge::cli
