// The texts of a project file: Windows-1252 in the file, UTF-8 in memory, and at
// most 2,047 characters a value.
#include <gtest/gtest.h>

#include <string>

#include "base/file_io.h"
#include "formats/project_file.h"
#include "model/terrain.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

Project SmallProject() {
  Project project;
  project.Map.ResizeMap(4, 3);
  project.Map.RebuildTerrainRows();
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  return project;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// A project file as another program may have written it: the description of
// cell (1, 1) and the name of domain 3 are the bytes given. Returns the bytes.
std::string WriteProjectWithTexts(const std::string& path, const std::string& description, const std::string& name) {
  Project project = SmallProject();
  project.Descriptions.Entry(5).Text = "DESCRIPTION";
  project.Domains.Slots[3] = {0x00FF00, "DOMAIN"};
  WriteProjectFile(project, path);
  const std::string bytes = Replace(Replace(ReadWholeFile(path), "DESCRIPTION", description), "DOMAIN", name);
  WriteWholeFile(path, bytes, "%s");
  return bytes;
}

TEST(ProjectText, Windows1252TextsShowAsTheirLettersAndSaveBackByteForByte) {
  TempDir dir;
  // As a Windows program writes it: one byte a letter.
  const std::string windows = WriteProjectWithTexts(dir.File("windows.mfp"), "Ch\xE2teau d'\xC9t\xE9 \x96 \x80 5 \x81",
                                                    "K\xF6nigreich \xAB\xDF\xBB");

  Project loaded;
  LoadProject(loaded, dir.File("windows.mfp"));
  EXPECT_EQ(loaded.Descriptions.Entry(5).Text, "Ch\xC3\xA2teau d'\xC3\x89t\xC3\xA9 \xE2\x80\x93 \xE2\x82\xAC 5 \xC2\x81");
  EXPECT_EQ(loaded.Domains.Name(3), "K\xC3\xB6nigreich \xC2\xAB\xC3\x9F\xC2\xBB");
  SaveProject(loaded, dir.File("windows.mfp"));
  EXPECT_EQ(ReadWholeFile(dir.File("windows.mfp")), windows);
}

TEST(ProjectText, TypedTextRoundTripsAndEarlierUtf8FilesStayReadable) {
  TempDir dir;
  Project project = SmallProject();
  const std::string typed[] = {"caf\xC3\xA9", "\xE2\x86\x92 tower \xF0\x9F\x8F\xB0", "\xC3\x83\xC2\xA9"};
  for (int i = 0; i < 3; ++i) project.Descriptions.Entry(i).Text = typed[i];
  project.Domains.Slots[1] = {1, "\xE2\x86\x92 north"};
  SaveProject(project, dir.File("typed.mfp"));
  const std::string bytes = ReadWholeFile(dir.File("typed.mfp"));
  EXPECT_NE(bytes.find("0,0=caf\xE9\r\n"), std::string::npos);  // Windows-1252 where it can
  Project loaded;
  LoadProject(loaded, dir.File("typed.mfp"));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(loaded.Descriptions.Entry(i).Text, typed[i]);
  EXPECT_EQ(loaded.Domains.Name(1), "\xE2\x86\x92 north");

  // An earlier version wrote what was typed as UTF-8.
  WriteWholeFile(dir.File("old.mfp"), Replace(bytes, "0,0=caf\xE9", "0,0=caf\xC3\xA9"), "%s");
  Project old;
  LoadProject(old, dir.File("old.mfp"));
  EXPECT_EQ(old.Descriptions.Entry(0).Text, "caf\xC3\xA9");
}

TEST(ProjectText, HugeTextsAreCutTo2047CharactersOnReading) {
  TempDir dir;
  const std::string huge(10 << 20, 'h');
  WriteProjectWithTexts(dir.File("huge.mfp"), huge, huge);
  Project loaded;
  LoadProject(loaded, dir.File("huge.mfp"));
  EXPECT_EQ(loaded.Descriptions.Entry(5).Text, std::string(2047, 'h'));
  EXPECT_EQ(loaded.Domains.Name(3), std::string(2047, 'h'));
  EXPECT_EQ(loaded.Descriptions.Entry(6).Text, TerrainNames[loaded.Map.GetTerrain(2, 1)]);
}

}  // namespace
}  // namespace mireforge
