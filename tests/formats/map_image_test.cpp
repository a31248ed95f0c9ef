#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "pictures/bmp_codec.h"
#include "base/file_io.h"
#include "formats/map_image.h"
#include "pictures/png_codec.h"
#include "base/error.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

// Every tile pixel tells its terrain and its place in the tile.
TileSet TestTiles() {
  TileSet set;
  for (int code = 0; code < TerrainCount; ++code) {
    set.Tiles[code] = Image(TilePictureSize, TilePictureSize);
    for (int y = 0; y < TilePictureSize; ++y)
      for (int x = 0; x < TilePictureSize; ++x) set.Tiles[code].At(x, y) = Argb(code * 16 + 8, x * 8, y * 8);
  }
  return set;
}

MapGrid TestMap(int width, int height) {
  MapGrid grid;
  grid.ResizeMap(width, height);
  for (int i = 0; i < width * height; ++i) grid.Cells[i] = static_cast<TerrainCode>(i * 5 % 16);
  return grid;
}

TEST(MapImage, ScalingPicksThePlainStretchSourcePixel) {
  const TileSet tiles = TestTiles();
  for (int size : TileSizes) {
    SCOPED_TRACE(size);
    const Image scaled = ScaleTile(tiles.Tiles[Lake], size);
    ASSERT_EQ(scaled.Width, size);
    ASSERT_EQ(scaled.Height, size);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        ASSERT_EQ(scaled.At(x, y), tiles.Tiles[Lake].At(x * 32 / size, y * 32 / size)) << x << "," << y;
  }
  // At 8 every fourth source pixel survives.
  EXPECT_EQ(ScaleTile(tiles.Tiles[Plains], 8).At(7, 1), Argb(8, 28 * 8, 4 * 8));
  EXPECT_EQ(ScaleTile(Image(2, 2, Argb(1, 2, 3, 0)), 3).At(2, 2), Argb(1, 2, 3));  // made opaque
}

TEST(MapImage, SizesFollowTileSizeAndGridLines) {
  const MapGrid map = TestMap(66, 63);
  struct Case {
    int tile, grid, width, height;
  };
  const Case cases[] = {{32, 0, 2112, 2016}, {32, 1, 2178, 2079}, {8, 1, 594, 567}, {10, 0, 660, 630}};
  for (const Case& c : cases) {
    const PictureSize size = MapImageSize(map, c.tile, c.grid);
    EXPECT_EQ(size.Width, c.width);
    EXPECT_EQ(size.Height, c.height);
  }
  TempDir dir;
  const TileSet tiles = TestTiles();
  SaveMapImage(dir.File("m.bmp"), PictureFileType::Bitmap, map, tiles, 32, 1);
  SaveMapImage(dir.File("m.png"), PictureFileType::Png, map, tiles, 32, 0);
  const std::string bmp = ReadWholeFile(dir.File("m.bmp"));
  const std::string png = ReadWholeFile(dir.File("m.png"));
  EXPECT_EQ(ProbeBmpSize(AsBytes(bmp)).Width, 2178);
  EXPECT_EQ(ProbeBmpSize(AsBytes(bmp)).Height, 2079);
  EXPECT_EQ(ProbePngSize(AsBytes(png)).Width, 2112);
  EXPECT_EQ(ProbePngSize(AsBytes(png)).Height, 2016);
}

TEST(MapImage, TilesAndBlackGridLinesLandInPlaceInBothKinds) {
  TempDir dir;
  const MapGrid map = TestMap(5, 3);
  const TileSet tiles = TestTiles();
  for (int gridLine : {0, 1}) {
    for (PictureFileType type : {PictureFileType::Bitmap, PictureFileType::Png}) {
      SCOPED_TRACE(testing::Message() << "grid " << gridLine << " type " << static_cast<int>(type));
      const std::string path = dir.File(type == PictureFileType::Png ? "t.png" : "t.bmp");
      SaveMapImage(path, type, map, tiles, 8, gridLine);
      const Image image = LoadPicture(path);
      const int step = 8 + gridLine;
      ASSERT_EQ(image.Width, 5 * step);
      ASSERT_EQ(image.Height, 3 * step);
      for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) {
          const int cx = x / step, cy = y / step, ix = x % step, iy = y % step;
          const std::uint32_t expected = (ix == 8 || iy == 8)
                                             ? Argb(0, 0, 0)
                                             : tiles.Tiles[map.GetTerrain(cx, cy)].At(ix * 4, iy * 4);
          ASSERT_EQ(image.At(x, y), expected) << x << "," << y;
        }
    }
  }
}

