// Finding one's way in a big map: the overview, "Go to cell", "Find and
// replace", the history window and the live statistics, driven by real input.
#include <QTableView>
#include <QAction>
#include <QCheckBox>
#include <QDockWidget>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <QUndoView>

#include "app/main_window/window_parts.h"
#include "app/panels/description_model.h"
#include "app/navigation/find_replace_dialog.h"
#include "app/navigation/go_to_cell_dialog.h"
#include "app/panels/live_statistics.h"
#include "app/navigation/overview_map.h"
#include "app/dialogs/small_forms.h"
#include "app/dialogs/statistics_dialogs.h"
#include "app/grid/tile_images.h"
#include "app/app_test_support.h"
#include "formats/preview_image.h"

namespace mireforge::testing {
namespace {

QRgb Preview(int code) { return ColorFromBgr(static_cast<std::int32_t>(PreviewPalette[code])).rgb(); }

// Collects the rectangles a widget repaints.
class PaintRecorder : public QObject {
 public:
  explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted |= static_cast<QPaintEvent*>(event)->region();
    return false;
  }
  QRegion painted;
};

class NavigationTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Start();
    MakeBlankMap(120, 100, Plains);
    QApplication::processEvents();
  }

  void OverviewMouse(QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, PartOf<OverviewMap>(*window, "overview")->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(PartOf<OverviewMap>(*window, "overview"), &event);
  }
  QPointF OverviewPoint(int column, int row) const {
    return PartOf<OverviewMap>(*window, "overview")->CellsRect(QRect(column, row, 1, 1)).center();
  }
  QRect GridArea() const {
    const MapGridView* grid = PartOf<MapGridView>(*window, "DG");
    return QRect(grid->LeftColumn(), grid->TopRow(), grid->VisibleColumns(), grid->VisibleRows()) &
           QRect(0, 0, 120, 100);
  }
  void PaintForest(const std::vector<QPoint>& cells) {
    window->ChooseTerrain(Forest);
    if (!PartOf<QAction>(*window, "aPaint")->isChecked()) PartOf<QAction>(*window, "aPaint")->trigger();
    Stroke(cells);
  }
  QString StatText(int code, int column) const { return PartOf<LiveStatistics>(*window, "liveStats")->StatsVT->topLevelItem(code)->text(column); }
  // Ctrl+key to the grid, as a person types it into the main window.
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(PartOf<MapGridView>(*window, "DG"), key, modifiers);
  }
};

TEST_F(NavigationTest, OverviewRepaintsOnlyThePaintedCells) {
  OverviewMap* overview = PartOf<OverviewMap>(*window, "overview");
  ASSERT_TRUE(overview->isVisible());
  EXPECT_EQ(overview->MapPicture().size(), QSize(120, 100));
  EXPECT_EQ(overview->MapPicture().pixel(5, 5), Preview(Plains));
  EXPECT_EQ(overview->MapPicture().pixel(0, 5), Preview(FrozenWastes));
  EXPECT_EQ(overview->VisibleArea(), GridArea());

  PaintRecorder recorder(overview);
  QApplication::processEvents();
  recorder.painted = QRegion();
  PaintForest({{2, 2}, {3, 2}});
  QApplication::processEvents();
  EXPECT_EQ(overview->MapPicture().pixel(2, 2), Preview(Forest));
  EXPECT_EQ(overview->MapPicture().pixel(3, 2), Preview(Forest));
  EXPECT_EQ(overview->MapPicture().pixel(4, 2), Preview(Plains));
  // The two squares were repainted, not the map.
  const QRect cells = overview->CellsRect(QRect(2, 2, 2, 1)).toAlignedRect();
  ASSERT_FALSE(recorder.painted.isEmpty());
  EXPECT_TRUE(cells.adjusted(-1, -1, 1, 1).contains(recorder.painted.boundingRect()))
      << recorder.painted.boundingRect().width() << "x" << recorder.painted.boundingRect().height();
  const QImage shown = overview->grab().toImage();
  const QPointF centre = OverviewPoint(2, 2) * shown.devicePixelRatio();
  EXPECT_EQ(shown.pixel(centre.toPoint()) | 0xFF000000u, Preview(Forest));

  // Undo comes back the same way; a Fill rebuilds the whole picture.
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(overview->MapPicture().pixel(2, 2), Preview(Plains));
  OnModal<TfFill>([](TfFill* d) {
    ChooseItem(d->cbTerrain, Lake);
    ClickButton(d, "OK");
  });
  PartOf<QAction>(*window, "aFill")->trigger();
  EXPECT_EQ(overview->MapPicture().pixel(60, 50), Preview(Lake));
}

