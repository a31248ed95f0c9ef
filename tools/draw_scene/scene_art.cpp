#include "scene_art.h"

#include <algorithm>
#include <cmath>

#include "scenery.h"

namespace drawscene {
namespace {

using namespace drawtiles;

constexpr double Pi = 3.14159265358979323846;

constexpr Rgb StoneLight = Hex(0xC9C3B6), Stone = Hex(0x9A9487), StoneDark = Hex(0x5F5A52);
constexpr Rgb RoofRed = Hex(0xB5452E), RoofRedDark = Hex(0x6E2618);
constexpr Rgb Slate = Hex(0x5C6AA8), SlateDark = Hex(0x2A3060);
constexpr Rgb GrassLight = Hex(0x86B85A), Grass = Hex(0x5E9040), GrassDark = Hex(0x3C6A2A);
constexpr Rgb Doorway = Hex(0x1E1712);
constexpr Rgb Shadow = Hex(0x000000);

// Light from the left: a surface light on its left edge, dark on its right.
Paint Rounded(Rgb light, Rgb dark, double x0, double x1) {
  return [=](double x, double) { return Mix(light, dark, Smooth((x - x0) / (x1 - x0))); };
}

Paint Textured(Rgb light, Rgb dark, double x0, double x1, double grain, int seed) {
  return [=](double x, double y) {
    return Mix(Mix(light, dark, Smooth((x - x0) / (x1 - x0))), dark, 0.35 * Fbm(x / grain, y / grain, seed));
  };
}

std::vector<Point> BoxPoints(double x0, double y0, double x1, double y1) {
  return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

void Outlined(Canvas& c, const std::vector<Point>& p, const Paint& paint, double width = 0.8) {
  c.Fill(Polygon(p), paint);
  std::vector<Point> closed = p;
  closed.push_back(p.front());
  c.Fill(Polyline(closed, width), Ink);
}

double Base(const Canvas& c) { return c.UnitsHigh() - 1.5; }

void GroundShadow(Canvas& c, double cx, double cy, double rx, double ry) {
  c.Fill(Ellipse(cx, cy, rx, ry), Hex(0x22301A));
}

// A wall from x0 to x1 with merlons along its top.
std::vector<Point> Crenellated(double x0, double x1, double top, double bottom, int merlons, double notch) {
  const double step = (x1 - x0) / (2 * merlons - 1);
  std::vector<Point> p{{x0, bottom}};
  for (int i = 0; i < 2 * merlons - 1; ++i) {
    const double a = x0 + i * step, y = i % 2 == 0 ? top : top + notch;
    p.push_back({a, y});
    p.push_back({a + step, y});
  }
  p.push_back({x1, bottom});
  return p;
}

void ArchedOpening(Canvas& c, double cx, double bottom, double halfWidth, double height, Rgb colour = Doorway) {
  c.Fill(Union(Box(cx - halfWidth, bottom - height + halfWidth, cx + halfWidth, bottom),
               Circle(cx, bottom - height + halfWidth, halfWidth)),
         colour);
}

// A round tower with a pointed roof; its foot on y = base.
void RoundTower(Canvas& c, double x0, double x1, double top, double base, Rgb roof, Rgb roofDark, double roofHeight) {
  Outlined(c, BoxPoints(x0, top, x1, base), Textured(StoneLight, StoneDark, x0, x1, 4, 7));
  const double w = x1 - x0;
  for (double y = top + 6; y < base - 8; y += 12) ArchedOpening(c, (x0 + x1) / 2, y + 4, w * 0.08, w * 0.3);
  Outlined(c, {{x0 - w * 0.15, top + 1}, {(x0 + x1) / 2, top - roofHeight}, {x1 + w * 0.15, top + 1}},
           Rounded(roof, roofDark, x0, x1));
}

void Flag(Canvas& c, double x, double top, double size, Rgb colour) {
  c.Fill(Segment({x, top}, {x, top + size * 1.8}, size * 0.12), Ink);
  c.Fill(Polygon({{x, top}, {x + size * 1.2, top + size * 0.35}, {x, top + size * 0.7}}), colour);
}

void Grassland(Canvas& c, double cx, double base, double rx, double ry) {
  c.Fill(Ellipse(cx, base - ry * 0.2, rx, ry), [=](double x, double y) {
    return Mix(GrassDark, GrassLight, 0.3 + 0.5 * Fbm(x / 4, y / 2, 5));
  });
}

void Tuft(Canvas& c, double x, double y, double size, Rgb colour) {
  c.Fill(Segment({x, y}, {x - 1.1 * size, y - 2.0 * size}, 0.9), colour);
  c.Fill(Segment({x, y}, {x + 0.1 * size, y - 2.6 * size}, 0.9), colour);
  c.Fill(Segment({x, y}, {x + 1.2 * size, y - 1.9 * size}, 0.9), colour);
}

void Plains(Canvas& c) {
  const double b = Base(c);
  Grassland(c, 50, b, 46, 7);
  for (int i = 0; i < 16; ++i) {
    const double x = 10 + 80 * Hash01(3, 2 * i), y = b - 8 + 9 * Hash01(3, 2 * i + 1);
    Tuft(c, x, y, 2.2 + 1.5 * Hash01(4, i), i % 3 ? GrassDark : Hex(0x9CC46A));
  }
  for (int i = 0; i < 6; ++i)
    c.Fill(Circle(15 + 70 * Hash01(5, i), b - 6 + 6 * Hash01(6, i), 1.1), i % 2 ? Hex(0xF3E27A) : Hex(0xF6F3E8));
}

void Conifer(Canvas& c, double x, double base, double height, int seed) {
  const double w = height * 0.42;
  c.Fill(Box(x - w * 0.07, base - height * 0.2, x + w * 0.07, base), Hex(0x4A3322));
  for (int tier = 0; tier < 3; ++tier) {
    const double top = base - height + tier * height * 0.22, bottom = top + height * 0.45;
    const double half = w * (0.55 + 0.25 * tier) / 1.6;
    Outlined(c, {{x, top}, {x + half, bottom}, {x - half, bottom}},
             Textured(Hex(0x3F7A35), Hex(0x173A18), x - half, x + half, 3, seed + tier), 0.6);
  }
}

void Broadleaf(Canvas& c, double x, double base, double height, int seed) {
  const double r = height * 0.3;
  c.Fill(Box(x - r * 0.12, base - height * 0.45, x + r * 0.12, base), Hex(0x4A3322));
  const Shape crown = Union(Circle(x, base - height + r, r), Union(Circle(x - r * 0.6, base - height + r * 1.6, r * 0.75),
                                                                    Circle(x + r * 0.6, base - height + r * 1.6, r * 0.75)));
  c.Fill(crown, Textured(Hex(0x5E9A3E), Hex(0x21481A), x - r, x + r, 3, seed));
}

void Forest(Canvas& c) {
  const double b = Base(c);
  GroundShadow(c, 50, b - 2, 48, 5);
  struct T {
    double X, Lift, H;
    bool Pine;
  };
  const T trees[] = {{22, 9, 48, true}, {48, 11, 58, true}, {76, 8, 50, true}, {10, 5, 44, false},
                     {90, 4, 42, true}, {34, 3, 62, true},  {62, 2, 66, true}, {18, 0, 46, true},
                     {82, 0, 50, false}, {50, -1, 56, true}};
  int seed = 20;
  for (const T& t : trees) {
    if (t.Pine)
      Conifer(c, t.X, b - t.Lift, t.H, seed);
    else
      Broadleaf(c, t.X, b - t.Lift, t.H, seed);
    seed += 3;
  }
}

void Mountains(Canvas& c) {
  const double b = Base(c);
  const Shape all = Box(0, 0, FrameUnits, c.UnitsHigh());
  const Paint lit = Textured(Hex(0xA89A88), Hex(0x7A6E60), 0, 100, 5, 40);
  const Paint shade = Textured(Hex(0x6A5F54), Hex(0x3E3731), 0, 100, 5, 41);
  Peak(c, all, {66, 4}, 26, 100, b, 24, lit, shade, 0.9);
  Peak(c, all, {30, 16}, 0, 70, b, 18, lit, shade, 0.9);
  Peak(c, all, {84, 40}, 60, 100, b, 10, lit, shade, 0.8);
}

void Downs(Canvas& c) {
  const double b = Base(c);
  auto hill = [&](double cx, double rx, double ry, int seed) {
    const Shape dome = Intersect(Ellipse(cx, b, rx, ry), Box(cx - rx, b - ry, cx + rx, b));
    c.Fill(dome, [=](double x, double y) {
      const double lit = Smooth((x - cx) / rx * 0.7 + 0.5);
      return Mix(Mix(Hex(0xA9C46A), Hex(0x62883A), lit), Hex(0x7FA04E), 0.4 * Fbm(x / 5, y / 3, seed));
    });
    c.Fill(Intersect(dome, Polyline({{cx - rx, b}, {cx - rx * 0.6, b - ry * 0.8}, {cx, b - ry}, {cx + rx * 0.6, b - ry * 0.8},
                                     {cx + rx, b}}, 0.9)), Hex(0x4E6E2E));
  };
  hill(70, 32, 30, 1);
  hill(26, 30, 24, 2);
  hill(52, 28, 16, 3);
}

void Lake(Canvas& c) {
  const double b = Base(c);
  c.Fill(Ellipse(50, b - 9, 49, 10), Hex(0xB8A878));  // shore
  c.Fill(Ellipse(50, b - 9.5, 46, 8.2), [=](double x, double y) {
    return Mix(Hex(0x2E5F9A), Hex(0x6FA8DA), Smooth((y - (b - 17)) / 16) * 0.6 + 0.3 * Fbm(x / 6, y / 2, 9));
  });
  for (int i = 0; i < 7; ++i) {
    const double x = 18 + 64 * Hash01(11, i), y = b - 14 + 9 * Hash01(12, i);
    c.Fill(Segment({x - 5, y}, {x + 5, y}, 0.8), Hex(0xD8ECF8));
  }
  for (double x : {8.0, 14.0, 88.0, 93.0}) Tuft(c, x, b - 6, 2.4, GrassDark);
}

// A dome of snow standing on y = base, lit from the left.
void SnowDrift(Canvas& c, double base, double cx, double rx, double ry) {
  c.Fill(Intersect(Ellipse(cx, base, rx, ry), Box(cx - rx, base - ry, cx + rx, base)),
         [=](double x, double) { return Mix(Snow, SnowShade, Smooth((x - cx) / rx * 0.8 + 0.45)); });
}

void FrozenWastes(Canvas& c) {
  const double b = Base(c);
  SnowDrift(c, b, 28, 30, 18);
  SnowDrift(c, b, 74, 28, 14);
  SnowDrift(c, b, 50, 42, 8);
  for (const auto& [x, h] : {std::pair{40.0, 22.0}, {46.0, 14.0}, {80.0, 18.0}, {14.0, 12.0}}) {
    Outlined(c, {{x - 3.5, b - 4}, {x - 0.5, b - 4 - h}, {x + 3.5, b - 4}}, Rounded(Hex(0xE8F6FF), Hex(0x8CB8DC), x - 3, x + 3), 0.5);
  }
}

void Citadel(Canvas& c) {
  const double b = Base(c);
  GroundShadow(c, 50, b - 1, 49, 3.5);
  // Central keep behind the curtain wall.
  Outlined(c, BoxPoints(38, 24, 62, b - 10), Textured(StoneLight, StoneDark, 38, 62, 4, 1));
  Outlined(c, {{35, 25}, {50, 4}, {65, 25}}, Rounded(RoofRed, RoofRedDark, 38, 62));
  Flag(c, 50, -1, 5, Hex(0xE8C040));
  ArchedOpening(c, 44, 38, 1.6, 6);
  ArchedOpening(c, 56, 38, 1.6, 6);
  // Curtain wall with a gate.
  Outlined(c, Crenellated(10, 90, 50, b, 9, 3), Textured(Stone, StoneDark, 10, 90, 5, 2));
  ArchedOpening(c, 50, b, 7, 20);
  c.Fill(Box(43.5, b - 13, 56.5, b - 12.2), Hex(0x4A3A28));
  // Corner towers.
  RoundTower(c, 2, 20, 32, b, RoofRed, RoofRedDark, 18);
  RoundTower(c, 80, 98, 32, b, RoofRed, RoofRedDark, 18);
}

void Tower(Canvas& c) {
  const double b = Base(c);
  GroundShadow(c, 52, b - 1, 16, 2.5);
  RoundTower(c, 40, 60, 20, b, Slate, SlateDark, 18);
  ArchedOpening(c, 50, b, 3.5, 10, Hex(0x3D2A1A));
  Flag(c, 50, -1, 3.5, Hex(0xC83A2A));
}

void Keep(Canvas& c) {
  const double b = Base(c);
  GroundShadow(c, 50, b - 1, 34, 3);
  Outlined(c, Crenellated(22, 78, 30, b, 7, 4), Textured(StoneLight, StoneDark, 22, 78, 5, 3));
  c.Fill(Box(22.5, 42, 77.5, 43), StoneDark);
  for (double x : {34.0, 50.0, 66.0}) ArchedOpening(c, x, 55, 2, 7);
  ArchedOpening(c, 50, b, 6, 16, Hex(0x3D2A1A));
  // Two small corner turrets make it read as a fortress rather than a house.
  Outlined(c, Crenellated(16, 28, 24, 48, 3, 2.5), Textured(StoneLight, Stone, 16, 28, 4, 4));
  Outlined(c, Crenellated(72, 84, 24, 48, 3, 2.5), Textured(Stone, StoneDark, 72, 84, 4, 5));
  Flag(c, 50, 14, 5, Hex(0x2E5FC0));
}

void House(Canvas& c, double x, double base, double w, double h, Rgb roof, int seed) {
  const double eave = base - h * 0.55;
  Outlined(c, BoxPoints(x, eave, x + w, base), Textured(Hex(0xF1E4C0), Hex(0xB8A070), x, x + w, 3, seed), 0.6);
  c.Fill(Box(x + w * 0.4, base - h * 0.3, x + w * 0.6, base), Hex(0x5A3A20));
  c.Fill(Box(x + w * 0.12, eave + h * 0.1, x + w * 0.28, eave + h * 0.24), Hex(0xF4D060));
  Outlined(c, {{x - w * 0.1, eave + 0.5}, {x + w * 0.5, base - h}, {x + w * 1.1, eave + 0.5}}, Rounded(roof, Scale(roof, 0.6), x, x + w), 0.6);
}

void Village(Canvas& c) {
  const double b = Base(c);
  GroundShadow(c, 50, b - 2, 47, 4);
  for (int i = 0; i < 3; ++i) c.Fill(Circle(66 + i * 2, 42 - i * 5, 1.8 + i * 0.7), Hex(0xB8B8C8));  // chimney smoke
  House(c, 10, b - 12, 22, 26, Hex(0x9A5A2E), 1);
  House(c, 48, b - 14, 26, 32, RoofRed, 2);
  House(c, 72, b - 10, 20, 24, Hex(0x8A6A3A), 3);
  House(c, 2, b, 26, 30, RoofRed, 4);
  House(c, 34, b, 24, 28, Hex(0x9A5A2E), 5);
  House(c, 64, b, 30, 34, Hex(0xA04A2A), 6);
}

void Snowhall(Canvas& c) {
  const double b = Base(c);
  SnowDrift(c, b, 50, 50, 14);
  // A long hall of ice blocks under a steep snow roof.
  Outlined(c, BoxPoints(18, 44, 82, b - 6), [](double x, double y) {
    const bool joint = std::fmod(y, 6.0) < 0.6 || std::fmod(x + (std::fmod(y, 12.0) < 6 ? 0 : 4), 8.0) < 0.5;
    return joint ? Hex(0x8FB4D4) : Mix(Hex(0xDDEEFA), Hex(0xA8C8E4), Smooth((x - 18) / 64));
  });
  Outlined(c, {{12, 46}, {34, 14}, {66, 14}, {88, 46}}, Rounded(Snow, SnowShade, 12, 88));
  for (double x = 16; x < 86; x += 5) c.Fill(Polygon({{x, 46}, {x + 1.6, 46}, {x + 0.8, 52}}), Hex(0xC8E4F8));
  ArchedOpening(c, 50, b - 6, 6, 20, Hex(0xF0B050));  // warm light within
  for (double x : {30.0, 70.0}) ArchedOpening(c, x, 66, 3, 9, Hex(0xF0C068));
  SnowDrift(c, b, 50, 40, 7);
}

void StandingStone(Canvas& c, double x, double base, double w, double h, int seed) {
  Outlined(c, {{x - w / 2, base}, {x - w / 2 + w * 0.05, base - h + 1.5}, {x - w * 0.25, base - h}, {x + w * 0.3, base - h + 0.5},
               {x + w / 2, base - h + 2}, {x + w / 2, base}},
           Textured(StoneLight, StoneDark, x - w / 2, x + w / 2, 3, seed), 0.7);
}

void Henge(Canvas& c) {
  const double b = Base(c);
  Grassland(c, 50, b - 6, 48, 9);
  // Back ring, smaller and higher up, with a lintel across two stones.
  const double back = b - 14;
  for (double x : {22.0, 38.0, 62.0, 78.0}) StandingStone(c, x, back, 8, 26, int(x));
  Outlined(c, BoxPoints(33, back - 30, 67, back - 24), Rounded(StoneLight, Stone, 33, 67), 0.7);
  for (double x : {12.0, 88.0}) StandingStone(c, x, b - 6, 9, 30, int(x) + 1);
  // Front pair with its own lintel.
  StandingStone(c, 34, b, 11, 38, 3);
  StandingStone(c, 66, b, 11, 38, 4);
  Outlined(c, BoxPoints(26, b - 45, 74, b - 37), Rounded(StoneLight, StoneDark, 26, 74), 0.8);
}

void Lith(Canvas& c) {
  const double b = Base(c);
  GroundShadow(c, 56, b - 1, 16, 3);
  Outlined(c, {{42, b}, {43, 22}, {47, 10}, {53, 8}, {58, 14}, {59, b}},
           Textured(Hex(0x6E6A78), Hex(0x2E2A36), 42, 59, 3, 8), 1.0);
  // Carved signs glowing faintly.
  for (int i = 0; i < 4; ++i) {
    const double y = 26 + i * 12;
    c.Fill(Segment({48, y}, {53, y + 3}, 1.1), Hex(0x8CD8F0));
    c.Fill(Segment({53, y + 3}, {49, y + 7}, 1.1), Hex(0x8CD8F0));
  }
}

void Ruin(Canvas& c) {
  const double b = Base(c);
  // Broken wall stubs and a standing arch, grey stone with moss.
  const Paint stone = Textured(Hex(0xB0A898), Hex(0x5E574C), 0, 100, 4, 9);
  Outlined(c, {{6, b}, {6, 52}, {12, 46}, {16, 56}, {22, 50}, {24, b}}, stone);
  Outlined(c, {{34, b}, {34, 30}, {66, 30}, {66, b}, {58, b}, {58, 50}, {42, 50}, {42, b}}, stone);
  c.Fill(Union(Box(42, 44, 58, 52), Circle(50, 44, 8)), Doorway, 1.0);  // sky hole under the arch reads dark
  c.Fill(Polygon({{34, 30}, {40, 22}, {44, 30}}), Hex(0x8A8274));
  Outlined(c, {{74, b}, {74, 62}, {80, 58}, {84, 66}, {92, 60}, {94, b}}, stone);
  for (int i = 0; i < 9; ++i) {
    const double x = 8 + 84 * Hash01(31, i), r = 2 + 2.5 * Hash01(32, i);
    Outlined(c, {{x - r, b}, {x - r * 0.6, b - r * 1.2}, {x + r * 0.7, b - r}, {x + r, b}}, Rounded(Hex(0xA09888), Hex(0x5E574C), x - r, x + r), 0.5);
  }
  c.Fill(Intersect(Polygon({{34, 30}, {66, 30}, {66, 36}, {34, 34}}), Box(34, 30, 66, 36)), Hex(0x4E7A32));
}

void Cavern(Canvas& c) {
  const double b = Base(c);
  Outlined(c, {{4, b}, {14, 58}, {28, 40}, {44, 30}, {60, 34}, {78, 42}, {90, 60}, {98, b}},
           Textured(Hex(0x9A8A74), Hex(0x4A4034), 4, 98, 5, 13), 1.0);
  c.Fill(Polygon({{20, 54}, {44, 30}, {50, 36}, {30, 58}}), Hex(0xB4A48A), 0.6);
  // The cave mouth: a dark arch with a lighter lip.
  c.Fill(Intersect(Ellipse(52, b, 22, 30), Box(30, b - 30, 74, b)), Hex(0x6A5A48));
  c.Fill(Intersect(Ellipse(52, b, 18, 26), Box(34, b - 26, 70, b)), Hex(0x0E0A08));
  for (double x : {40.0, 48.0, 58.0, 64.0}) c.Fill(Polygon({{x - 2, b - 24 + std::abs(x - 52) * 0.5}, {x + 2, b - 24 + std::abs(x - 52) * 0.5}, {x, b - 17 + std::abs(x - 52) * 0.5}}), Hex(0x6A5A48));
}

void Nothing(Canvas& c) {
  // Unknown land: a low, dark bank of mist.
  const double b = Base(c);
  c.Fill(Intersect(Ellipse(50, b, 48, 16), Box(2, b - 16, 98, b)),
         [=](double x, double y) { return Mix(Hex(0x3A3848), Hex(0x6A6880), Fbm(x / 8, y / 4, 77)); });
}

}  // namespace

void DrawTerrain(Canvas& c, int code) {
  switch (code) {
    case 0: Plains(c); break;
    case 1: Citadel(c); break;
    case 2: Forest(c); break;
    case 3: Henge(c); break;
    case 4: Tower(c); break;
    case 5: Village(c); break;
    case 6: Downs(c); break;
    case 7: Keep(c); break;
    case 8: Snowhall(c); break;
    case 9: Lake(c); break;
    case 10: FrozenWastes(c); break;
    case 11: Ruin(c); break;
    case 12: Lith(c); break;
    case 13: Cavern(c); break;
    case 14: Mountains(c); break;
    default: Nothing(c); break;
  }
}

namespace {
std::uint32_t Pack(Rgb c) {
  auto v = [](double x) { return std::uint32_t(std::clamp(std::lround(x), 0L, 255L)); };
  return 0xFF000000u | v(c.R) << 16 | v(c.G) << 8 | v(c.B);
}
}  // namespace

std::vector<std::uint32_t> DrawSky(int width, int height, int horizon) {
  // Dusk: deep blue above, so the view's pale text stays readable, warm at the horizon.
  std::vector<std::uint32_t> pixels(std::size_t(width) * height);
  const Rgb top = Hex(0x10163A), middle = Hex(0x34407E), low = Hex(0x9A7890), glow = Hex(0xF0B478);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const double t = std::min(1.0, double(y) / horizon);
      Rgb c = t < 0.55 ? Mix(top, middle, t / 0.55) : t < 0.85 ? Mix(middle, low, (t - 0.55) / 0.3) : Mix(low, glow, (t - 0.85) / 0.15);
      // Long thin clouds lit from below.
      const double cloud = Smooth((Fbm(x / 90.0, y / 14.0, 7) - 0.55) * 4) * Smooth((t - 0.3) * 3);
      c = Mix(c, Mix(Hex(0x5A4E78), Hex(0xE8A488), t), cloud * 0.6);
      if (t < 0.5 && Hash01(x * 7919 + y, 3) > 0.9985) c = Mix(c, Hex(0xFFFFF0), 0.9 - t);
      pixels[std::size_t(y) * width + x] = Pack(c);
    }
  // A far range of hills against the glow.
  for (int x = 0; x < width; ++x) {
    const double ridge = horizon - 6 - 14 * Fbm(x / 60.0, 0.5, 11);
    for (int y = int(ridge); y < height; ++y) pixels[std::size_t(y) * width + x] = Pack(Mix(Hex(0x3A3C5C), Hex(0x4E5268), (y - ridge) / 20));
  }
  return pixels;
}

std::vector<std::uint32_t> DrawGround(int width, int height) {
  std::vector<std::uint32_t> pixels(std::size_t(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const double t = double(y) / (height - 1);  // 0 at the horizon, 1 nearest
      // Texture grows with nearness, as perspective would.
      const double scale = 4 + 40 * t * t;
      const double n = Fbm(x / scale, y / (scale * 0.35), 21);
      const Rgb far = Hex(0x4A5A48), near = Hex(0x4C7A30);
      Rgb c = Mix(far, near, Smooth(t * 1.4));
      c = Mix(c, Mix(Hex(0x3A5A24), Hex(0x7CA04C), n), 0.35 * t + 0.1);
      pixels[std::size_t(y) * width + x] = Pack(c);
    }
  return pixels;
}

}  // namespace drawscene
