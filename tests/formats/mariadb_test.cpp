// Runs exported SQL scripts on a real MariaDB server and checks what arrives in the tables.
#include <gtest/gtest.h>

#include <vector>

#include "base/file_io.h"
#include "formats/midnight_map.h"
#include "formats/sql_export.h"
#include "base/text_encoding.h"
#include "project/project.h"
#include "support/mariadb_server.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

using namespace std::string_literals;

// Texts that broke the script or ran as SQL when written unescaped.
const std::string HostileTexts[] = {
    "\"); drop table MPD_MapDescriptions; -- ",
    "\\\"); delete from DOM_Domains; #",
    "ends in a backslash \\",
    "\\",
    "\"",
    "\"\"",
    "line one\nline two\r\n",
    "nul \0 and ctrl-z \x1A"s,
    "'single' and \"double\" and ''",
    "caf\xE9 \xFF",
    "%s %d \\n \\0 \\%",
    "tab\there */ /* ; \\g \\q",
    "",
};

std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

Project HostileProject() {
  Project p;
  p.Map.ResizeMap(66, 63);
  for (int y = 0; y < 63; ++y)
    for (int x = 0; x < 66; ++x)
      p.Map.Cells[x + y * 66] = static_cast<TerrainCode>(p.Map.OnBorder(x, y) ? FrozenWastes : (x * 3 + y) % 16);
  BuildDefaultDescriptions(p.Descriptions, p.Map);
  int i = 0;
  for (TDescItem& item : p.Descriptions.Entries) {
    if (item.X % 5 == 1) item.Text = HostileTexts[i++ % std::size(HostileTexts)];
    item.Domain = (item.X + item.Y) % 256;
  }
  p.Domains.Slots[0].Name = "\"); drop table DOM_Domains; --";
  p.Domains.Slots[7].Name = "Dodrak \"the \\ bold\"";
  p.Domains.Slots[255].Name = "caf\xE9's";
  return p;
}

const char* const CreateTables =
    "create database mmu;\n"
    "use mmu;\n"
    "create table MPD_MapDescriptions (MPD_SCN_ID int not null, MPD_Row int not null, MPD_Column int not null,"
    " MPD_TTY_ID varchar(20) not null, MPD_Description text not null, MPD_DOM_ID int not null) character set latin1;\n"
    "create table DOM_Domains (DOM_SCN_ID int not null, DOM_Description text not null) character set latin1;\n";

const char* const DumpCells =
    "select MPD_SCN_ID, MPD_Row, MPD_Column, hex(MPD_TTY_ID), hex(MPD_Description), MPD_DOM_ID"
    " from MPD_MapDescriptions order by MPD_Column, MPD_Row;\n";

// The script of every M/MU option for the project, as text.
std::string AllOptionsScript(const Project& p) {
  SqlExportOptions options;
  options.SelectAllMmuOptions();
  TempDir dir;
  const std::string script = dir.File("map.sql");
  WriteSQLScript(script, p, options);
  return ReadWholeFile(script);
}

// A new database mmu with the two tables, their texts of the given column type.
std::string FreshTables(const std::string& textType, const std::string& more) {
  return "drop database if exists mmu; create database mmu; use mmu;" + more +
         " create table MPD_MapDescriptions (MPD_SCN_ID int, MPD_Row int, MPD_Column int,"
         " MPD_TTY_ID varchar(20), MPD_Description " + textType + ", MPD_DOM_ID int);"
         " create table DOM_Domains (DOM_SCN_ID int, DOM_Description " + textType + ");\n";
}

