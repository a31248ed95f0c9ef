#include "generate/plasma.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "generate/rare_terrain.h"
#include "base/error.h"
#include "model/terrain.h"

namespace mireforge {

namespace {

// A work grid value, as a type of its own: a store through a plain byte could
// alias anything, and the subdivision would reload its seed and pointers after each.
enum class Level : std::uint8_t {};

// The work grid at four times the map's size. Stored column by column (cell
// (x, y) at x * height + y) so that the column-wise smoothing pass walks
// contiguous memory; every other step only cares about coordinates.
class WorkGrid {
 public:
  WorkGrid(int width, int height)
      : width_(width), height_(height), cells_(static_cast<std::size_t>(width) * height, Level{0}) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  std::uint8_t& At(int x, int y) { return Column(x)[y]; }
  std::uint8_t* Column(int x) { return reinterpret_cast<std::uint8_t*>(Levels() + static_cast<std::size_t>(x) * height_); }
  Level* Levels() { return cells_.data(); }

 private:
  int width_;
  int height_;
  std::vector<Level> cells_;
};

class Subdivider {
 public:
  Subdivider(WorkGrid& work, RandomSource& random, std::uint8_t avgHeight)
      : work_(work),
        random_(random),
        cells_(work.Levels()),
        height_(static_cast<std::size_t>(work.Height())),
        remainder_(MaxQuotient(work) + 1),
        seed_(static_cast<std::uint32_t>(random.RandomSeed)) {
    // Every displaced value is a small non-negative quotient: a table of its
    // remainders spares a division per call.
    for (std::size_t q = 0; q < remainder_.size(); ++q) remainder_[q] = static_cast<Level>(q % avgHeight);
  }

  void Run() {
    const auto right = static_cast<std::uint16_t>(work_.Width() - 1);
    const auto bottom = static_cast<std::uint16_t>(work_.Height() - 1);
    if (Splits(0, 0, right, bottom)) Subdivide(0, 0, right, bottom);
    random_.RandomSeed = static_cast<std::int32_t>(seed_);
  }

 private:
  static bool Splits(int x1, int y1, int x2, int y2) { return x2 - x1 >= 2 || y2 - y1 >= 2; }

  // Corner values are below 256 and d is largest for the whole grid.
  static std::size_t MaxQuotient(const WorkGrid& work) {
    const int d = ((work.Width() - 1) + (work.Height() - 1)) * 5 / 3;
    return static_cast<std::size_t>((2 * 255 + d) / 2);
  }

  Level& At(int x, int y) { return cells_[static_cast<std::size_t>(x) * height_ + static_cast<std::size_t>(y)]; }
  int Value(int x, int y) { return static_cast<int>(At(x, y)); }

  // Only called for squares that still split, so leaves cost no call.
  void Subdivide(std::uint16_t x1, std::uint16_t y1, std::uint16_t x2, std::uint16_t y2) {
    SetPoints(x1, y1, x2, y2);
    const auto xm = static_cast<std::uint16_t>((x1 + x2) / 2);
    const auto ym = static_cast<std::uint16_t>((y1 + y2) / 2);
    Quarter(x1, y1, xm, ym);
    Quarter(xm, y1, x2, ym);
    Quarter(x1, ym, xm, y2);
    Quarter(xm, ym, x2, y2);
  }

  // Squares of two steps a side are most of the calls: done in place, without a
  // call, and their quarters no longer split.
  [[gnu::always_inline]] void Quarter(std::uint16_t x1, std::uint16_t y1, std::uint16_t x2, std::uint16_t y2) {
    if (x2 - x1 == 2 && y2 - y1 == 2) SetPoints(x1, y1, x2, y2);
    else if (Splits(x1, y1, x2, y2)) Subdivide(x1, y1, x2, y2);
  }

  // The square's edge midpoints and centre, from its corners.
  [[gnu::always_inline]] void SetPoints(std::uint16_t x1, std::uint16_t y1, std::uint16_t x2, std::uint16_t y2) {
    const int tl = Value(x1, y1);
    const int bl = Value(x1, y2);
    const int tr = Value(x2, y1);
    const int br = Value(x2, y2);
    const auto xm = static_cast<std::uint16_t>((x1 + x2) / 2);
    const auto ym = static_cast<std::uint16_t>((y1 + y2) / 2);
    const int d = ((x2 - x1) + (y2 - y1)) * 5 / 3;
    // A midpoint shared with a neighbouring square keeps the first value set;
    // a value that came out as 0 counts as unset.
    SetIfUnset(At(xm, y1), tl + tr, d);
    SetIfUnset(At(x1, ym), tl + bl, d);
    SetIfUnset(At(x2, ym), tr + br, d);
    SetIfUnset(At(xm, y2), bl + br, d);
    At(xm, ym) = Displace(tl + bl + tr + br, d, 2);
  }

