#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "pictures/bmp_codec.h"
#include "pictures/embedded_resources.h"
#include "base/file_io.h"
#include "formats/map_image.h"
#include "pictures/tile_pictures.h"
#include "base/error.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

BmpPicture DecodeResource(const char* name) {
  const auto bytes = EmbeddedResource(name);
  if (!bytes) throw std::runtime_error(std::string("missing resource ") + name);
  return DecodeBmp(*bytes);
}

int Red(std::uint32_t p) { return (p >> 16) & 0xFF; }
int Green(std::uint32_t p) { return (p >> 8) & 0xFF; }
int Blue(std::uint32_t p) { return p & 0xFF; }
int Alpha(std::uint32_t p) { return (p >> 24) & 0xFF; }
double Luma(std::uint32_t p) { return 0.299 * Red(p) + 0.587 * Green(p) + 0.114 * Blue(p); }

// Mean absolute channel difference: small means the eye could mix them up.
double Difference(const Image& a, const Image& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.Pixels.size(); ++i)
    sum += std::abs(Red(a.Pixels[i]) - Red(b.Pixels[i])) + std::abs(Green(a.Pixels[i]) - Green(b.Pixels[i])) +
           std::abs(Blue(a.Pixels[i]) - Blue(b.Pixels[i]));
  return sum / (3.0 * a.Pixels.size());
}

TEST(TilePictures, ResourcesKeepTheirLayouts) {
  struct Layout {
    const char* Name;
    int Width, Height, Bits;
    std::size_t PaletteSize;
  };
  for (const Layout& l : {Layout{"terrain.bmp", 512, 32, 8, 256}, Layout{"terrainr.bmp", 512, 32, 4, 16},
                          Layout{"terrains.bmp", 272, 16, 8, 256}, Layout{"ticker.bmp", 11, 8, 8, 256}}) {
    SCOPED_TRACE(l.Name);
    const BmpPicture p = DecodeResource(l.Name);
    EXPECT_EQ(p.Picture.Width, l.Width);
    EXPECT_EQ(p.Picture.Height, l.Height);
    EXPECT_EQ(p.BitsPerPixel, l.Bits);
    EXPECT_EQ(p.Palette.size(), l.PaletteSize);
  }
}

TEST(TilePictures, TerrainPaletteRunsFromDarkToBright) {
  const BmpPicture terrain = DecodeResource("terrain.bmp");
  ASSERT_EQ(terrain.Palette.size(), 256u);
  for (std::size_t i = 1; i < terrain.Palette.size(); ++i)
    EXPECT_LE(Luma(terrain.Palette[i - 1]), Luma(terrain.Palette[i])) << "entry " << i;
  // Fuchsia means "see-through" elsewhere; a map tile must never contain it.
  for (std::uint32_t pixel : terrain.Picture.Pixels) ASSERT_NE(pixel & 0xFFFFFFu, TransparentColor & 0xFFFFFFu);
}

TEST(TilePictures, GreyLookShowsEachPixelAtTheBrightnessOfItsIndex) {
  const BmpPicture terrain = DecodeResource("terrain.bmp");
  const std::vector<Image> colour = TerrainTiles(TileLook::Color);
  const std::vector<Image> grey = TerrainTiles(TileLook::Grayscale);
  ASSERT_EQ(grey.size(), 16u);
  for (int t = 0; t < 16; ++t)
    for (int y = 0; y < TileSide; ++y)
      for (int x = 0; x < TileSide; ++x) {
        const int index = terrain.Indexes[std::size_t(y) * 512 + t * TileSide + x];
        ASSERT_EQ(grey[t].At(x, y), Argb(index, index, index)) << "tile " << t << " at " << x << "," << y;
        ASSERT_EQ(colour[t].At(x, y), terrain.Palette[index] | 0xFF000000u);
      }
}

TEST(TilePictures, EveryLookHasSixteenTilesTheEyeCanTellApart) {
  for (TileLook look : {TileLook::Color, TileLook::Grayscale, TileLook::Retro}) {
    const std::vector<Image> tiles = TerrainTiles(look);
    ASSERT_EQ(tiles.size(), 16u);
    for (const Image& tile : tiles) {
      ASSERT_EQ(tile.Width, 32);
      ASSERT_EQ(tile.Height, 32);
    }
    // The retro look differs only in its black signs, so it needs less.
    const double least = look == TileLook::Retro ? 5.0 : 10.0;
    for (int a = 0; a < 16; ++a)
      for (int b = a + 1; b < 16; ++b)
        EXPECT_GT(Difference(tiles[a], tiles[b]), least) << "look " << int(look) << ": tiles " << a << " and " << b;
  }
}

TEST(TilePictures, RetroTilesAreBlackSignsOnGrey) {
  const std::vector<Image> tiles = TerrainTiles(TileLook::Retro);
  for (int t = 0; t < 16; ++t) {
    int black = 0;
    for (std::uint32_t p : tiles[t].Pixels) {
      ASSERT_TRUE(Red(p) == Green(p) && Green(p) == Blue(p)) << "tile " << t << " has a colour";
      black += (p & 0xFFFFFFu) == 0;
    }
    if (t != NoTerrain) {
      EXPECT_GT(black, 20) << "tile " << t << " has no sign";
    }
  }
}

