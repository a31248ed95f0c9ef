#pragma once
// The SQL export: one insert or update statement per cell for the game's
// database, optionally one insert per named domain, and the companion map file.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mireforge {

class MapGrid;
struct Project;

// What the SQL export wizard collects; the defaults are those it opens with.
struct SqlExportOptions {
  enum Method { InsertClause = 0, UpdateClause = 1 };

  int GenerationMethod = InsertClause;                 // RadioGroup1
  std::string TableName = "MPD_MapDescriptions";       // Edit1
  std::string XColumn = "MPD_Row";                     // Edit2
  std::string YColumn = "MPD_Column";                  // Edit3
  std::string TerrainColumn = "MPD_TTY_ID";            // Edit4
  bool AbbreviatedTerrain = false;                     // CheckBox1: one map letter instead of the name
  bool DescriptionColumn = false;                      // CheckBox3
  std::string DescriptionColumnName = "MPD_Description";  // Edit7
  bool ScenarioColumn = false;                         // CheckBox2
  std::string ScenarioColumnName = "MPD_SCN_ID";       // Edit6
  std::string ScenarioValue = "0";                     // Edit5, written without quotes
  bool DomainColumn = false;                           // CheckBox4
  std::string DomainColumnName = "MPD_DOM_ID";         // Edit8
  bool DomainDescriptions = false;                     // CheckBox6: one insert per named domain
  bool OmitBorder = false;                             // CheckBox5: leave out the frozen-wastes frame
  // One transaction around every statement: a server that commits each statement
  // on its own (autocommit) syncs the disk thousands of times.
  bool Transaction = false;

  // The preference "Automatically select all M/MU options": every M/MU check box but the border one.
  void SelectAllMmuOptions();
  // Saving needs the table name and the three column names of the General tab.
  bool CanSave() const;
  // Why the names or the scenario value cannot go into the statements (they
  // would end one, start a comment or open a string), or empty when they can.
  std::string Refusal() const;
};

// A text as a MySQL/MariaDB string literal that every client character set and
// server mode reads back as the same bytes: printable ASCII without a backslash
// stays in double quotes (a quote doubled), anything else becomes a hex literal
// with its character set: _latin1 X'hex' (Windows-1252) or _utf8mb4 X'hex'.
std::string SqlTextLiteral(std::string_view text);

// The statement of one cell (x, y as written, terrain code, description and domain).
std::string WriteSQLRow(const SqlExportOptions& options, int x, int y, int terrain, std::string_view description,
                        long long domain);

// The statement of one named domain.
std::string DomainStatement(int number, std::string_view name);

// The wizard's sample box: five statements for the cells (i, i), i = 1..5, and "...".
std::vector<std::string> BuildSQLSample(const SqlExportOptions& options);

// The script's lines, without line ends.
std::vector<std::string> BuildSQLScriptLines(const Project& project, const SqlExportOptions& options);
// The script as written: every line followed by CR LF; Error with the options'
// Refusal() when they have one.
std::string FormatSQLScript(const Project& project, const SqlExportOptions& options);

// Writes the script atomically; Error "Cannot create file %s" and the reason when
// it cannot be written, or the options' Refusal().
void WriteSQLScript(const std::string& path, const Project& project, const SqlExportOptions& options);

// The companion map's name: the script's extension replaced by ".mmf", or ".mmf" appended.
std::string AccompanyingMapName(const std::string& scriptPath);
// The question asked before an existing companion map is replaced (caption "Save As").
std::string ReplaceMapQuestion(const std::string& mapPath);
inline constexpr std::string_view ReplaceMapCaption = "Save As";

// Writes the companion map of the script at scriptPath, leaving the border out as
// the options say. When the map file exists, confirmReplace gets the question and
// the map is written only if it answers true. Returns whether the map was written.
bool WriteAccompanyingMap(const std::string& scriptPath, const MapGrid& grid, const SqlExportOptions& options,
                          const std::function<bool(const std::string& question)>& confirmReplace);

}  // namespace mireforge
