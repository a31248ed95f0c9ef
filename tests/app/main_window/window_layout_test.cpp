// The main window at every size from its minimum up: docks, palette, grid and
// status panels side by side without overlapping, and docks that get their
// width back when the window grows again.
#include <QTableView>
#include <QDockWidget>
#include <QHeaderView>
#include <QStatusBar>
#include <QTabBar>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include "app/main_window/window_parts.h"
#include "app/layout/window_fit.h"
#include "app/layout/status_panel.h"
#include "app/grid/terrain_palette.h"
#include "app/app_test_support.h"

namespace mireforge::testing {
namespace {

class WindowLayoutTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Start();
    MakeBlankMap(66, 63);
  }

  void ResizeTo(int width, int height) {
    window->resize(width, height);
    QApplication::processEvents();
    if (const QByteArray folder = qgetenv("MIREFORGE_LAYOUT_SHOTS"); !folder.isEmpty())
      window->grab().save(QString("%1/layout_%2x%3.png").arg(QString(folder)).arg(width).arg(height));
  }

  QRect InWindow(const QWidget* widget) const { return QRect(widget->mapTo(window.get(), QPoint()), widget->size()); }

  // The width the palette needs to show its four columns whole.
  int PaletteWidth() const { return PartOf<TerrainPalette>(*window, "twPalette")->sizeHint().width(); }

  void ExpectSensibleLayout() {
    const QRect area = window->rect();
    std::vector<std::pair<std::string, QRect>> parts = {{"grid", InWindow(PartOf<MapGridView>(*window, "DG"))},
                                                       {"status bar", InWindow(window->statusBar())}};
    for (QDockWidget* dock : {PartOf<QDockWidget>(*window, "twDesc"), PartOf<QDockWidget>(*window, "twTerrain"), PartOf<QDockWidget>(*window, "twDomains")})
      if (dock->isVisible() && !dock->isFloating()) parts.emplace_back(dock->windowTitle().toStdString(), InWindow(dock));
    for (std::size_t i = 0; i < parts.size(); ++i) {
      EXPECT_TRUE(area.contains(parts[i].second)) << parts[i].first << " inside the window";
      EXPECT_FALSE(parts[i].second.isEmpty()) << parts[i].first;
      for (std::size_t j = i + 1; j < parts.size(); ++j)
        EXPECT_FALSE(parts[i].second.intersects(parts[j].second)) << parts[i].first << " and " << parts[j].first;
    }
    // The palette's dock keeps the palette's width, so no column and no title is cut.
    EXPECT_GE(PartOf<QDockWidget>(*window, "twTerrain")->widget()->width(), PaletteWidth());
    // Whatever of the palette shows lies inside its dock.
    const QRect palette(PartOf<TerrainPalette>(*window, "twPalette")->mapTo(window.get(), PartOf<TerrainPalette>(*window, "twPalette")->visibleRegion().boundingRect().topLeft()),
                        PartOf<TerrainPalette>(*window, "twPalette")->visibleRegion().boundingRect().size());
    EXPECT_TRUE(InWindow(PartOf<QDockWidget>(*window, "twTerrain")).contains(palette));
    ExpectPanelsInPlace(*window);
    // Every menu on the bar, none behind its overflow button.
    const auto* more = window->menuBar()->findChild<QToolButton*>("qt_menubar_ext_button");
    EXPECT_TRUE(more == nullptr || !more->isVisible()) << "a menu is out of reach";
    // The grid keeps room to work in, and the docks their titles.
    EXPECT_GE(PartOf<MapGridView>(*window, "DG")->width(), GridLeastSize.width());
    EXPECT_GE(PartOf<MapGridView>(*window, "DG")->height(), GridLeastSize.height());
    for (QDockWidget* dock : window->findChildren<QDockWidget*>())
      if (dock->isVisible() && !dock->isFloating()) {
        EXPECT_GE(dock->width(), dock->fontMetrics().horizontalAdvance(dock->windowTitle()) + 24)
            << dock->windowTitle().toStdString();
      }
  }
  QSize Least() const { return window->minimumSize(); }
};

