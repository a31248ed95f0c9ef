#include "formats/sql_export.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/file_io.h"
#include "formats/midnight_map.h"
#include "base/error.h"
#include "project/project.h"
#include "support/crlf_lines.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

using namespace std::string_literals;

// A width x height map framed by frozen wastes, every other terrain inside, default descriptions.
Project FramedProject(int width, int height) {
  Project p;
  p.Map.ResizeMap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int inner = (x + y) % 16 == FrozenWastes ? Plains : (x + y) % 16;
      p.Map.Cells[x + y * width] = static_cast<TerrainCode>(p.Map.OnBorder(x, y) ? FrozenWastes : inner);
    }
  BuildDefaultDescriptions(p.Descriptions, p.Map);
  return p;
}

SqlExportOptions AllOptions() {
  SqlExportOptions o;
  o.SelectAllMmuOptions();
  return o;
}

TEST(SqlExport, SampleShowsFiveStatementsAndAnEllipsis) {
  SqlExportOptions update;
  update.GenerationMethod = SqlExportOptions::UpdateClause;
  SqlExportOptions renamed;
  renamed.TableName = "T";
  renamed.DescriptionColumn = true;
  renamed.DescriptionColumnName = "D";
  struct Case {
    SqlExportOptions options;
    std::string first;
    std::string last;
  } cases[] = {
      {SqlExportOptions{}, R"(insert into MPD_MapDescriptions (MPD_Row, MPD_Column, MPD_TTY_ID) values (1,1,"citadel");)",
       R"(insert into MPD_MapDescriptions (MPD_Row, MPD_Column, MPD_TTY_ID) values (5,5,"village");)"},
      {AllOptions(),
       R"(insert into MPD_MapDescriptions (MPD_SCN_ID, MPD_Row, MPD_Column, MPD_TTY_ID, MPD_Description, MPD_DOM_ID) values (0,1,1,"C","description",0);)",
       R"(insert into MPD_MapDescriptions (MPD_SCN_ID, MPD_Row, MPD_Column, MPD_TTY_ID, MPD_Description, MPD_DOM_ID) values (0,5,5,"V","description",0);)"},
      {update, R"(update MPD_MapDescriptions set MPD_TTY_ID = "citadel" where MPD_Row = 1 and MPD_Column = 1;)",
       R"(update MPD_MapDescriptions set MPD_TTY_ID = "village" where MPD_Row = 5 and MPD_Column = 5;)"},
      {renamed, R"(insert into T (MPD_Row, MPD_Column, MPD_TTY_ID, D) values (1,1,"citadel","description");)",
       R"(insert into T (MPD_Row, MPD_Column, MPD_TTY_ID, D) values (5,5,"village","description");)"},
  };
  for (const Case& c : cases) {
    const auto lines = BuildSQLSample(c.options);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], c.first);
    EXPECT_EQ(lines[4], c.last);
    EXPECT_EQ(lines[5], "...");
  }
}

TEST(SqlExport, OptionsDefaultsAndRules) {
  SqlExportOptions o;
  EXPECT_TRUE(o.CanSave());
  o.SelectAllMmuOptions();
  EXPECT_TRUE(o.AbbreviatedTerrain && o.ScenarioColumn && o.DescriptionColumn && o.DomainColumn &&
              o.DomainDescriptions);
  EXPECT_FALSE(o.OmitBorder);
  for (std::string SqlExportOptions::*field : {&SqlExportOptions::TableName, &SqlExportOptions::XColumn,
                                               &SqlExportOptions::YColumn, &SqlExportOptions::TerrainColumn}) {
    SqlExportOptions empty;
    empty.*field = "";
    EXPECT_FALSE(empty.CanSave());
  }
}

TEST(SqlExport, StatementsCarryTheCellValues) {
  SqlExportOptions o = AllOptions();
  o.ScenarioValue = "7";
  EXPECT_EQ(WriteSQLRow(o, 3, 4, Plains, "Moon ring", 12),
            R"(insert into MPD_MapDescriptions (MPD_SCN_ID, MPD_Row, MPD_Column, MPD_TTY_ID, MPD_Description, MPD_DOM_ID) values (7,3,4," ","Moon ring",12);)");
  EXPECT_NE(WriteSQLRow(o, 0, 0, Mountains, "", 0).find(R"(,"M","",0);)"), std::string::npos);
  // The update has no scenario, description or domain part whatever the options say.
  o.GenerationMethod = SqlExportOptions::UpdateClause;
  EXPECT_EQ(WriteSQLRow(o, 9, 8, Lake, "ignored", 3),
            R"(update MPD_MapDescriptions set MPD_TTY_ID = "E" where MPD_Row = 9 and MPD_Column = 8;)");
  EXPECT_EQ(DomainStatement(255, "Lothoril"),
            R"(insert into DOM_Domains(DOM_SCN_ID, DOM_Description) values(255,"Lothoril");)");
}

