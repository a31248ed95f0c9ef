// mireforge-cli generate plasma|cevo: one run of a generator from options that
// become the wizard's row texts, so they are converted and checked exactly as
// the wizard's rows are.
#include <cctype>
#include <ostream>

#include "cli/commands.h"
#include "formats/map_files.h"
#include "generate/generation.h"
#include "model/descriptions.h"
#include "model/random_source.h"

namespace mireforge::cli {

namespace {

const OptionSpec OutputOption = {"--output", "-o", "FILE", "the map file to write; its extension picks the format"};
const OptionSpec OmitBorderOption = {"--omit-border", "", "", "leave the frozen-wastes frame out of the written map"};

// Options both methods share, with the rows they set.
std::vector<OptionSpec> SharedOptions(std::string_view rareDefault) {
  return {
      {"--width", "", "N", "map width, 1 to 512 (66)"},
      {"--height", "", "N", "map height, 1 to 512 (63)"},
      {"--seed", "", "N", "map seed; without it the seed comes from the clock"},
      {"--rare", "", "", rareDefault == "on" ? "scatter rare terrain (on)" : "scatter rare terrain"},
      {"--no-rare", "", "", rareDefault == "on" ? "no rare terrain" : "no rare terrain (off)"},
      {"--rare-seed", "", "N", "rare terrain seed (0)"},
      {"--randomize-rare", "", "", "take the rare terrain seed from the clock"},
      {"--rare-count", "", "N", "rare terrain count, at least 1 (500)"},
  };
}

template <typename Rows>
void ApplySharedOptions(const ParsedOptions& options, Rows& rows, bool rareByDefault) {
  if (const std::string* v = options.Value("--width")) rows.Width = *v;
  if (const std::string* v = options.Value("--height")) rows.Height = *v;
  if (const std::string* v = options.Value("--seed")) {
    rows.Randomize = "False";
    rows.Seed = *v;
  } else {
    rows.Randomize = "True";
  }
  rows.CreateRare = options.Switch("--rare", "--no-rare", rareByDefault) ? "True" : "False";
  if (const std::string* v = options.Value("--rare-seed")) rows.RareSeed = *v;
  rows.RandomizeRare = options.Has("--randomize-rare") ? "True" : "False";
  if (const std::string* v = options.Value("--rare-count")) rows.RareCount = *v;
}

std::string ResizeRow(const std::string& value) {
  std::string lower;
  for (char c : value) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "quick") return "Quick";
  if (lower == "bilinear") return "Bilinear";
  throw UsageError("--resize takes quick or bilinear, not '" + value + "'");
}

// Generates, writes the map and reports the seeds used.
template <typename Rows>
void GenerateAndSave(GeneratorRows& rows, GenerationMethod method, const Rows& pageRows,
                     const ParsedOptions& options, std::ostream& out) {
  const std::string& path = OutputPath(options);
  CheckSavable(path);  // before the work, not after it

  Project project;
  RandomSource random;
  GenerateFromRows(rows, method, project.Settings, project.Map, random);
  project.Map.RebuildTerrainRows();
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  project.Rows = rows;
  project.ProjectSaved = false;

  MapFileOptions fileOptions;
  fileOptions.OmitBorder = options.Has("--omit-border");
  SaveMapFile(path, project, fileOptions);

  out << "map-seed: " << RowInteger(pageRows.Seed) << "\n";
  out << "rare-seed: " << project.Settings.RareSeed << "\n";
}

}  // namespace

const std::string& OutputPath(const ParsedOptions& options) {
  const std::string* path = options.Value("--output");
  if (!path) throw UsageError("missing -o FILE");
  if (path->empty()) throw UsageError("-o needs a file name");
  return *path;
}

