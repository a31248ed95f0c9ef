#include "import/resampler.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>

#include "base/error.h"

namespace mireforge {

ResizeMethod ResizeMethodOfIndex(int index) {
  if (index < 0 || index >= static_cast<int>(ResizeMethodNames.size())) return ResizeMethod::NearestNeighbor;
  return static_cast<ResizeMethod>(index);
}

double KernelRadius(ResizeMethod method) {
  switch (method) {
    case ResizeMethod::Linear: return 1.0;
    case ResizeMethod::Spline: return 2.0;
    case ResizeMethod::Lanczos: return 3.0;
    case ResizeMethod::Mitchell: return 2.0;
    case ResizeMethod::NearestNeighbor: break;
  }
  return 0.0;
}

namespace {

double Sinc(double t) {
  if (t == 0.0) return 1.0;
  const double x = std::numbers::pi * t;
  return std::sin(x) / x;
}

}  // namespace

double KernelWeight(ResizeMethod method, double t) {
  const double a = std::fabs(t);
  switch (method) {
    case ResizeMethod::Linear:
      return a < 1.0 ? 1.0 - a : 0.0;
    case ResizeMethod::Spline:
      if (a < 1.0) return a * a * a / 2.0 - a * a + 2.0 / 3.0;
      if (a < 2.0) return (2.0 - a) * (2.0 - a) * (2.0 - a) / 6.0;
      return 0.0;
    case ResizeMethod::Lanczos:
      return a < 3.0 ? Sinc(t) * Sinc(t / 3.0) : 0.0;
    case ResizeMethod::Mitchell:
      if (a < 1.0) return (7.0 * a * a * a - 12.0 * a * a + 16.0 / 3.0) / 6.0;
      if (a < 2.0) return (-7.0 / 3.0 * a * a * a + 12.0 * a * a - 20.0 * a + 32.0 / 3.0) / 6.0;
      return 0.0;
    case ResizeMethod::NearestNeighbor:
      break;
  }
  return 0.0;
}

int NearestSourceIndex(int i, int srcSize, int dstSize, bool fullEdge) {
  if (fullEdge) return static_cast<int>(static_cast<std::int64_t>(i) * srcSize / dstSize);
  if (dstSize <= 1) return 0;  // a single target pixel has no spacing to scale by
  // i * (src - 1) / (dst - 1) rounded, halves to the even neighbour, in exact integers.
  const std::int64_t numerator = static_cast<std::int64_t>(i) * (srcSize - 1);
  const std::int64_t denominator = dstSize - 1;
  std::int64_t quotient = numerator / denominator;
  const std::int64_t twiceRest = 2 * (numerator % denominator);
  if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0)) ++quotient;
  return static_cast<int>(std::min<std::int64_t>(quotient, srcSize - 1));
}

AxisWeights ComputeAxisWeights(ResizeMethod method, int srcSize, int dstSize, bool fullEdge) {
  AxisWeights axis;
  axis.First.resize(dstSize);
  axis.Count.resize(dstSize);
  axis.Offset.resize(dstSize);
  if (method == ResizeMethod::NearestNeighbor) {
    axis.Weights.assign(dstSize, 1.0f);
    for (int i = 0; i < dstSize; ++i) {
      axis.First[i] = NearestSourceIndex(i, srcSize, dstSize, fullEdge);
      axis.Count[i] = 1;
      axis.Offset[i] = i;
    }
    return axis;
  }

  const double scale = static_cast<double>(srcSize) / dstSize;
  // Shrinking widens the kernel so that every source pixel contributes.
  const double stretch = std::max(1.0, scale);
  const double radius = KernelRadius(method) * stretch;
  const int span = static_cast<int>(std::ceil(2.0 * radius)) + 3;
  std::vector<double> taps(static_cast<std::size_t>(std::min(span, srcSize)));
  axis.Weights.reserve(static_cast<std::size_t>(dstSize) * taps.size());

  for (int i = 0; i < dstSize; ++i) {
    double centre = 0.0;
    if (fullEdge)
      centre = (i + 0.5) * scale - 0.5;
    else if (dstSize > 1)
      centre = static_cast<double>(i) * (srcSize - 1) / (dstSize - 1);
    const int from = static_cast<int>(std::floor(centre - radius));
    const int to = static_cast<int>(std::ceil(centre + radius));
    const int first = std::clamp(from, 0, srcSize - 1);
    const int last = std::clamp(to, 0, srcSize - 1);
    const int count = last - first + 1;
    std::fill(taps.begin(), taps.begin() + count, 0.0);
    double sum = 0.0;
    for (int x = from; x <= to; ++x) {
      const double w = KernelWeight(method, (x - centre) / stretch);
      taps[std::clamp(x, 0, srcSize - 1) - first] += w;
      sum += w;
    }
    axis.First[i] = first;
    axis.Count[i] = count;
    axis.Offset[i] = static_cast<int>(axis.Weights.size());
    if (std::fabs(sum) < 1e-9) {
      // No usable weight: fall back to the pixel under the centre.
      const int nearest = std::clamp(static_cast<int>(std::lround(centre)), 0, srcSize - 1);
      for (int k = 0; k < count; ++k) axis.Weights.push_back(first + k == nearest ? 1.0f : 0.0f);
      continue;
    }
    for (int k = 0; k < count; ++k) axis.Weights.push_back(static_cast<float>(taps[k] / sum));
  }
  return axis;
}

