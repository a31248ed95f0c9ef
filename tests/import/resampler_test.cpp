#include "import/resampler.h"

#include <gtest/gtest.h>

#include "base/error.h"

#include <cstdint>
#include <random>
#include <vector>

namespace mireforge {
namespace {

constexpr ResizeMethod AllMethods[] = {ResizeMethod::NearestNeighbor, ResizeMethod::Linear,
                                       ResizeMethod::Spline, ResizeMethod::Lanczos, ResizeMethod::Mitchell};

int Red(std::uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }

// A one-row picture (or one-column when vertical) of grey levels.
Image Strip(const std::vector<int>& levels, bool vertical) {
  const int n = static_cast<int>(levels.size());
  Image image(vertical ? 1 : n, vertical ? n : 1);
  for (int i = 0; i < n; ++i) image.Pixels[i] = Argb(levels[i], levels[i], levels[i]);
  return image;
}

std::vector<int> Levels(const Image& image) {
  std::vector<int> levels;
  for (std::uint32_t p : image.Pixels) levels.push_back(Red(p));
  return levels;
}

TEST(Resampler, NearestNeighbourPicksTheDescribedSourcePixels) {
  struct Case {
    int src, dst;
    bool fullEdge;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {4, 3, false, {0, 2, 3}},        // 1.5 goes to the even neighbour 2
      {6, 3, false, {0, 2, 5}},        // 2.5 goes to the even neighbour 2
      {3, 5, false, {0, 0, 1, 2, 2}},  // 0.5 -> 0, 1.5 -> 2
      {4, 3, true, {0, 1, 2}},
      {3, 5, true, {0, 0, 1, 1, 2}},
      {5, 1, false, {0}},
      {5, 1, true, {0}},
  };
  for (const Case& c : cases) {
    for (int i = 0; i < static_cast<int>(c.expected.size()); ++i)
      EXPECT_EQ(NearestSourceIndex(i, c.src, c.dst, c.fullEdge), c.expected[i])
          << c.src << "->" << c.dst << " full edge " << c.fullEdge << " at " << i;
  }
  EXPECT_EQ(NearestSourceIndex(511, 4096, 512, true), 4088);
  EXPECT_EQ(NearestSourceIndex(511, 4096, 512, false), 4095);

  // The same mapping runs along rows and columns of a whole picture.
  std::vector<int> levels = {10, 20, 30, 40, 50, 60};
  for (bool vertical : {false, true}) {
    const Image out = Resample(Strip(levels, vertical), vertical ? 1 : 3, vertical ? 3 : 1,
                               ResizeMethod::NearestNeighbor, false);
    EXPECT_EQ(Levels(out), (std::vector<int>{10, 30, 60})) << "vertical " << vertical;
  }
}

TEST(Resampler, EqualSizeIsAnOpaqueCopyWhateverTheMethod) {
  std::mt19937 random(7);
  Image source(7, 5);
  for (std::uint32_t& p : source.Pixels) p = random() & 0x7FFFFFFFu;  // alpha mostly not 255
  for (ResizeMethod method : AllMethods)
    for (bool fullEdge : {false, true}) {
      const Image out = Resample(source, 7, 5, method, fullEdge);
      ASSERT_EQ(out.Pixels.size(), source.Pixels.size());
      for (std::size_t k = 0; k < source.Pixels.size(); ++k)
        ASSERT_EQ(out.Pixels[k], source.Pixels[k] | 0xFF000000u) << static_cast<int>(method);
    }
}

TEST(Resampler, ConstantPicturesStayConstant) {
  struct Size {
    int srcW, srcH, dstW, dstH;
  };
  const Size sizes[] = {{37, 23, 10, 9}, {5, 4, 17, 13}, {40, 3, 7, 11}, {2, 2, 1, 1}, {1, 1, 6, 3}};
  const std::uint32_t color = Argb(200, 13, 255, 40);
  for (const Size& s : sizes)
    for (ResizeMethod method : AllMethods)
      for (bool fullEdge : {false, true}) {
        const Image out = Resample(Image(s.srcW, s.srcH, color), s.dstW, s.dstH, method, fullEdge);
        ASSERT_EQ(out.Width, s.dstW);
        ASSERT_EQ(out.Height, s.dstH);
        for (std::uint32_t p : out.Pixels)
          ASSERT_EQ(p, color | 0xFF000000u) << static_cast<int>(method) << " " << s.srcW << "x" << s.srcH;
      }
}

TEST(Resampler, ARampStaysMonotone) {
  Image ramp(64, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 64; ++x) ramp.At(x, y) = Argb(x * 4, x * 4, x * 4);
  for (ResizeMethod method : AllMethods)
    for (bool fullEdge : {false, true})
      for (int width : {20, 150}) {
        const Image out = Resample(ramp, width, 9, method, fullEdge);
        for (int y = 0; y < out.Height; ++y)
          for (int x = 1; x < out.Width; ++x)
            ASSERT_LE(Red(out.At(x - 1, y)), Red(out.At(x, y)))
                << static_cast<int>(method) << " full edge " << fullEdge << " width " << width << " at " << x;
        EXPECT_LT(Red(out.At(0, 0)), Red(out.At(width - 1, 8)));
      }
}

TEST(Resampler, FullEdgeMovesTheSamplePositions) {
  struct Case {
    std::vector<int> source;
    int dst;
    bool fullEdge;
    std::vector<int> expected;
  };
  const Case cases[] = {
      // Stretching: off puts the ends on the ends, on centres each target pixel on its span.
      {{0, 200}, 4, false, {0, 67, 133, 200}},
      {{0, 200}, 4, true, {0, 50, 150, 200}},
      // Shrinking by two widens the triangle to four pixels; beyond the edge counts as the edge.
      {{0, 80, 160, 240}, 2, false, {20, 220}},
      {{0, 80, 160, 240}, 2, true, {50, 190}},
  };
  for (const Case& c : cases)
    for (bool vertical : {false, true}) {
      const Image out = Resample(Strip(c.source, vertical), vertical ? 1 : c.dst, vertical ? c.dst : 1,
                                 ResizeMethod::Linear, c.fullEdge);
      EXPECT_EQ(Levels(out), c.expected) << "full edge " << c.fullEdge << " vertical " << vertical;
    }
}

TEST(Resampler, KernelShapesShowInTheImpulseResponse) {
  // A lone white pixel stretched from 5 to 9 samples the kernel at half steps
  // (target i sits at source position i / 2, the white pixel at 2).
  struct Case {
    ResizeMethod method;
    int target;
    int expected;
  };
  const Case cases[] = {
      {ResizeMethod::Linear, 4, 255},   {ResizeMethod::Linear, 2, 0},
      {ResizeMethod::Spline, 4, 170},   {ResizeMethod::Spline, 3, 122},   // 2/3 and 0.479 of 255
      {ResizeMethod::Lanczos, 4, 255},  {ResizeMethod::Lanczos, 3, 156},  {ResizeMethod::Lanczos, 2, 0},
      {ResizeMethod::Mitchell, 4, 227}, {ResizeMethod::Mitchell, 3, 136}, {ResizeMethod::Mitchell, 2, 14},
  };
  const Image impulse = Strip({0, 0, 255, 0, 0}, false);
  for (const Case& c : cases) {
    const Image out = Resample(impulse, 9, 1, c.method, false);
    EXPECT_EQ(Red(out.Pixels[c.target]), c.expected) << static_cast<int>(c.method) << " at " << c.target;
    EXPECT_EQ(out.Pixels[c.target], out.Pixels[8 - c.target]) << "symmetric";
  }
  // Lanczos rings below black next to a bright line: clamped, not wrapped.
  const Image ringing = Resample(Strip({0, 0, 0, 255, 255, 255}, false), 11, 1, ResizeMethod::Lanczos, false);
  EXPECT_EQ(Red(ringing.Pixels[3]), 0);
  EXPECT_EQ(Red(ringing.Pixels[7]), 255);
}

TEST(Resampler, WeightsOfEveryTargetPixelSumToOne) {
  for (ResizeMethod method : AllMethods)
    for (bool fullEdge : {false, true})
      for (auto [src, dst] : {std::pair{4096, 512}, {300, 512}, {3, 512}, {1, 7}, {513, 512}}) {
        const AxisWeights axis = ComputeAxisWeights(method, src, dst, fullEdge);
        ASSERT_EQ(axis.First.size(), static_cast<std::size_t>(dst));
        for (int i = 0; i < dst; ++i) {
          ASSERT_GE(axis.First[i], 0);
          ASSERT_LE(axis.First[i] + axis.Count[i], src);
          double sum = 0.0;
          for (int k = 0; k < axis.Count[i]; ++k) sum += axis.Weights[axis.Offset[i] + k];
          ASSERT_NEAR(sum, 1.0, 1e-5) << static_cast<int>(method) << " " << src << "->" << dst << " at " << i;
        }
      }
}

TEST(Resampler, RejectsEmptyPicturesAndTargets) {
  EXPECT_THROW(Resample(Image(), 4, 4, ResizeMethod::Linear, true), Error);
  EXPECT_THROW(Resample(Image(3, 3), 0, 4, ResizeMethod::Linear, true), Error);
  EXPECT_EQ(ResizeMethodOfIndex(3), ResizeMethod::Lanczos);
  EXPECT_EQ(ResizeMethodOfIndex(9), ResizeMethod::NearestNeighbor);
}

}  // namespace
}  // namespace mireforge
