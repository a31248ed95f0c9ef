#pragma once
// The Midnight/MU map file: PHP source defining $map, one string of terrain
// letters per map row. Only terrain travels through it.
#include <cstdint>
#include <string>
#include <string_view>

#include "model/map_grid.h"

namespace mireforge {

// The letter of each TerrainCode, by index; used in both directions.
inline constexpr std::string_view TerrainLetters = " CFHTVDKSEZRLNMX";

// The whole file text. With omitBorder the outermost rows and columns are left
// out; the rulers still follow the full width.
std::string FormatMidnightMap(const MapGrid& grid, bool omitBorder);

// The largest file read: four times a 512 x 512 map as written (0.27 MB),
// room for the comments and lines a person may add.
inline constexpr std::uint64_t MaxMidnightMapFileBytes = 1024ull * 1024;

// Parses a file's bytes into a new grid. Throws Error
// for a file without map rows, a first row without letters, and a map larger
// than the editor allows.
MapGrid ParseMidnightMap(std::string_view bytes);

// Writes atomically: a failed write leaves any earlier file as it was.
void WriteMidnightMap(const std::string& path, const MapGrid& grid, bool omitBorder);

// Replaces the grid's size and cells from the file. On any failure the grid is
// left exactly as it was.
void ReadMidnightMap(const std::string& path, MapGrid& grid);

}  // namespace mireforge
