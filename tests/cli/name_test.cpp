// mireforge-cli name and generate --name-land: the files they write, the seed
// they report, the name list and --keep.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "cli/cli_runner.h"
#include "base/file_io.h"
#include "formats/map_files.h"
#include "formats/project_file.h"
#include "support/temp_dir.h"

namespace mireforge::cli {
namespace {

CliResult Ok(const std::vector<std::string>& args) {
  const CliResult result = RunInProcess(args);
  EXPECT_EQ(result.Status, 0) << result.Err;
  return result;
}

TEST(CliName, SameInputsWriteTheSameFileAndBothCommandsNameAlike) {
  TempDir dir;
  const auto generate = [&](const std::string& out, std::vector<std::string> extra) {
    std::vector<std::string> args = {"generate", "plasma", "--seed", "9", "--width", "90", "--height", "70", "-o",
                                     dir.File(out)};
    args.insert(args.end(), extra.begin(), extra.end());
    return Ok(args);
  };
  EXPECT_EQ(generate("a.mfp", {"--name-land", "--name-domains", "20"}).Out,
            "map-seed: 9\nrare-seed: 0\nname-seed: 9\n");
  generate("b.mfp", {"--name-land", "--name-domains", "20", "--name-seed", "9"});
  generate("c.mfp", {"--name-land", "--name-domains", "20", "--name-seed", "10"});
  const std::string a = ReadWholeFile(dir.File("a.mfp"));
  EXPECT_EQ(a, ReadWholeFile(dir.File("b.mfp")));
  EXPECT_NE(a, ReadWholeFile(dir.File("c.mfp")));

  const Project named = LoadMapFile(dir.File("a.mfp"));
  EXPECT_TRUE(named.Domains.Defined(20));
  EXPECT_FALSE(named.Domains.Defined(21));
  EXPECT_EQ(named.CellDescription(0, 0)->Text, "frozen wastes");
  EXPECT_NE(named.CellDescription(45, 35)->Text.View().find(" of "), std::string::npos);

  // Naming a plain map file afterwards gives the same names as naming while generating.
  generate("plain.php", {});
  const std::string report =
      Ok({"name", dir.File("plain.php"), "--domains", "20", "--seed", "9", "-o", dir.File("d.mfp")}).Out;
  EXPECT_EQ(report.substr(0, report.find("features")), "name-seed: 9\nrealms: 20\n");
  const Project later = LoadMapFile(dir.File("d.mfp"));
  for (std::size_t i = 0; i < named.Descriptions.Size(); ++i) {
    ASSERT_EQ(later.Descriptions.Entry(i).Text, named.Descriptions.Entry(i).Text) << i;
    ASSERT_EQ(later.Descriptions.Entry(i).Domain, named.Descriptions.Entry(i).Domain) << i;
  }
}

TEST(CliName, ListNamesComeFirstKeepKeepsAndSqlCarriesTheNames) {
  TempDir dir;
  Ok({"generate", "cevo", "--seed", "4", "--width", "40", "--height", "30", "-o", dir.File("m.mfp")});
  Project project = LoadMapFile(dir.File("m.mfp"));
  project.CellDescription(5, 5)->Text = "Home";
  SaveProject(project, dir.File("m.mfp"));
  // A list in Windows-1252, as typed on Windows.
  WriteWholeFile(dir.File("names.txt"), "Aldmere\r\n\xC6rwen\r\nVardemar\r\n", "Unable to write to %s");

  Ok({"name", dir.File("m.mfp"), "--domains", "3", "--names", dir.File("names.txt"), "--style", "ELVISH", "--keep",
      "--seed", "1", "-o", dir.File("kept.mfp")});
  const Project kept = LoadMapFile(dir.File("kept.mfp"));
  EXPECT_EQ(kept.CellDescription(5, 5)->Text, "Home");
  std::set<std::string> realms;
  for (int slot = 1; slot <= 3; ++slot) realms.insert(kept.Domains.Name(slot));
  EXPECT_EQ(realms, (std::set<std::string>{"Aldmere", "\u00C6rwen", "Vardemar"}));

  Ok({"name", dir.File("m.mfp"), "--seed", "1", "-o", dir.File("afresh.mfp")});
  EXPECT_NE(LoadMapFile(dir.File("afresh.mfp")).CellDescription(5, 5)->Text, "Home");

  Ok({"name", dir.File("m.mfp"), "--seed", "1", "-o", dir.File("m.sql"), "--description-column", "D", "--domain-column",
      "M"});
  const std::string sql = ReadWholeFile(dir.File("m.sql"));
  EXPECT_NE(sql.find("\"Plains of "), std::string::npos);

  EXPECT_EQ(RunInProcess({"name", dir.File("m.mfp"), "--names", dir.File("missing.txt"), "-o", dir.File("x.mfp")}).Status,
            1);
  EXPECT_FALSE(std::filesystem::exists(dir.File("x.mfp")));
}

}  // namespace
}  // namespace mireforge::cli
