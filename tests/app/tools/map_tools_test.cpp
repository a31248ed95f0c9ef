// The editing tools, driven as a person does: tool keys, clicks and drags on
// the grid, typed tool options, the real clipboard. Each test runs on a
// 66 x 63 and on a 512 x 512 map and compares every cell with what was expected.
#include <QTableView>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QUndoStack>
#include <set>

#include "app/main_window/window_parts.h"
#include "app/panels/description_model.h"
#include "app/tools/map_tools.h"
#include "app/app_test_support.h"
#include "formats/cell_block.h"

namespace mireforge::testing {
namespace {

struct Cell {
  int terrain;
  int domain;
  std::string text;
  bool operator==(const Cell&) const = default;
};

class MapToolsTest : public MainWindowTest, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Start();
    window->resize(1200, 900);
    const int side = GetParam();
    MakeBlankMap(side, side == 512 ? 512 : 63, Plains);
    window->ChooseTileSize(6);  // 8 x 8: a large part of the map in view
    // On the big map the tools work far from the origin.
    origin = side == 512 ? QPoint(400, 420) : QPoint(0, 0);
    PartOf<MapGridView>(*window, "DG")->SetLeftColumn(origin.x());
    PartOf<MapGridView>(*window, "DG")->SetTopRow(origin.y());
    QApplication::processEvents();
    ASSERT_EQ(PartOf<MapGridView>(*window, "DG")->LeftColumn(), origin.x());
    tools = PartOf<MapTools>(*window, "tools");
    // A few cells with their own description and domain, to see them travel or stay.
    Project& project = window->CurrentProject();
    project.Domains.Slots[5] = {0x00FF00, "Varenorn"};
    window->RebuildDomainPanel();
    for (int i = 0; i < 6; ++i) {
      TDescItem& item = Item(At(12 + i, 12));
      item.Text = "Tower of Dreams " + std::to_string(i);
      item.Domain = 5;
      window->CurrentProject().Map.Cells[At(12 + i, 12).x() + At(12 + i, 12).y() * project.Map.Width] = Keep;
    }
    project.Map.RebuildTerrainRows();
    before = Cells();
    base = window->UndoStack().count();
    // Tool keys are window shortcuts: they need the window active (the blank map's dialog was).
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_EQ(QApplication::activeWindow(), window.get());
  }

  QPoint At(int x, int y) const { return origin + QPoint(x, y); }
  TDescItem& Item(QPoint p) { return MainWindowTest::Item(p.x(), p.y()); }
  int Width() const { return window->CurrentProject().Map.Width; }
  int Height() const { return window->CurrentProject().Map.Height; }

  std::vector<Cell> Cells() {
    std::vector<Cell> cells;
    const Project& project = window->CurrentProject();
    for (int y = 0; y < project.Map.Height; ++y)
      for (int x = 0; x < project.Map.Width; ++x) {
        const TDescItem* item = project.CellDescription(x, y);
        cells.push_back({project.Map.GetTerrain(x, y), item->Domain, item->Text.Str()});
      }
    return cells;
  }
  Cell& Of(std::vector<Cell>& cells, QPoint p) { return cells[p.x() + p.y() * Width()]; }
  const Cell& Of(const std::vector<Cell>& cells, QPoint p) const { return cells[p.x() + p.y() * Width()]; }

  // Every cell equal, TerrainRows in step, and the first difference named.
  void ExpectCells(const std::vector<Cell>& expected) {
    const std::vector<Cell> actual = Cells();
    ASSERT_EQ(actual.size(), expected.size());
    int differences = 0;
    for (std::size_t i = 0; i < actual.size(); ++i)
      if (!(actual[i] == expected[i]) && differences++ < 5)
        ADD_FAILURE() << "cell " << i % Width() << "," << i / Width() << ": " << actual[i].terrain << " "
                      << actual[i].domain << " '" << actual[i].text << "', expected " << expected[i].terrain << " "
                      << expected[i].domain << " '" << expected[i].text << "'";
    EXPECT_EQ(differences, 0);
    EXPECT_EQ(window->CurrentProject().Map.TerrainRows, window->CurrentProject().Map.Cells);
  }

  // Undo gives the map before, redo the map after, exactly.
  void ExpectUndoRedo(const std::vector<Cell>& after) {
    PartOf<QAction>(*window, "aUndo")->trigger();
    ExpectCells(before);
    PartOf<QAction>(*window, "aRedo")->trigger();
    ExpectCells(after);
  }

