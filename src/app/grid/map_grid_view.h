#pragma once
// DG, the map grid view: one square tile per cell, no headers. It draws only
// the exposed cells into a buffer from tiles scaled once per tile size.
#include <QAbstractScrollArea>
#include <QImage>
#include <cstdint>
#include <vector>

class QPainter;

namespace mireforge {

struct Project;
class TileImages;

enum class CellDisplay { None, Terrain, Domain };

// Drawn over the cells after every repaint (selection outline, tool previews).
class GridOverlay {
 public:
  virtual ~GridOverlay() = default;
  virtual void PaintOverlay(QPainter& painter, const QRect& exposed) = 0;
};

struct GridOptions {
  int tileSize = 32;
  bool gridLines = false;
  bool grayscale = false;
  bool retro = false;
  bool domainIndicator = false;
  bool moreColor = false;
};

class MapGridView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  MapGridView(const Project& project, TileImages& tiles, QWidget* parent = nullptr);

  void SetDisplay(CellDisplay display);
  CellDisplay Display() const { return display_; }
  void SetOptions(const GridOptions& options);
  const GridOptions& Options() const { return options_; }

  // Column and row count of the grid (66 x 63 empty squares without a map).
  void SetGridSize(int columns, int rows);
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }

  int CurrentColumn() const { return col_; }
  int CurrentRow() const { return row_; }
  // Moves the current cell (clamped) and reports it as a click.
  void SetCurrentCell(int column, int row);

  int LeftColumn() const;
  int TopRow() const;
  void SetLeftColumn(int column);
  void SetTopRow(int row);
  int VisibleColumns() const;
  int VisibleRows() const;
  // Scrolls so that the cell is in the middle, clamped at the top left edge.
  void CentreOn(int column, int row);

  // The cell under a viewport point, false when the point lies on no cell
  // (outside the viewport, beyond the grid, or on a grid line).
  bool CellAt(const QPoint& point, int* column, int* row) const;
  // The square of a cell in viewport coordinates.
  QRect CellRect(int column, int row) const;
  void SetOverlay(GridOverlay* overlay) { overlay_ = overlay; }

  void RedrawCell(int column, int row);
  // One repaint around those of the cells (by index) that are in sight.
  void RedrawCells(const std::vector<std::uint32_t>& cells);
  // One repaint of a rectangle of cells, in sight or not.
  void RedrawArea(const QRect& cells);
  void RedrawAll() { viewport()->update(); }

  // Draws the cells of the viewport rectangle (logical pixels) into the buffer, as the
  // paint event does where it cannot draw into the window's picture itself. The
  // buffer holds device pixels: DeviceScale() per logical one.
  void RenderRect(const QRect& rect);
  const QImage& Buffer() const { return buffer_; }
  int DeviceScale() const;

 signals:
  // The current cell moved (mouse, keyboard or program).
  void CellSelected(int column, int row);
  // A click ended, or the current cell was moved by keyboard or program.
  void CellClicked(int column, int row);
  // Left button pressed over a cell, or held while the pointer crossed the
  // cell: a fast move reports every cell between two pointer positions.
  void CellPainted(int column, int row, Qt::MouseButtons buttons);
  // Left button pressed over a cell (tools that need the modifiers).
  void CellPressed(int column, int row, Qt::KeyboardModifiers modifiers);
  // The pointer is over this cell: with the button held the cell under it, held to
  // the map's edge when it is off the map; without it (mouse tracking on) the cell under it.
  void PointerMoved(int column, int row, Qt::KeyboardModifiers modifiers, bool held);
  void StrokeFinished();
  void ZoomRequested(int steps);
  void ContextMenuRequested(const QPoint& globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  int Pitch() const { return options_.tileSize + (options_.gridLines ? 1 : 0); }
  void UpdateScrollBars();
  void MoveCurrent(int column, int row, bool reportClick);
  // Reports the cells the segment from one pointer position to the next crosses inside the viewport.
  void TraceStroke(QPointF from, QPointF to, Qt::MouseButtons buttons);
  // Draws the cells over area (device pixels of the viewport) into canvas, whose
  // first pixel is the viewport's device pixel origin.
  void Render(QImage& canvas, QPoint origin, const QRect& area);
  // Draws the region straight into the window's picture that painter paints on,
  // where that is plain RGB memory; false where it is not.
  bool RenderInPlace(QPainter& painter, const QRegion& region);
  void DrawCell(QImage& canvas, int column, int row, int left, int top);
  const QImage& ScaledTicker();

  const Project& project_;
  TileImages& tiles_;
  CellDisplay display_ = CellDisplay::None;
  GridOptions options_;
  int columns_ = 66;
  int rows_ = 63;
  int col_ = 0;
  int row_ = 0;
  bool pressed_ = false;
  QPointF lastPos_;         // pointer position of the last press or held move
  QPoint lastCell_{-1, -1};  // last cell a held stroke reported
  GridOverlay* overlay_ = nullptr;
  QImage buffer_;
  int scale_ = 1;  // device pixels per logical pixel in buffer_
  QImage ticker_;
  int tickerScale_ = 0;
};

}  // namespace mireforge
