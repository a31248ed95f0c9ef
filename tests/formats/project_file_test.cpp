#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <tuple>
#include <sys/resource.h>
#include <vector>

#include "base/file_io.h"
#include "base/ini_file.h"
#include "formats/project_file.h"
#include "base/error.h"
#include "support/same_project.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

using Names = std::vector<std::string>;

// A framed map with varied terrain and default descriptions, as after generating.
Project MakeProject(int width, int height) {
  Project project;
  project.Map.ResizeMap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      project.Map.Cells[x + y * width] =
          static_cast<TerrainCode>(project.Map.OnBorder(x, y) ? FrozenWastes : (x * 7 + y * 3) % 16);
  project.Map.RebuildTerrainRows();
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  project.ProjectSaved = false;
  return project;
}

// The same content; items read from a file also carry their cell's terrain.
void ExpectSameContent(const Project& a, const Project& b) {
  ExpectSameProject(a, b);
  if (a.Descriptions.Size() != b.Descriptions.Size()) return;
  for (std::size_t i = 0; i < a.Descriptions.Size(); ++i)
    ASSERT_EQ(a.Descriptions.Entry(i).Terrain, b.Descriptions.Entry(i).Terrain) << i;
}

TEST(ProjectFile, NewFileHoldsTheSectionsInOrderWithAKeyPerRowAndCell) {
  TempDir dir;
  const std::string path = dir.File("castle.mfp");
  Project project = MakeProject(66, 63);
  project.Domains.Slots[3].Color = 0;  // colour 0 is left out, NoColor is not
  project.Domains.Slots[4].Color = NoColor;
  project.Domains.Slots[4].Name = "North";
  SaveProject(project, path);
  EXPECT_TRUE(project.ProjectSaved);
  EXPECT_EQ(project.ProjectFileName, path);

  const std::string bytes = ReadWholeFile(path);
  EXPECT_EQ(bytes.rfind("[Mireforge project file]\r\nVersion=2.0\r\nMode=0\r\n[Plasma]\r\nWidth=66\r\n", 0), 0u);
  EXPECT_EQ(bytes.find('\n'), bytes.find('\r') + 1);
  const IniFile ini = IniFile::Parse(bytes);
  EXPECT_EQ(ini.SectionNames(), (Names{"Mireforge project file", "Plasma", "cEvo", "Map", "Descriptions", "Domains",
                                       "DomainColors", "DomainNames"}));
  EXPECT_EQ(ini.KeyNames("Plasma"),
            (Names{"Width", "Height", "Seed", "Randomize", "CreateRare", "RareCount", "ResizeType", "MountainLevel",
                   "DownsLevel", "ForestLevel", "Smooth", "SmoothLevel", "AvgHeight", "RandomizeRare", "RareSeed"}));
  EXPECT_EQ(ini.KeyNames("cEvo"),
            (Names{"Width", "Height", "Seed", "Randomize", "CreateRare", "RareCount", "LandMass", "Downs", "Mountains",
                   "RandDowns", "AddRandDowns", "ElevationSmooth", "ElevationDetail", "RandomizeRare", "RareSeed"}));
  const Names mapKeys = ini.KeyNames("Map");
  ASSERT_EQ(mapKeys.size(), 65u);
  EXPECT_EQ(mapKeys[0], "Width");
  EXPECT_EQ(mapKeys[1], "Height");
  EXPECT_EQ(mapKeys[2], "000");
  EXPECT_EQ(mapKeys[64], "062");
  EXPECT_EQ(ini.ReadString("Map", "000", ""), std::string(66, 'A'));
  EXPECT_EQ(ini.ReadString("Map", "001", "").substr(0, 4), "AA18");
  const Names cellKeys = ini.KeyNames("Descriptions");
  ASSERT_EQ(cellKeys.size(), 4158u);
  EXPECT_EQ(cellKeys[0], "0,0");
  EXPECT_EQ(cellKeys[1], "1,0");
  EXPECT_EQ(cellKeys[66], "0,1");
  EXPECT_EQ(cellKeys.back(), "65,62");
  EXPECT_EQ(ini.KeyNames("Domains"), cellKeys);
  EXPECT_EQ(ini.ReadString("Descriptions", "0,0", ""), "frozen wastes");
  EXPECT_EQ(ini.ReadString("Domains", "0,0", ""), "0");
  EXPECT_EQ(ini.KeyNames("DomainColors"), (Names{"0", "4"}));  // slot 0 starts with colour 1
  EXPECT_EQ(ini.ReadString("DomainColors", "0", ""), "1");
  EXPECT_EQ(ini.ReadString("DomainColors", "4", ""), "536870911");
  EXPECT_EQ(ini.KeyNames("DomainNames"), (Names{"4"}));
}

