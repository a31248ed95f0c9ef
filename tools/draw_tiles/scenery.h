#pragma once
// Pieces of scenery that both the tiles and the application pictures draw,
// so the icon and the side picture look like the map.
#include "canvas.h"

namespace drawtiles {

// Light comes from the upper left throughout; outlines are a warm near-black ink.
inline constexpr Rgb Ink = Hex(0x2A241C);
inline constexpr Rgb Snow = Hex(0xF4F8FC), SnowShade = Hex(0xC2D2E6);

double Smooth(double t);  // 0..1 eased, clamped

// Fractal noise whose grain is rounded so that it wraps every 32 units: tiles
// of the same kind then meet without a seam.
double TileFbm(double x, double y, double grain, int seed);
Paint Mottled(Rgb dark, Rgb light, double grain, int seed);

// A peak on the line y = base from left to right, lit on its left face, with a
// jagged snow cap snowDepth deep; clip keeps it inside a frame. An outline of
// width 0 draws none.
void Peak(Canvas& c, const Shape& clip, Point apex, double left, double right, double base, double snowDepth,
          const Paint& lit, const Paint& shade, double outline);

// A round tree crown of radius r seen from above, with its shadow.
void Tree(Canvas& c, double x, double y, double r, int seed);

}  // namespace drawtiles
