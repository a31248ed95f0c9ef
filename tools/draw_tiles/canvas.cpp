#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace drawtiles {

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

Rgb Scale(Rgb c, double f) { return {c.R * f, c.G * f, c.B * f}; }

Shape Circle(double cx, double cy, double r) {
  return {[=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; },
          cx - r, cy - r, cx + r, cy + r};
}

Shape Ellipse(double cx, double cy, double rx, double ry) {
  return {[=](double x, double y) {
            const double u = (x - cx) / rx, v = (y - cy) / ry;
            return u * u + v * v <= 1.0;
          },
          cx - rx, cy - ry, cx + rx, cy + ry};
}

Shape Box(double x0, double y0, double x1, double y1) {
  return {[=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; }, x0, y0, x1, y1};
}

Shape Polygon(std::vector<Point> p) {
  Shape s;
  s.X0 = s.Y0 = std::numeric_limits<double>::max();
  s.X1 = s.Y1 = std::numeric_limits<double>::lowest();
  for (const Point& q : p) {
    s.X0 = std::min(s.X0, q.X), s.Y0 = std::min(s.Y0, q.Y);
    s.X1 = std::max(s.X1, q.X), s.Y1 = std::max(s.Y1, q.Y);
  }
  s.Inside = [p = std::move(p)](double x, double y) {
    bool in = false;  // even-odd crossing rule
    for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
      if ((p[i].Y > y) != (p[j].Y > y) &&
          x < (p[j].X - p[i].X) * (y - p[i].Y) / (p[j].Y - p[i].Y) + p[i].X)
        in = !in;
    }
    return in;
  };
  return s;
}

Shape Segment(Point a, Point b, double width) {
  const double r = width / 2;
  const double dx = b.X - a.X, dy = b.Y - a.Y, len2 = dx * dx + dy * dy;
  return {[=](double x, double y) {
            double t = len2 > 0 ? ((x - a.X) * dx + (y - a.Y) * dy) / len2 : 0;
            t = std::clamp(t, 0.0, 1.0);
            const double ex = a.X + t * dx - x, ey = a.Y + t * dy - y;
            return ex * ex + ey * ey <= r * r;
          },
          std::min(a.X, b.X) - r, std::min(a.Y, b.Y) - r, std::max(a.X, b.X) + r,
          std::max(a.Y, b.Y) + r};
}

Shape Polyline(const std::vector<Point>& points, double width) {
  Shape s = Segment(points.at(0), points.at(std::min<std::size_t>(1, points.size() - 1)), width);
  for (std::size_t i = 2; i < points.size(); ++i) s = Union(s, Segment(points[i - 1], points[i], width));
  return s;
}

Shape Union(Shape a, Shape b) {
  Shape s;
  s.X0 = std::min(a.X0, b.X0), s.Y0 = std::min(a.Y0, b.Y0);
  s.X1 = std::max(a.X1, b.X1), s.Y1 = std::max(a.Y1, b.Y1);
  s.Inside = [a = std::move(a.Inside), b = std::move(b.Inside)](double x, double y) {
    return a(x, y) || b(x, y);
  };
  return s;
}

Shape Intersect(Shape a, Shape b) {
  Shape s;
  s.X0 = std::max(a.X0, b.X0), s.Y0 = std::max(a.Y0, b.Y0);
  s.X1 = std::min(a.X1, b.X1), s.Y1 = std::min(a.Y1, b.Y1);
  s.Inside = [a = std::move(a.Inside), b = std::move(b.Inside)](double x, double y) {
    return a(x, y) && b(x, y);
  };
  return s;
}

Shape Subtract(Shape a, Shape b) {
  Shape s = a;
  s.Inside = [a = std::move(a.Inside), b = std::move(b.Inside)](double x, double y) {
    return a(x, y) && !b(x, y);
  };
  return s;
}

Shape LeftOfLine(Point a, Point b) {
  constexpr double Far = 1e6;
  return {[=](double x, double y) { return (b.X - a.X) * (y - a.Y) - (b.Y - a.Y) * (x - a.X) >= 0; },
          -Far, -Far, Far, Far};
}

