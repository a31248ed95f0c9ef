// Arbitrary bytes as a BMP or PNG heightmap: decode, bring to the import size
// with every resize method, classify and build the map; also resample to odd
// small sizes. Whatever the bytes, this must either throw Error or produce a
// map of the right size holding only the import's terrain kinds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "pictures/picture.h"
#include "import/heightmap.h"
#include "base/error.h"

using namespace mireforge;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::uint8_t control = data[0];
  const int smallWidth = 1 + data[1] % 37;
  const int smallHeight = 1 + data[2] % 37;
  const std::span<const unsigned char> bytes(data + 3, size - 3);
  PictureImportOptions options;
  options.Method = ResizeMethodOfIndex(control % 5);
  options.Invert = (control & 0x08) != 0;
  options.FullEdge = (control & 0x10) != 0;

  Image picture;
  try {
    // Small enough sides keep one run fast and its memory low.
    picture = DecodePicture(bytes, (control & 0x80) ? "bmp" : "png", 1024);
  } catch (const Error&) {
    return 0;
  }
  if (picture.Empty()) return 0;
  if (picture.Pixels.size() != static_cast<std::size_t>(picture.Width) * picture.Height) std::abort();

  const Image preview = BuildPicturePreview(picture, options);
  const PictureSize importSize = ImportSize(picture.Width, picture.Height);
  if (preview.Width != importSize.Width || preview.Height != importSize.Height) std::abort();
  for (std::uint32_t p : preview.Pixels)
    if ((p >> 24) != 0xFF || ((p >> 16) & 0xFF) != (p & 0xFF) || ((p >> 8) & 0xFF) != (p & 0xFF)) std::abort();

  ImportThresholds thresholds{data[1], data[2], control};
  CoupleThresholds(thresholds);
  if (!(thresholds.Mountains < thresholds.Downs && thresholds.Downs < thresholds.Forests)) std::abort();
  const MapGrid grid = BuildMapFromPreview(DrawTerrainPreview(preview, thresholds));
  if (grid.Width != importSize.Width || grid.Height != importSize.Height) std::abort();
  for (int y = 0; y < grid.Height; ++y)
    for (int x = 0; x < grid.Width; ++x) {
      const TerrainCode code = grid.GetTerrain(x, y);
      if (grid.OnBorder(x, y) ? code != FrozenWastes
                              : (code != Plains && code != Forest && code != Downs && code != Mountains))
        std::abort();
    }

  const Image small = Resample(picture, smallWidth, smallHeight, options.Method, options.FullEdge);
  if (small.Width != smallWidth || small.Height != smallHeight) std::abort();
  return 0;
}
