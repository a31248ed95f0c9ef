#include "formats/midnight_map.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/error.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

// Written out here rather than taken from the code under test.
constexpr char Letters[] = " CFHTVDKSEZRLNMX";

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  for (std::size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
    lines.push_back(text.substr(pos, end - pos));
  lines.push_back(text.substr(pos));  // after the final CR LF: must be empty
  return lines;
}

// A framed map whose interior cycles through the codes, so each letter shows up.
MapGrid PatternMap(int width, int height) {
  MapGrid grid;
  grid.ResizeMap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      // Frozen wastes only on the frame, so a leaked frame cell shows as a 'Z'.
      const int code = (x * 7 + y) % 16;
      grid.Cells[x + y * width] =
          static_cast<TerrainCode>(grid.OnBorder(x, y) ? FrozenWastes : code == FrozenWastes ? NoTerrain : code);
    }
  return grid;
}

std::string RowLetters(const MapGrid& grid, int y, int firstX, int lastX) {
  std::string letters;
  for (int x = firstX; x <= lastX; ++x) letters += Letters[grid.GetTerrain(x, y)];
  return letters;
}

const std::string Ruler66 = "//0    5   10   15   20   25   30   35   40   45   50   55   60   65";
const std::string Ticks66 = "//|    |    |    |    |    |    |    |    |    |    |    |    |    |";

void ExpectFrame(const std::vector<std::string>& lines, const std::string& ruler, const std::string& ticks) {
  ASSERT_GE(lines.size(), 14u);
  EXPECT_EQ(lines[0], "<?php");
  EXPECT_EQ(lines[1], "//Midnight Map Data - custom map");
  EXPECT_EQ(lines[2], "//This is auto-generated file, please do not change it manually");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "$map = array(");
  EXPECT_EQ(lines[5], ruler);
  EXPECT_EQ(lines[6], ticks);
  const std::size_t n = lines.size();
  EXPECT_EQ(lines[n - 7], ticks);
  EXPECT_EQ(lines[n - 6], ruler);
  EXPECT_EQ(lines[n - 5], ");");
  EXPECT_EQ(lines[n - 4], "");
  EXPECT_EQ(lines[n - 3], "?>");
  EXPECT_EQ(lines[n - 2], "");
  EXPECT_EQ(lines[n - 1], "") << "the file must end with CR LF";
}

TEST(MidnightMapWrite, FullMapLayoutLineByLine) {
  const MapGrid grid = PatternMap(66, 63);
  const std::string text = FormatMidnightMap(grid, false);
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << "every line ends with CR LF";
  const std::vector<std::string> lines = SplitCrLf(text);
  ASSERT_EQ(lines.size(), 7u + 63u + 7u);
  ExpectFrame(lines, Ruler66, Ticks66);
  for (int y = 0; y < 63; ++y) {
    const std::string separator = y == 62 ? "  //" : ", //";
    EXPECT_EQ(lines[7 + y], " \"" + RowLetters(grid, y, 0, 65) + "\"" + separator + std::to_string(y));
  }
  EXPECT_EQ(lines[7], " \"" + std::string(66, 'Z') + "\", //0");
  EXPECT_EQ(lines[7 + 62].substr(2 + 66), "\"  //62");
  // The first letter stands under the ruler's 0: third character of the line.
  EXPECT_EQ(lines[8][2], 'Z');
  EXPECT_EQ(lines[5][2], '0');
}

TEST(MidnightMapWrite, OmitBorderLeavesTheFrameOutButKeepsIndexesAndRulers) {
  const MapGrid grid = PatternMap(66, 63);
  const std::vector<std::string> lines = SplitCrLf(FormatMidnightMap(grid, true));
  ASSERT_EQ(lines.size(), 7u + 61u + 7u);
  ExpectFrame(lines, Ruler66, Ticks66);
  for (int y = 1; y <= 61; ++y) {
    const std::string separator = y == 61 ? "  //" : ", //";
    EXPECT_EQ(lines[6 + y], " \"" + RowLetters(grid, y, 1, 64) + "\"" + separator + std::to_string(y));
    EXPECT_EQ(lines[6 + y].find('Z'), std::string::npos) << "frame letter in row " << y;
  }
}

