// The render and import commands, and the progress bar of long work.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli/cli.h"
#include "cli/cli_runner.h"
#include "cli/progress_bar.h"
#include "base/file_io.h"
#include "formats/map_files.h"
#include "pictures/picture.h"
#include "support/temp_dir.h"

namespace mireforge::cli {
namespace {

PictureSize SizeOf(const std::string& path) {
  return ProbePictureSize(AsBytes(ReadWholeFile(path)), LowerExtension(path));
}

std::string FramedMap(TempDir& dir, int width, int height, TerrainCode inside) {
  Project project;
  project.Map.ResizeMap(width, height);
  project.Map.FillTerrain(FrozenWastes, true);
  project.Map.FillTerrain(inside, false);
  const std::string path = dir.File("map.php");
  SaveMapFile(path, project);
  return path;
}

TEST(CliRender, ImageSizeFollowsTileSizeAndGrid) {
  TempDir dir;
  const std::string map = FramedMap(dir, 66, 63, Forest);
  struct Case {
    std::vector<std::string> options;
    std::string name;
    int width, height;
  };
  const std::vector<Case> cases = {
      {{}, "plain.png", 2112, 2016},
      {{"--grid"}, "grid.png", 2178, 2079},
      {{"--tile-size", "8"}, "small.bmp", 528, 504},
      {{"--tile-size=10", "--grid", "--retro"}, "retro.BMP", 726, 693},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args = {"render", map, "-o", dir.File(c.name)};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliResult result = RunInProcess(args);
    ASSERT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Out + result.Err, "") << "no progress bar unless standard error is a terminal";
    const PictureSize size = SizeOf(dir.File(c.name));
    EXPECT_EQ(size.Width, c.width);
    EXPECT_EQ(size.Height, c.height);
  }
  EXPECT_EQ(ReadWholeFile(dir.File("small.bmp")).substr(0, 2), "BM");
}

TEST(CliRender, LooksAndGridLinesShowInThePixels) {
  TempDir dir;
  const std::string map = FramedMap(dir, 3, 3, Forest);
  for (const char* look : {"color", "grayscale", "retro"}) {
    std::vector<std::string> args = {"render", map, "-o", dir.File(std::string(look) + ".png"), "--grid"};
    if (std::string(look) != "color") args.push_back(std::string("--") + look);
    ASSERT_EQ(RunInProcess(args).Status, 0) << look;
  }
  const Image color = LoadPicture(dir.File("color.png"));
  const Image grey = LoadPicture(dir.File("grayscale.png"));
  const Image retro = LoadPicture(dir.File("retro.png"));
  ASSERT_EQ(color.Width, 99);
  // The grid line right of and below the first tile is black.
  for (int i = 0; i < 33; ++i) {
    EXPECT_EQ(color.At(32, i) & 0xFFFFFF, 0u);
    EXPECT_EQ(color.At(i, 32) & 0xFFFFFF, 0u);
  }
  const auto isGrey = [](std::uint32_t p) { return ((p >> 16) & 0xFF) == ((p >> 8) & 0xFF) && (p & 0xFF) == ((p >> 8) & 0xFF); };
  EXPECT_TRUE(std::all_of(grey.Pixels.begin(), grey.Pixels.end(), isGrey));
  // The forest tile in the middle is green in colour and not in the grey look.
  EXPECT_FALSE(isGrey(color.At(48, 48)) && isGrey(color.At(40, 40)) && isGrey(color.At(56, 56)));
  EXPECT_NE(retro.Pixels, color.Pixels);
  EXPECT_NE(retro.Pixels, grey.Pixels);
}

TEST(CliRender, ProgressBarOnlyWhenAskedAndRedrawnPerPercent) {
  TempDir dir;
  const std::string map = FramedMap(dir, 20, 10, Plains);
  std::ostringstream out, err;
  ASSERT_EQ(RunCli({"render", map, "-o", dir.File("m.png"), "--tile-size", "8"}, out, err, true), 0);
  const std::string bar = err.str();
  EXPECT_EQ(bar.substr(0, 12), "\rRendering [");
  EXPECT_EQ(bar.substr(bar.size() - 7), "] 100%\n");
  EXPECT_EQ(std::count(bar.begin(), bar.end(), '\r'), 10) << "one redraw per map row of ten";

  std::ostringstream many;
  {
    ProgressBar progress(many, "Work", true);
    for (int done = 0; done <= 5000; ++done) progress.Update(done, 5000);
  }  // dropped without Finish: the line is still ended
  const std::string drawn = many.str();
  EXPECT_EQ(std::count(drawn.begin(), drawn.end(), '\r'), 101);
  EXPECT_EQ(drawn.back(), '\n');

  std::ostringstream silent;
  ProgressBar off(silent, "Work", false);
  off.Update(1, 2);
  off.Finish();
  EXPECT_EQ(silent.str(), "");
}

// A 9 x 3 picture whose middle row holds the grey levels given, framed by black.
std::string GreyPicture(TempDir& dir, const std::vector<int>& greys) {
  Image picture(static_cast<int>(greys.size()) + 2, 3, Argb(0, 0, 0));
  for (std::size_t i = 0; i < greys.size(); ++i)
    picture.At(static_cast<int>(i) + 1, 1) = Argb(greys[i], greys[i], greys[i]);
  const std::string path = dir.File("heights.png");
  SavePicture(path, PictureFileType::Png, picture);
  return path;
}

TEST(CliImport, ThresholdsCutTheGreyLevels) {
  TempDir dir;
  const std::string picture = GreyPicture(dir, {0, 76, 77, 120, 121, 170, 171, 255});
  const TerrainCode M = Mountains, D = Downs, F = Forest, P = Plains;
  struct Case {
    std::vector<std::string> options;
    std::vector<TerrainCode> middle;  // the cells between the frozen-wastes frame
  };
  const std::vector<Case> cases = {
      {{}, {M, M, D, D, F, F, P, P}},
      {{"--invert"}, {P, P, P, F, F, D, D, M}},
      {{"--mountains", "0", "--downs", "76", "--forests", "121"}, {M, D, F, F, F, P, P, P}},
      // A lower forest threshold pulls the downs default under it, as the wizard's fields do.
      {{"--forests", "100"}, {M, M, D, P, P, P, P, P}},
      {{"--forests", "50"}, {M, P, P, P, P, P, P, P}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"import", picture, "-o", dir.File("m.php")};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliResult result = RunInProcess(args);
    SCOPED_TRACE(args.back());
    ASSERT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Out, "map-size: 10x3\n");
    const Project project = LoadMapFile(dir.File("m.php"));
    ASSERT_EQ(project.Map.Width, 10);
    const std::vector<TerrainCode> middle(project.Map.Cells.begin() + 11, project.Map.Cells.begin() + 19);
    EXPECT_EQ(middle, c.middle);
    EXPECT_EQ(std::count(project.Map.Cells.begin(), project.Map.Cells.end(), FrozenWastes), 22);
  }
}

