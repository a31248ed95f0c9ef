#include "app_art.h"

#include <cmath>

#include "canvas.h"
#include "picture_files.h"
#include "scenery.h"

namespace drawtiles {
namespace {

constexpr double Pi = 3.14159265358979323846;

Paint Solid(Rgb colour) {
  return [=](double, double) { return colour; };
}

Shape RoundedBox(double x0, double y0, double x1, double y1, double r) {
  Shape s = Union(Box(x0 + r, y0, x1 - r, y1), Box(x0, y0 + r, x1, y1 - r));
  for (Point c : {Point{x0 + r, y0 + r}, Point{x1 - r, y0 + r}, Point{x0 + r, y1 - r}, Point{x1 - r, y1 - r}})
    s = Union(s, Circle(c.X, c.Y, r));
  return s;
}

Paint VerticalGradient(Rgb top, Rgb bottom, double y0, double y1) {
  return [=](double, double y) { return Mix(top, bottom, Smooth((y - y0) / (y1 - y0))); };
}

// The icon: a snowy peak over green land and a lake, on a rounded badge.
void DrawIcon(Canvas& c) {
  const Shape badge = RoundedBox(1, 1, 31, 31, 6.5);
  c.Clear(Box(0, 0, 32, 32));
  c.Fill(RoundedBox(0.2, 0.2, 31.8, 31.8, 7.3), Ink);
  c.Fill(badge, VerticalGradient(Hex(0x4F8FD8), Hex(0xD8ECFA), 1, 20));
  Peak(c, badge, {19.5, 5}, 4, 35, 24, 6.5, Solid(Hex(0xC4B08E)), Solid(Hex(0x6E604C)), 1.0);
  Peak(c, badge, {9, 11}, -4, 21, 26, 4.5, Solid(Hex(0xB5A383)), Solid(Hex(0x5E5242)), 1.0);
  c.Fill(Intersect(badge, Box(0, 22, 32, 32)), [](double x, double y) {
    return Mix(Hex(0x5E9A40), Hex(0x86C05C), 0.5 + 0.5 * Fbm(x / 3, y / 3, 7));
  });
  c.Fill(Intersect(badge, Polyline({{0, 22.3}, {32, 22.3}}, 0.9)), Hex(0x3C6428));
  c.Fill(Ellipse(20.5, 27.2, 8.5, 2.6), Hex(0x23508F));
  c.Fill(Ellipse(20.5, 26.9, 7.6, 2.0), Hex(0x3C78C0));
  c.Fill(Segment({16.5, 26.9}, {21, 26.9}, 0.6), Hex(0xA9D0F5));
  // A red pennant on the summit.
  c.Fill(Segment({19.5, 5.2}, {19.5, 1.8}, 0.8), Ink);
  c.Fill(Polygon({{19.9, 1.6}, {25, 2.7}, {19.9, 4.0}}), Hex(0xC04A30));
}

void Castle(Canvas& c, double x, double y, double s) {
  // (x, y): bottom left of the curtain wall; s: units per tile unit.
  auto box = [&](double x0, double y0, double x1, double y1, Rgb colour) {
    c.Fill(Box(x + x0 * s - 0.6, y - y1 * s - 0.6, x + x1 * s + 0.6, y - y0 * s + 0.6), Ink);
    c.Fill(Box(x + x0 * s, y - y1 * s, x + x1 * s, y - y0 * s), colour);
  };
  auto roof = [&](double x0, double x1, double base, double top) {
    const std::vector<Point> p{{x + x0 * s, y - base * s}, {x + (x0 + x1) / 2 * s, y - top * s}, {x + x1 * s, y - base * s}};
    c.Fill(Polyline({p[0], p[1], p[2], p[0]}, 1.2), Ink);
    c.Fill(Polygon(p), Hex(0xC04A30));
    c.Fill(Subtract(Polygon(p), LeftOfLine(p[1], {p[1].X, p[0].Y})), Hex(0x7E2A1C));
  };
  box(7, 11, 15, 22, Hex(0xB8B2A5));
  roof(6, 16, 22, 30);
  box(3, 0, 19, 13, Hex(0xC9C3B6));
  for (double m = 3; m < 19; m += 3.2) box(m, 13, m + 1.8, 14.5, Hex(0xC9C3B6));
  box(9.2, 0, 12.8, 5, Hex(0x2B211A));
  for (double t : {0.0, 17.0}) {
    box(t, 0, t + 5, 18, Hex(0xB0AA9C));
    roof(t - 1, t + 6, 18, 25);
  }
}

void House(Canvas& c, double x, double y, double w) {
  const double h = w * 0.8;
  c.Fill(Box(x - 0.6, y - h * 0.55 - 0.6, x + w + 0.6, y + 0.6), Ink);
  c.Fill(Box(x, y - h * 0.55, x + w, y), Hex(0xEEDFBA));
  c.Fill(Box(x + w * 0.4, y - h * 0.3, x + w * 0.6, y), Hex(0x5A3A20));
  const std::vector<Point> roof{{x - 1.2, y - h * 0.5}, {x + w * 0.2, y - h}, {x + w * 0.8, y - h}, {x + w + 1.2, y - h * 0.5}};
  c.Fill(Polyline({roof[0], roof[1], roof[2], roof[3], roof[0]}, 1.0), Ink);
  c.Fill(Polygon(roof), Hex(0xA65430));
}

// The side picture of the about box and the wizards: a tall landscape in the
// same style as the tiles, from snowy peaks down to a lake and open plains.
void DrawSidePicture(Canvas& c) {
  const double w = c.UnitsWide(), h = c.UnitsHigh();
  const Shape all = Box(0, 0, w, h);
  c.Fill(all, VerticalGradient(Hex(0x3E74C0), Hex(0xF3E2BE), 0, 150));
  c.Fill(Circle(118, 52, 22), Hex(0xFFF6D8), 0.25);
  c.Fill(Circle(118, 52, 12), Hex(0xFFF3C4));
  for (Point p : {Point{40, 38}, Point{96, 88}}) {
    for (int i = 0; i < 4; ++i) c.Fill(Ellipse(p.X + i * 8 - 12, p.Y - (i % 2) * 4, 10, 5.5), Hex(0xFFFFFF), 0.75);
  }
  // Distant blue range, then nearer brown peaks.
  const Rgb farLit = Hex(0xA9B6D2), farShade = Hex(0x6F7FA3);
  Peak(c, all, {30, 102}, -30, 80, 172, 20, Solid(farLit), Solid(farShade), 0);
  Peak(c, all, {88, 86}, 30, 150, 172, 24, Solid(farLit), Solid(farShade), 0);
  Peak(c, all, {148, 110}, 100, 200, 172, 18, Solid(farLit), Solid(farShade), 0);
  Peak(c, all, {40, 128}, 0, 92, 190, 16, Solid(Hex(0xC4B08E)), Solid(Hex(0x6E604C)), 1.2);
  Peak(c, all, {-2, 140}, -40, 40, 190, 12, Solid(Hex(0xB5A383)), Solid(Hex(0x5E5242)), 1.2);
  // Rolling green hills with the castle on the right one.
  c.Fill(Polygon({{0, 200}, {0, 186}, {30, 176}, {70, 184}, {104, 170}, {136, 166}, {164, 174}, {164, 240}, {0, 240}}),
         [](double x, double y) { return Mix(Hex(0x7DAE52), Hex(0x5E9040), Fbm(x / 9, y / 9, 3)); });
  c.Fill(Polyline({{0, 186}, {30, 176}, {70, 184}, {104, 170}, {136, 166}, {164, 174}}, 1.0), Hex(0x3C6428));
  Castle(c, 112, 176, 1.6);
  // Forest on the left, a village and the lake below.
  for (int i = 0; i < 16; ++i) {
    const double x = 6 + (i % 6) * 13 + (i / 6) * 5, y = 200 + (i / 6) * 10 + 4 * Hash01(5, i);
    Tree(c, x, y, 7 + 2 * Hash01(6, i), 40 + i);
  }
  c.Fill(Polygon({{0, 232}, {60, 224}, {164, 226}, {164, 314}, {0, 314}}),
         [](double x, double y) { return Mix(Hex(0x6B9F48), Hex(0x8DC063), Fbm(x / 7, y / 7, 9)); });
  for (int i = 0; i < 16; ++i) {  // trees in front of the meadow's edge
    if (i % 3 == 0) continue;
    Tree(c, 4 + i * 4.5, 230 + 3 * Hash01(7, i), 6, 60 + i);
  }
  c.Fill(Ellipse(112, 254, 50, 14), Hex(0x1C4276));
  c.Fill(Ellipse(112, 253, 48, 12.5), [](double x, double y) {
    return Mix(Hex(0x23508F), Hex(0x3C78C0), Fbm(x / 8, y / 8, 11));
  });
  for (int i = 0; i < 6; ++i) {
    const double x = 80 + 60 * Hash01(12, i), y = 246 + 12 * Hash01(13, i);
    c.Fill(Segment({x - 4, y}, {x + 4, y}, 1.0), Hex(0xA9D0F5));
  }
  c.Fill(Polyline({{70, 314}, {66, 292}, {54, 276}, {40, 262}, {34, 246}}, 5), Hex(0xC9AD7C));
  House(c, 14, 272, 12);
  House(c, 24, 290, 13);
  House(c, 84, 288, 12);
  // A standing stone in the foreground and tufts of grass.
  c.Fill(Ellipse(139, 303, 9, 2.4), Hex(0x000000), 0.3);
  const std::vector<Point> lith{{132, 304}, {131.5, 284}, {134, 274}, {139, 271}, {143, 278}, {144, 304}};
  c.Fill(Polygon(lith), Hex(0xC9C4BA));
  c.Fill(Intersect(Polygon(lith), Subtract(all, LeftOfLine({138, 271}, {139, 304}))), Hex(0x7A766E));
  c.Fill(Polyline({lith[0], lith[1], lith[2], lith[3], lith[4], lith[5]}, 1.1), Ink);
  for (int i = 0; i < 26; ++i) {
    const double x = 4 + 156 * Hash01(14, i), y = 270 + 42 * Hash01(15, i);
    for (double dx : {-1.8, 0.0, 1.8})
      c.Fill(Segment({x, y}, {x + dx, y - (dx == 0 ? 4 : 3)}, 0.8), Hex(0x3A6526));
  }
  c.Fill(Subtract(all, Box(1, 1, w - 1, h - 1)), Ink);
}

}  // namespace

void DrawAppPictures(const std::string& folder) {
  for (int size : {16, 32, 48, 64, 128, 256}) {
    Canvas icon(size, size, 32, 4);
    DrawIcon(icon);
    WritePng(folder + "/icon-" + std::to_string(size) + ".png", size, size, icon.Resolve());
  }
  Canvas side(164, 314, 164, 3);
  DrawSidePicture(side);
  WritePng(folder + "/side.png", 164, 314, side.Resolve());
}

}  // namespace drawtiles
