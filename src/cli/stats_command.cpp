// mireforge-cli stats: the terrain statistics of a map file, as text or JSON.
#include <ostream>

#include "cli/commands.h"
#include "formats/map_files.h"
#include "model/statistics.h"
#include "model/terrain.h"

namespace mireforge::cli {

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
  const Project project = LoadMapArgument(options.Positionals.front(), MapFileParts::Terrain);
  const auto counts = CountTerrain(project.Map);
  const long long total = static_cast<long long>(project.Map.Width) * project.Map.Height;
  if (options.Has("--json")) {
    // Terrain names are plain lower-case words: nothing in them needs escaping.
    out << "{";
    for (int code = 0; code < TerrainCount; ++code)
      out << "\"" << TerrainNames[code] << "\": {\"count\": " << counts[code]
          << ", \"percent\": " << FormatPercent(counts[code], total) << "}, ";
    out << "\"total\": " << total << "}\n";
    return;
  }
  for (int code = 0; code < TerrainCount; ++code)
    out << TerrainNames[code] << '\t' << counts[code] << '\t' << FormatPercent(counts[code], total)
        << " %\n";
  out << "total\t" << total << "\n";
}

}  // namespace mireforge::cli