TEST(ProjectFile, ResetDomainsWritesEverySlotsNoColorMark) {
  TempDir dir;
  Project project = MakeProject(5, 4);
  project.Domains.ResetDomains();
  SaveProject(project, dir.File("p.mfp"));
  const IniFile ini = IniFile::Load(dir.File("p.mfp"), AnyFileSize);
  EXPECT_EQ(ini.KeyCount("DomainColors"), 256u);
  EXPECT_EQ(ini.ReadInteger("DomainColors", "255", 0), NoColor);
  EXPECT_FALSE(ini.SectionExists("DomainNames"));
}

TEST(ProjectFile, RoundTripKeepsEverything) {
  TempDir dir;
  const std::string path = dir.File("round.mfp");
  Project saved = MakeProject(40, 30);
  const std::vector<std::string> texts = {"  leading blanks", "trailing blanks  ", "\"quoted\"", "",
                                          std::string(2046, 'x') + "\xE2\x86\x92", "a=b; c",
                                          // UTF-8 in memory: Windows-1252 in the file, and what it lacks kept too
                                          "caf\xC3\xA9", "\xC3\x83\xC2\xA9 \xE2\x82\xAC\xF0\x9F\x8F\xB0"};
  for (std::size_t i = 0; i < texts.size(); ++i) saved.Descriptions.Entry(i * 41).Text = texts[i];
  saved.Descriptions.Entry(7).Domain = 255;
  saved.Descriptions.Entry(8).Domain = 300;  // outside the table: kept as it is
  saved.Descriptions.Entry(9).Domain = -2;
  saved.Domains.Slots[0] = {0, ""};
  saved.Domains.Slots[1] = {0x00FF8040, " Blank edged "};
  saved.Domains.Slots[200] = {NoColor, "\"Quoted\""};
  saved.Domains.Slots[255] = {-5, "Last"};
  saved.Rows.Mode = 1;
  saved.Rows.Plasma.Seed = "-123";
  saved.Rows.Plasma.ResizeType = "Quick";
  saved.Rows.Plasma.RandomizeRare = "";  // the empty text is a value of its own
  saved.Rows.Plasma.MountainLevel = "1";  // the rows' levels are not what is stored
  saved.Settings.MountainLevel = 60;
  saved.Settings.DownsLevel = 110;
  saved.Settings.ForestLevel = 200;
  saved.Rows.CEvo.LandMass = "not a number";  // stored as typed; the wizard checks it
  saved.Rows.CEvo.ElevationDetail = " 12 ";
  saved.Rows.CEvo.CreateRare = "False";
  SaveProject(saved, path);

  Project loaded;
  loaded.ProjectSaved = false;
  LoadProject(loaded, path);
  ExpectSameContent(saved, loaded);
  EXPECT_FALSE(loaded.ProjectSaved);  // loading leaves it as it was
  EXPECT_EQ(loaded.ProjectFileName, path);
  EXPECT_EQ(loaded.Descriptions.Entry(8).Domain, 300);
  EXPECT_EQ(loaded.Domains.Name(300), "");

  PlasmaRows plasma = saved.Rows.Plasma;
  plasma.MountainLevel = "60";
  plasma.DownsLevel = "110";
  plasma.ForestLevel = "200";
  const auto plasmaTexts = [](const PlasmaRows& r) {
    return Names{r.Width, r.Height, r.Seed, r.Randomize, r.CreateRare, r.RareCount, r.ResizeType, r.MountainLevel,
                 r.DownsLevel, r.ForestLevel, r.Smooth, r.SmoothLevel, r.AvgHeight, r.RandomizeRare, r.RareSeed};
  };
  const auto cEvoTexts = [](const CEvoRows& r) {
    return Names{r.Width, r.Height, r.Seed, r.Randomize, r.CreateRare, r.RareCount, r.LandMass, r.Downs,
                 r.Mountains, r.RandDowns, r.AddRandDowns, r.ElevationSmooth, r.ElevationDetail, r.RandomizeRare,
                 r.RareSeed};
  };
  EXPECT_EQ(plasmaTexts(loaded.Rows.Plasma), plasmaTexts(plasma));
  EXPECT_EQ(cEvoTexts(loaded.Rows.CEvo), cEvoTexts(saved.Rows.CEvo));
}

