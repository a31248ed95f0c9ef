#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "cli/cli_runner.h"
#include "base/file_io.h"
#include "formats/midnight_map.h"
#include "formats/project_file.h"
#include "support/temp_dir.h"

namespace mireforge::cli {
namespace {

// The 3 x 2 map: citadel, forest, plains / none, none, downs.
const std::string SmallMap = " \"CF \", //0\r\n \"cXD\"  //1\r\n";

TEST(Cli, UsageErrorsExitWithTwoAndSayWhatIsWrong) {
  struct Case {
    std::vector<std::string> args;
    std::string message;  // the first line on standard error
  };
  const std::vector<Case> cases = {
      {{}, "mireforge-cli: no command given"},
      {{"frobnicate"}, "mireforge-cli: unknown command 'frobnicate'"},
      {{"generate"}, "mireforge-cli: generate: missing method (plasma or cevo)"},
      {{"generate", "fractal", "-o", "m.php"}, "mireforge-cli: generate: unknown method 'fractal' (plasma or cevo)"},
      {{"generate", "plasma", "--seed", "1"}, "mireforge-cli: generate plasma: missing -o FILE"},
      {{"generate", "plasma", "-o"}, "mireforge-cli: generate plasma: option '-o' needs a value FILE"},
      {{"generate", "plasma", "--bogus", "-o", "m.php"}, "mireforge-cli: generate plasma: unknown option '--bogus'"},
      {{"generate", "plasma", "--rare=yes", "-o", "m.php"},
       "mireforge-cli: generate plasma: option '--rare' takes no value"},
      {{"generate", "plasma", "--resize", "cubic", "-o", "m.php"},
       "mireforge-cli: generate plasma: --resize takes quick or bilinear, not 'cubic'"},
      {{"generate", "cevo", "--forests", "9", "-o", "m.php"}, "mireforge-cli: generate cevo: unknown option '--forests'"},
      {{"generate", "cevo", "extra", "-o", "m.php"}, "mireforge-cli: generate cevo: unexpected argument 'extra'"},
      {{"convert", "-o", "b.php"}, "mireforge-cli: convert: missing IN"},
      {{"convert", "a.php", "c.php", "-o", "b.php"}, "mireforge-cli: convert: too many arguments: 'c.php'"},
      {{"convert", "a.php"}, "mireforge-cli: convert: missing -o FILE"},
      {{"stats"}, "mireforge-cli: stats: missing FILE"},
      {{"stats", "a.php", "--omit-border"}, "mireforge-cli: stats: unknown option '--omit-border'"},
      // Format options must fit the output's format, and name something.
      {{"convert", "a.php", "-o", "b.png", "--table", "T"}, "mireforge-cli: convert: option '--table' does not apply to a .png file"},
      {{"convert", "a.php", "-o", "b.mfp", "--omit-border"},
       "mireforge-cli: convert: option '--omit-border' does not apply to a .mfp file"},
      {{"convert", "a.php", "-o", "b.sql", "--with-pictures"},
       "mireforge-cli: convert: option '--with-pictures' does not apply to a .sql file"},
      {{"generate", "cevo", "-o", "b.html", "--with-map"},
       "mireforge-cli: generate cevo: option '--with-map' does not apply to a .html file"},
      {{"import", "p.png", "-o", "b.php", "--domains"}, "mireforge-cli: import: option '--domains' does not apply to a .php file"},
      {{"convert", "a.php", "-o", "b.sql", "--terrain-column="},
       "mireforge-cli: convert: --table, --x-column, --y-column and --terrain-column need a name"},
      {{"convert", "a.php", "-o", "b.sql", "--scenario", ""}, "mireforge-cli: convert: --scenario needs a value"},
      {{"convert", "a.php", "-o", "b.sql", "--domain-column="}, "mireforge-cli: convert: --domain-column needs a name"},
      {{"import", "-o", "b.php"}, "mireforge-cli: import: missing PICTURE"},
      {{"import", "p.png", "-o", "b.php", "--resize", "cubic"},
       "mireforge-cli: import: --resize takes nearest, linear, spline, lanczos or mitchell, not 'cubic'"},
      {{"import", "p.png", "-o", "b.php", "--mountains", "256"},
       "mireforge-cli: import: --mountains takes a whole number from 0 to 255, not '256'"},
      {{"import", "p.png", "-o", "b.php", "--downs", "0"},
       "mireforge-cli: import: --downs takes a whole number from 1 to 255, not '0'"},
      {{"import", "p.png", "-o", "b.php", "--forests", "1x"},
       "mireforge-cli: import: --forests takes a whole number from 2 to 255, not '1x'"},
      {{"import", "p.png", "-o", "b.php", "--mountains", "120"},
       "mireforge-cli: import: the thresholds must rise: --mountains 120 < --downs 120 < --forests 170 does not hold"},
      {{"import", "p.png", "-o", "b.php", "--downs", "180", "--forests", "170"},
       "mireforge-cli: import: the thresholds must rise: --mountains 76 < --downs 180 < --forests 170 does not hold"},
      {{"name", "a.php", "-o", "b.mfp", "--domains", "256"},
       "mireforge-cli: name: --domains takes a whole number from 1 to 255, not '256'"},
      {{"name", "a.php", "-o", "b.mfp", "--style", "klingon"},
       "mireforge-cli: name: --style takes midnight, elvish, dwarvish or english, not 'klingon'"},
      {{"name", "a.php", "-o", "b.php"}, "mireforge-cli: name: a .php file keeps no names: write .mfp, .sql or .html"},
      {{"generate", "plasma", "-o", "b.mfp", "--name-seed", "3"},
       "mireforge-cli: generate plasma: option '--name-seed' needs --name-land"},
      {{"generate", "cevo", "-o", "b.png", "--name-land"},
       "mireforge-cli: generate cevo: a .png file keeps no names: write .mfp, .sql or .html"},
      {{"render", "a.php"}, "mireforge-cli: render: missing -o FILE"},
      {{"render", "a.php", "-o", "m.png", "--tile-size", "7"},
       "mireforge-cli: render: --tile-size takes 32, 24, 20, 16, 12, 10 or 8, not '7'"},
      {{"render", "a.php", "-o", "m.png", "--tile-size", "64"},
       "mireforge-cli: render: --tile-size takes 32, 24, 20, 16, 12, 10 or 8, not '64'"},
      {{"render", "a.php", "-o", "m.png", "--omit-border"}, "mireforge-cli: render: unknown option '--omit-border'"},
      // Standard output has no extension: the format is named, and only there.
      {{"convert", "a.php", "-o", "-"}, "mireforge-cli: convert: -o - needs --format EXT"},
      {{"convert", "a.php", "-o", "b.php", "--format", "sql"},
       "mireforge-cli: convert: --format is for -o -; the extension of b.php picks its format"},
      {{"convert", "a.php", "-o", "-", "--format", "doc"},
       "mireforge-cli: convert: --format takes .mfp, .php, .mmf, .bmp, .png, .sql, .html, .tmx, .tmj, .csv, not 'doc'"},
      {{"convert", "a.php", "-o", "-", "--format", "sql", "--with-map"},
       "mireforge-cli: convert: --with-map writes files beside the output: not with -o -"},
      {{"render", "a.php", "-o", "-"}, "mireforge-cli: render: -o - needs --format EXT"},
      {{"convert", "a.php", "-o", "b.php", "--transaction"},
       "mireforge-cli: convert: option '--transaction' does not apply to a .php file"},
  };
  for (const Case& c : cases) {
    const CliResult result = RunInProcess(c.args);
    SCOPED_TRACE(c.message);
    EXPECT_EQ(result.Status, 2);
    EXPECT_EQ(result.Out, "");
    EXPECT_EQ(result.Err.substr(0, result.Err.find('\n')), c.message);
    EXPECT_NE(result.Err.find("--help'."), std::string::npos) << "points to the help";
  }
}

TEST(Cli, HelpOnEveryCommand) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> mentions;
  };
  const std::vector<Case> cases = {
      {{"--help"}, {"Usage: mireforge-cli COMMAND", "generate plasma", "generate cevo", "convert IN -o OUT", "stats FILE"}},
      {{"help"}, {"generate plasma", "stats FILE"}},
      {{"generate", "--help"}, {"generate plasma", "generate cevo"}},
      {{"generate", "plasma", "--help"},
       {"Usage: mireforge-cli generate plasma [options] -o FILE", "--width N", "--seed N", "--no-rare",
        "--randomize-rare", "--rare-count N", "--resize quick|bilinear", "--mountains N", "--forests N",
        "--no-smooth", "--smooth-level N", "--avg-height N", "-o, --output FILE"}},
      {{"generate", "cevo", "-h"},
       {"Usage: mireforge-cli generate cevo", "--plains N", "--random-downs N", "--no-random-downs", "--smoothing N",
        "--detail N", "--rare-seed N"}},
      {{"convert", "--help"},
       {"Usage: mireforge-cli convert IN -o OUT", "--omit-border", "--update", "--table NAME", "--x-column NAME",
        "--y-column NAME", "--terrain-column NAME", "--abbreviated", "--description-column NAME",
        "--scenario-column NAME", "--scenario VALUE", "--domain-column NAME", "--domains", "--with-map",
        "--with-pictures"}},
      {{"import", "--help"},
       {"Usage: mireforge-cli import PICTURE", "--resize METHOD", "nearest|linear|spline|lanczos|mitchell", "--invert",
        "--full-edge", "--mountains N", "--downs N", "--forests N", "--with-map"}},
      {{"name", "--help"},
       {"Usage: mireforge-cli name IN -o OUT", "--domains N", "--seed S", "--style NAME", "midnight, elvish",
        "--names FILE", "--keep", "--table NAME"}},
      {{"generate", "plasma", "--help"},
       {"--name-land", "--name-domains N", "--name-seed S", "--name-style NAME", "--names FILE", "--domains"}},
      {{"render", "-h"}, {"Usage: mireforge-cli render MAP -o IMAGE", "--tile-size N", "--grid", "--retro", "--grayscale"}},
      {{"--help"}, {"import PICTURE", "render MAP", "read from .mfp, .php, .mmf, .bmp, .png, .tmx, .tmj, .csv and written to .mfp, .php, .mmf, .bmp, .png, .sql, .html, .tmx, .tmj, .csv"}},
      // --help wins over mistakes elsewhere on the line.
      {{"stats", "--bogus", "--help"}, {"Usage: mireforge-cli stats FILE", "--json"}},
  };
  for (const Case& c : cases) {
    const CliResult result = RunInProcess(c.args);
    SCOPED_TRACE(c.args.front());
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Err, "");
    for (const std::string& mention : c.mentions) EXPECT_NE(result.Out.find(mention), std::string::npos) << mention;
  }
  EXPECT_EQ(RunInProcess({"--version"}).Out, std::string("mireforge-cli ") + MIREFORGE_VERSION + "\n");
}

