// Painting, Fill, blank map, the editors, the panels following the grid, and
// undo and redo.
#include <QTableView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <QToolButton>
#include <QTreeView>
#include <QStatusBar>

#include "app/main_window/window_parts.h"
#include "app/tools/map_tools.h"
#include "app/panels/description_model.h"
#include "app/dialogs/editor_dialogs.h"
#include "app/dialogs/small_forms.h"
#include "app/grid/terrain_palette.h"
#include "app/grid/tile_images.h"
#include "app/app_test_support.h"
#include "app/real_input.h"
#include "formats/midnight_map.h"

namespace mireforge::testing {
namespace {

class EditingTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Start();
    MakeBlankMap(10, 8, Plains);
    window->CurrentProject().ProjectSaved = true;
    window->UndoStack().setClean();
    base = window->UndoStack().count();  // the blank map is a step of its own
  }

  int base = 0;

  // Clicks the first entry and Ctrl+clicks the others: the last one clicked is focused,
  // and its cell, as a click on the panel does, becomes the grid's current cell.
  void SelectEntries(const std::vector<int>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i)
      ClickRow(PartOf<QTableView>(*window, "DescVT"), PartOf<DescriptionModel>(*window, "descModel")->index(rows[i], 0), i == 0 ? Qt::NoModifier : Qt::ControlModifier);
  }

  void AddDomain(int number, const QString& name) {
    window->CurrentProject().Domains.Slots[number] = {0x00FF00, name.toStdString()};
    window->RebuildDomainPanel();
  }
};

TEST_F(EditingTest, PaintingWithoutChosenTerrainChangesNothing) {
  PartOf<QAction>(*window, "aPaint")->trigger();
  Stroke({{2, 2}, {3, 2}});
  EXPECT_EQ(Terrain(2, 2), Plains);
  EXPECT_TRUE(window->CurrentProject().ProjectSaved);
  EXPECT_EQ(window->UndoStack().count(), base);
}

TEST_F(EditingTest, StrokeSparesBorderRingAndIsOneUndoStep) {
  window->ChooseTerrain(Mountains);
  PartOf<QAction>(*window, "aPaint")->trigger();
  Item(3, 1).Text = "typed";
  // Across the whole second row, border cells included.
  std::vector<QPoint> cells;
  for (int x = 0; x < 10; ++x) cells.push_back({x, 1});
  cells.push_back({9, 0});
  Stroke(cells);
  EXPECT_EQ(Terrain(0, 1), FrozenWastes);
  EXPECT_EQ(Terrain(9, 1), FrozenWastes);
  EXPECT_EQ(Terrain(9, 0), FrozenWastes);
  for (int x = 1; x <= 8; ++x) {
    EXPECT_EQ(Terrain(x, 1), Mountains) << x;
    EXPECT_EQ(Item(x, 1).Text, "mountains") << x;
    EXPECT_EQ(window->CurrentProject().Map.TerrainRow(1)[x], Mountains) << x;
  }
  EXPECT_FALSE(window->CurrentProject().ProjectSaved);
  EXPECT_EQ(window->UndoStack().count(), base + 1);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentColumn(), 9);  // the current cell followed the pointer
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentRow(), 0);

  PartOf<QAction>(*window, "aUndo")->trigger();
  for (int x = 1; x <= 8; ++x) EXPECT_EQ(Terrain(x, 1), Plains) << x;
  EXPECT_EQ(Item(3, 1).Text, "typed");
  EXPECT_EQ(window->CurrentProject().Map.TerrainRow(1)[3], Plains);
  EXPECT_TRUE(window->CurrentProject().ProjectSaved);  // back at the saved state

  PartOf<QAction>(*window, "aRedo")->trigger();
  EXPECT_EQ(Terrain(5, 1), Mountains);
  EXPECT_FALSE(window->CurrentProject().ProjectSaved);

  // A second stroke is a second step.
  Stroke({{4, 4}});
  EXPECT_EQ(window->UndoStack().count(), base + 2);
}

