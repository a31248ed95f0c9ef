#include "scene/scene_pictures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "pictures/png_codec.h"
#include "formats/preview_image.h"
#include "model/map_grid.h"

namespace mireforge {
namespace {

constexpr std::uint32_t Blue = Argb(0, 0, 255), Green = Argb(0, 200, 0), Yellow = Argb(255, 255, 0);
constexpr std::uint32_t Red = Argb(255, 0, 0);

class MemoryLibrary final : public PictureLibrary {
 public:
  std::map<std::string, std::string> Files;
  std::optional<std::string> Picture(int number) const override { return Picture(std::to_string(number)); }
  std::optional<std::string> Picture(std::string_view name) const override {
    const auto it = Files.find(std::string(name));
    return it == Files.end() ? std::nullopt : std::optional(it->second);
  }
  const std::string& Location() const override { return location_; }

 private:
  std::string location_ = "memory";
};

std::string Png(int width, int height, std::uint32_t colour) { return EncodePng(Image(width, height, colour), PngColor::Rgb); }

// The viewer at (1, 1) of a 3 x 3 forest map facing south: the nearest picture (row 47) is forest, size 19.
std::array<SceneSprite, SceneRowsPerView> ForestScene() {
  MapGrid map;
  map.ResizeMap(3, 3);
  map.FillTerrain(Forest, true);
  map.RebuildTerrainRows();
  ViewState view;
  view.MoveTo(1, 1);
  return SceneSprites(view, map);
}

TEST(ComposeScene, DrawsBackdropStretchedGroundAndSpritesWithRedTransparent) {
  auto library = std::make_unique<MemoryLibrary>();
  library->Files["20"] = Png(512, 224, Blue);
  library->Files["21"] = Png(2, 2, Green);
  // Nearest forest: left half pure red (transparent), right half yellow.
  Image sprite(SpriteWidths[19], SpriteHeight(19), Red);
  for (int y = 0; y < sprite.Height; ++y)
    for (int x = sprite.Width / 2; x < sprite.Width; ++x) sprite.At(x, y) = Yellow;
  library->Files["2_19"] = EncodePng(sprite, PngColor::Rgb);
  for (int size = 0; size < 19; ++size) library->Files[SpriteName(Forest, size)] = Png(1, 1, Red);
  library->Files["10_19"] = Png(1, 1, Red);
  for (int size = 0; size < 19; ++size) library->Files[SpriteName(FrozenWastes, size)] = Png(1, 1, Red);

  ScenePictures pictures(std::move(library));
  Image frame;
  ComposeScene(frame, pictures, ForestScene());
  ASSERT_EQ(frame.Width, 512);
  ASSERT_EQ(frame.Height, 384);
  EXPECT_EQ(frame.At(5, 5), Blue);
  EXPECT_EQ(frame.At(5, 300), Green);
  const int left = 170 - 56, top = 112;
  EXPECT_EQ(frame.At(left + 10, top + 10), Blue) << "red must let the backdrop through";
  EXPECT_EQ(frame.At(left + 10, 250), Green) << "red must let the ground through";
  EXPECT_EQ(frame.At(left + sprite.Width - 5, 300), Yellow);
  EXPECT_EQ(frame.At(left + sprite.Width - 5, top), Yellow);
  EXPECT_EQ(pictures.Notice(), "");
}

TEST(ComposeScene, MissingLibraryOrPicturesFallBackToPlainColoursWithANotice) {
  Image frame;
  ScenePictures none(nullptr, "No picture library found: neither veduvuderuv.dll nor the picture pack");
  ComposeScene(frame, none, ForestScene());
  EXPECT_EQ(none.Notice(),
            "No picture library found: neither veduvuderuv.dll nor the picture pack - the view is drawn in plain colours");
  // The nearest forest stands as a mound in the map's forest colour, near the bottom middle.
  EXPECT_EQ(frame.At(256, 370), ColorToPixel(PreviewPalette[Forest]));
  EXPECT_NE(frame.At(5, 5), frame.At(5, 300)) << "sky and ground differ";

  auto library = std::make_unique<MemoryLibrary>();
  library->Files["20"] = Png(512, 384, Blue);
  library->Files["21"] = "not a picture";
  ScenePictures partial(std::move(library));
  ComposeScene(frame, partial, ForestScene());
  EXPECT_EQ(frame.At(5, 5), Blue);
  EXPECT_NE(frame.At(5, 300), Blue) << "a damaged ground is drawn plain, not left as backdrop";
  EXPECT_EQ(partial.Notice().rfind("Picture 21 cannot be read (", 0), 0u) << partial.Notice();
}

TEST(ScenePictures, EachPictureIsDecodedOnceAndAMissingOneIsNamed) {
  auto library = std::make_unique<MemoryLibrary>();
  MemoryLibrary* files = library.get();
  files->Files["20"] = Png(512, 224, Blue);
  files->Files["21"] = Png(4, 4, Green);
  files->Files["2_19"] = Png(284, 272, Yellow);
  ScenePictures pictures(std::move(library));
  const Image* first = pictures.Sprite(Forest, 19);
  ASSERT_NE(first, nullptr);
  files->Files.erase("2_19");
  EXPECT_EQ(pictures.Sprite(Forest, 19), first) << "cached while the view is open";
  EXPECT_EQ(pictures.Sprite(Mountains, 19), nullptr);
  EXPECT_EQ(pictures.Sprite(Mountains, 20), nullptr);
  EXPECT_EQ(pictures.Sprite(-1, 0), nullptr);
  EXPECT_EQ(pictures.Notice(), "Picture 14_19 is missing from memory - the view is drawn in plain colours");
}

TEST(OurPicturePack, HoldsEveryPictureAtItsSize) {
  const std::filesystem::path folder = std::filesystem::path(MIREFORGE_TEST_DATA) / ".." / ".." / "resources" / "scene";
  auto pack = OpenPicturePack(folder.string());
  ScenePictures pictures(std::move(pack));
  const Image* backdrop = pictures.Backdrop();
  ASSERT_NE(backdrop, nullptr) << pictures.Notice();
  EXPECT_EQ(backdrop->Width, 512);
  EXPECT_GE(backdrop->Height, 224);
  EXPECT_NE(pictures.Ground(), nullptr);
  for (int code = 0; code < TerrainCount; ++code)
    for (int size = 0; size < SizeClassCount; ++size) {
      const Image* sprite = pictures.Sprite(code, size);
      ASSERT_NE(sprite, nullptr) << SpriteName(code, size);
      EXPECT_EQ(sprite->Width, SpriteWidths[size]) << SpriteName(code, size);
      EXPECT_EQ(sprite->Height, SpriteHeight(size)) << SpriteName(code, size);
      // Something is drawn, and the corners stay see-through.
      int opaque = 0;
      for (std::uint32_t pixel : sprite->Pixels) opaque += (pixel >> 24) != 0;
      EXPECT_GT(opaque, sprite->Width) << SpriteName(code, size);
      EXPECT_EQ(sprite->At(0, 0) >> 24, 0u) << SpriteName(code, size);
    }
  EXPECT_EQ(pictures.Notice(), "");
}

}  // namespace
}  // namespace mireforge
