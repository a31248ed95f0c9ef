#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "pictures/png_codec.h"
#include "base/error.h"
#include "support/error_of.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

void PutBig(std::string& s, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) s += static_cast<char>(v >> (8 * i));
}

std::string Chunk(const std::string& type, const std::string& data) {
  std::string c;
  PutBig(c, static_cast<std::uint32_t>(data.size()));
  const std::string body = type + data;
  c += body;
  PutBig(c, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size())));
  return c;
}

// Builds a PNG by hand so that every colour type, depth and interlace can be tried.
struct PngFile {
  int Width = 1, Height = 1, Depth = 8, ColorType = 2;
  bool Interlaced = false;
  std::string Extra;  // chunks between IHDR and IDAT (PLTE, tRNS)
  std::function<std::vector<int>(int x, int y)> Samples;

  int Channels() const {
    switch (ColorType) {
      case 0: case 3: return 1;
      case 4: return 2;
      case 2: return 3;
      default: return 4;
    }
  }

  // One row of the given pixels, filter byte "none" first, samples packed big-endian.
  std::string Row(const std::vector<std::pair<int, int>>& pixels) const {
    std::string row(1, '\0');
    int bitsUsed = 0;
    for (auto [x, y] : pixels)
      for (int v : Samples(x, y)) {
        if (Depth == 16) {
          row += static_cast<char>(v >> 8);
          row += static_cast<char>(v);
        } else if (Depth == 8) {
          row += static_cast<char>(v);
        } else {
          if (bitsUsed % 8 == 0) row += '\0';
          row.back() = static_cast<char>(row.back() | (v << (8 - Depth - bitsUsed % 8)));
          bitsUsed += Depth;
        }
      }
    return row;
  }

