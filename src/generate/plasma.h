#pragma once
// Plasma fractal: midpoint displacement on a grid four times the map's size.
#include "generate/generator_settings.h"
#include "model/map_grid.h"
#include "model/random_source.h"

namespace mireforge {

// Replaces grid.Cells with a new map of grid.Width x grid.Height cells, drawing
// from random as seeded by the caller. Writes settings.RareSeed when rare terrain
// is randomized.
void GeneratePlasma(MapGrid& grid, GeneratorSettings& settings, RandomSource& random);

}  // namespace mireforge