TEST(ProjectFile, ResavingKeepsForeignContentAndLeavesNoStaleRows) {
  TempDir dir;
  const std::string path = dir.File("p.mfp");
  Project taller = MakeProject(10, 20);
  SaveProject(taller, path);
  IniFile edited = IniFile::Load(path, AnyFileSize);
  edited.WriteString("Plasma", "Comment", "mine");
  edited.WriteString("Map", "Note", "gone on resave");
  edited.WriteString("Tools", "Owner", "someone");
  edited.WriteString("Descriptions", "99,99", "stale");
  edited.Save(path);

  Project smaller = MakeProject(10, 5);
  SaveProject(smaller, path);
  const IniFile ini = IniFile::Load(path, AnyFileSize);
  EXPECT_EQ(ini.ReadString("Plasma", "Comment", ""), "mine");
  EXPECT_EQ(ini.ReadString("Tools", "Owner", ""), "someone");
  EXPECT_EQ(ini.KeyNames("Map"), (Names{"Width", "Height", "000", "001", "002", "003", "004"}));
  EXPECT_EQ(ini.KeyCount("Descriptions"), 50u);
  // Erased sections are written anew after the foreign one; no names, no "DomainNames".
  EXPECT_EQ(ini.SectionNames(), (Names{"Mireforge project file", "Plasma", "cEvo", "Tools", "Map", "Descriptions",
                                       "Domains", "DomainColors"}));
}

// A file is saved by writing its cells straight out; it must hold exactly what
// the project written into the old file's document would, section order included.
TEST(ProjectFile, TheSavedFileIsTheProjectWrittenIntoTheOldDocument) {
  const auto plain = [] { return MakeProject(6, 5); };
  const auto namedFirst = [] {  // a name comes before any colour
    Project project = MakeProject(6, 5);
    for (DomainSlot& slot : project.Domains.Slots) slot.Color = 0;
    project.Domains.Slots[2].Name = "South";
    project.Domains.Slots[9].Color = 42;
    return project;
  };
  const auto namesOnly = [] {
    Project project = MakeProject(6, 5);
    for (DomainSlot& slot : project.Domains.Slots) slot.Color = 0;
    project.Domains.Slots[0].Name = "Caf\xC3\xA9";
    return project;
  };
  const auto awkwardTexts = [] {
    Project project = MakeProject(6, 5);
    const std::string texts[] = {" lead", "trail\t", "\"quoted\"", "line\r\nbreak", "caf\xC3\xA9",
                                 std::string(70000, 'w'), ""};
    for (std::size_t i = 0; i < std::size(texts); ++i) project.Descriptions.Entry(i).Text = texts[i];
    project.Descriptions.Entry(9).Domain = -5;
    return project;
  };
  const auto noDescriptions = [] {
    Project project = MakeProject(6, 5);
    project.Descriptions.Clear();
    return project;
  };
  TempDir dir;
  const std::string path = dir.File("p.mfp");
  int index = 0;
  for (const auto& make : {+plain, +namedFirst, +namesOnly, +awkwardTexts, +noDescriptions}) {
    WriteWholeFile(path, "; mine\r\n[Descriptions]\r\n0,0=old\r\n[Tools]\r\nOwner=me\r\n", "x %s");
    IniFile document = IniFile::Load(path, AnyFileSize);
    const Project project = make();
    WriteProject(project, document);
    WriteProjectFile(project, path);
    EXPECT_TRUE(ReadWholeFile(path) == document.Serialize()) << "case " << index++;
  }
  WriteProjectFile(namedFirst(), path);
  EXPECT_EQ(IniFile::Load(path, AnyFileSize).SectionNames(),
            (Names{"Tools", "Mireforge project file", "Plasma", "cEvo", "Map", "Descriptions", "Domains",
                   "DomainNames", "DomainColors"}));
}