TEST_F(EditingTest, PaintingModesExcludeEachOther) {
  PartOf<QAction>(*window, "aPaint")->trigger();
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->Display(), CellDisplay::Terrain);
  PartOf<QAction>(*window, "aPaintDom")->trigger();
  EXPECT_FALSE(PartOf<QAction>(*window, "aPaint")->isChecked());
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->Display(), CellDisplay::Domain);
  PartOf<QAction>(*window, "aPaintDom")->trigger();  // off: domain colours stay on screen
  EXPECT_FALSE(PartOf<QAction>(*window, "aPaintDom")->isChecked());
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->Display(), CellDisplay::Domain);
  PartOf<QAction>(*window, "aPaint")->trigger();
  PartOf<QAction>(*window, "aPaint")->trigger();
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->Display(), CellDisplay::Terrain);
  EXPECT_FALSE(PartOf<QAction>(*window, "aPaint")->isChecked());
}

TEST_F(EditingTest, DomainPaintingUsesFocusedDomain) {
  AddDomain(4, "North");
  PartOf<QAction>(*window, "aPaintDom")->trigger();
  Stroke({{2, 2}});  // no domain focused
  EXPECT_EQ(Item(2, 2).Domain, 0);
  ClickRow(PartOf<QTreeView>(*window, "DomainVT"), PartOf<DomainModel>(*window, "domainModel")->index(0, 0));
  EXPECT_EQ(window->ActiveDomain(), 4);
  Stroke({{2, 2}, {3, 2}, {0, 2}});
  EXPECT_EQ(Item(2, 2).Domain, 4);
  EXPECT_EQ(Item(3, 2).Domain, 4);
  EXPECT_EQ(Item(0, 2).Domain, 0);  // border ring
  EXPECT_EQ(Terrain(2, 2), Plains);
  EXPECT_FALSE(window->CurrentProject().ProjectSaved);
  PartOf<QAction>(*window, "aUndo")->trigger();
  EXPECT_EQ(Item(2, 2).Domain, 0);
  EXPECT_EQ(Item(3, 2).Domain, 0);
}

TEST_F(EditingTest, FillKeepsBorderAndDomainsAndUndoes) {
  AddDomain(2, "West");
  Item(4, 4).Domain = 2;
  Item(4, 5).Text = "Gard";
  OnModal<TfFill>([](TfFill* d) {
    EXPECT_EQ(d->windowTitle(), "Fill");
    EXPECT_EQ(d->cbTerrain->currentText(), "plains");
    EXPECT_EQ(d->cbTerrain->itemText(14), "mountain");
    ChooseItem(d->cbTerrain, Lake);
    ClickButton(d, "OK");
  });
  PartOf<QAction>(*window, "aFill")->trigger();
  EXPECT_EQ(Terrain(4, 4), Lake);
  EXPECT_EQ(Terrain(0, 4), FrozenWastes);
  EXPECT_EQ(Item(4, 4).Domain, 0);
  EXPECT_EQ(Item(4, 5).Text, "lake");
  EXPECT_EQ(window->CurrentProject().Domains.Name(2), "West");
  EXPECT_FALSE(window->CurrentProject().ProjectSaved);
  PartOf<QAction>(*window, "aUndo")->trigger();
  EXPECT_EQ(Terrain(4, 4), Plains);
  EXPECT_EQ(Item(4, 4).Domain, 2);
  EXPECT_EQ(Item(4, 5).Text, "Gard");
  EXPECT_EQ(window->CurrentProject().Map.TerrainRow(4)[4], Plains);
  EXPECT_TRUE(window->CurrentProject().ProjectSaved);
  PartOf<QAction>(*window, "aRedo")->trigger();
  EXPECT_EQ(Terrain(4, 4), Lake);
  EXPECT_EQ(Item(4, 5).Text, "lake");

  // Cancel changes nothing.
  OnModal<TfFill>([](TfFill* d) {
    ChooseItem(d->cbTerrain, Forest);
    ClickButton(d, "Cancel");
  });
  PartOf<QAction>(*window, "aFill")->trigger();
  EXPECT_EQ(Terrain(4, 4), Lake);
}

TEST_F(EditingTest, BlankMapSizesAndUndo) {
  MakeBlankMap(2, 2, Forest);
  EXPECT_EQ(window->CurrentProject().Map.Width, 2);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(window->CurrentProject().Map.Cells[i], FrozenWastes);
  OnModal<TfNewBlank>([](TfNewBlank* d) {
    EXPECT_EQ(d->eWidth->value(), 66);
    EXPECT_EQ(d->eHeight->value(), 63);
    EXPECT_EQ(d->eWidth->maximum(), 512);
    EXPECT_EQ(d->eHeight->minimum(), 1);
    d->reject();
  });
  PartOf<QAction>(*window, "aNewBlank")->trigger();
  EXPECT_EQ(window->CurrentProject().Map.Width, 2);
  PartOf<QAction>(*window, "aUndo")->trigger();
  EXPECT_EQ(window->CurrentProject().Map.Width, 10);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->Columns(), 10);
  EXPECT_EQ(window->StatusText(0), "10x8");
  EXPECT_EQ(PartOf<DescriptionModel>(*window, "descModel")->rowCount(), 80);
}

