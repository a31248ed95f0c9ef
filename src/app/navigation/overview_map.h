#pragma once
// The overview: the whole map fitted into its window, each cell whole device
// pixels where there is room, in the preview colours, with the part the grid shows drawn as a frame. It keeps a
// picture of one pixel per cell and, after an edit, rewrites and repaints only
// the cells that changed, so big maps stay fluid while painting.
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <vector>

namespace mireforge {

struct Project;

class OverviewMap : public QWidget {
  Q_OBJECT
 public:
  explicit OverviewMap(const Project& project, QWidget* parent = nullptr);

  // After a wholesale change: the picture is rebuilt from the whole map.
  void RebuildMap();
  // After an edit: only these cells (by cell index) are rewritten and repainted.
  void UpdateCells(const std::vector<std::uint32_t>& cells);
  // The cells the grid shows (column, row, columns, rows).
  void SetVisibleArea(const QRect& cells);
  QRect VisibleArea() const { return frame_; }
  // While the left button steers the grid from here.
  bool Dragging() const { return dragging_; }

  // One pixel per cell, in the preview colours.
  const QImage& MapPicture() const { return picture_; }
  // Whole device pixels per cell at the current size (0 when the map is larger than the window).
  int CellPixels() const;
  // The widget rectangle (logical pixels) of a block of cells.
  QRectF CellsRect(const QRect& cells) const;
  // The cell under a widget point, clamped to the map; false without a map.
  bool CellAt(const QPointF& point, int* column, int* row) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // A click or a drag asks for the grid to show this cell in its middle.
  void CentreRequested(int column, int row);
  // Ctrl+wheel: +1 zooms in, -1 out.
  void ZoomRequested(int steps);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void UpdateFrameOutline(const QRect& cells);
  // Logical pixels per cell.
  double CellSide() const;
  // Where cell (0, 0) begins.
  QPointF Origin() const;

  const Project& project_;
  QImage picture_;
  QRect frame_;
  bool dragging_ = false;
};

}  // namespace mireforge
