#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "pictures/bmp_codec.h"
#include "base/file_io.h"
#include "pictures/png_codec.h"
#include "formats/preview_image.h"
#include "base/error.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

TEST(PreviewImage, PaletteColoursAndLegendTexts) {
  struct Row {
    int r, g, b;
    const char* legend;
  };
  const Row table[TerrainCount] = {
      {144, 248, 152, "#98F890"}, {255, 0, 0, "#0000FF"},     {0, 128, 0, "#008000"},     {160, 160, 160, "#A0A0A0"},
      {128, 128, 128, "#808080"}, {80, 80, 80, "#505050"},    {255, 255, 0, "#00FFFF"},   {255, 151, 151, "#9797FF"},
      {64, 64, 64, "#404040"},    {0, 0, 255, "#FF0000"},     {255, 255, 255, "#FFFFFF"}, {144, 144, 144, "#909090"},
      {96, 96, 96, "#606060"},    {112, 112, 112, "#707070"}, {128, 64, 0, "#004080"},    {0, 0, 0, "#000000"},
  };
  std::set<std::uint32_t> distinct;
  for (int code = 0; code < TerrainCount; ++code) {
    SCOPED_TRACE(code);
    EXPECT_EQ(ColorToPixel(PreviewPalette[code]), Argb(table[code].r, table[code].g, table[code].b));
    EXPECT_EQ(LegendColorText(PreviewPalette[code]), table[code].legend);
    EXPECT_EQ(PreviewTerrain(Argb(table[code].r, table[code].g, table[code].b)), code);
    distinct.insert(PreviewPalette[code]);
  }
  EXPECT_EQ(distinct.size(), 16u);
}

TEST(PreviewImage, ColoursMatchExactlyOrBecomeNone) {
  struct Case {
    std::uint32_t pixel;
    TerrainCode code;
  };
  const Case cases[] = {
      {Argb(254, 0, 0), NoTerrain},       {Argb(255, 0, 0), Citadel},         {Argb(0, 0, 255), Lake},
      {Argb(0, 0, 0), NoTerrain},         {Argb(143, 248, 152), NoTerrain},   {Argb(0, 128, 0, 0), Forest},
      {Argb(255, 255, 255, 17), FrozenWastes},
  };
  for (const Case& c : cases) EXPECT_EQ(PreviewTerrain(c.pixel), c.code) << std::hex << c.pixel;
}

// A framed map holding every terrain code in its interior.
MapGrid SampleMap(int width, int height) {
  MapGrid grid;
  grid.ResizeMap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) grid.Cells[x + y * width] = grid.OnBorder(x, y) ? FrozenWastes : (x * 3 + y) % 16;
  return grid;
}

TEST(PreviewImage, BothFileKindsRoundTripCellForCell) {
  TempDir dir;
  const MapGrid map = SampleMap(66, 63);
  for (PictureFileType type : {PictureFileType::Bitmap, PictureFileType::Png}) {
    const std::string path = dir.File(type == PictureFileType::Bitmap ? "p.bmp" : "p.png");
    SavePreviewImage(path, type, map);
    const Image image = LoadPicture(path);
    ASSERT_EQ(image.Width, 66);
    ASSERT_EQ(image.Height, 63);
    for (auto [x, y] : {std::pair{0, 0}, {65, 0}, {0, 62}, {65, 62}}) EXPECT_EQ(image.At(x, y), Argb(255, 255, 255));
    EXPECT_EQ(image.At(1, 1), ColorToPixel(PreviewPalette[map.GetTerrain(1, 1)]));

    MapGrid loaded = SampleMap(3, 2);
    LoadPreviewImage(path, loaded);
    EXPECT_EQ(loaded.Width, 66);
    EXPECT_EQ(loaded.Height, 63);
    EXPECT_EQ(loaded.Cells, map.Cells);
  }
}

TEST(PreviewImage, FileKindFollowsTheCallerNotTheName) {
  TempDir dir;
  const std::string path = dir.File("really-png.bmp");
  SavePreviewImage(path, PictureFileType::Png, SampleMap(5, 5));
  EXPECT_EQ(ReadWholeFile(path).substr(1, 3), "PNG");
  SavePreviewImage(dir.File("none.png"), static_cast<PictureFileType>(3), SampleMap(5, 5));
  EXPECT_FALSE(std::filesystem::exists(dir.File("none.png")));
}

