// At a device pixel ratio of 2 the grid, the overview and the icons are drawn
// at device pixels. The check runs in a child process started with
// QT_SCALE_FACTOR=2, as the ratio is fixed when the application starts.
#include <QAction>
#include <QDockWidget>
#include <QProcess>
#include <QStatusBar>
#include <QToolButton>

#include "app/main_window/window_parts.h"
#include "app/navigation/overview_map.h"
#include "app/grid/terrain_palette.h"
#include "app/grid/tile_images.h"
#include "app/app_test_support.h"
#include "formats/preview_image.h"

namespace mireforge::testing {
namespace {

constexpr const char* ChildVariable = "MIREFORGE_HIGH_DPI_CHILD";

TEST(HighDpi, SharpAtDevicePixelRatioTwo) {
  if (qEnvironmentVariableIsSet(ChildVariable)) GTEST_SKIP() << "the child runs the check itself";
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_SCALE_FACTOR", "2");
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert(ChildVariable, "1");
  child.setProcessEnvironment(environment);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=HighDpiChild.*"});
  ASSERT_TRUE(child.waitForFinished(120000));
  const QString output = QString::fromUtf8(child.readAll());
  EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
  EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

class HighDpiChild : public MainWindowTest {};

TEST_F(HighDpiChild, GridOverviewAndIconsAtDevicePixels) {
  if (!qEnvironmentVariableIsSet(ChildVariable)) GTEST_SKIP() << "runs in the child process of HighDpi";
  Start();
  ASSERT_DOUBLE_EQ(window->devicePixelRatioF(), 2.0);
  MakeBlankMap(100, 80, Forest);
  PartOf<QAction>(*window, ("aTileSize" + std::to_string(3)).c_str())->trigger();  // 16 x 16: 32 x 32 device pixels, the artwork's own size
  QApplication::processEvents();

  // A cell of the grid shows its tile's own 32 x 32 pixels, not a 16-pixel copy enlarged.
  const QImage grid = PartOf<MapGridView>(*window, "DG")->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(grid.devicePixelRatio(), 2.0);
  const QImage tile = LoadTileArtwork().terrain[Forest].convertToFormat(QImage::Format_RGB32);
  int differing = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) differing += grid.pixel(2 * 32 + x, 2 * 32 + y) != tile.pixel(x, y);
  EXPECT_EQ(differing, 0);
  // The edge between the frozen-wastes frame and the forest is a clean cut.
  const QImage wastes = LoadTileArtwork().terrain[FrozenWastes].convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < 32; ++y) {
    EXPECT_EQ(grid.pixel(31, 32 + y), wastes.pixel(31, y));
    EXPECT_EQ(grid.pixel(32, 32 + y), tile.pixel(0, y));
  }

  // The overview draws each cell as whole device pixels of its preview colour.
  OverviewMap* overview = PartOf<OverviewMap>(*window, "overview");
  const QImage picture = overview->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const int side = overview->CellPixels();
  ASSERT_GE(side, 1);
  const QRgb forest = ColorFromBgr(static_cast<std::int32_t>(PreviewPalette[Forest])).rgb();
  const QRgb frozen = ColorFromBgr(static_cast<std::int32_t>(PreviewPalette[FrozenWastes])).rgb();
  // Row 60 and columns 97 to 99 lie beyond the frame of the part the grid shows.
  ASSERT_LT(overview->VisibleArea().bottom(), 60);
  // The map sits in the middle of the overview.
  const QPoint origin = (overview->CellsRect(QRect(0, 0, 1, 1)).topLeft() * overview->devicePixelRatioF()).toPoint();
  const int y = origin.y() + 60 * side;
  for (int x = origin.x() + 97 * side; x < origin.x() + 100 * side; ++x)
    EXPECT_EQ(picture.pixel(x, y) | 0xFF000000u, x < origin.x() + 99 * side ? forest : frozen) << "device column " << x;

  // Icons come with pixels for the doubled size.
  const QPixmap icon = PartOf<QAction>(*window, "aPaint")->icon().pixmap(QSize(24, 24), 2.0);
  EXPECT_EQ(icon.size(), QSize(48, 48));
  // The terrain palette's tiles: each pixel of the artwork a square of four, none blended.
  auto* button = PartOf<TerrainPalette>(*window, "twPalette")->findChild<QToolButton*>(QString("palTerrain%1").arg(Forest));
  ASSERT_NE(button, nullptr);
  const QImage palette = button->icon().pixmap(QSize(32, 32), 2.0).toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(palette.size(), QSize(64, 64));
  int blurred = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) blurred += palette.pixel(x, y) != tile.pixel(x / 2, y / 2);
  EXPECT_EQ(blurred, 0);

  // The layout holds: the docks and the grid side by side, none squeezed away.
  const QRect grid_area = PartOf<MapGridView>(*window, "DG")->geometry();
  EXPECT_GT(grid_area.width(), 100);
  for (QDockWidget* dock : {PartOf<QDockWidget>(*window, "twDesc"), PartOf<QDockWidget>(*window, "twTerrain"), PartOf<QDockWidget>(*window, "twDomains"), PartOf<QDockWidget>(*window, "twOverview")}) {
    ASSERT_TRUE(dock->isVisible());
    EXPECT_FALSE(dock->geometry().intersects(grid_area)) << dock->windowTitle().toStdString();
    EXPECT_GT(dock->width(), 40) << dock->windowTitle().toStdString();
  }
}

}  // namespace
}  // namespace mireforge::testing