TEST(ProjectFile, EmptyDescriptionListWritesNoCellSectionsAndLoadsDefaults) {
  TempDir dir;
  const std::string path = dir.File("p.mfp");
  Project withDescriptions = MakeProject(8, 8);
  SaveProject(withDescriptions, path);
  Project project = MakeProject(6, 5);
  project.Descriptions.Clear();
  project.Domains.Slots[2] = {77, "Named"};
  SaveProject(project, path);
  const IniFile ini = IniFile::Load(path, AnyFileSize);
  for (const char* section : {"Descriptions", "Domains", "DomainColors", "DomainNames"})
    EXPECT_FALSE(ini.SectionExists(section)) << section;

  Project loaded = MakeProject(3, 3);
  loaded.Domains.Slots[9] = {5, "old"};
  LoadProject(loaded, path);
  ASSERT_EQ(loaded.Descriptions.Size(), 30u);
  for (std::size_t i = 0; i < 30; ++i) {
    const TDescItem& item = loaded.Descriptions.Entry(i);
    EXPECT_EQ(item.Text, TerrainNames[loaded.Map.Cells[i]]);
    EXPECT_EQ(item.Domain, 0);
  }
  for (const DomainSlot& slot : loaded.Domains.Slots) {
    EXPECT_EQ(slot.Color, 0);
    EXPECT_EQ(slot.Name, "");
  }
}

// Loads a hand-written file into a fresh project.
Project LoadText(const std::string& text) {
  TempDir dir;
  WriteWholeFile(dir.File("t.mfp"), text, "x %s");
  Project project;
  LoadProject(project, dir.File("t.mfp"));
  return project;
}

