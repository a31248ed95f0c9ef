#include "pictures/gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

#include "base/file_io.h"
#include "base/error.h"

namespace mireforge {

namespace {

constexpr int MaxColors = 256;
constexpr int MaxGifSide = 65535;

bool Transparent(std::uint32_t pixel) { return (pixel >> 24) < 128; }

GifColorType ColorOf(std::uint32_t pixel) {
  return GifColorType{static_cast<GifByteType>(pixel >> 16), static_cast<GifByteType>(pixel >> 8),
                      static_cast<GifByteType>(pixel)};
}

struct IndexedPicture {
  std::vector<GifColorType> Palette;
  std::vector<GifPixelType> Indexes;  // one per pixel, row by row
  int TransparentIndex = NO_TRANSPARENT_COLOR;
};

// The picture's own colours, when there are few enough; false otherwise.
bool IndexExactly(const Image& image, IndexedPicture& out) {
  std::unordered_map<std::uint32_t, GifPixelType> index;
  bool hasTransparent = false;
  for (const std::uint32_t pixel : image.Pixels) hasTransparent = hasTransparent || Transparent(pixel);
  const std::size_t limit = hasTransparent ? MaxColors - 1 : MaxColors;
  out.Indexes.resize(image.Pixels.size());
  for (std::size_t i = 0; i < image.Pixels.size(); ++i) {
    const std::uint32_t pixel = image.Pixels[i];
    if (Transparent(pixel)) continue;  // indexed once the colour count is known
    const std::uint32_t rgb = pixel & 0xFFFFFFu;
    auto [it, added] = index.try_emplace(rgb, static_cast<GifPixelType>(index.size() % MaxColors));
    if (added) {
      if (index.size() > limit) return false;
      out.Palette.push_back(ColorOf(rgb));
    }
    out.Indexes[i] = it->second;
  }
  if (hasTransparent) {
    out.TransparentIndex = static_cast<int>(out.Palette.size());
    out.Palette.push_back(GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < image.Pixels.size(); ++i)
      if (Transparent(image.Pixels[i])) out.Indexes[i] = static_cast<GifPixelType>(out.TransparentIndex);
  }
  return true;
}

// More colours than a GIF holds: reduce them with giflib's median-cut quantiser.
void IndexQuantized(const Image& image, IndexedPicture& out) {
  const std::size_t n = image.Pixels.size();
  std::vector<GifByteType> red(n), green(n), blue(n);
  bool hasTransparent = false;
  for (std::size_t i = 0; i < n; ++i) {
    const GifColorType c = ColorOf(image.Pixels[i]);
    red[i] = c.Red;
    green[i] = c.Green;
    blue[i] = c.Blue;
    hasTransparent = hasTransparent || Transparent(image.Pixels[i]);
  }
  int colors = hasTransparent ? MaxColors - 1 : MaxColors;
  out.Palette.assign(MaxColors, GifColorType{0, 0, 0});
  out.Indexes.assign(n, 0);
  if (GifQuantizeBuffer(static_cast<unsigned>(image.Width), static_cast<unsigned>(image.Height), &colors, red.data(),
                        green.data(), blue.data(), out.Indexes.data(), out.Palette.data()) != GIF_OK)
    throw Error("Cannot reduce the colours of the picture");
  out.Palette.resize(static_cast<std::size_t>(colors));
  if (hasTransparent) {
    out.TransparentIndex = colors;
    out.Palette.push_back(GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < n; ++i)
      if (Transparent(image.Pixels[i])) out.Indexes[i] = static_cast<GifPixelType>(colors);
  }
}

int AppendOutput(GifFileType* gif, const GifByteType* bytes, int length) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
  return length;
}

struct MapDeleter {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

[[noreturn]] void EncodeFailed(int code) {
  throw Error(std::string("Cannot encode GIF picture: ") + GifErrorString(code));
}

}  // namespace

std::string EncodeGif(const Image& image) {
  if (image.Empty() || image.Width > MaxGifSide || image.Height > MaxGifSide ||
      image.Pixels.size() != static_cast<std::size_t>(image.Width) * image.Height)
    throw Error("Cannot encode GIF picture: the picture has no valid size");
  IndexedPicture picture;
  if (!IndexExactly(image, picture)) {
    picture = IndexedPicture{};
    IndexQuantized(image, picture);
  }
  // A GIF colour table has a power-of-two size of at least 2 entries.
  const int bits = std::max(1, GifBitSize(static_cast<int>(picture.Palette.size())));
  picture.Palette.resize(std::size_t{1} << bits, GifColorType{0, 0, 0});
  std::unique_ptr<ColorMapObject, MapDeleter> colorMap(
      GifMakeMapObject(static_cast<int>(picture.Palette.size()), picture.Palette.data()));
  if (!colorMap) throw Error("Cannot encode GIF picture: out of memory");

  std::string bytes;
  int code = 0;
  GifFileType* gif = EGifOpen(&bytes, AppendOutput, &code);
  if (!gif) EncodeFailed(code);
  auto fail = [&](GifFileType* file) {
    const int error = file->Error;
    EGifCloseFile(file, nullptr);
    EncodeFailed(error);
  };
  EGifSetGifVersion(gif, true);
  if (EGifPutScreenDesc(gif, image.Width, image.Height, bits, 0, colorMap.get()) != GIF_OK) fail(gif);
  if (picture.TransparentIndex != NO_TRANSPARENT_COLOR) {
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, picture.TransparentIndex};
    GifByteType extension[4];
    const std::size_t length = EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) != GIF_OK) fail(gif);
  }
  if (EGifPutImageDesc(gif, 0, 0, image.Width, image.Height, false, nullptr) != GIF_OK) fail(gif);
  for (int y = 0; y < image.Height; ++y)
    if (EGifPutLine(gif, picture.Indexes.data() + static_cast<std::size_t>(y) * image.Width, image.Width) != GIF_OK)
      fail(gif);
  if (EGifCloseFile(gif, &code) != GIF_OK) EncodeFailed(code);
  return bytes;
}

void WriteGif(const std::string& path, const Image& image) {
  WriteWholeFile(path, EncodeGif(image), "Cannot create file %s");
}

}  // namespace mireforge
