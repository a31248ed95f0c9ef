#pragma once
// The tile pictures compiled into the program: the map tiles in their colour,
// grey and retro looks, the icons of the description and domain panels, and
// the mark of the domain indicator.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "pictures/bmp_codec.h"
#include "pictures/image.h"
#include "model/terrain.h"

namespace mireforge {

inline constexpr int TileSide = 32;
inline constexpr int IconSide = 16;
inline constexpr int IconCount = TerrainCount + 1;  // the terrains, then one empty icon
inline constexpr int EmptyIcon = TerrainCount;
inline constexpr int TickerWidth = 11;
inline constexpr int TickerHeight = 8;

// Pixels of this colour are see-through wherever the pictures are drawn.
inline constexpr std::uint32_t TransparentColor = Argb(255, 0, 255);

enum class TileLook {
  Color,      // the normal map tiles
  Grayscale,  // the same tiles, each pixel as bright as its palette index
  Retro,      // black signs on grey
};

// The sixteen 32 x 32 tiles in TerrainCode order. The grey look is also the
// base that domain display blends with the domain colours.
std::vector<Image> TerrainTiles(TileLook look);

// One picture per TerrainCode, 32 x 32 pixels each (0xAARRGGBB).
struct TileSet {
  std::array<Image, TerrainCount> Tiles;
};

// The tiles a map image is drawn with, as the grid shows them: retro look
// wins over grayscale, which only changes the colour tiles.
TileSet LoadTileSet(bool retro, bool grayscale);

// The seventeen 16 x 16 panel icons: the terrains in code order, then the
// empty one. With transparent set, fuchsia pixels get alpha 0.
std::vector<Image> TerrainIcons(bool transparent = true);

// The 11 x 8 domain indicator mark; its cloth is transparent so the domain
// colour painted underneath shows through.
Image TickerMark(bool transparent = true);

// The 256-entry palette whose entry i is red i, green i, blue i (0xFFRRGGBB).
std::vector<std::uint32_t> GreyRamp();

// An indexed picture redrawn through another palette; an index past the end
// of the palette shows black, as in the decoder.
Image ApplyPalette(const BmpPicture& picture, const std::vector<std::uint32_t>& palette);

// Gives every fuchsia pixel alpha 0.
void MakeTransparent(Image& image);

// The pictures of a strip laid side by side, each `side` pixels wide and as
// high as the strip.
std::vector<Image> CutStrip(const Image& strip, int side, int count);

// A compiled-in tile picture decoded and checked against its layout; Error
// "Tile picture %s is damaged" when it is missing or does not fit.
BmpPicture LoadTilePicture(std::string_view name, int width, int height, int bitsPerPixel);

}  // namespace mireforge
