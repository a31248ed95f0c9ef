// resize, crop, flip and rotate through the command line: the written map, its
// descriptions and domains, the options, and the mistakes.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_runner.h"
#include "base/file_io.h"
#include "formats/map_files.h"
#include "formats/project_file.h"
#include "support/temp_dir.h"

namespace mireforge::cli {
namespace {

// A 6 x 4 framed project; cell (x, y) of the inside holds terrain x + 4y, the
// description "x,y" and domain 10x + y.
Project Numbered() {
  Project project;
  project.Map.ResizeMap(6, 4);
  project.Map.FillTerrain(FrozenWastes, true);
  for (int y = 1; y < 3; ++y)
    for (int x = 1; x < 5; ++x) project.Map.Cells[x + y * 6] = static_cast<TerrainCode>(x + 4 * y);
  project.Map.RebuildTerrainRows();
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  for (int y = 1; y < 3; ++y)
    for (int x = 1; x < 5; ++x) {
      project.CellDescription(x, y)->Text = std::to_string(x) + "," + std::to_string(y);
      project.CellDescription(x, y)->Domain = 10 * x + y;
    }
  project.Domains.Slots[11] = {0x0000FF, "Dale"};
  return project;
}

class CliTransform : public ::testing::Test {
 protected:
  void SetUp() override {
    Project project = Numbered();
    SaveProject(project, dir.File("in.mfp"));
  }

  Project Run(std::vector<std::string> args, const std::string& output = "out.mfp") {
    args.insert(args.begin() + 1, dir.File("in.mfp"));
    args.insert(args.end(), {"-o", dir.File(output)});
    const CliResult result = RunInProcess(args);
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Err, "");
    return LoadMapFile(dir.File(output));
  }

  // The old inside cell (x, y) is at (nx, ny) with its terrain, text and domain.
  static void ExpectCell(const Project& p, int nx, int ny, int x, int y) {
    SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y) + " at " + std::to_string(nx) + "," + std::to_string(ny));
    ASSERT_TRUE(p.Map.Contains(nx, ny));
    EXPECT_EQ(p.Map.GetTerrain(nx, ny), x + 4 * y);
    EXPECT_EQ(p.CellDescription(nx, ny)->Text, std::to_string(x) + "," + std::to_string(y));
    EXPECT_EQ(p.CellDescription(nx, ny)->Domain, 10 * x + y);
  }

  TempDir dir;
};

TEST_F(CliTransform, ResizeByAnchorOffsetsAndRing) {
  Project p = Run({"resize", "--width", "10", "--height", "6"});
  EXPECT_EQ(p.Map.Width, 10);
  EXPECT_EQ(p.Map.Height, 6);
  ExpectCell(p, 1, 1, 1, 1);
  EXPECT_EQ(p.Map.GetTerrain(9, 5), Plains);
  EXPECT_EQ(p.CellDescription(9, 5)->Text, "plains");
  EXPECT_EQ(p.Domains.Slots[11].Name, "Dale");

  p = Run({"resize", "--width", "10", "--height", "6", "--anchor", "bottom-right"});
  ExpectCell(p, 5, 3, 1, 1);
  p = Run({"resize", "--width", "10", "--height", "7", "--anchor", "CENTRE", "--ring"});
  ExpectCell(p, 3, 2, 1, 1);  // offsets 2 and 1 (half of 3, towards zero)
  for (int x = 0; x < 10; ++x) EXPECT_EQ(p.Map.GetTerrain(x, 6), FrozenWastes) << x;
  EXPECT_EQ(p.CellDescription(0, 3)->Text, "frozen wastes");

  // An explicit offset overrides the anchor in its own direction only; the
  // size defaults to the map's own.
  p = Run({"resize", "--anchor", "bottom", "--height", "8", "--dx=-1"});
  EXPECT_EQ(p.Map.Width, 6);
  ExpectCell(p, 0, 5, 1, 1);
  p = Run({"resize", "--dx", "-2", "--dy", "-1", "--ring"});
  // Old (3, 1) moved onto the top ring: frozen wastes, its domain kept.
  EXPECT_EQ(p.Map.GetTerrain(1, 1), 3 + 8);
  EXPECT_EQ(p.CellDescription(1, 1)->Domain, 32);
  EXPECT_EQ(p.Map.GetTerrain(1, 0), FrozenWastes);
  EXPECT_EQ(p.CellDescription(1, 0)->Domain, 31);
  EXPECT_EQ(p.CellDescription(1, 0)->Text, "frozen wastes");
}

