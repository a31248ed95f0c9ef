#pragma once
// The map as CSV: one line per row, one Midnight/MU terrain letter per cell
// (plains as a space, unquoted), and beside it an optional second file of the
// cells' domain numbers in the same layout ("NAME-domains.csv").
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/map_grid.h"
#include "project/project.h"

namespace mireforge {

// Four bytes a cell and a line end a row for the letters; twelve for the numbers.
inline constexpr std::uint64_t MaxCsvMapFileBytes = 4ull * 1024 * 1024;
inline constexpr std::uint64_t MaxCsvDomainFileBytes = 12ull * 1024 * 1024;

std::string FormatCsvMap(const MapGrid& grid);
// The domain number of every cell (0 where the project has no descriptions).
std::string FormatCsvDomains(const Project& project);

// The letters into a new grid (TerrainRows left empty); fields may be quoted,
// an empty one is plains, letters in either case. Error for a ragged or
// oversized table and for a field that is no terrain letter.
MapGrid ParseCsvMap(std::string_view text);
// width x height domain numbers, row by row.
std::vector<std::int32_t> ParseCsvDomains(std::string_view text, int width, int height);

// "map-domains.csv" beside "map.csv".
std::string CsvDomainFileName(const std::string& path);

// Both files, each replaced only once both are written.
void WriteCsvMapFiles(const std::string& path, const Project& project);
// The map, and the domains when their file is there; project untouched on failure.
void ReadCsvMapFile(const std::string& path, Project& project);

}  // namespace mireforge
