#include "formats/gif_writer.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "formats/file_io.h"
#include "model/error.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

struct Decoded {
  int Width = 0;
  int Height = 0;
  int ColorCount = 0;
  int TransparentIndex = NO_TRANSPARENT_COLOR;
  std::vector<std::uint32_t> Pixels;  // 0xAARRGGBB, transparent pixels 0
};

struct Reader {
  const std::string* Bytes;
  std::size_t At = 0;
};

int ReadBytes(GifFileType* gif, GifByteType* out, int length) {
  auto* reader = static_cast<Reader*>(gif->UserData);
  const std::size_t n = std::min<std::size_t>(length, reader->Bytes->size() - reader->At);
  std::memcpy(out, reader->Bytes->data() + reader->At, n);
  reader->At += n;
  return static_cast<int>(n);
}

// Decodes with giflib's own reader, independent of the writer.
Decoded Decode(const std::string& bytes) {
  Reader reader{&bytes};
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, ReadBytes, &error);
  if (!gif) throw std::runtime_error(GifErrorString(error));
  Decoded d;
  if (DGifSlurp(gif) != GIF_OK || gif->ImageCount != 1 || !gif->SColorMap) {
    DGifCloseFile(gif, &error);
    throw std::runtime_error("not a one-picture GIF with a colour table");
  }
  GraphicsControlBlock control;
  if (DGifSavedExtensionToGCB(gif, 0, &control) == GIF_OK) d.TransparentIndex = control.TransparentColor;
  d.Width = gif->SWidth;
  d.Height = gif->SHeight;
  d.ColorCount = gif->SColorMap->ColorCount;
  const SavedImage& image = gif->SavedImages[0];
  for (int i = 0; i < d.Width * d.Height; ++i) {
    const int index = image.RasterBits[i];
    const GifColorType c = gif->SColorMap->Colors[index];
    d.Pixels.push_back(index == d.TransparentIndex ? 0u : Argb(c.Red, c.Green, c.Blue));
  }
  DGifCloseFile(gif, &error);
  return d;
}

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
    const Decoded d = Decode(bytes);
    EXPECT_EQ(d.Width, c.width);
    EXPECT_EQ(d.Height, c.height);
    EXPECT_EQ(d.ColorCount, c.table) << c.colors;
    EXPECT_EQ(d.TransparentIndex, NO_TRANSPARENT_COLOR);
    EXPECT_EQ(d.Pixels, image.Pixels) << c.colors;
  }
}

TEST(GifWriter, TransparentPixelsGetTheTransparentColour) {
  Image image = Pattern(32, 32, 6);
  for (int x = 0; x < 32; ++x) image.At(x, 3) = Argb(255, 0, 255, 0);
  image.At(5, 5) = Argb(1, 2, 3, 100);  // mostly transparent counts as transparent
  const Decoded d = Decode(EncodeGif(image));
  ASSERT_NE(d.TransparentIndex, NO_TRANSPARENT_COLOR);
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
  const Decoded d = Decode(EncodeGif(image));
  EXPECT_LE(d.ColorCount, 256);
  ASSERT_NE(d.TransparentIndex, NO_TRANSPARENT_COLOR);
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
  EXPECT_EQ(Decode(ReadWholeFile(dir.File("a.gif"))).Pixels, image.Pixels);
  try {
    WriteGif(dir.File("no/a.gif"), image);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + dir.File("no/a.gif"));
  }
}

}  // namespace
}  // namespace mireforge
