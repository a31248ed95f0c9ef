#pragma once
// A small vector painter for the artwork. Pictures are described in their own
// unit space (a tile is 32 x 32 units) and rendered supersampled at any pixel
// size, so the 32 px tile, the 16 px icon and the big app pictures all come
// from the same drawing.
#include <cstdint>
#include <functional>
#include <vector>

namespace drawtiles {

struct Rgb {
  double R = 0, G = 0, B = 0;
};

constexpr Rgb Hex(std::uint32_t rgb) {
  return {double((rgb >> 16) & 0xFF), double((rgb >> 8) & 0xFF), double(rgb & 0xFF)};
}
Rgb Mix(Rgb a, Rgb b, double t);
Rgb Scale(Rgb c, double factor);

struct Point {
  double X = 0, Y = 0;
};

// A region of the unit plane: an inside test and a bounding box that limits the work.
struct Shape {
  std::function<bool(double, double)> Inside;
  double X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
};

Shape Circle(double cx, double cy, double r);
Shape Ellipse(double cx, double cy, double rx, double ry);
Shape Box(double x0, double y0, double x1, double y1);
Shape Polygon(std::vector<Point> points);
Shape Segment(Point a, Point b, double width);  // a stroke with round caps
Shape Polyline(const std::vector<Point>& points, double width);
Shape Union(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);
Shape Subtract(Shape a, Shape b);
// For a line drawn from a down to b: the half plane on the picture's left of it.
Shape LeftOfLine(Point a, Point b);

// Smooth value noise in [0, 1], deterministic, one lattice cell per unit of
// x and y. With periods above 0 it repeats every periodX cells across and
// periodY cells down, so a texture can wrap seamlessly from tile to tile.
double Noise(double x, double y, int seed, int periodX = 0, int periodY = 0);
// Fractal sum of three octaves, in [0, 1]; the period as for Noise.
double Fbm(double x, double y, int seed, int period = 0);
// A deterministic pseudo-random number in [0, 1) for the n-th draw of a seed.
double Hash01(int seed, int n);

using Paint = std::function<Rgb(double, double)>;

class Canvas {
 public:
  // size: pixels per side (or width/height); units: unit-space width it shows.
  Canvas(int width, int height, double unitsWide, int supersample);

  void Fill(const Shape& shape, Rgb colour, double opacity = 1.0);
  void Fill(const Shape& shape, const Paint& paint, double opacity = 1.0);
  // Marks shape as see-through (alpha 0) in the rendered picture.
  void Clear(const Shape& shape);

  int Width() const { return width_; }
  int Height() const { return height_; }
  double UnitsWide() const { return units_; }
  double UnitsHigh() const { return units_ * height_ / width_; }

  // Box-filtered down to the pixel size; alpha is the covered share 0..1.
  struct Pixel {
    Rgb Colour;
    double Alpha = 1.0;
  };
  std::vector<Pixel> Resolve() const;

 private:
  template <class F>
  void ForEachSample(const Shape& shape, F&& f);

  int width_, height_, ss_;
  double units_, scale_;  // samples per unit
  std::vector<Rgb> colour_;
  std::vector<float> alpha_;
};

}  // namespace drawtiles
