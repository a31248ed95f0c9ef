#include "cli/output_options.h"

#include <array>

#include "cli/commands.h"

namespace mireforge::cli {

namespace {

struct FormatOption {
  OptionSyntax Syntax;
  MapFileFeature Feature;  // what the output format must support for it to apply
};

const std::array<FormatOption, 14> FormatOptions = {{
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
    {{"--with-map", "", "", "SQL: also write the map beside the script as .mmf"}, SqlFeature},
    {{"--with-pictures", "", "", "HTML: also write the pictures 0.gif to F.gif beside the page"}, HtmlFeature},
}};

void SetText(const ParsedOptions& options, std::string_view name, std::string& text) {
  if (const std::string* value = options.Value(name)) text = *value;
}

// A column option given turns its column on, under the name given.
bool SetColumn(const ParsedOptions& options, std::string_view name, std::string& column) {
  SetText(options, name, column);
  return options.Has(name);
}

}  // namespace

std::vector<OptionSyntax> MapOutputOptions(std::string_view ownOption) {
  std::vector<OptionSyntax> list = {{"--output", "-o", "FILE", "the file to write; its extension picks the format"}};
  for (const FormatOption& option : FormatOptions)
    if (option.Syntax.Name != ownOption) list.push_back(option.Syntax);
  return list;
}

MapFileOptions MapOutputFileOptions(const ParsedOptions& options, const std::string& path, std::string_view ownOption) {
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
  sql.OmitBorder = file.OmitBorder;
  if (!sql.CanSave()) throw UsageError("--table, --x-column, --y-column and --terrain-column need a name");
  for (std::string_view name : {"--description-column", "--scenario-column", "--scenario", "--domain-column"})
    if (const std::string* value = options.Value(name); value && value->empty())
      throw UsageError(std::string(name) + " needs a " + (name == "--scenario" ? "value" : "name"));
  return file;
}

}  // namespace mireforge::cli
