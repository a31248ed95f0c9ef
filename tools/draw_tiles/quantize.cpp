#include "quantize.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <stdexcept>
#include <tuple>

namespace drawtiles {

Rgb8 ToRgb8(Rgb c) {
  auto channel = [](double v) { return std::uint8_t(std::clamp(std::lround(v), 0L, 255L)); };
  return {channel(c.R), channel(c.G), channel(c.B)};
}

double Luma(Rgb8 c) { return 0.299 * c.R + 0.587 * c.G + 0.114 * c.B; }

namespace {

struct Weighted {
  Rgb8 Colour;
  long Count;
};

int Distance(Rgb8 a, Rgb8 b) {
  const int dr = a.R - b.R, dg = a.G - b.G, db = a.B - b.B;
  return 2 * dr * dr + 4 * dg * dg + 3 * db * db;  // rough perceptual weights
}

// The closest entry, never the one at `skip` (the transparent colour).
std::uint8_t Nearest(const std::vector<Rgb8>& palette, Rgb8 c, int skip = -1) {
  int best = -1, bestDistance = 0;
  for (int i = 0; i < int(palette.size()); ++i) {
    if (i == skip) continue;
    if (int d = Distance(palette[i], c); best < 0 || d < bestDistance) best = i, bestDistance = d;
  }
  return std::uint8_t(best);
}

std::uint8_t Channel(Rgb8 c, int axis) { return axis == 0 ? c.R : axis == 1 ? c.G : c.B; }

std::vector<Rgb8> MedianCut(std::vector<Weighted> colours, int target) {
  using Range = std::pair<std::size_t, std::size_t>;  // [first, last) into colours
  std::vector<Range> boxes{{0, colours.size()}};
  auto spread = [&](Range r, int& axis) {
    std::array<int, 3> lo{255, 255, 255}, hi{0, 0, 0};
    for (std::size_t i = r.first; i < r.second; ++i)
      for (int a = 0; a < 3; ++a)
        lo[a] = std::min<int>(lo[a], Channel(colours[i].Colour, a)),
        hi[a] = std::max<int>(hi[a], Channel(colours[i].Colour, a));
    axis = 0;
    for (int a = 1; a < 3; ++a)
      if (hi[a] - lo[a] > hi[axis] - lo[axis]) axis = a;
    return hi[axis] - lo[axis];
  };
  while (int(boxes.size()) < target) {
    // Split the box with the largest spread weighted by its pixel count.
    int pick = -1, pickAxis = 0;
    double pickScore = 0;
    for (int b = 0; b < int(boxes.size()); ++b) {
      if (boxes[b].second - boxes[b].first < 2) continue;
      int axis;
      long count = 0;
      for (std::size_t i = boxes[b].first; i < boxes[b].second; ++i) count += colours[i].Count;
      const double score = spread(boxes[b], axis) * std::sqrt(double(count));
      if (score > pickScore) pick = b, pickAxis = axis, pickScore = score;
    }
    if (pick < 0) break;
    auto [first, last] = boxes[pick];
    std::sort(colours.begin() + first, colours.begin() + last, [&](const Weighted& a, const Weighted& b) {
      return Channel(a.Colour, pickAxis) < Channel(b.Colour, pickAxis);
    });
    long total = 0, running = 0;
    for (std::size_t i = first; i < last; ++i) total += colours[i].Count;
    std::size_t cut = first + 1;
    for (std::size_t i = first; i < last - 1; ++i) {
      running += colours[i].Count;
      cut = i + 1;
      if (running * 2 >= total) break;
    }
    boxes[pick] = {first, cut};
    boxes.push_back({cut, last});
  }
  std::vector<Rgb8> palette;
  for (auto [first, last] : boxes) {
    double r = 0, g = 0, b = 0, n = 0;
    for (std::size_t i = first; i < last; ++i)
      r += colours[i].Colour.R * double(colours[i].Count), g += colours[i].Colour.G * double(colours[i].Count),
          b += colours[i].Colour.B * double(colours[i].Count), n += colours[i].Count;
    palette.push_back(ToRgb8({r / n, g / n, b / n}));
  }
  return palette;
}

void Refine(std::vector<Rgb8>& palette, const std::vector<Weighted>& colours, int rounds) {
  for (int round = 0; round < rounds; ++round) {
    std::vector<std::array<double, 4>> sums(palette.size(), {0, 0, 0, 0});
    for (const Weighted& w : colours) {
      auto& s = sums[Nearest(palette, w.Colour)];
      s[0] += w.Colour.R * double(w.Count), s[1] += w.Colour.G * double(w.Count);
      s[2] += w.Colour.B * double(w.Count), s[3] += w.Count;
    }
    for (std::size_t i = 0; i < palette.size(); ++i)
      if (sums[i][3] > 0) palette[i] = ToRgb8({sums[i][0] / sums[i][3], sums[i][1] / sums[i][3], sums[i][2] / sums[i][3]});
  }
}

void SortByBrightness(std::vector<Rgb8>& palette) {
  std::sort(palette.begin(), palette.end(), [](Rgb8 a, Rgb8 b) {
    return std::make_tuple(Luma(a), a.R, a.G, a.B) < std::make_tuple(Luma(b), b.R, b.G, b.B);
  });
}

}  // namespace

IndexedPicture Quantize(int width, int height, const std::vector<Canvas::Pixel>& pixels, int paletteSize,
                        bool transparency) {
  std::map<std::tuple<int, int, int>, long> histogram;
  for (const auto& p : pixels) {
    if (transparency && p.Alpha < 0.5) continue;
    const Rgb8 c = ToRgb8(p.Colour);
    if (transparency && c == Fuchsia) throw std::runtime_error("a drawing uses the transparent colour");
    ++histogram[{c.R, c.G, c.B}];
  }
  std::vector<Weighted> colours;
  for (auto [key, count] : histogram)
    colours.push_back({{std::uint8_t(std::get<0>(key)), std::uint8_t(std::get<1>(key)), std::uint8_t(std::get<2>(key))}, count});

  const int opaqueEntries = paletteSize - (transparency ? 1 : 0);
  std::vector<Rgb8> palette;
  if (int(colours.size()) <= opaqueEntries) {
    for (const Weighted& w : colours) palette.push_back(w.Colour);
  } else {
    palette = MedianCut(colours, opaqueEntries);
    Refine(palette, colours, 6);
  }
  // Keep entries distinct, so the brightness order is strict and every index means one colour.
  SortByBrightness(palette);
  palette.erase(std::unique(palette.begin(), palette.end()), palette.end());
  if (transparency) palette.push_back(Fuchsia);
  // Unused entries are black, which sorts below every real entry.
  while (int(palette.size()) < paletteSize) palette.insert(palette.begin(), Rgb8{0, 0, 0});
  SortByBrightness(palette);

  IndexedPicture out{width, height, palette, {}};
  const int clear = transparency ? int(std::find(palette.begin(), palette.end(), Fuchsia) - palette.begin()) : -1;
  for (const auto& p : pixels)
    out.Indexes.push_back(clear >= 0 && p.Alpha < 0.5 ? std::uint8_t(clear) : Nearest(palette, ToRgb8(p.Colour), clear));
  return out;
}

IndexedPicture MapToPalette(int width, int height, const std::vector<Canvas::Pixel>& pixels,
                            const std::vector<Rgb8>& palette) {
  IndexedPicture out{width, height, palette, {}};
  for (const auto& p : pixels) out.Indexes.push_back(Nearest(palette, ToRgb8(p.Colour)));
  return out;
}

}  // namespace drawtiles