TEST(MariaDb, ExportedScriptsRunAndStoreEveryTextExactly) {
  MariaDbServer server;
  if (!server.Started()) GTEST_SKIP() << "MariaDB server cannot start here: " << server.Problem();
  auto run = [&](const std::string& statements) {
    const MariaDbServer::Result r = server.Run(statements, "mmu");
    EXPECT_EQ(r.Status, 0) << r.Errors;
    return r.Output;
  };
  ASSERT_EQ(server.Run(CreateTables, "").Status, 0);

  TempDir dir;
  const Project p = HostileProject();
  SqlExportOptions options;
  options.SelectAllMmuOptions();
  options.OmitBorder = true;
  options.ScenarioValue = "3";
  const std::string script = dir.File("map.sql");
  WriteSQLScript(script, p, options);
  const MariaDbServer::Result inserted = server.RunScript(script, "mmu");
  ASSERT_EQ(inserted.Status, 0) << inserted.Errors;

  std::string cells;
  for (int y = 1; y < 62; ++y)
    for (int x = 1; x < 65; ++x) {
      const TDescItem& item = *p.CellDescription(x, y);
      cells += "3\t" + std::to_string(x - 1) + "\t" + std::to_string(y - 1) + "\t" +
               Hex(TerrainLetters.substr(p.Map.GetTerrain(x, y), 1)) + "\t" + Hex(item.Text) + "\t" +
               std::to_string(item.Domain) + "\n";
    }
  EXPECT_EQ(run(DumpCells), cells);
  EXPECT_EQ(run("select DOM_SCN_ID, hex(DOM_Description) from DOM_Domains order by DOM_SCN_ID;\n"),
            "0\t" + Hex(p.Domains.Name(0)) + "\n7\t" + Hex(p.Domains.Name(7)) + "\n255\t" + Hex(p.Domains.Name(255)) +
                "\n");

  // The update script rewrites the terrain of the same cells, by name this time.
  SqlExportOptions update;
  update.GenerationMethod = SqlExportOptions::UpdateClause;
  update.OmitBorder = true;
  WriteSQLScript(script, p, update);
  const MariaDbServer::Result updated = server.RunScript(script, "mmu");
  ASSERT_EQ(updated.Status, 0) << updated.Errors;
  std::string renamed;
  for (int y = 1; y < 62; ++y)
    for (int x = 1; x < 65; ++x)
      renamed += std::to_string(x - 1) + "\t" + std::to_string(y - 1) + "\t" + std::string(TerrainNames[p.Map.GetTerrain(x, y)]) + "\n";
  EXPECT_EQ(run("select MPD_Row, MPD_Column, MPD_TTY_ID from MPD_MapDescriptions order by MPD_Column, MPD_Row;\n"),
            renamed);
}

// One transaction: every cell arrives, and a script that breaks half-way leaves
// the table as it was instead of half a map.
TEST(MariaDb, ATransactionScriptLoadsWholeOrNotAtAll) {
  MariaDbServer server;
  if (!server.Started()) GTEST_SKIP() << "MariaDB server cannot start here: " << server.Problem();
  ASSERT_EQ(server.Run(CreateTables, "").Status, 0);
  TempDir dir;
  const Project p = HostileProject();
  SqlExportOptions options;
  options.SelectAllMmuOptions();
  options.Transaction = true;
  const std::string script = dir.File("map.sql");
  WriteSQLScript(script, p, options);
  const std::string text = ReadWholeFile(script);
  EXPECT_EQ(text.substr(0, 34), "# Map data\r\n\r\nstart transaction;\r\n");
  EXPECT_EQ(text.substr(text.size() - 9), "commit;\r\n");

  const MariaDbServer::Result loaded = server.RunScript(script, "mmu");
  ASSERT_EQ(loaded.Status, 0) << loaded.Errors;
  const char* const count = "select count(*) from MPD_MapDescriptions; select count(*) from DOM_Domains;\n";
  EXPECT_EQ(server.Run(count, "mmu").Output, "4158\n3\n");

  std::string broken = text;
  broken.insert(broken.find("insert", broken.size() / 2), "nonsense;\r\n");
  WriteWholeFile(script, broken, "%s");
  ASSERT_EQ(server.Run("delete from MPD_MapDescriptions; delete from DOM_Domains;\n", "mmu").Status, 0);
  EXPECT_NE(server.RunScript(script, "mmu").Status, 0);
  EXPECT_EQ(server.Run(count, "mmu").Output, "0\n0\n");
}

