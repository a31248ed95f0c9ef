#include "pictures/tile_pictures.h"

#include <string>

#include "pictures/embedded_resources.h"
#include "base/error.h"

namespace mireforge {

namespace {
constexpr const char* DamagedMessage = "Tile picture %s is damaged";
}  // namespace

BmpPicture LoadTilePicture(std::string_view name, int width, int height, int bitsPerPixel) {
  const auto bytes = EmbeddedResource(name);
  if (!bytes) throw Error(FormatMessage(DamagedMessage, name));
  BmpPicture picture;
  try {
    picture = DecodeBmp(*bytes);
  } catch (const Error&) {
    throw Error(FormatMessage(DamagedMessage, name));
  }
  const bool indexed = !picture.Palette.empty() && picture.Indexes.size() == picture.Picture.Pixels.size();
  if (picture.Picture.Width != width || picture.Picture.Height != height ||
      picture.BitsPerPixel != bitsPerPixel || !indexed)
    throw Error(FormatMessage(DamagedMessage, name));
  return picture;
}

std::vector<std::uint32_t> GreyRamp() {
  std::vector<std::uint32_t> ramp(256);
  for (int i = 0; i < 256; ++i) ramp[i] = Argb(i, i, i);
  return ramp;
}

Image ApplyPalette(const BmpPicture& picture, const std::vector<std::uint32_t>& palette) {
  Image out(picture.Picture.Width, picture.Picture.Height);
  for (std::size_t i = 0; i < out.Pixels.size() && i < picture.Indexes.size(); ++i) {
    const std::uint8_t index = picture.Indexes[i];
    out.Pixels[i] = index < palette.size() ? (palette[index] | 0xFF000000u) : 0xFF000000u;
  }
  return out;
}

void MakeTransparent(Image& image) {
  for (std::uint32_t& pixel : image.Pixels)
    if ((pixel & 0x00FFFFFFu) == (TransparentColor & 0x00FFFFFFu)) pixel = 0;
}

std::vector<Image> CutStrip(const Image& strip, int side, int count) {
  std::vector<Image> pictures;
  pictures.reserve(count);
  for (int i = 0; i < count; ++i) {
    Image picture(side, strip.Height);
    for (int y = 0; y < strip.Height; ++y)
      for (int x = 0; x < side; ++x)
        picture.At(x, y) = i * side + x < strip.Width ? strip.At(i * side + x, y) : 0xFF000000u;
    pictures.push_back(std::move(picture));
  }
  return pictures;
}

std::vector<Image> TerrainTiles(TileLook look) {
  if (look == TileLook::Retro)
    return CutStrip(LoadTilePicture("terrainr.bmp", TileSide * TerrainCount, TileSide, 4).Picture, TileSide,
                    TerrainCount);
  BmpPicture terrain = LoadTilePicture("terrain.bmp", TileSide * TerrainCount, TileSide, 8);
  if (look == TileLook::Grayscale) terrain.Picture = ApplyPalette(terrain, GreyRamp());
  return CutStrip(terrain.Picture, TileSide, TerrainCount);
}

TileSet LoadTileSet(bool retro, bool grayscale) {
  std::vector<Image> tiles = TerrainTiles(retro ? TileLook::Retro : grayscale ? TileLook::Grayscale : TileLook::Color);
  TileSet set;
  for (int code = 0; code < TerrainCount; ++code) set.Tiles[code] = std::move(tiles[code]);
  return set;
}

std::vector<Image> TerrainIcons(bool transparent) {
  Image strip = LoadTilePicture("terrains.bmp", IconSide * IconCount, IconSide, 8).Picture;
  if (transparent) MakeTransparent(strip);
  return CutStrip(strip, IconSide, IconCount);
}

Image TickerMark(bool transparent) {
  Image mark = LoadTilePicture("ticker.bmp", TickerWidth, TickerHeight, 8).Picture;
  if (transparent) MakeTransparent(mark);
  return mark;
}

}  // namespace mireforge
