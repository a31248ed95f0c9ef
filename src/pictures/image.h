#pragma once
// A decoded picture in memory: 32-bit pixels 0xAARRGGBB, rows top to bottom.
#include <cstdint>
#include <vector>

namespace mireforge {

struct Image {
  Image() = default;
  Image(int width, int height, std::uint32_t fill = 0xFF000000u)
      : Width(width), Height(height), Pixels(static_cast<std::size_t>(width) * height, fill) {}

  std::uint32_t& At(int x, int y) { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
  std::uint32_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
  bool Empty() const { return Width <= 0 || Height <= 0; }

  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;
};

inline constexpr std::uint32_t Argb(int r, int g, int b, int a = 255) {
  return (static_cast<std::uint32_t>(a) << 24) | (static_cast<std::uint32_t>(r) << 16) |
         (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

// A colour value 0x00BBGGRR as an opaque pixel 0xFFRRGGBB, and back (alpha dropped).
inline constexpr std::uint32_t ColorToPixel(std::uint32_t color) {
  return Argb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

inline constexpr std::uint32_t PixelToColor(std::uint32_t argb) {
  return ((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16);
}

}  // namespace mireforge