namespace {

std::uint32_t ToChannel(float value) {
  const float clamped = value < 0.0f ? 0.0f : (value > 255.0f ? 255.0f : value);
  return static_cast<std::uint32_t>(clamped + 0.5f);
}

}  // namespace

Image Resample(const Image& source, int dstWidth, int dstHeight, ResizeMethod method, bool fullEdge) {
  if (source.Empty()) throw Error("The picture to resize holds no pixels");
  if (dstWidth < 1 || dstHeight < 1) throw Error("A resized picture needs at least one pixel in each direction");
  const int srcWidth = source.Width;
  Image result(dstWidth, dstHeight);
  if (srcWidth == dstWidth && source.Height == dstHeight) {
    for (std::size_t k = 0; k < source.Pixels.size(); ++k) result.Pixels[k] = source.Pixels[k] | 0xFF000000u;
    return result;
  }

  const AxisWeights columns = ComputeAxisWeights(method, srcWidth, dstWidth, fullEdge);
  const AxisWeights rows = ComputeAxisWeights(method, source.Height, dstHeight, fullEdge);
  // One target row at a time: first the weighted sum of its source rows, kept
  // per channel at full precision, then the columns across that sum.
  std::vector<float> red(srcWidth), green(srcWidth), blue(srcWidth);
  for (int y = 0; y < dstHeight; ++y) {
    std::fill(red.begin(), red.end(), 0.0f);
    std::fill(green.begin(), green.end(), 0.0f);
    std::fill(blue.begin(), blue.end(), 0.0f);
    for (int k = 0; k < rows.Count[y]; ++k) {
      const float w = rows.Weights[rows.Offset[y] + k];
      const std::uint32_t* line = source.Pixels.data() + static_cast<std::size_t>(rows.First[y] + k) * srcWidth;
      float* r = red.data();
      float* g = green.data();
      float* b = blue.data();
      for (int x = 0; x < srcWidth; ++x) {
        const std::uint32_t p = line[x];
        r[x] += w * static_cast<float>(static_cast<int>((p >> 16) & 0xFF));
        g[x] += w * static_cast<float>(static_cast<int>((p >> 8) & 0xFF));
        b[x] += w * static_cast<float>(static_cast<int>(p & 0xFF));
      }
    }
    std::uint32_t* out = result.Pixels.data() + static_cast<std::size_t>(y) * dstWidth;
    for (int x = 0; x < dstWidth; ++x) {
      const float* w = columns.Weights.data() + columns.Offset[x];
      const int first = columns.First[x];
      float r = 0.0f, g = 0.0f, b = 0.0f;
      for (int k = 0; k < columns.Count[x]; ++k) {
        r += w[k] * red[first + k];
        g += w[k] * green[first + k];
        b += w[k] * blue[first + k];
      }
      out[x] = 0xFF000000u | (ToChannel(r) << 16) | (ToChannel(g) << 8) | ToChannel(b);
    }
  }
  return result;
}

}  // namespace mireforge
