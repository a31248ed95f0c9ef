#include "import/heightmap.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "base/error.h"

namespace mireforge {

PictureSize ImportSize(int pictureWidth, int pictureHeight) {
  if (pictureWidth <= 0 || pictureHeight <= 0) return {};
  if (pictureWidth <= MaxMapSize && pictureHeight <= MaxMapSize) return {pictureWidth, pictureHeight};
  return {MaxMapSize, MaxMapSize};
}

void ConvertToGrey(Image& picture) {
  for (std::uint32_t& pixel : picture.Pixels) {
    const std::uint32_t grey = static_cast<std::uint32_t>(GreyLevel(pixel));
    pixel = 0xFF000000u | (grey << 16) | (grey << 8) | grey;
  }
}

void InvertColors(Image& picture) {
  for (std::uint32_t& pixel : picture.Pixels) pixel ^= 0x00FFFFFFu;
}

Image BuildPicturePreview(const Image& picture, const PictureImportOptions& options) {
  const PictureSize size = ImportSize(picture.Width, picture.Height);
  if (size.Width == 0) return Image();
  Image preview = Resample(picture, size.Width, size.Height, options.Method, options.FullEdge);
  ConvertToGrey(preview);
  if (options.Invert) InvertColors(preview);
  return preview;
}

Image LoadImportPicture(const std::string& path) { return LoadPicture(path, MaxPictureSide, MaxImportPixels); }

Image LoadPicturePreview(const std::string& path, const PictureImportOptions& options) {
  return BuildPicturePreview(LoadImportPicture(path), options);
}

ThresholdLimits CoupleThresholds(ImportThresholds& t) {
  t.Mountains = std::clamp(t.Mountains, 0, 255);
  t.Downs = std::clamp(t.Downs, 1, 255);
  t.Forests = std::clamp(t.Forests, 2, 255);
  ThresholdLimits limits;
  // Lowering Downs to fit under Forests may push it below Mountains, so the
  // Mountains step runs again after it.
  for (int pass = 0; pass < 2; ++pass) {
    limits.MountainsMax = t.Downs - 1;
    if (t.Downs <= t.Mountains) t.Mountains = limits.MountainsMax;
    limits.DownsMax = t.Forests - 1;
    if (t.Forests <= t.Downs) t.Downs = limits.DownsMax;
  }
  return limits;
}

std::uint32_t ClassColorOfGrey(int grey, const ImportThresholds& thresholds) {
  if (grey > thresholds.Forests) return PlainsClassColor;
  if (grey > thresholds.Downs) return ForestClassColor;
  if (grey > thresholds.Mountains) return DownsClassColor;
  return MountainsClassColor;
}

Image DrawTerrainPreview(const Image& picturePreview, const ImportThresholds& thresholds) {
  // Grey levels are 0 to 255: classify each once, then look pixels up. The
  // level is worked out rather than read from one channel, which gives the
  // same value on a grey preview and a sensible one on any other picture.
  std::uint32_t colorOfGrey[256];
  for (int g = 0; g < 256; ++g) colorOfGrey[g] = ClassColorOfGrey(g, thresholds);
  Image preview(picturePreview.Width, picturePreview.Height);
  for (std::size_t k = 0; k < picturePreview.Pixels.size(); ++k)
    preview.Pixels[k] = colorOfGrey[GreyLevel(picturePreview.Pixels[k])];
  return preview;
}

TerrainCode TerrainOfClassColor(std::uint32_t color) {
  switch (color & 0x00FFFFFFu) {
    case MountainsClassColor & 0x00FFFFFFu: return Mountains;
    case ForestClassColor & 0x00FFFFFFu: return Forest;
    case DownsClassColor & 0x00FFFFFFu: return Downs;
    default: return Plains;
  }
}

MapGrid BuildMapFromPreview(const Image& terrainPreview) {
  if (terrainPreview.Width > std::numeric_limits<std::uint16_t>::max() ||
      terrainPreview.Height > std::numeric_limits<std::uint16_t>::max())
    throw Error("The picture is larger than a map can be (at most 512 x 512 cells)");
  MapGrid grid;
  if (terrainPreview.Empty()) return grid;
  grid.ResizeMap(terrainPreview.Width, terrainPreview.Height);
  for (int y = 0; y < grid.Height; ++y)
    for (int x = 0; x < grid.Width; ++x)
      grid.Cells[x + y * grid.Width] =
          grid.OnBorder(x, y) ? TerrainCode{FrozenWastes} : TerrainOfClassColor(terrainPreview.At(x, y));
  grid.RebuildTerrainRows();
  return grid;
}

}  // namespace mireforge