TEST_F(NavigationTest, ClickAndDragInOverviewMoveTheGrid) {
  OverviewMap* overview = PartOf<OverviewMap>(*window, "overview");
  const int columns = PartOf<MapGridView>(*window, "DG")->VisibleColumns(), rows = PartOf<MapGridView>(*window, "DG")->VisibleRows();
  OverviewMouse(QEvent::MouseButtonPress, OverviewPoint(60, 50), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->LeftColumn(), 60 - columns / 2);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->TopRow(), 50 - rows / 2);
  EXPECT_EQ(overview->VisibleArea(), GridArea());
  OverviewMouse(QEvent::MouseMove, OverviewPoint(70, 40), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->LeftColumn(), 70 - columns / 2);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->TopRow(), 40 - rows / 2);
  // Dragged beyond the widget's top left corner: the grid goes to the map's corner.
  OverviewMouse(QEvent::MouseMove, QPointF(-40, -30), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->LeftColumn(), 0);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->TopRow(), 0);
  OverviewMouse(QEvent::MouseButtonRelease, QPointF(-40, -30), Qt::LeftButton, Qt::NoButton);
  // Moving without the button changes nothing.
  OverviewMouse(QEvent::MouseMove, OverviewPoint(60, 50), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->LeftColumn(), 0);
  EXPECT_EQ(overview->VisibleArea(), GridArea());
  // The grid's current cell stays where it was.
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentColumn(), 0);
}

// A 512 x 512 map fits whole into the overview at the window's size: nothing to scroll to.
TEST_F(NavigationTest, TheWholeOfABigMapFitsIntoTheOverview) {
  prompts.answers.push_back(Answer::No);
  MakeBlankMap(512, 512, Plains);
  QApplication::processEvents();
  auto* scroll = qobject_cast<QScrollArea*>(PartOf<QDockWidget>(*window, "twOverview")->widget());
  ASSERT_NE(scroll, nullptr);
  EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0);
  OverviewMap* overview = PartOf<OverviewMap>(*window, "overview");
  const QRectF whole = overview->CellsRect(QRect(0, 0, 512, 512));
  EXPECT_LE(whole.right(), overview->width() + 0.01);
  EXPECT_LE(whole.bottom(), overview->height() + 0.01);
  EXPECT_GE(std::max(whole.width(), whole.height()), std::min(overview->width(), overview->height()) - 1.0);
  // The far corner is one click away.
  QTest::mouseClick(overview, Qt::LeftButton, {}, OverviewPoint(500, 505).toPoint());
  const MapGridView* grid = PartOf<MapGridView>(*window, "DG");
  const QRect shown(grid->LeftColumn(), grid->TopRow(), grid->VisibleColumns(), grid->VisibleRows());
  EXPECT_TRUE(shown.contains(QPoint(500, 505)));
  EXPECT_EQ(overview->VisibleArea(), shown & QRect(0, 0, 512, 512));
}