TEST_F(EditingTest, SetDescriptionForSeveralEntriesWithHistory) {
  SelectEntries({11, 12, 13});
  OnModal<TfSetName>([](TfSetName* d) {
    EXPECT_EQ(d->windowTitle(), "Set location description");
    EXPECT_EQ(d->Text(), "plains");
    EXPECT_EQ(d->lDomain->text(), "[0] ");
    d->cbDescription->setEditText("Lith of Gloom");
    d->accept();
  });
  PartOf<QAction>(*window, "aSetName")->trigger();
  for (int x : {1, 2, 3}) EXPECT_EQ(Item(x, 1).Text, "Lith of Gloom");
  EXPECT_EQ(Item(4, 1).Text, "plains");
  EXPECT_FALSE(window->CurrentProject().ProjectSaved);
  for (const char* text : {"Anvil", "Lith of Gloom"}) {
    OnModal<TfSetName>([text](TfSetName* d) {
      d->cbDescription->setEditText(text);
      d->accept();
    });
    PartOf<QAction>(*window, "aSetName")->trigger();
  }
  EXPECT_EQ(PartOf<TfSetName>(*window, "fSetName")->History(), QStringList({"Anvil", "Lith of Gloom"}));
  // Cancel changes nothing.
  OnModal<TfSetName>([](TfSetName* d) {
    d->cbDescription->setEditText("Nope");
    d->reject();
  });
  PartOf<QAction>(*window, "aSetName")->trigger();
  EXPECT_EQ(Item(1, 1).Text, "Lith of Gloom");
  PartOf<QAction>(*window, "aUndo")->trigger();
  PartOf<QAction>(*window, "aUndo")->trigger();
  EXPECT_EQ(Item(1, 1).Text, "Lith of Gloom");
  PartOf<QAction>(*window, "aUndo")->trigger();
  EXPECT_EQ(Item(2, 1).Text, "plains");
}

