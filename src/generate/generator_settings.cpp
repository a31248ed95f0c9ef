#include "generate/generator_settings.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "model/error.h"
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

GenerationRun ApplyPlasmaRows(const PlasmaRows& rows, GeneratorSettings& settings) {
  GenerationRun run;
  run.Width = RangedRow(rows.Width, "Map width", 1, MaxMapSize);
  run.Height = RangedRow(rows.Height, "Map height", 1, MaxMapSize);
  run.Randomize = RowBool(rows.Randomize);
  run.Seed = RowInteger(rows.Seed);
  const std::int32_t rareSeed = RowInteger(rows.RareSeed);
  const std::int32_t rareCount = AtLeastRow(rows.RareCount, "Rare terrain count", 1);
  const std::int32_t mountains = RangedRow(rows.MountainLevel, "Mountains", 0, 255);
  const std::int32_t downs = RangedRow(rows.DownsLevel, "Downs", 0, 255);
  const std::int32_t forests = RangedRow(rows.ForestLevel, "Forests", 0, 255);
  const std::int32_t smoothLevel = RangedRow(rows.SmoothLevel, "Smoothing level", 1, 255);
  const std::int32_t avgHeight = RangedRow(rows.AvgHeight, "Average height", 1, 255);

  settings.CreateRare = RowBool(rows.CreateRare);
  settings.RareCount = rareCount;
  settings.RandomizeRare = RowBool(rows.RandomizeRare);
  settings.RareSeed = rareSeed;
  settings.ResizeType = rows.ResizeType == "Quick" ? 0 : 1;
  settings.MountainLevel = mountains;
  settings.DownsLevel = downs;
  settings.ForestLevel = forests;
  settings.Smooth = RowBool(rows.Smooth);
  settings.SmoothLevel = smoothLevel;
  settings.AvgHeight = static_cast<std::uint8_t>(avgHeight & 0xFF);
  return run;
}

GenerationRun ApplyCEvoRows(const CEvoRows& rows, GeneratorSettings& settings) {
  GenerationRun run;
  run.Width = RangedRow(rows.Width, "Map width", 1, MaxMapSize);
  run.Height = RangedRow(rows.Height, "Map height", 1, MaxMapSize);
  run.Randomize = RowBool(rows.Randomize);
  run.Seed = RowInteger(rows.Seed);
  const std::int32_t rareSeed = RowInteger(rows.RareSeed);
  const std::int32_t rareCount = AtLeastRow(rows.RareCount, "Rare terrain count", 1);
  const std::int32_t plains = RangedRow(rows.LandMass, "% of plains", 0, 100);
  const std::int32_t downs = RangedRow(rows.Downs, "% of downs", 0, 100);
  const std::int32_t randDowns = RangedRow(rows.RandDowns, "% of random downs", 0, 100);
  const std::int32_t mountains = RangedRow(rows.Mountains, "% of mountains", 0, 100);
  const std::int32_t smoothing = RangedRow(rows.ElevationSmooth, "Smoothing", 0, 255);
  const std::int32_t detail = RangedRow(rows.ElevationDetail, "Detail", 0, 255);

  settings.CreateRare = RowBool(rows.CreateRare);
  settings.RareCount = rareCount;
  settings.RandomizeRare = RowBool(rows.RandomizeRare);
  settings.RareSeed = rareSeed;
  settings.LandPercent = 100 - plains;
  settings.MountainPercent = mountains;
  settings.DownsPercent = downs;
  settings.RandDownsPercent = randDowns;
  settings.AddRandDowns = RowBool(rows.AddRandDowns);
  settings.SmoothFactor = Thousandths(smoothing);
  settings.DetailFactor = Thousandths(detail);
  return run;
}

}  // namespace mireforge
