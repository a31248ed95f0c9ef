#pragma once
// Resizing a picture: nearest neighbour, or a separable kernel filter whose
// weights are worked out once per target column and once per target row.
#include <array>
#include <string_view>
#include <vector>

#include "pictures/image.h"

namespace mireforge {

// Item order of the import wizard's "Resize method" list.
enum class ResizeMethod { NearestNeighbor = 0, Linear = 1, Spline = 2, Lanczos = 3, Mitchell = 4 };

inline constexpr std::array<std::string_view, 5> ResizeMethodNames = {
    "Nearest neighbor", "Linear", "Spline", "Lanczos", "Mitchell"};

// The method of a list index; indexes outside the list give nearest neighbour.
ResizeMethod ResizeMethodOfIndex(int index);

// Kernel support in source pixels at scale 1 (0 for nearest neighbour).
double KernelRadius(ResizeMethod method);
// The kernel's value at distance t (unscaled).
double KernelWeight(ResizeMethod method, double t);

// Which source pixels make one target pixel along one axis, and how much each
// counts. Source positions beyond the edge are folded onto the edge pixel, so
// the taps of target i are the source indexes First[i] .. First[i] + Count[i] - 1
// with the weights Weights[Offset[i] ..], which sum to 1.
struct AxisWeights {
  std::vector<int> First;
  std::vector<int> Count;
  std::vector<int> Offset;
  std::vector<float> Weights;
};

// fullEdge: target pixel i covers the source span [i, i + 1) * src / dst, so
// the picture's outer half pixels count as much as the rest; off: the first and
// last target pixels sit exactly on the first and last source pixels.
AxisWeights ComputeAxisWeights(ResizeMethod method, int srcSize, int dstSize, bool fullEdge);

// The source index nearest-neighbour picks for target index i.
int NearestSourceIndex(int i, int srcSize, int dstSize, bool fullEdge);

// The whole picture resized to dstWidth x dstHeight; every result pixel is
// opaque and only R, G and B are filtered. Equal sizes give a plain copy.
// Throws Error for an empty source or a target size below 1.
Image Resample(const Image& source, int dstWidth, int dstHeight, ResizeMethod method, bool fullEdge);

}  // namespace mireforge
