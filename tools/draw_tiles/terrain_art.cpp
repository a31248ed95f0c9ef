#include "terrain_art.h"

#include <algorithm>
#include <cmath>

#include "scenery.h"

namespace drawtiles {
namespace {

constexpr double Pi = 3.14159265358979323846;

constexpr Rgb GrassLight = Hex(0x8DC063), Grass = Hex(0x6B9F48), GrassDark = Hex(0x4C7C33);
constexpr Rgb Tuft = Hex(0x3A6526);
constexpr Rgb StoneLight = Hex(0xD2CCBF), Stone = Hex(0xA8A295), StoneDark = Hex(0x6F6A60);
constexpr Rgb RoofRed = Hex(0xC04A30), RoofRedDark = Hex(0x7E2A1C);
constexpr Rgb Shadow = Hex(0x000000);

const Shape Whole = Box(0, 0, TileUnits, TileUnits);

// Value noise with periodX cells across and periodY cells down the tile.
double TileNoise(double x, double y, int periodX, int periodY, int seed) {
  return Noise(x * periodX / TileUnits, y * periodY / TileUnits, seed, periodX, periodY);
}

// Light on the left edge of [x0, x1], dark on the right: a rounded surface.
Paint Rounded(Rgb light, Rgb dark, double x0, double x1) {
  return [=](double x, double) { return Mix(light, dark, Smooth((x - x0) / (x1 - x0))); };
}

std::vector<Point> Closed(std::vector<Point> p) {
  p.push_back(p.front());
  return p;
}

std::vector<Point> BoxPoints(double x0, double y0, double x1, double y1) {
  return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

void Outline(Canvas& c, const std::vector<Point>& p, double width = 0.9) {
  c.Fill(Polyline(Closed(p), width), Ink);
}

void FillOutlined(Canvas& c, const std::vector<Point>& p, const Paint& paint, double width = 0.9) {
  c.Fill(Polygon(p), paint);
  Outline(c, p, width);
}

void GroundShadow(Canvas& c, double cx, double cy, double rx, double ry, double strength = 0.3) {
  c.Fill(Ellipse(cx, cy, rx, ry), Shadow, strength);
}

void GrassGround(Canvas& c, int seed) {
  c.Fill(Whole, Mottled(GrassDark, GrassLight, 7.0, seed));
  // Fine blades so the field does not look like felt.
  c.Fill(Whole, [=](double x, double y) { return TileNoise(x, y, 48, 24, seed + 9) > 0.72 ? GrassDark : GrassLight; }, 0.25);
}

// A tuft: blades fanning up from a root point, each dark with a lit edge.
void GrassTuft(Canvas& c, double x, double y, double size, Rgb colour = Tuft) {
  for (Point tip : {Point{-1.4, -1.5}, Point{-0.4, -2.4}, Point{0.6, -2.2}, Point{1.5, -1.3}}) {
    const Point end{x + tip.X * size, y + tip.Y * size};
    c.Fill(Segment({x, y}, end, 0.75), colour);
  }
}

void ScatterTufts(Canvas& c, int seed, int count, double size) {
  for (int i = 0; i < count; ++i)
    GrassTuft(c, 2 + 28 * Hash01(seed, 2 * i), 4 + 27 * Hash01(seed, 2 * i + 1), size);
}

// Merlons along the top of a wall from x0 to x1 whose top edge is at y.
std::vector<Point> CrenellatedBlock(double x0, double x1, double top, double bottom, int merlons) {
  const double step = (x1 - x0) / (2 * merlons - 1), notch = 1.7;
  std::vector<Point> p{{x0, bottom}};
  for (int i = 0; i < 2 * merlons - 1; ++i) {
    const double a = x0 + i * step, b = a + step, y = i % 2 == 0 ? top : top + notch;
    p.push_back({a, y});
    p.push_back({b, y});
  }
  p.push_back({x1, bottom});
  return p;
}

void Plains(Canvas& c) {
  GrassGround(c, 11);
  ScatterTufts(c, 12, 10, 1.5);
  for (int i = 0; i < 5; ++i) {
    const double x = 3 + 26 * Hash01(13, 2 * i), y = 3 + 26 * Hash01(13, 2 * i + 1);
    c.Fill(Circle(x, y, 0.75), i % 2 ? Hex(0xF3E27A) : Hex(0xF6F3E8));
  }
}

void Citadel(Canvas& c) {
  GrassGround(c, 21);
  GroundShadow(c, 17.5, 29.2, 15.5, 2.8);
  // Inner hall behind the curtain wall.
  FillOutlined(c, BoxPoints(11.5, 6.5, 20.5, 16), Rounded(StoneLight, StoneDark, 11.5, 20.5));
  FillOutlined(c, {{10.5, 7}, {16, 0.6}, {21.5, 7}}, Rounded(RoofRed, RoofRedDark, 12, 21));
  // Curtain wall with a gate.
  FillOutlined(c, CrenellatedBlock(6, 26, 12.5, 28.5, 5), Mottled(Stone, StoneLight, 3.0, 22));
  c.Fill(Union(Box(13.3, 21.5, 18.7, 28.5), Circle(16, 21.5, 2.7)), Hex(0x2B211A));
  c.Fill(Box(6.5, 17, 25.5, 17.6), StoneDark, 0.6);
  c.Fill(Box(6.5, 22.5, 13, 23.1), StoneDark, 0.6);
  c.Fill(Box(19, 22.5, 25.5, 23.1), StoneDark, 0.6);
  // Corner towers with pointed roofs.
  for (double x0 : {1.5, 23.5}) {
    const double x1 = x0 + 7;
    FillOutlined(c, BoxPoints(x0, 9, x1, 29.5), Rounded(StoneLight, StoneDark, x0, x1));
    c.Fill(Union(Box(x0 + 2.8, 14, x0 + 4.2, 17.5), Circle(x0 + 3.5, 14, 0.7)), Hex(0x2B211A));
    FillOutlined(c, {{x0 - 1.2, 10}, {x0 + 3.5, 1.2}, {x1 + 1.2, 10}}, Rounded(RoofRed, RoofRedDark, x0, x1));
  }
}

void Forest(Canvas& c) {
  c.Fill(Whole, Mottled(Hex(0x2A4F20), Hex(0x4C7A35), 5.0, 31));
  // Crowns sorted back to front so the lower ones overlap the upper ones.
  const Point crowns[] = {{6, 5},   {17, 4},  {27, 6},  {11, 12}, {23, 13}, {3, 17},
                          {16, 19}, {28, 20}, {8, 25},  {21, 27}, {31, 29}, {0, 29}};
  int seed = 32;
  for (const Point& p : crowns) {
    Tree(c, p.X, p.Y, 5.0 + Hash01(33, seed) * 1.3, seed);
    ++seed;
  }
}

void StandingStone(Canvas& c, double x, double base, double w, double h) {
  GroundShadow(c, x + w * 0.6, base, w * 1.1, 1.0, 0.35);
  std::vector<Point> p{{x - w / 2, base}, {x - w / 2 + 0.2, base - h + 0.8}, {x - w / 2 + 0.9, base - h},
                       {x + w / 2 - 0.6, base - h + 0.1}, {x + w / 2, base - h + 1.0}, {x + w / 2, base}};
  FillOutlined(c, p, Rounded(StoneLight, StoneDark, x - w / 2, x + w / 2), 0.8);
}

void Henge(Canvas& c) {
  GrassGround(c, 41);
  c.Fill(Ellipse(16, 18.5, 12.5, 10), Hex(0xA9C77A), 0.45);
  const double cx = 16, cy = 18.5, rx = 11.5, ry = 9.5;
  std::vector<Point> bases;
  for (int i = 0; i < 8; ++i) {
    // Turned off the axes, so that no two stones stand one above the other.
    const double a = (i * 45 + 33.5) * Pi / 180;
    bases.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
  }
  std::sort(bases.begin(), bases.end(), [](Point a, Point b) { return a.Y < b.Y; });
  for (std::size_t i = 0; i < bases.size(); ++i) {
    StandingStone(c, bases[i].X, bases[i].Y + 0.5, 4.0, 7.0);
    if (i == 1) {  // a lintel across the two back stones: a trilithon
      const double y = std::min(bases[0].Y, bases[1].Y) - 6.8;
      const double x0 = std::min(bases[0].X, bases[1].X) - 2.0, x1 = std::max(bases[0].X, bases[1].X) + 2.0;
      FillOutlined(c, BoxPoints(x0, y - 1.6, x1, y + 0.6), Rounded(StoneLight, Stone, x0, x1), 0.8);
    }
  }
}

void Tower(Canvas& c) {
  GrassGround(c, 51);
  ScatterTufts(c, 52, 4, 1.0);
  GroundShadow(c, 21, 29.6, 8, 1.9, 0.35);
  const double x0 = 12, x1 = 20;
  FillOutlined(c, BoxPoints(x0, 9, x1, 30), Rounded(StoneLight, StoneDark, x0, x1));
  for (double y : {14.0, 20.5}) c.Fill(Union(Box(15.2, y, 16.8, y + 2.6), Circle(16, y, 0.8)), Hex(0x2B211A));
  c.Fill(Union(Box(14.2, 26, 17.8, 30), Circle(16, 26, 1.8)), Hex(0x3D2A1A));
  c.Fill(Box(x0 + 0.5, 15.6, x1 - 0.5, 16.2), StoneDark, 0.5);
  c.Fill(Box(x0 + 0.5, 22.8, x1 - 0.5, 23.4), StoneDark, 0.5);
  FillOutlined(c, {{10, 10.5}, {16, 0.5}, {22, 10.5}}, Rounded(Hex(0x7480C0), Hex(0x2E3468), 11, 21));
}

void House(Canvas& c, double x, double y, double w, double h, Rgb roof, int seed) {
  const double eave = y + h * 0.48;
  GroundShadow(c, x + w * 0.6, y + h + 0.2, w * 0.65, 1.3, 0.3);
  FillOutlined(c, BoxPoints(x, eave, x + w, y + h), Mottled(Hex(0xD9C493), Hex(0xF1E4C0), 2.0, seed), 0.8);
  c.Fill(Box(x + w * 0.4, y + h - 3.2, x + w * 0.6, y + h), Hex(0x5A3A20));
  c.Fill(Box(x + 1.2, eave + 1.2, x + 2.8, eave + 2.6), Hex(0x3B4660));
  FillOutlined(c, {{x - 1, eave + 0.3}, {x + 1.8, y}, {x + w - 1.8, y}, {x + w + 1, eave + 0.3}},
               Rounded(roof, Scale(roof, 0.65), x, x + w), 0.8);
  c.Fill(Segment({x + 2.2, y + 1.0}, {x + w - 2.2, y + 1.0}, 0.5), Scale(roof, 1.25), 0.7);
}

void Village(Canvas& c) {
  GrassGround(c, 61);
  c.Fill(Polyline({{17, -1}, {16, 8}, {13.5, 16}, {15, 24}, {14, 33}}, 3.4), Mottled(Hex(0xA88A5C), Hex(0xC9AD7C), 2.0, 62));
  House(c, 1.5, 2, 11, 10, RoofRed, 63);
  House(c, 19.5, 4, 10, 9, Hex(0x9A5A2E), 64);
  House(c, 2.5, 19, 10, 10, Hex(0x9A5A2E), 65);
  House(c, 19, 20, 11, 10, RoofRed, 66);
}

// A dome of a hill: the upper half of an ellipse standing on y = base.
void Hill(Canvas& c, double cx, double base, double rx, double ry, int seed) {
  const Shape dome = Intersect(Ellipse(cx, base, rx, ry), Box(cx - rx, base - ry, cx + rx, base));
  c.Fill(Intersect(Ellipse(cx + 1.2, base, rx, ry * 0.45), Box(cx - rx, base, cx + rx + 2, base + ry)), Shadow, 0.25);
  // Lit on the upper left, falling into shade on the lower right.
  c.Fill(dome, [=](double x, double y) {
    const double shade = Smooth(0.45 + (x - cx) / rx * 0.55 + (y - base + ry * 0.5) / ry * 0.35);
    return Mix(Mix(Hex(0xC8C27C), Hex(0x716638), shade), Hex(0x96A05A), 0.2 * Fbm(x / 3, y / 3, seed));
  });
  c.Fill(Ellipse(cx - rx * 0.35, base - ry * 0.62, rx * 0.32, ry * 0.16), Hex(0xDDE0A0), 0.55);
  std::vector<Point> arc;
  for (int i = 0; i <= 24; ++i) {
    const double a = Pi * i / 24;
    arc.push_back({cx - rx * std::cos(a), base - ry * std::sin(a)});
  }
  c.Fill(Polyline(arc, 1.0), Hex(0x4A4024));
}

void Downs(Canvas& c) {
  c.Fill(Whole, Mottled(Hex(0x8EA455), Hex(0xB4C278), 6.0, 71));
  Hill(c, 9, 13, 10, 8, 72);
  Hill(c, 24, 19, 9.5, 7.5, 73);
  Hill(c, 10, 28, 10.5, 8, 74);
  Hill(c, 29, 33, 8, 6, 75);
  for (int i = 0; i < 4; ++i) GrassTuft(c, 3 + 26 * Hash01(76, i), 17 + 14 * Hash01(77, i), 0.9, Hex(0x5E6A30));
}

void Keep(Canvas& c) {
  GrassGround(c, 81);
  ScatterTufts(c, 82, 3, 1.0);
  GroundShadow(c, 20, 29.5, 11, 2.2, 0.35);
  // Side face first, then the crenellated front face.
  FillOutlined(c, {{22, 10}, {27, 7}, {27, 26.5}, {22, 29.5}}, Mottled(StoneDark, Stone, 3.0, 83));
  FillOutlined(c, {{22, 10}, {22, 8}, {24, 6.8}, {24, 8.8}, {25.2, 8.1}, {25.2, 6.1}, {27, 5}, {27, 7}},
               Mottled(StoneDark, Stone, 3.0, 84), 0.8);
  FillOutlined(c, CrenellatedBlock(6, 22, 7, 29.5, 4), Mottled(Stone, StoneLight, 3.0, 85));
  for (double y : {13.5, 18.5, 23.5}) c.Fill(Box(6.5, y, 21.5, y + 0.5), StoneDark, 0.5);
  for (double x : {10.0, 17.0}) c.Fill(Box(x, 11.5, x + 1.2, 15.5), Hex(0x2B211A));
  c.Fill(Union(Box(12, 24, 16, 29.5), Circle(14, 24, 2)), Hex(0x3D2A1A));
  // A red banner above the keep.
  c.Fill(Segment({24.5, 6.5}, {24.5, 0.6}, 0.7), Ink);
  FillOutlined(c, {{24.8, 0.8}, {30.5, 2.2}, {24.8, 4}}, [](double, double) { return RoofRed; }, 0.6);
}

void Snowhall(Canvas& c) {
  c.Fill(Whole, Mottled(SnowShade, Snow, 5.0, 91));
  GroundShadow(c, 17, 29.4, 15, 2.0, 0.2);
  const Rgb wood = Hex(0x6E4526);
  FillOutlined(c, BoxPoints(4, 17, 28, 29.5), [=](double x, double y) {
    return Mix(wood, Hex(0x8C5C34), 0.5 + 0.5 * std::sin(x * 2.4) * Noise(x, y / 3, 92));
  });
  c.Fill(Box(14, 22, 18, 29.5), Hex(0x2E1E12));
  c.Fill(Box(14.6, 22.6, 15.8, 29.5), Hex(0x4A3020));
  for (double x : {7.0, 22.0}) {
    c.Fill(Box(x - 0.6, 20.9, x + 3.6, 25.1), Ink);
    c.Fill(Box(x, 21.5, x + 3, 24.5), Hex(0xF6C85A));
  }
  // A steep roof under a thick blanket of snow, with icicles at the eaves.
  FillOutlined(c, {{1.5, 18.5}, {8, 5.5}, {24, 5.5}, {30.5, 18.5}}, [](double x, double y) {
    return Mix(Mix(Snow, SnowShade, Smooth((x - 6) / 24)), Hex(0xAFC1D8), Smooth((y - 12) / 8) * 0.5);
  });
  c.Fill(Polyline({{8, 5.5}, {24, 5.5}}, 1.1), Ink);
  for (int i = 0; i < 9; ++i) {
    const double x = 4 + i * 3.0, len = 1.6 + 1.4 * Hash01(93, i);
    c.Fill(Polygon({{x - 0.6, 18.6}, {x + 0.6, 18.6}, {x, 18.6 + len}}), Hex(0xDCEBFA));
  }
}

void Lake(Canvas& c) {
  c.Fill(Whole, [](double x, double y) {
    return Mix(Hex(0x23508F), Hex(0x3C78C0), 0.3 + 0.7 * TileFbm(x, y, 8, 101));
  });
  // Ripples: shallow arcs with a dark trough under each light crest.
  for (int i = 0; i < 9; ++i) {
    const double x = 3 + 26 * Hash01(102, 2 * i), y = 3 + 27 * Hash01(102, 2 * i + 1);
    const double w = 3 + 2.5 * Hash01(103, i);
    std::vector<Point> crest, trough;
    for (int k = 0; k <= 6; ++k) {
      const double t = k / 6.0, dx = (t - 0.5) * 2 * w, dy = -1.1 * std::sin(t * Pi);
      crest.push_back({x + dx, y + dy});
      trough.push_back({x + dx, y + dy + 0.9});
    }
    c.Fill(Polyline(trough, 0.7), Hex(0x1C4276), 0.7);
    c.Fill(Polyline(crest, 0.8), Hex(0xA9D0F5));
  }
  for (int i = 0; i < 6; ++i)
    c.Fill(Circle(2 + 28 * Hash01(104, 2 * i), 2 + 28 * Hash01(104, 2 * i + 1), 0.45), Hex(0xE6F3FF), 0.9);
}

void FrozenWastes(Canvas& c) {
  c.Fill(Whole, [](double x, double y) {
    return Mix(Hex(0xCADCEE), Snow, Smooth(TileFbm(x, y, 8, 111) * 1.6 - 0.3));
  });
  c.Fill(Whole, [](double x, double y) { return TileNoise(x, y, 10, 10, 112) > 0.7 ? Hex(0xB5CDE6) : Snow; }, 0.35);
  // Cracks leave each edge where they enter the opposite one, so they run on
  // across a field of these tiles.
  const std::vector<std::vector<Point>> cracks = {
      {{-1, 8}, {5, 10}, {9, 9}, {13, 11}, {18, 15}, {23, 14}, {27, 12}, {33, 8}},
      {{13, 11}, {14.5, 6}, {13, 2}, {14, -1}},
      {{18, 15}, {17, 21}, {20.5, 25}, {17, 29}, {14, 33}},
      {{-1, 25}, {4, 23.5}, {8, 26}, {11, 25}},
      {{20.5, 25}, {26, 26.5}, {33, 25}}};
  for (const auto& crack : cracks) {
    std::vector<Point> lit;
    for (Point p : crack) lit.push_back({p.X + 0.6, p.Y + 0.6});
    c.Fill(Polyline(lit, 0.7), Hex(0xFFFFFF));
    c.Fill(Polyline(crack, 0.9), Hex(0x6F8DB5));
  }
}

void Ruin(Canvas& c) {
  GrassGround(c, 121);
  ScatterTufts(c, 122, 5, 1.0);
  const Paint stone = [](double x, double y) {
    const Rgb base = Mix(Hex(0x8C8372), Hex(0xC4BBA6), Fbm(x / 2.5, y / 2.5, 123));
    return std::fmod(y, 3.0) < 0.45 ? Scale(base, 0.7) : base;  // mortar courses
  };
  GroundShadow(c, 10, 28.8, 9, 1.8, 0.3);
  GroundShadow(c, 24, 28.8, 8, 1.8, 0.3);
  FillOutlined(c, {{2.5, 28.5}, {2.5, 11}, {4.5, 8.5}, {5.8, 12}, {7.5, 7.5}, {9.2, 13}, {10.8, 12.5},
                   {12.5, 17}, {12.5, 28.5}}, stone);
  c.Fill(Union(Box(5.2, 18, 8.8, 24), Circle(7, 18, 1.8)), Hex(0x2F271E));
  FillOutlined(c, {{15.5, 28.5}, {15.5, 21}, {17.5, 18.5}, {19, 21.5}, {21, 17.5}, {23, 16.5}, {24.5, 19.5},
                   {26.2, 18.5}, {28.5, 22.5}, {28.5, 28.5}}, stone);
  // A broken column standing on its own.
  FillOutlined(c, {{21.5, 14}, {21.5, 6}, {22.8, 4.5}, {23.6, 6.2}, {25, 5}, {25, 14}},
               Rounded(StoneLight, StoneDark, 21.5, 25), 0.8);
  FillOutlined(c, BoxPoints(20.6, 13.5, 25.9, 15), Rounded(StoneLight, StoneDark, 20.6, 25.9), 0.7);
  // Fallen blocks and moss.
  for (int i = 0; i < 6; ++i) {
    const double x = 3 + 26 * Hash01(124, i), y = 28.5 + 2 * Hash01(125, i);
    FillOutlined(c, BoxPoints(x, y, x + 1.8, y + 1.3), Rounded(StoneLight, StoneDark, x, x + 1.8), 0.5);
  }
  for (int i = 0; i < 7; ++i)
    c.Fill(Circle(3 + 25 * Hash01(126, 2 * i), 12 + 15 * Hash01(126, 2 * i + 1), 0.7), Hex(0x5C8A34), 0.8);
}

void Lith(Canvas& c) {
  GrassGround(c, 131);
  ScatterTufts(c, 132, 5, 1.0);
  c.Fill(Polygon({{13, 29.5}, {20.5, 29.5}, {31, 23.5}, {28, 22}}), Shadow, 0.3);
  c.Fill(Ellipse(16, 29.3, 6.5, 1.8), Hex(0x6B5A3A), 0.6);
  const std::vector<Point> stone{{10.5, 29.5}, {10, 15}, {11.5, 6.5}, {14.5, 2.5}, {18, 3.5},
                                 {20.5, 10}, {21.5, 29.5}};
  c.Fill(Polygon(stone), Mottled(Hex(0x9D9A94), Hex(0xD8D4CC), 2.5, 133));
  c.Fill(Intersect(Polygon(stone), Subtract(Whole, LeftOfLine({15.5, 3}, {16.5, 29.5}))),
         Mottled(Hex(0x5E5B56), Hex(0x85817A), 2.5, 134));
  // Carved runes on the lit face.
  const Rgb rune = Hex(0x3E3A34);
  c.Fill(Polyline({{12.5, 12}, {13.5, 10}, {14.5, 12}}, 0.55), rune);
  c.Fill(Segment({13.5, 14}, {13.5, 18}, 0.55), rune);
  c.Fill(Segment({12.5, 15}, {14.5, 17}, 0.55), rune);
  c.Fill(Polyline({{12.5, 21}, {14.5, 21}, {12.5, 23.5}, {14.5, 23.5}}, 0.55), rune);
  Outline(c, stone);
}

void Cavern(Canvas& c) {
  GrassGround(c, 141);
  const std::vector<Point> mound{{-1, 31}, {0.5, 19}, {4, 11}, {10, 5.5}, {17, 4}, {24, 6.5},
                                 {29.5, 12}, {32.5, 19}, {33, 31}};
  c.Fill(Polygon(mound), [](double x, double y) {
    const double lit = Smooth((x - 4) / 26 * 0.7 + (y - 4) / 26 * 0.5);
    return Mix(Mix(Hex(0xB8A98C), Hex(0x6B5E4B), lit), Hex(0x8F8068), 0.4 * Fbm(x / 2.5, y / 2.5, 142));
  });
  const Rgb crack = Hex(0x4E4436);
  c.Fill(Polyline({{7, 12}, {9.5, 15}, {8.5, 18}}, 0.6), crack);
  c.Fill(Polyline({{22, 9}, {24, 12.5}, {27, 13.5}}, 0.6), crack);
  c.Fill(Polyline({{4, 22}, {6.5, 24}}, 0.6), crack);
  c.Fill(Polyline({{26, 21}, {28.5, 23.5}}, 0.6), crack);
  // The cave mouth: a dark arch fading to black inside.
  const Shape mouth = Intersect(Ellipse(16, 29, 7.8, 14), Box(0, 0, 32, 30));
  c.Fill(Intersect(Ellipse(16.6, 29, 8.8, 15), Box(0, 0, 32, 30)), Hex(0x4A3F31));
  c.Fill(mouth, [](double, double y) { return Mix(Hex(0x2A231C), Hex(0x050403), Smooth((y - 15) / 10)); });
  Outline(c, mound);
  c.Fill(Box(0, 30, 32, 32), Mottled(Hex(0x6B5E4B), Hex(0x8F8068), 2.0, 143));
  for (double x : {5.5, 25.0, 28.5})
    FillOutlined(c, {{x, 30.5}, {x + 0.6, 28.3}, {x + 2.2, 27.8}, {x + 3, 30.5}}, Rounded(StoneLight, StoneDark, x, x + 3), 0.6);
}

void Mountains(Canvas& c) {
  c.Fill(Whole, Mottled(Hex(0x85795F), Hex(0xA69A7C), 4.0, 151));
  const Paint lit = Mottled(Hex(0xA8977B), Hex(0xC9B99C), 2.0, 152), shade = Mottled(Hex(0x5E5244), Hex(0x7C6E5C), 2.0, 153);
  Peak(c, Whole, {20, 2.5}, 5, 35, 28, 9.0, lit, shade, 1.0);
  Peak(c, Whole, {9.5, 10}, -4, 23.5, 32, 7.0, lit, shade, 1.0);
  for (int i = 0; i < 5; ++i)
    c.Fill(Circle(2 + 28 * Hash01(156, i), 29 + 2.5 * Hash01(157, i), 0.6), Hex(0x4E4436), 0.7);
}

void NoTerrain(Canvas& c) {
  c.Fill(Whole, Hex(0x3A3A40));
  for (double k = -32; k < 32; k += 5) {
    c.Fill(Segment({k, 0}, {k + 32, 32}, 0.8), Hex(0x5A5A62));
    c.Fill(Segment({k + 32, 0}, {k, 32}, 0.8), Hex(0x5A5A62));
  }
  c.Fill(Polyline(Closed(BoxPoints(0.5, 0.5, 31.5, 31.5)), 1.0), Hex(0x2A2A2E));
}

// ---- retro signs -----------------------------------------------------------

constexpr Rgb Black = Hex(0x000000), RetroGrey = Hex(0xC0C0C0), RetroWhite = Hex(0xFFFFFF),
              RetroShade = Hex(0x808080);
constexpr double Pen = 2.0;

void Sign(Canvas& c, const std::vector<Point>& p) { c.Fill(Polygon(p), Black); }
void Stroke(Canvas& c, const std::vector<Point>& p) { c.Fill(Polyline(p, Pen), Black); }

void RetroSign(Canvas& c, int code) {
  switch (code) {
    case 0:  // plains: tufts of grass
      for (Point p : {Point{9, 14}, Point{23, 12}, Point{15, 26}})
        for (Point tip : {Point{p.X - 3.5, p.Y - 5}, Point{p.X, p.Y - 7}, Point{p.X + 3.5, p.Y - 5}})
          c.Fill(Segment(p, tip, 1.5), Black);
      break;
    case 1:  // citadel
      Sign(c, CrenellatedBlock(9, 23, 14, 26, 4));
      for (double x : {5.0, 22.0}) Sign(c, {{x, 26}, {x, 11}, {x + 2.5, 6}, {x + 5, 11}, {x + 5, 26}});
      c.Fill(Box(14, 20, 18, 26), RetroGrey);
      break;
    case 2:  // forest: firs
      for (Point p : {Point{10, 5}, Point{22, 8}, Point{15, 14}}) {
        Sign(c, {{p.X, p.Y}, {p.X + 5, p.Y + 8}, {p.X + 2.5, p.Y + 8}, {p.X + 6, p.Y + 13},
                 {p.X - 6, p.Y + 13}, {p.X - 2.5, p.Y + 8}, {p.X - 5, p.Y + 8}});
        c.Fill(Box(p.X - 1, p.Y + 13, p.X + 1, p.Y + 16), Black);
      }
      break;
    case 3:  // henge: a ring of stones under a lintel
      for (int i = 0; i < 8; ++i) {
        const double a = (i * 45 + 22.5) * Pi / 180, x = 16 + 10 * std::cos(a), y = 19 + 6 * std::sin(a);
        c.Fill(Box(x - 1.5, y - 4, x + 1.5, y + 1), Black);
      }
      c.Fill(Box(10, 7.5, 22, 10), Black);
      break;
    case 4:  // tower
      Sign(c, {{12, 28}, {12, 11}, {16, 3}, {20, 11}, {20, 28}});
      c.Fill(Box(15, 14, 17, 18), RetroGrey);
      break;
    case 5:  // village: houses
      for (Point p : {Point{4, 6}, Point{17, 10}, Point{8, 19}})
        Sign(c, {{p.X, p.Y + 10}, {p.X, p.Y + 4}, {p.X + 5, p.Y}, {p.X + 10, p.Y + 4}, {p.X + 10, p.Y + 10}});
      break;
    case 6:  // downs: rolling humps
      for (Point p : {Point{10, 14}, Point{22, 20}, Point{11, 27}}) {
        std::vector<Point> arc;
        for (int i = 0; i <= 12; ++i) arc.push_back({p.X - 7 * std::cos(Pi * i / 12), p.Y - 5 * std::sin(Pi * i / 12)});
        Stroke(c, arc);
      }
      break;
    case 7:  // keep: a crenellated block with a door
      Sign(c, CrenellatedBlock(8, 24, 7, 27, 4));
      c.Fill(Box(14, 20, 18, 27), RetroGrey);
      break;
    case 8:  // snowhall: a broad hall under snowflakes
      Sign(c, {{5, 27}, {5, 19}, {9, 13}, {23, 13}, {27, 19}, {27, 27}});
      c.Fill(Box(14, 21, 18, 27), RetroGrey);
      for (Point p : {Point{8, 6}, Point{16, 4}, Point{24, 7}}) {
        c.Fill(Segment({p.X - 2.5, p.Y}, {p.X + 2.5, p.Y}, 1.3), Black);
        c.Fill(Segment({p.X - 1.3, p.Y - 2.2}, {p.X + 1.3, p.Y + 2.2}, 1.3), Black);
        c.Fill(Segment({p.X + 1.3, p.Y - 2.2}, {p.X - 1.3, p.Y + 2.2}, 1.3), Black);
      }
      break;
    case 9:  // lake: waves
      for (double y : {10.0, 17.0, 24.0}) {
        std::vector<Point> wave;
        for (int i = 0; i <= 16; ++i) wave.push_back({5 + i * 22.0 / 16, y + 1.8 * std::sin(i * Pi / 4)});
        Stroke(c, wave);
      }
      break;
    case 10:  // frozen wastes: a big snowflake, six arms with barbs
      for (int i = 0; i < 6; ++i) {
        const double a = i * Pi / 3 + Pi / 2, dx = std::cos(a), dy = std::sin(a);
        Stroke(c, {{16, 16}, {16 + 12 * dx, 16 + 12 * dy}});
        const Point barb{16 + 7 * dx, 16 + 7 * dy};
        for (double turn : {-Pi / 4, Pi / 4})
          Stroke(c, {barb, {barb.X + 4 * std::cos(a + turn), barb.Y + 4 * std::sin(a + turn)}});
      }
      break;
    case 11:  // ruin: a broken wall
      Sign(c, {{5, 27}, {5, 12}, {8, 8}, {10, 14}, {13, 10}, {15, 17}, {18, 15}, {20, 20}, {24, 18}, {27, 22}, {27, 27}});
      c.Fill(Box(8, 18, 11, 23), RetroGrey);
      break;
    case 12: {  // lith: one standing stone, drawn hollow with a rune, on the ground
      const std::vector<Point> stone{{11, 27}, {10.5, 12}, {13, 5}, {18, 4}, {21, 11}, {21.5, 27}};
      Stroke(c, Closed(stone));
      Stroke(c, {{14, 11}, {16, 14}, {18, 11}});
      Stroke(c, {{16, 14}, {16, 22}});
      Stroke(c, {{5, 28}, {27, 28}});
      break;
    }
    case 13: {  // cavern: a mound with a black mouth
      std::vector<Point> arc;
      for (int i = 0; i <= 16; ++i) arc.push_back({16 - 12 * std::cos(Pi * i / 16), 27 - 20 * std::sin(Pi * i / 16)});
      Stroke(c, arc);
      c.Fill(Intersect(Ellipse(16, 27, 6, 9), Box(0, 0, 32, 27)), Black);
      Stroke(c, {{3, 27}, {29, 27}});
      break;
    }
    case 14:  // mountains: two peaks
      Stroke(c, {{3, 27}, {12, 8}, {17, 18}, {21, 11}, {29, 27}});
      Stroke(c, {{9, 14.5}, {12, 13}, {15, 14.5}});
      break;
    default:  // none: a faint cross
      c.Fill(Segment({11, 11}, {21, 21}, 1.2), RetroShade);
      c.Fill(Segment({21, 11}, {11, 21}, 1.2), RetroShade);
      break;
  }
}

}  // namespace

void DrawTerrainTile(Canvas& c, int code) {
  using Painter = void (*)(Canvas&);
  static constexpr Painter Painters[TerrainKinds] = {
      Plains, Citadel, Forest, Henge, Tower, Village, Downs, Keep,
      Snowhall, Lake, FrozenWastes, Ruin, Lith, Cavern, Mountains, NoTerrain};
  Painters[code & 15](c);
}

void DrawRetroTile(Canvas& c, int code) {
  c.Fill(Whole, RetroGrey);
  c.Fill(Box(0, 0, 32, 1), RetroWhite);
  c.Fill(Box(0, 0, 1, 32), RetroWhite);
  c.Fill(Box(0, 31, 32, 32), RetroShade);
  c.Fill(Box(31, 0, 32, 32), RetroShade);
  RetroSign(c, code);
}

}  // namespace drawtiles
