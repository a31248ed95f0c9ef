// The Map menu: Resize map... through its dialog, the flips and rotations, one
// undo step each, and the window following the new map.
#include <QDialogButtonBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include "app/main_window/window_parts.h"
#include "app/actual_view/actual_view.h"
#include "app/panels/description_model.h"
#include "app/dialogs/name_land_dialog.h"
#include "app/dialogs/resize_map_dialog.h"
#include "app/app_test_support.h"

namespace mireforge::testing {
namespace {

// Terrain, description, domain and creation terrain of every cell, in index order.
struct MapContent {
  int width = 0, height = 0;
  std::vector<TerrainCode> cells, rows;
  std::vector<std::string> texts, positions;
  std::vector<int> domains, terrains;
  bool operator==(const MapContent&) const = default;
};

// Where two contents part, for the failure message; empty when they are equal.
std::string Difference(const MapContent& a, const MapContent& b) {
  if (a.width != b.width || a.height != b.height)
    return "size " + std::to_string(a.width) + "x" + std::to_string(a.height) + " vs " + std::to_string(b.width) +
           "x" + std::to_string(b.height);
  const auto at = [&](std::size_t i) {
    return " at " + std::to_string(i % a.width) + "," + std::to_string(i / a.width);
  };
  for (std::size_t i = 0; i < a.cells.size(); ++i) {
    if (a.cells[i] != b.cells[i]) return "terrain " + std::to_string(a.cells[i]) + " vs " + std::to_string(b.cells[i]) + at(i);
    if (a.texts[i] != b.texts[i]) return "text '" + a.texts[i] + "' vs '" + b.texts[i] + "'" + at(i);
    if (a.domains[i] != b.domains[i]) return "domain" + at(i);
    if (a.terrains[i] != b.terrains[i]) return "creation terrain " + std::to_string(a.terrains[i]) + " vs " + std::to_string(b.terrains[i]) + at(i);
    if (a.positions[i] != b.positions[i]) return "position" + at(i);
  }
  return a == b ? "" : "terrain rows";
}

MapContent ContentOf(const Project& project) {
  MapContent c;
  c.width = project.Map.Width;
  c.height = project.Map.Height;
  c.cells = project.Map.Cells;
  c.rows = project.Map.TerrainRows;
  for (const TDescItem& item : project.Descriptions.Entries) {
    c.texts.push_back(item.Text.Str());
    c.positions.push_back(item.Position());
    c.domains.push_back(item.Domain);
    c.terrains.push_back(item.Terrain);
  }
  return c;
}

// Old cell (x, y) goes to forward(x, y); every cell of the new map not reached
// that way is a new plains cell (or frozen wastes on a rebuilt ring).
using Forward = std::function<std::pair<int, int>(int, int)>;
MapContent Expected(const MapContent& old, int width, int height, const Forward& forward, bool ring) {
  MapContent e;
  e.width = width;
  e.height = height;
  const std::size_t count = static_cast<std::size_t>(width) * height;
  e.cells.assign(count, Plains);
  e.texts.assign(count, "plains");
  e.domains.assign(count, 0);
  e.terrains.assign(count, Plains);
  std::vector<bool> fresh(count, true);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) e.positions.push_back("[" + std::to_string(x) + "," + std::to_string(y) + "]");
  for (int y = 0; y < old.height; ++y)
    for (int x = 0; x < old.width; ++x) {
      const auto [nx, ny] = forward(x, y);
      if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
      const std::size_t from = x + static_cast<std::size_t>(y) * old.width, to = nx + static_cast<std::size_t>(ny) * width;
      e.cells[to] = old.cells[from];
      e.texts[to] = old.texts[from];
      e.domains[to] = old.domains[from];
      e.terrains[to] = old.terrains[from];
      fresh[to] = false;
    }
  if (ring)
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const std::size_t i = x + static_cast<std::size_t>(y) * width;
        if ((x == 0 || y == 0 || x == width - 1 || y == height - 1) && e.cells[i] != FrozenWastes) {
          if (fresh[i]) e.terrains[i] = FrozenWastes;  // a new cell is made as what it becomes
          e.cells[i] = FrozenWastes;
          e.texts[i] = "frozen wastes";
        }
      }
  e.rows = e.cells;
  return e;
}