TEST_F(CliTransform, CropKeepsTheBox) {
  const Project p = Run({"crop", "--x", "2", "--y", "1", "--width", "3", "--height", "2"});
  EXPECT_EQ(p.Map.Width, 3);
  EXPECT_EQ(p.Map.Height, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) ExpectCell(p, x, y, x + 2, y + 1);

  // Written as a Midnight/MU map, the letters are those of the box.
  Run({"crop", "--x", "0", "--y", "0", "--width", "6", "--height", "1"}, "top.php");
  const Project top = LoadMapFile(dir.File("top.php"));
  EXPECT_EQ(top.Map.Cells, std::vector<TerrainCode>(6, FrozenWastes));
}

TEST_F(CliTransform, FlipAndRotateMoveEveryCell) {
  Project p = Run({"flip", "--horizontal"});
  ExpectCell(p, 4, 1, 1, 1);
  p = Run({"flip", "--vertical"});
  ExpectCell(p, 1, 2, 1, 1);
  p = Run({"flip", "--vertical", "--horizontal"});
  ExpectCell(p, 4, 2, 1, 1);

  p = Run({"rotate"});  // 90 degrees clockwise: 4 x 6
  EXPECT_EQ(p.Map.Width, 4);
  EXPECT_EQ(p.Map.Height, 6);
  ExpectCell(p, 2, 1, 1, 1);
  ExpectCell(p, 1, 4, 4, 2);
  p = Run({"rotate", "--degrees", "90", "--counter-clockwise"});
  ExpectCell(p, 1, 4, 1, 1);
  p = Run({"rotate", "--degrees", "270"});
  ExpectCell(p, 1, 4, 1, 1);
  p = Run({"rotate", "--degrees", "180"});
  EXPECT_EQ(p.Map.Width, 6);
  ExpectCell(p, 4, 2, 1, 1);
  EXPECT_EQ(p.CellDescription(4, 2)->Position(), "[4,2]");
}

TEST_F(CliTransform, MistakesAreRefusedAndWriteNothing) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string message;
  };
  const std::string in = dir.File("in.mfp"), out = dir.File("bad.php");
  const std::vector<Case> cases = {
      {{"resize", in, "-o", out, "--width", "0"}, 2, "resize: --width takes a whole number from 1 to 512, not '0'"},
      {{"resize", in, "-o", out, "--height", "513"}, 2, "resize: --height takes a whole number from 1 to 512"},
      {{"resize", in, "-o", out, "--anchor", "middle"}, 2,
       "resize: --anchor takes top-left, top, top-right, left, centre, right, bottom-left, bottom or bottom-right"},
      {{"resize", in, "-o", out, "--dx", "x"}, 2, "resize: --dx takes a whole number from -1024 to 1024, not 'x'"},
      {{"resize", in, "--width", "5"}, 2, "resize: missing -o FILE"},
      {{"crop", in, "-o", out, "--x", "1", "--y", "1", "--width", "2"}, 2, "crop: missing --height"},
      {{"crop", in, "-o", out, "--x", "5", "--y", "1", "--width", "2", "--height", "2"}, 1,
       "The box 2 x 2 at 5,1 does not fit in the 6 x 4 map"},
      {{"flip", in, "-o", out}, 2, "flip: say --horizontal or --vertical"},
      {{"rotate", in, "-o", out, "--degrees", "45"}, 2, "rotate: --degrees takes 90, 180 or 270, not '45'"},
      {{"rotate", in, "-o", dir.File("bad.txt")}, 1, "Unknown"},
      {{"rotate", dir.File("missing.php"), "-o", out}, 1, "missing.php"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.front() + " " + c.message);
    const CliResult result = RunInProcess(c.args);
    EXPECT_EQ(result.Status, c.status);
    EXPECT_NE(result.Err.find(c.message), std::string::npos) << result.Err;
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

TEST(CliTransformHelp, CommandsAreListedWithTheirOptions) {
  const CliResult overall = RunInProcess({"--help"});
  for (const char* line : {"resize IN -o OUT", "crop IN -o OUT", "flip IN -o OUT", "rotate IN -o OUT"})
    EXPECT_NE(overall.Out.find(line), std::string::npos) << line;
  const CliResult resize = RunInProcess({"resize", "--help"});
  EXPECT_EQ(resize.Status, 0);
  for (const char* option : {"--width W", "--anchor SIDE", "--dx N", "--ring", "--omit-border", "-o, --output"})
    EXPECT_NE(resize.Out.find(option), std::string::npos) << option;
  EXPECT_NE(RunInProcess({"rotate", "--help"}).Out.find("--counter-clockwise"), std::string::npos);
}

}  // namespace
}  // namespace mireforge::cli
