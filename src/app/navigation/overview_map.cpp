#include "app/navigation/overview_map.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>

#include "app/grid/tile_images.h"
#include "formats/preview_image.h"
#include "model/cell_place.h"
#include "project/project.h"

namespace mireforge {

namespace {

constexpr QRgb FrameColor = 0xFFFF0000u;
constexpr double FrameWidth = 2.0;  // logical pixels
// Beyond this many changed cells one rectangle around them repaints faster than a region of squares.
constexpr std::size_t SquaresPerRegion = 1024;

const std::array<QRgb, TerrainCount>& PreviewColours() {
  static const std::array<QRgb, TerrainCount> colours = [] {
    std::array<QRgb, TerrainCount> table{};
    for (int code = 0; code < TerrainCount; ++code)
      table[code] = ColorFromBgr(static_cast<std::int32_t>(PreviewPalette[code])).rgb();
    return table;
  }();
  return colours;
}

}  // namespace

OverviewMap::OverviewMap(const Project& project, QWidget* parent) : QWidget(parent), project_(project) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  RebuildMap();
}

void OverviewMap::RebuildMap() {
  const MapGrid& map = project_.Map;
  if (map.Empty()) {
    picture_ = QImage();
  } else {
    picture_ = QImage(map.Width, map.Height, QImage::Format_RGB32);
    const auto& colours = PreviewColours();
    for (int y = 0; y < map.Height; ++y) {
      auto* line = reinterpret_cast<QRgb*>(picture_.scanLine(y));
      const TerrainCode* cells = map.Cells.data() + static_cast<std::size_t>(y) * map.Width;
      for (int x = 0; x < map.Width; ++x) line[x] = colours[TerrainOf(cells[x])];
    }
  }
  setMinimumSize(minimumSizeHint());
  updateGeometry();
  update();
}

