#include "formats/map_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "base/file_io.h"
#include "formats/midnight_map.h"
#include "base/error.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(MapFiles, MidnightMapsLoadAsAFreshUnsavedProjectWithDefaultDescriptions) {
  TempDir dir;
  const std::string path = dir.File("Map.PHP");  // the extension's case does not matter
  WriteWholeFile(path, " \"CM\"\r\n \"Z \"\r\n", "%s");
  const Project project = LoadMapFile(path);
  ASSERT_EQ(project.Map.Width, 2);
  ASSERT_EQ(project.Map.Height, 2);
  EXPECT_EQ(project.Map.Cells, (std::vector<TerrainCode>{Citadel, Mountains, FrozenWastes, Plains}));
  EXPECT_EQ(project.Map.TerrainRows, project.Map.Cells);
  ASSERT_EQ(project.Descriptions.Size(), 4u);
  EXPECT_EQ(project.CellDescription(1, 0)->Text, "mountains");
  EXPECT_EQ(project.CellDescription(0, 1)->Domain, 0);
  EXPECT_FALSE(project.ProjectSaved);
  EXPECT_TRUE(project.ProjectFileName.empty());
}

TEST(MapFiles, PhpAndMmfAreTheSameFormatEitherWay) {
  TempDir dir;
  Project project;
  project.Map.ResizeMap(6, 5);
  project.Map.FillTerrain(FrozenWastes, true);
  project.Map.FillTerrain(Forest, false);
  SaveMapFile(dir.File("a.mmf"), project);
  SaveMapFile(dir.File("a.php"), project);
  EXPECT_EQ(ReadWholeFile(dir.File("a.mmf")), ReadWholeFile(dir.File("a.php")));
  EXPECT_EQ(LoadMapFile(dir.File("a.mmf")).Map.Cells, project.Map.Cells);

  MapFileOptions options;
  options.OmitBorder = true;
  SaveMapFile(dir.File("inner.php"), project, options);
  EXPECT_EQ(ReadWholeFile(dir.File("inner.php")), FormatMidnightMap(project.Map, true));
}

// A writer that says it needs no descriptions gives the same file without them,
// so callers may skip building them; one that writes them gives another file.
TEST(MapFiles, OnlyFormatsThatSayTheyWriteDescriptionsReadThem) {
  TempDir dir;
  Project bare;
  bare.Map.ResizeMap(5, 4);
  bare.Map.FillTerrain(FrozenWastes, true);
  bare.Map.FillTerrain(Lake, false);
  Project described = bare;
  BuildDefaultDescriptions(described.Descriptions, described.Map);
  described.CellDescription(2, 1)->Text = "the deep lake";
  described.CellDescription(2, 2)->Domain = 7;
  std::string extensions = SavableExtensions() + ", ";
  int checked = 0;
  for (std::size_t at; (at = extensions.find(", ")) != std::string::npos; extensions.erase(0, at + 2)) {
    const std::string name = "map" + extensions.substr(0, at);
    SCOPED_TRACE(name);
    SaveMapFile(dir.File("bare-" + name), bare);
    SaveMapFile(dir.File("described-" + name), described);
    const bool same = ReadWholeFile(dir.File("bare-" + name)) == ReadWholeFile(dir.File("described-" + name));
    if (!MapFileFormatOf(name).WritesDescriptions) {
      EXPECT_TRUE(same);
    }
    if (name == "map.mfp" || name == "map.html" || name == "map.tmx" || name == "map.tmj") {
      EXPECT_FALSE(same);
    }
    ++checked;
  }
  EXPECT_EQ(checked, 10);
}

TEST(MapFiles, UnknownExtensionsAreRefusedBeforeAnyFileIsTouched) {
  TempDir dir;
  Project project;
  project.Map.ResizeMap(3, 3);
  const std::string target = dir.File("map.xyz");
  EXPECT_EQ(ErrorOf([&] { SaveMapFile(target, project); }),
            "Unknown map file extension .xyz of " + target + " (known: .mfp, .php, .mmf, .bmp, .png, .sql, .html, .tmx, .tmj, .csv)");
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_EQ(ErrorOf([&] { LoadMapFile(dir.File("map")); }),
            dir.File("map") + " has no file extension to tell its map format (known: .mfp, .php, .mmf, .bmp, .png, .sql, .html, .tmx, .tmj, .csv)");
  EXPECT_EQ(ErrorOf([&] { LoadMapFile(dir.File("gone.php")); }), "Cannot open file " + dir.File("gone.php"));
  EXPECT_EQ(LoadableExtensions(), ".mfp, .php, .mmf, .bmp, .png, .tmx, .tmj, .csv");
  EXPECT_EQ(SavableExtensions(), ".mfp, .php, .mmf, .bmp, .png, .sql, .html, .tmx, .tmj, .csv");
}

}  // namespace
}  // namespace mireforge
