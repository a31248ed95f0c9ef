#include "app/grid/map_grid_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <cstring>

#include "app/grid/tile_images.h"
#include "model/cell_place.h"
#include "project/project.h"

namespace mireforge {

namespace {

constexpr QRgb LineColor = 0xFF000000u;
constexpr QRgb EmptyColor = 0xFFFFFFFFu;
constexpr QRgb EmptyEdgeColor = 0xFFE0E0E0u;
constexpr QRgb FocusColor = 0xFFFF0000u;
constexpr QRgb OutsideColor = 0xFF808080u;

// Row pointers are taken once per call: QImage::scanLine checks for sharing on every call.
QRgb* Row(QImage& image, int y) {
  return reinterpret_cast<QRgb*>(image.bits() + static_cast<std::ptrdiff_t>(y) * image.bytesPerLine());
}

// Copies rows of Width pixels: a copy of a known size is a few moves rather than a call.
template <int Width>
void CopyRows(QRgb* to, std::ptrdiff_t toStride, const uchar* from, std::ptrdiff_t fromStride, int rows) {
  for (int y = 0; y < rows; ++y, from += fromStride, to += toStride) std::memcpy(to, from, Width * sizeof(QRgb));
}

// An image's memory and extent, taken once: QImage's accessors are calls, and
// bits() checks for sharing, which per tile cost more than the copy.
template <typename Byte>
struct Pixels {
  Byte* bits;
  std::ptrdiff_t stride;
  int width, height;
};
Pixels<uchar> PixelsOf(QImage& image) { return {image.bits(), image.bytesPerLine(), image.width(), image.height()}; }
Pixels<const uchar> PixelsOf(const QImage& image) {
  return {image.constBits(), image.bytesPerLine(), image.width(), image.height()};
}

// Copies an RGB32 tile into the buffer, clipped to it. Inlined: it runs once per
// cell in sight, and a call costs about as much as the copy.
[[gnu::always_inline]] inline void Blit(const Pixels<uchar>& dst, const Pixels<const uchar>& src, int left, int top) {
  const int x0 = std::max(0, left), y0 = std::max(0, top);
  const int x1 = std::min(dst.width, left + src.width);
  const int y1 = std::min(dst.height, top + src.height);
  if (x0 >= x1 || y0 >= y1) return;
  const std::ptrdiff_t fromStride = src.stride;
  const std::ptrdiff_t toStride = dst.stride / static_cast<std::ptrdiff_t>(sizeof(QRgb));
  const uchar* from = src.bits + (y0 - top) * fromStride + static_cast<std::ptrdiff_t>(x0 - left) * 4;
  QRgb* to = reinterpret_cast<QRgb*>(dst.bits + y0 * dst.stride) + x0;
  const int rows = y1 - y0;
  // Every tile size at scales 1 and 2, whole.
  switch (x1 - x0) {
    case 8: return CopyRows<8>(to, toStride, from, fromStride, rows);
    case 10: return CopyRows<10>(to, toStride, from, fromStride, rows);
    case 12: return CopyRows<12>(to, toStride, from, fromStride, rows);
    case 16: return CopyRows<16>(to, toStride, from, fromStride, rows);
    case 20: return CopyRows<20>(to, toStride, from, fromStride, rows);
    case 24: return CopyRows<24>(to, toStride, from, fromStride, rows);
    case 32: return CopyRows<32>(to, toStride, from, fromStride, rows);
    case 40: return CopyRows<40>(to, toStride, from, fromStride, rows);
    case 48: return CopyRows<48>(to, toStride, from, fromStride, rows);
    case 64: return CopyRows<64>(to, toStride, from, fromStride, rows);
    default: break;
  }
  const std::size_t bytes = static_cast<std::size_t>(x1 - x0) * sizeof(QRgb);
  for (int y = y0; y < y1; ++y, from += fromStride, to += toStride) std::memcpy(to, from, bytes);
}
void Blit(QImage& dst, const QImage& src, int left, int top) { Blit(PixelsOf(dst), PixelsOf(src), left, top); }

void Fill(QImage& dst, QRect rect, QRgb color) {
  rect &= dst.rect();
  if (rect.isEmpty()) return;
  QRgb* line = Row(dst, rect.top());
  const std::ptrdiff_t stride = dst.bytesPerLine() / static_cast<std::ptrdiff_t>(sizeof(QRgb));
  for (int y = rect.top(); y <= rect.bottom(); ++y, line += stride)
    std::fill(line + rect.left(), line + rect.right() + 1, color);
}

// Draws a premultiplied ARGB picture over the buffer, clipped to clip.
void BlendOver(QImage& dst, const QImage& src, int left, int top, const QRect& clip) {
  const QRect area = QRect(left, top, src.width(), src.height()) & clip & dst.rect();
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(src.constScanLine(y - top));
    QRgb* to = Row(dst, y);
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb s = from[x - left];
      const int a = qAlpha(s);
      if (a == 0) continue;
      const QRgb d = to[x];
      to[x] = qRgb(qRed(s) + qRed(d) * (255 - a) / 255, qGreen(s) + qGreen(d) * (255 - a) / 255,
                   qBlue(s) + qBlue(d) * (255 - a) / 255);
    }
  }
}

}  // namespace