double Hash01(int seed, int n) {
  std::uint32_t h = static_cast<std::uint32_t>(seed) * 0x9E3779B1u ^ static_cast<std::uint32_t>(n) * 0x85EBCA77u;
  h ^= h >> 15, h *= 0x2C1B3C6Du, h ^= h >> 12, h *= 0x297A2D39u, h ^= h >> 15;
  return (h & 0xFFFFFF) / double(0x1000000);
}

static double Lattice(int x, int y, int seed, int periodX, int periodY) {
  if (periodX > 0) x = ((x % periodX) + periodX) % periodX;
  if (periodY > 0) y = ((y % periodY) + periodY) % periodY;
  return Hash01(seed, x * 7919 + y * 104729);
}

double Noise(double x, double y, int seed, int periodX, int periodY) {
  const double fx = std::floor(x), fy = std::floor(y);
  const int ix = int(fx), iy = int(fy);
  double tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx), ty = ty * ty * (3 - 2 * ty);
  const double a = Lattice(ix, iy, seed, periodX, periodY), b = Lattice(ix + 1, iy, seed, periodX, periodY);
  const double c = Lattice(ix, iy + 1, seed, periodX, periodY), d = Lattice(ix + 1, iy + 1, seed, periodX, periodY);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double Fbm(double x, double y, int seed, int period) {
  return (Noise(x, y, seed, period, period) * 4 + Noise(x * 2, y * 2, seed + 1, period * 2, period * 2) * 2 +
          Noise(x * 4, y * 4, seed + 2, period * 4, period * 4)) / 7;
}

Canvas::Canvas(int width, int height, double unitsWide, int supersample)
    : width_(width), height_(height), ss_(supersample), units_(unitsWide),
      scale_(width * supersample / unitsWide),
      colour_(std::size_t(width) * supersample * height * supersample),
      alpha_(colour_.size(), 1.0f) {}

template <class F>
void Canvas::ForEachSample(const Shape& shape, F&& f) {
  const int w = width_ * ss_, h = height_ * ss_;
  const int x0 = std::max(0, int(std::floor(shape.X0 * scale_)));
  const int y0 = std::max(0, int(std::floor(shape.Y0 * scale_)));
  const int x1 = std::min(w, int(std::ceil(shape.X1 * scale_)) + 1);
  const int y1 = std::min(h, int(std::ceil(shape.Y1 * scale_)) + 1);
  for (int sy = y0; sy < y1; ++sy)
    for (int sx = x0; sx < x1; ++sx) {
      const double ux = (sx + 0.5) / scale_, uy = (sy + 0.5) / scale_;
      if (shape.Inside(ux, uy)) f(std::size_t(sy) * w + sx, ux, uy);
    }
}

void Canvas::Fill(const Shape& shape, Rgb colour, double opacity) {
  ForEachSample(shape, [&](std::size_t i, double, double) {
    colour_[i] = Mix(colour_[i], colour, opacity);
    alpha_[i] = 1.0f;
  });
}

void Canvas::Fill(const Shape& shape, const Paint& paint, double opacity) {
  ForEachSample(shape, [&](std::size_t i, double x, double y) {
    colour_[i] = Mix(colour_[i], paint(x, y), opacity);
    alpha_[i] = 1.0f;
  });
}

void Canvas::Clear(const Shape& shape) {
  ForEachSample(shape, [&](std::size_t i, double, double) { alpha_[i] = 0.0f; });
}

std::vector<Canvas::Pixel> Canvas::Resolve() const {
  std::vector<Pixel> out(std::size_t(width_) * height_);
  const int w = width_ * ss_;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      Rgb sum;
      double a = 0;
      for (int j = 0; j < ss_; ++j)
        for (int i = 0; i < ss_; ++i) {
          const std::size_t k = std::size_t(y * ss_ + j) * w + (x * ss_ + i);
          sum.R += colour_[k].R * alpha_[k], sum.G += colour_[k].G * alpha_[k];
          sum.B += colour_[k].B * alpha_[k], a += alpha_[k];
        }
      Pixel& p = out[std::size_t(y) * width_ + x];
      p.Alpha = a / (ss_ * ss_);
      p.Colour = a > 0 ? Scale(sum, 1.0 / a) : Rgb{};
    }
  return out;
}

}  // namespace drawtiles
