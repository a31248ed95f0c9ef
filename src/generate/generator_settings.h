#pragma once
// The generator parameters, and the wizard's row texts they are converted from.
// The wizard, the project file and mireforge-cli share these types.
#include <cstdint>
#include <string>

namespace mireforge {

struct GeneratorSettings {
  // Shared by both methods.
  bool CreateRare = false;
  std::int32_t RareCount = 500;
  bool RandomizeRare = false;
  std::int32_t RareSeed = 0;
  // Plasma fractal.
  std::int32_t ResizeType = 1;  // 0 quick, 1 bilinear
  std::int32_t MountainLevel = 76;
  std::int32_t DownsLevel = 120;
  std::int32_t ForestLevel = 170;
  bool Smooth = true;
  std::int32_t SmoothLevel = 20;
  std::uint8_t AvgHeight = 254;
  // cEvo.
  std::int32_t LandPercent = 75;
  std::int32_t MountainPercent = 5;
  std::int32_t DownsPercent = 7;
  std::int32_t RandDownsPercent = 12;
  bool AddRandDowns = true;
  float SmoothFactor = 0.049f;
  float DetailFactor = 0.095f;
};

// Row texts of the plasma page, named after their project-file keys.
struct PlasmaRows {
  std::string Width = "66";
  std::string Height = "63";
  std::string Randomize = "True";
  std::string Seed = "0";
  std::string CreateRare = "True";
  std::string RandomizeRare;  // empty reads as false
  std::string RareSeed = "0";
  std::string RareCount = "500";
  std::string ResizeType = "Bilinear";
  std::string MountainLevel = "76";
  std::string DownsLevel = "120";
  std::string ForestLevel = "170";
  std::string Smooth = "True";
  std::string SmoothLevel = "20";
  std::string AvgHeight = "254";
};

// Row texts of the cEvo page, named after their project-file keys.
struct CEvoRows {
  std::string Width = "66";
  std::string Height = "63";
  std::string Randomize = "True";
  std::string Seed = "0";
  std::string CreateRare = "False";
  std::string RandomizeRare = "False";
  std::string RareSeed = "0";
  std::string RareCount = "500";
  std::string LandMass = "25";
  std::string Downs = "7";
  std::string AddRandDowns = "True";
  std::string RandDowns = "12";
  std::string Mountains = "5";
  std::string ElevationSmooth = "49";
  std::string ElevationDetail = "95";
};

enum class GenerationMethod : int { Plasma = 0, CEvo = 1 };

// The wizard's state that outlives one opening and travels in project files.
struct GeneratorRows {
  int Mode = 0;  // 0 plasma fractal, 1 cEvo; a project file may carry anything
  PlasmaRows Plasma;
  CEvoRows CEvo;
};

// A row converted: the map size and map seeding of one run.
struct GenerationRun {
  int Width = 0;
  int Height = 0;
  bool Randomize = false;
  std::int32_t Seed = 0;
};

// "True" (exactly) is true; "False", the empty text and anything else are false.
bool RowBool(const std::string& text);
// A decimal integer, or Error "'%s' is not a valid integer value".
std::int32_t RowInteger(const std::string& text);

// Converts every row of the page, then fills that method's fields of settings.
// Throws before writing anything when a row does not convert or is out of range.
GenerationRun ApplyPlasmaRows(const PlasmaRows& rows, GeneratorSettings& settings);
GenerationRun ApplyCEvoRows(const CEvoRows& rows, GeneratorSettings& settings);

}  // namespace mireforge
