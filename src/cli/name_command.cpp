// mireforge-cli name: divides a map into realms and names its places.
#include <algorithm>
#include <limits>
#include <ostream>
#include <string>

#include "cli/commands.h"
#include "cli/naming_options.h"
#include "cli/output_options.h"
#include "formats/map_files.h"
#include "formats/name_list.h"
#include "model/random_source.h"

namespace mireforge::cli {

namespace {

std::string StyleChoices() {
  std::string list;
  for (std::string_view style : NameStyleNames) list += (list.empty() ? "" : ", ") + std::string(style);
  return list;
}

}  // namespace

std::vector<OptionSyntax> NamingOptionSyntax(const NamingOptionNames& names, std::string_view seedHelp) {
  static const std::string styleHelp = "style of the names: " + StyleChoices() + " (midnight)";
  return {
      {names.Domains, "", "N", "number of realms (domains), 1 to 255 (12)"},
      {names.Seed, "", "S", seedHelp},
      {names.Style, "", "NAME", styleHelp},
      {"--names", "", "FILE", "take names from FILE first, one a line"},
  };
}

LandNamingOptions NamingFromOptions(const ParsedOptions& options, const NamingOptionNames& names,
                                    std::int32_t fallbackSeed) {
  LandNamingOptions naming;
  naming.Domains = IntegerOption(options, names.Domains, DefaultRealmCount, 1, MaxRealmCount);
  naming.Seed = IntegerOption(options, names.Seed, fallbackSeed, std::numeric_limits<std::int32_t>::min(),
                              std::numeric_limits<std::int32_t>::max());
  naming.Style = static_cast<NameStyle>(
      ChoiceOption(options, names.Style, std::vector<std::string_view>(std::begin(NameStyleNames), std::end(NameStyleNames)), 0));
  if (const std::string* list = options.Value("--names")) {
    if (list->empty()) throw UsageError("--names needs a file name");
    naming.Names = ReadNameList(*list);
  }
  return naming;
}

void CheckKeepsNames(const std::string& path) {
  const MapFileFormat& format = MapFileFormatOf(path);
  if (!format.WritesDescriptions)
    throw UsageError("a ." + std::string(format.Extension) + " file keeps no names: write .mfp, .sql or .html");
}

const CommandSyntax& NameSpec() {
  static const CommandSyntax syntax = [] {
    CommandSyntax s{"name",
                    "IN -o OUT [options]",
                    "Divides the map IN into named realms, names its forests, downs, mountains, lakes and sites, and "
                    "writes it to OUT.",
                    NamingOptionSyntax(NameCommandOptions, "naming seed; without it the seed comes from the clock"),
                    1,
                    "IN"};
    s.Options.push_back({"--keep", "", "", "keep the descriptions and domains already written"});
    // Its --domains is the count: the SQL switch of that name is left to "convert".
    for (const OptionSyntax& option : MapOutputOptions(NameCommandOptions.Domains)) s.Options.push_back(option);
    return s;
  }();
  return syntax;
}

void RunName(const ParsedOptions& options, const CommandContext& context) {
  const OutputTarget target(options, context);
  const std::string& output = target.Path();
  const MapFileOptions fileOptions = MapOutputFileOptions(options, output, NameCommandOptions.Domains);
  CheckKeepsNames(output);
  LandNamingOptions naming = NamingFromOptions(options, NameCommandOptions, UtcMillisecondsOfDay());
  naming.Keep = options.Has("--keep");
  Project project = LoadMapArgument(options.Positionals.front());
  const LandNamingResult result = NameTheLand(project.Map, project.Descriptions, project.Domains, naming);
  SaveMapFile(output, project, fileOptions);
  target.Deliver();
  if (std::ostream* report = target.Report())
    *report << "name-seed: " << naming.Seed << "\n"
            << "realms: " << result.Realms << "\nfeatures: " << result.Features << "\nsites: " << result.Sites << "\n";
}

}  // namespace mireforge::cli
