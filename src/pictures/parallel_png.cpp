#include "pictures/parallel_png.h"

#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "pictures/png_codec.h"
#include "base/error.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define MIREFORGE_ADLER_AVX2 1
#endif

namespace mireforge {

#ifdef MIREFORGE_ADLER_AVX2
namespace {

constexpr std::uint32_t AdlerBase = 65521;

__attribute__((target("avx2"))) std::uint64_t LaneSum(__m256i v) {
  const __m128i h = _mm_add_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
  const __m128i q = _mm_add_epi32(h, _mm_shuffle_epi32(h, 0x4E));
  return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_add_epi32(q, _mm_shuffle_epi32(q, 0xB1))));
}

// Adler-32 32 bytes at a time: s1 sums the bytes, s2 the byte weighted by its
// distance from the block's end plus 32 times the s1 of every block before.
// 512 blocks keep every 32-bit sum below 2^31 before the modulo.
__attribute__((target("avx2"))) std::uint32_t Adler32Avx2(std::uint32_t adler, const unsigned char* p,
                                                          std::size_t n) {
  std::uint64_t s1 = adler & 0xFFFF, s2 = adler >> 16;
  const __m256i weights = _mm256_setr_epi8(32, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16,
                                           15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1);
  const __m256i ones = _mm256_set1_epi16(1);
  const __m256i zero = _mm256_setzero_si256();
  while (n >= 32) {
    const std::size_t blocks = std::min<std::size_t>(n / 32, 512);
    n -= blocks * 32;
    __m256i bytesSum = zero, prefixSum = zero, weighted = zero;
    for (std::size_t i = 0; i < blocks; ++i, p += 32) {
      const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
      prefixSum = _mm256_add_epi32(prefixSum, bytesSum);
      bytesSum = _mm256_add_epi32(bytesSum, _mm256_sad_epu8(bytes, zero));
      weighted = _mm256_add_epi32(weighted, _mm256_madd_epi16(_mm256_maddubs_epi16(bytes, weights), ones));
    }
    s2 += s1 * 32 * blocks + 32 * LaneSum(prefixSum) + LaneSum(weighted);
    s1 += LaneSum(bytesSum);
    s1 %= AdlerBase;
    s2 %= AdlerBase;
  }
  for (; n > 0; --n) {
    s1 += *p++;
    s2 += s1;
  }
  return static_cast<std::uint32_t>((s2 % AdlerBase) << 16 | (s1 % AdlerBase));
}

}  // namespace
#endif

std::uint32_t Adler32(std::uint32_t adler, const unsigned char* bytes, std::size_t size) {
#ifdef MIREFORGE_ADLER_AVX2
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2) return Adler32Avx2(adler, bytes, size);
#endif
  return static_cast<std::uint32_t>(adler32_z(adler, bytes, size));
}