  void Send(QEvent::Type type, QPoint cell, Qt::MouseButton button, Qt::MouseButtons buttons,
            Qt::KeyboardModifiers modifiers) {
    SendAt(type, CellCentre(cell.x(), cell.y()), button, buttons, modifiers);
  }
  // At a point of the grid's viewport, inside it or not: the grabbed pointer outside the widget.
  void SendAt(QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, pos, PartOf<MapGridView>(*window, "DG")->viewport()->mapToGlobal(pos), button, buttons, modifiers);
    QApplication::sendEvent(PartOf<MapGridView>(*window, "DG")->viewport(), &event);
  }
  QImage Shown() { return PartOf<MapGridView>(*window, "DG")->viewport()->grab().toImage(); }
  void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, modifiers);
    Send(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton, modifiers);
    Send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, modifiers);
    Send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, modifiers);
  }
  void Click(QPoint cell, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { Drag(cell, cell, modifiers); }
  void Hover(QPoint cell) { Send(QEvent::MouseMove, cell, Qt::NoButton, Qt::NoButton, Qt::NoModifier); }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(PartOf<MapGridView>(*window, "DG"), static_cast<Qt::Key>(key), modifiers);
  }

  void Paint(std::vector<Cell>& cells, QPoint p, int terrain) {
    Cell& cell = Of(cells, p);
    cell.terrain = terrain;
    cell.text = std::string(TerrainNames[terrain]);
  }
  bool Interior(QPoint p) const { return p.x() > 0 && p.y() > 0 && p.x() < Width() - 1 && p.y() < Height() - 1; }

  QString LastStep() { return window->UndoStack().text(window->UndoStack().count() - 1); }

  QPoint origin;
  MapTools* tools = nullptr;
  std::vector<Cell> before;
  int base = 0;
};

TEST_P(MapToolsTest, ToolKeysCheckOneToolWithItsHintAndCursor) {
  const std::pair<int, Tool> keys[] = {{Qt::Key_R, Tool::RectSelect}, {Qt::Key_W, Tool::MagicWand},
                                       {Qt::Key_S, Tool::SameTerrain}, {Qt::Key_F, Tool::Bucket},
                                       {Qt::Key_T, Tool::Rectangle},  {Qt::Key_E, Tool::Ellipse},
                                       {Qt::Key_L, Tool::Line},       {Qt::Key_P, Tool::Pointer},
                                       {Qt::Key_B, Tool::Brush}};
  std::set<QByteArray> cursors;
  for (const auto& [key, tool] : keys) {
    Key(key);
    EXPECT_EQ(tools->Current(), tool);
    int checked = 0;
    for (QAction* action : tools->aTool) checked += action->isChecked();
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(tools->aTool[static_cast<int>(tool)]->isChecked());
    EXPECT_EQ(window->statusBar()->findChild<QLabel*>("ToolHint")->text(), tools->HintText());
    EXPECT_EQ(tools->HintText(), tools->aTool[static_cast<int>(tool)]->statusTip());
    const QImage shape = PartOf<MapGridView>(*window, "DG")->viewport()->cursor().pixmap().toImage();
    cursors.insert(QByteArray(reinterpret_cast<const char*>(shape.constBits()), shape.sizeInBytes()));
  }
  EXPECT_EQ(cursors.size(), 9u);
  // A drawing tool switches terrain painting on when no painting mode is.
  EXPECT_TRUE(PartOf<QAction>(*window, "aPaint")->isChecked());
  // The arrow keys still move the current cell.
  const int column = PartOf<MapGridView>(*window, "DG")->CurrentColumn();
  Key(Qt::Key_Right);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentColumn(), column + 1);
}

TEST_P(MapToolsTest, RoundBrushOfThreePaintsAPlusAlongTheStroke) {
  window->ChooseTerrain(Forest);
  Key(Qt::Key_B);
  QTest::keyClicks(tools->cbBrushSize, "3");
  QTest::keyClicks(tools->cbBrushShape, "R");
  ASSERT_EQ(tools->cbBrushSize->currentText(), "3");
  ASSERT_EQ(tools->cbBrushShape->currentText(), "Round");
  Drag(At(10, 10), At(20, 10));
  std::vector<Cell> expected = before;
  for (int x = 10; x <= 20; ++x)
    for (QPoint p : {At(x, 9), At(x, 10), At(x, 11), At(x - 1, 10), At(x + 1, 10)}) Paint(expected, p, Forest);
  ExpectCells(expected);
  EXPECT_EQ(window->UndoStack().count(), base + 1);
  EXPECT_EQ(LastStep(), QString("Paint terrain (%1 cells)").arg(11 * 3 + 2));
  ExpectUndoRedo(expected);
}

TEST_P(MapToolsTest, BrushSparesTheRingAndPaintsDomains) {
  ClickRow(PartOf<QTreeView>(*window, "DomainVT"), PartOf<DomainModel>(*window, "domainModel")->index(0, 0));
  PartOf<QAction>(*window, "aPaintDom")->trigger();
  ASSERT_EQ(window->ActiveDomain(), 5);
  Key(Qt::Key_B);
  QTest::keyClicks(tools->cbBrushSize, "5");
  PartOf<MapGridView>(*window, "DG")->SetLeftColumn(0);
  PartOf<MapGridView>(*window, "DG")->SetTopRow(0);
  Drag({1, 1}, {1, 6});  // along the left edge: the ring keeps its domain
  std::vector<Cell> expected = before;
  for (int y = 0; y <= 8; ++y)
    for (int x = 0; x <= 3; ++x)
      if (Interior({x, y})) Of(expected, {x, y}).domain = 5;
  ExpectCells(expected);
  EXPECT_EQ(LastStep(), QString("Paint domains (%1 cells)").arg(3 * 8));
  ExpectUndoRedo(expected);
}