TEST(SqlExport, TextsStayAsTheyAreUnlessNoCharacterSetCouldReadThemSafely) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"The Tower of the Moon, it's old; -- #1 (50%) 'x'", R"("The Tower of the Moon, it's old; -- #1 (50%) 'x'")"},
      {"", R"("")"},
      {R"(say "hi")", R"("say ""hi""")"},
      {R"(C:\maps\)", "X'433A5C6D6170735C'"},
      {"a\nb", "X'610A62'"},
      {"nul\0end\x1A"s, "X'6E756C00656E641A'"},
      {"\xE9t\xE9", "X'E974E9'"},
      // Text typed in the editor goes as the project file's single-byte text,
      // and as UTF-8 only where Windows-1252 lacks a character.
      {"caf\xC3\xA9 \xE2\x82\xAC", "X'636166E92080'"},
      {"\xE2\x86\x92", "X'E28692'"},
      // The multibyte attack: 0x81 swallows an escaping backslash under gbk.
      {"\x81\\\",1); DROP TABLE victim; #", "X'815C222C31293B2044524F50205441424C452076696374696D3B2023'"},
  };
  for (const auto& c : cases) EXPECT_EQ(SqlTextLiteral(c.in), c.out) << c.in;

  SqlExportOptions o = AllOptions();
  EXPECT_EQ(WriteSQLRow(o, 1, 1, Keep, "\"); drop table MPD_MapDescriptions; -- ", 0),
            R"(insert into MPD_MapDescriptions (MPD_SCN_ID, MPD_Row, MPD_Column, MPD_TTY_ID, MPD_Description, MPD_DOM_ID) values (0,1,1,"K","""); drop table MPD_MapDescriptions; -- ",0);)");
  EXPECT_EQ(DomainStatement(1, "a\"b"), R"(insert into DOM_Domains(DOM_SCN_ID, DOM_Description) values(1,"a""b");)");
  EXPECT_EQ(DomainStatement(2, "caf\xE9"), R"(insert into DOM_Domains(DOM_SCN_ID, DOM_Description) values(2,X'636166E9');)");
}

TEST(SqlExport, NamesThatWouldEndAStatementAreRefused) {
  EXPECT_EQ(SqlExportOptions{}.Refusal(), "");
  SqlExportOptions quoted;
  quoted.TableName = "`map data`";
  quoted.XColumn = "`x``s`";
  quoted.ScenarioColumn = true;
  quoted.ScenarioValue = "(select max(id) from scn)";
  EXPECT_EQ(quoted.Refusal(), "");
  for (const std::string bad : {"a;b", "a\"b", "a'b", "a\\b", "a#b", "a--b", "a/*b", "a\nb", "`open", "`\x81`"}) {
    SqlExportOptions o;
    o.TerrainColumn = bad;
    EXPECT_NE(o.Refusal(), "") << bad;
    EXPECT_THROW(FormatSQLScript(FramedProject(3, 3), o), Error) << bad;
  }
  SqlExportOptions o;
  o.ScenarioValue = "0; drop table victim";
  EXPECT_EQ(o.Refusal(), "") << "an option that is off is not written";
  o.ScenarioColumn = true;
  EXPECT_EQ(o.Refusal(),
            "The scenario value \"0; drop table victim\" would break the SQL statements: it may not hold ; ' \" \\ # -- "
            "/* or line breaks, and `quotes` must be closed");
}

TEST(SqlExport, ScriptLayoutOfAFullMap) {
  const Project p = FramedProject(66, 63);
  const auto lines = SplitCrLfLines(FormatSQLScript(p, SqlExportOptions{}));
  ASSERT_EQ(lines.size(), 4223u);
  EXPECT_EQ(lines[0], "# Map data");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], R"(insert into MPD_MapDescriptions (MPD_Row, MPD_Column, MPD_TTY_ID) values (0,0,"frozen wastes");)");
  EXPECT_EQ(lines[4221], R"(insert into MPD_MapDescriptions (MPD_Row, MPD_Column, MPD_TTY_ID) values (65,62,"frozen wastes");)");
  // Each map row: 66 statements, then one empty line.
  for (int y = 0; y < 63; ++y) {
    const std::size_t first = 2 + y * 67;
    EXPECT_NE(lines[first].find("values (0," + std::to_string(y) + ","), std::string::npos) << y;
    EXPECT_EQ(lines[first + 66], "") << y;
  }
  EXPECT_EQ(lines[2 + 67 + 5], R"(insert into MPD_MapDescriptions (MPD_Row, MPD_Column, MPD_TTY_ID) values (5,1,"downs");)");
  EXPECT_EQ(BuildSQLScriptLines(p, SqlExportOptions{}), lines);
}

TEST(SqlExport, ScriptWithoutTheBorderShiftsTheCoordinates) {
  const Project p = FramedProject(66, 63);
  SqlExportOptions o;
  o.OmitBorder = true;
  const auto lines = BuildSQLScriptLines(p, o);
  ASSERT_EQ(lines.size(), 3967u);
  EXPECT_EQ(lines[2], R"(insert into MPD_MapDescriptions (MPD_Row, MPD_Column, MPD_TTY_ID) values (0,0,"forest");)");
  EXPECT_EQ(lines[2 + 63], R"(insert into MPD_MapDescriptions (MPD_Row, MPD_Column, MPD_TTY_ID) values (63,0,"citadel");)");
  EXPECT_EQ(lines[2 + 64], "");
  EXPECT_EQ(lines.back(), "");
  for (const std::string& line : lines) EXPECT_EQ(line.find("frozen wastes"), std::string::npos);

  // Two columns wide: only the heading and one empty line per inner row.
  const auto narrow = BuildSQLScriptLines(FramedProject(2, 5), o);
  EXPECT_EQ(narrow, (std::vector<std::string>{"# Map data", "", "", "", ""}));
}