TEST(ProjectFile, ReadsHandWrittenValuesWithTheirDefaults) {
  const Project p = LoadText(
      "[Mireforge project file]\r\nVersion=2.0\r\nMode=$1\r\n"
      "[Map]\r\nWidth=0x5\r\nHeight=$3\r\n000=0aA9F\r\n001=12\r\n"
      "[Descriptions]\r\n0,0=first\r\n4,2=  last  \r\n"
      "[Domains]\r\n0,0=0x1F\r\n1,0=$1F\r\n2,0=many\r\n"
      "[DomainColors]\r\n7=$FF\r\n8=red\r\n"
      "[DomainNames]\r\n7=Seven\r\n");
  EXPECT_EQ(p.Rows.Mode, 1);
  ASSERT_EQ(p.Map.Width, 5);
  ASSERT_EQ(p.Map.Height, 3);
  // Lower-case hex is no terrain; short and missing rows give none.
  EXPECT_EQ(p.Map.Cells, (std::vector<TerrainCode>{0, 15, 10, 9, 15, 1, 2, 15, 15, 15, 15, 15, 15, 15, 15}));
  EXPECT_EQ(p.Map.TerrainRows, p.Map.Cells);
  ASSERT_EQ(p.Descriptions.Size(), 15u);
  EXPECT_EQ(p.Descriptions.Entry(0).Text, "first");
  EXPECT_EQ(p.Descriptions.Entry(5).Text, "plains");  // missing key: plains, whatever the terrain (citadel)
  EXPECT_EQ(p.Descriptions.Entry(5).Terrain, Citadel);
  EXPECT_EQ(p.Descriptions.Entry(14).Text, "last");
  EXPECT_EQ(p.Descriptions.Entry(0).Domain, 31);
  EXPECT_EQ(p.Descriptions.Entry(1).Domain, 31);
  EXPECT_EQ(p.Descriptions.Entry(2).Domain, 0);
  EXPECT_EQ(p.Domains.Slots[7].Color, 255);
  EXPECT_EQ(p.Domains.Slots[8].Color, 0);
  EXPECT_EQ(p.Domains.Slots[7].Name, "Seven");
  // Rows missing from the file take the file format's defaults.
  EXPECT_EQ(p.Rows.Plasma.RandomizeRare, "False");
  EXPECT_EQ(p.Rows.CEvo.CreateRare, "True");
  EXPECT_EQ(p.Rows.Plasma.ResizeType, "Bilinear");
  EXPECT_EQ(p.Rows.CEvo.ElevationDetail, "95");

  const Project defaults = LoadText("[Mireforge project file]\r\nVersion=2.0\r\n[Map]\r\nWidth=x\r\n");
  EXPECT_EQ(defaults.Map.Width, 66);
  EXPECT_EQ(defaults.Map.Height, 63);
  EXPECT_EQ(defaults.Rows.Mode, 0);
  EXPECT_EQ(defaults.Descriptions.Entry(0).Text, "none");  // default descriptions from the terrain
}

TEST(ProjectFile, VersionsBeforeTwoAreRefusedWithTheirOwnError) {
  struct Case {
    const char* version;  // nullptr: no key at all
    bool accepted;
  };
  const Case cases[] = {{"2.0", true}, {"2.5", true}, {"3", true}, {"2.0a", true},
                        {"10", false}, {"1.9", false}, {"2", false}, {"", false}, {nullptr, false}};
  for (const Case& c : cases) {
    std::string text = "[Mireforge project file]\r\n";
    if (c.version) text += "Version=" + std::string(c.version) + "\r\n";
    text += "[Map]\r\nWidth=2\r\nHeight=1\r\n000=12\r\n";
    try {
      const Project p = LoadText(text);
      EXPECT_TRUE(c.accepted) << (c.version ? c.version : "(none)");
      EXPECT_EQ(p.Map.Cells, (std::vector<TerrainCode>{1, 2}));
    } catch (const ProjectVersionError& e) {
      EXPECT_FALSE(c.accepted) << (c.version ? c.version : "(none)");
      EXPECT_EQ(std::string(e.what()),
                "Wrong project version!\n\nProject file you are trying to load is saved with\n"
                "earlier version of Mireforge and is not supported.");
    }
  }
}

TEST(ProjectFile, AFailedLoadChangesNothing) {
  TempDir dir;
  const std::string good = dir.File("good.mfp");
  Project before = MakeProject(12, 9);
  before.Domains.Slots[5] = {9, "Kept"};
  before.Rows.Mode = 1;
  SaveProject(before, good);
  before.ProjectSaved = false;
  const struct {
    const char* name;
    std::string text;
  } bad[] = {
      {"old.mfp", "[Mireforge project file]\r\nVersion=1.0\r\n[Map]\r\nWidth=3\r\nHeight=3\r\n"},
      {"wide.mfp", "[Mireforge project file]\r\nVersion=2.0\r\n[Map]\r\nWidth=513\r\nHeight=3\r\n"},
      {"flat.mfp", "[Mireforge project file]\r\nVersion=2.0\r\n[Map]\r\nWidth=3\r\nHeight=0\r\n"},
      {"negative.mfp", "[Mireforge project file]\r\nVersion=2.0\r\n[Map]\r\nWidth=-4\r\nHeight=3\r\n"},
  };
  for (const auto& file : bad) {
    WriteWholeFile(dir.File(file.name), file.text, "x %s");
    Project project = before;
    EXPECT_THROW(LoadProject(project, dir.File(file.name)), Error) << file.name;
    ExpectSameContent(project, before);
    EXPECT_EQ(project.ProjectFileName, good);
    EXPECT_FALSE(project.ProjectSaved);
  }
  Project project = before;
  try {
    LoadProject(project, dir.File("missing.mfp"));
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.File("missing.mfp"));
  }
  ExpectSameContent(project, before);
  try {
    LoadProject(project, dir.File("wide.mfp"));
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "The map size 513x3 in this project file is not supported: width and height must be 1 to 512.");
  }
}