TEST_F(NavigationTest, CtrlWheelOverTheGridKeepsTheCellUnderThePointer) {
  PartOf<MapGridView>(*window, "DG")->CentreOn(60, 50);
  QWidget* viewport = PartOf<MapGridView>(*window, "DG")->viewport();
  const auto wheel = [&](QPoint pos, int delta) {
    QWheelEvent event(pos, viewport->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
  };
  const QPoint pointer = CellCentre(66, 55);
  for (const int delta : {-120, -120, -120, 120, 120}) {
    const int size = window->TileSize();
    wheel(pointer, delta);
    EXPECT_NE(window->TileSize(), size);
    int column = -1, row = -1;
    EXPECT_TRUE(PartOf<MapGridView>(*window, "DG")->CellAt(pointer, &column, &row));
    EXPECT_EQ(QPoint(column, row), QPoint(66, 55)) << "tile size " << window->TileSize();
  }
}

TEST_F(NavigationTest, CtrlWheelInOverviewZoomsAroundTheMiddle) {
  OverviewMap* overview = PartOf<OverviewMap>(*window, "overview");
  OverviewMouse(QEvent::MouseButtonPress, OverviewPoint(60, 50), Qt::LeftButton, Qt::LeftButton);
  OverviewMouse(QEvent::MouseButtonRelease, OverviewPoint(60, 50), Qt::LeftButton, Qt::NoButton);
  const QPoint middle = GridArea().center();
  const auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
    const QPointF pos = OverviewPoint(10, 10);
    QWheelEvent event(pos, overview->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(overview, &event);
  };
  wheel(-120, Qt::ControlModifier);
  EXPECT_EQ(window->TileSize(), 24);
  wheel(-120, Qt::ControlModifier);
  EXPECT_EQ(window->TileSize(), 20);
  EXPECT_NEAR(GridArea().center().x(), middle.x(), 1);
  EXPECT_NEAR(GridArea().center().y(), middle.y(), 1);
  EXPECT_EQ(overview->VisibleArea(), GridArea());
  wheel(120, Qt::ControlModifier);
  EXPECT_EQ(window->TileSize(), 24);
  wheel(120, Qt::NoModifier);  // a plain wheel scrolls, it does not zoom
  EXPECT_EQ(window->TileSize(), 24);
}

TEST_F(NavigationTest, ToolWindowsToggleAndAreRemembered) {
  EXPECT_TRUE(PartOf<QDockWidget>(*window, "twOverview")->isVisible());
  EXPECT_FALSE(PartOf<QDockWidget>(*window, "twHistory")->isVisible());
  EXPECT_FALSE(PartOf<QDockWidget>(*window, "twStatistics")->isVisible());
  PartOf<QAction>(*window, "aShowOverviewWindow")->trigger();
  PartOf<QAction>(*window, "aShowHistoryWindow")->trigger();
  EXPECT_FALSE(PartOf<QDockWidget>(*window, "twOverview")->isVisible());
  EXPECT_TRUE(PartOf<QDockWidget>(*window, "twHistory")->isVisible());
  window->CurrentProject().ProjectSaved = true;
  window->close();
  window.reset();
  QFile ini(iniPath);
  ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(ini.readAll());
  EXPECT_TRUE(text.contains("Show overview window=0")) << text.toStdString();
  EXPECT_TRUE(text.contains("Show history window=1"));
  EXPECT_TRUE(text.contains("Show statistics window=0"));
  Start();
  EXPECT_FALSE(PartOf<QDockWidget>(*window, "twOverview")->isVisible());
  EXPECT_TRUE(PartOf<QDockWidget>(*window, "twHistory")->isVisible());
  EXPECT_FALSE(PartOf<QDockWidget>(*window, "twStatistics")->isVisible());
}

TEST_F(NavigationTest, GoToCellTakesBothFormsAndExplainsBadInput) {
  bool shown = false;
  OnModal<TfGoToCell>([&](TfGoToCell* d) {
    shown = true;
    EXPECT_EQ(d->windowTitle(), "Go to cell");
    EXPECT_EQ(d->eCell->text(), "0, 0");
    QTest::keyClick(d->eCell, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(d->eCell, "abc");
    QTest::keyClick(d->eCell, Qt::Key_Return);
    EXPECT_TRUE(d->isVisible());  // stays open to be mended
    EXPECT_FALSE(d->lError->isHidden());
    EXPECT_EQ(d->lError->text(), "'abc' is not a cell position. Type column, row: \"12, 30\" or \"[12,30]\".");
    QCoreApplication::processEvents();
    // Both lines of the text are shown whole, inside the dialog.
    EXPECT_GE(d->lError->height(), d->lError->heightForWidth(d->lError->width()));
    EXPECT_TRUE(d->rect().contains(d->lError->geometry()));
    QTest::keyClick(d->eCell, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(d->eCell, "120, 3");
    QTest::keyClick(d->eCell, Qt::Key_Return);
    EXPECT_EQ(d->lError->text(), "Column 120 is outside the map (0 to 119).");
    QTest::keyClick(d->eCell, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(d->eCell, "[70,55]");
    QTest::keyClick(d->eCell, Qt::Key_Return);
  });
  Key(Qt::Key_J, Qt::ControlModifier);
  EXPECT_TRUE(shown);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentColumn(), 70);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentRow(), 55);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->LeftColumn(), 70 - PartOf<MapGridView>(*window, "DG")->VisibleColumns() / 2);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->TopRow(), 55 - PartOf<MapGridView>(*window, "DG")->VisibleRows() / 2);
  EXPECT_EQ(window->StatusText(4), "70");
  EXPECT_EQ(PartOf<DescriptionModel>(*window, "descModel")->index(55 * 120 + 70, 0), PartOf<QTableView>(*window, "DescVT")->currentIndex());

  // With rows first in the description panel, the dialog takes the row first too.
  OnModal<TfOptions>([](TfOptions* d) {
    Tick(d->cbInvertRowCol, true);
    ClickButton(d, "OK");
  });
  PartOf<QAction>(*window, "aOptions")->trigger();
  OnModal<TfGoToCell>([&](TfGoToCell* d) {
    EXPECT_EQ(d->eCell->text(), "55, 70");
    QTest::keyClick(d->eCell, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(d->eCell, "30 , 40");
    QTest::keyClick(d->eCell, Qt::Key_Return);
  });
  Key(Qt::Key_J, Qt::ControlModifier);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentColumn(), 40);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentRow(), 30);
  // Escape changes nothing.
  OnModal<TfGoToCell>([&](TfGoToCell* d) {
    QTest::keyClicks(d->eCell, "1, 1");
    QTest::keyClick(d->eCell, Qt::Key_Escape);
  });
  Key(Qt::Key_J, Qt::ControlModifier);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentColumn(), 40);
}