namespace {

// One band's deflate output and the Adler-32 of its uncompressed bytes.
struct Band {
  int index = -1;  // -1: the slot is free
  std::vector<unsigned char> data;
  uLong adler = 1;
  std::size_t rawBytes = 0;
};

// A raw deflate stream (no zlib wrapper: the bands share one) reused band after band.
class BandCompressor {
 public:
  BandCompressor() {
    if (deflateInit2(&z_, PngCompressionLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
      throw Error("Out of memory");
  }
  ~BandCompressor() { deflateEnd(&z_); }
  BandCompressor(const BandCompressor&) = delete;
  BandCompressor& operator=(const BandCompressor&) = delete;

  void Start(Band& band) {
    deflateReset(&z_);
    band.data.clear();  // keeps a recycled buffer's memory
    band.adler = adler32(0, nullptr, 0);
    band.rawBytes = 0;
  }

  void Feed(Band& band, const unsigned char* bytes, std::size_t size, int flush) {
    band.adler = Adler32(static_cast<std::uint32_t>(band.adler), bytes, size);
    band.rawBytes += size;
    z_.next_in = const_cast<unsigned char*>(bytes);
    z_.avail_in = static_cast<uInt>(size);
    do {
      const std::size_t used = band.data.size();
      band.data.resize(used + OutputStep);
      z_.next_out = band.data.data() + used;
      z_.avail_out = OutputStep;
      if (deflate(&z_, flush) == Z_STREAM_ERROR) throw Error("PNG compression failed");
      band.data.resize(used + OutputStep - z_.avail_out);
    } while (z_.avail_out == 0);
  }

 private:
  static constexpr uInt OutputStep = 1u << 16;
  z_stream z_{};
};

class ChunkWriter {
 public:
  explicit ChunkWriter(std::FILE* file) : file_(file) {}

  void Raw(const void* bytes, std::size_t size) {
    if (size && std::fwrite(bytes, 1, size, file_) != size) throw Error("Write Error");
  }

  // A chunk whose data is the concatenation of the pieces.
  void Chunk(const char type[4], std::initializer_list<std::pair<const unsigned char*, std::size_t>> pieces) {
    std::size_t length = 0;
    for (const auto& piece : pieces) length += piece.second;
    unsigned char head[8];
    BigEndian(head, static_cast<std::uint32_t>(length));
    std::copy_n(type, 4, head + 4);
    uLong crc = crc32(0, head + 4, 4);
    for (const auto& [data, size] : pieces) crc = crc32_z(crc, data, size);
    unsigned char tail[4];
    BigEndian(tail, static_cast<std::uint32_t>(crc));
    Raw(head, 8);
    for (const auto& [data, size] : pieces) Raw(data, size);
    Raw(tail, 4);
  }

  static void BigEndian(unsigned char* out, std::uint32_t value) {
    out[0] = static_cast<unsigned char>(value >> 24);
    out[1] = static_cast<unsigned char>(value >> 16);
    out[2] = static_cast<unsigned char>(value >> 8);
    out[3] = static_cast<unsigned char>(value);
  }

 private:
  std::FILE* file_;
};

// Workers take bands in order and may run only a window ahead of the file.
class BandPipeline {
 public:
  BandPipeline(int width, int height, const PictureRowSource& source, int rowsPerBand, int threads)
      : width_(width), height_(height), source_(source), rowsPerBand_(rowsPerBand),
        bands_((height + rowsPerBand - 1) / rowsPerBand), slots_(static_cast<std::size_t>(threads) * 2) {
    const int workers = std::min(threads, bands_);
    for (int i = 0; i < workers; ++i) workers_.emplace_back([this] { Work(); });
  }

  ~BandPipeline() {
    Stop();
    for (std::thread& worker : workers_) worker.join();
  }

  int Bands() const { return bands_; }
  int RowsBefore(int band) const { return std::min(height_, band * rowsPerBand_); }

  // Waits for the band and moves it out; rethrows a worker's failure.
  Band Take(int index) {
    std::unique_lock lock(mutex_);
    Band& slot = slots_[index % slots_.size()];
    bandDone_.wait(lock, [&] { return failure_ || slot.index == index; });
    if (failure_) std::rethrow_exception(failure_);
    Band band = std::move(slot);
    slot = Band();
    ++written_;
    lock.unlock();
    roomFree_.notify_all();
    return band;
  }

  // The band's buffer goes back to the workers, so later bands reuse its memory.
  void Recycle(Band band) {
    band.data.clear();
    std::lock_guard lock(mutex_);
    spare_.push_back(std::move(band.data));
  }

  void Stop() {
    {
      std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    roomFree_.notify_all();
  }

 private:
  void Work() {
    try {
      BandCompressor compressor;
      std::vector<std::uint32_t> argb(static_cast<std::size_t>(width_));
      std::vector<unsigned char> row(static_cast<std::size_t>(width_) * 3 + 1, 0);  // filter byte 0: none
      for (;;) {
        int index;
        {
          std::unique_lock lock(mutex_);
          roomFree_.wait(lock, [&] {
            return stopped_ || next_ >= bands_ || next_ < written_ + static_cast<int>(slots_.size());
          });
          if (stopped_ || next_ >= bands_) return;
          index = next_++;
        }
        Band band;
        {
          std::lock_guard lock(mutex_);
          if (!spare_.empty()) {
            band.data = std::move(spare_.back());
            spare_.pop_back();
          }
        }
        compressor.Start(band);
        const int last = RowsBefore(index + 1);
        for (int y = RowsBefore(index); y < last; ++y) {
          source_(y, argb.data());
          unsigned char* out = row.data() + 1;
          for (std::uint32_t p : argb) {
            out[0] = static_cast<unsigned char>(p >> 16);
            out[1] = static_cast<unsigned char>(p >> 8);
            out[2] = static_cast<unsigned char>(p);
            out += 3;
          }
          const int flush = y + 1 < last ? Z_NO_FLUSH : index + 1 == bands_ ? Z_FINISH : Z_FULL_FLUSH;
          compressor.Feed(band, row.data(), row.size(), flush);
        }
        band.index = index;
        {
          std::lock_guard lock(mutex_);
          slots_[index % slots_.size()] = std::move(band);
        }
        bandDone_.notify_all();
      }
    } catch (...) {
      {
        std::lock_guard lock(mutex_);
        if (!failure_) failure_ = std::current_exception();
        stopped_ = true;
      }
      bandDone_.notify_all();
      roomFree_.notify_all();
    }
  }

  const int width_, height_;
  const PictureRowSource& source_;
  const int rowsPerBand_, bands_;
  std::mutex mutex_;
  std::condition_variable bandDone_, roomFree_;
  std::vector<Band> slots_;
  std::vector<std::vector<unsigned char>> spare_;
  int next_ = 0;     // the next band a worker takes
  int written_ = 0;  // bands taken by the file
  bool stopped_ = false;
  std::exception_ptr failure_;
  std::vector<std::thread> workers_;
};

}  // namespace

void WriteParallelPng(std::FILE* file, int width, int height, const PictureRowSource& source,
                      const PictureRowProgress& progress, const ParallelPngOptions& options) {
  if (width <= 0 || height <= 0) throw Error("A PNG image needs at least one pixel");
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3 + 1;
  const int rowsPerBand = static_cast<int>(std::clamp<std::size_t>(options.bandBytes / rowBytes, 1, height));
  const unsigned cores = std::thread::hardware_concurrency();
  const int threads = std::clamp(options.threads > 0 ? options.threads : static_cast<int>(cores), 1, 16);

  ChunkWriter out(file);
  static const unsigned char Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  out.Raw(Signature, 8);
  unsigned char header[13] = {};
  ChunkWriter::BigEndian(header, static_cast<std::uint32_t>(width));
  ChunkWriter::BigEndian(header + 4, static_cast<std::uint32_t>(height));
  header[8] = 8;  // bits per channel
  header[9] = 2;  // RGB; compression, filter and interlace methods stay 0
  out.Chunk("IHDR", {{header, sizeof header}});

  BandPipeline pipeline(width, height, source, rowsPerBand, threads);
  // The zlib header of a 32K window at a level of 2 to 5, as zlib itself writes it.
  static const unsigned char ZlibHeader[2] = {0x78, 0x5E};
  uLong adler = adler32(0, nullptr, 0);
  for (int index = 0; index < pipeline.Bands(); ++index) {
    Band band = pipeline.Take(index);
    adler = adler32_combine(adler, band.adler, static_cast<z_off_t>(band.rawBytes));
    const bool first = index == 0, last = index + 1 == pipeline.Bands();
    unsigned char trailer[4];
    ChunkWriter::BigEndian(trailer, static_cast<std::uint32_t>(adler));
    out.Chunk("IDAT", {{ZlibHeader, first ? 2u : 0u}, {band.data.data(), band.data.size()}, {trailer, last ? 4u : 0u}});
    pipeline.Recycle(std::move(band));
    if (progress) progress(pipeline.RowsBefore(index + 1));
  }
  out.Chunk("IEND", {});
}

}  // namespace mireforge
