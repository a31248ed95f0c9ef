#include "scene/scene_pictures.h"

#include <algorithm>

#include "pictures/png_codec.h"
#include "model/preview_palette.h"
#include "base/error.h"

namespace mireforge {

namespace {

// Dark enough for the pale text lines to stay readable.
constexpr std::uint32_t PlainSky = Argb(40, 56, 104);
constexpr std::uint32_t PlainGround = Argb(96, 128, 72);
constexpr std::uint32_t PureRed = 0x00FF0000u;
constexpr int GroundHeight = SceneHeight - GroundTop;
// Our pictures are at most 512 pixels wide; anything far larger is not a picture of the view.
constexpr int MaxSceneSide = 4096;

// Copies source onto target at (left, top), clipped; transparent pixels (alpha 0) are skipped.
void Blit(Image& target, const Image& source, int left, int top, bool keyed) {
  const int x0 = std::max(0, -left), x1 = std::min(source.Width, target.Width - left);
  const int y0 = std::max(0, -top), y1 = std::min(source.Height, target.Height - top);
  for (int y = y0; y < y1; ++y) {
    const std::uint32_t* from = &source.Pixels[static_cast<std::size_t>(y) * source.Width];
    std::uint32_t* to = &target.Pixels[static_cast<std::size_t>(y + top) * target.Width + left];
    if (!keyed) {
      std::copy(from + x0, from + x1, to + x0);
      continue;
    }
    for (int x = x0; x < x1; ++x)
      if (from[x] >> 24) to[x] = from[x];
  }
}

// A plain stand-in for a missing terrain picture: a mound in the terrain's
// map colour, as wide and high as the picture would be.
void PlainSprite(Image& target, const SceneSprite& sprite) {
  const int width = SpriteWidths[sprite.Size], height = SpriteHeight(sprite.Size);
  const int top = sprite.Top + height / 2, bottom = sprite.Top + height;
  const std::uint32_t colour = ColorToPixel(PreviewPalette[TerrainOf(sprite.Code)]);
  for (int y = std::max(0, top); y < std::min(target.Height, bottom); ++y) {
    const int inset = (bottom - y) * width / (3 * (bottom - top));
    const int x0 = std::max(0, sprite.Left + inset), x1 = std::min(target.Width, sprite.Left + width - inset);
    if (x1 > x0) std::fill(&target.At(x0, y), &target.At(x0, y) + (x1 - x0), colour);
  }
}

}  // namespace

ScenePictures::ScenePictures(std::unique_ptr<PictureLibrary> library, std::string libraryProblem)
    : library_(std::move(library)) {
  if (!libraryProblem.empty())
    Note(libraryProblem);
  else if (!library_)
    Note("No picture library");
}

void ScenePictures::Note(const std::string& problem) {
  if (notice_.empty()) notice_ = problem + " - the view is drawn in plain colours";
}

std::optional<Image> ScenePictures::Decode(std::optional<std::string> bytes, const std::string& what) {
  if (!bytes) {
    Note("Picture " + what + " is missing from " + library_->Location());
    return std::nullopt;
  }
  try {
    return DecodePng(AsBytes(*bytes), MaxSceneSide);
  } catch (const Error& error) {
    Note("Picture " + what + " cannot be read (" + error.what() + ")");
    return std::nullopt;
  }
}

const Image* ScenePictures::Backdrop() {
  if (!backdropLoaded_ && library_) {
    backdrop_ = Decode(library_->Picture(BackdropPicture), "20");
    if (backdrop_)
      for (std::uint32_t& pixel : backdrop_->Pixels) pixel |= 0xFF000000u;
  }
  backdropLoaded_ = true;
  return backdrop_ ? &*backdrop_ : nullptr;
}

const Image* ScenePictures::Ground() {
  if (!groundLoaded_ && library_) {
    if (std::optional<Image> picture = Decode(library_->Picture(GroundPicture), "21"); picture && !picture->Empty()) {
      // Stretched once here, so a repaint only copies.
      Image stretched(SceneWidth, GroundHeight);
      for (int y = 0; y < GroundHeight; ++y) {
        const int sy = y * picture->Height / GroundHeight;
        for (int x = 0; x < SceneWidth; ++x) stretched.At(x, y) = picture->At(x * picture->Width / SceneWidth, sy) | 0xFF000000u;
      }
      ground_ = std::move(stretched);
    }
  }
  groundLoaded_ = true;
  return ground_ ? &*ground_ : nullptr;
}

const Image* ScenePictures::Sprite(int code, int sizeClass) {
  if (code < 0 || code >= TerrainCount || sizeClass < 0 || sizeClass >= SizeClassCount) return nullptr;
  const std::size_t slot = static_cast<std::size_t>(code) * SizeClassCount + sizeClass;
  if (!spriteLoaded_[slot] && library_) {
    const std::string name = SpriteName(code, sizeClass);
    sprites_[slot] = Decode(library_->Picture(name), name);
    if (sprites_[slot])
      for (std::uint32_t& pixel : sprites_[slot]->Pixels)
        pixel = ((pixel & 0x00FFFFFFu) == PureRed || (pixel >> 24) < 128) ? 0u : (pixel | 0xFF000000u);
  }
  spriteLoaded_[slot] = true;
  return sprites_[slot] ? &*sprites_[slot] : nullptr;
}

void ComposeScene(Image& target, ScenePictures& pictures, const std::array<SceneSprite, SceneRowsPerView>& sprites) {
  if (target.Width != SceneWidth || target.Height != SceneHeight) target = Image(SceneWidth, SceneHeight);
  const auto groundStart = target.Pixels.begin() + static_cast<std::ptrdiff_t>(GroundTop) * SceneWidth;
  std::fill(target.Pixels.begin(), groundStart, PlainSky);
  if (const Image* backdrop = pictures.Backdrop()) Blit(target, *backdrop, 0, 0, false);
  if (const Image* ground = pictures.Ground())
    std::copy(ground->Pixels.begin(), ground->Pixels.end(), groundStart);
  else
    std::fill(groundStart, target.Pixels.end(), PlainGround);
  for (const SceneSprite& sprite : sprites) {
    if (const Image* picture = pictures.Sprite(sprite.Code, sprite.Size))
      Blit(target, *picture, sprite.Left, sprite.Top, true);
    else
      PlainSprite(target, sprite);
  }
}

}  // namespace mireforge
