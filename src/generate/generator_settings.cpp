#include "generate/generator_settings.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "base/error.h"
#include "model/terrain.h"

namespace mireforge {

bool RowBool(const std::string& text) { return text == "True"; }

std::int32_t RowInteger(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  const std::string trimmed = text.substr(begin, end - begin);
  std::size_t digits = (!trimmed.empty() && (trimmed[0] == '-' || trimmed[0] == '+')) ? 1 : 0;
  bool valid = trimmed.size() > digits;
  for (std::size_t i = digits; valid && i < trimmed.size(); ++i)
    valid = trimmed[i] >= '0' && trimmed[i] <= '9';
  long long value = 0;
  if (valid) {
    errno = 0;
    value = std::strtoll(trimmed.c_str(), nullptr, 10);
    valid = errno == 0 && value >= INT32_MIN && value <= INT32_MAX;
  }
  if (!valid) throw Error(FormatMessage("'%s' is not a valid integer value", text));
  return static_cast<std::int32_t>(value);
}

namespace {

std::int32_t RangedRow(const std::string& text, const char* caption, long long low, long long high) {
  const std::int32_t value = RowInteger(text);
  if (value < low || value > high)
    throw Error("\"" + std::string(caption) + "\" must be between " + std::to_string(low) + " and " +
                std::to_string(high) + ", not " + std::to_string(value));
  return value;
}

std::int32_t AtLeastRow(const std::string& text, const char* caption, long long low) {
  const std::int32_t value = RowInteger(text);
  if (value < low)
    throw Error("\"" + std::string(caption) + "\" must be at least " + std::to_string(low) + ", not " +
                std::to_string(value));
  return value;
}

float Thousandths(std::int32_t value) { return static_cast<float>(static_cast<long double>(value) / 1000.0L); }

}  // namespace

namespace {

// The rows both pages share: size, map seeding and rare terrain.
template <typename Rows>
GenerationRun ConvertCommonRows(const Rows& rows, GeneratorSettings& next) {
  GenerationRun run;
  run.Width = RangedRow(rows.Width, "Map width", 1, MaxMapSize);
  run.Height = RangedRow(rows.Height, "Map height", 1, MaxMapSize);
  run.Randomize = RowBool(rows.Randomize);
  run.Seed = RowInteger(rows.Seed);
  next.CreateRare = RowBool(rows.CreateRare);
  next.RareCount = AtLeastRow(rows.RareCount, "Rare terrain count", 1);
  next.RandomizeRare = RowBool(rows.RandomizeRare);
  next.RareSeed = RowInteger(rows.RareSeed);
  return run;
}

}  // namespace

// Both convert into a copy, so a row that fails leaves the settings untouched.
GenerationRun ApplyPlasmaRows(const PlasmaRows& rows, GeneratorSettings& settings) {
  GeneratorSettings next = settings;
  const GenerationRun run = ConvertCommonRows(rows, next);
  next.ResizeType = rows.ResizeType == "Quick" ? 0 : 1;
  next.MountainLevel = RangedRow(rows.MountainLevel, "Mountains", 0, 255);
  next.DownsLevel = RangedRow(rows.DownsLevel, "Downs", 0, 255);
  next.ForestLevel = RangedRow(rows.ForestLevel, "Forests", 0, 255);
  next.Smooth = RowBool(rows.Smooth);
  next.SmoothLevel = RangedRow(rows.SmoothLevel, "Smoothing level", 1, 255);
  next.AvgHeight = static_cast<std::uint8_t>(RangedRow(rows.AvgHeight, "Average height", 1, 255) & 0xFF);
  settings = next;
  return run;
}

GenerationRun ApplyCEvoRows(const CEvoRows& rows, GeneratorSettings& settings) {
  GeneratorSettings next = settings;
  const GenerationRun run = ConvertCommonRows(rows, next);
  next.LandPercent = 100 - RangedRow(rows.LandMass, "% of plains", 0, 100);
  next.DownsPercent = RangedRow(rows.Downs, "% of downs", 0, 100);
  next.RandDownsPercent = RangedRow(rows.RandDowns, "% of random downs", 0, 100);
  next.MountainPercent = RangedRow(rows.Mountains, "% of mountains", 0, 100);
  next.AddRandDowns = RowBool(rows.AddRandDowns);
  next.SmoothFactor = Thousandths(RangedRow(rows.ElevationSmooth, "Smoothing", 0, 255));
  next.DetailFactor = Thousandths(RangedRow(rows.ElevationDetail, "Detail", 0, 255));
  settings = next;
  return run;
}

}  // namespace mireforge
