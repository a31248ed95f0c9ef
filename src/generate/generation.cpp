#include "generate/generation.h"

#include <string>

#include "generate/cevo.h"
#include "generate/plasma.h"
#include "base/memory_reserve.h"

namespace mireforge {

GenerationMethod MethodOfMode(int mode) {
  return mode == 1 ? GenerationMethod::CEvo : GenerationMethod::Plasma;
}

namespace {

template <typename Rows>
void SeedMap(Rows& rows, const GenerationRun& run, RandomSource& random) {
  if (run.Randomize) {
    random.SeedFromClock();
    rows.Seed = std::to_string(random.RandomSeed);
  } else {
    random.RandomSeed = run.Seed;
  }
}

// What a generation allocates per cell, with room for what follows it (the
// terrain rows, a written file): plasma's work grid alone has 16.
constexpr std::size_t BytesPerCell = 32;

}  // namespace

void GenerateFromRows(GeneratorRows& rows, GenerationMethod method, GeneratorSettings& settings,
                      MapGrid& grid, RandomSource& random) {
  if (method == GenerationMethod::CEvo) {
    const GenerationRun run = ApplyCEvoRows(rows.CEvo, settings);
    ReserveMemory(static_cast<std::size_t>(run.Width) * run.Height * BytesPerCell);
    grid.ResizeMap(run.Width, run.Height);
    SeedMap(rows.CEvo, run, random);
    GenerateCEvo(grid, settings, random);
    rows.CEvo.RareSeed = std::to_string(settings.RareSeed);
  } else {
    const GenerationRun run = ApplyPlasmaRows(rows.Plasma, settings);
    ReserveMemory(static_cast<std::size_t>(run.Width) * run.Height * BytesPerCell);
    grid.ResizeMap(run.Width, run.Height);
    SeedMap(rows.Plasma, run, random);
    GeneratePlasma(grid, settings, random);
    rows.Plasma.RareSeed = std::to_string(settings.RareSeed);
  }
}

}  // namespace mireforge