TEST(Cli, StatsAsTextAndJson) {
  TempDir dir;
  const std::string path = dir.File("small.php");
  WriteWholeFile(path, SmallMap, "%s");

  const CliResult text = RunInProcess({"stats", path});
  EXPECT_EQ(text.Status, 0);
  EXPECT_EQ(text.Err, "");
  EXPECT_EQ(text.Out,
            "plains\t1\t16.67 %\ncitadel\t1\t16.67 %\nforest\t1\t16.67 %\nhenge\t0\t0.00 %\ntower\t0\t0.00 %\n"
            "village\t0\t0.00 %\ndowns\t1\t16.67 %\nkeep\t0\t0.00 %\nsnowhall\t0\t0.00 %\nlake\t0\t0.00 %\n"
            "frozen wastes\t0\t0.00 %\nruin\t0\t0.00 %\nlith\t0\t0.00 %\ncavern\t0\t0.00 %\nmountains\t0\t0.00 %\n"
            "none\t2\t33.33 %\ntotal\t6\n");

  const CliResult json = RunInProcess({"stats", "--json", path});
  EXPECT_EQ(json.Status, 0);
  EXPECT_EQ(json.Out.substr(0, 72), "{\"plains\": {\"count\": 1, \"percent\": 16.67}, \"citadel\": {\"count\": 1, \"perc");
  EXPECT_NE(json.Out.find("\"frozen wastes\": {\"count\": 0, \"percent\": 0.00}, "), std::string::npos);
  EXPECT_NE(json.Out.find("\"none\": {\"count\": 2, \"percent\": 33.33}, \"total\": 6}\n"), std::string::npos);
}

