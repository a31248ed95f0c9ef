#include "app/navigation/cell_beside_window.h"

#include <QWidget>

#include "app/grid/map_grid_view.h"

namespace mireforge {

void ScrollCellClearOf(MapGridView& grid, int column, int row, const QWidget& window) {
  if (!window.isVisible()) return;
  QWidget* viewport = grid.viewport();
  const QRect cell = grid.CellRect(column, row);
  const QRect shown(viewport->mapToGlobal(QPoint(0, 0)), viewport->size());
  const QRect covered = window.frameGeometry() & shown;
  if (!covered.intersects(cell.translated(shown.topLeft()))) return;
  // The free bands left, right, above and below the window, in viewport coordinates.
  const QRect local = covered.translated(-shown.topLeft());
  const QRect bands[] = {QRect(QPoint(0, 0), QPoint(local.left() - 1, shown.height() - 1)),
                         QRect(QPoint(local.right() + 1, 0), QPoint(shown.width() - 1, shown.height() - 1)),
                         QRect(QPoint(0, 0), QPoint(shown.width() - 1, local.top() - 1)),
                         QRect(QPoint(0, local.bottom() + 1), QPoint(shown.width() - 1, shown.height() - 1))};
  const QRect* best = nullptr;
  for (const QRect& band : bands)
    if (band.width() >= cell.width() && band.height() >= cell.height() &&
        (!best || band.width() * band.height() > best->width() * best->height()))
      best = &band;
  if (!best) return;
  const int pitch = grid.CellRect(column + 1, row).left() - cell.left();
  if (pitch <= 0) return;
  grid.SetLeftColumn(column - best->center().x() / pitch);
  grid.SetTopRow(row - best->center().y() / pitch);
}

}  // namespace mireforge