TEST(MidnightMapWrite, TinyMapsExactBytes) {
  MapGrid grid;
  grid.ResizeMap(3, 2);
  grid.Cells = {Citadel, Forest, Plains, NoTerrain, 0x1E /* high bits ignored */, Downs};
  const std::string head =
      "<?php\r\n//Midnight Map Data - custom map\r\n"
      "//This is auto-generated file, please do not change it manually\r\n\r\n$map = array(\r\n";
  const std::string tail = ");\r\n\r\n?>\r\n\r\n";
  EXPECT_EQ(FormatMidnightMap(grid, false),
            head + "//0\r\n//|\r\n \"CF \", //0\r\n \"XMD\"  //1\r\n//|\r\n//0\r\n" + tail);
  // Height 2 with the frame left out: no row line at all.
  EXPECT_EQ(FormatMidnightMap(grid, true), head + "//0\r\n//|\r\n//|\r\n//0\r\n" + tail);

  // Width 2 with the frame left out: row lines without letters.
  grid.ResizeMap(2, 3);
  EXPECT_EQ(FormatMidnightMap(grid, true), head + "//0\r\n//|\r\n \"\"  //1\r\n//|\r\n//0\r\n" + tail);

  // The ruler gets its first mark at width 5, its second at 10.
  grid.ResizeMap(5, 1);
  EXPECT_EQ(SplitCrLf(FormatMidnightMap(grid, false))[5], "//0    5");
  grid.ResizeMap(10, 1);
  EXPECT_EQ(SplitCrLf(FormatMidnightMap(grid, false))[6], "//|    |    |");
}

struct ReadCase {
  const char* name;
  std::string text;
  int width;
  int height;
  std::vector<TerrainCode> cells;
};

TEST(MidnightMapRead, ReadingRules) {
  const std::vector<ReadCase> cases = {
      {"letters, lower case and unknown characters", " \"CF \", //0\r\n \"cXD\"  //1\r\n", 3, 2,
       {Citadel, Forest, Plains, NoTerrain, NoTerrain, Downs}},
      {"only lines opening with blank and quote count",
       "<?php\r\n  \"MMM\"\r\n\"MMM\"\r\n\t\"MMM\"\r\n//0\r\n \"ZE\", //0\r\n$map = array(\r\n \"RL\"\r\n?>\r\n", 2, 2,
       {FrozenWastes, Lake, Ruin, Lith}},
      {"LF, CR and CR LF all end lines", " \"T\"\n \"V\"\r \"K\"\r\n \"S\"", 1, 4, {Tower, Village, Keep, Snowhall}},
      {"a short row is filled with none", " \"HHHH\"\r\n \"N\"\r\n", 4, 2,
       {Henge, Henge, Henge, Henge, Cavern, NoTerrain, NoTerrain, NoTerrain}},
      {"a row without closing quote is empty", " \"CC\"\r\n \"CC\r\n", 2, 2,
       {Citadel, Citadel, NoTerrain, NoTerrain}},
      {"letters beyond the width are ignored", " \"D\"\r\n \"MDDD\"\r\n", 1, 2, {Downs, Mountains}},
      {"text after the closing quote is ignored", " \"M\" \"C\", //\"X\r\n", 1, 1, {Mountains}},
      {"bytes above 127 and NUL read as none", std::string(" \"\xC4\0M\"", 6), 3, 1, {NoTerrain, NoTerrain, Mountains}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    const MapGrid grid = ParseMidnightMap(c.text);
    EXPECT_EQ(grid.Width, c.width);
    EXPECT_EQ(grid.Height, c.height);
    EXPECT_EQ(grid.Cells, c.cells);
  }
}

MapGrid RandomMap(int width, int height, unsigned seed) {
  MapGrid grid;
  grid.ResizeMap(width, height);
  for (TerrainCode& cell : grid.Cells) {
    seed = seed * 1103515245u + 12345u;
    cell = static_cast<TerrainCode>((seed >> 16) % 16);
  }
  return grid;
}

TEST(MidnightMapFile, RoundTripsWithAndWithoutFrame) {
  TempDir dir;
  const std::string path = dir.File("map.php");
  for (const auto& [w, h] : std::vector<std::pair<int, int>>{{66, 63}, {1, 1}, {512, 512}, {7, 300}}) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    const MapGrid original = RandomMap(w, h, w * 1000u + h);
    WriteMidnightMap(path, original, false);
    MapGrid loaded = PatternMap(3, 3);
    ReadMidnightMap(path, loaded);
    EXPECT_EQ(loaded.Width, w);
    EXPECT_EQ(loaded.Height, h);
    EXPECT_EQ(loaded.Cells, original.Cells);
  }

  const MapGrid framed = PatternMap(66, 63);
  WriteMidnightMap(path, framed, true);
  MapGrid inner;
  ReadMidnightMap(path, inner);
  ASSERT_EQ(inner.Width, 64);
  ASSERT_EQ(inner.Height, 61);
  for (int y = 0; y < 61; ++y)
    for (int x = 0; x < 64; ++x) ASSERT_EQ(inner.GetTerrain(x, y), framed.GetTerrain(x + 1, y + 1));
}