// Under gbk, big5, sjis and cp932 the byte 0x81 and a following backslash are
// one character: an escaping backslash would be swallowed and free the quote.
TEST(MariaDb, NoClientCharacterSetOrServerModeLetsATextOutOfItsString) {
  MariaDbServer server;
  if (!server.Started()) GTEST_SKIP() << "MariaDB server cannot start here: " << server.Problem();
  const std::string attacks[] = {"\x81\\\",1); DROP TABLE victim; #", "\x81\\\"); DROP TABLE victim; #"};
  Project p;
  p.Map.ResizeMap(2, 1);
  BuildDefaultDescriptions(p.Descriptions, p.Map);
  p.CellDescription(0, 0)->Text = attacks[0];
  p.CellDescription(1, 0)->Text = "caf\xC3\xA9 \\ \"quoted\"";
  p.Domains.Slots[1].Name = attacks[1];
  p.Domains.Slots[2].Name = attacks[0];
  const std::string statements = AllOptionsScript(p);

  for (const std::string charset : {"gbk", "big5", "sjis", "cp932", "latin1", "utf8mb4"})
    for (const bool noBackslashEscapes : {false, true}) {
      SCOPED_TRACE(charset + (noBackslashEscapes ? " with NO_BACKSLASH_ESCAPES" : ""));
      ASSERT_EQ(server.Run(FreshTables("varbinary(200)", " create table victim (id int);"), "").Status, 0);
      const std::string mode = noBackslashEscapes ? "set session sql_mode = concat(@@sql_mode, ',NO_BACKSLASH_ESCAPES');\n" : "";
      const MariaDbServer::Result result = server.Run(mode + statements, "mmu", charset);
      EXPECT_EQ(result.Status, 0) << result.Errors;
      const MariaDbServer::Result check = server.Run(
          "select count(*) from victim;"
          " select hex(MPD_Description) from MPD_MapDescriptions order by MPD_Row;"
          " select DOM_SCN_ID, hex(DOM_Description) from DOM_Domains order by DOM_SCN_ID;\n",
          "mmu");
      EXPECT_EQ(check.Status, 0) << check.Errors;  // the table is still there
      // The tables hold the bytes the project file would: Windows-1252 text.
      const auto stored = [](std::string_view text) { return Hex(EncodeFileText(text)); };
      EXPECT_EQ(check.Output, "0\n" + stored(p.CellDescription(0, 0)->Text) + "\n" + stored(p.CellDescription(1, 0)->Text) +
                                  "\n1\t" + stored(attacks[1]) + "\n2\t" + stored(attacks[0]) + "\n");
    }
}

// Accented texts arrive as the same characters in latin1 and utf8mb4 tables
// under single- and multibyte clients in strict mode, where a bare hex literal
// (binary) is refused by a utf8mb4 column.
TEST(MariaDb, AccentedTextsArriveAsTheSameCharactersInLatin1AndUtf8mb4Tables) {
  MariaDbServer server;
  if (!server.Started()) GTEST_SKIP() << "MariaDB server cannot start here: " << server.Problem();
  // UTF-8 as the editor holds it; the last three have characters Windows-1252 lacks.
  const std::vector<std::string> western = {
      "Ch\xC3\xA2teau d'\xC3\x9Bmbar", "K\xC3\x96LN gate \xE2\x80\x93 \xE2\x82\xAC" "5 \xE2\x80\x9Cquoted\xE2\x80\x9D",
      "\xC3\x83\xC2\xA9 reads as UTF-8 in Windows-1252", R"(C:\maps\ "x")", "Plain tower"};
  const std::vector<std::string> wider = {"\xC5\x81\xC3\xB3" "d\xC5\xBA \xE2\x86\x92 north", "\xE6\x97\xA5\xE6\x9C\xAC",
                                          "dragon \xF0\x9F\x90\x89"};
  for (const std::string table : {"latin1", "utf8mb4"}) {
    std::vector<std::string> texts = western;
    if (table == "utf8mb4") texts.insert(texts.end(), wider.begin(), wider.end());
    Project p;
    p.Map.ResizeMap(static_cast<int>(texts.size()), 1);
    BuildDefaultDescriptions(p.Descriptions, p.Map);
    std::string expected = "cells\n", domains = "domains\n";
    for (std::size_t i = 0; i < texts.size(); ++i) {
      p.CellDescription(static_cast<int>(i), 0)->Text = texts[i];
      p.Domains.Slots[i + 1].Name = texts[i];
      expected += Hex(texts[i]) + "\n";
      domains += Hex(texts[i]) + "\n";
    }
    const std::string statements = AllOptionsScript(p);
    for (const std::string client : {"latin1", "utf8mb4", "gbk"}) {
      SCOPED_TRACE(table + " tables, " + client + " client");
      ASSERT_EQ(server.Run(FreshTables("text character set " + table, ""), "").Status, 0);
      const MariaDbServer::Result result =
          server.Run("set session sql_mode = 'STRICT_ALL_TABLES';\n" + statements, "mmu", client);
      EXPECT_EQ(result.Status, 0) << result.Errors;
      const MariaDbServer::Result check = server.Run(
          "select 'cells'; select hex(convert(MPD_Description using utf8mb4)) from MPD_MapDescriptions order by MPD_Row;"
          " select 'domains'; select hex(convert(DOM_Description using utf8mb4)) from DOM_Domains"
          " where DOM_SCN_ID > 0 order by DOM_SCN_ID;\n",
          "mmu");
      EXPECT_EQ(check.Output, expected + domains) << check.Errors;
    }
  }
}

}  // namespace
}  // namespace mireforge
