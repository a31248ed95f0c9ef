#pragma once
// The wizard's gallery of seeds: the same rows generated under several random
// seeds at once, each entry standing for rows that give its map again.
#include <cstdint>
#include <vector>

#include "generate/generation.h"

namespace mireforge {

struct GallerySeeds {
  std::int32_t Seed = 0;      // the map seed
  std::int32_t RareSeed = 0;  // used only where the rows randomize the rare terrain
};

// count seed pairs: the source seeded from the clock, then stepped.
std::vector<GallerySeeds> DrawGallerySeeds(RandomSource& random, int count);

// The method's rows with the entry's seeds written in and both randomize rows
// off, so that generating from them reproduces the entry's map.
GeneratorRows RowsWithSeeds(const GeneratorRows& rows, GenerationMethod method, const GallerySeeds& seeds);

// One map per seed pair, generated on up to `threads` threads at once; throws
// the first entry's failure (a row that does not convert) after all have ended.
std::vector<MapGrid> GenerateGallery(const GeneratorRows& rows, GenerationMethod method,
                                     const std::vector<GallerySeeds>& seeds, unsigned threads);

}  // namespace mireforge