// The same rounding as the editor's statistics: one cell of 800 is 0.125 %, shown as 0.13.
TEST(Cli, StatsRoundAHalfUpAsTheEditorDoes) {
  TempDir dir;
  MapGrid grid;
  grid.ResizeMap(40, 20);
  grid.FillTerrain(Plains, true);
  grid.Cells[41] = Citadel;
  WriteMidnightMap(dir.File("eighth.php"), grid, false);
  const CliResult text = RunInProcess({"stats", dir.File("eighth.php")});
  EXPECT_EQ(text.Status, 0);
  EXPECT_NE(text.Out.find("plains\t799\t99.88 %\ncitadel\t1\t0.13 %\n"), std::string::npos) << text.Out;
  const CliResult json = RunInProcess({"stats", "--json", dir.File("eighth.php")});
  EXPECT_NE(json.Out.find("\"citadel\": {\"count\": 1, \"percent\": 0.13}"), std::string::npos) << json.Out;
}

TEST(Cli, ConvertBetweenFormatsWithAndWithoutFrame) {
  TempDir dir;
  MapGrid grid;
  grid.ResizeMap(7, 6);
  grid.FillTerrain(FrozenWastes, true);
  grid.FillTerrain(Lake, false);
  grid.Cells[8] = Keep;
  const std::string php = dir.File("in.php");
  WriteMidnightMap(php, grid, false);

  const CliResult toMmf = RunInProcess({"convert", php, "-o", dir.File("out.mmf")});
  EXPECT_EQ(toMmf.Status, 0);
  EXPECT_EQ(toMmf.Out + toMmf.Err, "");
  EXPECT_EQ(ReadWholeFile(dir.File("out.mmf")), ReadWholeFile(php));

  EXPECT_EQ(RunInProcess({"convert", "--omit-border", dir.File("out.mmf"), "--output=" + dir.File("inner.php")}).Status, 0);
  EXPECT_EQ(ReadWholeFile(dir.File("inner.php")), FormatMidnightMap(grid, true));
}