// Big enough for the PNG to be cut into several bands compressed in parallel.
TEST(MapImage, BandedPngHoldsTheBitmapsPixels) {
  TempDir dir;
  const MapGrid map = TestMap(70, 60);
  const TileSet tiles = TestTiles();
  SaveMapImage(dir.File("m.png"), PictureFileType::Png, map, tiles, 32, 1);
  SaveMapImage(dir.File("m.bmp"), PictureFileType::Bitmap, map, tiles, 32, 1);
  const Image png = LoadPicture(dir.File("m.png"));
  const Image bmp = LoadPicture(dir.File("m.bmp"));
  ASSERT_EQ(png.Width, 70 * 33);
  ASSERT_EQ(png.Height, 60 * 33);
  EXPECT_TRUE(png.Pixels == bmp.Pixels);
  EXPECT_GT(std::count(png.Pixels.begin(), png.Pixels.end(), tiles.Tiles[map.GetTerrain(69, 59)].At(31, 31)), 0);
}

TEST(MapImage, PngIsRgbAtLevelFiveWhateverTheName) {
  TempDir dir;
  const std::string path = dir.File("named-like-a.bmp");
  SaveMapImage(path, PictureFileType::Png, TestMap(7, 4), TestTiles(), 12, 1);
  const std::string bytes = ReadWholeFile(path);
  ASSERT_EQ(bytes.substr(1, 3), "PNG");
  EXPECT_EQ(static_cast<unsigned char>(bytes[24]), 8u);   // bits per channel
  EXPECT_EQ(static_cast<unsigned char>(bytes[25]), 2u);   // colour type RGB
  EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 0u);   // not interlaced
  const std::size_t idat = bytes.find("IDAT");
  EXPECT_EQ((static_cast<unsigned char>(bytes[idat + 5]) >> 6) & 3, 1);  // zlib level 2..5
  if (std::system("command -v pngcheck >/dev/null 2>&1") != 0) GTEST_SKIP() << "pngcheck is not installed";
  EXPECT_EQ(std::system(("pngcheck -q '" + path + "' >/dev/null").c_str()), 0);
}

TEST(MapImage, ProgressReportsEveryMapRow) {
  TempDir dir;
  std::vector<std::pair<int, int>> calls;
  SaveMapImage(dir.File("p.bmp"), PictureFileType::Bitmap, TestMap(4, 6), TestTiles(), 16, 1,
               [&](int done, int total) { calls.push_back({done, total}); });
  ASSERT_EQ(calls.size(), 6u);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(calls[i], std::make_pair(i + 1, 6));
}

TEST(MapImage, RefusalsLeaveTheOldFile) {
  TempDir dir;
  const std::string path = dir.File("old.png");
  WriteWholeFile(path, "old", "x");
  const MapGrid map = TestMap(3, 3);
  TileSet missing = TestTiles();
  missing.Tiles[Cavern] = Image();
  const std::pair<std::string, std::function<void()>> cases[] = {
      {"The tile picture of terrain 13 is missing",
       [&] { SaveMapImage(path, PictureFileType::Png, map, missing, 32, 1); }},
      {"Tile size 0 is not supported", [&] { SaveMapImage(path, PictureFileType::Png, map, TestTiles(), 0, 1); }},
      {"Grid line width -1 is not supported",
       [&] { SaveMapImage(path, PictureFileType::Bitmap, map, TestTiles(), 8, -1); }},
      {"Cannot create file /nonexistent-folder/m.bmp: No such file or directory",
       [&] { SaveMapImage("/nonexistent-folder/m.bmp", PictureFileType::Bitmap, map, TestTiles(), 8, 1); }},
      {"A bitmap needs at least one pixel",
       [&] { SaveMapImage(path, PictureFileType::Bitmap, MapGrid(), TestTiles(), 8, 1); }},
  };
  for (const auto& [message, save] : cases) {
    try {
      save();
      ADD_FAILURE() << message << ": saved";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), message);
    }
  }
  // A progress callback that throws (a cancelled export) stops the write too.
  EXPECT_THROW(SaveMapImage(path, PictureFileType::Png, map, TestTiles(), 8, 1,
                            [](int done, int) { if (done == 2) throw Error("cancelled"); }),
               Error);
  EXPECT_EQ(ReadWholeFile(path), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

}  // namespace
}  // namespace mireforge
