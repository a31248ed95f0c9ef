// Every format through the command line: round trips, the SQL options in the
// statements, the HTML page and its pictures.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_runner.h"
#include "base/file_io.h"
#include "formats/map_files.h"
#include "formats/midnight_map.h"
#include "pictures/picture.h"
#include "formats/preview_image.h"
#include "formats/project_file.h"
#include "support/temp_dir.h"

namespace mireforge::cli {
namespace {

// An 8 x 6 framed map holding every terrain code once inside the frame.
Project EveryTerrainProject() {
  Project project;
  project.Map.ResizeMap(8, 6);
  project.Map.FillTerrain(FrozenWastes, true);
  project.Map.FillTerrain(Plains, false);
  for (int code = 0; code < TerrainCount; ++code) project.Map.Cells[9 + code % 6 + (code / 6) * 8] = code;
  project.Map.RebuildTerrainRows();
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  return project;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
  return lines;
}

void ExpectSuccess(const std::vector<std::string>& args) {
  const CliResult result = RunInProcess(args);
  EXPECT_EQ(result.Status, 0) << result.Err;
  EXPECT_EQ(result.Err, "");
}

TEST(CliFormats, TerrainSurvivesEveryReadableFormatInTurn) {
  TempDir dir;
  const Project original = EveryTerrainProject();
  SaveMapFile(dir.File("0.php"), original);
  const std::vector<std::string> chain = {"1.mfp", "2.png", "3.bmp", "4.mmf", "5.PNG", "6.mfp", "7.php"};
  std::string from = dir.File("0.php");
  for (const std::string& name : chain) {
    SCOPED_TRACE(name);
    ExpectSuccess({"convert", from, "-o", dir.File(name)});
    const Project read = LoadMapFile(dir.File(name));
    EXPECT_EQ(read.Map.Width, 8);
    EXPECT_EQ(read.Map.Cells, original.Map.Cells);
    EXPECT_EQ(read.Map.TerrainRows, original.Map.Cells);
    ASSERT_EQ(read.Descriptions.Size(), 48u);
    from = dir.File(name);
  }
  EXPECT_EQ(ReadWholeFile(dir.File("7.php")), ReadWholeFile(dir.File("0.php")));

  // The extension picks the kind of picture, and its pixels are the preview colours.
  EXPECT_EQ(ReadWholeFile(dir.File("3.bmp")).substr(0, 2), "BM");
  EXPECT_EQ(ReadWholeFile(dir.File("2.png")).substr(1, 3), "PNG");
  const Image png = LoadPicture(dir.File("2.png"));
  ASSERT_EQ(png.Width, 8);
  EXPECT_EQ(png.At(0, 0) & 0xFFFFFF, ColorToPixel(PreviewPalette[FrozenWastes]) & 0xFFFFFF);
  EXPECT_EQ(png.At(2, 1) & 0xFFFFFF, ColorToPixel(PreviewPalette[Citadel]) & 0xFFFFFF);
}

TEST(CliFormats, ProjectsKeepDescriptionsDomainsAndTheGeneratorRows) {
  TempDir dir;
  Project project = EveryTerrainProject();
  project.CellDescription(2, 1)->Text = "Castle \"Gloom\"";
  project.CellDescription(2, 1)->Domain = 7;
  project.Domains.Slots[7] = {0x00FF00, "Marsh"};
  SaveProject(project, dir.File("in.mfp"));

  ExpectSuccess({"convert", dir.File("in.mfp"), "-o", dir.File("out.mfp")});
  const Project copy = LoadMapFile(dir.File("out.mfp"));
  EXPECT_EQ(copy.Map.Cells, project.Map.Cells);
  EXPECT_EQ(copy.CellDescription(2, 1)->Text, "Castle \"Gloom\"");
  EXPECT_EQ(copy.CellDescription(2, 1)->Domain, 7);
  EXPECT_EQ(copy.Domains.Slots[7].Name, "Marsh");
  EXPECT_EQ(copy.Domains.Slots[7].Color, 0x00FF00);

  // A generated map's project holds the rows it was made from.
  const CliResult made = RunInProcess({"generate", "cevo", "--seed", "12", "--width", "30", "--height", "20",
                                       "--detail", "80", "-o", dir.File("cevo.mfp")});
  ASSERT_EQ(made.Status, 0) << made.Err;
  const Project generated = LoadMapFile(dir.File("cevo.mfp"));
  EXPECT_EQ(generated.Map.Width, 30);
  EXPECT_EQ(generated.Map.Height, 20);
  EXPECT_EQ(generated.Rows.Mode, static_cast<int>(GenerationMethod::CEvo));
  EXPECT_EQ(generated.Rows.CEvo.Seed, "12");
  EXPECT_EQ(generated.Rows.CEvo.ElevationDetail, "80");
  EXPECT_EQ(generated.Rows.CEvo.Randomize, "False");
}

TEST(CliFormats, SqlOptionsReachTheStatements) {
  TempDir dir;
  Project project = EveryTerrainProject();
  project.CellDescription(0, 0)->Text = "corner";
  project.CellDescription(0, 0)->Domain = 3;
  project.CellDescription(1, 1)->Domain = 4;
  project.Domains.Slots[4].Name = "North";
  SaveProject(project, dir.File("in.mfp"));

  struct Case {
    std::vector<std::string> options;
    std::string firstStatement;  // the third line: after "# Map data" and an empty line
    std::size_t lines;
  };
  const std::size_t full = 2 + 6 * (8 + 1), inner = 2 + 4 * (6 + 1);
  const std::vector<Case> cases = {
      {{}, "insert into MPD_MapDescriptions (MPD_Row, MPD_Column, MPD_TTY_ID) values (0,0,\"frozen wastes\");", full},
      {{"--update", "--table", "T", "--x-column", "X", "--y-column", "Y", "--terrain-column", "K"},
       "update T set K = \"frozen wastes\" where X = 0 and Y = 0;", full},
      // The update statement carries no scenario, description or domain part.
      {{"--update", "--scenario", "5", "--description-column", "D", "--domain-column", "M"},
       "update MPD_MapDescriptions set MPD_TTY_ID = \"frozen wastes\" where MPD_Row = 0 and MPD_Column = 0;", full},
      {{"--abbreviated", "--scenario", "9", "--description-column", "MPD_Description", "--domain-column", "MPD_DOM_ID"},
       "insert into MPD_MapDescriptions (MPD_SCN_ID, MPD_Row, MPD_Column, MPD_TTY_ID, MPD_Description, MPD_DOM_ID) "
       "values (9,0,0,\"Z\",\"corner\",3);",
       full},
      {{"--scenario-column", "SCN"}, "insert into MPD_MapDescriptions (SCN, MPD_Row, MPD_Column, MPD_TTY_ID) values "
                                     "(0,0,0,\"frozen wastes\");",
       full},
      // Without the frame the first inner cell, a plains one, is written as 0, 0.
      {{"--omit-border", "--abbreviated"},
       "insert into MPD_MapDescriptions (MPD_Row, MPD_Column, MPD_TTY_ID) values (0,0,\" \");", inner},
      {{"--domains"}, "insert into MPD_MapDescriptions (MPD_Row, MPD_Column, MPD_TTY_ID) values (0,0,\"frozen wastes\");",
       full + 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.firstStatement);
    std::vector<std::string> args = {"convert", dir.File("in.mfp"), "-o", dir.File("out.sql")};
    args.insert(args.end(), c.options.begin(), c.options.end());
    ExpectSuccess(args);
    const std::vector<std::string> lines = Lines(ReadWholeFile(dir.File("out.sql")));
    ASSERT_EQ(lines.size(), c.lines);
    EXPECT_EQ(lines[0], "# Map data");
    EXPECT_EQ(lines[2], c.firstStatement);
  }
  const std::vector<std::string> withDomains = Lines(ReadWholeFile(dir.File("out.sql")));
  EXPECT_EQ(std::vector<std::string>(withDomains.end() - 3, withDomains.end()),
            (std::vector<std::string>{"# Domain data", "", "insert into DOM_Domains(DOM_SCN_ID, DOM_Description) "
                                                           "values(4,\"North\");"}));
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.mmf"))) << "the companion map only when asked";
}

TEST(CliFormats, SqlWithMapWritesTheCompanionMapReplacingAnOldOne) {
  TempDir dir;
  const Project project = EveryTerrainProject();
  SaveMapFile(dir.File("in.php"), project);
  WriteWholeFile(dir.File("script.mmf"), "old", "%s");
  ExpectSuccess({"convert", dir.File("in.php"), "-o", dir.File("script.sql"), "--with-map", "--omit-border"});
  EXPECT_EQ(ReadWholeFile(dir.File("script.mmf")), FormatMidnightMap(project.Map, true));

  // generate writes the same exports.
  ExpectSuccess({"generate", "plasma", "--seed", "3", "--width", "20", "--height", "10", "-o", dir.File("gen.sql"),
                 "--with-map", "--update"});
  EXPECT_EQ(Lines(ReadWholeFile(dir.File("gen.sql"))).size(), 2u + 10 * 21);
  EXPECT_EQ(LoadMapFile(dir.File("gen.mmf")).Map.Width, 20);
}

TEST(CliFormats, HtmlPageWithAndWithoutItsSixteenPictures) {
  TempDir dir;
  Project project = EveryTerrainProject();
  SaveProject(project, dir.File("in.mfp"));
  std::filesystem::create_directory(dir.File("bare"));
  std::filesystem::create_directory(dir.File("full"));

  ExpectSuccess({"convert", dir.File("in.mfp"), "-o", dir.File("bare/map.html")});
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("bare")), {}), 1);
  const std::vector<std::string> lines = Lines(ReadWholeFile(dir.File("bare/map.html")));
  ASSERT_EQ(lines.size(), 7u + 6 + 3);
  EXPECT_EQ(lines[0], "<HTML>");
  const std::string firstRow = "<TR><TD><IMG src=\"A.gif\" title=\"frozen wastes\" width=\"32\" height=\"32\">";
  EXPECT_EQ(lines[7].substr(0, firstRow.size()), firstRow);

  ExpectSuccess({"generate", "plasma", "--seed", "1", "--width", "10", "--height", "10", "-o",
                 dir.File("full/map.html"), "--with-pictures"});
  for (const char digit : std::string("0123456789ABCDEF")) {
    const std::string gif = dir.File(std::string("full/") + digit + ".gif");
    SCOPED_TRACE(gif);
    ASSERT_TRUE(std::filesystem::exists(gif));
    EXPECT_EQ(ReadWholeFile(gif).substr(0, 4), "GIF8");
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("full")), {}), 17);
}

}  // namespace
}  // namespace mireforge::cli
