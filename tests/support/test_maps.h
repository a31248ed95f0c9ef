#pragma once
// Maps for tests: a framed map to start from, generator runs from a fixed
// seed, and what tests ask of the result.
#include <array>
#include <cstdint>

#include "generate/generator_settings.h"
#include "model/map_grid.h"
#include "model/random_source.h"
#include "model/terrain.h"

namespace mireforge {

// A width x height map: frozen wastes on the border ring, inside elsewhere.
MapGrid FramedMap(int width, int height, TerrainCode inside);

// The generator defaults with rare terrain off.
GeneratorSettings DefaultsWithoutRare();

using Generator = void (*)(MapGrid&, GeneratorSettings&, RandomSource&);

// Runs generate over a fresh width x height map from seed, with a clock that
// reads 0; seedAfter, when given, receives the seed the run left behind.
MapGrid RunGenerator(Generator generate, int width, int height, GeneratorSettings settings, std::int32_t seed = 0,
                     std::int32_t* seedAfter = nullptr);

// How many cells hold each terrain code.
std::array<int, TerrainCount> TerrainCounts(const MapGrid& grid);

bool RingIsFrozen(const MapGrid& grid);

}  // namespace mireforge