// Texts typed and confirmed with OK are listed alphabetically, whatever their case.
TEST_F(EditingTest, DescriptionHistoryIsAlphabeticalWithoutRegardToCase) {
  SelectEntries({11});
  for (const char* text : {"Mid", "Zed", "apple", "mid", "Zed"}) {
    OnModal<TfSetName>([text](TfSetName* d) {
      d->cbDescription->lineEdit()->selectAll();
      QTest::keyClicks(d->cbDescription->lineEdit(), text);
      ClickButton(d, "OK");
    });
    PressKey(window.get(), Qt::Key_D, Qt::ControlModifier);
  }
  EXPECT_EQ(Item(1, 1).Text, "Zed");
  EXPECT_EQ(PartOf<TfSetName>(*window, "fSetName")->History(), QStringList({"apple", "Mid", "mid", "Zed"}));
  // Return in the box keeps the case typed, though the history holds the text in another case.
  OnModal<TfSetName>([](TfSetName* d) {
    d->cbDescription->lineEdit()->selectAll();
    QTest::keyClicks(d->cbDescription->lineEdit(), "zED");
    QTest::keyClick(d->cbDescription->lineEdit(), Qt::Key_Return);
  });
  PressKey(window.get(), Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(Item(1, 1).Text, "zED");
}

// Fill and the blank map list the terrains with ILTerrain's tiles: grey in
// grayscale, never the retro ones.
TEST_F(EditingTest, TerrainDropDownsShowTheTerrainTilesUnderRetroLook) {
  const TileImages tiles(LoadTileArtwork());
  const auto icon = [](QComboBox* combo, int code) {
    return combo->itemIcon(code).pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
  };
  const auto expect = [&](TileStyle style, const char* look) {
    SCOPED_TRACE(look);
    QList<QImage> fill, blank;
    const auto read = [&](QComboBox* combo, QList<QImage>& shown) {
      for (int code = 0; code < TerrainCount; ++code) shown << icon(combo, code);
    };
    OnModal<TfFill>([&](TfFill* d) {
      read(d->cbTerrain, fill);
      ClickButton(d, "Cancel");
    });
    PressKey(window.get(), Qt::Key_F, Qt::ControlModifier);
    OnModal<TfNewBlank>([&](TfNewBlank* d) {
      read(d->cbTerrain, blank);
      ClickButton(d, "Cancel");
    });
    PartOf<QAction>(*window, "aNewBlank")->trigger();
    ASSERT_EQ(fill.size(), TerrainCount);
    ASSERT_EQ(blank.size(), TerrainCount);
    for (int code = 0; code < TerrainCount; ++code) {
      const QImage tile = tiles.Tile(style, code).convertToFormat(QImage::Format_ARGB32);
      EXPECT_EQ(fill[code], tile) << "Fill, " << code;
      EXPECT_EQ(blank[code], tile) << "blank map, " << code;
    }
  };
  PressKey(window.get(), Qt::Key_R, Qt::ControlModifier);
  ASSERT_TRUE(PartOf<QAction>(*window, "aRetro")->isChecked());
  expect(TileStyle::Colour, "retro");
  PressKey(window.get(), Qt::Key_B, Qt::ControlModifier);
  ASSERT_TRUE(PartOf<QAction>(*window, "aGrayscale")->isChecked());
  expect(TileStyle::Grey, "retro and grayscale");
}

TEST_F(EditingTest, SetDomainEditorNamesDomainAndKeepsCheckBoxAfterCancel) {
  SelectEntries({22, 23});
  OnModal<TfSetDom>([](TfSetDom* d) {
    EXPECT_EQ(d->windowTitle(), "Set location domain");
    EXPECT_EQ(d->lDescription->text(), "plains");
    EXPECT_EQ(d->eDomain->value(), 0);
    EXPECT_EQ(d->eDomain->maximum(), 255);
    TypeInto(d->eDomain, "9");
    Tick(d->cbChange, true);
    TypeInto(d->eName, "Ice Realm");
    d->swatch->SetColor(0x00FFFF);
    d->accept();
  });
  PartOf<QAction>(*window, "aSetDomain")->trigger();
  EXPECT_EQ(Item(2, 2).Domain, 9);
  EXPECT_EQ(Item(3, 2).Domain, 9);
  EXPECT_EQ(window->CurrentProject().Domains.Name(9), "Ice Realm");
  EXPECT_EQ(window->CurrentProject().Domains.Color(9), 0x00FFFF);
  EXPECT_FALSE(PartOf<TfSetDom>(*window, "fSetDom")->cbChange->isChecked());  // OK clears it
  EXPECT_EQ(PartOf<DomainModel>(*window, "domainModel")->rowCount(), 1);
  EXPECT_EQ(PartOf<DescriptionModel>(*window, "descModel")->data(PartOf<DescriptionModel>(*window, "descModel")->index(22, 1), Qt::DisplayRole).toString(), "[9] Ice Realm");

  OnModal<TfSetDom>([](TfSetDom* d) {
    Tick(d->cbChange, true);
    ClickButton(d, "Cancel");
  });
  PartOf<QAction>(*window, "aSetDomain")->trigger();
  EXPECT_TRUE(PartOf<TfSetDom>(*window, "fSetDom")->cbChange->isChecked());  // kept after Cancel
  EXPECT_EQ(Item(2, 2).Domain, 9);

  PartOf<QAction>(*window, "aUndo")->trigger();
  EXPECT_EQ(Item(2, 2).Domain, 0);
  EXPECT_EQ(window->CurrentProject().Domains.Name(9), "");
  EXPECT_EQ(PartOf<DomainModel>(*window, "domainModel")->rowCount(), 0);
}

TEST_F(EditingTest, RememberLastInputProposesLastValues) {
  OnModal<TfOptions>([](TfOptions* d) {
    Tick(d->cbRememberLastInput, true);
    ClickButton(d, "OK");
  });
  PartOf<QAction>(*window, "aOptions")->trigger();
  AddDomain(5, "East");
  SelectEntries({30});
  Item(0, 3).Domain = 5;
  OnModal<TfSetDom>([](TfSetDom* d) {
    EXPECT_EQ(d->eDomain->value(), 0);  // nothing confirmed yet
    EXPECT_EQ(d->eName->text(), "East");  // the entry's own domain
    TypeInto(d->eDomain, "7");
    ClickButton(d, "OK");
  });
  PartOf<QAction>(*window, "aSetDomain")->trigger();
  SelectEntries({31});
  OnModal<TfSetDom>([](TfSetDom* d) {
    EXPECT_EQ(d->eDomain->value(), 7);
    d->reject();
  });
  PartOf<QAction>(*window, "aSetDomain")->trigger();
  OnModal<TfSetName>([](TfSetName* d) {
    EXPECT_EQ(d->Text(), "");
    d->reject();
  });
  PartOf<QAction>(*window, "aSetName")->trigger();
}

TEST_F(EditingTest, NewAndEditDomainDialog) {
  for (int n : {0, 3, 7}) AddDomain(n, QString("D%1").arg(n));
  ClickRow(PartOf<QTreeView>(*window, "DomainVT"), PartOf<DomainModel>(*window, "domainModel")->index(1, 0));
  OnModal<TfNewDomain>([](TfNewDomain* d) {
    EXPECT_EQ(d->windowTitle(), "New domain");
    EXPECT_EQ(d->lNumber->text(), "New &domain:");
    EXPECT_EQ(d->Number(), 8);
    EXPECT_TRUE(d->eNumber->isEnabled());
    EXPECT_FALSE(d->bOK->isEnabled());
    TypeInto(d->eName, "Eight");
    EXPECT_TRUE(d->bOK->isEnabled());
    d->accept();
  });
  PartOf<QAction>(*window, "aNewDomain")->trigger();
  EXPECT_EQ(window->CurrentProject().Domains.Name(8), "Eight");
  EXPECT_EQ(window->CurrentProject().Domains.Color(8), 0xFFFFFF);
  EXPECT_EQ(PartOf<DomainModel>(*window, "domainModel")->rowCount(), 4);
  EXPECT_FALSE(window->CurrentProject().ProjectSaved);
  EXPECT_EQ(window->ActiveDomain(), 3);  // the focus stayed on the same domain

  OnModal<TfNewDomain>([](TfNewDomain* d) {
    EXPECT_EQ(d->windowTitle(), "Edit domain");
    EXPECT_EQ(d->lNumber->text(), "This &domain:");
    EXPECT_EQ(d->Number(), 3);
    EXPECT_FALSE(d->eNumber->isEnabled());
    EXPECT_EQ(d->eName->text(), "D3");
    TypeInto(d->eName, "Three");
    d->accept();
  });
  PartOf<QAction>(*window, "aEditDomain")->trigger();
  EXPECT_EQ(window->CurrentProject().Domains.Name(3), "Three");
  PartOf<QAction>(*window, "aUndo")->trigger();
  EXPECT_EQ(window->CurrentProject().Domains.Name(3), "D3");

  AddDomain(255, "Last");
  OnModal<TfNewDomain>([](TfNewDomain* d) {
    EXPECT_EQ(d->Number(), 255);
    d->reject();
  });
  PartOf<QAction>(*window, "aNewDomain")->trigger();
  EXPECT_EQ(window->CurrentProject().Domains.Name(255), "Last");
}

TEST_F(EditingTest, GridAndDescriptionPanelFollowEachOther) {
  window->activateWindow();
  QApplication::setActiveWindow(window.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  PartOf<MapGridView>(*window, "DG")->SetCurrentCell(4, 3);
  EXPECT_EQ(PartOf<QTableView>(*window, "DescVT")->currentIndex().row(), 34);
  EXPECT_EQ(PartOf<QTableView>(*window, "DescVT")->selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(window->StatusText(4), "4");
  EXPECT_EQ(window->StatusText(5), "3");
  EXPECT_EQ(window->StatusText(7), "plains");

  // Panel to grid: the cell becomes current and the panel keeps its selection.
  SelectEntries({62, 61});
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentColumn(), 1);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentRow(), 6);
  EXPECT_EQ(PartOf<QTableView>(*window, "DescVT")->selectionModel()->selectedRows().size(), 2);
  // The next real grid click is handled again.
  PartOf<MapGridView>(*window, "DG")->SetCurrentCell(2, 2);
  EXPECT_EQ(PartOf<QTableView>(*window, "DescVT")->currentIndex().row(), 22);
}

// The description list keeps pictures of the items it drew. Whatever changes how an item
// looks (its text, its terrain, the selection, the list's colours) draws it anew, pixel
// for pixel as the style draws it, and an undo shows again the very pixels of before.
TEST_F(EditingTest, DescriptionListDrawsAsTheStyleThroughEditsAndUndo) {
  auto* list = PartOf<QTableView>(*window, "DescVT");
  const auto expectStyled = [list](const char* when) { return ExpectDrawnAsTheStyle(list, when); };
  SelectEntries({12, 14});
  QApplication::processEvents();
  const QImage before = expectStyled("two rows selected");
  OnModal<TfSetName>([](TfSetName* d) {
    d->cbDescription->setEditText("Lith of Gloom");
    d->accept();
  });
  PartOf<QAction>(*window, "aSetName")->trigger();
  QApplication::processEvents();
  EXPECT_FALSE(expectStyled("described") == before);
  PartOf<QAction>(*window, "aUndo")->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(expectStyled("undone") == before);
  // Painting changes the rows' terrain icons as well as their texts.
  window->ChooseTerrain(Mountains);
  PartOf<QAction>(*window, "aPaint")->trigger();
  Stroke({{1, 1}, {2, 1}, {3, 1}});
  QApplication::processEvents();
  EXPECT_FALSE(expectStyled("painted") == before);
  QPalette colours = list->palette();
  colours.setColor(QPalette::Base, Qt::darkBlue);
  colours.setColor(QPalette::AlternateBase, Qt::darkGreen);
  colours.setColor(QPalette::Text, Qt::yellow);
  list->setPalette(colours);
  QApplication::processEvents();
  expectStyled("other colours");
}

// After an edit the list repaints every row in sight whose cell changed, whether the
// edit changed all of them (the interior filled, and that undone) or one (a brush dab).
TEST_F(EditingTest, DescriptionListRepaintsTheChangedRowsInSight) {
  constexpr int Width = 60;  // rows in sight that all lie inside the frozen border
  MakeBlankMap(Width, 8, Plains);
  auto* list = PartOf<QTableView>(*window, "DescVT");
  auto* tools = PartOf<MapTools>(*window, "tools");
  const auto& rows = window->CurrentProject().Descriptions.DescriptionNodes;
  list->scrollTo(list->model()->index(Width + 1, 0), QAbstractItemView::PositionAtTop);
  std::vector<QPoint> interior;
  for (int y = 1; y < 7; ++y)
    for (int x = 1; x < Width - 1; ++x) interior.emplace_back(x, y);
  const auto click = [&](Tool tool, int terrain, QPoint cell) {
    return [=, this] {
      tools->aTool[static_cast<int>(tool)]->trigger();
      window->ChooseTerrain(terrain);
      QApplication::processEvents();
      Stroke({cell});
    };
  };
  const auto undo = [this] { PartOf<QAction>(*window, "aUndo")->trigger(); };
  const std::tuple<std::function<void()>, int, std::vector<QPoint>> steps[] = {
      {click(Tool::Bucket, Forest, {1, 1}), Forest, interior},
      {undo, Plains, interior},
      {click(Tool::Brush, Mountains, {2, 1}), Mountains, {{2, 1}}}};
  for (const auto& [step, terrain, changed] : steps) {
    QApplication::processEvents();
    const EventCounter paints(list->viewport(), QEvent::Paint);
    step();
    QApplication::processEvents();
    int inSight = 0;
    for (const QPoint& cell : changed) {
      ASSERT_EQ(Terrain(cell.x(), cell.y()), terrain);
      for (int column = 0; column < 3; ++column) {
        const QModelIndex item = list->model()->index(static_cast<int>(rows[cell.x() + cell.y() * Width]), column);
        const QRect shown = list->visualRect(item) & list->viewport()->rect();
        if (shown.isEmpty()) continue;
        ++inSight;
        EXPECT_TRUE(paints.painted.contains(shown)) << "row " << item.row() << " column " << column;
      }
    }
    EXPECT_GT(inSight, 0);
  }
}

TEST_F(EditingTest, FarDescriptionCentresGrid) {
  MakeBlankMap(200, 150);
  window->resize(800, 600);
  QApplication::processEvents();
  const int visibleColumns = PartOf<MapGridView>(*window, "DG")->VisibleColumns(), visibleRows = PartOf<MapGridView>(*window, "DG")->VisibleRows();
  SelectEntries({120 * 200 + 150});
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->LeftColumn(), 150 - visibleColumns / 2);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->TopRow(), 120 - visibleRows / 2);
  SelectEntries({1 * 200 + 2});
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->LeftColumn(), 0);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->TopRow(), 0);
}