TEST(PreviewImage, PictureSizeBecomesMapSize) {
  TempDir dir;
  Image picture(10, 4, Argb(0, 128, 0));
  picture.At(9, 3) = Argb(254, 0, 0);
  picture.At(0, 0) = Argb(0, 0, 255);
  SavePicture(dir.File("small.png"), PictureFileType::Png, picture);
  MapGrid grid = SampleMap(66, 63);
  LoadPreviewImage(dir.File("small.png"), grid);
  ASSERT_EQ(grid.Width, 10);
  ASSERT_EQ(grid.Height, 4);
  ASSERT_EQ(grid.Cells.size(), 40u);
  EXPECT_EQ(grid.GetTerrain(0, 0), Lake);
  EXPECT_EQ(grid.GetTerrain(9, 3), NoTerrain);
  EXPECT_EQ(grid.GetTerrain(5, 2), Forest);
}

TEST(PreviewImage, FailedLoadsLeaveTheMapAlone) {
  TempDir dir;
  WriteWholeFile(dir.File("broken.bmp"), "BM not really a bitmap at all", "x");
  WriteWholeFile(dir.File("broken.png"), "\x89PNG\r\n\x1a\n and garbage", "x");
  WriteWholeFile(dir.File("picture.gif"), "GIF89a", "x");
  SavePicture(dir.File("wide.bmp"), PictureFileType::Bitmap, Image(513, 1));
  SavePicture(dir.File("tall.png"), PictureFileType::Png, Image(2, 600));
  SavePicture(dir.File("largest.bmp"), PictureFileType::Bitmap, Image(512, 512, Argb(0, 0, 255)));

  const std::string tooLarge = "The picture is too large (%s pixels; at most 512 x 512)";
  const std::pair<std::string, std::string> cases[] = {
      {"picture.gif", "Unknown picture file extension (.gif)"},
      {"Missing.PNG", "Cannot open file " + dir.File("Missing.PNG")},
      {"noextension", "Unknown picture file extension (.)"},
      {"broken.bmp", "Bitmap image is not valid"},
      {"broken.png", "The PNG image " + dir.File("broken.png") + " is damaged: [20]gar: invalid chunk type"},
      {"wide.bmp", FormatMessage(tooLarge, "513 x 1")},
      {"tall.png", FormatMessage(tooLarge, "2 x 600")},
  };
  const MapGrid before = SampleMap(7, 6);
  for (const auto& [name, message] : cases) {
    MapGrid grid = before;
    try {
      LoadPreviewImage(dir.File(name), grid);
      ADD_FAILURE() << name << " loaded";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), message) << name;
    }
    EXPECT_EQ(grid.Width, 7);
    EXPECT_EQ(grid.Height, 6);
    EXPECT_EQ(grid.Cells, before.Cells);
  }
  MapGrid grid;
  LoadPreviewImage(dir.File("largest.bmp"), grid);
  EXPECT_EQ(grid.Width, 512);
  EXPECT_EQ(grid.GetTerrain(511, 511), Lake);
}

TEST(PreviewImage, UnwritableFileGivesTheMessageAndKeepsTheOldOne) {
  EXPECT_THROW(
      {
        try {
          SavePreviewImage("/nonexistent-folder/p.png", PictureFileType::Png, SampleMap(4, 4));
        } catch (const Error& e) {
          EXPECT_EQ(std::string(e.what()), "Cannot create file /nonexistent-folder/p.png: No such file or directory");
          throw;
        }
      },
      Error);
  TempDir dir;
  const std::string path = dir.File("old.bmp");
  WriteWholeFile(path, "old contents", "x");
  EXPECT_THROW(SavePreviewImage(path, PictureFileType::Bitmap, MapGrid()), Error);  // nothing to draw
  EXPECT_EQ(ReadWholeFile(path), "old contents");
}

}  // namespace
}  // namespace mireforge
