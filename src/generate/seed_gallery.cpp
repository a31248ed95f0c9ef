#include "generate/seed_gallery.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <string>
#include <thread>

namespace mireforge {

namespace {

template <typename Rows>
void FixSeeds(Rows& rows, const GallerySeeds& seeds) {
  rows.Randomize = "False";
  rows.Seed = std::to_string(seeds.Seed);
  if (rows.RandomizeRare == "True") {
    rows.RandomizeRare = "False";
    rows.RareSeed = std::to_string(seeds.RareSeed);
  }
}

}  // namespace

std::vector<GallerySeeds> DrawGallerySeeds(RandomSource& random, int count) {
  random.SeedFromClock();
  std::vector<GallerySeeds> seeds(std::max(0, count));
  for (GallerySeeds& entry : seeds) {
    entry.Seed = static_cast<std::int32_t>(random.RandomInt(0xFFFFFFFFu));
    entry.RareSeed = static_cast<std::int32_t>(random.RandomInt(0xFFFFFFFFu));
  }
  return seeds;
}

GeneratorRows RowsWithSeeds(const GeneratorRows& rows, GenerationMethod method, const GallerySeeds& seeds) {
  GeneratorRows fixed = rows;
  if (method == GenerationMethod::CEvo) FixSeeds(fixed.CEvo, seeds);
  else FixSeeds(fixed.Plasma, seeds);
  return fixed;
}

std::vector<MapGrid> GenerateGallery(const GeneratorRows& rows, GenerationMethod method,
                                     const std::vector<GallerySeeds>& seeds, unsigned threads) {
  std::vector<MapGrid> maps(seeds.size());
  std::vector<std::exception_ptr> failures(seeds.size());
  std::atomic<std::size_t> next{0};
  // Each entry has its own rows, settings and random source: nothing is shared but the index.
  const auto work = [&] {
    for (std::size_t i = next++; i < seeds.size(); i = next++) {
      try {
        GeneratorRows entry = RowsWithSeeds(rows, method, seeds[i]);
        GeneratorSettings settings;
        RandomSource random;
        GenerateFromRows(entry, method, settings, maps[i], random);
      } catch (...) {
        failures[i] = std::current_exception();
      }
    }
  };
  const std::size_t workers = std::min<std::size_t>(std::max(1u, threads), seeds.size());
  std::vector<std::thread> pool;
  for (std::size_t i = 1; i < workers; ++i) pool.emplace_back(work);
  work();
  for (std::thread& thread : pool) thread.join();
  for (const std::exception_ptr& failure : failures)
    if (failure) std::rethrow_exception(failure);
  return maps;
}

}  // namespace mireforge
