#pragma once
// An RGB PNG drawn and compressed on every core, for pictures too big to
// compress on one in reasonable time (the map image). The rows are cut into
// bands; each band is deflated on its own at zlib level 5 and ends with a full
// flush, so the bands concatenate into one zlib stream whose Adler-32 is
// combined from theirs. Memory stays bounded: only a few bands are in flight.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>

namespace mireforge {

// Fills row y with width pixels 0xAARRGGBB (alpha is dropped). Called from
// several threads at once, each with its own buffer: it may only read shared state.
using PictureRowSource = std::function<void(int y, std::uint32_t* argb)>;
// Rows now in the file, on the calling thread, in ascending order. It may throw
// to stop the write.
using PictureRowProgress = std::function<void(int rowsDone)>;

// zlib's Adler-32 (start from 1), a few times faster where the processor has AVX2.
std::uint32_t Adler32(std::uint32_t adler, const unsigned char* bytes, std::size_t size);

struct ParallelPngOptions {
  int threads = 0;                    // 0: one per core
  std::size_t bandBytes = 4u << 20;   // uncompressed bytes per band, at least one row
};

// Writes the whole PNG (8-bit RGB, unfiltered rows, not interlaced). Errors:
// "A PNG image needs at least one pixel", "Write Error" when the file refuses
// bytes, and whatever source or progress throw.
void WriteParallelPng(std::FILE* file, int width, int height, const PictureRowSource& source,
                      const PictureRowProgress& progress = {}, const ParallelPngOptions& options = {});

}  // namespace mireforge
