// What the grid view draws, read back from its buffer and from a paint. The
// tiles are plain colours here, so every pixel can be predicted.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>

#include "app/grid/map_grid_view.h"
#include "app/grid/tile_images.h"
#include "project/project.h"

namespace mireforge {
namespace {

QImage Solid(QRgb color, int side = 32) {
  QImage image(side, side, QImage::Format_ARGB32);
  image.fill(color);
  return image;
}

TileArtwork PlainArtwork() {
  TileArtwork art;
  for (int code = 0; code < TerrainCount; ++code) {
    art.terrain[code] = Solid(qRgb(10 * code, 200, 0));
    art.grey[code] = Solid(qRgb(100, 100, 100));
    art.retro[code] = Solid(qRgb(0, 0, 10 * code));
  }
  for (QImage& icon : art.tree) icon = Solid(qRgb(1, 2, 3), 16);
  art.ticker = Solid(qRgba(0, 0, 0, 0));
  art.ticker = art.ticker.scaled(11, 8);
  art.ticker.setPixel(0, 0, qRgb(0, 0, 0));  // one opaque pixel of the mark
  return art;
}

class GridViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    project.Map.ResizeMap(6, 5);
    project.Map.FillTerrain(FrozenWastes, true);
    project.Map.FillTerrain(Forest, false);
    BuildDefaultDescriptions(project.Descriptions, project.Map);
    project.Domains.Slots[3] = {0x0000FF, "Red"};  // red, 0x00BBGGRR
    view.resize(400, 300);
    view.SetGridSize(6, 5);
    view.SetDisplay(CellDisplay::Terrain);
  }

  QRgb Pixel(int x, int y) {
    view.RenderRect(view.viewport()->rect());
    const QRgb buffered = view.Buffer().pixel(x, y) | 0xFF000000u;
    // A paint draws straight into the picture it paints on: the very same pixels.
    const QRgb painted = view.viewport()->grab().toImage().pixel(x, y) | 0xFF000000u;
    EXPECT_EQ(painted, buffered) << "at " << x << ", " << y;
    return buffered;
  }

  Project project;
  TileImages tiles{PlainArtwork()};
  MapGridView view{project, tiles};
};

TEST_F(GridViewTest, TilesAtTheirPlaceWithGridLinesBetween) {
  EXPECT_EQ(Pixel(32 + 5, 32 + 5), qRgb(20, 200, 0));   // forest
  EXPECT_EQ(Pixel(5, 40), qRgb(100, 200, 0));            // frozen wastes border
  GridOptions options;
  options.gridLines = true;
  view.SetOptions(options);
  EXPECT_EQ(Pixel(32, 5), qRgb(0, 0, 0));           // the line after the first column
  EXPECT_EQ(Pixel(33 + 5, 33 + 5), qRgb(20, 200, 0));  // squares keep their full size
  EXPECT_EQ(Pixel(33 + 31, 33 + 31), qRgb(20, 200, 0));
  // Beyond the last column the grid ends.
  EXPECT_NE(Pixel(6 * 33 + 5, 5), qRgb(20, 200, 0));
}

TEST_F(GridViewTest, FocusedCellHasRedFrame) {
  view.SetCurrentCell(2, 1);
  EXPECT_EQ(Pixel(64, 32), qRgb(255, 0, 0));
  EXPECT_EQ(Pixel(64 + 31, 32 + 31), qRgb(255, 0, 0));
  EXPECT_EQ(Pixel(64 + 5, 32 + 5), qRgb(20, 200, 0));
  EXPECT_EQ(Pixel(32, 32), qRgb(20, 200, 0));  // the neighbour has none
}

TEST_F(GridViewTest, TileSizeScalesAndReturns) {
  GridOptions options;
  options.tileSize = 8;
  view.SetOptions(options);
  EXPECT_EQ(Pixel(8 + 3, 8 + 3), qRgb(20, 200, 0));
  EXPECT_EQ(Pixel(3, 11), qRgb(100, 200, 0));
  options.tileSize = 32;
  view.SetOptions(options);
  EXPECT_EQ(Pixel(32 + 5, 32 + 5), qRgb(20, 200, 0));
}

