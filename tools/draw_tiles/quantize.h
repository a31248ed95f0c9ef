#pragma once
// Turns true-colour drawings into indexed pictures.
#include <cstdint>
#include <vector>

#include "canvas.h"

namespace drawtiles {

struct Rgb8 {
  std::uint8_t R = 0, G = 0, B = 0;
  bool operator==(const Rgb8&) const = default;
};

inline constexpr Rgb8 Fuchsia{255, 0, 255};

Rgb8 ToRgb8(Rgb c);
// Perceived brightness, 0..255 (ITU-R BT.601 weights).
double Luma(Rgb8 c);

struct IndexedPicture {
  int Width = 0, Height = 0;
  std::vector<Rgb8> Palette;          // exactly paletteSize entries
  std::vector<std::uint8_t> Indexes;  // Width * Height, rows top to bottom
};

// Median cut refined by a few k-means rounds, then the palette sorted by
// brightness, so that showing an index as a grey level gives a sensible picture.
// Pixels whose alpha is below one half become the reserved transparent
// colour (fuchsia) when `transparency` is set; fuchsia then takes one entry.
IndexedPicture Quantize(int width, int height, const std::vector<Canvas::Pixel>& pixels,
                        int paletteSize, bool transparency);

// Maps each pixel to the nearest colour of a fixed palette (the retro look).
IndexedPicture MapToPalette(int width, int height, const std::vector<Canvas::Pixel>& pixels,
                            const std::vector<Rgb8>& palette);

}  // namespace drawtiles
