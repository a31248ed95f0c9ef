// The terrain and domain statistics windows.
#include <QCheckBox>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <QLabel>
#include <QTreeWidget>

#include "app/main_window/window_parts.h"
#include "app/dialogs/share_chart.h"
#include "app/dialogs/statistics_dialogs.h"
#include "app/grid/tile_images.h"
#include "app/app_test_support.h"
#include "app/real_input.h"
#include "formats/preview_image.h"
#include "model/descriptions.h"
#include "project/project.h"

namespace mireforge::testing {
namespace {

Project BlankProject(int width, int height) {
  Project project;
  project.Map.ResizeMap(width, height);
  project.Map.FillTerrain(FrozenWastes, true);
  project.Map.FillTerrain(Plains, false);
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  return project;
}

QStringList Row(const QTreeWidget* list, int row) {
  const QTreeWidgetItem* item = list->topLevelItem(row);
  return {item->text(0), item->text(1), item->text(2)};
}

TEST(StatisticsTest, TerrainStatisticsOfABlankMap) {
  const Project project = BlankProject(66, 63);
  TileImages tiles(LoadTileArtwork());
  TfStats stats(project, tiles);
  EXPECT_EQ(stats.windowTitle(), "Terrain statistics");
  EXPECT_EQ(stats.lTotal->text(), "Total: 4158");
  ASSERT_EQ(stats.StatsVT->topLevelItemCount(), 16);
  EXPECT_EQ(Row(stats.StatsVT, 0), (QStringList{" plains", "3904", "93.89 %"}));
  EXPECT_EQ(Row(stats.StatsVT, 10), (QStringList{" frozen wastes", "254", "6.11 %"}));
  for (int code : {1, 2, 6, 9, 14, 15}) EXPECT_EQ(Row(stats.StatsVT, code).mid(1), (QStringList{"0", "0.00 %"}));
  EXPECT_EQ(stats.StatsVT->topLevelItem(14)->text(0), " mountains");
  EXPECT_EQ(stats.StatsVT->visualItemRect(stats.StatsVT->topLevelItem(1)).height(), 34);
  EXPECT_TRUE(stats.StatsVT->alternatingRowColors()) << "stripes from the palette, not a fixed grey";
  EXPECT_EQ(stats.StatsVT->topLevelItem(1)->background(0).style(), Qt::NoBrush);
  EXPECT_FALSE(stats.StatsVT->topLevelItem(0)->icon(0).isNull());
}

TEST(StatisticsTest, DomainStatisticsCountEveryDomainWithCells) {
  Project project = BlankProject(66, 63);
  project.ProjectSaved = true;
  {
    TfDomains stats(project);
    EXPECT_EQ(stats.windowTitle(), "Domain statistics");
    ASSERT_EQ(stats.DomainVT->topLevelItemCount(), 1);
    EXPECT_EQ(Row(stats.DomainVT, 0), (QStringList{"[0] ", "4158", "100.00 %"}));
    EXPECT_EQ(project.Domains.Color(0), 1);
    EXPECT_TRUE(project.ProjectSaved);
    EXPECT_EQ(stats.DG->SquareSize(), 5);
    EXPECT_TRUE(stats.cbShowGrid->isChecked());
    stats.cbShowGrid->click();
    EXPECT_FALSE(stats.DG->GridLines());
  }
  // Domains with cells are listed in ascending order, named or not.
  project.Domains.Slots[7].Name = "North";
  project.CellDescription(1, 1)->Domain = 7;
  project.CellDescription(2, 1)->Domain = 7;
  project.CellDescription(3, 1)->Domain = 3;
  const std::vector<TStatItem> items = DomainStatistics(project);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].Count, 4155);
  EXPECT_EQ(items[1].Name, "[3] ");
  EXPECT_EQ(items[2].Name, "[7] North");
  EXPECT_EQ(items[2].Share, "0.05 %");
}

TEST(StatisticsTest, MiniatureSquareSize) {
  struct Case {
    int width, height, square;
  };
  for (const Case c : {Case{66, 63, 5}, Case{512, 512, 0}, Case{10, 5, 38}, Case{1, 1, 397}, Case{100, 20, 2}})
    EXPECT_EQ(MiniatureSquareSize(c.width, c.height), c.square) << c.width << "x" << c.height;
}

// Each column at least as wide as its header and its widest entry, and the
// list wide enough for its columns.
void ExpectColumnsFit(QTreeWidget* list) {
  int total = 0;
  for (int column = 0; column < 3; ++column) {
    SCOPED_TRACE(column);
    // The widest entry as the view measures it (the same call is protected in QTreeView).
    EXPECT_GE(list->columnWidth(column), static_cast<const QAbstractItemView*>(list)->sizeHintForColumn(column));
    EXPECT_GE(list->columnWidth(column), list->header()->sectionSizeHint(column));
    total += list->columnWidth(column);
  }
  EXPECT_LE(total, list->viewport()->width());
}

