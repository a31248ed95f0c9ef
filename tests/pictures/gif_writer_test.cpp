#include "pictures/gif_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "base/file_io.h"
#include "base/error.h"
#include "support/gif_reader.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

Image Pattern(int width, int height, int colors) {
  Image image(width, height);
  for (int i = 0; i < width * height; ++i) {
    const int c = (i * 37) % colors;
    image.Pixels[i] = Argb(c * 7 % 256, c * 13 % 256, c);
  }
  return image;
}

TEST(GifWriter, PicturesOfFewColoursKeepThemExactly) {
  const struct {
    int width, height, colors, table;
  } cases[] = {{32, 32, 1, 2}, {32, 32, 2, 2}, {32, 32, 5, 8}, {32, 32, 129, 256}, {40, 17, 256, 256}};
  for (const auto& c : cases) {
    const Image image = Pattern(c.width, c.height, c.colors);
    const std::string bytes = EncodeGif(image);
    ASSERT_EQ(bytes.substr(0, 6), "GIF89a");
    const DecodedGif d = DecodeGif(bytes);
    EXPECT_EQ(d.Width, c.width);
    EXPECT_EQ(d.Height, c.height);
    EXPECT_EQ(d.ColorCount, c.table) << c.colors;
    EXPECT_EQ(d.TransparentIndex, -1);
    EXPECT_EQ(d.Pixels, image.Pixels) << c.colors;
  }
}

TEST(GifWriter, TransparentPixelsGetTheTransparentColour) {
  Image image = Pattern(32, 32, 6);
  for (int x = 0; x < 32; ++x) image.At(x, 3) = Argb(255, 0, 255, 0);
  image.At(5, 5) = Argb(1, 2, 3, 100);  // mostly transparent counts as transparent
  const DecodedGif d = DecodeGif(EncodeGif(image));
  ASSERT_NE(d.TransparentIndex, -1);
  for (int i = 0; i < 32 * 32; ++i) {
    const bool transparent = (image.Pixels[i] >> 24) < 128;
    EXPECT_EQ(d.Pixels[i], transparent ? 0u : image.Pixels[i]) << i;
  }
}

TEST(GifWriter, ManyColoursAreReducedToACloseTable) {
  Image image(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) image.At(x, y) = Argb(x * 4, y * 4, (x + y) * 2);
  image.At(0, 0) = Argb(0, 0, 0, 0);
  const DecodedGif d = DecodeGif(EncodeGif(image));
  EXPECT_LE(d.ColorCount, 256);
  ASSERT_NE(d.TransparentIndex, -1);
  EXPECT_EQ(d.Pixels[0], 0u);
  long long error = 0;
  for (int i = 1; i < 64 * 64; ++i)
    for (int shift : {0, 8, 16})
      error += std::abs(static_cast<int>((d.Pixels[i] >> shift) & 0xFF) - static_cast<int>((image.Pixels[i] >> shift) & 0xFF));
  EXPECT_LT(error / (64.0 * 64 * 3), 12.0);  // mean error per channel
}

TEST(GifWriter, RefusesPicturesWithoutSizeAndReportsWriteFailures) {
  EXPECT_THROW(EncodeGif(Image()), Error);
  Image broken(4, 4);
  broken.Pixels.resize(3);
  EXPECT_THROW(EncodeGif(broken), Error);

  TempDir dir;
  const Image image = Pattern(32, 32, 3);
  WriteGif(dir.File("a.gif"), image);
  EXPECT_EQ(DecodeGif(ReadWholeFile(dir.File("a.gif"))).Pixels, image.Pixels);
  try {
    WriteGif(dir.File("no/a.gif"), image);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + dir.File("no/a.gif") + ": No such file or directory");
  }
}

}  // namespace
}  // namespace mireforge