TEST(ProjectFile, AFailedSaveKeepsTheOldFileAndTheUnsavedState) {
  TempDir dir;
  const std::string path = dir.File("p.mfp");
  Project small = MakeProject(4, 4);
  SaveProject(small, path);
  const std::string old = ReadWholeFile(path);

  Project big = MakeProject(200, 200);
  big.ProjectFileName = "earlier.mfp";
  // A file size limit makes the write fail part-way, even for root.
  rlimit original{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &original), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = original;
  limited.rlim_cur = old.size() + 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  std::string message;
  try {
    SaveProject(big, path);
  } catch (const Error& e) {
    message = e.what();
  }
  setrlimit(RLIMIT_FSIZE, &original);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_EQ(message, "Unable to write to " + path + ": File too large");
  EXPECT_EQ(ReadWholeFile(path), old);
  EXPECT_FALSE(big.ProjectSaved);
  EXPECT_EQ(big.ProjectFileName, "earlier.mfp");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);  // no temporary left

  Project empty;
  EXPECT_THROW(SaveProject(empty, path), Error);  // a 0 x 0 map could not be loaded again
  EXPECT_EQ(ReadWholeFile(path), old);
  // What stands at the name cannot be read (a folder here): refused before anything is lost.
  std::filesystem::create_directory(dir.File("folder.mfp"));
  try {
    SaveProject(small, dir.File("folder.mfp"));
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + dir.File("folder.mfp") + ": Is a directory");
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.mfp")));
}

TEST(ProjectFile, LineBreaksInDescriptionsBecomeBlanks) {
  TempDir dir;
  const std::string path = dir.File("p.mfp");
  Project project = MakeProject(3, 3);
  project.Descriptions.Entry(4).Text = "two\r\nlines\n[Map]\rWidth=1";
  SaveProject(project, path);
  Project loaded;
  LoadProject(loaded, path);
  EXPECT_EQ(loaded.Map.Width, 3);
  EXPECT_EQ(loaded.Descriptions.Entry(4).Text, "two  lines [Map] Width=1");
}

// The largest map is read on two threads, each half of the rows on its own: the
// result, the file written from it and the progress must not show the seam.
TEST(ProjectFile, TheLargestMapRoundTripsByteForByte) {
  TempDir dir;
  const std::string path = dir.File("large.mfp");
  Project saved = MakeProject(MaxMapSize, MaxMapSize);
  const std::size_t cells = saved.Descriptions.Size();
  for (std::size_t i = 0; i < cells; i += 997) {
    TDescItem& item = saved.Descriptions.Entry(i);
    item.Text = i % 2 ? "caf\xC3\xA9 " + std::to_string(i) : " place " + std::to_string(i) + " ";
    item.Domain = static_cast<int>(i % 300);
  }
  saved.Descriptions.Entry(cells / 2).Text = std::string(3000, 'y');  // longer than a reader takes
  saved.Descriptions.Entry(cells - 1).Text = "\xE2\x82\xAC last";
  SaveProject(saved, path);
  const std::string bytes = ReadWholeFile(path);

  std::vector<int> positions;
  Project loaded;
  LoadProject(loaded, path, [&](std::string_view, int maximum, int position) {
    EXPECT_EQ(maximum, MaxMapSize);
    positions.push_back(position);
  });
  saved.Descriptions.Entry(cells / 2).Text = std::string(IniFile::MaxValueLength, 'y');
  ExpectSameContent(saved, loaded);
  ASSERT_FALSE(positions.empty());
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
  EXPECT_LT(positions.back(), MaxMapSize);

  const std::string again = dir.File("again.mfp");
  SaveProject(loaded, again);
  std::string expected = bytes;
  const std::string cut = std::string(3000, 'y');
  expected.replace(expected.find(cut), cut.size(), std::string(IniFile::MaxValueLength, 'y'));
  EXPECT_TRUE(ReadWholeFile(again) == expected);
}

