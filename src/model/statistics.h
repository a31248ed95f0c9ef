#pragma once
// The counts and shares the statistics report, shared by the editor's windows
// and the command-line tool so that both show the same figures.
#include <array>
#include <string>

#include "model/terrain.h"

namespace mireforge {

class MapGrid;

// Cells of each terrain code, by the low four bits of the cell as the grid reads them.
std::array<int, TerrainCount> CountTerrain(const MapGrid& map);

// count * 100 / total with two decimals, a half rounded up: 1 of 800 cells is
// "0.13". Computed exactly, so no binary fraction tips a half either way.
// A total of 0 gives "0.00". The decimal separator is '.'.
std::string FormatPercent(long long count, long long total);

}  // namespace mireforge