TEST(Cli, FailuresExitWithOneAndTheMessage) {
  TempDir dir;
  const std::string good = dir.File("good.php");
  WriteWholeFile(good, SmallMap, "%s");
  WriteWholeFile(dir.File("empty.php"), "<?php\r\n?>\r\n", "%s");
  const std::string target = dir.File("target.php");
  WriteWholeFile(target, "precious", "%s");
  WriteWholeFile(dir.File("old.mfp"), "[Mireforge project file]\r\nVersion=1.9\r\n", "%s");
  WriteWholeFile(dir.File("broken.bmp"), "BM not really", "%s");
  const std::string known = ".mfp, .php, .mmf, .bmp, .png, .sql, .html, .tmx, .tmj, .csv";

  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{"stats", dir.File("gone.php")}, "mireforge-cli: Cannot open file " + dir.File("gone.php") + "\n"},
      // A reader's message that does not name the file gets its name.
      {{"stats", dir.File("empty.php")}, "mireforge-cli: " + dir.File("empty.php") + ": List index out of bounds (0)\n"},
      {{"convert", dir.File("gone.php"), "-o", target}, "mireforge-cli: Cannot open file " + dir.File("gone.php") + "\n"},
      {{"convert", dir.File("empty.php"), "-o", target},
       "mireforge-cli: " + dir.File("empty.php") + ": List index out of bounds (0)\n"},
      {{"convert", good, "-o", dir.File("out.doc")},
       "mireforge-cli: Unknown map file extension .doc of " + dir.File("out.doc") + " (known: " + known + ")\n"},
      {{"convert", good, "-o", dir.File("no/folder/x.php")},
       "mireforge-cli: Cannot create file " + dir.File("no/folder/x.php") + ": No such file or directory\n"},
      {{"stats", dir.File("table.sql")},
       "mireforge-cli: " + dir.File("table.sql") + ": Cannot load a map from a .sql file (readable: .mfp, .php, .mmf, .bmp, .png, .tmx, .tmj, .csv)\n"},
      {{"convert", dir.File("page.html"), "-o", target},
       "mireforge-cli: " + dir.File("page.html") + ": Cannot load a map from a .html file (readable: .mfp, .php, .mmf, .bmp, .png, .tmx, .tmj, .csv)\n"},
      {{"convert", dir.File("old.mfp"), "-o", target},
       "mireforge-cli: " + dir.File("old.mfp") + ": " + std::string(WrongVersionMessage) + "\n"},
      {{"convert", dir.File("broken.bmp"), "-o", target}, "mireforge-cli: " + dir.File("broken.bmp") + ": Bitmap image is not valid\n"},
      {{"convert", good, "-o", dir.File("no/folder/x.sql")},
       "mireforge-cli: Cannot create file " + dir.File("no/folder/x.sql") + ": No such file or directory\n"},
      {{"convert", good, "-o", dir.File("no/folder/x.mfp")},
       "mireforge-cli: Unable to write to " + dir.File("no/folder/x.mfp") + ": No such file or directory\n"},
      {{"render", good, "-o", dir.File("m.gif")}, "mireforge-cli: Unknown picture file extension (.gif)\n"},
      {{"render", dir.File("gone.php"), "-o", dir.File("m.png")},
       "mireforge-cli: Cannot open file " + dir.File("gone.php") + "\n"},
      {{"import", dir.File("gone.png"), "-o", target}, "mireforge-cli: Cannot open file " + dir.File("gone.png") + "\n"},
      {{"import", dir.File("broken.bmp"), "-o", target}, "mireforge-cli: " + dir.File("broken.bmp") + ": Bitmap image is not valid\n"},
  };
  for (const Case& c : cases) {
    const CliResult result = RunInProcess(c.args);
    SCOPED_TRACE(c.err);
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(result.Out, "");
    EXPECT_EQ(result.Err, c.err);
  }
  EXPECT_EQ(ReadWholeFile(target), "precious") << "a failed convert must not touch its target";
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.doc")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("m.png")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("m.gif")));
}