class MapTransformTest : public MainWindowTest, public ::testing::WithParamInterface<std::pair<int, int>> {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Start();
    const auto [w, h] = GetParam();
    MakeBlankMap(w, h, Forest);
    // Every cell different from its neighbours: terrain, typed text, domain.
    Project& project = window->CurrentProject();
    for (int y = 1; y < h - 1; ++y)
      for (int x = 1; x < w - 1; ++x) {
        const int i = x + y * w;
        project.Map.Cells[i] = static_cast<TerrainCode>((x * 3 + y * 5) % TerrainCount);
        TDescItem& item = project.Descriptions.Entry(i);
        if ((x + 2 * y) % 5 == 0) item.Text = "place " + std::to_string(i);
        item.Domain = (x * 7 + y) % 256;
      }
    project.Map.RebuildTerrainRows();
    project.Domains.Slots[9] = {0x00AA00, "Heath"};
    window->Document().MapRestored(true, "Created as blank map");
    window->UndoStack().setClean();
    base = window->UndoStack().count();
    before = ContentOf(project);
  }

  // Types text into a spin box as a person does: select all, type, Tab.
  static void TypeInto(QSpinBox* box, const QString& text) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Tab);
  }

  // Opens the Map menu from the menu bar and clicks the command in it.
  void ClickMapMenu(QAction* action) {
    QMenuBar* bar = window->menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(PartOf<QMenu>(*window, "mMap")->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([this] { return PartOf<QMenu>(*window, "mMap")->isVisible(); }));
    QTest::mouseClick(PartOf<QMenu>(*window, "mMap"), Qt::LeftButton, {}, PartOf<QMenu>(*window, "mMap")->actionGeometry(action).center());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !PartOf<QMenu>(*window, "mMap")->isVisible(); }));
  }

  // The window shows the map it holds: grid, status bar, description panel, actual view.
  void ExpectWindowFollows() {
    const MapGrid& map = window->CurrentProject().Map;
    EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->Columns(), map.Width);
    EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->Rows(), map.Height);
    EXPECT_EQ(window->StatusText(0), QString("%1x%2").arg(map.Width).arg(map.Height));
    EXPECT_EQ(PartOf<DescriptionModel>(*window, "descModel")->rowCount(), static_cast<int>(map.Cells.size()));
    EXPECT_TRUE(map.Contains(PartOf<TfActualView>(*window, "fActualView")->State().ViewX, PartOf<TfActualView>(*window, "fActualView")->State().ViewY));
    EXPECT_EQ(PartOf<TfActualView>(*window, "fActualView")->State().ViewX, PartOf<MapGridView>(*window, "DG")->CurrentColumn());
    EXPECT_EQ(window->CurrentProject().Domains.Slots[9].Name, "Heath");
  }

  // One undo step that undoes and redoes exactly.
  void ExpectOneStep(const MapContent& after, const QString& text) {
    EXPECT_EQ(window->UndoStack().count(), base + 1);
    EXPECT_EQ(window->UndoStack().undoText(), text);
    EXPECT_FALSE(window->CurrentProject().ProjectSaved);
    PartOf<QAction>(*window, "aUndo")->trigger();
    EXPECT_EQ("", Difference(ContentOf(window->CurrentProject()), before)) << "undo";
    EXPECT_TRUE(window->CurrentProject().ProjectSaved);
    ExpectWindowFollows();
    PartOf<QAction>(*window, "aRedo")->trigger();
    EXPECT_EQ("", Difference(ContentOf(window->CurrentProject()), after)) << "redo";
    ExpectWindowFollows();
  }

  int base = 0;
  MapContent before;
};