TEST(CliImport, LargePicturesAreResampledAndAnyFormatIsWritten) {
  TempDir dir;
  Image wide(600, 10, Argb(200, 200, 200));
  SavePicture(dir.File("wide.bmp"), PictureFileType::Bitmap, wide);
  for (const char* method : {"nearest", "Linear", "spline", "lanczos", "mitchell"}) {
    const CliResult result = RunInProcess({"import", dir.File("wide.bmp"), "--resize", method, "--full-edge", "-o",
                                           dir.File("wide.mfp")});
    ASSERT_EQ(result.Status, 0) << method << ": " << result.Err;
    EXPECT_EQ(result.Out, "map-size: 512x512\n");
    const Project project = LoadMapFile(dir.File("wide.mfp"));
    EXPECT_EQ(project.Map.Cells[513], Plains) << method;
    EXPECT_EQ(project.CellDescription(1, 1)->Text, "plains");
  }
  const CliResult sql =
      RunInProcess({"import", dir.File("wide.bmp"), "-o", dir.File("wide.sql"), "--omit-border", "--with-map"});
  ASSERT_EQ(sql.Status, 0) << sql.Err;
  EXPECT_EQ(LoadMapFile(dir.File("wide.mmf")).Map.Width, 510);
}

TEST(CliImport, TheRealProgramRendersAndImportsQuietly) {
  TempDir dir;
  const std::string map = FramedMap(dir, 12, 9, Downs);
  const CliResult render = RunProgram(MIREFORGE_CLI_PATH, {"render", map, "-o", dir.File("m.png"), "--grid"}, dir.Path());
  EXPECT_EQ(render.Status, 0) << render.Err;
  EXPECT_EQ(render.Err, "") << "standard error is a file here, not a terminal";
  const CliResult import = RunProgram(MIREFORGE_CLI_PATH, {"import", dir.File("m.png"), "-o", dir.File("i.php")}, dir.Path());
  EXPECT_EQ(import.Status, 0) << import.Err;
  EXPECT_EQ(import.Out, "map-size: 396x297\n");
  const CliResult bad = RunProgram(MIREFORGE_CLI_PATH, {"import", map, "-o", dir.File("i.php")}, dir.Path());
  EXPECT_EQ(bad.Status, 1);
  EXPECT_EQ(bad.Err, "mireforge-cli: " + map + ": Unknown picture file extension (.php)\n");
}

}  // namespace
}  // namespace mireforge::cli