TEST(GoToCell, ParsesPositions) {
  struct Case {
    const char* text;
    bool rowFirst, ok;
    QPoint cell;
  } cases[] = {
      {"12, 30", false, true, {12, 30}}, {"[12,30]", false, true, {12, 30}}, {" [ 12 , 30 ] ", false, true, {12, 30}},
      {"12 30", false, true, {12, 30}},  {"12, 30", true, true, {30, 12}},   {"[12,30", false, false, {}},
      {"12,30]", false, false, {}},      {"12", false, false, {}},           {"-1, 3", false, false, {}},
      {"3, 40", false, false, {}},       {"0, 39", false, true, {0, 39}},    {"1,2,3", false, false, {}},
      {"99999999999, 1", false, false, {}},
  };
  for (const Case& c : cases) {
    const CellParse parse = ParseCellPosition(c.text, c.rowFirst, 50, 40);
    EXPECT_EQ(parse.ok, c.ok) << c.text;
    if (c.ok) EXPECT_EQ(parse.cell, c.cell) << c.text;
    else EXPECT_FALSE(parse.error.isEmpty()) << c.text;
  }
  EXPECT_EQ(ParseCellPosition("3, 40", false, 50, 40).error, "Row 40 is outside the map (0 to 39).");
}

class FindReplaceTest : public NavigationTest {
 protected:
  void SetUp() override {
    NavigationTest::SetUp();
    Item(5, 5).Text = "Old Forest road";
    Item(20, 10).Text = "forest";
    Item(30, 40).Text = "Forestry";
    window->CurrentProject().Domains.Slots[3] = {0x00FF00, "Forest folk"};
    window->RebuildDomainPanel();
    find = PartOf<TfFindReplace>(*window, "fFind");
    // F3 before anything was typed opens the dialog, as Ctrl+Shift+F does.
    Key(Qt::Key_F3, Qt::NoModifier);
    EXPECT_TRUE(find->isVisible());
    find->hide();
    Key(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QApplication::setActiveWindow(find);
    QTest::keyClicks(find->eFind, "forest");
  }
  // A click on the box itself: the widget may be wider than its box and text.
  static void Tick(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
  }
  QPoint Current() const { return {PartOf<MapGridView>(*window, "DG")->CurrentColumn(), PartOf<MapGridView>(*window, "DG")->CurrentRow()}; }
  void F3(Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(find->eFind, Qt::Key_F3, modifiers); }

  TfFindReplace* find = nullptr;
};

TEST_F(FindReplaceTest, StepsThroughMatchesBothWays) {
  ASSERT_TRUE(find->isVisible());
  EXPECT_EQ(find->windowTitle(), "Find and replace");
  QTest::mouseClick(find->bFindNext, Qt::LeftButton);
  EXPECT_EQ(Current(), QPoint(5, 5));
  EXPECT_EQ(PartOf<QTableView>(*window, "DescVT")->currentIndex().row(), 5 * 120 + 5);
  F3();
  EXPECT_EQ(Current(), QPoint(20, 10));
  F3();
  EXPECT_EQ(Current(), QPoint(30, 40));
  F3();  // the domain's name
  EXPECT_EQ(window->ActiveDomain(), 3);
  EXPECT_EQ(find->lStatus->text(), "Found: domain [3] Forest folk");
  F3();  // round to the first again
  EXPECT_EQ(Current(), QPoint(5, 5));
  F3(Qt::ShiftModifier);
  EXPECT_EQ(window->ActiveDomain(), 3);
  F3(Qt::ShiftModifier);
  EXPECT_EQ(Current(), QPoint(30, 40));

  // From the current cell on, now without "Forestry".
  Tick(find->cbWholeWords);
  F3();
  EXPECT_EQ(find->lStatus->text(), "Found: domain [3] Forest folk");
  F3();
  EXPECT_EQ(Current(), QPoint(5, 5));
  F3();
  EXPECT_EQ(Current(), QPoint(20, 10));
  F3();
  EXPECT_EQ(find->lStatus->text(), "Found: domain [3] Forest folk");
  Tick(find->cbMatchCase);
  F3();
  EXPECT_EQ(Current(), QPoint(20, 10));
  F3();
  EXPECT_EQ(Current(), QPoint(20, 10));  // the only one
  Tick(find->cbDescriptions);
  F3();
  EXPECT_EQ(find->lStatus->text(), "\"forest\" was not found.");

  // F3 works from the main window too.
  Tick(find->cbDescriptions);
  QApplication::setActiveWindow(window.get());
  PartOf<MapGridView>(*window, "DG")->SetCurrentCell(0, 0);
  Key(Qt::Key_F3, Qt::NoModifier);
  EXPECT_EQ(Current(), QPoint(20, 10));
}

TEST_F(FindReplaceTest, ResultsListGoesToTheChosenCell) {
  QTest::mouseClick(find->bFindAll, Qt::LeftButton);
  ASSERT_EQ(find->results->rowCount(), 4);
  EXPECT_EQ(find->lStatus->text(), "4 matches.");
  const QModelIndex second = find->results->index(1, 0);
  EXPECT_EQ(find->results->data(second, Qt::DisplayRole).toString(), "[20,10]");
  EXPECT_EQ(find->results->data(find->results->index(2, 1), Qt::DisplayRole).toString(), "Forestry");
  EXPECT_EQ(find->results->data(find->results->index(3, 0), Qt::DisplayRole).toString(), "Domain");
  QTest::mouseClick(find->ResultsVT->viewport(), Qt::LeftButton, {}, find->ResultsVT->visualRect(second).center());
  EXPECT_EQ(Current(), QPoint(20, 10));
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->LeftColumn(), 20 - PartOf<MapGridView>(*window, "DG")->VisibleColumns() / 2);
  QTest::keyClick(find->ResultsVT, Qt::Key_Down);
  EXPECT_EQ(Current(), QPoint(30, 40));
  // The first F3 after landing on a match moves on from it.
  F3();
  EXPECT_EQ(find->lStatus->text(), "Found: domain [3] Forest folk");
}

