// The status bar: every panel wide enough for what it shows, and the panels
// staying in place while menu and toolbar hints pass.
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "app/main_window/window_parts.h"
#include "app/layout/status_panel.h"
#include "app/app_test_support.h"
#include "app/real_input.h"
#include "formats/midnight_map.h"

namespace mireforge::testing {
namespace {

// The text is drawn whole inside the panel's frame, where the ellipsis painter draws it.
bool Fits(const StatusPanel* panel, const QString& text) {
  return panel->fontMetrics().horizontalAdvance(text) <= panel->contentsRect().width() - 4;
}

TEST_F(MainWindowTest, StatusPanelsAreWideEnoughForTheirTexts) {
  TfMain& w = Start();
  EXPECT_EQ(w.Panel(6)->toolTip(), "Color translation of selected cell");
  EXPECT_EQ(w.Panel(1)->toolTip(), "Creation method");
  EXPECT_TRUE(Fits(w.Panel(1), "none"));

  MakeBlankMap(MaxMapSize, MaxMapSize);
  QApplication::processEvents();
  EXPECT_EQ(w.StatusText(1), "Created as blank map");
  EXPECT_TRUE(Fits(w.Panel(1), w.StatusText(1)));
  EXPECT_EQ(w.StatusText(0), "512x512");
  EXPECT_TRUE(Fits(w.Panel(0), w.StatusText(0)));
  // The last cell, reached with the keyboard.
  PartOf<MapGridView>(w, "DG")->setFocus();
  PressKey(window.get(), Qt::Key_End, Qt::ControlModifier);
  for (int panel : {4, 5}) {
    SCOPED_TRACE(panel);
    EXPECT_EQ(w.StatusText(panel), "511");
    EXPECT_TRUE(Fits(w.Panel(panel), "511"));
  }
  for (const char* size : {"32x32", "24x24", "8x8"}) EXPECT_TRUE(Fits(w.Panel(2), size)) << size;

  MapGrid grid;
  grid.ResizeMap(4, 3);
  WriteMidnightMap(File("small.php").toStdString(), grid, false);
  w.CurrentProject().ProjectSaved = true;
  prompts.files.push_back({File("small.php"), 1});
  PressKey(window.get(), Qt::Key_M, Qt::ControlModifier);
  QApplication::processEvents();
  EXPECT_EQ(w.StatusText(1), "Created from file");
  EXPECT_TRUE(Fits(w.Panel(1), w.StatusText(1)));
  EXPECT_TRUE(Fits(w.Panel(1), "Created from project"));
}

TEST_F(MainWindowTest, HintsShowInTheDescriptionPanelAndLeaveThePanelsVisible) {
  TfMain& w = Start();
  MakeBlankMap(10, 8);
  QApplication::processEvents();
  const QString description = w.Panel(7)->Shown();
  ASSERT_EQ(description, "frozen wastes");  // the current cell, 0, 0

  // Hovering a toolbar button shows its hint; leaving it takes the hint away.
  auto* bar = w.findChild<QToolBar*>("MainToolbar");
  ASSERT_NE(bar, nullptr);
  QToolButton* fill = nullptr;
  for (QToolButton* button : bar->findChildren<QToolButton*>())
    if (button->defaultAction() == PartOf<QAction>(w, "aFill")) fill = button;
  ASSERT_NE(fill, nullptr);
  QTest::mouseMove(fill);
  QApplication::processEvents();
  EXPECT_EQ(w.statusBar()->currentMessage(), "Fill");
  EXPECT_EQ(w.Panel(7)->Shown(), "Fill");
  EXPECT_EQ(w.StatusText(7), description);
  ExpectPanelsInPlace(w);
  QTest::mouseMove(PartOf<MapGridView>(w, "DG")->viewport(), QPoint(40, 40));
  QApplication::processEvents();
  EXPECT_EQ(w.Panel(7)->Shown(), description);

  // A menu entry chosen with the keyboard shows its hint until the menu closes.
  QMenu* program = w.menuBar()->actions().front()->menu();
  QTest::mouseClick(w.menuBar(), Qt::LeftButton, {}, w.menuBar()->actionGeometry(w.menuBar()->actions().front()).center());
  QApplication::processEvents();
  ASSERT_TRUE(program->isVisible());
  QTest::keyClick(program, Qt::Key_Down);
  QApplication::processEvents();
  EXPECT_FALSE(w.Panel(7)->Message().isEmpty());
  EXPECT_EQ(w.Panel(7)->Shown(), program->activeAction()->statusTip());
  ExpectPanelsInPlace(w);
  QTest::keyClick(program, Qt::Key_Escape);
  QTest::keyClick(w.menuBar(), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_FALSE(program->isVisible());
  EXPECT_EQ(w.Panel(7)->Shown(), description) << "no hint stays behind";
}

// At 1600 px the selection and the tool's hint show whole, and a crop leaves no stale selection.
TEST_F(MainWindowTest, SelectionAndToolHintShowWholeAndFollowACrop) {
  TfMain& w = Start();
  w.resize(1600, 1200);
  MakeBlankMap(120, 100);
  QApplication::setActiveWindow(&w);
  QApplication::processEvents();  // the window laid out at its size before the pointer aims at cells
  QTest::keyClick(PartOf<MapGridView>(w, "DG"), Qt::Key_R);
  Mouse(QEvent::MouseButtonPress, 3, 4, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseMove, 14, 12, Qt::NoButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, 14, 12, Qt::LeftButton, Qt::NoButton);
  QApplication::processEvents();
  // The hint of a held paste comes and goes with each paste: it moves the panels
  // at the bar's end only, since laying out the whole window would cost more
  // than the paste.
  {
    auto* grid = PartOf<MapGridView>(w, "DG");
    QTest::keyClick(grid, Qt::Key_Insert, Qt::ControlModifier);
    QApplication::processEvents();
    const EventCounter windowLayouts(&w, QEvent::LayoutRequest);
    const QString before = w.findChild<StatusPanel*>("ToolHint")->text();
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_NE(w.findChild<StatusPanel*>("ToolHint")->text(), before);
    QTest::keyClick(grid, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(windowLayouts.count, 0);
  }
  const auto* selection = w.findChild<StatusPanel*>("SelectionSize");
  const auto* hint = w.findChild<StatusPanel*>("ToolHint");
  ASSERT_TRUE(selection && hint);
  EXPECT_EQ(selection->text(), "Selection: 108 cells (12 x 9)");
  EXPECT_TRUE(Fits(selection, selection->text())) << selection->width();
  EXPECT_TRUE(Fits(hint, hint->text())) << hint->width();
  for (QAction* action : PartOf<QMenu>(w, "mMap")->actions())
    if (action->text() == "Cr&op to selection") action->trigger();
  QApplication::processEvents();
  EXPECT_EQ(w.CurrentProject().Map.Width, 12);
  EXPECT_EQ(selection->text(), "");
  EXPECT_TRUE(Fits(hint, hint->text()));
}

}  // namespace
}  // namespace mireforge::testing
