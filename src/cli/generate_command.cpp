// mireforge-cli generate plasma|cevo: one run of a generator from options that
// become the wizard's row texts, so they are converted and checked exactly as
// the wizard's rows are.
#include <initializer_list>
#include <optional>
#include <ostream>

#include "cli/commands.h"
#include "cli/naming_options.h"
#include "cli/output_options.h"
#include "formats/map_files.h"
#include "generate/generation.h"
#include "model/descriptions.h"
#include "base/error.h"
#include "model/random_source.h"

namespace mireforge::cli {

namespace {

// The options both methods share, then the method's own, then the output.
CommandSyntax MethodSpec(std::string_view words, std::string_view summary, bool rareByDefault,
                       std::initializer_list<OptionSyntax> methodOptions) {
  CommandSyntax syntax{words, "[options] -o FILE", summary, {}, 0, ""};
  syntax.Options = {
      {"--width", "", "N", "map width, 1 to 512 (66)"},
      {"--height", "", "N", "map height, 1 to 512 (63)"},
      {"--seed", "", "N", "map seed; without it the seed comes from the clock"},
      {"--rare", "", "", rareByDefault ? "scatter rare terrain (on)" : "scatter rare terrain"},
      {"--no-rare", "", "", rareByDefault ? "no rare terrain" : "no rare terrain (off)"},
      {"--rare-seed", "", "N", "rare terrain seed (0)"},
      {"--randomize-rare", "", "", "take the rare terrain seed from the clock"},
      {"--rare-count", "", "N", "rare terrain count, at least 1 (500)"},
  };
  syntax.Options.insert(syntax.Options.end(), methodOptions);
  syntax.Options.push_back({"--name-land", "", "", "divide the map into named realms and name its places"});
  for (OptionSyntax& option : NamingOptionSyntax(GenerateNamingOptions, "naming seed (the map seed)"))
    syntax.Options.push_back(option);
  for (OptionSyntax& option : MapOutputOptions()) syntax.Options.push_back(option);
  return syntax;
}

// An option given sets its row's text as typed; the row conversion checks it.
void SetRow(const ParsedOptions& options, std::string_view name, std::string& row) {
  if (const std::string* value = options.Value(name)) row = *value;
}

template <typename Rows>
void ApplySharedOptions(const ParsedOptions& options, Rows& rows, bool rareByDefault) {
  SetRow(options, "--width", rows.Width);
  SetRow(options, "--height", rows.Height);
  if (const std::string* v = options.Value("--seed")) {
    rows.Randomize = "False";
    rows.Seed = *v;
  } else {
    rows.Randomize = "True";
  }
  rows.CreateRare = options.Switch("--rare", "--no-rare", rareByDefault) ? "True" : "False";
  SetRow(options, "--rare-seed", rows.RareSeed);
  rows.RandomizeRare = options.Has("--randomize-rare") ? "True" : "False";
  SetRow(options, "--rare-count", rows.RareCount);
}

// Generates, writes the map and reports the seeds used.
template <typename Rows>
void GenerateAndSave(GeneratorRows& rows, GenerationMethod method, const Rows& pageRows,
                     const ParsedOptions& options, const CommandContext& context) {
  const OutputTarget target(options, context);
  const std::string& path = target.Path();
  const MapFileOptions fileOptions = MapOutputFileOptions(options, path);  // before the work, not after it
  // Every row came from the command line, so a row the wizard would refuse is a usage error.
  try {
    GeneratorSettings check;
    if (method == GenerationMethod::CEvo) ApplyCEvoRows(rows.CEvo, check);
    else ApplyPlasmaRows(rows.Plasma, check);
  } catch (const Error& e) {
    throw UsageError(e.what());
  }
  const bool nameLand = options.Has("--name-land");
  std::optional<LandNamingOptions> naming;
  if (nameLand) {
    CheckKeepsNames(path);
    naming = NamingFromOptions(options, GenerateNamingOptions, 0);
  } else {
    for (std::string_view name : {GenerateNamingOptions.Domains, GenerateNamingOptions.Seed, GenerateNamingOptions.Style,
                                  std::string_view("--names")})
      if (options.Has(name)) throw UsageError("option '" + std::string(name) + "' needs --name-land");
  }

  Project project;
  RandomSource random;
  GenerateFromRows(rows, method, project.Settings, project.Map, random);
  if (MapFileFormatOf(path).WritesDescriptions) BuildDefaultDescriptions(project.Descriptions, project.Map);
  if (naming) {
    if (!options.Has(GenerateNamingOptions.Seed)) naming->Seed = RowInteger(pageRows.Seed);
    NameTheLand(project.Map, project.Descriptions, project.Domains, *naming);
  }
  project.Rows = rows;
  project.ProjectSaved = false;

  SaveMapFile(path, project, fileOptions);
  target.Deliver();

  if (std::ostream* report = target.Report()) {
    *report << "map-seed: " << RowInteger(pageRows.Seed) << "\n";
    *report << "rare-seed: " << project.Settings.RareSeed << "\n";
    if (naming) *report << "name-seed: " << naming->Seed << "\n";
  }
}

}  // namespace

const CommandSyntax& GeneratePlasmaSpec() {
  static const CommandSyntax syntax = MethodSpec("generate plasma", "Generates a plasma fractal map and writes it to FILE.",
                                             true,
                                             {
                                                 {"--resize", "", "quick|bilinear", "resize type (bilinear)"},
                                                 {"--mountains", "", "N", "highest value classified as mountains, 0 to 255 (76)"},
                                                 {"--downs", "", "N", "highest value classified as downs, 0 to 255 (120)"},
                                                 {"--forests", "", "N", "highest value classified as forest, 0 to 255 (170)"},
                                                 {"--smooth", "", "", "run the smoothing pass (on)"},
                                                 {"--no-smooth", "", "", "skip the smoothing pass"},
                                                 {"--smooth-level", "", "N", "smoothing level, 1 to 255 (20)"},
                                                 {"--avg-height", "", "N", "average height, 1 to 255 (254)"},
                                             });
  return syntax;
}

const CommandSyntax& GenerateCEvoSpec() {
  static const CommandSyntax syntax = MethodSpec("generate cevo", "Generates a cEvo map and writes it to FILE.", false,
                                             {
                                                 {"--plains", "", "N", "% of plains, 0 to 100 (25)"},
                                                 {"--mountains", "", "N", "% of mountains, 0 to 100 (5)"},
                                                 {"--downs", "", "N", "% of downs, 0 to 100 (7)"},
                                                 {"--random-downs", "", "N", "% of random downs, 0 to 100 (12)"},
                                                 {"--no-random-downs", "", "", "do not add random downs"},
                                                 {"--smoothing", "", "N", "smoothing, 0 to 255 (49)"},
                                                 {"--detail", "", "N", "detail, 0 to 255 (95)"},
                                             });
  return syntax;
}

void RunGeneratePlasma(const ParsedOptions& options, const CommandContext& context) {
  GeneratorRows rows;
  rows.Mode = static_cast<int>(GenerationMethod::Plasma);
  PlasmaRows& page = rows.Plasma;
  ApplySharedOptions(options, page, true);
  if (options.Has("--resize"))
    page.ResizeType = ChoiceOption(options, "--resize", {"quick", "bilinear"}, 1) == 0 ? "Quick" : "Bilinear";
  SetRow(options, "--mountains", page.MountainLevel);
  SetRow(options, "--downs", page.DownsLevel);
  SetRow(options, "--forests", page.ForestLevel);
  page.Smooth = options.Switch("--smooth", "--no-smooth", true) ? "True" : "False";
  SetRow(options, "--smooth-level", page.SmoothLevel);
  SetRow(options, "--avg-height", page.AvgHeight);
  GenerateAndSave(rows, GenerationMethod::Plasma, rows.Plasma, options, context);
}

void RunGenerateCEvo(const ParsedOptions& options, const CommandContext& context) {
  GeneratorRows rows;
  rows.Mode = static_cast<int>(GenerationMethod::CEvo);
  CEvoRows& page = rows.CEvo;
  ApplySharedOptions(options, page, false);
  SetRow(options, "--plains", page.LandMass);
  SetRow(options, "--mountains", page.Mountains);
  SetRow(options, "--downs", page.Downs);
  SetRow(options, "--random-downs", page.RandDowns);
  page.AddRandDowns = options.Has("--no-random-downs") ? "False" : "True";
  SetRow(options, "--smoothing", page.ElevationSmooth);
  SetRow(options, "--detail", page.ElevationDetail);
  GenerateAndSave(rows, GenerationMethod::CEvo, rows.CEvo, options, context);
}

}  // namespace mireforge::cli
