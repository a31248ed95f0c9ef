// Any bytes into the bitmap reader: it either decodes or throws Error, and a
// decoded picture is consistent with what it reports and survives our writer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "pictures/bmp_codec.h"
#include "base/error.h"

using namespace mireforge;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const unsigned char> bytes(data, size);
  BmpPicture p;
  try {
    p = DecodeBmp(bytes, 2048);
  } catch (const Error&) {
    return 0;
  }
  const PictureSize probed = ProbeBmpSize(bytes);
  if (probed.Width != p.Picture.Width || probed.Height != p.Picture.Height) std::abort();
  if (p.Picture.Pixels.size() != static_cast<std::size_t>(p.Picture.Width) * p.Picture.Height) std::abort();
  if (p.BitsPerPixel <= 8 && p.Indexes.size() != p.Picture.Pixels.size()) std::abort();

  // A picture with no alpha at all reads back opaque; every other one exactly.
  const std::string again = EncodeBmp32(p.Picture);
  Image back = DecodeBmpImage(AsBytes(again));
  const bool allTransparent =
      std::all_of(p.Picture.Pixels.begin(), p.Picture.Pixels.end(), [](std::uint32_t px) { return px >> 24 == 0; });
  if (allTransparent)
    for (std::uint32_t& px : back.Pixels) px &= 0x00FFFFFFu;
  if (back.Pixels != p.Picture.Pixels) std::abort();
  return 0;
}