MapGridView::MapGridView(const Project& project, TileImages& tiles, QWidget* parent)
    : QAbstractScrollArea(parent), project_(project), tiles_(tiles) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setMouseTracking(false);
  horizontalScrollBar()->setSingleStep(1);
  verticalScrollBar()->setSingleStep(1);
  UpdateScrollBars();
}

void MapGridView::SetDisplay(CellDisplay display) {
  display_ = display;
  RedrawAll();
}

void MapGridView::SetOptions(const GridOptions& options) {
  const bool geometry = options.tileSize != options_.tileSize || options.gridLines != options_.gridLines;
  options_ = options;
  if (geometry) UpdateScrollBars();
  RedrawAll();
}

void MapGridView::SetGridSize(int columns, int rows) {
  columns_ = std::max(0, columns);
  rows_ = std::max(0, rows);
  col_ = std::clamp(col_, 0, std::max(0, columns_ - 1));
  row_ = std::clamp(row_, 0, std::max(0, rows_ - 1));
  UpdateScrollBars();
  RedrawAll();
}

int MapGridView::LeftColumn() const { return horizontalScrollBar()->value(); }
int MapGridView::TopRow() const { return verticalScrollBar()->value(); }
void MapGridView::SetLeftColumn(int column) { horizontalScrollBar()->setValue(column); }
void MapGridView::SetTopRow(int row) { verticalScrollBar()->setValue(row); }
int MapGridView::VisibleColumns() const { return std::max(1, viewport()->width() / Pitch()); }
int MapGridView::VisibleRows() const { return std::max(1, viewport()->height() / Pitch()); }

void MapGridView::CentreOn(int column, int row) {
  SetLeftColumn(std::max(0, column - VisibleColumns() / 2));
  SetTopRow(std::max(0, row - VisibleRows() / 2));
}

void MapGridView::UpdateScrollBars() {
  horizontalScrollBar()->setRange(0, std::max(0, columns_ - VisibleColumns()));
  horizontalScrollBar()->setPageStep(VisibleColumns());
  verticalScrollBar()->setRange(0, std::max(0, rows_ - VisibleRows()));
  verticalScrollBar()->setPageStep(VisibleRows());
}

QRect MapGridView::CellRect(int column, int row) const {
  const int t = options_.tileSize;
  return QRect((column - LeftColumn()) * Pitch(), (row - TopRow()) * Pitch(), t, t);
}

bool MapGridView::CellAt(const QPoint& point, int* column, int* row) const {
  // A pointer outside the viewport (over a panel, while the button is held) is on no cell.
  if (!viewport()->rect().contains(point)) return false;
  const int c = LeftColumn() + point.x() / Pitch();
  const int r = TopRow() + point.y() / Pitch();
  if (c >= columns_ || r >= rows_) return false;
  // A point on a grid line belongs to no cell.
  if (point.x() % Pitch() >= options_.tileSize || point.y() % Pitch() >= options_.tileSize) return false;
  *column = c;
  *row = r;
  return true;
}

void MapGridView::RedrawCell(int column, int row) {
  viewport()->update(CellRect(column, row));
}

