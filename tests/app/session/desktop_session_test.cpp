// Keys the user sets, the window layout and the session options, through the
// preferences dialog and a restart of the window.
#include <QComboBox>
#include <QDockWidget>
#include <QKeySequenceEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "app/main_window/window_parts.h"
#include "app/app_test_support.h"
#include "app/real_input.h"
#include "app/dialogs/keyboard_page.h"
#include "app/dialogs/small_forms.h"
#include "app/dialogs/terrain_dialogs.h"
#include "app/session/desktop_session.h"
#include "app/tools/map_tools.h"
#include "base/file_io.h"
#include "base/ini_file.h"
#include "base/error.h"

namespace mireforge::testing {
namespace {

void ClickCommand(KeyboardPage* page, const QString& id) {
  const QList<QTreeWidgetItem*> found = page->CommandVT->findItems(id, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << id.toStdString();
  page->CommandVT->scrollToItem(found.front());
  QTest::mouseClick(page->CommandVT->viewport(), Qt::LeftButton, {},
                    page->CommandVT->visualItemRect(found.front()).center());
  ASSERT_EQ(page->CommandVT->currentItem(), found.front());
}

// Runs steps on the preferences dialog's Keyboard page, then presses OK.
void OnKeyboardPage(std::function<void(KeyboardPage*)> steps) {
  OnModal<TfOptions>([steps](TfOptions* dialog) {
    ClickTab(dialog->tabs, "Keyboard");
    auto* page = dialog->findChild<KeyboardPage*>();
    EXPECT_EQ(dialog->tabs->currentWidget(), page);
    steps(page);
    ClickButton(dialog, "OK");
  });
}

// Ticks one box of the preferences' "Session" page with the mouse and presses OK.
void TickSessionOption(TfMain& window, QCheckBox* SessionPage::*box) {
  OnModal<TfOptions>([box](TfOptions* dialog) {
    ClickTab(dialog->tabs, "Session");
    QCheckBox* check = dialog->findChild<SessionPage*>()->*box;
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
    ClickButton(dialog, "OK");
  });
  PartOf<QAction>(window, "aOptions")->trigger();
}

using DesktopSessionTest = MainWindowTest;

TEST_F(DesktopSessionTest, AKeyPressedOnTheKeyboardPageRunsItsCommandAndComesBackAfterARestart) {
  TfMain& w = Start();
  MakeBlankMap(8, 8);
  QString conflict;
  OnKeyboardPage([&](KeyboardPage* page) {
    ClickCommand(page, "Fill");
    EXPECT_EQ(page->eKey->keySequence(), QKeySequence("Ctrl+F")) << "the default key";
    QTest::mouseClick(page->eKey, Qt::LeftButton);
    QTest::keyClick(page->eKey, Qt::Key_G, Qt::ControlModifier);  // Show Grid's key
    QTest::qWait(1200);  // the field takes a second for further keys of a sequence
    conflict = page->lConflict->text();
    EXPECT_EQ(page->CommandVT->currentItem()->text(2).toStdString(), "Show Grid");
    EXPECT_EQ(page->cbKeymap->currentText().toStdString(), "Custom");
    QTest::mouseClick(page->bClear, Qt::LeftButton);
    QTest::mouseClick(page->eKey, Qt::LeftButton);
    QTest::keyClick(page->eKey, Qt::Key_K, Qt::ControlModifier);
    QTest::mouseClick(page->CommandVT->viewport(), Qt::LeftButton, {},
                      page->CommandVT->visualItemRect(page->CommandVT->currentItem()).center());  // focus leaves: done
    EXPECT_EQ(page->CommandVT->currentItem()->text(2).toStdString(), "");
  });
  PartOf<QAction>(w, "aOptions")->trigger();
  EXPECT_EQ(conflict.toStdString(), "The key of \"Fill\" is also the key of: Show Grid");
  EXPECT_EQ(PartOf<QAction>(w, "aFill")->shortcut(), QKeySequence("Ctrl+K"));

  int fills = 0;
  auto pressAndCount = [&](Qt::Key key) {
    OnModal<TfFill>([&](TfFill* dialog) {
      ++fills;
      dialog->reject();
    });
    PressKey(&w, key, Qt::ControlModifier);
    QTest::qWait(50);
  };
  pressAndCount(Qt::Key_K);
  EXPECT_EQ(fills, 1);
  pressAndCount(Qt::Key_F);
  EXPECT_EQ(fills, 1) << "the old key no longer fills";

  w.CurrentProject().ProjectSaved = true;
  ASSERT_TRUE(w.close());
  window.reset();
  EXPECT_EQ(IniFile::Load(iniPath.toStdString(), AnyFileSize).ReadString("Keys", "Fill", ""), "Ctrl+K");
  TfMain& again = Start();
  EXPECT_EQ(PartOf<QAction>(again, "aFill")->shortcut(), QKeySequence("Ctrl+K"));
  EXPECT_EQ(PartOf<QAction>(again, "aShowGrid")->shortcut(), QKeySequence("Ctrl+G"));
}

TEST_F(DesktopSessionTest, CommonKeysTheKeymapFileAndReset) {
  TfMain& w = Start();
  const QString file = File("mine.keys");
  OnKeyboardPage([&](KeyboardPage* page) {
    page->cbKeymap->setFocus();
    QTest::keyClick(page->cbKeymap, Qt::Key_Down);  // "Common keys"
    EXPECT_EQ(page->cbKeymap->currentText().toStdString(), "Common keys");
    ClickCommand(page, "Save Mireforge project");
    EXPECT_EQ(page->eKey->keySequence(), QKeySequence("Ctrl+S"));
    page->Result().Export(file);
  });
  PartOf<QAction>(w, "aOptions")->trigger();
  EXPECT_EQ(PartOf<QAction>(w, "aSaveProject")->shortcut(), QKeySequence("Ctrl+S"));
  EXPECT_EQ(PartOf<QAction>(w, "aLoadProject")->shortcut(), QKeySequence("Ctrl+O"));
  EXPECT_EQ(PartOf<QAction>(w, "aUndo")->shortcut(), QKeySequence("Ctrl+Z"));
  EXPECT_EQ(PartOf<QAction>(w, "aCreate")->shortcut(), QKeySequence("Ctrl+N")) << "Create map moves off Ctrl+C";
  EXPECT_EQ(PartOf<MapTools>(w, "tools")->aCopy->shortcut(), QKeySequence("Ctrl+C"));
  const std::string exported = ReadWholeFile(file.toStdString());
  EXPECT_NE(exported.find("[Mireforge keymap]\r\n"), std::string::npos);
  EXPECT_NE(exported.find("Save Mireforge project=Ctrl+S\r\n"), std::string::npos);

  // Ctrl+O now loads a project, as in most programs: the open dialog comes.
  PressKey(&w, Qt::Key_O, Qt::ControlModifier);
  ASSERT_FALSE(prompts.dialogs.isEmpty());
  EXPECT_TRUE(prompts.dialogs.back().startsWith("Load Mireforge project")) << prompts.dialogs.back().toStdString();

  // Back to the defaults, then the exported file brings the common keys back.
  OnKeyboardPage([&](KeyboardPage* page) {
    QTest::mouseClick(page->bResetAll, Qt::LeftButton);
    EXPECT_EQ(page->cbKeymap->currentText().toStdString(), "Default keys");
    WriteWholeFile(File("not-a-keymap.keys").toStdString(), "[Something else]\r\n", "%s");
    EXPECT_THROW(Keymap::Import(File("not-a-keymap.keys"), SessionOf(*window)->DefaultKeys()), Error);
    EXPECT_TRUE(Keymap::Import(file, SessionOf(*window)->DefaultKeys()) == Keymap::CommonKeys(SessionOf(*window)->DefaultKeys()))
        << "the exported file brings the common keys back";
    page->cbKeymap->setFocus();
    QTest::keyClick(page->cbKeymap, Qt::Key_Down);
    EXPECT_EQ(page->cbKeymap->currentText().toStdString(), "Common keys");
    ClickCommand(page, "Create map");
    QTest::mouseClick(page->bReset, Qt::LeftButton);
    EXPECT_EQ(page->eKey->keySequence(), QKeySequence("Ctrl+C"));
    EXPECT_NE(page->lConflict->text().indexOf("Copy"), -1) << "Create map's default Ctrl+C and the common copy key clash";
  });
  PartOf<QAction>(w, "aOptions")->trigger();
  EXPECT_EQ(PartOf<QAction>(w, "aCreate")->shortcut(), QKeySequence("Ctrl+C"));
  EXPECT_EQ(PartOf<QAction>(w, "aSaveProject")->shortcut(), QKeySequence("Ctrl+S"));
}

TEST_F(DesktopSessionTest, GeometryDocksAndSessionOptionsComeBackAfterARestart) {
  TfMain& w = Start();
  PartOf<QAction>(w, "aFullscreen")->trigger();  // off, so the stored size counts
  w.resize(900, 640);
  QApplication::processEvents();
  // A double click on a dock's title floats it.
  QTest::mouseDClick(PartOf<QDockWidget>(w, "twTerrain"), Qt::LeftButton, {}, QPoint(PartOf<QDockWidget>(w, "twTerrain")->width() / 2, 6));
  ASSERT_TRUE(PartOf<QDockWidget>(w, "twTerrain")->isFloating());
  PartOf<QDockWidget>(w, "twDomains")->close();
  TickSessionOption(w, &SessionPage::cbReopenLastProject);
  ASSERT_TRUE(w.close());
  window.reset();

  window = std::make_unique<TfMain>(iniPath, prompts);
  window->ShowAtStart();
  QApplication::processEvents();
  EXPECT_EQ(window->size(), QSize(900, 640));
  EXPECT_TRUE(PartOf<QDockWidget>(*window, "twTerrain")->isFloating());
  EXPECT_TRUE(PartOf<QDockWidget>(*window, "twDomains")->isHidden());
  EXPECT_FALSE(PartOf<QDockWidget>(*window, "twDesc")->isHidden());
  const DesktopSession& session = *SessionOf(*window);
  EXPECT_TRUE(session.Options().reopenLastProject);
  QFile(File("last.mfp")).open(QIODevice::WriteOnly);
  EXPECT_EQ(session.ProjectToReopen({File("last.mfp"), File("older.mfp")}).toStdString(), File("last.mfp").toStdString());
  EXPECT_EQ(session.ProjectToReopen({File("gone.mfp")}).toStdString(), "");
}

TEST_F(DesktopSessionTest, SavingTheProjectRepeatsTheLastExportWhenAsked) {
  TfMain& w = Start();
  MakeBlankMap(5, 4);
  prompts.files.push_back({File("map.php"), 1});
  PartOf<QAction>(w, "aSaveMMU")->trigger();
  const std::string exported = ReadWholeFile(File("map.php").toStdString());
  QFile::remove(File("map.php"));
  prompts.files.push_back({File("first.mfp"), 1});
  PartOf<QAction>(w, "aSaveProject")->trigger();
  EXPECT_FALSE(QFile::exists(File("map.php"))) << "off by default";

  TickSessionOption(w, &SessionPage::cbRepeatExport);
  prompts.files.push_back({File("second.mfp"), 1});
  PartOf<QAction>(w, "aSaveProject")->trigger();
  ASSERT_TRUE(QFile::exists(File("second.mfp")));
  EXPECT_EQ(ReadWholeFile(File("map.php").toStdString()), exported) << "the same file, written again";
}

// The undo history keeps within the memory limit set on the Session page,
// dropping its oldest steps; wholesale steps share the map they have in common.
TEST_F(DesktopSessionTest, TheUndoHistoryKeepsWithinTheMemoryLimitOfThePreferences) {
  TfMain& w = Start();
  OnModal<TfOptions>([](TfOptions* dialog) {
    ClickTab(dialog->tabs, "Session");
    QSpinBox* memory = dialog->findChild<SessionPage*>()->eUndoMemory;
    EXPECT_EQ(memory->text(), "32 MB");
    memory->setFocus();
    QTest::keyClick(memory, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(memory, "2");
    ClickButton(dialog, "OK");
  });
  PressKey(&w, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(SessionOf(w)->Options().undoMegabytes, 2);

  constexpr int Side = 512, Fills = 14;
  const auto code = [](int fill) { return fill == 0 ? 0 : (fill - 1) % 8 + 1; };  // the terrain of each Fill
  MakeBlankMap(Side, Side, 0);
  for (int n = 1; n <= Fills; ++n) {
    OnModal<TfFill>([terrain = code(n)](TfFill* dialog) {
      dialog->cbTerrain->setFocus();
      QTest::keyClick(dialog->cbTerrain, Qt::Key_Home);
      for (int i = 0; i < terrain; ++i) QTest::keyClick(dialog->cbTerrain, Qt::Key_Down);
      ClickButton(dialog, "OK");
    });
    PressKey(&w, Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(Terrain(Side / 2, Side / 2), code(n));
  }
  MapDocument& document = w.Document();
  const int kept = document.UndoStack().count();
  EXPECT_GE(kept, 4);
  EXPECT_LT(kept, Fills) << "the oldest steps go";
  const std::size_t cells = std::size_t(Side) * Side;
  EXPECT_LE(document.HistoryBytes(), (std::size_t(2) << 20) + 3 * cells) << "within the limit but for the newest step";
  EXPECT_LE(document.HistoryBytes(), (kept + 1) * cells + 64 * 1024) << "one copy of each map, not two per step";

  // Every step kept undoes to the map before it; the history ends there.
  for (int n = Fills; n > Fills - kept; --n) {
    ASSERT_TRUE(PartOf<QAction>(w, "aUndo")->isEnabled());
    PressKey(&w, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(Terrain(Side / 2, Side / 2), code(n - 1));
  }
  EXPECT_FALSE(PartOf<QAction>(w, "aUndo")->isEnabled());
  while (PartOf<QAction>(w, "aRedo")->isEnabled()) PressKey(&w, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Terrain(Side / 2, Side / 2), code(Fills));

  // The limit is kept for the next start.
  w.CurrentProject().ProjectSaved = true;
  ASSERT_TRUE(w.close());
  window.reset();
  Start();
  EXPECT_EQ(SessionOf(*window)->Options().undoMegabytes, 2);
}

}  // namespace
}  // namespace mireforge::testing
