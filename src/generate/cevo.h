#pragma once
// cEvo: a sum of 64 sine waves, classified by shares of the cell count.
#include "generate/generator_settings.h"
#include "model/map_grid.h"
#include "model/random_source.h"

namespace mireforge {

// Replaces grid.Cells with a new map of grid.Width x grid.Height cells, drawing
// from random as seeded by the caller. Writes settings.RareSeed when rare terrain
// is randomized.
void GenerateCEvo(MapGrid& grid, GeneratorSettings& settings, RandomSource& random);

}  // namespace mireforge