void MapGridView::RedrawCells(const std::vector<std::uint32_t>& cells) {
  if (columns_ == 0) return;
  const int left = LeftColumn(), top = TopRow();
  // One more column and row: a partly shown cell at the edge.
  const int right = left + VisibleColumns(), bottom = top + VisibleRows();
  int minColumn = right + 1, maxColumn = left - 1, minRow = bottom + 1, maxRow = top - 1;
  CellPlace place(columns_);
  for (const std::uint32_t cell : cells) {
    place.MoveTo(cell);
    const int column = place.X(), row = place.Y();
    if (column < left || column > right || row < top || row > bottom) continue;
    minColumn = std::min(minColumn, column);
    maxColumn = std::max(maxColumn, column);
    minRow = std::min(minRow, row);
    maxRow = std::max(maxRow, row);
  }
  if (minColumn <= maxColumn) viewport()->update(CellRect(minColumn, minRow) | CellRect(maxColumn, maxRow));
}

void MapGridView::RedrawArea(const QRect& cells) {
  if (cells.isEmpty()) return;
  const int left = std::max(cells.left(), LeftColumn()), top = std::max(cells.top(), TopRow());
  const int right = std::min(cells.right(), LeftColumn() + VisibleColumns()), bottom = std::min(cells.bottom(), TopRow() + VisibleRows());
  if (left <= right && top <= bottom) viewport()->update(CellRect(left, top) | CellRect(right, bottom));
}

void MapGridView::SetCurrentCell(int column, int row) { MoveCurrent(column, row, true); }

void MapGridView::MoveCurrent(int column, int row, bool reportClick) {
  if (columns_ == 0 || rows_ == 0) return;
  column = std::clamp(column, 0, columns_ - 1);
  row = std::clamp(row, 0, rows_ - 1);
  const bool moved = column != col_ || row != row_;
  if (moved) {
    RedrawCell(col_, row_);
    col_ = column;
    row_ = row;
    RedrawCell(col_, row_);
    // Keep the current cell in view, but not under a held button: the map
    // would move under the pointer and the stroke would skip cells.
    if (!pressed_) {
      if (col_ < LeftColumn()) SetLeftColumn(col_);
      else if (col_ >= LeftColumn() + VisibleColumns()) SetLeftColumn(col_ - VisibleColumns() + 1);
      if (row_ < TopRow()) SetTopRow(row_);
      else if (row_ >= TopRow() + VisibleRows()) SetTopRow(row_ - VisibleRows() + 1);
    }
    emit CellSelected(col_, row_);
  }
  if (moved && reportClick) emit CellClicked(col_, row_);
}

int MapGridView::DeviceScale() const { return std::max(1, qRound(viewport()->devicePixelRatioF())); }

// left, top and every size here are in device pixels of the canvas: scale_ of them per logical pixel.
void MapGridView::DrawCell(QImage& canvas, int column, int row, int left, int top) {
  const int s = scale_;
  const int t = options_.tileSize * s;
  const QRect square(left, top, t, t);
  const bool mapPresent = display_ != CellDisplay::None && !project_.Map.Empty() &&
                          project_.Map.Contains(column, row);
  if (!mapPresent) {
    // Empty squares, outlined so the grid's extent shows.
    Fill(canvas, square, EmptyColor);
    Fill(canvas, QRect(left + t - s, top, s, t), EmptyEdgeColor);
    Fill(canvas, QRect(left, top + t - s, t, s), EmptyEdgeColor);
    return;
  }
  const int code = project_.Map.GetTerrain(column, row);
  const int logical = options_.tileSize;
  const bool indicator = options_.domainIndicator && logical >= 24;
  const bool needsItem = display_ == CellDisplay::Domain || indicator;
  const TDescItem* item = needsItem ? project_.CellDescription(column, row) : nullptr;
  if (display_ == CellDisplay::Domain) {
    const std::int32_t color = item ? project_.Domains.Color(item->Domain) : NoColor;
    Blit(canvas, tiles_.Blended(code, color, options_.moreColor ? 25 : 50, t), left, top);
  } else {
    const TileStyle style =
        options_.retro ? TileStyle::Retro : options_.grayscale ? TileStyle::Grey : TileStyle::Colour;
    Blit(canvas, tiles_.Scaled(style, code, t), left, top);
    if (indicator && item && project_.Domains.Defined(item->Domain)) {
      const std::int32_t color = project_.Domains.Color(item->Domain);
      Fill(canvas, QRect(left + t - 11 * s, top + 3 * s, 7 * s, 5 * s), 0xFF000000u | ColorFromBgr(color).rgb());
      BlendOver(canvas, ScaledTicker(), left + t - 12 * s, top + s, square);
    }
  }
  if (column == col_ && row == row_) {
    Fill(canvas, QRect(left, top, t, s), FocusColor);
    Fill(canvas, QRect(left, top + t - s, t, s), FocusColor);
    Fill(canvas, QRect(left, top, s, t), FocusColor);
    Fill(canvas, QRect(left + t - s, top, s, t), FocusColor);
  }
}