// A hand-edited file: cells missing in both halves, a row written backwards, a
// repeated key. Each half finds its cells wherever they stand.
TEST(ProjectFile, TheLargestMapReadsCellsOutOfOrder) {
  Project saved = MakeProject(MaxMapSize, MaxMapSize);
  for (std::size_t i = 0; i < saved.Descriptions.Size(); ++i) {
    saved.Descriptions.Entry(i).Text = "cell " + std::to_string(i);
    saved.Descriptions.Entry(i).Domain = static_cast<int>(i % 7);
  }
  IniFile ini;
  WriteProject(saved, ini);
  for (const int y : {3, 400}) {
    ini.DeleteKey("Descriptions", "5," + std::to_string(y));
    ini.DeleteKey("Domains", "6," + std::to_string(y));
  }
  std::string text = ini.Serialize();
  {
    // A cell of the lower half early, in the upper: the first line of a key is the one read.
    std::string early = text;
    early.replace(early.find("\r\n0,256=") + 2, 0, "5,300=early\r\n");
    TempDir dir;
    WriteWholeFile(dir.File("p.mfp"), early, "x %s");
    Project loaded;
    LoadProject(loaded, dir.File("p.mfp"));
    EXPECT_EQ(loaded.Descriptions.CellDescription(5, 300, MaxMapSize)->Text, "early");
    EXPECT_EQ(loaded.Descriptions.CellDescription(5, 301, MaxMapSize)->Text, "cell " + std::to_string(301 * 512 + 5));
  }
  // Row 300 backwards: its lines reversed in place.
  const std::string first = "0,300=cell " + std::to_string(300 * 512) + "\r\n";
  const std::size_t from = text.find(first);
  const std::size_t to = text.find("0,301=", from);
  ASSERT_NE(from, std::string::npos);
  std::vector<std::string> lines;
  for (std::size_t at = from; at < to;) {
    const std::size_t end = text.find("\r\n", at) + 2;
    lines.push_back(text.substr(at, end - at));
    at = end;
  }
  std::string reversed;
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) reversed += *line;
  text.replace(from, to - from, reversed);
  text.replace(text.find("[Domains]\r\n") + 11, 0, "7,450=99\r\n");  // later repeated: the first wins
  text.replace(text.find("[Domains]\r\n") + 11, 0, "7,450=3\r\n");

  Project loaded;
  ReadProject(IniFile::Parse(text), loaded);
  // Loaded from a file, the halves are found in the text of each section.
  TempDir dir;
  WriteWholeFile(dir.File("p.mfp"), text, "x %s");
  Project fromFile;
  LoadProject(fromFile, dir.File("p.mfp"));
  ExpectSameContent(loaded, fromFile);
  for (const int y : {3, 400}) {
    saved.Descriptions.CellDescription(5, y, MaxMapSize)->Text = "plains";
    saved.Descriptions.CellDescription(6, y, MaxMapSize)->Domain = 0;
  }
  saved.Descriptions.CellDescription(7, 450, MaxMapSize)->Domain = 3;
  ExpectSameContent(saved, loaded);
}