TEST_F(WindowLayoutTest, EverySizeFromTheMinimumUpLaysOutWithoutOverlaps) {
  const QSize least = Least();
  EXPECT_LE(least.width(), 1024) << "the window still fits a small screen";
  for (const QSize size : {least, least + QSize(40, 20), least.expandedTo({800, 600}), least.expandedTo({1024, 720}),
                           QSize(1600, 1000)}) {
    SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
    ResizeTo(size.width(), size.height());
    EXPECT_EQ(window->size(), size);
    ExpectSensibleLayout();
  }
}

TEST_F(WindowLayoutTest, DocksGetTheirWidthBackWhenTheWindowGrows) {
  ResizeTo(1024, 720);
  const int terrain = PartOf<QDockWidget>(*window, "twTerrain")->width();
  const int descriptions = PartOf<QDockWidget>(*window, "twDesc")->width();
  ASSERT_GE(terrain, PaletteWidth());
  ASSERT_GE(descriptions, 300);
  ResizeTo(Least().width(), Least().height());
  ASSERT_LE(PartOf<QDockWidget>(*window, "twDesc")->width(), descriptions);
  for (const QSize size : {QSize(640, 480), QSize(1024, 720)}) ResizeTo(size.width(), size.height());
  EXPECT_GE(PartOf<QDockWidget>(*window, "twTerrain")->width(), PartOf<QDockWidget>(*window, "twTerrain")->minimumSizeHint().width());
  EXPECT_EQ(PartOf<QDockWidget>(*window, "twDomains")->width(), PartOf<QDockWidget>(*window, "twTerrain")->width());
  EXPECT_GE(PartOf<QDockWidget>(*window, "twDesc")->width(), 300);
  // The dock's title is not cut.
  EXPECT_GE(PartOf<QDockWidget>(*window, "twDesc")->width(), PartOf<QDockWidget>(*window, "twDesc")->fontMetrics().horizontalAdvance("Location descriptions") + 40);
  ExpectSensibleLayout();
}

TEST_F(WindowLayoutTest, TerrainDockedOnTheRightKeepsTheDescriptionColumn) {
  ResizeTo(1024, 720);
  window->addDockWidget(Qt::RightDockWidgetArea, PartOf<QDockWidget>(*window, "twTerrain"));
  QApplication::processEvents();
  for (const QSize size : {QSize(1024, 720), Least().expandedTo({640, 480}), Least()}) {
    SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
    ResizeTo(size.width(), size.height());
    const QHeaderView* header = PartOf<QTableView>(*window, "DescVT")->horizontalHeader();
    EXPECT_GE(header->sectionSize(2), 64) << "the Description column stays";
    ExpectSensibleLayout();
  }
}

// History and Live statistics tabbed with the descriptions: whole tab titles,
// and a Domain column that shows its labels while Description keeps room.
TEST_F(WindowLayoutTest, TabbedDocksShowWholeTitlesAndDomainsTheirLabels) {
  ResizeTo(1600, 1200);
  window->CurrentProject().Domains.Slots[3] = {0x0000FF, "M\xC3\xBCnsterland"};
  window->RebuildDomainPanel();
  PartOf<QAction>(*window, "aShowHistoryWindow")->trigger();
  PartOf<QAction>(*window, "aShowStatisticsWindow")->trigger();
  QApplication::processEvents();
  QApplication::processEvents();
  int tabbed = 0;
  for (QTabBar* tabs : window->findChildren<QTabBar*>(Qt::FindDirectChildrenOnly)) {
    if (!tabs->isVisible()) continue;
    for (int i = 0; i < tabs->count(); ++i, ++tabbed)
      EXPECT_GE(tabs->tabRect(i).width(), tabs->fontMetrics().horizontalAdvance(tabs->tabText(i))) << tabs->tabText(i).toStdString();
  }
  EXPECT_EQ(tabbed, 3);
  const QHeaderView* header = PartOf<QTableView>(*window, "DescVT")->horizontalHeader();
  EXPECT_GE(header->sectionSize(1),
            PartOf<QTableView>(*window, "DescVT")->fontMetrics().horizontalAdvance(QString::fromUtf8("[3] M\xC3\xBCnsterland")));
  EXPECT_GE(header->sectionSize(2), 80) << "Description keeps room";
  ExpectSensibleLayout();
}

}  // namespace
}  // namespace mireforge::testing