TEST_F(EditingTest, InvertRowColumnRedrawsPositionsAtOnce) {
  const auto position = [&] { return PartOf<DescriptionModel>(*window, "descModel")->data(PartOf<DescriptionModel>(*window, "descModel")->index(21, 0), Qt::DisplayRole); };
  EXPECT_EQ(position().toString(), "[1,2]");
  OnModal<TfOptions>([](TfOptions* d) {
    Tick(d->cbInvertRowCol, true);
    ClickButton(d, "OK");
  });
  PartOf<QAction>(*window, "aOptions")->trigger();
  EXPECT_EQ(position().toString(), "[2,1]");
  OnModal<TfOptions>([](TfOptions* d) {
    EXPECT_TRUE(d->cbInvertRowCol->isChecked());
    Tick(d->cbInvertRowCol, false);
    ClickButton(d, "Cancel");  // Cancel stores nothing
  });
  PartOf<QAction>(*window, "aOptions")->trigger();
  EXPECT_TRUE(window->InvertRowCol());
}

TEST_F(EditingTest, DroppedFileOpens) {
  MapGrid grid;
  grid.ResizeMap(3, 3);
  grid.FillTerrain(Keep, true);
  WriteMidnightMap(File("dropped.php").toStdString(), grid, false);
  window->CurrentProject().ProjectSaved = true;
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(File("dropped.php"))});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &drop);
  EXPECT_EQ(window->CurrentProject().Map.Width, 3);
  EXPECT_EQ(Terrain(1, 1), Keep);
  EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(EditingTest, BothPalettesChooseTheTerrainWithoutStartingToPaint) {
  EXPECT_EQ(window->ActiveTerrain(), -1);
  EXPECT_EQ(PartOf<TerrainPalette>(*window, "twPalette")->Button(Mountains)->toolTip(), "mountain");
  EXPECT_EQ(PartOf<TerrainPalette>(*window, "palTerrain")->Button(NoTerrain)->toolTip(), "(none)");
  PartOf<TerrainPalette>(*window, "twPalette")->Button(Mountains)->click();
  EXPECT_EQ(window->ActiveTerrain(), Mountains);
  PartOf<TerrainPalette>(*window, "palTerrain")->Button(Lake)->click();
  EXPECT_EQ(window->ActiveTerrain(), Lake);
  EXPECT_FALSE(PartOf<QAction>(*window, "aPaint")->isChecked());
  auto* picture = window->statusBar()->findChildren<QLabel*>().at(3);
  EXPECT_FALSE(picture->pixmap().isNull());
}