TEST_P(MapTransformTest, ResizeThroughTheDialogWithAnAnchor) {
  const auto [w, h] = GetParam();
  const int newWidth = w > 100 ? 300 : w + 6, newHeight = h > 100 ? 511 : h - 5;
  PartOf<MapGridView>(*window, "DG")->SetCurrentCell(w / 2, h / 2);
  OnModal<TfResizeMap>([&](TfResizeMap* d) {
    EXPECT_EQ(d->eWidth->value(), w);
    EXPECT_EQ(d->CheckedAnchor(), 0);
    TypeInto(d->eWidth, QString::number(newWidth));
    TypeInto(d->eHeight, QString::number(newHeight));
    QTest::mouseClick(d->bAnchor[4], Qt::LeftButton);  // centre
    EXPECT_TRUE(d->bAnchor[4]->isChecked());
    EXPECT_FALSE(d->bAnchor[0]->isChecked());
    EXPECT_EQ(d->eOffsetX->value(), (newWidth - w) / 2);
    EXPECT_EQ(d->eOffsetY->value(), (newHeight - h) / 2);
    EXPECT_TRUE(d->cbRing->isChecked());
    QTest::mouseClick(d->buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
  });
  // The blank map's dialog took the activation with it; shortcuts go to the active window.
  QApplication::setActiveWindow(window.get());
  PartOf<MapGridView>(*window, "DG")->setFocus();
  QTest::keyClick(PartOf<MapGridView>(*window, "DG"), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
  const int dx = (newWidth - w) / 2, dy = (newHeight - h) / 2;
  const MapContent after = ContentOf(window->CurrentProject());
  ASSERT_EQ("", Difference(after, Expected(before, newWidth, newHeight,
                                           [&](int x, int y) { return std::pair(x + dx, y + dy); }, true)));
  ExpectWindowFollows();
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentColumn(), w / 2 + dx);  // the current cell kept its content
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentRow(), h / 2 + dy);
  ExpectOneStep(after, "Resize map");
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentColumn(), w / 2 + dx);
}

TEST_P(MapTransformTest, ResizeWithTypedOffsetsAndNoRing) {
  const auto [w, h] = GetParam();
  const int newHeight = h > 100 ? h - 1 : h + 1;
  OnModal<TfResizeMap>([&](TfResizeMap* d) {
    TypeInto(d->eWidth, QString::number(w - 3));
    TypeInto(d->eOffsetX, "-2");
    TypeInto(d->eOffsetY, "3");
    for (QToolButton* button : d->bAnchor) EXPECT_FALSE(button->isChecked());  // offsets of no anchor
    TypeInto(d->eHeight, QString::number(newHeight));
    EXPECT_EQ(d->eOffsetX->value(), -2);  // typed offsets stay when the size changes
    QTest::mouseClick(d->cbRing, Qt::LeftButton);
    QTest::keyClick(d, Qt::Key_Return);
  });
  PartOf<QAction>(*window, "aResizeMap")->trigger();
  const MapContent after = ContentOf(window->CurrentProject());
  ASSERT_EQ("", Difference(after, Expected(before, w - 3, newHeight, [](int x, int y) { return std::pair(x - 2, y + 3); }, false)));
  ExpectWindowFollows();
  ExpectOneStep(after, "Resize map");
}

TEST_P(MapTransformTest, CancelledResizeChangesNothing) {
  OnModal<TfResizeMap>([&](TfResizeMap* d) {
    TypeInto(d->eWidth, "20");
    QTest::keyClick(d, Qt::Key_Escape);
  });
  PartOf<QAction>(*window, "aResizeMap")->trigger();
  EXPECT_EQ("", Difference(ContentOf(window->CurrentProject()), before));
  EXPECT_EQ(window->UndoStack().count(), base);
}