TEST_F(GridViewTest, GrayscaleGivesWayToRetro) {
  GridOptions options;
  options.grayscale = true;
  view.SetOptions(options);
  EXPECT_EQ(Pixel(40, 40), qRgb(100, 100, 100));
  options.retro = true;
  view.SetOptions(options);
  EXPECT_EQ(Pixel(40, 40), qRgb(0, 0, 20));
}

TEST_F(GridViewTest, DomainIndicatorOnlyForNamedDomainsAtLargeTiles) {
  project.CellDescription(1, 1)->Domain = 3;
  project.CellDescription(2, 1)->Domain = 4;  // no name
  GridOptions options;
  options.domainIndicator = true;
  // The mark's colour box sits from (t - 11, 3) to (t - 4, 8).
  const auto box = [&](int column, int t) { return Pixel(column * t + t - 8, t + 5); };
  EXPECT_EQ(box(1, 32), qRgb(20, 200, 0));  // option off
  view.SetOptions(options);
  EXPECT_EQ(box(1, 32), qRgb(255, 0, 0));
  EXPECT_EQ(box(2, 32), qRgb(20, 200, 0));
  EXPECT_EQ(Pixel(32 + 20, 32 + 1), qRgb(0, 0, 0));  // the mark's opaque pixel at (t - 12, 1)
  options.tileSize = 24;
  view.SetOptions(options);
  EXPECT_EQ(box(1, 24), qRgb(255, 0, 0));
  options.tileSize = 20;
  view.SetOptions(options);
  EXPECT_EQ(box(1, 20), qRgb(20, 200, 0));
}

TEST_F(GridViewTest, DomainDisplayBlendsGreyTileWithDomainColour) {
  project.CellDescription(1, 1)->Domain = 3;
  view.SetDisplay(CellDisplay::Domain);
  EXPECT_EQ(Pixel(40, 40), qRgb((100 + 255) / 2, 50, 50));
  GridOptions options;
  options.moreColor = true;
  view.SetOptions(options);
  EXPECT_EQ(Pixel(40, 40), qRgb((100 * 75 + 255 * 25) / 100, 75, 75));
  // A domain without colour shows the plain grey tile.
  project.Domains.Slots[3].Color = NoColor;
  view.RedrawAll();
  EXPECT_EQ(Pixel(40, 40), qRgb(100, 100, 100));
}

TEST_F(GridViewTest, WithoutMapSquaresStayEmpty) {
  view.SetDisplay(CellDisplay::None);
  EXPECT_EQ(Pixel(40, 40), qRgb(255, 255, 255));
  EXPECT_EQ(Pixel(40, 32 + 31), qRgb(224, 224, 224));  // the square's outline
}

TEST_F(GridViewTest, KeyboardMovesCurrentCellWithinGrid) {
  std::vector<std::pair<int, int>> clicks;
  QObject::connect(&view, &MapGridView::CellClicked, [&](int c, int r) { clicks.emplace_back(c, r); });
  view.SetCurrentCell(0, 0);
  clicks.clear();
  for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Left}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&view, &press);
  }
  EXPECT_EQ(view.CurrentColumn(), 1);
  EXPECT_EQ(view.CurrentRow(), 1);
  EXPECT_EQ(clicks.size(), 4u);
  QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
  QApplication::sendEvent(&view, &end);
  EXPECT_EQ(view.CurrentColumn(), 5);
  EXPECT_EQ(view.CurrentRow(), 4);
  QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
  QApplication::sendEvent(&view, &right);
  EXPECT_EQ(view.CurrentColumn(), 5);  // held at the edge
}

}  // namespace
}  // namespace mireforge
