#include "cli/output_options.h"

#include <stdlib.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "cli/commands.h"
#include "base/error.h"

namespace mireforge::cli {

namespace {

struct FormatOption {
  OptionSyntax Syntax;
  MapFileFeature Feature;  // what the output format must support for it to apply
};

const std::array<FormatOption, 17> FormatOptions = {{
    {{"--omit-border", "", "", "leave the frozen-wastes frame out (.php, .mmf, .sql)"}, OmitBorderFeature},
    {{"--update", "", "", "SQL: update statements instead of inserts"}, SqlFeature},
    {{"--table", "", "NAME", "SQL: table name (MPD_MapDescriptions)"}, SqlFeature},
    {{"--x-column", "", "NAME", "SQL: X column (MPD_Row)"}, SqlFeature},
    {{"--y-column", "", "NAME", "SQL: Y column (MPD_Column)"}, SqlFeature},
    {{"--terrain-column", "", "NAME", "SQL: terrain column (MPD_TTY_ID)"}, SqlFeature},
    {{"--abbreviated", "", "", "SQL: terrain as its one-letter Midnight/MU code"}, SqlFeature},
    {{"--description-column", "", "NAME", "SQL: add the description column, e.g. MPD_Description"}, SqlFeature},
    {{"--scenario-column", "", "NAME", "SQL: add the scenario column, e.g. MPD_SCN_ID"}, SqlFeature},
    {{"--scenario", "", "VALUE", "SQL: scenario value, written unquoted (0); adds the scenario column"}, SqlFeature},
    {{"--domain-column", "", "NAME", "SQL: add the domain column, e.g. MPD_DOM_ID"}, SqlFeature},
    {{"--domains", "", "", "SQL: one insert per named domain"}, SqlFeature},
    {{"--transaction", "", "", "SQL: wrap the statements in one transaction (loads far faster)"}, SqlFeature},
    {{"--with-map", "", "", "SQL: also write the map beside the script as .mmf"}, SqlFeature},
    {{"--with-pictures", "", "", "HTML: also write the pictures 0.gif to F.gif beside the page"}, HtmlFeature},
    {{"--retro", "", "", "Tiled map: the tileset in the retro look"}, TileLookFeature},
    {{"--grayscale", "", "", "Tiled map: the tileset in the grey look"}, TileLookFeature},
}};

void SetText(const ParsedOptions& options, std::string_view name, std::string& text) {
  if (const std::string* value = options.Value(name)) text = *value;
}

// A column option given turns its column on, under the name given.
bool SetColumn(const ParsedOptions& options, std::string_view name, std::string& column) {
  SetText(options, name, column);
  return options.Has(name);
}

const std::string& OutputPath(const ParsedOptions& options) {
  const std::string* path = options.Value("--output");
  if (!path) throw UsageError("missing -o FILE");
  if (path->empty()) throw UsageError("-o needs a file name");
  return *path;
}

// "--format .PHP" and "--format php" name the same format.
std::string FormatExtension(const std::string& text) {
  std::string extension = text.substr(!text.empty() && text.front() == '.' ? 1 : 0);
  if (extension.empty() || extension.find_first_of("/\\") != std::string::npos)
    throw UsageError("--format takes an extension such as php or png, not '" + text + "'");
  return extension;
}

}  // namespace

OutputTarget::OutputTarget(const ParsedOptions& options, const CommandContext& context)
    : context_(context), path_(OutputPath(options)) {
  const std::string* format = options.Value("--format");
  if (path_ != "-") {
    if (format) throw UsageError("--format is for -o -; the extension of " + path_ + " picks its format");
    return;
  }
  if (!format) throw UsageError("-o - needs --format EXT");
  const std::string extension = FormatExtension(*format);
  std::string pattern = (std::filesystem::temp_directory_path() / "mireforge-cli.XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw Error("Cannot create a scratch folder in " + pattern);
  scratchFolder_ = pattern;
  path_ = (std::filesystem::path(scratchFolder_) / ("standard-output." + extension)).string();
}

OutputTarget::~OutputTarget() {
  if (scratchFolder_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(scratchFolder_, ignored);
}

std::ostream* OutputTarget::Report() const {
  if (context_.Quiet) return nullptr;
  return ToStandardOutput() ? &context_.Err : &context_.Out;
}

void OutputTarget::Deliver() const {
  if (!ToStandardOutput()) return;
  std::ifstream in(path_, std::ios::binary);
  if (!in) throw Error(FormatMessage("Cannot open file %s", path_));
  context_.Out << in.rdbuf();
}

std::vector<OptionSyntax> MapOutputOptions(std::string_view ownOption) {
  std::vector<OptionSyntax> list = {
      {"--output", "-o", "FILE", "the file to write; its extension picks the format; - for standard output"},
      OutputFormatOption};
  for (const FormatOption& option : FormatOptions)
    if (option.Syntax.Name != ownOption) list.push_back(option.Syntax);
  return list;
}

MapFileOptions MapOutputFileOptions(const ParsedOptions& options, const std::string& path, std::string_view ownOption) {
  if (const std::string* output = options.Value("--output"); output && *output == "-") {
    try {
      CheckSavable(path);
    } catch (const Error&) {
      throw UsageError("--format takes " + SavableExtensions() + ", not '" + *options.Value("--format") + "'");
    }
    for (std::string_view beside : {"--with-map", "--with-pictures"})
      if (options.Has(beside)) throw UsageError(std::string(beside) + " writes files beside the output: not with -o -");
  }
  CheckSavable(path);
  const MapFileFormat& format = MapFileFormatOf(path);
  const auto given = [&](std::string_view name) { return name != ownOption && options.Has(name); };
  for (const FormatOption& option : FormatOptions)
    if (given(option.Syntax.Name) && !(format.Features & option.Feature))
      throw UsageError("option '" + std::string(option.Syntax.Name) + "' does not apply to a ." +
                       std::string(format.Extension) + " file");

  MapFileOptions file;
  file.OmitBorder = options.Has("--omit-border");
  file.WithMap = options.Has("--with-map");
  file.Html.WritePictures = options.Has("--with-pictures");
  // As in the map image, retro wins over grey.
  file.Look = options.Has("--retro") ? TileLook::Retro : options.Has("--grayscale") ? TileLook::Grayscale : TileLook::Color;

  SqlExportOptions& sql = file.Sql;
  if (options.Has("--update")) sql.GenerationMethod = SqlExportOptions::UpdateClause;
  SetText(options, "--table", sql.TableName);
  SetText(options, "--x-column", sql.XColumn);
  SetText(options, "--y-column", sql.YColumn);
  SetText(options, "--terrain-column", sql.TerrainColumn);
  sql.AbbreviatedTerrain = options.Has("--abbreviated");
  sql.DescriptionColumn = SetColumn(options, "--description-column", sql.DescriptionColumnName);
  sql.ScenarioColumn = SetColumn(options, "--scenario-column", sql.ScenarioColumnName);
  if (options.Has("--scenario")) {
    sql.ScenarioColumn = true;
    SetText(options, "--scenario", sql.ScenarioValue);
  }
  sql.DomainColumn = SetColumn(options, "--domain-column", sql.DomainColumnName);
  sql.DomainDescriptions = given("--domains");
  sql.Transaction = given("--transaction");
  sql.OmitBorder = file.OmitBorder;
  if (!sql.CanSave()) throw UsageError("--table, --x-column, --y-column and --terrain-column need a name");
  for (std::string_view name : {"--description-column", "--scenario-column", "--scenario", "--domain-column"})
    if (const std::string* value = options.Value(name); value && value->empty())
      throw UsageError(std::string(name) + " needs a " + (name == "--scenario" ? "value" : "name"));
  return file;
}

}  // namespace mireforge::cli