TEST_P(MapToolsTest, RandomBrushDrawsFromTheSetBySeed) {
  window->ChooseTerrain(Lake);
  Key(Qt::Key_B);
  QTest::keyClicks(tools->cbBrushSize, "9");
  QTest::mouseClick(tools->cbRandom, Qt::LeftButton, {}, tools->cbRandom->rect().center());
  ASSERT_TRUE(tools->cbRandom->isChecked());
  tools->eSeed->selectAll();
  QTest::keyClicks(tools->eSeed, "42");
  ASSERT_EQ(tools->eSeed->value(), 42);
  Click(At(20, 20));
  const std::vector<Cell> first = Cells();
  std::set<int> used;
  for (int y = 16; y <= 24; ++y)
    for (int x = 16; x <= 24; ++x) {
      const Cell& cell = first[At(x, y).x() + At(x, y).y() * Width()];
      EXPECT_TRUE(cell.terrain == Forest || cell.terrain == Downs || cell.terrain == Mountains) << cell.terrain;
      EXPECT_EQ(cell.text, TerrainNames[cell.terrain]);
      used.insert(cell.terrain);
    }
  EXPECT_EQ(used.size(), 3u);  // 81 draws from three terrains
  PartOf<QAction>(*window, "aUndo")->trigger();
  ExpectCells(before);
  Click(At(20, 20));
  ExpectCells(first);  // the same seed, the same cells
  PartOf<QAction>(*window, "aUndo")->trigger();
  tools->eSeed->selectAll();
  QTest::keyClicks(tools->eSeed, "43");
  Click(At(20, 20));
  EXPECT_NE(Cells(), first);
}

TEST_P(MapToolsTest, BucketFillsTheConnectedRegionWithinTheSelection) {
  // A wall of mountains across the map splits the plains in two.
  Project& project = window->CurrentProject();
  for (int y = 0; y < Height(); ++y) project.SetTerrain(At(30, 0).x(), y, Mountains);
  project.Map.RebuildTerrainRows();
  before = Cells();
  window->ChooseTerrain(Forest);
  Key(Qt::Key_F);
  Click(At(5, 5));
  std::vector<Cell> expected = before;
  for (int y = 0; y < Height(); ++y)
    for (int x = 0; x < At(30, 0).x(); ++x)
      if (Interior({x, y}) && Of(before, {x, y}).terrain == Plains) Paint(expected, {x, y}, Forest);
  ExpectCells(expected);
  EXPECT_EQ(LastStep().left(6), "Fill (");
  ExpectUndoRedo(expected);
  PartOf<QAction>(*window, "aUndo")->trigger();

  // Filling a region with its own terrain changes nothing, descriptions included, and takes no undo step.
  Item(At(6, 6)).Text = "Old well";
  before = Cells();
  const int steps = window->UndoStack().count();
  window->ChooseTerrain(Plains);
  Click(At(5, 5));
  ExpectCells(before);
  EXPECT_EQ(window->UndoStack().count(), steps);
  window->ChooseTerrain(Forest);

  // Within a selection: only the selected cells of the region.
  Key(Qt::Key_R);
  Drag(At(2, 3), At(8, 9));
  EXPECT_EQ(tools->Selection().Count(), 49u);
  Key(Qt::Key_F);
  Click(At(40, 40));  // outside the selection: nothing
  ExpectCells(before);
  Click(At(5, 5));
  expected = before;
  for (int y = 3; y <= 9; ++y)
    for (int x = 2; x <= 8; ++x) Paint(expected, At(x, y), Forest);
  ExpectCells(expected);
}

TEST_P(MapToolsTest, BucketFillsDomainsInDomainPainting) {
  ClickRow(PartOf<QTreeView>(*window, "DomainVT"), PartOf<DomainModel>(*window, "domainModel")->index(0, 0));
  PartOf<QAction>(*window, "aPaintDom")->trigger();
  Key(Qt::Key_F);
  Click(At(3, 3));  // domain 0 everywhere but the six cells of domain 5
  std::vector<Cell> expected = before;
  for (int y = 1; y < Height() - 1; ++y)
    for (int x = 1; x < Width() - 1; ++x) Of(expected, {x, y}).domain = 5;
  ExpectCells(expected);
  ExpectUndoRedo(expected);
}