TEST(TilePictures, IconsAreTheTerrainsThenOneEmptyIcon) {
  const std::vector<Image> icons = TerrainIcons();
  ASSERT_EQ(icons.size(), 17u);
  for (int i = 0; i < 17; ++i) {
    ASSERT_EQ(icons[i].Width, 16);
    ASSERT_EQ(icons[i].Height, 16);
    int clear = 0;
    for (std::uint32_t p : icons[i].Pixels) clear += Alpha(p) == 0;
    EXPECT_EQ(clear, i == EmptyIcon ? 256 : 0) << "icon " << i;
  }
  for (int a = 0; a < 16; ++a)
    for (int b = a + 1; b < 16; ++b) EXPECT_GT(Difference(icons[a], icons[b]), 8.0) << a << " and " << b;

  // Asked to keep fuchsia, the empty icon is plain fuchsia and opaque.
  const auto opaqueIcons = TerrainIcons(false);
  for (std::uint32_t p : opaqueIcons[EmptyIcon].Pixels) ASSERT_EQ(p, TransparentColor);
}

TEST(TilePictures, TickerLeavesRoomForTheDomainColour) {
  const Image mark = TickerMark();
  ASSERT_EQ(mark.Width, 11);
  ASSERT_EQ(mark.Height, 8);
  // The indicator paints the domain colour at (1, 2)-(7, 6) of the mark's
  // area first; the mark must not cover it, and must frame it.
  for (int y = 2; y <= 6; ++y)
    for (int x = 1; x <= 7; ++x) EXPECT_EQ(Alpha(mark.At(x, y)), 0) << x << "," << y;
  for (int x = 0; x <= 8; ++x) {
    EXPECT_EQ(Alpha(mark.At(x, 1)), 255) << x;
    EXPECT_EQ(Alpha(mark.At(x, 7)), 255) << x;
  }
  for (int y = 1; y <= 7; ++y) EXPECT_EQ(Alpha(mark.At(8, y)), 255) << y;
  EXPECT_EQ(TickerMark(false).At(4, 4), TransparentColor);
}

TEST(TilePictures, PaletteSwapAndTransparencyOnHandBuiltPictures) {
  BmpPicture p;
  p.Picture = Image(4, 1);
  p.BitsPerPixel = 8;
  p.Palette = {Argb(10, 20, 30), Argb(255, 0, 255)};
  p.Indexes = {0, 1, 7, 255};  // the last two point past the palette
  const Image swapped = ApplyPalette(p, {Argb(1, 2, 3), Argb(255, 0, 255), Argb(9, 9, 9)});
  EXPECT_EQ(swapped.Pixels, (std::vector<std::uint32_t>{Argb(1, 2, 3), Argb(255, 0, 255), Argb(0, 0, 0),
                                                        Argb(0, 0, 0)}));
  const Image grey = ApplyPalette(p, GreyRamp());
  EXPECT_EQ(grey.Pixels[3], Argb(255, 255, 255));
  EXPECT_EQ(grey.Pixels[2], Argb(7, 7, 7));

  Image image = swapped;
  MakeTransparent(image);
  EXPECT_EQ(image.Pixels, (std::vector<std::uint32_t>{Argb(1, 2, 3), 0u, Argb(0, 0, 0), Argb(0, 0, 0)}));
}

TEST(TilePictures, TileSetFollowsTheGridsLooks) {
  struct Case {
    bool Retro, Grayscale;
    TileLook Expected;
  };
  for (const Case& c : {Case{false, false, TileLook::Color}, Case{false, true, TileLook::Grayscale},
                        Case{true, false, TileLook::Retro}, Case{true, true, TileLook::Retro}}) {
    const TileSet set = LoadTileSet(c.Retro, c.Grayscale);
    const std::vector<Image> expected = TerrainTiles(c.Expected);
    for (int t = 0; t < 16; ++t) EXPECT_EQ(set.Tiles[t].Pixels, expected[t].Pixels) << c.Retro << c.Grayscale << " tile " << t;
  }
}

TEST(TilePictures, MapImageIsDrawnWithTheTiles) {
  MapGrid grid;
  grid.ResizeMap(3, 1);
  grid.Cells = {Mountains, Lake, Citadel};
  const TileSet set = LoadTileSet(false, false);
  TempDir dir;
  SaveMapImage(dir.File("map.bmp"), PictureFileType::Bitmap, grid, set, 32, 0);
  const std::string bytes = ReadWholeFile(dir.File("map.bmp"));
  const Image image = DecodeBmpImage(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
  ASSERT_EQ(image.Width, 96);
  ASSERT_EQ(image.Height, 32);
  for (int cell = 0; cell < 3; ++cell)
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        ASSERT_EQ(image.At(cell * 32 + x, y) & 0xFFFFFFu, set.Tiles[grid.Cells[cell]].At(x, y) & 0xFFFFFFu)
            << "cell " << cell << " at " << x << "," << y;
}

TEST(TilePictures, MissingOrMisfitPicturesAreRefused) {
  struct Case {
    const char* Name;
    int Width, Height, Bits;
  };
  for (const Case& c : {Case{"nothing.bmp", 512, 32, 8}, Case{"terrain.bmp", 32, 32, 8},
                        Case{"terrain.bmp", 512, 32, 4}, Case{"ticker.bmp", 8, 11, 8}}) {
    try {
      LoadTilePicture(c.Name, c.Width, c.Height, c.Bits);
      ADD_FAILURE() << c.Name << " accepted as " << c.Width << "x" << c.Height << "x" << c.Bits;
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), std::string("Tile picture ") + c.Name + " is damaged");
    }
  }
}

}  // namespace
}  // namespace mireforge