// A file saved by this program is read line by line without looking keys up;
// any line out of its place sends the whole section to the lookups, which must
// give what a lookup of each key gives, the first of a repeated key included.
TEST(ProjectFile, CellsOutOfTheirPlaceReadAsTheirKeysLookedUp) {
  Project saved = MakeProject(4, 3);
  for (std::size_t i = 0; i < saved.Descriptions.Size(); ++i) {
    saved.Descriptions.Entry(i).Text = "cell " + std::to_string(i);
    saved.Descriptions.Entry(i).Domain = static_cast<int>(i + 1);
  }
  IniFile written;
  WriteProject(saved, written);
  const std::string text = written.Serialize();
  const auto replaced = [&](std::string from, const std::string& to) {
    std::string result = text;
    result.replace(result.find(from), from.size(), to);
    return result;
  };
  // The descriptions moved to the end of the file, their last line without a line break.
  const auto descriptionsLast = [](const std::string& file) {
    const std::size_t from = file.find("[Descriptions]"), to = file.find("[Domains]");
    return file.substr(0, from) + file.substr(to) + file.substr(from, to - from - 2);
  };
  const std::string cases[] = {
      text,
      replaced("2,0=cell 2\r\n", "0,0=again\r\n"),                   // a repeated key in place of another
      replaced("1,1=6\r\n", "1,0=60\r\n"),                           // the same in the domains
      replaced("3,2=cell 11\r\n", "3 ,2=cell 11\r\n"),               // a key that differs from the cell's
      replaced("0,1=cell 4\r\n1,1=cell 5\r\n", "1,1=cell 5\r\n0,1=cell 4\r\n"),  // two lines swapped
      replaced("2,1=7\r\n", "no equals sign\r\n"),                   // a line that is no key
      replaced("[Domains]\r\n", "[Domains]\r\n3,2=first\r\n"),        // one line too many
      replaced("[Domains]\r\n", "2,2=again\r\n[Domains]\r\n"),         // a line after the last cell
      replaced("[Domains]\r\n", "[domains]\r\n"),                       // a name written otherwise
      replaced("[Domains]\r\n", "[Other]\r\n"),                         // no domains at all
      text + "[Descriptions]\r\n9,9=x\r\n0,0=later\r\n",                   // a section repeated
      descriptionsLast(replaced("1,1=6\r\n", "1,0=60\r\n")),             // ... and their last line unbroken
  };
  TempDir dir;
  for (const std::string& file : cases) {
    const IniFile ini = IniFile::Parse(file);
    Project read;
    ReadProject(ini, read);
    ASSERT_EQ(read.Descriptions.Size(), 12u);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x) {
        const std::string key = std::to_string(x) + "," + std::to_string(y);
        const TDescItem& item = read.Descriptions.Entry(x + y * 4);
        EXPECT_EQ(item.Text, ini.ReadString("Descriptions", key, "plains")) << key << " in\n" << file;
        EXPECT_EQ(item.Domain, ini.ReadInteger("Domains", key, 0)) << key << " in\n" << file;
      }
    // A file is loaded with the cells' sections read from their text, not as a document.
    WriteWholeFile(dir.File("p.mfp"), file, "x %s");
    Project loaded;
    LoadProject(loaded, dir.File("p.mfp"));
    ExpectSameContent(read, loaded);
  }
}

TEST(ProjectFile, ReportsProgressPerDescriptionRow) {
  TempDir dir;
  const std::string path = dir.File("p.mfp");
  std::vector<std::string> calls;
  const ProjectProgress record = [&](std::string_view label, int maximum, int position) {
    calls.push_back(std::string(label) + " " + std::to_string(position) + "/" + std::to_string(maximum));
  };
  Project project = MakeProject(4, 3);
  SaveProject(project, path, record);
  EXPECT_EQ(calls, (Names{"Saving, please wait... 0/3", "Saving, please wait... 0/3", "Saving, please wait... 1/3",
                          "Saving, please wait... 2/3"}));
  calls.clear();
  LoadProject(project, path, record);
  EXPECT_EQ(calls, (Names{"Loading, please wait... 0/3", "Loading, please wait... 0/3",
                          "Loading, please wait... 1/3", "Loading, please wait... 2/3"}));
}

}  // namespace
}  // namespace mireforge