TEST_P(MapToolsTest, SelectionToolsCombineWithShiftAndCtrl) {
  Key(Qt::Key_R);
  Drag(At(2, 2), At(11, 6));
  EXPECT_EQ(tools->Selection().Count(), 50u);
  Drag(At(20, 2), At(21, 3), Qt::ShiftModifier);
  EXPECT_EQ(tools->Selection().Count(), 54u);
  Drag(At(2, 2), At(3, 6), Qt::ControlModifier);
  EXPECT_EQ(tools->Selection().Count(), 44u);
  EXPECT_FALSE(tools->Selection().Contains(At(3, 4).x(), At(3, 4).y()));
  EXPECT_TRUE(tools->Selection().Contains(At(21, 3).x(), At(21, 3).y()));
  EXPECT_EQ(window->statusBar()->findChild<QLabel*>("SelectionSize")->text(), "Selection: 44 cells (18 x 5)");

  Key(Qt::Key_W);  // the six keeps, connected
  Click(At(14, 12));
  EXPECT_EQ(tools->Selection().Count(), 6u);
  Key(Qt::Key_S);
  Click(At(40, 3), Qt::ShiftModifier);  // every plains cell added
  const std::size_t interior = static_cast<std::size_t>(Width() - 2) * (Height() - 2);
  EXPECT_EQ(tools->Selection().Count(), interior);
  Key(Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(tools->Selection().Count(), static_cast<std::size_t>(Width()) * Height() - interior);
  Key(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(tools->Selection().Count(), static_cast<std::size_t>(Width()) * Height());
  Key(Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(tools->Selection().Empty());
  EXPECT_EQ(window->statusBar()->findChild<QLabel*>("SelectionSize")->text(), "");
  ExpectCells(before);  // selecting changes no cell
  EXPECT_EQ(window->UndoStack().count(), base);
}

TEST_P(MapToolsTest, SelectionOutlineShowsAtTheSmallestTiles) {
  const QImage plain = PartOf<MapGridView>(*window, "DG")->viewport()->grab().toImage();
  Key(Qt::Key_R);
  Drag(At(4, 4), At(9, 9));
  const QImage selected = PartOf<MapGridView>(*window, "DG")->viewport()->grab().toImage();
  // The outline runs along the cells' edges: the pixels there changed, those far away did not.
  const QPoint edge = CellCentre(At(4, 6).x(), At(4, 6).y()) - QPoint(4, 0);
  EXPECT_NE(plain.pixel(edge), selected.pixel(edge));
  const QPoint far = CellCentre(At(30, 30).x(), At(30, 30).y());
  EXPECT_EQ(plain.pixel(far), selected.pixel(far));
}

TEST_P(MapToolsTest, ShapesFillBetweenCornersWithALiveOutline) {
  window->ChooseTerrain(Lake);
  Key(Qt::Key_T);
  const QImage plain = PartOf<MapGridView>(*window, "DG")->viewport()->grab().toImage();
  Send(QEvent::MouseButtonPress, At(5, 5), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  Send(QEvent::MouseMove, At(12, 9), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  ExpectCells(before);  // nothing changes before the release
  EXPECT_NE(PartOf<MapGridView>(*window, "DG")->viewport()->grab().toImage(), plain);
  Send(QEvent::MouseButtonRelease, At(12, 9), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  std::vector<Cell> expected = before;
  for (int y = 5; y <= 9; ++y)
    for (int x = 5; x <= 12; ++x) Paint(expected, At(x, y), Lake);
  ExpectCells(expected);
  EXPECT_EQ(LastStep(), "Rectangle (40 cells)");
  ExpectUndoRedo(expected);
  PartOf<QAction>(*window, "aUndo")->trigger();

  // Shift: a circle in a square box; symmetric, touching all four sides.
  Key(Qt::Key_E);
  Drag(At(20, 20), At(30, 26), Qt::ShiftModifier);
  const std::vector<Cell> circle = Cells();
  int count = 0;
  for (int y = 18; y <= 32; ++y)
    for (int x = 18; x <= 32; ++x) {
      const bool in = Of(circle, At(x, y)).terrain == Lake;
      count += in;
      const bool outsideBox = x < 20 || x > 30 || y < 20 || y > 30;
      if (outsideBox) {
        EXPECT_FALSE(in) << x << "," << y;
      }
      EXPECT_EQ(in, Of(circle, At(50 - x, y)).terrain == Lake) << x << "," << y;
      EXPECT_EQ(in, Of(circle, At(y, x)).terrain == Lake) << x << "," << y;
    }
  EXPECT_TRUE(Of(circle, At(25, 20)).terrain == Lake);
  EXPECT_TRUE(Of(circle, At(20, 25)).terrain == Lake);
  EXPECT_FALSE(Of(circle, At(20, 20)).terrain == Lake);
  EXPECT_GT(count, 70);  // about pi * 5.5 squared
  EXPECT_LT(count, 105);
  PartOf<QAction>(*window, "aUndo")->trigger();

  // A line of width 1: every column once, ends included, no gaps.
  Key(Qt::Key_L);
  Drag(At(3, 30), At(23, 35));
  int painted = 0;
  for (int x = 3; x <= 23; ++x) {
    int inColumn = 0;
    for (int y = 28; y <= 37; ++y) inColumn += Terrain(At(x, y).x(), At(x, y).y()) == Lake;
    EXPECT_EQ(inColumn, 1) << x;
    painted += inColumn;
  }
  EXPECT_EQ(painted, 21);
  EXPECT_EQ(Terrain(At(3, 30).x(), At(3, 30).y()), Lake);
  EXPECT_EQ(Terrain(At(23, 35).x(), At(23, 35).y()), Lake);
}

TEST_P(MapToolsTest, CopyAndPasteCarryDescriptionsAndDomainsAndTurnWhileHeld) {
  Key(Qt::Key_R);
  Drag(At(11, 11), At(14, 13));  // 4 x 3, holding four of the keeps
  Key(Qt::Key_Insert, Qt::ControlModifier);
  const QMimeData* data = QApplication::clipboard()->mimeData();
  ASSERT_TRUE(data->hasFormat(CellBlockMimeType));
  EXPECT_EQ(data->text(), "    \n KKK\n    \n");  // plains are blanks in the map file's letters
  Key(Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);

  Key(Qt::Key_V, Qt::ControlModifier);
  ASSERT_TRUE(tools->StampHeld());
  Hover(At(31, 31));
  Key(Qt::Key_X);  // flipped left to right
  Click(At(31, 31));
  EXPECT_FALSE(tools->StampHeld());
  std::vector<Cell> expected = before;
  // The block's top left lands at (31 - 2, 31 - 1); its row 1 holds plains then keeps 0, 1, 2 flipped.
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) Of(expected, At(29 + x, 30 + y)) = Of(before, At(11 + (3 - x), 11 + y));
  ExpectCells(expected);
  EXPECT_EQ(Of(expected, At(30, 31)).text, "Tower of Dreams 1");
  EXPECT_EQ(Of(expected, At(30, 31)).domain, 5);
  EXPECT_EQ(LastStep(), "Paste (3 cells)");  // the plains of the block change nothing
  ExpectUndoRedo(expected);

  // Turned a quarter clockwise: 3 x 4.
  Key(Qt::Key_V, Qt::ControlModifier);
  Hover(At(41, 41));
  Key(Qt::Key_Z);
  ASSERT_EQ(tools->Stamp()->Width, 3);
  Key(Qt::Key_Z, Qt::ShiftModifier);
  Key(Qt::Key_Z);
  Click(At(41, 41));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) Of(expected, At(40 + x, 39 + y)) = Of(before, At(11 + y, 11 + (2 - x)));
  ExpectCells(expected);

  // Escape drops the stamp: the next click places nothing.
  const std::vector<Cell> now = Cells();
  Key(Qt::Key_Insert, Qt::ShiftModifier);
  ASSERT_TRUE(tools->StampHeld());
  Key(Qt::Key_Escape);
  EXPECT_FALSE(tools->StampHeld());
  Key(Qt::Key_R);
  Click(At(50, 50));
  ExpectCells(now);
}

TEST_P(MapToolsTest, CutLeavesDefaultCellsAndSparesTheRing) {
  Key(Qt::Key_R);
  PartOf<MapGridView>(*window, "DG")->SetLeftColumn(0);
  PartOf<MapGridView>(*window, "DG")->SetTopRow(0);
  QApplication::processEvents();
  Project& project = window->CurrentProject();
  for (int x = 0; x < 20; ++x) {
    project.Descriptions.Entry(project.Descriptions.DescriptionNodes[x + 5 * Width()]).Domain = 5;
    project.SetTerrain(x, 6, Cavern);
  }
  project.Map.RebuildTerrainRows();
  before = Cells();
  Drag({0, 0}, {13, 12});
  Key(Qt::Key_Delete, Qt::ShiftModifier);
  std::vector<Cell> expected = before;
  for (int y = 1; y <= 12; ++y)
    for (int x = 1; x <= 13; ++x) Of(expected, {x, y}) = {Plains, 0, "plains"};
  ExpectCells(expected);
  EXPECT_EQ(LastStep().left(5), "Cut (");
  EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(CellBlockMimeType));
  ExpectUndoRedo(expected);

  // Delete does the same without the clipboard.
  QApplication::clipboard()->setText("F");
  PartOf<QAction>(*window, "aUndo")->trigger();
  Key(Qt::Key_Delete);
  ExpectCells(expected);
  EXPECT_EQ(QApplication::clipboard()->text(), "F");
}

// Letters from a text editor, in either case and in lines of any length,
// change the terrain and keep each cell's domain, as painting does.
TEST_P(MapToolsTest, PlainTerrainLettersPasteFromAnotherProgram) {
  QApplication::clipboard()->setText("mM.F\nvvv\n");
  Key(Qt::Key_V, Qt::ControlModifier);
  ASSERT_TRUE(tools->StampHeld());
  Hover(At(14, 12));
  Click(At(14, 12));  // the block's top left at (12, 11); its second row over the keeps of domain 5
  std::vector<Cell> expected = before;
  const int letters[2][4] = {{Mountains, Mountains, -1, Forest}, {Village, Village, Village, Plains}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x)
      if (letters[y][x] >= 0) Paint(expected, At(12 + x, 11 + y), letters[y][x]);
  EXPECT_EQ(Of(expected, At(12, 12)).domain, 5);
  ExpectCells(expected);

  // A block of plains alone pastes too.
  QApplication::clipboard()->setText("  \n  ");
  Key(Qt::Key_V, Qt::ControlModifier);
  ASSERT_TRUE(tools->StampHeld());
  Click(At(13, 12));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) Paint(expected, At(12 + x, 11 + y), Plains);
  ExpectCells(expected);
}

// Pasted into another editor, the cells bring the names and colours of their
// domains where that map has none; a domain it names otherwise stays its own.
TEST_P(MapToolsTest, PasteIntoAnotherEditorBringsTheDomainsItLacks) {
  window->CurrentProject().Domains.Slots[7] = {0x0000FF, "Ushgarak"};
  Item(At(13, 13)).Domain = 7;
  window->RebuildDomainPanel();
  Key(Qt::Key_R);
  Drag(At(12, 12), At(13, 13));
  Key(Qt::Key_Insert, Qt::ControlModifier);
  const std::unique_ptr<TfMain> first = std::move(window);

  Start();
  MakeBlankMap(40, 30, Plains);
  window->CurrentProject().Domains.Slots[7] = {0x00FFFF, "Lothoril"};
  window->RebuildDomainPanel();
  QApplication::setActiveWindow(window.get());
  QTest::keyClick(PartOf<MapGridView>(*window, "DG"), Qt::Key_V, Qt::ControlModifier);
  Mouse(QEvent::MouseButtonPress, 10, 10, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, 10, 10, Qt::LeftButton, Qt::NoButton);
  const DomainTable& domains = window->CurrentProject().Domains;
  EXPECT_EQ(MainWindowTest::Item(9, 9).Domain, 5);
  EXPECT_EQ(MainWindowTest::Item(10, 10).Domain, 7);
  EXPECT_EQ(domains.Name(5), "Varenorn");
  EXPECT_EQ(domains.Color(5), 0x00FF00);
  EXPECT_EQ(domains.Name(7), "Lothoril");
  EXPECT_EQ(domains.Color(7), 0x00FFFF);
  EXPECT_EQ(window->statusBar()->currentMessage(), "Pasted domain 7 kept this map's name and colour.");
  // One undo step takes back the cells and the domain they brought.
  PartOf<QAction>(*window, "aUndo")->trigger();
  EXPECT_FALSE(domains.Defined(5));
  EXPECT_EQ(MainWindowTest::Item(9, 9).Domain, 0);
  first->CurrentProject().ProjectSaved = true;
  first->close();
}

// Delete and the tool letters belong to a list or field that has the focus, not to the grid.
TEST_P(MapToolsTest, GridKeysStayOutOfTheListsAndFields) {
  Key(Qt::Key_R);
  Drag(At(12, 11), At(14, 13));  // three of the keeps among them
  ASSERT_EQ(tools->Selection().Count(), 9u);
  QTableView* list = PartOf<QTableView>(*window, "DescVT");
  ASSERT_TRUE(list->isVisible());
  // A click in the list keeps the focus there while it does not hand it to the grid.
  QAction* focusGrid = PartOf<QAction>(*window, "aCenterMap");
  if (focusGrid->isChecked()) focusGrid->trigger();
  const QModelIndex row = list->indexAt(QPoint(4, 4));  // the top row in sight
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
  ASSERT_TRUE(list->hasFocus());
  for (const Qt::Key key : {Qt::Key_Delete, Qt::Key_T, Qt::Key_B, Qt::Key_F}) QTest::keyClick(list, key);
  QTest::keyClick(list, Qt::Key_Insert, Qt::ShiftModifier);
  ExpectCells(before);
  EXPECT_TRUE(tools->aTool[static_cast<int>(Tool::RectSelect)]->isChecked());
  EXPECT_FALSE(tools->StampHeld());
  // From the grid they act.
  PartOf<MapGridView>(*window, "DG")->setFocus();
  Key(Qt::Key_Delete);
  EXPECT_EQ(LastStep().left(8), "Delete (");
}

// What is checked is what a click does: the editor starts with the pointer, which
// only moves the current cell, and a drawing tool is checked exactly while a
// painting mode is on ("Paint terrain", Ctrl+P, and "Paint domains").
TEST_P(MapToolsTest, ThePointerStartsAndTheBrushIsThePaintingMode) {
  const auto expectState = [this](Tool tool, bool terrain, bool domains) {
    EXPECT_EQ(tools->Current(), tool);
    EXPECT_TRUE(tools->aTool[static_cast<int>(tool)]->isChecked());
    EXPECT_EQ(window->statusBar()->findChild<QLabel*>("ToolHint")->text(),
              tools->aTool[static_cast<int>(tool)]->statusTip());
    EXPECT_EQ(PartOf<QAction>(*window, "aPaint")->isChecked(), terrain);
    EXPECT_EQ(PartOf<QAction>(*window, "aPaintDom")->isChecked(), domains);
  };
  {
    SCOPED_TRACE("at start");
    expectState(Tool::Pointer, false, false);
  }
  window->ChooseTerrain(Forest);
  Drag(At(5, 5), At(9, 5));
  ExpectCells(before);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentColumn(), At(9, 5).x());  // the drag moved the current cell only

  Key(Qt::Key_P, Qt::ControlModifier);
  {
    SCOPED_TRACE("Ctrl+P");
    expectState(Tool::Brush, true, false);
  }
  Drag(At(5, 5), At(9, 5));
  std::vector<Cell> expected = before;
  for (int x = 5; x <= 9; ++x) Paint(expected, At(x, 5), Forest);
  ExpectCells(expected);

  Key(Qt::Key_P, Qt::ControlModifier);
  {
    SCOPED_TRACE("Ctrl+P again");
    expectState(Tool::Pointer, false, false);
  }
  Drag(At(5, 7), At(9, 7));
  ExpectCells(expected);

  // A tool that does not draw sets the painting mode aside; a drawing tool takes it up again.
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    Tool tool;
    bool terrain, domains;
  } steps[] = {
      {Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier, Tool::Brush, false, true},
      {Qt::Key_R, Qt::NoModifier, Tool::RectSelect, false, false},
      {Qt::Key_F, Qt::NoModifier, Tool::Bucket, false, true},
      {Qt::Key_P, Qt::NoModifier, Tool::Pointer, false, false},
      {Qt::Key_L, Qt::NoModifier, Tool::Line, false, true},
      {Qt::Key_P, Qt::ControlModifier, Tool::Line, true, false},
      {Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier, Tool::Line, false, true},
      {Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier, Tool::Pointer, false, false},
      {Qt::Key_B, Qt::NoModifier, Tool::Brush, true, false},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(QKeySequence(step.key | step.modifiers).toString().toStdString());
    Key(step.key, step.modifiers);
    expectState(step.tool, step.terrain, step.domains);
  }
  // A new map starts with painting off, so with the pointer.
  prompts.answers.push_back(Answer::No);  // the painted map is not saved
  MakeBlankMap(20, 20, Plains);
  ASSERT_EQ(Width(), 20);
  {
    SCOPED_TRACE("new map");
    expectState(Tool::Pointer, false, false);
  }
}

