// Checks of the artwork tool's quantizer and file writer, read back through
// the program's own BMP decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "pictures/bmp_codec.h"
#include "picture_files.h"
#include "quantize.h"

namespace drawtiles {
namespace {

std::vector<Canvas::Pixel> Pixels(const std::vector<Rgb>& colours, double alpha = 1.0) {
  std::vector<Canvas::Pixel> out;
  for (Rgb c : colours) out.push_back({c, alpha});
  return out;
}

// A ramp of many distinct colours, more than any palette holds.
std::vector<Canvas::Pixel> Gradient(int count) {
  std::vector<Rgb> colours;
  for (int i = 0; i < count; ++i) colours.push_back({double(i % 256), double((i * 7) % 256), double((i * 13) % 256)});
  return Pixels(colours);
}

TEST(DrawTiles, PaletteHasExactlyTheSizeAskedAndRunsDarkToBright) {
  for (int size : {16, 256}) {
    for (int count : {3, 5000}) {
      const IndexedPicture p = Quantize(count, 1, Gradient(count), size, false);
      ASSERT_EQ(int(p.Palette.size()), size);
      ASSERT_EQ(int(p.Indexes.size()), count);
      for (std::size_t i = 1; i < p.Palette.size(); ++i) EXPECT_LE(Luma(p.Palette[i - 1]), Luma(p.Palette[i]));
      for (std::uint8_t index : p.Indexes) ASSERT_LT(index, size);
    }
  }
}

TEST(DrawTiles, FewColoursAreKeptExactly) {
  const std::vector<Rgb> colours{{200, 10, 10}, {10, 200, 10}, {10, 10, 200}, {200, 10, 10}};
  const IndexedPicture p = Quantize(4, 1, Pixels(colours), 256, false);
  for (std::size_t i = 0; i < colours.size(); ++i) EXPECT_EQ(p.Palette[p.Indexes[i]], ToRgb8(colours[i]));
  EXPECT_EQ(p.Indexes[0], p.Indexes[3]);
}

TEST(DrawTiles, SeeThroughPixelsAndOnlyThoseBecomeFuchsia) {
  std::vector<Canvas::Pixel> pixels = Gradient(3000);
  pixels[5].Alpha = 0.2;
  pixels.push_back({{250, 4, 251}, 1.0});  // drawn, so never the transparent entry, however close
  const IndexedPicture p = Quantize(int(pixels.size()), 1, pixels, 256, true);
  const auto clear = std::find(p.Palette.begin(), p.Palette.end(), Fuchsia) - p.Palette.begin();
  ASSERT_LT(clear, 256);
  for (std::size_t i = 0; i < pixels.size(); ++i) EXPECT_EQ(p.Indexes[i] == clear, i == 5) << i;
  // With one opaque entry left, a drawn pixel next to fuchsia still takes it.
  const IndexedPicture tight = Quantize(3, 1, Pixels({{0, 200, 0}, {10, 190, 0}, {250, 4, 251}}), 2, true);
  ASSERT_EQ(tight.Palette.size(), 2u);
  for (std::uint8_t index : tight.Indexes) EXPECT_NE(tight.Palette[index], Fuchsia);
  // A drawing may not use fuchsia as a colour: it would turn see-through.
  EXPECT_THROW(Quantize(1, 1, Pixels({{255, 0, 255}}), 256, true), std::runtime_error);
}

TEST(DrawTiles, IndexedBitmapsReadBackPixelForPixel) {
  const std::string path = (std::filesystem::temp_directory_path() / "draw_tiles_test.bmp").string();
  for (int bits : {4, 8}) {
    for (int width : {1, 3, 5, 32}) {  // odd widths exercise nibble packing and row padding
      IndexedPicture p;
      p.Width = width, p.Height = 3;
      for (int i = 0; i < (1 << bits); ++i) p.Palette.push_back({std::uint8_t(i * 3), std::uint8_t(i), std::uint8_t(255 - i)});
      for (int i = 0; i < width * 3; ++i) p.Indexes.push_back(std::uint8_t((i * 5 + 1) % (1 << bits)));
      WriteIndexedBmp(path, p, bits);
      std::ifstream file(path, std::ios::binary);
      const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
      const mireforge::BmpPicture back = mireforge::DecodeBmp(bytes);
      EXPECT_EQ(back.BitsPerPixel, bits);
      EXPECT_EQ(back.Picture.Width, width);
      EXPECT_EQ(back.Palette.size(), p.Palette.size());
      EXPECT_EQ(back.Indexes, p.Indexes) << bits << " bits, width " << width;
      const Rgb8 c = p.Palette[p.Indexes[1 % p.Indexes.size()]];
      EXPECT_EQ(back.Picture.Pixels[1 % p.Indexes.size()], mireforge::Argb(c.R, c.G, c.B));
    }
  }
  std::remove(path.c_str());
}

}  // namespace
}  // namespace drawtiles