  void SetIfUnset(Level& cell, int sum, int d) {
    if (cell == Level{0}) cell = Displace(sum, d, 1);
  }
  // ((sum + d - RandomInt(d)) div divisor) mod AvgHeight, with divisor 2 or 4
  // given as a shift; the bumped sum is never negative.
  Level Displace(int sum, int d, int shift) {
    seed_ = RandomSource::Next(seed_);
    const int bumped = sum + d - static_cast<int>(RandomSource::Scale(seed_, static_cast<std::uint32_t>(d)));
    return remainder_[static_cast<unsigned>(bumped) >> shift];
  }

  WorkGrid& work_;
  RandomSource& random_;
  Level* cells_;
  std::size_t height_;
  std::vector<Level> remainder_;
  std::uint32_t seed_;  // the random source's, held here while subdividing
};

// Every cell becomes the sum of the 4 x 5 block around it (one column left, two
// right, two rows up and down, wrapping at the edges) divided by smoothLevel.
// The pass runs in place, column by column and each column top to bottom, so a
// cell reads the smoothed values of every cell visited before it. Within one
// column only the column itself changes: everything a cell reads except the two
// cells just above it is summed beforehand, which leaves a short chain from
// one cell to the next.
void SmoothWorkGrid(WorkGrid& work, std::int32_t smoothLevel) {
  const int width = work.Width();
  const int height = work.Height();  // at least 4, so a five-row window holds each cell once
  constexpr int MaxSum = 20 * 255;
  std::array<std::uint8_t, MaxSum + 1> quotient{};
  for (int sum = 0; sum <= MaxSum; ++sum) quotient[sum] = static_cast<std::uint8_t>(sum / smoothLevel);
  // Exact for every sum up to MaxSum: the rounding error stays below 1 / smoothLevel.
  const bool fitsByte = MaxSum / smoothLevel < 256;
  const std::uint64_t reciprocal = ((std::uint64_t{1} << 32) + smoothLevel - 1) / smoothLevel;

  // Neighbour row sums, padded by two rows of wrap-around at each end.
  std::vector<int> sidePadded(static_cast<std::size_t>(height) + 4);
  std::vector<int> known(height);
  for (int x = 0; x < width; ++x) {
    const std::uint8_t* left = work.Column(x == 0 ? width - 1 : x - 1);
    const std::uint8_t* right1 = work.Column((x + 1) % width);
    const std::uint8_t* right2 = work.Column((x + 2) % width);
    int* side = sidePadded.data() + 2;
    for (int y = 0; y < height; ++y) side[y] = left[y] + right1[y] + right2[y];
    side[-2] = side[height - 2];
    side[-1] = side[height - 1];
    side[height] = side[0];
    side[height + 1] = side[1];

    // The neighbour columns' 15 cells and the cell's own row and the two below,
    // while those still hold their old values (the last two rows wrap onto
    // rows that are smoothed by the time they are read).
    std::uint8_t* column = work.Column(x);
    for (int y = 0; y < height - 2; ++y)
      known[y] = side[y - 2] + side[y - 1] + side[y] + side[y + 1] + side[y + 2] + column[y] + column[y + 1] +
                 column[y + 2];
    for (int y = height - 2; y < height; ++y)
      known[y] = side[y - 2] + side[y - 1] + side[y] + side[y + 1] + side[y + 2] + column[y] +
                 (y + 1 < height ? column[y + 1] : 0);

    int above2 = column[height - 2];
    int above1 = column[height - 1];
    const auto chain = [&](auto divide) {
      for (int y = 0; y < height - 2; ++y) {
        const int smoothed = divide(known[y] + above2 + above1);
        column[y] = static_cast<std::uint8_t>(smoothed);
        above2 = above1;
        above1 = smoothed;
      }
    };
    // The chain waits on each division: a multiply is quicker than a table load
    // where every quotient fits a byte (levels from 20 up, the default among them).
    if (fitsByte)
      chain([reciprocal](int sum) { return static_cast<int>((static_cast<std::uint64_t>(sum) * reciprocal) >> 32); });
    else
      chain([&quotient](int sum) { return static_cast<int>(quotient[sum]); });
    column[height - 2] = quotient[known[height - 2] + above2 + above1 + column[0]];
    column[height - 1] = quotient[known[height - 1] + above1 + column[height - 2] + column[0] + column[1]];
  }
}

// 16.16 fixed point; the two row weights add up to 65537, which is kept
// because it is what gives the maps their values.
void ResizeBilinear(WorkGrid& work, MapGrid& grid) {
  const int width = grid.Width;
  const int height = grid.Height;
  const std::uint32_t xstep = static_cast<std::uint32_t>(((work.Width() - 1) * 65536) / width);
  const std::uint32_t ystep = static_cast<std::uint32_t>(((work.Height() - 1) * 65536) / height);
  std::uint32_t fy = 0;
  for (int y = 0; y < height; ++y) {
    const std::uint32_t yi = fy >> 16;
    const std::uint32_t yi1 = static_cast<int>(yi) < work.Height() - 1 ? yi + 1 : yi;
    const std::uint32_t wy1 = (fy & 0xFFFF) + 1;
    const std::uint32_t wy0 = 65536 - (fy & 0xFFFF);
    std::uint32_t fx = 0;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t xi = fx >> 16;
      const std::uint32_t f = fx & 0xFFFF;
      const std::uint32_t a = (wy0 * f) >> 16;
      const std::uint32_t b = (wy1 * f) >> 16;
      const std::uint8_t* column0 = work.Column(static_cast<int>(xi));
      const std::uint8_t* column1 = work.Column(static_cast<int>(xi) + 1);
      const std::uint32_t v = (column0[yi] * (wy0 - a) + column1[yi] * a + column0[yi1] * (wy1 - b) +
                               column1[yi1] * b) >>
                              16;
      grid.Cells[x + y * width] = static_cast<TerrainCode>(v & 0xFF);
      fx += xstep;
    }
    fy += ystep;
  }
}

void ResizeQuick(WorkGrid& work, MapGrid& grid) {
  for (int y = 0; y < grid.Height; ++y)
    for (int x = 0; x < grid.Width; ++x) grid.Cells[x + y * grid.Width] = work.At(4 * x, 4 * y);
}

void ClassifyPlasma(MapGrid& grid, const GeneratorSettings& settings) {
  for (int y = 0; y < grid.Height; ++y) {
    for (int x = 0; x < grid.Width; ++x) {
      TerrainCode& cell = grid.Cells[x + y * grid.Width];
      const int v = cell;
      if (grid.OnBorder(x, y))
        cell = FrozenWastes;
      else if (v <= settings.MountainLevel)
        cell = Mountains;
      else if (v <= settings.DownsLevel)
        cell = Downs;
      else if (v <= settings.ForestLevel)
        cell = Forest;
      else
        cell = Plains;
    }
  }
}

// The rows never let these through; a direct caller gets a message instead of
// a division by zero or work coordinates that overflow their 16 bits.
void CheckPlasmaInput(const MapGrid& grid, const GeneratorSettings& settings) {
  const auto refuse = [](const char* caption, int low, int high, int value) {
    throw Error("\"" + std::string(caption) + "\" must be between " + std::to_string(low) + " and " +
                std::to_string(high) + ", not " + std::to_string(value));
  };
  if (grid.Width > MaxMapSize) refuse("Map width", 1, MaxMapSize, grid.Width);
  if (grid.Height > MaxMapSize) refuse("Map height", 1, MaxMapSize, grid.Height);
  if (settings.AvgHeight == 0) refuse("Average height", 1, 255, 0);
  if (settings.Smooth && settings.SmoothLevel == 0) refuse("Smoothing level", 1, 255, 0);
}

}  // namespace

void GeneratePlasma(MapGrid& grid, GeneratorSettings& settings, RandomSource& random) {
  CheckPlasmaInput(grid, settings);

  grid.Cells.assign(static_cast<std::size_t>(grid.Width) * grid.Height, Plains);
  if (!grid.Empty()) {
    WorkGrid work(4 * grid.Width, 4 * grid.Height);
    work.At(0, 0) = 128;
    work.At(work.Width() - 1, 0) = 128;
    work.At(0, work.Height() - 1) = 128;
    work.At(work.Width() - 1, work.Height() - 1) = 128;
    Subdivider(work, random, settings.AvgHeight).Run();
    if (settings.Smooth) SmoothWorkGrid(work, settings.SmoothLevel);
    if (settings.ResizeType == 1)
      ResizeBilinear(work, grid);
    else
      ResizeQuick(work, grid);
    ClassifyPlasma(grid, settings);
  }
  if (settings.CreateRare) ScatterRareTerrain(grid, settings, random);
}

}  // namespace mireforge