// A match under the dialog is scrolled beside it, not left hidden in the middle.
TEST_F(FindReplaceTest, FoundCellStaysInSightBesideTheDialog) {
  Item(60, 50).Text = "deep forest";
  QWidget* viewport = PartOf<MapGridView>(*window, "DG")->viewport();
  const QRect grid(viewport->mapToGlobal(QPoint(0, 0)), viewport->size());
  find->resize(grid.width() / 3, grid.height() / 2);
  find->move(grid.center() - QPoint(find->frameGeometry().width() / 2, find->frameGeometry().height() / 2));
  QTest::keyClick(find->eFind, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(find->eFind, "deep");
  QTest::mouseClick(find->bFindNext, Qt::LeftButton);
  ASSERT_EQ(Current(), QPoint(60, 50));
  const QRect cell(viewport->mapToGlobal(PartOf<MapGridView>(*window, "DG")->CellRect(60, 50).topLeft()), PartOf<MapGridView>(*window, "DG")->CellRect(60, 50).size());
  EXPECT_TRUE(grid.contains(cell));
  EXPECT_FALSE(find->frameGeometry().intersects(cell));
}

// Letters as a keyboard layout with them sends them: a key event carrying the text.
void TypeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Without Match case the case of every letter is ignored, in descriptions and domain names alike.
TEST_F(FindReplaceTest, CaseIsIgnoredInEveryLanguage) {
  Item(7, 7).Text = "\xC3\x9B" "mbar Gate";
  window->CurrentProject().Domains.Slots[4] = {0xFF0000, "K\xC3\x96LN gate"};
  window->RebuildDomainPanel();
  QTest::keyClick(find->eFind, Qt::Key_A, Qt::ControlModifier);
  TypeText(find->eFind, QString::fromUtf8("\xC3\xBB" "mbar"));
  QTest::mouseClick(find->bFindNext, Qt::LeftButton);
  EXPECT_EQ(Current(), QPoint(7, 7));
  QTest::keyClick(find->eFind, Qt::Key_A, Qt::ControlModifier);
  TypeText(find->eFind, QString::fromUtf8("k\xC3\xB6ln"));
  QTest::keyClicks(find->eReplace, "Cologne");
  QTest::mouseClick(find->bReplaceAll, Qt::LeftButton);
  EXPECT_EQ(window->CurrentProject().Domains.Name(4), "Cologne gate");
}

TEST_F(FindReplaceTest, ReplaceAllIsOneUndoStep) {
  const int steps = window->UndoStack().count();
  QTest::keyClicks(find->eReplace, "wood");
  QTest::mouseClick(find->bReplaceAll, Qt::LeftButton);
  EXPECT_EQ(Item(5, 5).Text, "Old wood road");
  EXPECT_EQ(Item(20, 10).Text, "wood");
  EXPECT_EQ(Item(30, 40).Text, "woodry");
  EXPECT_EQ(window->CurrentProject().Domains.Name(3), "wood folk");
  EXPECT_EQ(find->lStatus->text(), "Replaced 4 times in 4 places.");
  EXPECT_EQ(window->UndoStack().count(), steps + 1);
  EXPECT_EQ(window->UndoStack().text(steps), "Replace all (4 places)");
  EXPECT_FALSE(window->CurrentProject().ProjectSaved);
  EXPECT_EQ(PartOf<DescriptionModel>(*window, "descModel")->data(PartOf<DescriptionModel>(*window, "descModel")->index(10 * 120 + 20, 2), Qt::DisplayRole).toString(), "wood");
  QApplication::setActiveWindow(window.get());
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Item(5, 5).Text, "Old Forest road");
  EXPECT_EQ(Item(30, 40).Text, "Forestry");
  EXPECT_EQ(window->CurrentProject().Domains.Name(3), "Forest folk");
  // A domain's whole name is not replaced by nothing, which would drop the domain.
  QApplication::setActiveWindow(find);
  QTest::keyClick(find->eFind, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(find->eFind, "Forest folk");
  QTest::keyClick(find->eReplace, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(find->eReplace, Qt::Key_Delete);
  QTest::mouseClick(find->bReplaceAll, Qt::LeftButton);
  EXPECT_EQ(window->CurrentProject().Domains.Name(3), "Forest folk");
  EXPECT_EQ(find->lStatus->text(), "Nothing to replace.");
  QTest::keyClick(find->eFind, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(find->eFind, "forest");
  QTest::keyClicks(find->eReplace, "wood");
  // Replace changes the entry found, then finds the next one.
  QApplication::setActiveWindow(find);
  Tick(find->cbMatchCase);
  QTest::mouseClick(find->bReplace, Qt::LeftButton);  // finds the first
  EXPECT_EQ(Current(), QPoint(20, 10));
  QTest::mouseClick(find->bReplace, Qt::LeftButton);
  EXPECT_EQ(Item(20, 10).Text, "wood");
  EXPECT_EQ(Item(5, 5).Text, "Old Forest road");
  EXPECT_EQ(window->UndoStack().text(window->UndoStack().index() - 1), "Replace");
}

TEST_F(NavigationTest, HistoryNamesStepsAndGoesBackOnAClick) {
  PartOf<QAction>(*window, "aShowHistoryWindow")->trigger();
  QApplication::processEvents();
  PaintForest({{2, 2}, {3, 2}, {4, 2}});
  OnModal<TfFill>([](TfFill* d) {
    ChooseItem(d->cbTerrain, Lake);
    ClickButton(d, "OK");
  });
  PartOf<QAction>(*window, "aFill")->trigger();
  QAbstractItemModel* model = PartOf<QUndoView>(*window, "HistoryVT")->model();
  ASSERT_EQ(model->rowCount(), 4);
  EXPECT_EQ(model->index(0, 0).data().toString(), "Start");
  EXPECT_EQ(model->index(1, 0).data().toString(), "Create blank map");
  EXPECT_EQ(model->index(2, 0).data().toString(), "Paint terrain (3 cells)");
  EXPECT_EQ(model->index(3, 0).data().toString(), "Fill");
  const auto click = [&](int row) {
    QTest::mouseClick(PartOf<QUndoView>(*window, "HistoryVT")->viewport(), Qt::LeftButton, {},
                      PartOf<QUndoView>(*window, "HistoryVT")->visualRect(model->index(row, 0)).center());
  };
  click(2);  // back to just after the painting
  EXPECT_EQ(Terrain(3, 2), Forest);
  EXPECT_EQ(Terrain(6, 6), Plains);
  click(1);
  EXPECT_EQ(Terrain(3, 2), Plains);
  click(3);  // and forward again
  EXPECT_EQ(Terrain(6, 6), Lake);
}

TEST_F(NavigationTest, LiveStatisticsFollowThePainting) {
  PartOf<QAction>(*window, "aShowStatisticsWindow")->trigger();
  LiveStatistics* stats = PartOf<LiveStatistics>(*window, "liveStats");
  const int border = 2 * 120 + 2 * 98;
  EXPECT_EQ(StatText(Plains, 1), QString::number(12000 - border));
  EXPECT_EQ(StatText(FrozenWastes, 1), QString::number(border));
  EXPECT_EQ(StatText(Forest, 1), "0");
  EXPECT_EQ(stats->lTotal->text(), "Total: 12000");
  PaintForest({{2, 2}, {3, 2}, {4, 2}, {3, 2}});
  EXPECT_EQ(StatText(Forest, 1), "3");
  EXPECT_EQ(StatText(Forest, 2), FormatShare(3, 12000));
  EXPECT_EQ(StatText(Plains, 1), QString::number(12000 - border - 3));
  window->ChooseTerrain(Lake);
  Stroke({{3, 2}, {3, 3}});  // over a forest cell and a plains cell
  EXPECT_EQ(StatText(Forest, 1), "2");
  EXPECT_EQ(StatText(Lake, 1), "2");
  EXPECT_EQ(stats->Counts(), CountTerrain(window->CurrentProject().Map));
  Key(Qt::Key_Z, Qt::ControlModifier);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(StatText(Forest, 1), "0");
  EXPECT_EQ(StatText(Lake, 1), "0");
  // A new map is counted as a whole.
  prompts.answers.push_back(Answer::No);
  MakeBlankMap(10, 8, Keep);
  EXPECT_EQ(StatText(Keep, 1), "48");
  EXPECT_EQ(stats->lTotal->text(), "Total: 80");
}

}  // namespace
}  // namespace mireforge::testing
