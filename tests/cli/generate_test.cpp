#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>

#include "cli/cli_runner.h"
#include "base/file_io.h"
#include "formats/midnight_map.h"
#include "support/temp_dir.h"

namespace mireforge::cli {
namespace {

// Seeds from "map-seed: N\nrare-seed: M\n".
std::pair<long long, long long> Seeds(const std::string& out) {
  long long map = 0, rare = 0;
  EXPECT_EQ(std::sscanf(out.c_str(), "map-seed: %lld\nrare-seed: %lld\n", &map, &rare), 2) << out;
  return {map, rare};
}

MapGrid ReadMap(const std::string& path) {
  MapGrid grid;
  ReadMidnightMap(path, grid);
  return grid;
}

// Codes that only the rare-terrain pass puts on a map.
bool HasRareTerrain(const MapGrid& grid) {
  const std::set<int> rare = {Citadel, Henge, Tower, Village, Keep, Snowhall, Lake, Ruin, Lith, Cavern};
  for (TerrainCode cell : grid.Cells)
    if (rare.count(cell)) return true;
  return false;
}

TEST(CliGenerate, PlasmaWithSeedZeroGivesTheKnownMap) {
  TempDir dir;
  const std::string path = dir.File("m.php");
  const CliResult made = RunInProcess({"generate", "plasma", "--seed", "0", "--no-rare", "-o", path});
  ASSERT_EQ(made.Status, 0) << made.Err;
  EXPECT_EQ(made.Out, "map-seed: 0\nrare-seed: 0\n");

  const CliResult stats = RunInProcess({"stats", path});
  ASSERT_EQ(stats.Status, 0) << stats.Err;
  for (const char* line : {"plains\t2843\t68.37 %\n", "forest\t849\t20.42 %\n", "downs\t192\t4.62 %\n",
                           "mountains\t20\t0.48 %\n", "frozen wastes\t254\t6.11 %\n", "total\t4158\n"})
    EXPECT_NE(stats.Out.find(line), std::string::npos) << line << "in\n" << stats.Out;
}

TEST(CliGenerate, TheGameReadsTheWrittenFile) {
  if (std::system("command -v php >/dev/null 2>&1") != 0) GTEST_SKIP() << "php is not installed: cannot run the game's reader";
  TempDir dir;
  for (const bool omit : {false, true}) {
    const std::string path = dir.File(omit ? "inner.php" : "m.php");
    std::vector<std::string> args = {"generate", "plasma", "--seed", "0", "--no-rare", "-o", path};
    if (omit) args.push_back("--omit-border");
    ASSERT_EQ(RunInProcess(args).Status, 0);
    const std::string script =
        "include \"" + path + "\"; echo count($map), \",\", strlen($map[0]), \",\", strlen($map[count($map) - 1]);";
    const CliResult php = RunProgram("php", {"-r", script}, dir.Path());
    ASSERT_EQ(php.Status, 0) << php.Err;
    // The file's own trailing line end after "?>" comes first.
    const std::string printed = php.Out.substr(php.Out.find_first_not_of("\r\n"));
    EXPECT_EQ(printed, omit ? "61,64,64" : "63,66,66");
  }
}

TEST(CliGenerate, ClockSeedsAreReportedAndReproduceTheMap) {
  TempDir dir;
  const CliResult first = RunInProcess({"generate", "plasma", "--randomize-rare", "-o", dir.File("a.php")});
  ASSERT_EQ(first.Status, 0) << first.Err;
  const auto [mapSeed, rareSeed] = Seeds(first.Out);
  EXPECT_GE(mapSeed, 0);
  EXPECT_LT(mapSeed, 86400000);
  EXPECT_GE(rareSeed, 0);
  EXPECT_LT(rareSeed, 86400000);

  const CliResult again = RunInProcess({"generate", "plasma", "--seed", std::to_string(mapSeed), "--rare-seed",
                                        std::to_string(rareSeed), "-o", dir.File("b.php")});
  ASSERT_EQ(again.Status, 0) << again.Err;
  EXPECT_EQ(Seeds(again.Out), std::make_pair(mapSeed, rareSeed));
  EXPECT_EQ(ReadWholeFile(dir.File("a.php")), ReadWholeFile(dir.File("b.php")));
}

TEST(CliGenerate, EveryOptionReachesTheGenerator) {
  TempDir dir;
  struct Variant {
    std::vector<std::string> base;  // method and seed
    std::vector<std::string> options;
  };
  const std::vector<std::string> plasma = {"generate", "plasma", "--seed", "7", "--no-rare"};
  const std::vector<std::string> cevo = {"generate", "cevo", "--seed", "7"};
  const std::vector<Variant> variants = {
      {plasma, {"--resize", "quick"}},   {plasma, {"--mountains", "100"}},   {plasma, {"--downs", "140"}},
      {plasma, {"--forests", "150"}},    {plasma, {"--no-smooth"}},          {plasma, {"--smooth-level", "5"}},
      {plasma, {"--avg-height", "200"}}, {plasma, {"--rare"}},               {cevo, {"--plains", "50"}},
      {cevo, {"--mountains", "20"}},     {cevo, {"--downs", "20"}},          {cevo, {"--random-downs", "50"}},
      {cevo, {"--no-random-downs"}},     {cevo, {"--smoothing", "20"}},      {cevo, {"--detail", "30"}},
      {cevo, {"--rare"}},
  };
  for (const Variant& v : variants) {
    SCOPED_TRACE(v.base[1] + " " + v.options[0]);
    std::vector<std::string> baseArgs = v.base, args = v.base;
    baseArgs.insert(baseArgs.end(), {"-o", dir.File("base.php")});
    args.insert(args.end(), v.options.begin(), v.options.end());
    args.insert(args.end(), {"-o", dir.File("variant.php")});
    ASSERT_EQ(RunInProcess(baseArgs).Status, 0);
    const CliResult result = RunInProcess(args);
    ASSERT_EQ(result.Status, 0) << result.Err;
    EXPECT_NE(ReadWholeFile(dir.File("base.php")), ReadWholeFile(dir.File("variant.php")));
  }
}

TEST(CliGenerate, CEvoDefaultsSizesAndRareTerrain) {
  TempDir dir;
  const CliResult made = RunInProcess({"generate", "cevo", "--seed", "-12", "-o", dir.File("c.mmf")});
  ASSERT_EQ(made.Status, 0) << made.Err;
  EXPECT_EQ(made.Out, "map-seed: -12\nrare-seed: 0\n");
  const MapGrid plain = ReadMap(dir.File("c.mmf"));
  EXPECT_EQ(plain.Width, 66);
  EXPECT_EQ(plain.Height, 63);
  EXPECT_EQ(plain.GetTerrain(0, 0), FrozenWastes);
  EXPECT_EQ(plain.GetTerrain(65, 62), FrozenWastes);
  EXPECT_FALSE(HasRareTerrain(plain)) << "rare terrain is off by default for cEvo";

  ASSERT_EQ(RunInProcess({"generate", "cevo", "--seed", "-12", "--rare", "--rare-seed", "5", "--rare-count", "40",
                          "--width", "30", "--height", "20", "-o", dir.File("r.php")})
                .Status,
            0);
  const MapGrid rare = ReadMap(dir.File("r.php"));
  EXPECT_EQ(rare.Width, 30);
  EXPECT_EQ(rare.Height, 20);
  EXPECT_TRUE(HasRareTerrain(rare));

  ASSERT_EQ(RunInProcess({"generate", "plasma", "--seed", "1", "--width", "12", "--height", "9", "-o",
                          dir.File("p.php")})
                .Status,
            0);
  EXPECT_TRUE(HasRareTerrain(ReadMap(dir.File("p.php")))) << "rare terrain is on by default for plasma";
}

TEST(CliGenerate, BadValuesAreUsageErrorsWithTheWizardRowsMessagesAndWriteNothing) {
  TempDir dir;
  const std::string path = dir.File("m.php");
  struct Case {
    std::vector<std::string> options;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{"plasma", "--width", "abc"}, "'abc' is not a valid integer value"},
      {{"plasma", "--seed", "1.5"}, "'1.5' is not a valid integer value"},
      {{"plasma", "--rare-seed", "99999999999"}, "'99999999999' is not a valid integer value"},
      {{"plasma", "--height", "513"}, "\"Map height\" must be between 1 and 512, not 513"},
      {{"plasma", "--mountains", "256"}, "\"Mountains\" must be between 0 and 255, not 256"},
      {{"plasma", "--rare-count", "0"}, "\"Rare terrain count\" must be at least 1, not 0"},
      {{"plasma", "--avg-height", "0"}, "\"Average height\" must be between 1 and 255, not 0"},
      {{"cevo", "--plains", "101"}, "\"% of plains\" must be between 0 and 100, not 101"},
      {{"cevo", "--detail", "x"}, "'x' is not a valid integer value"},
      {{"cevo", "--width", "0"}, "\"Map width\" must be between 1 and 512, not 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.err);
    std::vector<std::string> args = {"generate"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.insert(args.end(), {"-o", path});
    const CliResult result = RunInProcess(args);
    const std::string words = "generate " + c.options.front();
    EXPECT_EQ(result.Status, 2) << "a value given on the command line is a usage error";
    EXPECT_EQ(result.Out, "");
    EXPECT_EQ(result.Err, "mireforge-cli: " + words + ": " + c.err + "\nTry 'mireforge-cli " + words + " --help'.\n");
    EXPECT_FALSE(std::filesystem::exists(path));
  }
  // An unknown output type is refused before generating.
  const CliResult result = RunInProcess({"generate", "plasma", "-o", dir.File("m.gif")});
  EXPECT_EQ(result.Status, 1);
  EXPECT_EQ(result.Out, "");
}

TEST(CliGenerate, TheRealProgramGeneratesToo) {
  TempDir dir;
  const CliResult made = RunProgram(MIREFORGE_CLI_PATH,
                                    {"generate", "plasma", "--seed", "0", "--no-rare", "-o", dir.File("m.php")}, dir.Path());
  EXPECT_EQ(made.Status, 0) << made.Err;
  EXPECT_EQ(made.Out, "map-seed: 0\nrare-seed: 0\n");
  EXPECT_EQ(ReadMap(dir.File("m.php")).Cells.size(), 4158u);
  const CliResult bad = RunProgram(MIREFORGE_CLI_PATH, {"generate", "plasma", "--width", "w", "-o", dir.File("x.php")},
                                   dir.Path());
  EXPECT_EQ(bad.Status, 2);
  EXPECT_EQ(bad.Err.substr(0, bad.Err.find('\n')), "mireforge-cli: generate plasma: 'w' is not a valid integer value");
  // Out of range and not a number at all: both exit 2, as the manual page says.
  for (const char* option : {"--seed", "--width"}) {
    const CliResult wrong = RunProgram(MIREFORGE_CLI_PATH,
                                       {"generate", "plasma", option, option[2] == 's' ? "abc" : "600", "-o", dir.File("x.php")},
                                       dir.Path());
    EXPECT_EQ(wrong.Status, 2) << option << ": " << wrong.Err;
  }
}

}  // namespace
}  // namespace mireforge::cli