TEST(Cli, TheRealProgramGivesTheSameExitStatuses) {
  TempDir dir;
  WriteWholeFile(dir.File("m.php"), SmallMap, "%s");
  const CliResult ok = RunProgram(MIREFORGE_CLI_PATH, {"stats", dir.File("m.php")}, dir.Path());
  EXPECT_EQ(ok.Status, 0);
  EXPECT_EQ(ok.Out.substr(0, 17), "plains\t1\t16.67 %\n");
  const CliResult failed = RunProgram(MIREFORGE_CLI_PATH, {"stats", dir.File("x.php")}, dir.Path());
  EXPECT_EQ(failed.Status, 1);
  EXPECT_EQ(failed.Err, "mireforge-cli: Cannot open file " + dir.File("x.php") + "\n");
  const CliResult usage = RunProgram(MIREFORGE_CLI_PATH, {}, dir.Path());
  EXPECT_EQ(usage.Status, 2);
  EXPECT_EQ(usage.Err.substr(0, 32), "mireforge-cli: no command given\n");
  const CliResult help = RunProgram(MIREFORGE_CLI_PATH, {"convert", "--help"}, dir.Path());
  EXPECT_EQ(help.Status, 0);
  EXPECT_EQ(help.Out.substr(0, 39), "Usage: mireforge-cli convert IN -o OUT\n");
}

TEST(Cli, StandardOutputCarriesTheFileInTheFormatGivenAndQuietSilencesReports) {
  TempDir dir;
  const std::string map = dir.File("m.php");
  WriteWholeFile(map, SmallMap, "%s");
  ASSERT_EQ(RunInProcess({"convert", map, "-o", dir.File("ref.sql"), "--domains"}).Status, 0);
  ASSERT_EQ(RunInProcess({"render", map, "-o", dir.File("ref.png"), "--tile-size", "8"}).Status, 0);
  ASSERT_EQ(RunInProcess({"generate", "plasma", "--seed", "5", "--width", "9", "-o", dir.File("ref.php")}).Status, 0);
  ASSERT_EQ(RunInProcess({"generate", "cevo", "--seed", "5", "-o", dir.File("ref.mmf")}).Status, 0);
  struct Case {
    std::vector<std::string> args;
    std::string expectedOut;
    std::string expectedErr;
  };
  const std::vector<Case> cases = {
      {{"convert", map, "-o", "-", "--format", "sql", "--domains"}, ReadWholeFile(dir.File("ref.sql")), ""},
      {{"render", map, "-o", "-", "--format", ".PNG", "--tile-size", "8"}, ReadWholeFile(dir.File("ref.png")), ""},
      // Report lines move to standard error, out of the file's way.
      {{"generate", "plasma", "--seed", "5", "--width", "9", "-o", "-", "--format", "php"},
       ReadWholeFile(dir.File("ref.php")), "map-seed: 5\nrare-seed: 0\n"},
      {{"generate", "plasma", "--seed", "5", "--no-rare", "-q", "-o", dir.File("q.php")}, "", ""},
      {{"generate", "cevo", "--seed", "5", "--quiet", "-o", "-", "--format", "mmf"}, ReadWholeFile(dir.File("ref.mmf")),
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.front() + " " + c.args[1]);
    const CliResult result = RunProgram(MIREFORGE_CLI_PATH, c.args, dir.Path());
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_TRUE(result.Out == c.expectedOut) << result.Out.substr(0, 200);
    EXPECT_EQ(result.Err, c.expectedErr);
  }
  EXPECT_TRUE(std::filesystem::exists(dir.File("q.php")));
}

