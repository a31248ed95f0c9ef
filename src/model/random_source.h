#pragma once
// The seeded random source that every generator draws from: a linear
// congruential generator, bit for bit, so the same seeds give the same map.
#include <cstdint>
#include <functional>

namespace mireforge {

// Milliseconds since midnight UTC, 0 to 86,399,999.
using ClockMilliseconds = std::function<std::int32_t()>;
std::int32_t UtcMillisecondsOfDay();
std::int32_t MillisecondsOfDay(int hour, int minute, int second, int millisecond);

class RandomSource {
 public:
  explicit RandomSource(ClockMilliseconds clock = UtcMillisecondsOfDay) : clock_(std::move(clock)) {}

  // 0 to n - 1 (0 when n is 0).
  std::uint32_t RandomInt(std::uint32_t n) {
    Step();
    return Scale(static_cast<std::uint32_t>(RandomSeed), n);
  }
  // The same steps on a seed held elsewhere, for a hot loop that keeps it in a register.
  static std::uint32_t Next(std::uint32_t seed) { return seed * 134775813u + 1u; }
  static std::uint32_t Scale(std::uint32_t seed, std::uint32_t n) {
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed) * n) >> 32);
  }
  // [0, 1), in extended precision.
  long double RandomFloat() {
    Step();
    return static_cast<long double>(static_cast<std::uint32_t>(RandomSeed)) * 0x1p-32L;
  }
  // The seed becomes the UTC time of day in milliseconds.
  void SeedFromClock() { RandomSeed = clock_(); }

  std::int32_t RandomSeed = 0;

 private:
  void Step() { RandomSeed = static_cast<std::int32_t>(Next(static_cast<std::uint32_t>(RandomSeed))); }
  ClockMilliseconds clock_;
};

}  // namespace mireforge
