#include "import/heightmap.h"

#include "base/file_io.h"
#include "base/error.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <stdexcept>

namespace mireforge {
namespace {

std::uint32_t Grey(int level) { return Argb(level, level, level); }

TEST(HeightmapImport, ImportSize) {
  struct Case {
    int w, h;
    PictureSize expected;
  };
  const Case cases[] = {
      {66, 63, {66, 63}},     {512, 512, {512, 512}}, {1, 1, {1, 1}},       {513, 10, {512, 512}},
      {10, 513, {512, 512}},  {1000, 300, {512, 512}}, {512, 511, {512, 511}}, {0, 600, {0, 0}},
  };
  for (const Case& c : cases) {
    const PictureSize size = ImportSize(c.w, c.h);
    EXPECT_EQ(size.Width, c.expected.Width) << c.w << "x" << c.h;
    EXPECT_EQ(size.Height, c.expected.Height) << c.w << "x" << c.h;
  }
}

TEST(HeightmapImport, GreyLevelsAndInversion) {
  struct Case {
    std::uint32_t pixel;
    int grey;
  };
  const Case cases[] = {
      {Argb(255, 0, 0), 60},   {Argb(0, 255, 0), 173},  {Argb(0, 0, 255), 20},
      {Argb(255, 255, 255), 255}, {Argb(0, 0, 0), 0},   {Argb(10, 20, 30, 0), 18},  // (610+3480+630)>>8
  };
  Image picture(static_cast<int>(std::size(cases)), 1);
  for (std::size_t k = 0; k < std::size(cases); ++k) picture.Pixels[k] = cases[k].pixel;
  ConvertToGrey(picture);
  for (std::size_t k = 0; k < std::size(cases); ++k) EXPECT_EQ(picture.Pixels[k], Grey(cases[k].grey)) << k;

  picture.Pixels[0] = Argb(255, 255, 255, 17);
  picture.Pixels[1] = Argb(0, 0, 0);
  picture.Pixels[2] = Argb(1, 128, 200);
  InvertColors(picture);
  EXPECT_EQ(picture.Pixels[0], Argb(0, 0, 0, 17));
  EXPECT_EQ(picture.Pixels[1], Argb(255, 255, 255));
  EXPECT_EQ(picture.Pixels[2], Argb(254, 127, 55));
}

TEST(HeightmapImport, PicturesWithinTheLimitAreCopiedPixelForPixel) {
  std::mt19937 random(11);
  Image picture(66, 63);
  for (std::uint32_t& p : picture.Pixels) p = random();
  Image reference = picture;
  ConvertToGrey(reference);
  for (int method = 0; method < 5; ++method)
    for (bool fullEdge : {false, true}) {
      const Image preview = BuildPicturePreview(picture, {ResizeMethodOfIndex(method), false, fullEdge});
      ASSERT_EQ(preview.Width, 66);
      ASSERT_EQ(preview.Height, 63);
      ASSERT_EQ(preview.Pixels, reference.Pixels) << method;
    }
  Image inverted = reference;
  InvertColors(inverted);
  EXPECT_EQ(BuildPicturePreview(picture, {ResizeMethod::Lanczos, true, true}).Pixels, inverted.Pixels);
}

TEST(HeightmapImport, LargePicturesAreResampledTo512Square) {
  // Left half red, right half green: grey 60 and 173 survive nearest neighbour.
  Image wide(1000, 300);
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 1000; ++x) wide.At(x, y) = x < 500 ? Argb(255, 0, 0) : Argb(0, 255, 0);
  const Image preview = BuildPicturePreview(wide, {ResizeMethod::NearestNeighbor, false, true});
  ASSERT_EQ(preview.Width, 512);
  ASSERT_EQ(preview.Height, 512);
  EXPECT_EQ(preview.At(0, 0), Grey(60));
  EXPECT_EQ(preview.At(255, 511), Grey(60));
  EXPECT_EQ(preview.At(256, 300), Grey(173));
  EXPECT_EQ(preview.At(511, 511), Grey(173));

