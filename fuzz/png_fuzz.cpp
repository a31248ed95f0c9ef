// Any bytes into the PNG reader: it either decodes or throws Error; whatever
// it decodes our writer encodes and the reader gives back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "pictures/png_codec.h"
#include "base/error.h"

using namespace mireforge;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const unsigned char> bytes(data, size);
  Image image;
  try {
    image = DecodePng(bytes, 1024);
  } catch (const Error&) {
    return 0;
  }
  const PictureSize probed = ProbePngSize(bytes);
  if (probed.Width != image.Width || probed.Height != image.Height) std::abort();
  if (image.Pixels.size() != static_cast<std::size_t>(image.Width) * image.Height) std::abort();
  if (DecodePng(AsBytes(EncodePng(image, PngColor::Rgba))).Pixels != image.Pixels) std::abort();
  return 0;
}