const CommandSpec& GeneratePlasmaSpec() {
  static const CommandSpec spec = [] {
    CommandSpec s{"generate plasma", "[options] -o FILE", "Generates a plasma fractal map and writes it to FILE.", {}, 0, ""};
    s.Options = SharedOptions("on");
    s.Options.insert(s.Options.end(), {
        {"--resize", "", "quick|bilinear", "resize type (bilinear)"},
        {"--mountains", "", "N", "highest value classified as mountains, 0 to 255 (76)"},
        {"--downs", "", "N", "highest value classified as downs, 0 to 255 (120)"},
        {"--forests", "", "N", "highest value classified as forest, 0 to 255 (170)"},
        {"--smooth", "", "", "run the smoothing pass (on)"},
        {"--no-smooth", "", "", "skip the smoothing pass"},
        {"--smooth-level", "", "N", "smoothing level, 1 to 255 (20)"},
        {"--avg-height", "", "N", "average height, 1 to 255 (254)"},
        OutputOption,
        OmitBorderOption,
    });
    return s;
  }();
  return spec;
}

const CommandSpec& GenerateCEvoSpec() {
  static const CommandSpec spec = [] {
    CommandSpec s{"generate cevo", "[options] -o FILE", "Generates a cEvo map and writes it to FILE.", {}, 0, ""};
    s.Options = SharedOptions("off");
    s.Options.insert(s.Options.end(), {
        {"--plains", "", "N", "% of plains, 0 to 100 (25)"},
        {"--mountains", "", "N", "% of mountains, 0 to 100 (5)"},
        {"--downs", "", "N", "% of downs, 0 to 100 (7)"},
        {"--random-downs", "", "N", "% of random downs, 0 to 100 (12)"},
        {"--no-random-downs", "", "", "do not add random downs"},
        {"--smoothing", "", "N", "smoothing, 0 to 255 (49)"},
        {"--detail", "", "N", "detail, 0 to 255 (95)"},
        OutputOption,
        OmitBorderOption,
    });
    return s;
  }();
  return spec;
}

void RunGeneratePlasma(const ParsedOptions& options, std::ostream& out) {
  GeneratorRows rows;
  rows.Mode = static_cast<int>(GenerationMethod::Plasma);
  PlasmaRows& page = rows.Plasma;
  ApplySharedOptions(options, page, true);
  if (const std::string* v = options.Value("--resize")) page.ResizeType = ResizeRow(*v);
  if (const std::string* v = options.Value("--mountains")) page.MountainLevel = *v;
  if (const std::string* v = options.Value("--downs")) page.DownsLevel = *v;
  if (const std::string* v = options.Value("--forests")) page.ForestLevel = *v;
  page.Smooth = options.Switch("--smooth", "--no-smooth", true) ? "True" : "False";
  if (const std::string* v = options.Value("--smooth-level")) page.SmoothLevel = *v;
  if (const std::string* v = options.Value("--avg-height")) page.AvgHeight = *v;
  GenerateAndSave(rows, GenerationMethod::Plasma, rows.Plasma, options, out);
}

void RunGenerateCEvo(const ParsedOptions& options, std::ostream& out) {
  GeneratorRows rows;
  rows.Mode = static_cast<int>(GenerationMethod::CEvo);
  CEvoRows& page = rows.CEvo;
  ApplySharedOptions(options, page, false);
  if (const std::string* v = options.Value("--plains")) page.LandMass = *v;
  if (const std::string* v = options.Value("--mountains")) page.Mountains = *v;
  if (const std::string* v = options.Value("--downs")) page.Downs = *v;
  if (const std::string* v = options.Value("--random-downs")) page.RandDowns = *v;
  page.AddRandDowns = options.Has("--no-random-downs") ? "False" : "True";
  if (const std::string* v = options.Value("--smoothing")) page.ElevationSmooth = *v;
  if (const std::string* v = options.Value("--detail")) page.ElevationDetail = *v;
  GenerateAndSave(rows, GenerationMethod::CEvo, rows.CEvo, options, out);
}

}  // namespace mireforge::cli
