#include <gtest/gtest.h>
#include <zlib.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "pictures/parallel_png.h"
#include "pictures/png_codec.h"
#include "support/error_of.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

// Runs of flat colour broken by noise, so that deflate both matches and gives up.
std::uint32_t PixelAt(int x, int y) {
  std::uint32_t h = static_cast<std::uint32_t>(x / 7 * 73856093u ^ y / 5 * 19349663u);
  if ((x + y) % 11 == 0) h = static_cast<std::uint32_t>(x * 2654435761u + y * 40503u);
  return (h & 0x00FFFFFFu) | 0x5A000000u;  // an alpha that must be dropped
}

std::string WritePicture(const TempDir& dir, int width, int height, const ParallelPngOptions& options,
                         const PictureRowProgress& progress = {}) {
  const std::string path = dir.File("p.png");
  AtomicFile file(path, "Cannot create file %s");
  WriteParallelPng(
      file.Handle(), width, height,
      [&](int y, std::uint32_t* row) {
        for (int x = 0; x < width; ++x) row[x] = PixelAt(x, y);
      },
      progress, options);
  file.Commit();
  return ReadWholeFile(path);
}

std::uint32_t BigEndianAt(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

// The payloads of the IDAT chunks, joined, and how many chunks there were.
std::string ImageData(const std::string& png, int* chunks) {
  std::string data;
  *chunks = 0;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::uint32_t length = BigEndianAt(png, at);
    if (png.compare(at + 4, 4, "IDAT") == 0) {
      data += png.substr(at + 8, length);
      ++*chunks;
    }
    at += 12 + length;
  }
  return data;
}

TEST(ParallelPng, AnyBandingGivesOneValidStreamOfTheSamePixels) {
  struct Case {
    int width, height, threads;
    std::size_t bandBytes;
    int bands;
  };
  const Case cases[] = {
      {1, 1, 1, 4u << 20, 1},  // the smallest picture
      {37, 53, 2, 1, 53},      // a band per row: more bands than the workers' window
      {37, 53, 3, 500, 14},    // four rows of 112 bytes a band
      {300, 9, 2, 4u << 20, 1},
      {300, 200, 2, 20000, 10},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << ", threads " << c.threads);
    const std::string png = WritePicture(dir, c.width, c.height, {c.threads, c.bandBytes});
    const Image image = DecodePng(AsBytes(png));
    ASSERT_EQ(image.Width, c.width);
    ASSERT_EQ(image.Height, c.height);
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) ASSERT_EQ(image.At(x, y), PixelAt(x, y) | 0xFF000000u) << x << "," << y;

    // One zlib stream of unfiltered rows: inflating with its wrapper checks the combined Adler-32 too.
    int chunks = 0;
    const std::string data = ImageData(png, &chunks);
    EXPECT_EQ(chunks, c.bands);
    const std::size_t rowBytes = static_cast<std::size_t>(c.width) * 3 + 1;
    std::vector<unsigned char> raw(rowBytes * c.height + 1);
    uLongf rawSize = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &rawSize, reinterpret_cast<const Bytef*>(data.data()), data.size()), Z_OK);
    ASSERT_EQ(rawSize, rowBytes * c.height);
    for (int y = 0; y < c.height; ++y) ASSERT_EQ(raw[y * rowBytes], 0) << "filter of row " << y;
    EXPECT_EQ((static_cast<unsigned char>(data[1]) >> 6) & 3, 1);  // zlib's mark of levels 2 to 5

    // The bands do not depend on which thread compressed them.
    EXPECT_EQ(WritePicture(dir, c.width, c.height, {1, c.bandBytes}), png);
    if (std::system("command -v pngcheck >/dev/null 2>&1") == 0) {
      std::FILE* file = std::fopen(dir.File("check.png").c_str(), "wb");
      std::fwrite(png.data(), 1, png.size(), file);
      std::fclose(file);
      EXPECT_EQ(std::system(("pngcheck -q '" + dir.File("check.png") + "' >/dev/null").c_str()), 0);
    }
  }
}

TEST(ParallelPng, Adler32AgreesWithZlib) {
  std::vector<unsigned char> bytes(70000);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 2654435761u >> 13);
  const std::vector<unsigned char> full(600000, 0xFF);  // the largest sums the blocks can reach
  for (std::size_t size : {0, 1, 31, 32, 33, 1000, 16384, 16415, 69999}) {
    for (uLong start : {1ul, 0xFFF0FFF0ul, 0x12345678ul % 65521}) {
      EXPECT_EQ(Adler32(start, bytes.data() + 1, size), adler32_z(start, bytes.data() + 1, size)) << size;
    }
  }
  EXPECT_EQ(Adler32(0xFFF0FFF0u, full.data(), full.size()), adler32_z(0xFFF0FFF0u, full.data(), full.size()));
}

TEST(ParallelPng, ProgressClimbsToTheLastRowAndFailuresStopTheWrite) {
  TempDir dir;
  std::vector<int> rows;
  WritePicture(dir, 20, 30, {2, 61 * 4}, [&](int done) { rows.push_back(done); });
  EXPECT_EQ(rows, (std::vector<int>{4, 8, 12, 16, 20, 24, 28, 30}));

  // A failure in a worker, at the file or in progress reaches the caller, and the workers stop.
  std::atomic<int> drawn = 0;
  EXPECT_EQ(ErrorOf([&] {
              std::FILE* sink = std::tmpfile();
              try {
                WriteParallelPng(
                    sink, 20, 3000,
                    [&](int y, std::uint32_t* row) {
                      ++drawn;
                      if (y == 40) throw Error("cannot draw");
                      std::fill_n(row, 20, 0u);
                    },
                    {}, {2, 61});
              } catch (...) {
                std::fclose(sink);
                throw;
              }
            }),
            "cannot draw");
  EXPECT_LT(drawn.load(), 3000);
  EXPECT_EQ(ErrorOf([&] { WritePicture(dir, 20, 300, {2, 61}, [](int done) { if (done == 5) throw Error("stop"); }); }),
            "stop");
  EXPECT_EQ(ErrorOf([&] { WritePicture(dir, 0, 5, {}); }), "A PNG image needs at least one pixel");
  if (std::FILE* full = std::fopen("/dev/full", "wb")) {
    EXPECT_EQ(ErrorOf([&] {
                WriteParallelPng(full, 400, 400, [](int y, std::uint32_t* row) {
                  for (int x = 0; x < 400; ++x) row[x] = PixelAt(x * 13, y * 17) * 2654435761u;
                });
              }),
              "Write Error");
    std::fclose(full);
  }
}

}  // namespace
}  // namespace mireforge
