#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "pictures/bmp_codec.h"
#include "base/file_io.h"
#include "base/error.h"
#include "support/error_of.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

// Builds bitmap files byte by byte, the way a paint program lays them out.
struct BmpFile {
  int HeaderSize = 40;
  int Width = 1;
  int Height = 1;  // negative: top-down
  int Bits = 24;
  int Compression = 0;
  std::vector<std::uint32_t> Masks;      // written after a 40-byte header, inside later ones
  std::vector<std::uint32_t> Palette;    // 0x00RRGGBB
  std::vector<std::vector<unsigned char>> Rows;  // in file order, unpadded

  static void Put(std::string& s, std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
  }

  std::string Bytes() const {
    const bool core = HeaderSize == 12;
    const std::size_t entry = core ? 3 : 4;
    std::string s(14 + HeaderSize, '\0');
    if (HeaderSize == 40) s.resize(s.size() + Masks.size() * 4);
    for (std::size_t i = 0; i < Masks.size(); ++i) Put(s, 14 + 40 + i * 4, Masks[i], 4);
    for (std::uint32_t c : Palette) {
      s.append(entry, '\0');
      Put(s, s.size() - entry, c, 3);
    }
    const std::size_t dataOffset = s.size();
    const std::size_t stride = (static_cast<std::size_t>(Width) * Bits + 31) / 32 * 4;
    for (const auto& row : Rows) {
      std::string padded(stride, '\0');
      std::copy(row.begin(), row.end(), padded.begin());
      s += padded;
    }
    s[0] = 'B';
    s[1] = 'M';
    Put(s, 2, static_cast<std::uint32_t>(s.size()), 4);
    Put(s, 10, static_cast<std::uint32_t>(dataOffset), 4);
    Put(s, 14, HeaderSize, 4);
    if (core) {
      Put(s, 18, Width, 2);
      Put(s, 20, Height, 2);
      Put(s, 22, 1, 2);
      Put(s, 24, Bits, 2);
    } else {
      Put(s, 18, static_cast<std::uint32_t>(Width), 4);
      Put(s, 22, static_cast<std::uint32_t>(Height), 4);
      Put(s, 26, 1, 2);
      Put(s, 28, Bits, 2);
      Put(s, 30, Compression, 4);
      Put(s, 46, static_cast<std::uint32_t>(Palette.size()), 4);
    }
    return s;
  }
};

BmpPicture Decode(const std::string& bytes) { return DecodeBmp(AsBytes(bytes)); }

std::string MessageOf(const std::string& bytes) {
  return ErrorOf([&] { Decode(bytes); });
}