void ExpectReadFails(const std::string& path, const std::string& message) {
  MapGrid grid = PatternMap(5, 4);
  grid.RebuildTerrainRows();
  const MapGrid before = grid;
  try {
    ReadMidnightMap(path, grid);
    ADD_FAILURE() << "no error for " << message;
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), message);
  }
  EXPECT_EQ(grid.Width, before.Width);
  EXPECT_EQ(grid.Height, before.Height);
  EXPECT_EQ(grid.Cells, before.Cells);
  EXPECT_EQ(grid.TerrainRows, before.TerrainRows);
}

TEST(MidnightMapFile, EveryReadFailureGivesItsMessageAndKeepsTheMap) {
  TempDir dir;
  ExpectReadFails(dir.File("missing.php"), "Cannot open file " + dir.File("missing.php"));
  ExpectReadFails(dir.Path(), "Cannot open file " + dir.Path() + ": it is a folder");

  const std::string row513(513, 'Z');
  std::string rows513;
  for (int i = 0; i < 513; ++i) rows513 += " \"Z\"\r\n";
  std::string rows512;
  for (int i = 0; i < 512; ++i) rows512 += " \"" + std::string(512, 'M') + "\"\r\n";

  const std::vector<std::pair<std::string, std::string>> bad = {
      {"", "List index out of bounds (0)"},
      {"<?php\r\n$map = array(\r\n  \"ZZ\"\r\n);\r\n?>\r\n", "List index out of bounds (0)"},
      {" \"\", //0\r\n \"ZZ\"  //1\r\n", "The first map row of the file holds no terrain letters"},
      {" \"ZZZ\r\n \"ZZZ\"\r\n", "The first map row of the file holds no terrain letters"},
      {" \"" + row513 + "\"\r\n",
       "The first map row of the file holds 513 letters; at most 512 are allowed"},
      {rows513, "The map file has more than 512 rows"},
  };
  for (const auto& [text, message] : bad) {
    const std::string path = dir.File("bad.php");
    WriteWholeFile(path, text, "%s");
    ExpectReadFails(path, message);
  }

  // The largest map still reads.
  WriteWholeFile(dir.File("big.php"), rows512, "%s");
  MapGrid big;
  ReadMidnightMap(dir.File("big.php"), big);
  EXPECT_EQ(big.Width, 512);
  EXPECT_EQ(big.Height, 512);
}

TEST(MidnightMapFile, AFailedWriteReportsAndLeavesWhatStoodThere) {
  TempDir dir;
  const MapGrid grid = PatternMap(6, 6);
  try {
    WriteMidnightMap(dir.File("no/such/folder/m.php"), grid, false);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + dir.File("no/such/folder/m.php") + ": No such file or directory");
  }

  // A folder in the way of the target: the write fails and the folder and its
  // content survive, with no temporary file left behind.
  const std::string blocked = dir.File("taken.php");
  std::filesystem::create_directory(blocked);
  WriteWholeFile(blocked + "/inside.txt", "keep", "%s");
  EXPECT_THROW(WriteMidnightMap(blocked, grid, false), Error);
  EXPECT_EQ(ReadWholeFile(blocked + "/inside.txt"), "keep");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

  // Replacing an existing map works and leaves exactly the new one.
  const std::string path = dir.File("m.php");
  WriteMidnightMap(path, PatternMap(40, 40), false);
  WriteMidnightMap(path, grid, false);
  EXPECT_EQ(ReadWholeFile(path), FormatMidnightMap(grid, false));
}

}  // namespace
}  // namespace mireforge
