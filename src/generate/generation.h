#pragma once
// One generation run from the wizard's row texts: what "Create preview" and
// "Finish" do, and what mireforge-cli generate does.
#include "generate/generator_settings.h"
#include "model/map_grid.h"
#include "model/random_source.h"

namespace mireforge {

// Plasma for Mode 0 and for any Mode that is neither 0 nor 1.
GenerationMethod MethodOfMode(int mode);

// Converts the method's rows (throwing before anything changes), sizes the grid,
// seeds the map (a randomized seed is written into the "Map seed" row), runs the
// generator and writes the rare seed used into the "Rare terrain seed" row.
void GenerateFromRows(GeneratorRows& rows, GenerationMethod method, GeneratorSettings& settings,
                      MapGrid& grid, RandomSource& random);

}  // namespace mireforge