TEST(BmpCodec, IndexedDepthsKeepPaletteAndIndexes) {
  // 1, 4 and 8 bits, odd widths so that rows end mid-byte and need padding.
  struct Case {
    int bits;
    int width;
    std::vector<unsigned char> bottomRow, topRow;
    std::vector<std::uint8_t> expectTop, expectBottom;
  };
  const std::vector<Case> cases = {
      {1, 11, {0b10110000, 0b00100000}, {0b01000000, 0b00000000},
       {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 1}},
      {4, 3, {0x12, 0x30}, {0xF0, 0x10}, {15, 0, 1}, {1, 2, 3}},
      {8, 5, {0, 1, 2, 3, 200}, {4, 3, 2, 1, 0}, {4, 3, 2, 1, 0}, {0, 1, 2, 3, 200}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    BmpFile f;
    f.Bits = c.bits;
    f.Width = c.width;
    f.Height = 2;
    for (int i = 0; i < (1 << c.bits); ++i) f.Palette.push_back(0x010203u * i);
    f.Rows = {c.bottomRow, c.topRow};
    const BmpPicture p = Decode(f.Bytes());
    EXPECT_EQ(p.BitsPerPixel, c.bits);
    ASSERT_EQ(p.Picture.Width, c.width);
    ASSERT_EQ(p.Picture.Height, 2);
    ASSERT_EQ(p.Palette.size(), f.Palette.size());
    EXPECT_EQ(p.Palette[1], Argb(1, 2, 3));
    const std::vector<std::uint8_t> top(p.Indexes.begin(), p.Indexes.begin() + c.width);
    const std::vector<std::uint8_t> bottom(p.Indexes.begin() + c.width, p.Indexes.end());
    EXPECT_EQ(top, c.expectTop);
    EXPECT_EQ(bottom, c.expectBottom);
    for (int x = 0; x < c.width; ++x) EXPECT_EQ(p.Picture.At(x, 0), p.Palette[c.expectTop[x]]);
  }
}

TEST(BmpCodec, ShortPaletteAndIndexesBeyondIt) {
  BmpFile f;
  f.Bits = 8;
  f.Width = 3;
  f.Palette = {0xFF0000, 0x00FF00};  // only two entries declared
  f.Rows = {{1, 0, 7}};
  const BmpPicture p = Decode(f.Bytes());
  EXPECT_EQ(p.Palette.size(), 2u);
  EXPECT_EQ(p.Picture.At(0, 0), Argb(0, 255, 0));
  EXPECT_EQ(p.Picture.At(1, 0), Argb(255, 0, 0));
  EXPECT_EQ(p.Picture.At(2, 0), Argb(0, 0, 0));
  EXPECT_EQ(p.Indexes[2], 7);
}

TEST(BmpCodec, TrueColourLayouts) {
  // Every layout draws the same 3 x 2 picture: top row red, green, blue;
  // bottom row white, black, grey 128.
  const std::uint32_t expect[2][3] = {{Argb(255, 0, 0), Argb(0, 255, 0), Argb(0, 0, 255)},
                                      {Argb(255, 255, 255), Argb(0, 0, 0), Argb(128, 128, 128)}};
  std::vector<std::pair<std::string, BmpFile>> files;
  {
    BmpFile f;  // 24-bit bottom-up, rows padded from 9 to 12 bytes
    f.Width = 3;
    f.Height = 2;
    f.Rows = {{255, 255, 255, 0, 0, 0, 128, 128, 128}, {0, 0, 255, 0, 255, 0, 255, 0, 0}};
    files.push_back({"24 bottom-up", f});
    f.Height = -2;
    std::swap(f.Rows[0], f.Rows[1]);
    files.push_back({"24 top-down", f});
    f.HeaderSize = 12;
    f.Height = 2;
    std::swap(f.Rows[0], f.Rows[1]);
    files.push_back({"24 OS/2 core header", f});
  }
  {
    BmpFile f;  // 32-bit, spare byte zero: opaque
    f.Bits = 32;
    f.Width = 3;
    f.Height = 2;
    f.Rows = {{255, 255, 255, 0, 0, 0, 0, 0, 128, 128, 128, 0}, {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0}};
    files.push_back({"32 BI_RGB", f});
    f.HeaderSize = 124;
    files.push_back({"32 BI_RGB V5 header", f});
  }
  {
    BmpFile f;  // 32-bit bitfields with the channels in an unusual order: R G B X
    f.Bits = 32;
    f.Width = 3;
    f.Height = 2;
    f.Compression = 3;
    f.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
    f.Rows = {{255, 255, 255, 0, 0, 0, 0, 0, 128, 128, 128, 0}, {255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0}};
    files.push_back({"32 bitfields after info header", f});
    f.HeaderSize = 108;
    files.push_back({"32 bitfields in V4 header", f});
  }
  {
    BmpFile f;  // 16-bit 5-6-5 bitfields; grey 128 is as near as 5 and 6 bits get
    f.Bits = 16;
    f.Width = 3;
    f.Height = 2;
    f.Compression = 3;
    f.Masks = {0xF800, 0x07E0, 0x001F};
    f.Rows = {{0xFF, 0xFF, 0, 0, 0x10, 0x84}, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00}};
    files.push_back({"16 bitfields 5-6-5", f});
  }
  for (const auto& [name, file] : files) {
    SCOPED_TRACE(name);
    const BmpPicture p = Decode(file.Bytes());
    ASSERT_EQ(p.Picture.Width, 3);
    ASSERT_EQ(p.Picture.Height, 2);
    EXPECT_TRUE(p.Palette.empty());
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) {
        const std::uint32_t got = p.Picture.At(x, y);
        if (name.starts_with("16") && expect[y][x] == Argb(128, 128, 128)) {
          EXPECT_NEAR(static_cast<int>(got & 0xFF), 128, 4) << x << "," << y;
          continue;
        }
        EXPECT_EQ(got, expect[y][x]) << x << "," << y;
      }
  }
}

TEST(BmpCodec, AlphaIsKeptWhenTheFileCarriesIt) {
  BmpFile f;
  f.Bits = 32;
  f.Width = 2;
  f.Rows = {{1, 2, 3, 0x80, 4, 5, 6, 0}};
  const Image rgb = DecodeBmpImage(AsBytes(f.Bytes()));
  EXPECT_EQ(rgb.At(0, 0), Argb(3, 2, 1, 0x80));
  EXPECT_EQ(rgb.At(1, 0), Argb(6, 5, 4, 0));

  f.HeaderSize = 124;
  f.Compression = 3;
  f.Masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};  // alpha mask zero: opaque
  EXPECT_EQ(DecodeBmpImage(AsBytes(f.Bytes())).At(0, 0), Argb(3, 2, 1));
}

