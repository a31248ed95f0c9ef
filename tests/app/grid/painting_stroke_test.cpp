// Painting strokes driven by raw mouse events: a pointer held outside the
// grid paints nothing and scrolls nothing, and a fast stroke paints every
// cell its path crosses.
#include <QTableView>
#include <QAction>
#include <QDockWidget>
#include <QStatusBar>
#include <QTreeView>
#include <set>

#include "app/main_window/window_parts.h"
#include "app/app_test_support.h"

namespace mireforge::testing {
namespace {

class PaintingStrokeTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Start();
  }

  void Begin(int width, int height, int tileIndex) {
    MakeBlankMap(width, height, Plains);
    window->ChooseTileSize(tileIndex);
    window->ChooseTerrain(Forest);
    PartOf<QAction>(*window, "aPaint")->trigger();
    QApplication::processEvents();
  }

  // A mouse event at a point of the grid's viewport; with the button held
  // the grid keeps receiving moves wherever the pointer goes, so a point over
  // another widget arrives as a point outside the viewport.
  void At(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QWidget* viewport = PartOf<MapGridView>(*window, "DG")->viewport();
    QMouseEvent event(type, QPointF(pos), QPointF(viewport->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
  }
  void Press(QPoint pos) { At(QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton); }
  void MoveHeld(QPoint pos) { At(QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton); }
  void Release(QPoint pos) { At(QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton); }

  // A point of another widget in the grid viewport's coordinates.
  QPoint Over(QWidget* widget) {
    return PartOf<MapGridView>(*window, "DG")->viewport()->mapFrom(window.get(), widget->mapTo(window.get(), widget->rect().center()));
  }

  std::set<std::pair<int, int>> Painted() {
    std::set<std::pair<int, int>> cells;
    const MapGrid& map = window->CurrentProject().Map;
    for (int y = 0; y < map.Height; ++y)
      for (int x = 0; x < map.Width; ++x)
        if (map.GetTerrain(x, y) == Forest) cells.insert({x, y});
    return cells;
  }
};

TEST_F(PaintingStrokeTest, PointerOverOtherWidgetsPaintsNoCellAndKeepsView) {
  Begin(200, 150, 0);  // far bigger than the viewport
  const int left = PartOf<MapGridView>(*window, "DG")->LeftColumn(), top = PartOf<MapGridView>(*window, "DG")->TopRow();
  const QPoint start = CellCentre(3, 3);
  Press(start);
  const QPoint desc = Over(PartOf<QTableView>(*window, "DescVT"));
  const QPoint status = Over(window->statusBar());
  ASSERT_FALSE(PartOf<MapGridView>(*window, "DG")->viewport()->rect().contains(desc));
  ASSERT_FALSE(PartOf<MapGridView>(*window, "DG")->viewport()->rect().contains(status));
  MoveHeld(desc);
  MoveHeld(status);
  MoveHeld(QPoint(-40, start.y()));  // left of the grid, over the palette dock
  Release(status);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->LeftColumn(), left);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->TopRow(), top);
  const int visibleColumns = PartOf<MapGridView>(*window, "DG")->viewport()->width() / window->TileSize();
  const int visibleRows = PartOf<MapGridView>(*window, "DG")->viewport()->height() / window->TileSize();
  for (const auto& [x, y] : Painted()) {
    EXPECT_LE(x, left + visibleColumns) << x << "," << y;  // the partly shown column at most
    EXPECT_LE(y, top + visibleRows) << x << "," << y;
  }
  EXPECT_TRUE(Painted().count({3, 3}));
  // One stroke, one step.
  PartOf<QAction>(*window, "aUndo")->trigger();
  EXPECT_TRUE(Painted().empty());
}

TEST_F(PaintingStrokeTest, StrokeAtTheEdgeDoesNotScrollAndPaintsWhatThePointerCrosses) {
  Begin(512, 512, 6);  // tile size 8
  QWidget* viewport = PartOf<MapGridView>(*window, "DG")->viewport();
  const int row = 20;
  const int y = row * 8 + 4;
  const int startX = viewport->width() - 60;
  Press(QPoint(startX, y));
  // One pixel at a time up to the last pixel of the viewport, then beyond it.
  for (int x = startX + 1; x < viewport->width(); ++x) {
    MoveHeld(QPoint(x, y));
    ASSERT_EQ(PartOf<MapGridView>(*window, "DG")->LeftColumn(), 0) << x;
  }
  MoveHeld(QPoint(viewport->width() + 30, y));
  Release(QPoint(viewport->width() + 30, y));
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->LeftColumn(), 0);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->TopRow(), 0);
  std::set<std::pair<int, int>> expected;
  for (int x = startX / 8; x <= (viewport->width() - 1) / 8; ++x) expected.insert({x, row});
  EXPECT_EQ(Painted(), expected);
}

TEST_F(PaintingStrokeTest, OneFastMovePaintsEveryCellOnThePath) {
  window->resize(1400, 1000);
  Begin(66, 63, 6);  // the whole map in view at tile size 8
  ASSERT_GE(PartOf<MapGridView>(*window, "DG")->VisibleColumns(), 66);
  ASSERT_GE(PartOf<MapGridView>(*window, "DG")->VisibleRows(), 63);
  // A whole row in one move.
  Press(CellCentre(1, 5));
  MoveHeld(CellCentre(64, 5));
  Release(CellCentre(64, 5));
  std::set<std::pair<int, int>> expected;
  for (int x = 1; x <= 64; ++x) expected.insert({x, 5});
  EXPECT_EQ(Painted(), expected);
  PartOf<QAction>(*window, "aUndo")->trigger();

  // A diagonal leaves no gap: every cell is 4-connected to the next one.
  Press(CellCentre(2, 2));
  MoveHeld(CellCentre(40, 30));
  Release(CellCentre(40, 30));
  const auto painted = Painted();
  EXPECT_TRUE(painted.count({2, 2}));
  EXPECT_TRUE(painted.count({40, 30}));
  for (const auto& [x, y] : painted) {
    if (x == 40 && y == 30) continue;
    EXPECT_TRUE(painted.count({x + 1, y}) || painted.count({x, y + 1})) << x << "," << y;
  }
  EXPECT_EQ(painted.size(), 38u + 28u + 1u);  // a 4-connected walk, no extra cells
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentColumn(), 40);  // the current cell follows the pointer
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentRow(), 30);
}

}  // namespace
}  // namespace mireforge::testing
