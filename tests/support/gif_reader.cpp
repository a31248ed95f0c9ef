#include "support/gif_reader.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "pictures/image.h"

namespace mireforge {

namespace {

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

}  // namespace

DecodedGif DecodeGif(const std::string& bytes) {
  Reader reader{&bytes};
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, ReadBytes, &error);
  if (!gif) throw std::runtime_error(GifErrorString(error));
  struct Closer {
    GifFileType* gif;
    ~Closer() { DGifCloseFile(gif, nullptr); }
  } closer{gif};
  if (DGifSlurp(gif) != GIF_OK || gif->ImageCount != 1 || !gif->SColorMap)
    throw std::runtime_error("not a one-picture GIF with a colour table");
  DecodedGif d;
  GraphicsControlBlock control;
  if (DGifSavedExtensionToGCB(gif, 0, &control) == GIF_OK) d.TransparentIndex = control.TransparentColor;
  d.Width = gif->SWidth;
  d.Height = gif->SHeight;
  d.ColorCount = gif->SColorMap->ColorCount;
  const SavedImage& image = gif->SavedImages[0];
  if (image.ImageDesc.Width != d.Width || image.ImageDesc.Height != d.Height)
    throw std::runtime_error("picture smaller than its screen");
  for (int i = 0; i < d.Width * d.Height; ++i) {
    const int index = image.RasterBits[i];
    if (index >= d.ColorCount) throw std::runtime_error("pixel outside the colour table");
    const GifColorType c = gif->SColorMap->Colors[index];
    d.Pixels.push_back(index == d.TransparentIndex ? 0u : Argb(c.Red, c.Green, c.Blue));
  }
  return d;
}

}  // namespace mireforge