TEST_P(MapTransformTest, FlipsAndRotationsFromTheMapMenu) {
  const auto [w, h] = GetParam();
  struct Case {
    QAction* action;
    QString text;
    int width, height;
    Forward forward;
  };
  const std::vector<Case> cases = {
      {PartOf<QAction>(*window, "aFlipHorizontally"), "Flip map horizontally", w, h,
       [w = w](int x, int y) { return std::pair(w - 1 - x, y); }},
      {PartOf<QAction>(*window, "aFlipVertically"), "Flip map vertically", w, h, [h = h](int x, int y) { return std::pair(x, h - 1 - y); }},
      {PartOf<QAction>(*window, "aRotateClockwise"), "Rotate map clockwise", h, w,
       [h = h](int x, int y) { return std::pair(h - 1 - y, x); }},
      {PartOf<QAction>(*window, "aRotateCounterClockwise"), "Rotate map anticlockwise", h, w,
       [w = w](int x, int y) { return std::pair(y, w - 1 - x); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    PartOf<MapGridView>(*window, "DG")->SetCurrentCell(w - 2, 1);
    ClickMapMenu(c.action);
    const MapContent after = ContentOf(window->CurrentProject());
    ASSERT_EQ("", Difference(after, Expected(before, c.width, c.height, c.forward, false)));
    ExpectWindowFollows();
    const auto [cx, cy] = c.forward(w - 2, 1);
    EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentColumn(), cx);
    EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentRow(), cy);
    ExpectOneStep(after, c.text);
    PartOf<QAction>(*window, "aUndo")->trigger();
    EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentColumn(), w - 2);
    EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentRow(), 1);
  }
}