const QImage& MapGridView::ScaledTicker() {
  if (tickerScale_ != scale_) {
    // Each pixel of the mark becomes a square, so the mark stays as crisp as the tiles.
    ticker_ = scale_ == 1 ? tiles_.Ticker()
                          : tiles_.Ticker().scaled(tiles_.Ticker().size() * scale_, Qt::IgnoreAspectRatio,
                                                   Qt::FastTransformation);
    tickerScale_ = scale_;
  }
  return ticker_;
}

void MapGridView::RenderRect(const QRect& requested) {
  // The buffer has one pixel per device pixel, so tiles are drawn sharp at any scale.
  scale_ = DeviceScale();
  const QSize size = viewport()->size() * scale_;
  if (buffer_.size() != size) {
    buffer_ = QImage(size, QImage::Format_RGB32);
    buffer_.setDevicePixelRatio(scale_);
  }
  Render(buffer_, QPoint(0, 0), QRect(requested.topLeft() * scale_, requested.size() * scale_) & buffer_.rect());
}

void MapGridView::Render(QImage& canvas, QPoint origin, const QRect& area) {
  if (area.isEmpty()) return;
  const int pitch = Pitch() * scale_;
  const int left = LeftColumn(), top = TopRow();
  // Cells end where the grid ends; beyond it the background shows.
  const QRect gridArea(0, 0, (columns_ - left) * pitch, (rows_ - top) * pitch);
  // Tiles cover the grid area; only what lies beyond it, and the lines, need a fill.
  const QRect inside = area & gridArea;
  if (inside != area) {
    const int far = area.right() + area.bottom() + 2;
    Fill(canvas, (QRect(gridArea.right() + 1, area.top(), far, area.height()) & area).translated(-origin), OutsideColor);
    Fill(canvas, (QRect(area.left(), gridArea.bottom() + 1, area.width(), far) & area).translated(-origin), OutsideColor);
  }
  if (options_.gridLines) Fill(canvas, inside.translated(-origin), LineColor);
  const int c0 = left + area.left() / pitch;
  const int c1 = std::min(columns_ - 1, left + area.right() / pitch);
  const int r0 = top + area.top() / pitch;
  const int r1 = std::min(rows_ - 1, top + area.bottom() / pitch);
  const int x0 = -origin.x() - left * pitch, y0 = -origin.y() - top * pitch;
  const MapGrid& map = project_.Map;
  const bool plain = display_ == CellDisplay::Terrain && !map.Empty() && !(options_.domainIndicator && options_.tileSize >= 24);
  if (!plain) {
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c) DrawCell(canvas, c, r, x0 + c * pitch, y0 + r * pitch);
    return;
  }
  // Terrain tiles alone, the most common look: the tiles are looked up once, not per cell.
  const TileStyle style = options_.retro ? TileStyle::Retro : options_.grayscale ? TileStyle::Grey : TileStyle::Colour;
  std::array<Pixels<const uchar>, TerrainCount> tiles{};
  for (int code = 0; code < TerrainCount; ++code) tiles[code] = PixelsOf(tiles_.Scaled(style, code, options_.tileSize * scale_));
  const Pixels<uchar> into = PixelsOf(canvas);
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c) {
      if (map.Contains(c, r) && (c != col_ || r != row_)) Blit(into, tiles[map.GetTerrain(c, r)], x0 + c * pitch, y0 + r * pitch);
      else DrawCell(canvas, c, r, x0 + c * pitch, y0 + r * pitch);
    }
}