  const Image thin = BuildPicturePreview(Image(513, 10, Argb(255, 255, 255)), {ResizeMethod::Mitchell, true, false});
  ASSERT_EQ(thin.Width, 512);
  ASSERT_EQ(thin.Height, 512);
  for (std::uint32_t p : thin.Pixels) ASSERT_EQ(p, Grey(0));
  EXPECT_TRUE(BuildPicturePreview(Image(), {}).Empty());
}

TEST(HeightmapImport, ClassBoundariesAndColours) {
  struct Case {
    int grey;
    std::uint32_t color;
    TerrainCode terrain;
  };
  const Case defaults[] = {
      {0, Argb(128, 64, 0), Mountains},    {76, Argb(128, 64, 0), Mountains},  {77, Argb(255, 255, 0), Downs},
      {120, Argb(255, 255, 0), Downs},     {121, Argb(0, 128, 0), Forest},     {170, Argb(0, 128, 0), Forest},
      {171, Argb(144, 248, 152), Plains},  {255, Argb(144, 248, 152), Plains},
  };
  const ImportThresholds standard;
  for (const Case& c : defaults) {
    EXPECT_EQ(ClassColorOfGrey(c.grey, standard), c.color) << c.grey;
    EXPECT_EQ(TerrainOfClassColor(c.color), c.terrain) << c.grey;
  }
  // The preview draws the same classes pixel by pixel.
  Image grey(static_cast<int>(std::size(defaults)), 1);
  for (std::size_t k = 0; k < std::size(defaults); ++k) grey.Pixels[k] = Grey(defaults[k].grey);
  const Image preview = DrawTerrainPreview(grey, standard);
  for (std::size_t k = 0; k < std::size(defaults); ++k) EXPECT_EQ(preview.Pixels[k], defaults[k].color) << k;

  const ImportThresholds lowest{0, 1, 2};
  EXPECT_EQ(ClassColorOfGrey(0, lowest), MountainsClassColor);
  EXPECT_EQ(ClassColorOfGrey(1, lowest), DownsClassColor);
  EXPECT_EQ(ClassColorOfGrey(2, lowest), ForestClassColor);
  EXPECT_EQ(ClassColorOfGrey(3, lowest), PlainsClassColor);
  const ImportThresholds highest{253, 254, 255};
  EXPECT_EQ(ClassColorOfGrey(255, highest), ForestClassColor);

  // Colours are read without their alpha; anything unknown is plains.
  EXPECT_EQ(TerrainOfClassColor(Argb(128, 64, 0, 0)), Mountains);
  EXPECT_EQ(TerrainOfClassColor(Argb(128, 64, 1)), Plains);
}

TEST(HeightmapImport, ThresholdCoupling) {
  struct Case {
    ImportThresholds given, expected;
    ThresholdLimits limits;
  };
  const Case cases[] = {
      {{76, 120, 170}, {76, 120, 170}, {119, 169}},
      {{76, 120, 100}, {76, 99, 100}, {98, 99}},    // forests lowered under downs
      {{110, 120, 100}, {98, 99, 100}, {98, 99}},   // ... which pushes mountains down too
      {{130, 120, 170}, {119, 120, 170}, {119, 169}},
      {{76, 200, 170}, {76, 169, 170}, {168, 169}},
      {{0, 0, 0}, {0, 1, 2}, {0, 1}},               // below the fields' minimums
      {{300, 300, 300}, {253, 254, 255}, {253, 254}},
      {{-5, 120, 170}, {0, 120, 170}, {119, 169}},
  };
  for (const Case& c : cases) {
    ImportThresholds t = c.given;
    const ThresholdLimits limits = CoupleThresholds(t);
    EXPECT_EQ(t.Mountains, c.expected.Mountains) << c.given.Mountains << "/" << c.given.Downs << "/" << c.given.Forests;
    EXPECT_EQ(t.Downs, c.expected.Downs) << c.given.Mountains << "/" << c.given.Downs << "/" << c.given.Forests;
    EXPECT_EQ(t.Forests, c.expected.Forests);
    EXPECT_EQ(limits.MountainsMax, c.limits.MountainsMax);
    EXPECT_EQ(limits.DownsMax, c.limits.DownsMax);
  }
}

TEST(HeightmapImport, MapIsBuiltFromThePreviewInsideAFrozenWastesRing) {
  // 5 x 4 picture: the interior 3 x 2 holds one of each class and a foreign colour.
  Image terrain(5, 4, Argb(1, 2, 3));
  terrain.At(1, 1) = MountainsClassColor;
  terrain.At(2, 1) = DownsClassColor;
  terrain.At(3, 1) = ForestClassColor;
  terrain.At(1, 2) = PlainsClassColor;
  terrain.At(2, 2) = Argb(77, 77, 77);
  terrain.At(3, 2) = MountainsClassColor;
  const MapGrid grid = BuildMapFromPreview(terrain);
  ASSERT_EQ(grid.Width, 5);
  ASSERT_EQ(grid.Height, 4);
  const std::vector<TerrainCode> expected = {
      10, 10, 10, 10, 10,
      10, 14, 6, 2, 10,
      10, 0, 0, 14, 10,
      10, 10, 10, 10, 10,
  };
  EXPECT_EQ(grid.Cells, expected);
  EXPECT_EQ(grid.TerrainRows, expected);

  // Maps one or two cells across are ring only.
  for (auto [w, h] : {std::pair{1, 1}, {2, 9}, {9, 2}, {1, 5}}) {
    const MapGrid small = BuildMapFromPreview(Image(w, h, MountainsClassColor));
    ASSERT_EQ(small.Cells.size(), static_cast<std::size_t>(w * h));
    for (TerrainCode code : small.Cells) EXPECT_EQ(code, FrozenWastes) << w << "x" << h;
  }
  EXPECT_TRUE(BuildMapFromPreview(Image()).Empty());
  EXPECT_THROW(BuildMapFromPreview(Image(70000, 1)), Error);
}

TEST(HeightmapImport, WholeRoadFromPictureToMap) {
  // Inverting turns white into mountains and black into plains.
  Image picture(4, 3, Argb(255, 255, 255));
  picture.At(1, 1) = Argb(0, 0, 0);
  picture.At(2, 1) = Argb(0, 0, 255);  // grey 20, inverted 235
  const Image preview = BuildPicturePreview(picture, {ResizeMethod::Spline, true, true});
  const Image classes = DrawTerrainPreview(preview, ImportThresholds{});
  EXPECT_EQ(classes.At(0, 0), MountainsClassColor);
  EXPECT_EQ(classes.At(1, 1), PlainsClassColor);
  EXPECT_EQ(classes.At(2, 1), PlainsClassColor);
  const MapGrid grid = BuildMapFromPreview(classes);
  EXPECT_EQ(grid.GetTerrain(1, 1), Plains);
  EXPECT_EQ(grid.GetTerrain(2, 1), Plains);

  // A resampled random picture yields only the four classes and the ring.
  std::mt19937 random(3);
  Image noise(600, 40);
  for (std::uint32_t& p : noise.Pixels) p = random();
  const MapGrid big = BuildMapFromPreview(
      DrawTerrainPreview(BuildPicturePreview(noise, {ResizeMethod::Lanczos, false, true}), ImportThresholds{}));
  ASSERT_EQ(big.Width, 512);
  const std::set<TerrainCode> codes(big.Cells.begin(), big.Cells.end());
  for (TerrainCode code : codes) EXPECT_TRUE(code == 0 || code == 2 || code == 6 || code == 10 || code == 14) << int(code);
  EXPECT_EQ(codes.size(), 5u);
}

TEST(HeightmapImport, PicturesAreReadFromPngAndBmpFiles) {
  TempDir dir;
  Image picture(66, 63);
  for (int y = 0; y < 63; ++y)
    for (int x = 0; x < 66; ++x) picture.At(x, y) = Argb(x * 3, y * 4, (x + y) & 0xFF);
  Image expected = picture;
  ConvertToGrey(expected);
  SavePicture(dir.File("a.png"), PictureFileType::Png, picture);
  SavePicture(dir.File("a.bmp"), PictureFileType::Bitmap, picture);
  for (const char* name : {"a.png", "a.bmp"}) {
    const Image preview = LoadPicturePreview(dir.File(name), {ResizeMethod::Lanczos, false, false});
    EXPECT_EQ(preview.Pixels, expected.Pixels) << name;
    const MapGrid grid = BuildMapFromPreview(DrawTerrainPreview(preview, ImportThresholds{}));
    EXPECT_EQ(grid.Width, 66);
    EXPECT_EQ(grid.Height, 63);
  }
  SavePicture(dir.File("wide.png"), PictureFileType::Png, Image(600, 20, Argb(0, 255, 0)));
  const Image wide = LoadPicturePreview(dir.File("wide.png"), {ResizeMethod::Spline, false, true});
  ASSERT_EQ(wide.Width, 512);
  ASSERT_EQ(wide.Height, 512);
  EXPECT_EQ(wide.At(300, 400), Grey(173));

  try {
    LoadPicturePreview(dir.File("missing.png"), {});
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.File("missing.png"));
  }
  std::string damaged = ReadWholeFile(dir.File("a.png"));
  damaged.resize(damaged.size() / 2);
  WriteWholeFile(dir.File("cut.png"), damaged, "Cannot create file %s");
  EXPECT_THROW(LoadPicturePreview(dir.File("cut.png"), {}), Error);
}

}  // namespace
}  // namespace mireforge
