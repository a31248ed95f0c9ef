#pragma once
// Heightmap import: a picture becomes a grey preview, the grey levels are cut
// into four terrain classes by three thresholds, and the classes become a map
// framed by frozen wastes.
#include <cstdint>
#include <string>

#include "pictures/image.h"
#include "pictures/picture.h"
#include "import/resampler.h"
#include "model/map_grid.h"

namespace mireforge {

// The picture's own size when both sides are at most 512, else 512 x 512
// whatever the aspect ratio. A picture without pixels gives 0 x 0.
PictureSize ImportSize(int pictureWidth, int pictureHeight);

// The Load page's choices.
struct PictureImportOptions {
  ResizeMethod Method = ResizeMethod::NearestNeighbor;
  bool Invert = false;
  bool FullEdge = false;
};

// The grey level of an 0xAARRGGBB pixel: (61 R + 174 G + 21 B) >> 8.
inline int GreyLevel(std::uint32_t pixel) {
  return (61 * static_cast<int>((pixel >> 16) & 0xFF) + 174 * static_cast<int>((pixel >> 8) & 0xFF) +
          21 * static_cast<int>(pixel & 0xFF)) >> 8;
}

// Every pixel becomes opaque grey: R = G = B = its grey level.
void ConvertToGrey(Image& picture);
// R, G and B become 255 minus their value; alpha stays.
void InvertColors(Image& picture);

// The picture preview: the picture brought to ImportSize (copied when it has
// that size already, else resampled), opaque, grey, and inverted if asked.
Image BuildPicturePreview(const Image& picture, const PictureImportOptions& options);

// The most pixels a heightmap picture may have. The decoded picture is held
// whole (4 bytes a pixel) while it is resampled, so this bounds an import to
// about 100 MB whatever the file declares; a file of a few bytes can declare
// 16384 x 16384.
inline constexpr std::uint64_t MaxImportPixels = 25'000'000;

// Reads a heightmap picture: sides up to MaxPictureSide, at most MaxImportPixels.
Image LoadImportPicture(const std::string& path);

// Decodes the picture file and builds its preview. The reader's Error passes
// through when the file cannot be read or decoded; the caller keeps its old
// previews because nothing is returned then.
Image LoadPicturePreview(const std::string& path, const PictureImportOptions& options);

// Grey levels above Forests are plains, above Downs forest, above Mountains
// downs, the rest mountains.
struct ImportThresholds {
  int Mountains = 76;
  int Downs = 120;
  int Forests = 170;
};

// The highest values the Mountains and Downs fields allow after coupling.
struct ThresholdLimits {
  int MountainsMax = 254;
  int DownsMax = 254;
};

// Brings each value into its field's range (0, 1 and 2 up to 255) and keeps
// mountains < downs < forests by lowering the darker threshold where needed.
ThresholdLimits CoupleThresholds(ImportThresholds& thresholds);

// Class colours of the terrain preview, 0xAARRGGBB.
inline constexpr std::uint32_t PlainsClassColor = Argb(144, 248, 152);
inline constexpr std::uint32_t ForestClassColor = Argb(0, 128, 0);
inline constexpr std::uint32_t DownsClassColor = Argb(255, 255, 0);
inline constexpr std::uint32_t MountainsClassColor = Argb(128, 64, 0);

// The class colour of one grey level; a level equal to a threshold falls into
// the darker class.
std::uint32_t ClassColorOfGrey(int grey, const ImportThresholds& thresholds);

// The terrain preview: every pixel of the grey preview replaced by its class colour.
Image DrawTerrainPreview(const Image& picturePreview, const ImportThresholds& thresholds);

// The terrain code of a terrain preview colour (alpha ignored); unknown colours are plains.
TerrainCode TerrainOfClassColor(std::uint32_t color);

// A new map the size of the terrain preview, one cell per pixel, its outer
// ring frozen wastes.
// Throws Error for a preview larger than any map.
MapGrid BuildMapFromPreview(const Image& terrainPreview);

}  // namespace mireforge