bool MapGridView::RenderInPlace(QPainter& painter, const QRegion& region) {
  // The window's picture, where the raster engine paints the widget: drawing the
  // tiles there spares drawing them into the buffer and copying that over.
  QPaintDevice* device = painter.paintEngine() != nullptr ? painter.paintEngine()->paintDevice() : nullptr;
  if (device == nullptr || device->devType() != QInternal::Image) return false;
  auto* picture = static_cast<QImage*>(device);
  const QImage::Format format = picture->format();
  // Opaque pixels in 32 bits are stored alike in both formats; a shared picture
  // would be copied on the first write instead of written.
  if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) || !picture->isDetached())
    return false;
  scale_ = DeviceScale();
  const QTransform to = painter.deviceTransform();
  if (to.type() > QTransform::TxScale || to.m11() != scale_ || to.m22() != scale_ || to.dx() != std::floor(to.dx()) ||
      to.dy() != std::floor(to.dy()))
    return false;
  const QPoint shift(static_cast<int>(to.dx()), static_cast<int>(to.dy()));
  uchar* bits = picture->bits();
  const qsizetype stride = picture->bytesPerLine();
  // Only inside the region: what lies around it, the overlay included, stays as drawn.
  for (const QRect& rect : region) {
    const QRect target = QRect(rect.topLeft() * scale_ + shift, rect.size() * scale_) & picture->rect();
    if (target.isEmpty()) continue;
    QImage canvas(bits + target.top() * stride + target.left() * static_cast<qsizetype>(sizeof(QRgb)), target.width(),
                  target.height(), stride, format);
    Render(canvas, target.topLeft() - shift, target.translated(-shift));
  }
  return true;
}

void MapGridView::paintEvent(QPaintEvent* event) {
  const QRect rect = event->rect();
  QPainter painter(viewport());
  if (!RenderInPlace(painter, event->region())) {
    RenderRect(rect);
    painter.setCompositionMode(QPainter::CompositionMode_Source);  // opaque: a plain copy
    painter.drawImage(rect, buffer_, QRect(rect.topLeft() * scale_, rect.size() * scale_));
  }
  if (overlay_) {
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setClipRect(rect);
    overlay_->PaintOverlay(painter, rect);
  }
}

void MapGridView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void MapGridView::scrollContentsBy(int, int) { viewport()->update(); }

void MapGridView::mousePressEvent(QMouseEvent* event) {
  int c = 0, r = 0;
  if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
  pressed_ = true;
  lastPos_ = event->position();
  lastCell_ = {-1, -1};
  if (CellAt(event->position().toPoint(), &c, &r)) {
    MoveCurrent(c, r, false);
    lastCell_ = {c, r};
    emit CellPressed(c, r, event->modifiers());
    emit CellPainted(c, r, event->buttons());
    emit PointerMoved(c, r, event->modifiers(), true);
  }
}

namespace {

// Clips the segment a-b to the rectangle [0, w) x [0, h) (Liang-Barsky); false when it misses.
bool ClipSegment(QPointF& a, QPointF& b, double w, double h) {
  const double dx = b.x() - a.x(), dy = b.y() - a.y();
  double t0 = 0, t1 = 1;
  const double edge = 1e-6;  // keeps the far edge inside the last pixel
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x(), w - edge - a.x(), a.y(), h - edge - a.y()};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const QPointF start = a;
  a = start + QPointF(dx, dy) * t0;
  b = start + QPointF(dx, dy) * t1;
  return true;
}

}  // namespace