// The window in grayscale: grey tiles as in the grid, all sixteen rows in
// sight at once, and columns that show their texts whole.
TEST_F(MainWindowTest, TerrainStatisticsShowTheGridsTilesAndEveryRow) {
  Start();
  MakeBlankMap(40, 20);
  PressKey(window.get(), Qt::Key_B, Qt::ControlModifier);
  ASSERT_TRUE(PartOf<QAction>(*window, "aGrayscale")->isChecked());
  const TileImages tiles(LoadTileArtwork());
  bool shown = false;
  OnModal<TfStats>([&](TfStats* d) {
    shown = true;
    QTreeWidget* list = d->StatsVT;
    ASSERT_EQ(list->topLevelItemCount(), 16);
    EXPECT_FALSE(list->verticalScrollBar()->isVisible());
    for (int row = 0; row < 16; ++row) {
      SCOPED_TRACE(row);
      const QTreeWidgetItem* item = list->topLevelItem(row);
      EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(item))) << "row in sight";
      EXPECT_EQ(item->icon(0).pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32),
                tiles.Tile(TileStyle::Grey, row).convertToFormat(QImage::Format_ARGB32));
    }
    ExpectColumnsFit(list);
    EXPECT_TRUE(d->chart->isVisible());
    EXPECT_FALSE(d->chart->geometry().intersects(list->geometry()));
    EXPECT_EQ(Row(list, 10), (QStringList{" frozen wastes", "116", "14.50 %"}));
    // Every bar is named on its left, and a percent scale runs beneath them.
    ShareChart* chart = d->chart;
    const QImage drawn = chart->grab().toImage();
    const auto inked = [&](const QRect& area) {
      for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
          if (qGray(drawn.pixel(x, y)) < 100) return true;
      return false;
    };
    for (int row = 0; row < 16; ++row) {
      EXPECT_TRUE(inked(chart->LabelRect(row))) << "terrain name of row " << row;
      EXPECT_FALSE(chart->LabelRect(row).intersects(chart->BarRect(row).toRect()));
    }
    EXPECT_TRUE(inked(chart->ScaleRect()));
    EXPECT_EQ(chart->ScaleMarks(), (std::vector<double>{0, 25, 50, 75, 100}));
    EXPECT_NEAR(chart->BarRect(0).width() / chart->BarRect(10).width(), 684.0 / 116, 0.01);
    const QPoint middle = chart->BarRect(10).center().toPoint();
    EXPECT_EQ(drawn.pixel(middle), ColorFromBgr(static_cast<std::int32_t>(PreviewPalette[FrozenWastes])).rgb());
    QTest::keyClick(d, Qt::Key_Escape);
  });
  PartOf<QAction>(*window, "aStats")->trigger();
  EXPECT_TRUE(shown);
}

TEST_F(MainWindowTest, DomainStatisticsColumnsShowTheirTextsWhole) {
  Start();
  MakeBlankMap(40, 20);
  Project& project = window->CurrentProject();
  project.Domains.Slots[3] = {0x00FF00, "Northern marches of Ushgarak"};
  project.CellDescription(1, 1)->Domain = 3;
  bool shown = false;
  OnModal<TfDomains>([&](TfDomains* d) {
    shown = true;
    ASSERT_EQ(d->DomainVT->topLevelItemCount(), 2);
    EXPECT_EQ(Row(d->DomainVT, 1), (QStringList{"[3] Northern marches of Ushgarak", "1", "0.13 %"}));
    ExpectColumnsFit(d->DomainVT);
    QTest::keyClick(d, Qt::Key_Escape);
  });
  PartOf<QAction>(*window, "aDomStats")->trigger();
  EXPECT_TRUE(shown);
}

TEST_F(MainWindowTest, StatisticsCommandsOpenTheWindows) {
  Start();
  EXPECT_FALSE(PartOf<QAction>(*window, "aStats")->isEnabled());
  MakeBlankMap(5, 5, Forest);
  ASSERT_TRUE(PartOf<QAction>(*window, "aStats")->isEnabled());
  QString total;
  OnModal<TfStats>([&](TfStats* d) {
    total = d->lTotal->text();
    d->accept();
  });
  PartOf<QAction>(*window, "aStats")->trigger();
  EXPECT_EQ(total, "Total: 25");
  int rows = -1;
  OnModal<TfDomains>([&](TfDomains* d) {
    rows = d->DomainVT->topLevelItemCount();
    d->accept();
  });
  PartOf<QAction>(*window, "aDomStats")->trigger();
  EXPECT_EQ(rows, 1);
}

}  // namespace
}  // namespace mireforge::testing