TEST_F(EditingTest, ContextCommandRules) {
  window->RebuildDomainPanel();
  EXPECT_TRUE(PartOf<QAction>(*window, "aSetName")->isEnabled());
  EXPECT_FALSE(PartOf<QAction>(*window, "aEditDomain")->isEnabled());
  AddDomain(1, "One");
  EXPECT_TRUE(PartOf<QAction>(*window, "aEditDomain")->isEnabled());
  EXPECT_TRUE(PartOf<QAction>(*window, "aNewDomain")->isEnabled());
}

TEST_F(EditingTest, TileSizeRadioGroupAndZoom) {
  PartOf<QAction>(*window, ("aTileSize" + std::to_string(6)).c_str())->trigger();
  EXPECT_EQ(window->TileSize(), 8);
  EXPECT_EQ(window->StatusText(2), "8x8");
  for (int i = 0; i < 6; ++i) EXPECT_FALSE(PartOf<QAction>(*window, ("aTileSize" + std::to_string(i)).c_str())->isChecked());
  QWheelEvent wheel(QPointF(10, 10), PartOf<MapGridView>(*window, "DG")->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(PartOf<MapGridView>(*window, "DG")->viewport(), &wheel);
  EXPECT_EQ(window->TileSize(), 10);
  EXPECT_TRUE(PartOf<QAction>(*window, ("aTileSize" + std::to_string(5)).c_str())->isChecked());
}

}  // namespace
}  // namespace mireforge::testing
