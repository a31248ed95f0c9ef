// The shell: start-up, commands, preferences, recent lists, the
// unsaved-changes question, and the load and save commands.
#include <QAction>
#include <QDockWidget>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTreeView>

#include "app/main_window/window_parts.h"
#include "app/panels/description_model.h"
#include "app/dialogs/small_forms.h"
#include "app/menus/shortcut_menu.h"
#include "app/app_test_support.h"
#include "base/file_io.h"
#include "base/ini_file.h"
#include "formats/midnight_map.h"
#include "formats/preview_image.h"
#include "formats/project_file.h"

namespace mireforge::testing {
namespace {

std::vector<QAction*> MapCommands(TfMain& w) {
  return {PartOf<QAction>(w, "aSaveProject"), PartOf<QAction>(w, "aSavePreview"), PartOf<QAction>(w, "aSaveMap"), PartOf<QAction>(w, "aSaveMMU"), PartOf<QAction>(w, "aSaveHTML"), PartOf<QAction>(w, "aSaveSQL"), PartOf<QAction>(w, "aPaint"),
          PartOf<QAction>(w, "aPaintDom"),    PartOf<QAction>(w, "aFill"),        PartOf<QAction>(w, "aActualView"), PartOf<QAction>(w, "aStats"), PartOf<QAction>(w, "aDomStats")};
}

std::vector<QAction*> AlwaysCommands(TfMain& w) {
  return {PartOf<QAction>(w, "aNew"),      PartOf<QAction>(w, "aCreate"),  PartOf<QAction>(w, "aNewBlank"),  PartOf<QAction>(w, "aImportMap"), PartOf<QAction>(w, "aLoadProject"), PartOf<QAction>(w, "aLoadMMU"), PartOf<QAction>(w, "aLoadPreview"),
          PartOf<QAction>(w, "aOptions"),  PartOf<QAction>(w, "aExit"),    PartOf<QAction>(w, "aShowGrid"),  PartOf<QAction>(w, "aGrayscale"), PartOf<QAction>(w, "aRetro"),       PartOf<QAction>(w, "aFullscreen"),
          PartOf<QAction>(w, "aCenterMap"), PartOf<QAction>(w, "aToggleDesc"), PartOf<QAction>(w, "aBlendMore"), PartOf<QAction>(w, "aLegend"), PartOf<QAction>(w, "aAbout")};
}

TEST_F(MainWindowTest, FirstStartWithoutIniUsesDefaults) {
  TfMain& w = Start();
  EXPECT_EQ(w.windowTitle(), "Mireforge");
  EXPECT_TRUE(PartOf<QAction>(w, "aFullscreen")->isChecked());
  EXPECT_FALSE(PartOf<QAction>(w, "aShowGrid")->isChecked());
  EXPECT_TRUE(PartOf<QAction>(w, "aCenterMap")->isChecked());
  EXPECT_FALSE(PartOf<QDockWidget>(w, "twDesc")->isHidden());
  EXPECT_FALSE(PartOf<QDockWidget>(w, "twTerrain")->isHidden());
  EXPECT_FALSE(PartOf<QDockWidget>(w, "twDomains")->isHidden());
  EXPECT_FALSE(w.MapPresent());
  EXPECT_EQ(PartOf<MapGridView>(w, "DG")->Columns(), 66);
  EXPECT_EQ(PartOf<MapGridView>(w, "DG")->Rows(), 63);
  EXPECT_EQ(w.StatusText(0), "66x63");
  EXPECT_EQ(w.StatusText(1), "none");
  EXPECT_EQ(w.StatusText(2), "32x32");
  EXPECT_EQ(w.TileSize(), 32);
  EXPECT_TRUE(w.CurrentProject().ProjectSaved);
  EXPECT_EQ(w.CurrentProject().Domains.Color(0), 1);
  EXPECT_GE(w.minimumWidth(), 320);
  EXPECT_GE(w.minimumHeight(), 240);
  for (QAction* a : MapCommands(w)) EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
  for (QAction* a : AlwaysCommands(w)) EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
  // Closing right after start-up asks nothing and writes the preferences.
  EXPECT_TRUE(w.close());
  EXPECT_TRUE(prompts.questions.isEmpty());
  EXPECT_TRUE(QFile::exists(iniPath));
}

TEST_F(MainWindowTest, StartWithIniAppliesSettingsAndReadsRecentLists) {
  const QString existing = File("a.mfp");
  QFile(existing).open(QIODevice::WriteOnly);
  IniFile ini;
  ini.WriteBool("Settings", "Show grid", true);
  ini.WriteBool("Settings", "Start fullscreen", false);
  ini.WriteBool("Settings", "InterSelect", false);
  ini.WriteBool("Settings", "Show terrain window", false);
  ini.WriteBool("Settings", "AutoMMUSQL", true);
  ini.WriteString("MRUProjects", "MRU1", existing.toStdString());
  ini.WriteString("MRUProjects", "MRU3", File("gone.mfp").toStdString());  // a gap is skipped
  ini.Save(iniPath.toStdString());
  TfMain& w = Start();
  EXPECT_TRUE(PartOf<QAction>(w, "aShowGrid")->isChecked());
  EXPECT_TRUE(PartOf<MapGridView>(w, "DG")->Options().gridLines);
  EXPECT_FALSE(PartOf<QAction>(w, "aFullscreen")->isChecked());
  EXPECT_FALSE(PartOf<QAction>(w, "aCenterMap")->isChecked());
  EXPECT_TRUE(PartOf<QDockWidget>(w, "twTerrain")->isHidden());
  EXPECT_FALSE(PartOf<QDockWidget>(w, "twDesc")->isHidden());
  EXPECT_EQ(w.Prefs().projects.Entries(), QStringList({existing, File("gone.mfp")}));
  const QStringList recent = [&] {
    QStringList texts;
    for (QAction* a : PartOf<QMenu>(w, "mRecent")->actions()) texts << a->text();
    return texts;
  }();
  EXPECT_TRUE(recent.contains("&1 a.mfp"));
  EXPECT_TRUE(recent.contains("&2 gone.mfp"));
  EXPECT_TRUE(recent.contains("Preview images"));
}

TEST_F(MainWindowTest, PreferencesRoundTripAndPruneAtShutdown) {
  {
    TfMain& w = Start();
    PartOf<QAction>(w, "aShowGrid")->trigger();
    PartOf<QAction>(w, "aFullscreen")->trigger();  // off: takes effect at the next start only
    EXPECT_FALSE(w.isMaximized());
    PartOf<QDockWidget>(w, "twDomains")->close();
    OnModal<QDialog>([](QDialog* d) {
      for (QCheckBox* box : d->findChildren<QCheckBox*>()) Tick(box, true);
      ClickButton(d, "OK");
    });
    PartOf<QAction>(w, "aOptions")->trigger();
    EXPECT_TRUE(w.InvertRowCol());
    QFile(File("kept.php")).open(QIODevice::WriteOnly);
    MakeBlankMap(5, 5);
    prompts.files.push_back({File("kept.php"), 1});
    PartOf<QAction>(w, "aSaveMMU")->trigger();
    prompts.files.push_back({File("vanishing.php"), 1});
    PartOf<QAction>(w, "aSaveMMU")->trigger();
    QFile::remove(File("vanishing.php"));
    w.CurrentProject().ProjectSaved = true;
    ASSERT_TRUE(w.close());
    window.reset();
  }
  const IniFile ini = IniFile::Load(iniPath.toStdString(), AnyFileSize);
  EXPECT_TRUE(ini.ReadBool("Settings", "Show grid", false));
  EXPECT_FALSE(ini.ReadBool("Settings", "Start fullscreen", true));
  EXPECT_FALSE(ini.ReadBool("Settings", "Show domains window", true));
  EXPECT_TRUE(ini.ReadBool("Settings", "RememberLastInput", false));
  EXPECT_TRUE(ini.ReadBool("Settings", "AutoSaveMMF", false));
  EXPECT_EQ(ini.ReadString("MRUMMUMaps", "MRU1", ""), File("kept.php").toStdString());
  EXPECT_FALSE(ini.KeyExists("MRUMMUMaps", "MRU2"));
  TfMain& again = Start();
  EXPECT_TRUE(PartOf<QAction>(again, "aShowGrid")->isChecked());
  EXPECT_FALSE(PartOf<QAction>(again, "aFullscreen")->isChecked());
  EXPECT_TRUE(PartOf<QDockWidget>(again, "twDomains")->isHidden());
  EXPECT_FALSE(again.InvertRowCol());  // never stored
}

// An installed program keeps no file in a system folder, even as root; a build keeps its own.
TEST(PreferencesPathTest, SystemFoldersUseTheConfigurationFolder) {
  const QString config = "/home/ann/.config/Mireforge";
  struct Case {
    QString program;
    bool writable;
    QString expected;
  };
  const Case cases[] = {
      {"/usr/bin/mireforge", true, config + "/mireforge.ini"},
      {"/usr/local/bin/mireforge", true, config + "/mireforge.ini"},
      {"/opt/mireforge/bin/mireforge", true, config + "/mireforge.ini"},
      {"/usr/bin/mireforge", false, config + "/mireforge.ini"},
      {"/work/mireforge/build/src/app/mireforge", true, "/work/mireforge/build/src/app/mireforge.ini"},
      {"/home/ann/tools/usr/mireforge", true, "/home/ann/tools/usr/mireforge.ini"},
      {"/home/ann/readonly/mireforge", false, config + "/mireforge.ini"},
      {"/librarian/mireforge", true, "/librarian/mireforge.ini"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Preferences::PathFor(c.program, c.writable, config), c.expected) << c.program.toStdString();
}

TEST(RecentListTest, SeventhEntryPushesOutOldestAndKnownEntryMovesToTop) {
  RecentList list;
  for (int i = 1; i <= 7; ++i) list.Add(QString("/maps/%1.php").arg(i));
  ASSERT_EQ(list.Entries().size(), 6);
  EXPECT_EQ(list.Entries().front(), "/maps/7.php");
  EXPECT_EQ(list.Entries().back(), "/maps/2.php");
  list.Add("/maps/4.php");
  EXPECT_EQ(list.Entries().size(), 6);
  EXPECT_EQ(list.Entries().front(), "/maps/4.php");
  EXPECT_EQ(list.Entries().count("/maps/4.php"), 1);
  list.Prune([](const QString& f) { return !f.endsWith("5.php") && !f.endsWith("7.php"); });
  EXPECT_EQ(list.Entries(), QStringList({"/maps/4.php", "/maps/6.php", "/maps/3.php", "/maps/2.php"}));
}

TEST_F(MainWindowTest, MapCommandsFollowTheMap) {
  TfMain& w = Start();
  MakeBlankMap(10, 8);
  EXPECT_TRUE(w.MapPresent());
  for (QAction* a : MapCommands(w)) EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
  EXPECT_TRUE(PartOf<QAction>(w, "aSetName")->isEnabled());
  EXPECT_FALSE(PartOf<QAction>(w, "aNewDomain")->isEnabled());  // no domain listed yet
  EXPECT_EQ(w.StatusText(0), "10x8");
  EXPECT_EQ(w.StatusText(1), "Created as blank map");
  PartOf<QAction>(w, "aPaint")->trigger();
  w.ChooseTileSize(6);
  prompts.answers.push_back(Answer::No);
  PartOf<QAction>(w, "aNew")->trigger();
  EXPECT_FALSE(w.MapPresent());
  for (QAction* a : MapCommands(w)) EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
  EXPECT_FALSE(PartOf<QAction>(w, "aPaint")->isChecked());
  EXPECT_FALSE(PartOf<QAction>(w, "aSetName")->isEnabled());
  EXPECT_EQ(w.TileSize(), 32);
  EXPECT_TRUE(PartOf<QAction>(w, ("aTileSize" + std::to_string(0)).c_str())->isChecked());
  EXPECT_EQ(PartOf<MapGridView>(w, "DG")->Columns(), 66);
  EXPECT_EQ(w.StatusText(0), "66x63");
  EXPECT_EQ(w.StatusText(1), "none");
  EXPECT_TRUE(w.CurrentProject().Map.Empty());
  EXPECT_TRUE(w.CurrentProject().Descriptions.Empty());
  EXPECT_TRUE(w.CurrentProject().ProjectSaved);
  EXPECT_FALSE(w.UndoStack().canUndo());
}

// The unsaved-changes question on New, with each answer.
TEST_F(MainWindowTest, UnsavedChangesQuestionOnNew) {
  TfMain& w = Start();
  MakeBlankMap(6, 6);
  ASSERT_FALSE(w.CurrentProject().ProjectSaved);

  prompts.answers.push_back(Answer::Cancel);
  PartOf<QAction>(w, "aNew")->trigger();
  EXPECT_EQ(prompts.questions.back(), "Do you want to save changes you made to current project?");
  EXPECT_TRUE(w.MapPresent());

  // Yes without a project file: the save dialog; cancelling it keeps the work.
  prompts.answers.push_back(Answer::Yes);
  prompts.files.push_back({});
  PartOf<QAction>(w, "aNew")->trigger();
  EXPECT_TRUE(w.MapPresent());
  EXPECT_TRUE(prompts.dialogs.back().startsWith("Save Mireforge project file|"));

  // Yes and a file name: saved, then New goes ahead.
  prompts.answers.push_back(Answer::Yes);
  prompts.files.push_back({File("work.mfp"), 1});
  PartOf<QAction>(w, "aNew")->trigger();
  EXPECT_FALSE(w.MapPresent());
  EXPECT_TRUE(QFile::exists(File("work.mfp")));
  EXPECT_EQ(w.Prefs().projects.Entries().front(), File("work.mfp"));

  MakeBlankMap(6, 6);
  prompts.answers.push_back(Answer::No);
  PartOf<QAction>(w, "aNew")->trigger();
  EXPECT_FALSE(w.MapPresent());
  EXPECT_EQ(prompts.errors.size(), 0);
}

TEST_F(MainWindowTest, CloseQuestionAndSaveToKnownProjectFile) {
  TfMain& w = Start();
  MakeBlankMap(6, 6);
  prompts.answers.push_back(Answer::Cancel);
  EXPECT_FALSE(w.close());
  EXPECT_EQ(prompts.questions.back(), "Do you want to save changes you made to this project?");
  EXPECT_TRUE(w.isVisible());

  prompts.files.push_back({File("castle.mfp"), 1});
  PartOf<QAction>(w, "aSaveProject")->trigger();
  EXPECT_EQ(w.windowTitle(), "Mireforge - castle.mfp");
  EXPECT_TRUE(w.CurrentProject().ProjectSaved);
  OnModal<TfFill>([](TfFill* d) {
    ChooseItem(d->cbTerrain, Forest);
    ClickButton(d, "OK");
  });
  PartOf<QAction>(w, "aFill")->trigger();
  ASSERT_FALSE(w.CurrentProject().ProjectSaved);
  // Yes with a project file saves silently to it.
  prompts.answers.push_back(Answer::Yes);
  const int dialogs = prompts.dialogs.size();
  EXPECT_TRUE(w.close());
  EXPECT_EQ(prompts.dialogs.size(), dialogs);
  Project loaded;
  LoadProject(loaded, File("castle.mfp").toStdString());
  EXPECT_EQ(loaded.Map.GetTerrain(2, 2), Forest);
}

TEST_F(MainWindowTest, ProjectSaveAndLoadRoundTrip) {
  TfMain& w = Start();
  MakeBlankMap(12, 9, Downs);
  w.CurrentProject().Descriptions.Entry(14).Text = "Gard";
  w.CurrentProject().Descriptions.Entry(14).Domain = 3;
  w.CurrentProject().Domains.Slots[3] = {0x0000FF, "Realm"};
  prompts.files.push_back({File("p.mfp"), 1});
  PartOf<QAction>(w, "aSaveProject")->trigger();
  ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(";").toStdString();
  EXPECT_EQ(prompts.dialogs.back(), "Save Mireforge project file|Mireforge project file (*.mfp)|*.mfp|mfp");

  prompts.answers.push_back(Answer::No);
  PartOf<QAction>(w, "aNew")->trigger();
  w.setWindowTitle("Mireforge");
  prompts.files.push_back({File("p.mfp"), 1});
  PartOf<QAction>(w, "aLoadProject")->trigger();
  ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(";").toStdString();
  EXPECT_EQ(prompts.dialogs.back(), "Load Mireforge project file|Mireforge project file (*.mfp)|*.mfp|mfp");
  EXPECT_TRUE(w.MapPresent());
  EXPECT_EQ(w.StatusText(0), "12x9");
  EXPECT_EQ(w.StatusText(1), "Created from project");
  EXPECT_EQ(w.windowTitle(), "Mireforge - p.mfp");
  EXPECT_EQ(Terrain(3, 3), Downs);
  EXPECT_EQ(Item(2, 1).Text, "Gard");
  EXPECT_EQ(PartOf<DescriptionModel>(w, "descModel")->rowCount(), 108);
  EXPECT_EQ(PartOf<DomainModel>(w, "domainModel")->rowCount(), 1);
  EXPECT_EQ(PartOf<DomainModel>(w, "domainModel")->data(PartOf<DomainModel>(w, "domainModel")->index(0, 0), Qt::DisplayRole).toString(), "[3] Realm");
  EXPECT_TRUE(w.CurrentProject().ProjectSaved);
}

TEST_F(MainWindowTest, RefusedProjectVersionChangesNothing) {
  TfMain& w = Start();
  MakeBlankMap(7, 7);
  IniFile old;
  old.WriteString("Mireforge project file", "Version", "1.9");
  old.Save(File("old.mfp").toStdString());
  prompts.answers.push_back(Answer::No);
  prompts.files.push_back({File("old.mfp"), 1});
  PartOf<QAction>(w, "aLoadProject")->trigger();
  ASSERT_EQ(prompts.information.size(), 1);
  EXPECT_TRUE(prompts.information.front().startsWith("Wrong project version!"));
  EXPECT_TRUE(prompts.errors.isEmpty());
  EXPECT_EQ(w.CurrentProject().Map.Width, 7);
  EXPECT_TRUE(w.MapPresent());
  EXPECT_EQ(w.Prefs().projects.Entries().front(), File("old.mfp"));  // added before the read
}

TEST_F(MainWindowTest, MidnightMapAndPreviewImageCommands) {
  TfMain& w = Start();
  MakeBlankMap(8, 6, Forest);
  prompts.files.push_back({File("m.php"), 1});
  PartOf<QAction>(w, "aSaveMMU")->trigger();
  EXPECT_EQ(prompts.dialogs.back(), "Save Midnight/MU Map script file|Midnight/MU Map File (*.php)|*.php|php");
  // The PNG entry writes PNG whatever the name says.
  prompts.files.push_back({File("p.bmp"), 2});
  PartOf<QAction>(w, "aSavePreview")->trigger();
  ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(";").toStdString();
  QFile png(File("p.bmp"));
  ASSERT_TRUE(png.open(QIODevice::ReadOnly));
  EXPECT_TRUE(png.read(4).endsWith("PNG"));
  prompts.files.push_back({File("q.bmp"), 1});
  PartOf<QAction>(w, "aSavePreview")->trigger();
  EXPECT_EQ(prompts.dialogs.back(),
            "Save preview image|Windows bitmap (*.bmp)|*.bmp|PNG image (*.png)|*.png|bmp");

  w.CurrentProject().ProjectSaved = true;
  prompts.files.push_back({File("m.php"), 1});
  PartOf<QAction>(w, "aLoadMMU")->trigger();
  EXPECT_EQ(prompts.dialogs.back(),
            "Load Midnight/MU map script file|Midnight/MU map script file (*.php)|*.php|Tiled map (*.tmx; *.tmj)|*.tmx;*.tmj|"
            "CSV map (*.csv)|*.csv|All supported formats|*.php;*.tmx;*.tmj;*.csv|php");
  EXPECT_EQ(w.StatusText(1), "Created from file");
  EXPECT_EQ(Terrain(1, 1), Forest);
  EXPECT_EQ(Item(1, 1).Text, "forest");
  EXPECT_FALSE(w.CurrentProject().ProjectSaved);
  EXPECT_FALSE(w.UndoStack().canUndo());

  // A recent entry leaves ProjectSaved as it was (after the question).
  prompts.answers.push_back(Answer::No);
  w.CurrentProject().ProjectSaved = true;
  QAction* entry = nullptr;
  for (QAction* a : PartOf<QMenu>(w, "mRecent")->actions())
    if (a->text() == "&1 q.bmp") entry = a;
  ASSERT_NE(entry, nullptr);
  entry->trigger();
  ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(";").toStdString();
  EXPECT_TRUE(w.CurrentProject().ProjectSaved);
  EXPECT_EQ(w.CurrentProject().Map.Width, 8);
  EXPECT_EQ(Terrain(0, 0), FrozenWastes);
}

TEST_F(MainWindowTest, MapImageAndHtmlExports) {
  TfMain& w = Start();
  MakeBlankMap(5, 4, Mountains);
  PartOf<QAction>(w, "aShowGrid")->trigger();
  w.ChooseTileSize(6);
  prompts.files.push_back({File("map.png"), 2});
  PartOf<QAction>(w, "aSaveMap")->trigger();
  EXPECT_EQ(prompts.dialogs.back(), "Save map image|Windows bitmap (*.bmp)|*.bmp|PNG image (*.png)|*.png|bmp");
  const QImage image(File("map.png"));
  EXPECT_EQ(image.size(), QSize(5 * 9, 4 * 9));  // tile size 8 plus the grid line
  EXPECT_EQ(image.pixel(8, 0), qRgb(0, 0, 0));
  prompts.files.push_back({File("map.html"), 1});
  PartOf<QAction>(w, "aSaveHTML")->trigger();
  EXPECT_EQ(prompts.dialogs.back(), "Save HTML map file|HTML map File (*.html)|*.html|html");
  QFile html(File("map.html"));
  ASSERT_TRUE(html.open(QIODevice::ReadOnly));
  EXPECT_TRUE(html.readAll().contains("0.gif"));  // mountains
  EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(";").toStdString();
  EXPECT_FALSE(PartOf<TfInfo>(w, "fInfo")->isVisible());
}

TEST_F(MainWindowTest, FailedLoadShowsErrorAndKeepsMap) {
  TfMain& w = Start();
  MakeBlankMap(9, 9);
  w.CurrentProject().ProjectSaved = true;
  prompts.files.push_back({File("missing.php"), 1});
  PartOf<QAction>(w, "aLoadMMU")->trigger();
  ASSERT_EQ(prompts.errors.size(), 1);
  EXPECT_EQ(prompts.errors.front(), "Cannot open file " + File("missing.php"));
  EXPECT_EQ(w.CurrentProject().Map.Width, 9);
  EXPECT_EQ(w.Prefs().mmuMaps.Entries().front(), File("missing.php"));
  // The program goes on.
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(w.MapPresent());
}

TEST_F(MainWindowTest, ReplacingUnsavedMapAsksFirst) {
  TfMain& w = Start();
  MakeBlankMap(9, 9);
  prompts.answers.push_back(Answer::Cancel);
  PartOf<QAction>(w, "aLoadMMU")->trigger();
  EXPECT_EQ(prompts.questions.size(), 1);
  EXPECT_TRUE(prompts.dialogs.isEmpty());  // cancelled before the file dialog
  prompts.answers.push_back(Answer::Cancel);
  PartOf<QAction>(w, "aNewBlank")->trigger();
  EXPECT_EQ(prompts.questions.size(), 2);
  EXPECT_EQ(w.CurrentProject().Map.Width, 9);
}

TEST_F(MainWindowTest, OpenFileByExtension) {
  TfMain& w = Start();
  MapGrid grid;
  grid.ResizeMap(4, 3);
  grid.FillTerrain(Lake, true);
  WriteMidnightMap(File("lake.php").toStdString(), grid, false);
  EXPECT_TRUE(w.OpenFile(File("lake.php")));
  EXPECT_EQ(Terrain(0, 0), Lake);
  EXPECT_EQ(w.Prefs().mmuMaps.Entries().front(), File("lake.php"));
  w.CurrentProject().ProjectSaved = true;
  EXPECT_FALSE(w.OpenFile(File("notes.txt")));
}

// Cut and Paste have two shortcuts each; the Edit menu shows both.
TEST_F(MainWindowTest, EditMenuShowsEveryShortcutOfACommand) {
  Start();
  MakeBlankMap(10, 10);
  QApplication::setActiveWindow(window.get());
  QTest::keyClick(window.get(), Qt::Key_E, Qt::AltModifier);
  auto* edit = qobject_cast<ShortcutMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(edit, nullptr);
  QStringList shown;
  for (QAction* action : edit->actions())
    if (action->text() == "Cu&t" || action->text() == "&Paste") {
      shown << edit->ShownShortcuts(action);
      // Room for the whole text.
      EXPECT_GE(edit->actionGeometry(action).width(),
                edit->fontMetrics().horizontalAdvance("Paste" + edit->ShownShortcuts(action)));
    }
  EXPECT_EQ(shown, QStringList({"Ctrl+X, Shift+Del", "Ctrl+V, Shift+Ins"}));
  QTest::keyClick(edit, Qt::Key_Escape);
}

// Only a save that wrote its file enters the recent list.
TEST_F(MainWindowTest, ARefusedSaveStaysOutOfTheRecentList) {
  Start();
  MakeBlankMap(10, 8);
  const auto recent = [&] {
    QStringList texts;
    for (QAction* a : PartOf<QMenu>(*window, "mRecent")->actions()) texts << a->text();
    return texts.join('|');
  };
  prompts.files.push_back({File("good.bmp"), 1});
  PartOf<QAction>(*window, "aSavePreview")->trigger();
  prompts.files.push_back({File("no such folder/bad.bmp"), 1});
  PartOf<QAction>(*window, "aSavePreview")->trigger();
  prompts.files.push_back({File("no such folder/bad.mfp"), 1});
  PartOf<QAction>(*window, "aSaveProject")->trigger();
  prompts.files.push_back({File("no such folder/bad.php"), 1});
  PartOf<QAction>(*window, "aSaveMMU")->trigger();
  EXPECT_EQ(prompts.errors.size(), 3);
  EXPECT_FALSE(recent().contains("bad")) << recent().toStdString();
  EXPECT_TRUE(recent().contains("&1 good.bmp")) << recent().toStdString();
}

}  // namespace
}  // namespace mireforge::testing
