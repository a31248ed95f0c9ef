#pragma once
// The last step of both generators: a scatter of rare terrain inside the frame.
#include "generate/generator_settings.h"
#include "model/map_grid.h"
#include "model/random_source.h"

namespace mireforge {

// Seeds the random source for the scatter (from the clock into RareSeed when
// RandomizeRare, else from RareSeed) and places the rare cells when CreateRare.
void ScatterRareTerrain(MapGrid& grid, GeneratorSettings& settings, RandomSource& random);
// Places rareCount cells of the eleven rare kinds on interior cells.
// A map narrower or lower than 3 cells has no interior: nothing is placed.
void PlaceRareTerrain(MapGrid& grid, std::int32_t rareCount, RandomSource& random);

}  // namespace mireforge
