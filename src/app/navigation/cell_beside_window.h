#pragma once
// Keeps a cell the program moved to in sight when a window of ours floats over the grid.
class QWidget;

namespace mireforge {

class MapGridView;

// When the window covers the cell, scrolls the grid so that the cell lies in the
// middle of the largest part of the grid the window leaves free.
void ScrollCellClearOf(MapGridView& grid, int column, int row, const QWidget& window);

}  // namespace mireforge
