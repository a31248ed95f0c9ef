// The document owns the open map and announces each change once; every view
// follows it. Each change is made as a person makes it, then every view is
// compared with the document.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSpinBox>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

#include "app/main_window/window_parts.h"
#include "app/actual_view/actual_view.h"
#include "app/app_test_support.h"
#include "app/dialogs/resize_map_dialog.h"
#include "app/dialogs/terrain_dialogs.h"
#include "app/grid/terrain_palette.h"
#include "app/document/map_document.h"
#include "app/real_input.h"
#include "app/views_agree.h"
#include "app/wizards/generation_wizard.h"
#include "app/wizards/property_grid.h"

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
    const QList<QToolButton*> buttons = PartOf<TerrainPalette>(*window, "twPalette")->findChildren<QToolButton*>();
    ASSERT_GT(buttons.size(), code);
    QTest::mouseClick(buttons[code], Qt::LeftButton);
  }

  // Chooses a terrain in the Fill dialog with the keyboard and clicks OK.
  void FillWith(int code) {
    OnModal<TfFill>([code](TfFill* dialog) {
      ChooseItem(dialog->cbTerrain, code);
      ClickButton(dialog, "OK");
    });
    PressKey(window.get(), Qt::Key_F, Qt::ControlModifier);
  }

  void ExpectViewsAgree(const std::string& step) { testing::ExpectViewsAgree(*window, step); }

  void UndoRedo(const std::string& step) {
    const std::vector<TerrainCode> done = Doc().CurrentProject().Map.Cells;
    const bool undoable = Doc().UndoStack().canUndo();
    PressKey(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Doc().CurrentProject().Map.Cells != done, undoable) << step;
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

  const auto key = [this](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(PartOf<MapGridView>(*window, "DG"), key, modifiers);
  };
  const auto click = [this](int column, int row) { Stroke({{column, row}}); };
  const struct {
    const char* name;
    std::function<void()> change;
    const char* step;  // the undo step it makes; none for a new history
  } changes[] = {
      {"stroke",
       [&] {
         key(Qt::Key_P, Qt::ControlModifier);  // paint terrain: the brush
         Stroke({{5, 5}, {6, 5}, {7, 6}});
       },
       "Paint terrain ("},
      {"bucket fill",
       [&] {
         ChooseTerrainOnPalette(Downs);
         key(Qt::Key_F);
         click(20, 20);
       },
       "Fill ("},
      {"paste",
       [&] {
         key(Qt::Key_R);
         Stroke({{4, 4}, {8, 7}});
         key(Qt::Key_Insert, Qt::ControlModifier);
         key(Qt::Key_V, Qt::ControlModifier);
         click(25, 20);
       },
       "Paste ("},
      {"flip", [&] { PartOf<QAction>(*window, "aFlipHorizontally")->trigger(); }, "Flip map horizontally"},
      {"Fill", [&] { FillWith(Lake); }, "Fill"},
      {"resize",
       [&] {
         OnModal<TfResizeMap>([](TfResizeMap* dialog) {
           TypeInto(dialog->eWidth, "44");
           TypeInto(dialog->eHeight, "33");
           QTest::mouseClick(dialog->buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
         });
         key(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
         ASSERT_EQ(Doc().CurrentProject().Map.Width, 44);
       },
       "Resize map"},
      {"another blank map",
       [&] {
         prompts.answers.push_back(Answer::No);  // the changed map is not saved
         MakeBlankMap(36, 28, 0);
         ASSERT_EQ(Doc().CurrentProject().Map.Width, 36);
       },
       "Create blank map"},
      {"generate",
       [&] {
         prompts.answers.push_back(Answer::No);
         OnModal<TfParams>([](TfParams* wizard) {
           wizard->IPlasma->SetValue("Map width", "30");
           wizard->IPlasma->SetValue("Map height", "20");
           for (int page = 0; page < 3; ++page) QTest::mouseClick(wizard->bNext, Qt::LeftButton);
         });
         key(Qt::Key_C, Qt::ControlModifier);
         ASSERT_EQ(Doc().CurrentProject().Map.Width, 30);
       },
       ""},
  };
  for (const auto& change : changes) {
    SCOPED_TRACE(change.name);
    const std::vector<TerrainCode> before = Doc().CurrentProject().Map.Cells;
    change.change();
    const std::vector<TerrainCode> after = Doc().CurrentProject().Map.Cells;
    EXPECT_NE(after, before);
    EXPECT_EQ(Doc().UndoStack().canUndo(), *change.step != 0);
    if (*change.step != 0) {
      EXPECT_TRUE(Doc().UndoStack().undoText().startsWith(change.step)) << Doc().UndoStack().undoText().toStdString();
    }
    ExpectViewsAgree(change.name);
    EXPECT_FALSE(Doc().Saved());
    UndoRedo(change.name);
    EXPECT_EQ(Doc().CurrentProject().Map.Cells, after);
  }

  prompts.files.push_back({File("map.mfp"), 1});
  PartOf<QAction>(*window, "aSaveProject")->trigger();
  ExpectViewsAgree("saved");
  EXPECT_TRUE(Doc().Saved());
  key(Qt::Key_P, Qt::ControlModifier);
  Stroke({{10, 10}, {11, 10}});
  EXPECT_EQ(Terrain(10, 10), Downs);
  EXPECT_FALSE(Doc().Saved());

  prompts.answers.push_back(Answer::No);
  prompts.files.push_back({File("map.mfp"), 1});
  PartOf<QAction>(*window, "aLoadProject")->trigger();
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