// Another tool chosen, painting switched off or Escape pressed while the button is
// held ends the drag without effect; the rest of that drag does nothing either.
TEST_P(MapToolsTest, AnInterruptedDragLeavesNoTrace) {
  window->ChooseTerrain(Forest);
  Key(Qt::Key_R);
  Drag(At(2, 2), At(4, 3));  // a selection the interrupted drags keep
  const CellSelection selected = tools->Selection();
  ASSERT_EQ(selected.Count(), 6u);
  const QPoint away = CellCentre(At(15, 15).x(), At(15, 15).y());  // under every drag, never the current cell
  const struct {
    Qt::Key tool;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    Tool after;
  } cases[] = {
      {Qt::Key_R, Qt::Key_T, Qt::NoModifier, Tool::Rectangle},
      {Qt::Key_R, Qt::Key_Escape, Qt::NoModifier, Tool::RectSelect},
      {Qt::Key_T, Qt::Key_R, Qt::NoModifier, Tool::RectSelect},
      {Qt::Key_E, Qt::Key_Escape, Qt::NoModifier, Tool::Ellipse},
      {Qt::Key_L, Qt::Key_B, Qt::NoModifier, Tool::Brush},
      {Qt::Key_B, Qt::Key_L, Qt::NoModifier, Tool::Line},
      {Qt::Key_B, Qt::Key_Escape, Qt::NoModifier, Tool::Brush},
      {Qt::Key_B, Qt::Key_P, Qt::ControlModifier, Tool::Pointer},  // painting off
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QKeySequence(c.tool).toString().toStdString() + " then " +
                 QKeySequence(c.key | c.modifiers).toString().toStdString());
    Key(c.tool);
    const QRgb shown = Shown().pixel(away);
    Send(QEvent::MouseButtonPress, At(10, 10), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    Send(QEvent::MouseMove, At(15, 15), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    Send(QEvent::MouseMove, At(20, 20), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    ASSERT_NE(Shown().pixel(away), shown);  // the drag shows
    Key(c.key, c.modifiers);
    EXPECT_EQ(tools->Current(), c.after);
    EXPECT_EQ(Shown().pixel(away), shown);
    Send(QEvent::MouseMove, At(22, 19), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    Send(QEvent::MouseMove, At(12, 19), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    Send(QEvent::MouseButtonRelease, At(12, 19), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    ExpectCells(before);
    EXPECT_EQ(window->UndoStack().count(), base);
    EXPECT_EQ(tools->Selection(), selected);
    EXPECT_EQ(PartOf<QAction>(*window, "aUndo")->isEnabled(), window->UndoStack().canUndo());
    EXPECT_EQ(Shown().pixel(away), shown);
  }
}

// A selection or shape dragged off the map, out of the view and the widget, follows
// the pointer held to the map's edge, to the corner.
TEST_P(MapToolsTest, DragsOffTheMapFollowThePointerToItsEdge) {
  window->ChooseTerrain(Lake);
  const QPoint anchor = At(10, 10);
  const QPointF start = CellCentre(anchor.x(), anchor.y());
  const int right = Width() - 1, bottom = Height() - 1;
  const struct {
    Qt::Key key;
    QPointF end;  // in the grid viewport's pixels
    QRect box;    // the cells the drag covers
  } cases[] = {
      {Qt::Key_R, {5000, 5000}, QRect(anchor, QPoint(right, bottom))},
      {Qt::Key_R, {-5000, -5000}, QRect(QPoint(0, 0), anchor)},
      {Qt::Key_R, {start.x(), -5000}, QRect(QPoint(anchor.x(), 0), anchor)},
      {Qt::Key_T, {5000, 5000}, QRect(anchor, QPoint(right, bottom))},
      {Qt::Key_L, {-5000, start.y()}, QRect(QPoint(0, anchor.y()), anchor)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QKeySequence(c.key).toString().toStdString() + " to " + std::to_string(c.end.x()) + "," +
                 std::to_string(c.end.y()));
    Key(c.key);
    SendAt(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    SendAt(QEvent::MouseMove, start + QPointF(3, 3), Qt::NoButton, Qt::LeftButton);
    SendAt(QEvent::MouseMove, c.end, Qt::NoButton, Qt::LeftButton);
    SendAt(QEvent::MouseButtonRelease, c.end, Qt::LeftButton, Qt::NoButton);
    if (c.key == Qt::Key_R) {
      const CellBounds bounds = tools->Selection().Bounds();
      EXPECT_EQ(QRect(QPoint(bounds.left, bounds.top), QPoint(bounds.right, bounds.bottom)), c.box);
      EXPECT_EQ(tools->Selection().Count(), static_cast<std::size_t>(c.box.width()) * c.box.height());
      continue;
    }
    std::vector<Cell> expected = before;
    for (int y = c.box.top(); y <= c.box.bottom(); ++y)
      for (int x = c.box.left(); x <= c.box.right(); ++x)
        if (Interior({x, y})) Paint(expected, {x, y}, Lake);
    ExpectCells(expected);
    PartOf<QAction>(*window, "aUndo")->trigger();
  }
}

TEST_P(MapToolsTest, CropToSelectionKeepsTheBoundingBoxWithItsCells) {
  Key(Qt::Key_R);
  Drag(At(10, 11), At(19, 14));
  Drag(At(30, 20), At(31, 21), Qt::ShiftModifier);  // the box reaches to (31, 21)
  QAction* crop = nullptr;
  for (QAction* action : PartOf<QMenu>(*window, "mMap")->actions())
    if (action->text() == "Cr&op to selection") crop = action;
  ASSERT_NE(crop, nullptr);
  ASSERT_TRUE(crop->isEnabled());
  const int oldWidth = Width();
  crop->trigger();
  ASSERT_EQ(Width(), 22);
  ASSERT_EQ(Height(), 11);
  EXPECT_EQ(window->StatusText(0), "22x11");
  const std::vector<Cell> cropped = Cells();
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 22; ++x) {
      const Cell& was = before[At(10 + x, 11 + y).x() + At(10 + x, 11 + y).y() * oldWidth];
      EXPECT_EQ(cropped[x + y * 22], was) << x << "," << y;
      EXPECT_EQ(window->CurrentProject().CellDescription(x, y)->X, x);
    }
  EXPECT_EQ(cropped[2 + 1 * 22].text, "Tower of Dreams 0");
  EXPECT_TRUE(tools->Selection().Empty());
  PartOf<QAction>(*window, "aUndo")->trigger();
  EXPECT_EQ(Width(), oldWidth);
  ExpectCells(before);
}

INSTANTIATE_TEST_SUITE_P(Maps, MapToolsTest, ::testing::Values(66, 512),
                         [](const ::testing::TestParamInfo<int>& info) { return "Side" + std::to_string(info.param); });

}  // namespace
}  // namespace mireforge::testing
