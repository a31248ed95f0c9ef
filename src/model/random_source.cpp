#include "model/random_source.h"

#include <chrono>

namespace mireforge {

std::int32_t MillisecondsOfDay(int hour, int minute, int second, int millisecond) {
  return ((hour * 60 + minute) * 60 + second) * 1000 + millisecond;
}

std::int32_t UtcMillisecondsOfDay() {
  using namespace std::chrono;
  const auto now = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  return static_cast<std::int32_t>(now % 86'400'000LL);
}

}  // namespace mireforge