TEST(SqlExport, DomainDataListsNamedDomainsInOrder) {
  Project p = FramedProject(3, 3);
  SqlExportOptions o;
  o.DomainDescriptions = true;
  auto lines = BuildSQLScriptLines(p, o);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "# Domain data");
  EXPECT_EQ(lines.back(), "");

  p.Domains.Slots[200].Name = "Corleth";
  p.Domains.Slots[3].Name = "Dodrak";
  p.Domains.Slots[4].Color = 0x123456;  // a colour alone does not define a domain
  lines = BuildSQLScriptLines(p, o);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[lines.size() - 4], "# Domain data");
  EXPECT_EQ(lines[lines.size() - 2], R"(insert into DOM_Domains(DOM_SCN_ID, DOM_Description) values(3,"Dodrak");)");
  EXPECT_EQ(lines.back(), R"(insert into DOM_Domains(DOM_SCN_ID, DOM_Description) values(200,"Corleth");)");
}

TEST(SqlExport, CellsUseTheirDescriptionAndDomainAndTheCurrentTerrain) {
  Project p = FramedProject(4, 3);
  p.CellDescription(2, 1)->Text = "Lake \"Ithrorn\"";
  p.CellDescription(2, 1)->Domain = 9;
  p.Map.Cells[2 + 1 * 4] = Lake;  // repainted after the item was made: the grid wins
  SqlExportOptions o;
  o.DescriptionColumn = true;
  o.DomainColumn = true;
  const auto lines = BuildSQLScriptLines(p, o);
  EXPECT_EQ(lines[2 + 5 + 2],
            R"(insert into MPD_MapDescriptions (MPD_Row, MPD_Column, MPD_TTY_ID, MPD_Description, MPD_DOM_ID) values (2,1,"lake","Lake ""Ithrorn""",9);)");

  // A description list that does not cover the map falls back to the terrain names.
  p.Descriptions.Clear();
  const auto fallback = BuildSQLScriptLines(p, o);
  EXPECT_EQ(fallback[2 + 5 + 2],
            R"(insert into MPD_MapDescriptions (MPD_Row, MPD_Column, MPD_TTY_ID, MPD_Description, MPD_DOM_ID) values (2,1,"lake","lake",0);)");
}

TEST(SqlExport, WritesTheFileAndReportsFailures) {
  TempDir dir;
  const Project p = FramedProject(5, 4);
  const std::string path = dir.File("map.sql");
  WriteSQLScript(path, p, SqlExportOptions{});
  EXPECT_EQ(ReadWholeFile(path), FormatSQLScript(p, SqlExportOptions{}));

  const std::string bad = dir.File("missing/map.sql");
  try {
    WriteSQLScript(bad, p, SqlExportOptions{});
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + bad + ": No such file or directory");
  }
}

TEST(SqlExport, AccompanyingMap) {
  EXPECT_EQ(AccompanyingMapName("/x/map.sql"), "/x/map.mmf");
  EXPECT_EQ(AccompanyingMapName("/x/map.txt"), "/x/map.mmf");
  EXPECT_EQ(AccompanyingMapName("/x.d/map"), "/x.d/map.mmf");
  EXPECT_EQ(ReplaceMapQuestion("/x/map.mmf"), "/x/map.mmf already exists.\nDo you want to replace it?");

  TempDir dir;
  const Project p = FramedProject(7, 6);
  SqlExportOptions o;
  o.OmitBorder = true;
  const std::string script = dir.File("m.sql");
  const std::string map = dir.File("m.mmf");
  int asked = 0;
  EXPECT_TRUE(WriteAccompanyingMap(script, p.Map, o, [&](const std::string&) { return ++asked, false; }));
  EXPECT_EQ(asked, 0);  // a new file needs no question
  EXPECT_EQ(ReadWholeFile(map), FormatMidnightMap(p.Map, true));

  WriteWholeFile(map, "old", "x %s");
  std::string question;
  EXPECT_FALSE(WriteAccompanyingMap(script, p.Map, o, [&](const std::string& q) { return question = q, false; }));
  EXPECT_EQ(question, ReplaceMapQuestion(map));
  EXPECT_EQ(ReadWholeFile(map), "old");
  EXPECT_FALSE(WriteAccompanyingMap(script, p.Map, o, nullptr));
  EXPECT_EQ(ReadWholeFile(map), "old");

  o.OmitBorder = false;
  EXPECT_TRUE(WriteAccompanyingMap(script, p.Map, o, [](const std::string&) { return true; }));
  EXPECT_EQ(ReadWholeFile(map), FormatMidnightMap(p.Map, false));
}

}  // namespace
}  // namespace mireforge