void OverviewMap::UpdateCells(const std::vector<std::uint32_t>& cells) {
  const MapGrid& map = project_.Map;
  // A map of another size is about to be rebuilt as a whole.
  if (picture_.width() != map.Width || picture_.height() != map.Height || map.Empty()) return;
  const auto& colours = PreviewColours();
  const std::size_t count = map.Cells.size();
  const qsizetype stride = picture_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
  auto* pixels = reinterpret_cast<QRgb*>(picture_.bits());
  const bool squares = cells.size() <= SquaresPerRegion;
  int left = map.Width, right = -1, top = map.Height, bottom = -1;
  CellPlace place(map.Width);
  for (std::uint32_t cell : cells) {
    if (cell >= count) continue;
    place.MoveTo(cell);
    const int x = place.X(), y = place.Y();
    pixels[y * stride + x] = colours[map.TerrainAt(cell)];
    if (squares) {
      update(CellsRect(QRect(x, y, 1, 1)).toAlignedRect());
    } else {
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right >= left) update(CellsRect(QRect(QPoint(left, top), QPoint(right, bottom))).toAlignedRect());
}

void OverviewMap::SetVisibleArea(const QRect& cells) {
  if (cells == frame_) return;
  UpdateFrameOutline(frame_);
  frame_ = cells;
  UpdateFrameOutline(frame_);
}

void OverviewMap::UpdateFrameOutline(const QRect& cells) {
  if (cells.isEmpty()) return;
  // Only the four edges: the cells inside keep their pixels.
  const QRect outer = CellsRect(cells).toAlignedRect().adjusted(-1, -1, 1, 1);
  const int edge = static_cast<int>(std::ceil(FrameWidth)) + 1;
  update(QRect(outer.left(), outer.top(), outer.width(), edge));
  update(QRect(outer.left(), outer.bottom() - edge + 1, outer.width(), edge));
  update(QRect(outer.left(), outer.top(), edge, outer.height()));
  update(QRect(outer.right() - edge + 1, outer.top(), edge, outer.height()));
}

int OverviewMap::CellPixels() const {
  if (picture_.isNull()) return 1;
  const double ratio = devicePixelRatioF();
  const int across = static_cast<int>(width() * ratio) / picture_.width();
  const int down = static_cast<int>(height() * ratio) / picture_.height();
  return std::min(across, down);
}

double OverviewMap::CellSide() const {
  if (picture_.isNull()) return 1;
  // Whole device pixels per cell where the map fits so, else a fraction: the whole map is always in sight.
  if (const int pixels = CellPixels(); pixels >= 1) return pixels / devicePixelRatioF();
  const double fit = std::min(static_cast<double>(width()) / picture_.width(), static_cast<double>(height()) / picture_.height());
  return std::max(fit, 1e-3);
}

QPointF OverviewMap::Origin() const {
  if (picture_.isNull()) return {};
  // The map in the middle: the room it leaves is shared out on both sides, not left as one band.
  const double side = CellSide();
  return {std::max(0.0, std::floor((width() - picture_.width() * side) / 2)),
          std::max(0.0, std::floor((height() - picture_.height() * side) / 2))};
}

QRectF OverviewMap::CellsRect(const QRect& cells) const {
  const double side = CellSide();
  return QRectF(Origin() + QPointF(cells.x() * side, cells.y() * side), QSizeF(cells.width() * side, cells.height() * side));
}

bool OverviewMap::CellAt(const QPointF& point, int* column, int* row) const {
  if (picture_.isNull()) return false;
  const double side = CellSide();
  const QPointF at = point - Origin();
  *column = std::clamp(static_cast<int>(std::floor(at.x() / side)), 0, picture_.width() - 1);
  *row = std::clamp(static_cast<int>(std::floor(at.y() / side)), 0, picture_.height() - 1);
  return true;
}

QSize OverviewMap::minimumSizeHint() const { return {48, 48}; }

QSize OverviewMap::sizeHint() const {
  if (picture_.isNull()) return {200, 200};
  // 200 pixels along the longer side, in the map's proportions.
  const double scale = 200.0 / std::max(picture_.width(), picture_.height());
  return {std::max(48, static_cast<int>(picture_.width() * scale)), std::max(48, static_cast<int>(picture_.height() * scale))};
}

void OverviewMap::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect exposed = event->rect();
  painter.fillRect(exposed, palette().window());
  if (picture_.isNull()) return;
  const double side = CellSide();
  const QPointF origin = Origin();
  const int c0 = std::max(0, static_cast<int>((exposed.left() - origin.x()) / side));
  const int r0 = std::max(0, static_cast<int>((exposed.top() - origin.y()) / side));
  const int c1 = std::min(picture_.width() - 1, static_cast<int>(std::ceil((exposed.right() + 1 - origin.x()) / side)) - 1);
  const int r1 = std::min(picture_.height() - 1, static_cast<int>(std::ceil((exposed.bottom() + 1 - origin.y()) / side)) - 1);
  if (c0 <= c1 && r0 <= r1) {
    // Only the exposed cells, stretched without smoothing: each cell a sharp square.
    const QRect source(c0, r0, c1 - c0 + 1, r1 - r0 + 1);
    // Smaller than a pixel per cell, neighbours blend rather than drop out.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, side * devicePixelRatioF() < 1);
    painter.drawImage(CellsRect(source), picture_, source);
  }
  if (!frame_.isEmpty()) {
    const QRectF box = CellsRect(frame_ & picture_.rect());
    const QColor colour = QColor::fromRgb(FrameColor);
    const double w = std::min({FrameWidth, box.width() / 2, box.height() / 2});
    painter.fillRect(QRectF(box.left(), box.top(), box.width(), w), colour);
    painter.fillRect(QRectF(box.left(), box.bottom() - w, box.width(), w), colour);
    painter.fillRect(QRectF(box.left(), box.top(), w, box.height()), colour);
    painter.fillRect(QRectF(box.right() - w, box.top(), w, box.height()), colour);
  }
}

void OverviewMap::mousePressEvent(QMouseEvent* event) {
  int column = 0, row = 0;
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  dragging_ = true;
  if (CellAt(event->position(), &column, &row)) emit CentreRequested(column, row);
}

void OverviewMap::mouseMoveEvent(QMouseEvent* event) {
  int column = 0, row = 0;
  // Outside the widget the pointer still steers, clamped to the map's edge.
  if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return;
  if (CellAt(event->position(), &column, &row)) emit CentreRequested(column, row);
}

void OverviewMap::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = false;
}

void OverviewMap::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) return QWidget::wheelEvent(event);
  const int delta = event->angleDelta().y();
  if (delta != 0) emit ZoomRequested(delta > 0 ? 1 : -1);
  event->accept();
}

}  // namespace mireforge