TEST_P(MapTransformTest, NameTheLandFromTheMapMenuIsOneStep) {
  const auto [w, h] = GetParam();
  const DomainSlots slotsBefore = window->CurrentProject().Domains.Slots;
  // Two named 512 x 512 maps outgrow the default undo memory, which would drop the older step.
  window->Document().SetHistoryLimits(DefaultUndoSteps, std::size_t(1) << 30);
  for (const bool keep : {false, true}) {
    SCOPED_TRACE(keep ? "keeping" : "afresh");
    OnModal<TfNameLand>([&](TfNameLand* d) {
      LandNamingFields* f = d->fields;
      EXPECT_EQ(f->eDomains->value(), 12);
      EXPECT_TRUE(f->cbKeep->isChecked());
      const int clockSeed = f->eSeed->value();
      QTest::mouseClick(f->bRandomize, Qt::LeftButton);
      EXPECT_NE(f->eSeed->value(), clockSeed);
      TypeInto(f->eDomains, "7");
      TypeInto(f->eSeed, "-1234");
      f->cbStyle->setFocus();
      QTest::keyClick(f->cbStyle, Qt::Key_Down);  // Elvish
      if (!keep) QTest::mouseClick(f->cbKeep, Qt::LeftButton, {}, QPoint(6, f->cbKeep->height() / 2));
      QTest::mouseClick(d->buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    ClickMapMenu(PartOf<QAction>(*window, "aNameLand"));
    // The map is what the options typed give.
    Project expected;
    expected.Map = window->CurrentProject().Map;
    BuildDefaultDescriptions(expected.Descriptions, expected.Map);
    for (std::size_t i = 0; i < before.texts.size(); ++i) {
      expected.Descriptions.Entry(i).Text = before.texts[i];
      expected.Descriptions.Entry(i).Domain = before.domains[i];
      expected.Descriptions.Entry(i).Terrain = before.terrains[i];
    }
    expected.Domains.Slots = slotsBefore;
    LandNamingOptions options;
    options.Domains = 7;
    options.Seed = -1234;
    options.Style = NameStyle::Elvish;
    options.Keep = keep;
    NameTheLand(expected.Map, expected.Descriptions, expected.Domains, options);
    const Project& project = window->CurrentProject();
    const MapContent after = ContentOf(project);
    ASSERT_EQ("", Difference(after, ContentOf(expected)));
    for (int slot = 0; slot < DomainCount; ++slot) EXPECT_EQ(project.Domains.Name(slot), expected.Domains.Name(slot));
    const std::string middle = project.CellDescription(w / 2, h / 2)->Text.Str();
    if (keep) {
      EXPECT_EQ(project.Domains.Name(9), "Heath");
    } else {
      EXPECT_NE(middle.find(" of "), std::string::npos) << middle;
    }
    // One step, undone to the last byte with the domain table, and redone.
    EXPECT_EQ(window->UndoStack().count(), base + 1);
    EXPECT_EQ(window->UndoStack().undoText(), "Name the land");
    PartOf<QAction>(*window, "aUndo")->trigger();
    EXPECT_EQ("", Difference(ContentOf(project), before)) << "undo";
    for (int slot = 0; slot < DomainCount; ++slot) {
      EXPECT_EQ(project.Domains.Slots[slot].Name, slotsBefore[slot].Name);
      EXPECT_EQ(project.Domains.Slots[slot].Color, slotsBefore[slot].Color);
    }
    EXPECT_TRUE(project.ProjectSaved);
    PartOf<QAction>(*window, "aRedo")->trigger();
    EXPECT_EQ("", Difference(ContentOf(project), after)) << "redo";
    EXPECT_EQ(project.Domains.Name(1), expected.Domains.Name(1));
    PartOf<QAction>(*window, "aUndo")->trigger();
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, MapTransformTest, ::testing::Values(std::pair(66, 63), std::pair(512, 512)),
                         [](const auto& info) {
                           return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
                         });

TEST_F(MainWindowTest, MapMenuSitsAfterEditAndNeedsAMap) {
  Start();
  QStringList titles;
  for (QAction* menu : window->menuBar()->actions()) titles << menu->text();
  EXPECT_EQ(titles.indexOf("&Map"), titles.indexOf("&Edit") + 1);
  EXPECT_EQ(titles.indexOf("Tools"), titles.indexOf("&Map") + 1);
  QStringList commands;
  for (QAction* action : PartOf<QMenu>(*window, "mMap")->actions())
    if (!action->isSeparator()) commands << action->text();
  EXPECT_EQ(commands, QStringList({"&Resize map...", "Flip &horizontally", "Flip &vertically", "Rotate &clockwise",
                                   "Rotate &anticlockwise", "&Name the land...", "Cr&op to selection"}));
  EXPECT_EQ(PartOf<QAction>(*window, "aNameLand")->shortcut(), QKeySequence("Ctrl+Shift+N"));
  EXPECT_EQ(PartOf<QAction>(*window, "aResizeMap")->shortcut(), QKeySequence("Ctrl+Shift+R"));
  const std::vector<QAction*> all = {PartOf<QAction>(*window, "aResizeMap"), PartOf<QAction>(*window, "aFlipHorizontally"), PartOf<QAction>(*window, "aFlipVertically"),
                                     PartOf<QAction>(*window, "aRotateClockwise"), PartOf<QAction>(*window, "aRotateCounterClockwise"), PartOf<QAction>(*window, "aNameLand")};
  for (QAction* action : all) EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
  MakeBlankMap(5, 4);
  for (QAction* action : all) EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
  // Alt+M, then the item's letter, as a person reaches it from the keyboard.
  QApplication::setActiveWindow(window.get());
  QTest::keyClick(window.get(), Qt::Key_M, Qt::AltModifier);
  ASSERT_TRUE(PartOf<QMenu>(*window, "mMap")->isVisible());
  QTest::keyClick(PartOf<QMenu>(*window, "mMap"), Qt::Key_A);
  EXPECT_EQ(window->UndoStack().text(window->UndoStack().index() - 1), "Rotate map anticlockwise");
  EXPECT_EQ(window->CurrentProject().Map.Width, 4);
  PartOf<QAction>(*window, "aUndo")->trigger();
  // Undoing the blank map leaves no map: nothing to transform.
  PartOf<QAction>(*window, "aUndo")->trigger();
  EXPECT_FALSE(PartOf<QAction>(*window, "aRotateClockwise")->isEnabled());
}

}  // namespace
}  // namespace mireforge::testing