TEST(Cli, OutputToAFullDeviceFailsWithTheReason) {
  TempDir dir;
  WriteWholeFile(dir.File("m.php"), SmallMap, "%s");
  const std::string map = dir.File("out.php");
  const std::vector<std::string> runs[] = {
      {"stats", dir.File("m.php")},
      {"stats", dir.File("m.php"), "--json"},
      {"generate", "plasma", "--seed", "1", "--no-rare", "-o", map},
      {"--help"},
  };
  for (const auto& args : runs) {
    std::string command = ShellQuote(MIREFORGE_CLI_PATH);
    for (const std::string& arg : args) command += " " + ShellQuote(arg);
    command += " >/dev/full 2>" + ShellQuote(dir.File("err.txt"));
    const int raw = std::system(command.c_str());
    SCOPED_TRACE(command);
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    EXPECT_EQ(ReadWholeFile(dir.File("err.txt")), "mireforge-cli: cannot write to standard output: No space left on device\n");
  }
}


// Starts the real program with its output streams silenced.
pid_t StartProgram(const std::vector<std::string>& args) {
  std::vector<char*> argv{const_cast<char*>(MIREFORGE_CLI_PATH)};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  return child;
}

int WaitFor(pid_t child) {
  int status = 0;
  ::waitpid(child, &status, 0);
  return status;
}

TEST(Cli, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewFileAndNothingElse) {
  TempDir dir;
  const std::string before = dir.File("before.mfp"), after = dir.File("after.mfp");
  for (const auto& [seed, file] : {std::pair{"1", before}, std::pair{"2", after}})
    ASSERT_EQ(RunInProcess({"generate", "plasma", "--seed", seed, "--width", "300", "--height", "300", "--name-land",
                            "-q", "-o", file}).Status, 0);
  const std::filesystem::path folder = dir.File("saves");
  std::filesystem::create_directory(folder);
  const std::string target = (folder / "map").string();
  std::mt19937 random(21);
  int kills = 0, debris = 0, damaged = 0;
  for (const std::string& type : std::vector<std::string>{"mfp", "png", "bmp", "sql"}) {
    const bool image = type == "png" || type == "bmp";
    const auto save = [&](const std::string& map, const std::string& out) {
      return image ? std::vector<std::string>{"render", map, "--tile-size", "8", "-q", "-o", out}
                   : std::vector<std::string>{"convert", map, "-q", "-o", out};
    };
    const std::string path = target + "." + type;
    ASSERT_EQ(WaitFor(StartProgram(save(after, dir.File("new." + type)))), 0);
    const std::string newBytes = ReadWholeFile(dir.File("new." + type));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(WaitFor(StartProgram(save(before, path))), 0);
    const auto whole = std::chrono::steady_clock::now() - start;
    const std::string oldBytes = ReadWholeFile(path);
    for (int i = 0; i < 12; ++i) {
      // From the program's start to past its end, so every stage of the save is met.
      const auto moment = std::chrono::duration_cast<std::chrono::microseconds>(whole * 1.1 *
                                                                               std::uniform_real_distribution<>(0, 1)(random));
      const pid_t child = StartProgram(save(after, path));
      std::this_thread::sleep_for(moment);
      ::kill(child, SIGKILL);
      WaitFor(child);
      ++kills;
      for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path() != path) {
          ++debris;
          std::filesystem::remove(entry.path());
        }
      const std::string now = ReadWholeFile(path);
      if (now != oldBytes && now != newBytes) ++damaged;
      if (now != oldBytes) WriteWholeFile(path, oldBytes, "%s");
    }
    std::filesystem::remove(path);
  }
  std::printf("%d killed saves: %d files left behind, %d targets damaged\n", kills, debris, damaged);
  EXPECT_EQ(debris, 0);
  EXPECT_EQ(damaged, 0);
}

}  // namespace
}  // namespace mireforge::cli
