// The document owns the open map and announces each change once; every view
// follows it. Each change is made as a person makes it, then every view is
// compared with the document.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

#include "app/app_test_support.h"
#include "app/dialogs/terrain_dialogs.h"
#include "app/grid/terrain_palette.h"
#include "app/document/map_document.h"
#include "app/real_input.h"
#include "app/views_agree.h"

namespace mireforge::testing {
namespace {

class DocumentTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Start();
  }

  MapDocument& Doc() { return window->Document(); }

  void ChooseTerrainOnPalette(int code) {
    const QList<QToolButton*> buttons = window->twPalette->findChildren<QToolButton*>();
    ASSERT_GT(buttons.size(), code);
    QTest::mouseClick(buttons[code], Qt::LeftButton);
  }

  // Chooses a terrain in the Fill dialog with the keyboard and clicks OK.
  void FillWith(int code) {
    OnModal<TfFill>([code](TfFill* dialog) {
      dialog->cbTerrain->setFocus();
      QTest::keyClick(dialog->cbTerrain, Qt::Key_Home);
      for (int i = 0; i < code; ++i) QTest::keyClick(dialog->cbTerrain, Qt::Key_Down);
      ClickButton(dialog, "OK");
    });
    PressKey(window.get(), Qt::Key_F, Qt::ControlModifier);
  }

  void ExpectViewsAgree(const std::string& step) { testing::ExpectViewsAgree(*window, step); }

  void UndoRedo(const std::string& step) {
    PressKey(window.get(), Qt::Key_Z, Qt::ControlModifier);
    ExpectViewsAgree(step + ", undone");
    PressKey(window.get(), Qt::Key_Y, Qt::ControlModifier);
    ExpectViewsAgree(step + ", redone");
  }
};

TEST_F(DocumentTest, EveryKindOfChangeReachesEveryView) {
  MakeBlankMap(40, 30, 0);
  window->ChooseTileSize(6);  // the whole map in view
  ExpectViewsAgree("blank map");

  ChooseTerrainOnPalette(Forest);
  PressKey(window.get(), Qt::Key_P, Qt::ControlModifier);  // paint terrain
  window->DG->SetCurrentCell(5, 5);
  Stroke({{5, 5}, {6, 5}, {7, 6}});
  ExpectViewsAgree("stroke");
  UndoRedo("stroke");

  FillWith(Lake);
  ExpectViewsAgree("Fill");
  UndoRedo("Fill");

  window->aFlipHorizontally->trigger();
  ExpectViewsAgree("flip");
  UndoRedo("flip");

  prompts.files.push_back({File("map.mfp"), 1});
  window->aSaveProject->trigger();
  ExpectViewsAgree("saved");
  EXPECT_TRUE(Doc().Saved());
  Stroke({{10, 10}, {11, 10}});
  EXPECT_EQ(Terrain(10, 10), Forest);
  EXPECT_FALSE(Doc().Saved());

  prompts.answers.push_back(Answer::No);
  prompts.files.push_back({File("map.mfp"), 1});
  window->aLoadProject->trigger();
  ExpectViewsAgree("project loaded");
  EXPECT_FALSE(Doc().Saved());  // a project load leaves the saved state as it was
  EXPECT_FALSE(Doc().UndoStack().canUndo());
}

TEST_F(DocumentTest, AStrokeNotifiesOncePerMoveAndNotOnRelease) {
  MakeBlankMap(40, 30, 0);
  ChooseTerrainOnPalette(Mountains);
  PressKey(window.get(), Qt::Key_P, Qt::ControlModifier);
  QSignalSpy cells(&Doc(), &MapDocument::CellsChanged);
  QSignalSpy replaced(&Doc(), &MapDocument::MapReplaced);
  Mouse(QEvent::MouseButtonPress, 5, 5, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(cells.count(), 1);
  Mouse(QEvent::MouseMove, 6, 5, Qt::NoButton, Qt::LeftButton);
  Mouse(QEvent::MouseMove, 7, 5, Qt::NoButton, Qt::LeftButton);
  Mouse(QEvent::MouseMove, 7, 5, Qt::NoButton, Qt::LeftButton);  // the same cell: nothing new
  EXPECT_EQ(cells.count(), 3);
  Mouse(QEvent::MouseButtonRelease, 7, 5, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(cells.count(), 3);
  EXPECT_EQ(replaced.count(), 0);
  EXPECT_EQ(Doc().UndoStack().undoText(), "Paint terrain (3 cells)");
  // Undo and redo announce the stroke's cells once each.
  PressKey(window.get(), Qt::Key_Z, Qt::ControlModifier);
  ASSERT_EQ(cells.count(), 4);
  EXPECT_EQ(cells.last().first().value<std::vector<std::uint32_t>>().size(), 3u);
  PressKey(window.get(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(cells.count(), 5);
}

}  // namespace
}  // namespace mireforge::testing
