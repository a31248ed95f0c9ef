#include "formats/sql_export.h"

#include <charconv>
#include <filesystem>

#include "base/file_io.h"
#include "formats/midnight_map.h"
#include "base/text_encoding.h"
#include "base/error.h"
#include "model/terrain.h"
#include "project/project.h"

namespace mireforge {

namespace {

constexpr std::string_view WriteFailure = "Cannot create file %s";

// Plain printable ASCII without a backslash reads the same under every client
// character set and with or without NO_BACKSLASH_ESCAPES, once its quotes are
// doubled. Anything else goes as a hex literal: a backslash escape means one
// thing or another depending on the server's mode, and under gbk, big5, sjis or
// cp932 a byte above 0x7F joins the escaping backslash into one character,
// freeing the quote after it. The literal names its character set, since bare
// hex is binary and a utf8mb4 column refuses or mangles its accents: latin1
// (MariaDB's latin1 is Windows-1252) for the project file's single-byte text,
// utf8mb4 for a text with a character Windows-1252 lacks.
bool PlainSqlText(std::string_view text) {
  for (const unsigned char c : text)
    if (c < 0x20 || c > 0x7E || c == '\\') return false;
  return true;
}

void AppendTextLiteral(std::string& out, std::string_view text) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  if (PlainSqlText(text)) {
    out += '"';
    for (const char c : text) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
    return;
  }
  const std::optional<std::string> latin1 = Windows1252Bytes(text);
  out += latin1 ? "_latin1 X'" : "_utf8mb4 X'";
  for (const unsigned char c : latin1 ? *latin1 : EncodeFileText(text)) {
    out += Digits[c >> 4];
    out += Digits[c & 15];
  }
  out += '\'';
}

// What a table or column name (or the scenario value) may not hold: anything
// that ends the statement, starts a comment or opens a string. A `quoted`
// part may hold blanks and punctuation, but no control characters, and no bytes
// above 0x7F, which a multibyte client character set could join with the
// closing backtick.
bool EndsStatement(std::string_view text) {
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (c < 0x20 || c == 0x7F) return true;
    if (c == '`') {
      if (quoted && next == '`') ++i;  // a doubled backtick inside the quotes
      else quoted = !quoted;
      continue;
    }
    if (quoted) {
      if (c > 0x7F) return true;
      continue;
    }
    if (c == ';' || c == '\'' || c == '"' || c == '\\' || c == '#' || (c == '-' && next == '-') ||
        (c == '/' && next == '*'))
      return true;
  }
  return quoted;
}

void AppendNumber(std::string& out, long long value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, end);
}

// Builds cell statements; the fixed parts are joined once, since a 512 x 512
// map has 262,144 statements.
class StatementBuilder {
 public:
  explicit StatementBuilder(const SqlExportOptions& o) : options_(o), update_(o.GenerationMethod == SqlExportOptions::UpdateClause) {
    if (update_) {
      // The update carries no scenario, description or domain part.
      head_ = "update " + o.TableName + " set " + o.TerrainColumn + " = \"";
      middle_ = "\" where " + o.XColumn + " = ";
      tail_ = " and " + o.YColumn + " = ";
      return;
    }
    head_ = "insert into " + o.TableName + " (";
    if (o.ScenarioColumn) head_ += o.ScenarioColumnName + ", ";
    head_ += o.XColumn + ", " + o.YColumn + ", " + o.TerrainColumn;
    if (o.DescriptionColumn) head_ += ", " + o.DescriptionColumnName;
    if (o.DomainColumn) head_ += ", " + o.DomainColumnName;
    head_ += ") values (";
    if (o.ScenarioColumn) head_ += o.ScenarioValue + ",";
  }

  void Append(std::string& out, int x, int y, int terrain, std::string_view description, long long domain) const {
    const int code = TerrainOf(terrain);
    const std::string_view terrainText =
        options_.AbbreviatedTerrain ? TerrainLetters.substr(code, 1) : TerrainNames[code];
    out += head_;
    if (update_) {
      out += terrainText;
      out += middle_;
      AppendNumber(out, x);
      out += tail_;
      AppendNumber(out, y);
      out += ';';
      return;
    }
    AppendNumber(out, x);
    out += ',';
    AppendNumber(out, y);
    out += ",\"";
    out += terrainText;
    out += '"';
    if (options_.DescriptionColumn) {
      out += ',';
      AppendTextLiteral(out, description);
    }
    if (options_.DomainColumn) {
      out += ',';
      AppendNumber(out, domain);
    }
    out += ");";
  }

 private:
  const SqlExportOptions& options_;
  bool update_;
  std::string head_, middle_, tail_;
};

// A cell without a description entry (the list does not match the map) gets what
// a fresh map would give it, rather than reading past the list.
void CellValues(const Project& project, int x, int y, std::string_view& text, long long& domain) {
  const TDescItem* item = project.CellDescription(x, y);
  if (item) {
    text = item->Text;
    domain = item->Domain;
  } else {
    text = TerrainNames[project.Map.GetTerrain(x, y)];
    domain = 0;
  }
}

}  // namespace

void SqlExportOptions::SelectAllMmuOptions() {
  AbbreviatedTerrain = true;
  ScenarioColumn = true;
  DescriptionColumn = true;
  DomainColumn = true;
  DomainDescriptions = true;
}