  std::string Bytes() const {
    std::string raw;
    const int passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                              {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    static const int plain[4] = {0, 0, 1, 1};
    for (int pass = 0; pass < (Interlaced ? 7 : 1); ++pass) {
      const int* p = Interlaced ? passes[pass] : plain;
      for (int y = p[1]; y < Height; y += p[3]) {
        std::vector<std::pair<int, int>> pixels;
        for (int x = p[0]; x < Width; x += p[2]) pixels.push_back({x, y});
        if (!pixels.empty()) raw += Row(pixels);
      }
    }
    uLongf size = compressBound(raw.size());
    std::string z(size, '\0');
    compress(reinterpret_cast<Bytef*>(z.data()), &size, reinterpret_cast<const Bytef*>(raw.data()), raw.size());
    z.resize(size);
    std::string ihdr;
    PutBig(ihdr, Width);
    PutBig(ihdr, Height);
    ihdr += {static_cast<char>(Depth), static_cast<char>(ColorType), 0, 0, static_cast<char>(Interlaced)};
    return "\x89PNG\r\n\x1a\n" + Chunk("IHDR", ihdr) + Extra + Chunk("IDAT", z) + Chunk("IEND", "");
  }
};

Image Decode(const std::string& bytes) { return DecodePng(AsBytes(bytes)); }

std::string MessageOf(const std::string& bytes) {
  return ErrorOf([&] { Decode(bytes); });
}

TEST(PngCodec, EveryColourTypeBecomesArgb) {
  struct Case {
    std::string name;
    PngFile file;
    std::uint32_t expectAt10;  // the pixel at (1, 0)
    std::uint32_t expectAt01;  // the pixel at (0, 1)
  };
  auto file = [](int type, int depth, std::function<std::vector<int>(int, int)> s, std::string extra = "") {
    PngFile f;
    f.Width = 3;
    f.Height = 2;
    f.ColorType = type;
    f.Depth = depth;
    f.Samples = std::move(s);
    f.Extra = std::move(extra);
    return f;
  };
  const std::string palette = Chunk("PLTE", std::string("\x10\x20\x30\xff\x00\x00\x00\xff\x00\x00\x00\xff", 12));
  const std::vector<Case> cases = {
      {"grey 1-bit", file(0, 1, [](int x, int y) { return std::vector<int>{(x + y) % 2}; }),
       Argb(255, 255, 255), Argb(255, 255, 255)},
      {"grey 4-bit", file(0, 4, [](int x, int y) { return std::vector<int>{x * 5 + y}; }), Argb(85, 85, 85),
       Argb(17, 17, 17)},
      {"grey 8-bit with transparent 7", file(0, 8, [](int x, int y) { return std::vector<int>{x == 1 ? 7 : 100 + y}; },
                                             Chunk("tRNS", std::string("\0\x07", 2))),
       Argb(7, 7, 7, 0), Argb(101, 101, 101)},
      {"grey 16-bit", file(0, 16, [](int x, int y) { return std::vector<int>{0xAB00 * x + y * 0x0100 + 0xCD}; }),
       Argb(0xAB, 0xAB, 0xAB), Argb(1, 1, 1)},
      {"grey and alpha", file(4, 8, [](int x, int y) { return std::vector<int>{x * 50, 255 - y}; }),
       Argb(50, 50, 50), Argb(0, 0, 0, 254)},
      {"RGB 8-bit with transparent colour",
       file(2, 8, [](int x, int y) { return std::vector<int>{x, y, 9}; }, Chunk("tRNS", std::string("\0\0\0\x01\0\x09", 6))),
       Argb(1, 0, 9), Argb(0, 1, 9, 0)},
      {"RGB 16-bit", file(2, 16, [](int x, int y) { return std::vector<int>{0x1234 * x, 0xFF00 - y, 0x0080}; }),
       Argb(0x12, 0xFF, 0x00), Argb(0, 0xFE, 0)},
      {"RGBA 8-bit", file(6, 8, [](int x, int y) { return std::vector<int>{x, y, 3, 4}; }), Argb(1, 0, 3, 4),
       Argb(0, 1, 3, 4)},
      {"palette 2-bit, shorter tRNS", file(3, 2, [](int x, int y) { return std::vector<int>{(x + 2 * y) % 3}; },
                                            palette + Chunk("tRNS", std::string("\x80", 1))),
       Argb(255, 0, 0), Argb(0, 255, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string bytes = c.file.Bytes();
    const Image image = Decode(bytes);
    ASSERT_EQ(image.Width, 3);
    ASSERT_EQ(image.Height, 2);
    EXPECT_EQ(image.At(1, 0), c.expectAt10);
    EXPECT_EQ(image.At(0, 1), c.expectAt01);
    EXPECT_EQ(ProbePngSize(AsBytes(bytes)).Height, 2);
  }
  PngFile p = file(3, 2, [](int, int) { return std::vector<int>{0}; }, palette + Chunk("tRNS", std::string("\x80", 1)));
  EXPECT_EQ(Decode(p.Bytes()).At(0, 0), Argb(0x10, 0x20, 0x30, 0x80));
}

TEST(PngCodec, InterlacedPicturesMatchPlainOnes) {
  PngFile f;
  f.Width = 13;
  f.Height = 9;
  f.Samples = [](int x, int y) { return std::vector<int>{x * 19 % 256, y * 23 % 256, (x * y) % 256}; };
  const Image plain = Decode(f.Bytes());
  f.Interlaced = true;
  const Image interlaced = Decode(f.Bytes());
  EXPECT_EQ(plain.Pixels, interlaced.Pixels);
  EXPECT_EQ(plain.At(12, 8), Argb(12 * 19 % 256, 8 * 23, 96));
}

TEST(PngCodec, DamagedFilesGiveLibpngsMessage) {
  PngFile f;
  f.Width = 4;
  f.Height = 4;
  f.Samples = [](int x, int y) { return std::vector<int>{x, y, 0}; };
  const std::string good = f.Bytes();
  std::string badCrc = good;
  badCrc[29] ^= 1;  // the IHDR checksum
  EXPECT_EQ(MessageOf("GIF89a and more bytes"), "Not a PNG file");
  EXPECT_EQ(MessageOf(""), "Read Error");
  EXPECT_EQ(MessageOf(good.substr(0, 50)), "Read Error");
  EXPECT_EQ(MessageOf(badCrc), "IHDR: CRC error");
  PngFile big = f;
  big.Width = 20000;
  big.Samples = [](int, int) { return std::vector<int>{0, 0, 0}; };
  EXPECT_EQ(MessageOf(big.Bytes()), "The picture is too large (20000 x 4 pixels; at most 16384 x 16384)");
  EXPECT_THROW(DecodePng(AsBytes(good), 3), Error);
}

Image TestPicture(int width, int height) {
  Image image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.At(x, y) = Argb(x * 7 & 255, y * 13 & 255, (x ^ y) & 255, 200 + x % 50);
  return image;
}

// The first two bytes of the zlib stream in the first IDAT chunk.
int ZlibLevelBits(const std::string& png) {
  const std::size_t at = png.find("IDAT");
  return (static_cast<unsigned char>(png.at(at + 5)) >> 6) & 3;
}

TEST(PngCodec, EncoderRoundTripsAtLevelFive) {
  const Image image = TestPicture(41, 17);
  const std::string rgba = EncodePng(image, PngColor::Rgba);
  EXPECT_EQ(Decode(rgba).Pixels, image.Pixels);

  const std::string rgb = EncodePng(image, PngColor::Rgb);
  EXPECT_EQ(static_cast<unsigned char>(rgb[25]), 2u);  // colour type RGB
  const Image opaque = Decode(rgb);
  for (std::size_t i = 0; i < image.Pixels.size(); ++i) ASSERT_EQ(opaque.Pixels[i], image.Pixels[i] | 0xFF000000u);

  EXPECT_EQ(ZlibLevelBits(rgb), 1);  // zlib marks levels 2 to 5 as 1; its default 6 as 2
  EXPECT_THROW(EncodePng(Image(0, 5), PngColor::Rgb), Error);
}

TEST(PngCodec, RowWriterToFileAndMisuse) {
  const Image image = TestPicture(5, 3);
  TempDir dir;
  const std::string path = dir.File("rows.png");
  {
    AtomicFile file(path, "Cannot create file %s");
    PngRowWriter writer(file.Handle(), 5, 3, PngColor::Rgba);
    writer.WriteRow(&image.Pixels[0]);
    EXPECT_THROW(writer.Finish(), Error);
    writer.WriteRow(&image.Pixels[5]);
    writer.WriteRow(&image.Pixels[10]);
    EXPECT_THROW(writer.WriteRow(&image.Pixels[10]), Error);
    writer.Finish();
    file.Commit();
  }
  const std::string bytes = ReadWholeFile(path);
  EXPECT_EQ(bytes, EncodePng(image, PngColor::Rgba));
  if (std::system("command -v pngcheck >/dev/null 2>&1") != 0) GTEST_SKIP() << "pngcheck is not installed";
  EXPECT_EQ(std::system(("pngcheck -q '" + path + "' >/dev/null").c_str()), 0);
}

}  // namespace
}  // namespace mireforge
