#include "generate/cevo.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "generate/rare_terrain.h"
#include "base/run_beside.h"
#include "model/terrain.h"

namespace mireforge {

namespace {

constexpr int WaveCount = 64;

struct Waves {
  std::array<float, WaveCount> DirX{}, DirY{}, Freq{}, Amp{};
};

// The tables are computed in extended precision and stored in single precision.
// Only the directions draw random numbers, so different smoothing or detail
// values give the same wave directions for the same seed.
Waves MakeWaves(int width, int height, float smoothFactor, float detailFactor, RandomSource& random) {
  constexpr long double Pi = std::numbers::pi_v<long double>;
  Waves waves;
  for (int k = 0; k < WaveCount; ++k) {
    const float angle = k == 0 ? static_cast<float>(Pi / 2.0L) : static_cast<float>(random.RandomFloat() * 2.0L * Pi);
    waves.DirX[k] = static_cast<float>(std::sin(static_cast<long double>(angle)) / width);
    waves.DirY[k] = static_cast<float>(std::cos(static_cast<long double>(angle)) / height);
    waves.Freq[k] = static_cast<float>(std::exp(k * static_cast<long double>(detailFactor)) * 2.0L * Pi);
    waves.Amp[k] = static_cast<float>(std::exp(-(k + 1) * static_cast<long double>(smoothFactor)));
  }
  return waves;
}

// sin((across * dirX + down * dirY) * freq) in double precision, without
// branches so that the loop over a column vectorises. Both products in the
// bracket are exact in double precision; their sum is kept with its rounding
// error and multiplied by freq in exact pieces, so the argument is as precise
// as the extended-precision one even where freq runs into the millions (a plain
// double argument would drift by up to 1e-8 there). Reduction by multiples of
// pi with pi split into 26 + 26 + 53 bits (n * PiHigh and n * PiMiddle are
// exact for |n| < 2^27, beyond the largest argument the tables allow); Taylor
// series to degree 21 on [-pi/2, pi/2].
inline double WaveSin(double across, double down, double dirX, double dirY, double freq) {
  constexpr double InvPi = 0x1.45f306dc9c883p-2;
  constexpr double PiHigh = 0x1.921fb58p+1;
  constexpr double PiMiddle = -0x1.dde974p-26;
  constexpr double PiLow = 0x1.1a62633145c07p-53;
  constexpr double Shifter = 0x1.8p52;  // adding it rounds to an integer held in the low bits
  const double a = across * dirX;
  const double b = down * dirY;
  const double sum = a + b;
  const double bPart = sum - a;
  const double sumError = (a - (sum - bPart)) + (b - bPart);
  // freq has 24 significant bits: a 29-bit head times freq is exact.
  const double head = std::bit_cast<double>(std::bit_cast<std::uint64_t>(sum) & 0xFFFFFFFFFF000000ULL);
  const double arg1 = head * freq;
  const double arg2 = (sum - head) * freq;
  const double arg3 = sumError * freq;
  const double shifted = (arg1 + arg2) * InvPi + Shifter;
  const double n = shifted - Shifter;
  const std::uint64_t sign = std::bit_cast<std::uint64_t>(shifted) << 63;  // odd multiples of pi flip the sign
  const double r = ((((arg1 - n * PiHigh) - n * PiMiddle) + arg2) + arg3) - n * PiLow;
  const double r2 = r * r;
  double p = 1.9572941063391263e-20;
  p = p * r2 - 8.22063524662433e-18;
  p = p * r2 + 2.8114572543455206e-15;
  p = p * r2 - 7.647163731819816e-13;
  p = p * r2 + 1.6059043836821613e-10;
  p = p * r2 - 2.505210838544172e-08;
  p = p * r2 + 2.7557319223985893e-06;
  p = p * r2 - 0.0001984126984126984;
  p = p * r2 + 0.008333333333333333;
  p = p * r2 - 0.16666666666666666;
  const double s = r + r * r2 * p;
  return std::bit_cast<double>(std::bit_cast<std::uint64_t>(s) ^ sign);
}

// Where the loader can pick a function by processor, the column loop gets an
// AVX2 version (twice the lanes). Without FMA, so both versions round alike.
#if defined(__GNUC__) && defined(__x86_64__) && defined(__linux__)
#define WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define WIDE_VECTORS
#endif

struct ElevationPart {
  std::array<std::int32_t, 256> Histogram{};
};

// Quantised heights of the columns [firstColumn, endColumn). The wave sum is
// kept in single precision after every wave, the steps between in double;
// neither the sum nor the quantisation may be done in single precision.
WIDE_VECTORS void ComputeColumns(const Waves& waves, int width, int height, int firstColumn, int endColumn,
                                std::vector<std::uint8_t>& elevation, ElevationPart& part) {
  std::vector<double> across(height), down(height);
  std::vector<float> sums(height);
  for (int y = 0; y < height; ++y) down[y] = y * 1.5;
  for (int x = firstColumn; x < endColumn; ++x) {
    // Odd rows sit half a cell to the right.
    for (int y = 0; y < height; ++y) across[y] = 2 * x + (y & 1);
    for (int y = 0; y < height; ++y) sums[y] = 0.0f;
    for (int k = 0; k < WaveCount; ++k) {
      const double dirX = waves.DirX[k], dirY = waves.DirY[k], freq = waves.Freq[k], amp = waves.Amp[k];
      const double* acrossData = across.data();
      const double* downData = down.data();
      float* sumData = sums.data();
      for (int y = 0; y < height; ++y) {
        sumData[y] = static_cast<float>(sumData[y] + WaveSin(acrossData[y], downData[y], dirX, dirY, freq) * amp);
      }
    }
    for (int y = 0; y < height; ++y) {
      // Bend the land down towards the top and bottom rows.
      const double t = 2.0 * y / height - 1.0;
      const float h = static_cast<float>(sums[y] - (t * t) * (t * t));
      int e;
      if (h < -4.0f)
        e = 0;
      else if (h > 8.75f)
        e = 255;
      else
        e = static_cast<int>(std::nearbyint((h + 4.0) * 20.0));  // ties to even
      elevation[x + static_cast<std::size_t>(y) * width] = static_cast<std::uint8_t>(e);
      ++part.Histogram[e];
    }
  }
}

// Below this many cells a second thread costs more than it saves.
constexpr std::size_t ThreadedCells = 16384;

std::array<std::int32_t, 256> ComputeElevation(const Waves& waves, int width, int height,
                                              std::vector<std::uint8_t>& elevation) {
  ElevationPart left, right;
  if (width >= 2 && WorthASecondThread(static_cast<std::size_t>(width) * height, ThreadedCells)) {
    // Columns are independent, so halves computed apart give the same bytes.
    const int middle = width / 2;
    RunBeside([&] { ComputeColumns(waves, width, height, middle, width, elevation, right); },
              [&] { ComputeColumns(waves, width, height, 0, middle, elevation, left); });
  } else {
    ComputeColumns(waves, width, height, 0, width, elevation, left);
  }
  std::array<std::int32_t, 256> histogram{};
  for (int e = 0; e < 256; ++e) histogram[e] = left.Histogram[e] + right.Histogram[e];
  return histogram;
}

// Lowers level from start while count stays below target, adding each level's
// cells to count.
int LowerLevel(int start, long long target, long long& count, const std::array<std::int32_t, 256>& histogram) {
  int level = start;
  while (count < target && level > 0) {
    --level;
    count += histogram[level];
  }
  return level;
}

void ClassifyCEvo(MapGrid& grid, const GeneratorSettings& settings, const std::vector<std::uint8_t>& elevation,
                  const std::array<std::int32_t, 256>& histogram, RandomSource& random) {
  const long long cells = static_cast<long long>(grid.Width) * grid.Height;
  const long long land = settings.LandPercent;
  long long mountainCount = 0;
  const int mountainLevel = LowerLevel(256, cells * land * settings.MountainPercent / 10000, mountainCount, histogram);
  long long downsCount = 0;
  const int downsLevel = LowerLevel(mountainLevel, cells * land * settings.DownsPercent / 10000, downsCount, histogram);
  long long landCount = mountainCount + downsCount;
  const int forestLevel = LowerLevel(downsLevel, cells * land / 100, landCount, histogram);

  for (std::size_t i = 0; i < grid.Cells.size(); ++i) {
    const int e = elevation[i];
    grid.Cells[i] = e >= mountainLevel ? Mountains : e >= downsLevel ? Downs : e >= forestLevel ? Forest : Plains;
  }
  if (settings.AddRandDowns) {
    for (TerrainCode& cell : grid.Cells)
      if (cell == Forest && static_cast<std::int64_t>(random.RandomInt(100)) < settings.RandDownsPercent)
        cell = Downs;
  }
  for (int y = 0; y < grid.Height; ++y)
    for (int x = 0; x < grid.Width; ++x)
      if (grid.OnBorder(x, y)) grid.Cells[x + y * grid.Width] = FrozenWastes;
}

}  // namespace

void GenerateCEvo(MapGrid& grid, GeneratorSettings& settings, RandomSource& random) {
  const int width = grid.Width;
  const int height = grid.Height;
  grid.Cells.assign(static_cast<std::size_t>(width) * height, Plains);
  const Waves waves = MakeWaves(width, height, settings.SmoothFactor, settings.DetailFactor, random);
  std::vector<std::uint8_t> elevation(grid.Cells.size());
  const auto histogram = ComputeElevation(waves, width, height, elevation);
  ClassifyCEvo(grid, settings, elevation, histogram, random);
  if (settings.CreateRare) ScatterRareTerrain(grid, settings, random);
}

}  // namespace mireforge