bool SqlExportOptions::CanSave() const {
  return !TableName.empty() && !XColumn.empty() && !YColumn.empty() && !TerrainColumn.empty();
}

std::string SqlExportOptions::Refusal() const {
  const std::pair<const char*, const std::string*> fields[] = {
      {"table name", &TableName},
      {"X column", &XColumn},
      {"Y column", &YColumn},
      {"terrain column", &TerrainColumn},
      {"description column", DescriptionColumn ? &DescriptionColumnName : nullptr},
      {"scenario column", ScenarioColumn ? &ScenarioColumnName : nullptr},
      {"scenario value", ScenarioColumn ? &ScenarioValue : nullptr},
      {"domain column", DomainColumn ? &DomainColumnName : nullptr},
  };
  for (const auto& [field, text] : fields)
    if (text && EndsStatement(*text))
      return "The " + std::string(field) + " \"" + *text +
             "\" would break the SQL statements: it may not hold ; ' \" \\ # -- /* or line breaks, and `quotes` must be closed";
  return {};
}

std::string SqlTextLiteral(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  AppendTextLiteral(out, text);
  return out;
}

std::string WriteSQLRow(const SqlExportOptions& options, int x, int y, int terrain, std::string_view description,
                        long long domain) {
  std::string line;
  StatementBuilder(options).Append(line, x, y, terrain, description, domain);
  return line;
}

std::string DomainStatement(int number, std::string_view name) {
  return "insert into DOM_Domains(DOM_SCN_ID, DOM_Description) values(" + std::to_string(number) + "," +
         SqlTextLiteral(name) + ");";
}

std::vector<std::string> BuildSQLSample(const SqlExportOptions& options) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 5; ++i) lines.push_back(WriteSQLRow(options, i, i, i, "description", 0));
  lines.emplace_back("...");
  return lines;
}

namespace {

// Calls line(text) for every line of the script, in order.
template <typename LineSink>
void ForEachScriptLine(const Project& project, const SqlExportOptions& options, LineSink&& line) {
  const MapGrid& map = project.Map;
  line(std::string_view("# Map data"));
  line(std::string_view());
  if (options.Transaction) line(std::string_view("start transaction;"));
  // Without the border the inner cells are written shifted so the first inner cell is 0, 0.
  const int inset = options.OmitBorder ? 1 : 0;
  const StatementBuilder builder(options);
  std::string statement;
  for (int y = inset; y < map.Height - inset; ++y) {
    for (int x = inset; x < map.Width - inset; ++x) {
      std::string_view text;
      long long domain = 0;
      CellValues(project, x, y, text, domain);
      statement.clear();
      builder.Append(statement, x - inset, y - inset, map.GetTerrain(x, y), text, domain);
      line(std::string_view(statement));
    }
    line(std::string_view());
  }
  if (options.DomainDescriptions) {
    line(std::string_view("# Domain data"));
    line(std::string_view());
    for (int n = 0; n < DomainCount; ++n)
      if (project.Domains.Defined(n)) line(std::string_view(DomainStatement(n, project.Domains.Name(n))));
  }
  if (options.Transaction) line(std::string_view("commit;"));
}

}  // namespace

std::vector<std::string> BuildSQLScriptLines(const Project& project, const SqlExportOptions& options) {
  std::vector<std::string> lines;
  ForEachScriptLine(project, options, [&](std::string_view text) { lines.emplace_back(text); });
  return lines;
}

std::string FormatSQLScript(const Project& project, const SqlExportOptions& options) {
  if (const std::string refusal = options.Refusal(); !refusal.empty()) throw Error(refusal);
  std::string out;
  // One statement per cell, a little longer than a bare one; growing a script of
  // tens of megabytes step by step costs more than building it.
  const std::size_t perCell = WriteSQLRow(options, 100, 100, 0, "", 0).size() + (options.DescriptionColumn ? 24 : 4);
  out.reserve(project.Map.Cells.size() * perCell + 64);
  ForEachScriptLine(project, options, [&](std::string_view text) {
    out += text;
    out += "\r\n";
  });
  return out;
}

void WriteSQLScript(const std::string& path, const Project& project, const SqlExportOptions& options) {
  WriteWholeFile(path, FormatSQLScript(project, options), std::string(WriteFailure));
}

std::string AccompanyingMapName(const std::string& scriptPath) {
  return std::filesystem::path(scriptPath).replace_extension(".mmf").string();
}

std::string ReplaceMapQuestion(const std::string& mapPath) {
  return mapPath + " already exists.\nDo you want to replace it?";
}

bool WriteAccompanyingMap(const std::string& scriptPath, const MapGrid& grid, const SqlExportOptions& options,
                          const std::function<bool(const std::string& question)>& confirmReplace) {
  const std::string mapPath = AccompanyingMapName(scriptPath);
  std::error_code ec;
  if (std::filesystem::exists(mapPath, ec) && !(confirmReplace && confirmReplace(ReplaceMapQuestion(mapPath))))
    return false;
  WriteMidnightMap(mapPath, grid, options.OmitBorder);
  return true;
}

}  // namespace mireforge
