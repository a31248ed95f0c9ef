#pragma once
// The actual view's pictures, decoded once and kept while the view is open,
// and the composition of one frame from them. A missing library or picture
// never stops the view: the gap is drawn in plain colours and a one-line
// notice says what is missing.
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "pictures/image.h"
#include "scene/picture_library.h"
#include "scene/scene_view.h"

namespace mireforge {

class ScenePictures {
 public:
  // library may be null (none found); libraryProblem then says why.
  ScenePictures(std::unique_ptr<PictureLibrary> library, std::string libraryProblem = {});

  // The backdrop at its own size, or null when missing.
  const Image* Backdrop();
  // The ground already stretched to 512 x 160, or null when missing.
  const Image* Ground();
  // A terrain picture with its pure red made transparent (alpha 0), or null.
  const Image* Sprite(int code, int sizeClass);

  // Empty while everything asked for was found; else the first problem.
  const std::string& Notice() const { return notice_; }

 private:
  std::optional<Image> Decode(std::optional<std::string> bytes, const std::string& what);
  void Note(const std::string& problem);

  std::unique_ptr<PictureLibrary> library_;
  std::string notice_;
  bool backdropLoaded_ = false, groundLoaded_ = false;
  std::optional<Image> backdrop_, ground_;
  std::array<bool, TerrainCount * SizeClassCount> spriteLoaded_{};
  std::array<std::optional<Image>, TerrainCount * SizeClassCount> sprites_;
};

// Draws one frame into target (resized to 512 x 384): backdrop, ground, then
// the sprites in order. Missing pictures are drawn in plain colours.
void ComposeScene(Image& target, ScenePictures& pictures, const std::array<SceneSprite, SceneRowsPerView>& sprites);

}  // namespace mireforge
