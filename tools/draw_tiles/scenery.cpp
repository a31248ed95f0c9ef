#include "scenery.h"

#include <algorithm>
#include <cmath>

namespace drawtiles {

namespace {
constexpr double TilePeriod = 32.0;  // the side of a tile in drawing units
}  // namespace

double Smooth(double t) {
  t = std::clamp(t, 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

double TileFbm(double x, double y, double grain, int seed) {
  const int period = std::max(1, int(std::lround(TilePeriod / grain)));
  const double cell = TilePeriod / period;
  return Fbm(x / cell, y / cell, seed, period);
}

Paint Mottled(Rgb dark, Rgb light, double grain, int seed) {
  return [=](double x, double y) { return Mix(dark, light, TileFbm(x, y, grain, seed)); };
}

void Peak(Canvas& c, const Shape& clip, Point apex, double left, double right, double base, double snowDepth,
          const Paint& lit, const Paint& shade, double outline) {
  const Point ridgeFoot{apex.X + (right - left) * 0.12, base};
  const Shape rock = Intersect(clip, Polygon({apex, {right, base}, {left, base}}));
  const Shape litSide = LeftOfLine(apex, ridgeFoot);
  c.Fill(rock, shade);
  c.Fill(Intersect(rock, litSide), lit);
  const double t = snowDepth / (base - apex.Y), y = apex.Y + snowDepth;
  const double lx = apex.X + (left - apex.X) * t, rx = apex.X + (right - apex.X) * t;
  std::vector<Point> snow{apex, {rx, y}};
  for (int i = 1; i < 6; ++i) snow.push_back({rx + (lx - rx) * i / 6, y + (i % 2 ? snowDepth * 0.18 : -snowDepth * 0.04)});
  snow.push_back({lx, y});
  const Shape cap = Intersect(rock, Polygon(snow));
  c.Fill(cap, SnowShade);
  c.Fill(Intersect(cap, litSide), Snow);
  const Point ridgeEnd{apex.X + (ridgeFoot.X - apex.X) * 0.7, apex.Y + (base - apex.Y) * 0.7};
  c.Fill(Intersect(clip, Segment(apex, ridgeEnd, outline * 0.5)), Hex(0x4A4036), 0.6);
  if (outline > 0) c.Fill(Intersect(clip, Polyline({{left, base}, apex, {right, base}}, outline)), Ink);
}

void Tree(Canvas& c, double x, double y, double r, int seed) {
  c.Fill(Ellipse(x + r * 0.35, y + r * 0.45, r * 1.05, r * 0.85), Hex(0x000000), 0.45);
  c.Fill(Circle(x, y, r + 0.6), Hex(0x16300F));
  c.Fill(Circle(x, y, r), Mottled(Hex(0x234F1C), Hex(0x3F7E2E), 2.0, seed));
  c.Fill(Circle(x - r * 0.3, y - r * 0.32, r * 0.55), Mottled(Hex(0x3F7E2E), Hex(0x66A548), 1.5, seed + 1));
  c.Fill(Circle(x - r * 0.4, y - r * 0.45, r * 0.2), Hex(0x8CC466), 0.7);
}

}  // namespace drawtiles