void MapGridView::TraceStroke(QPointF from, QPointF to, Qt::MouseButtons buttons) {
  const QSize size = viewport()->size();
  if (!ClipSegment(from, to, size.width(), size.height())) return;
  // Walks the squares the segment crosses, one edge at a time (Amanatides-Woo),
  // so consecutive cells share an edge.
  const double pitch = Pitch();
  int cx = static_cast<int>(std::floor(from.x() / pitch)), cy = static_cast<int>(std::floor(from.y() / pitch));
  const int ex = static_cast<int>(std::floor(to.x() / pitch)), ey = static_cast<int>(std::floor(to.y() / pitch));
  const double dx = to.x() - from.x(), dy = to.y() - from.y();
  const int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
  const double inf = std::numeric_limits<double>::infinity();
  double tx = dx == 0 ? inf : ((cx + (sx > 0)) * pitch - from.x()) / dx;
  double ty = dy == 0 ? inf : ((cy + (sy > 0)) * pitch - from.y()) / dy;
  const double stepX = dx == 0 ? inf : pitch / std::abs(dx), stepY = dy == 0 ? inf : pitch / std::abs(dy);
  const int left = LeftColumn(), top = TopRow();
  for (int guard = std::abs(ex - cx) + std::abs(ey - cy) + 1; guard > 0; --guard) {
    const int c = left + cx, r = top + cy;
    if (c < columns_ && r < rows_ && QPoint(c, r) != lastCell_) {
      lastCell_ = {c, r};
      emit CellPainted(c, r, buttons);
    }
    if (cx == ex && cy == ey) break;
    if (tx < ty) {
      cx += sx;
      tx += stepX;
    } else {
      cy += sy;
      ty += stepY;
    }
  }
}

void MapGridView::mouseMoveEvent(QMouseEvent* event) {
  int c = 0, r = 0;
  if (!pressed_) {
    // Hovering, only while a tool asked for mouse tracking.
    if (CellAt(event->position().toPoint(), &c, &r)) emit PointerMoved(c, r, event->modifiers(), false);
    return;
  }
  if (!(event->buttons() & Qt::LeftButton)) return;
  const QPointF from = lastPos_;
  lastPos_ = event->position();
  TraceStroke(from, lastPos_, event->buttons());
  if (lastCell_.x() < 0) return;
  // The current cell follows the painted cells while the button is held; a drag follows
  // the pointer beyond the view and the map, held to the map's edge.
  MoveCurrent(lastCell_.x(), lastCell_.y(), true);
  const double pitch = Pitch();
  const int column = std::clamp(LeftColumn() + static_cast<int>(std::floor(lastPos_.x() / pitch)), 0, columns_ - 1);
  const int row = std::clamp(TopRow() + static_cast<int>(std::floor(lastPos_.y() / pitch)), 0, rows_ - 1);
  emit PointerMoved(column, row, event->modifiers(), true);
}

void MapGridView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) return QAbstractScrollArea::mouseReleaseEvent(event);
  pressed_ = false;
  emit StrokeFinished();
  if (columns_ > 0 && rows_ > 0) emit CellClicked(col_, row_);
}

void MapGridView::keyPressEvent(QKeyEvent* event) {
  int c = col_, r = row_;
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  switch (event->key()) {
    case Qt::Key_Left: --c; break;
    case Qt::Key_Right: ++c; break;
    case Qt::Key_Up: --r; break;
    case Qt::Key_Down: ++r; break;
    case Qt::Key_PageUp: r -= VisibleRows(); break;
    case Qt::Key_PageDown: r += VisibleRows(); break;
    case Qt::Key_Home: c = 0; if (ctrl) r = 0; break;
    case Qt::Key_End: c = columns_ - 1; if (ctrl) r = rows_ - 1; break;
    default: return QAbstractScrollArea::keyPressEvent(event);
  }
  MoveCurrent(c, r, true);
}

void MapGridView::wheelEvent(QWheelEvent* event) {
  if (event->modifiers() & Qt::ControlModifier) {
    const int delta = event->angleDelta().y();
    const QPoint pointer = event->position().toPoint();
    const int column = LeftColumn() + pointer.x() / Pitch(), row = TopRow() + pointer.y() / Pitch();
    if (delta != 0) emit ZoomRequested(delta > 0 ? 1 : -1);
    // The cell under the pointer stays under it.
    SetLeftColumn(column - pointer.x() / Pitch());
    SetTopRow(row - pointer.y() / Pitch());
    event->accept();
    return;
  }
  QAbstractScrollArea::wheelEvent(event);
}

void MapGridView::contextMenuEvent(QContextMenuEvent* event) {
  emit ContextMenuRequested(event->globalPos());
}

}  // namespace mireforge