TEST(BmpCodec, DamagedFilesAreRefused) {
  BmpFile good;
  good.Width = 4;
  good.Height = 2;
  good.Rows = {std::vector<unsigned char>(12, 7), std::vector<unsigned char>(12, 9)};
  const std::string bytes = good.Bytes();
  ASSERT_EQ(MessageOf(bytes), "(no error)");

  auto with = [&](std::size_t at, std::uint32_t value, int size) {
    std::string s = bytes;
    BmpFile::Put(s, at, value, size);
    return s;
  };
  const std::string notValid = "Bitmap image is not valid";
  const std::vector<std::pair<std::string, std::string>> damaged = {
      {"empty", ""},
      {"not BM", "XM" + bytes.substr(2)},
      {"header cut", bytes.substr(0, 30)},
      {"pixels cut", bytes.substr(0, bytes.size() - 13)},
      {"zero width", with(18, 0, 4)},
      {"negative width", with(18, 0xFFFFFFFF, 4)},
      {"zero height", with(22, 0, 4)},
      {"height INT_MIN", with(22, 0x80000000, 4)},
      {"planes 2", with(26, 2, 2)},
      {"depth 7", with(28, 7, 2)},
      {"unknown header size", with(14, 41 + 100, 4)},
      {"data offset past the end", with(10, 0x7FFFFFFF, 4)},
      {"data offset inside the header", with(10, 20, 4)},
      {"bitfields at 24 bits", with(30, 3, 4)},
      {"JPEG inside", with(30, 4, 4)},
  };
  for (const auto& [name, file] : damaged) EXPECT_EQ(MessageOf(file), notValid) << name;

  EXPECT_EQ(MessageOf(with(30, 1, 4)), "RLE-compressed bitmaps are not supported");
  EXPECT_EQ(MessageOf(with(30, 2, 4)), "RLE-compressed bitmaps are not supported");

  // A huge declared size is refused before anything is allocated, however short the file.
  EXPECT_EQ(MessageOf(with(18, 100000, 4)),
            "The picture is too large (100000 x 2 pixels; at most 16384 x 16384)");
  EXPECT_THROW(DecodeBmp(AsBytes(bytes), 3), Error);
}

TEST(BmpCodec, UnpaddedLastRowIsAccepted) {
  BmpFile f;
  f.Width = 1;
  f.Height = 2;
  f.Rows = {{1, 2, 3}, {4, 5, 6}};
  const std::string s = f.Bytes();
  const Image image = DecodeBmpImage(AsBytes(s.substr(0, s.size() - 1)));
  EXPECT_EQ(image.At(0, 0), Argb(6, 5, 4));
  EXPECT_THROW(DecodeBmpImage(AsBytes(s.substr(0, s.size() - 2))), Error);
}

Image TestPicture(int width, int height) {
  Image image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.At(x, y) = Argb(x * 7 & 255, y * 13 & 255, (x ^ y) & 255, 255 - x % 3);
  return image;
}

TEST(BmpCodec, WritersRoundTripAndAgree) {
  const Image image = TestPicture(37, 11);
  const std::string whole = EncodeBmp32(image);
  EXPECT_EQ(whole.size(), 54u + 37 * 11 * 4);
  EXPECT_EQ(ProbeBmpSize(AsBytes(whole)).Width, 37);
  const Image back = DecodeBmpImage(AsBytes(whole));
  EXPECT_EQ(back.Pixels, image.Pixels);

  TempDir dir;
  const std::string path = dir.File("rows.bmp");
  {
    AtomicFile file(path, "Cannot create file %s");
    BmpRowWriter writer(file.Handle(), image.Width, image.Height);
    for (int y = 0; y < image.Height; ++y) writer.WriteRow(&image.Pixels[static_cast<std::size_t>(y) * image.Width]);
    writer.Finish();
    file.Commit();
  }
  EXPECT_EQ(ReadWholeFile(path), whole);
}

TEST(BmpCodec, RowWriterRefusesMisuse) {
  TempDir dir;
  AtomicFile file(dir.File("x.bmp"), "Cannot create file %s");
  EXPECT_THROW(BmpRowWriter(file.Handle(), 0, 5), Error);
  EXPECT_THROW(BmpRowWriter(file.Handle(), 30000, 30000), Error);  // past the 2 GB the format allows
  BmpRowWriter writer(file.Handle(), 2, 2);
  const std::uint32_t row[2] = {1, 2};
  writer.WriteRow(row);
  EXPECT_THROW(writer.Finish(), Error);
  writer.WriteRow(row);
  EXPECT_THROW(writer.WriteRow(row), Error);
  EXPECT_NO_THROW(writer.Finish());
}

}  // namespace
}  // namespace mireforge
