#include "app/tools/selection_tools.h"

#include "app/document/map_document.h"
#include "model/map_regions.h"

namespace mireforge {

SelectionMode SelectionModeOf(Qt::KeyboardModifiers modifiers) {
  return (modifiers & Qt::ShiftModifier)     ? SelectionMode::Add
         : (modifiers & Qt::ControlModifier) ? SelectionMode::Subtract
                                             : SelectionMode::Replace;
}

void RectSelectTool::Press(QPoint cell, Qt::KeyboardModifiers modifiers) {
  base_ = host_.SelectionToEdit();
  mode_ = SelectionModeOf(modifiers);
  anchor_ = cell;
  dragging_ = true;
  Move(cell, modifiers, true);
}

void RectSelectTool::Move(QPoint cell, Qt::KeyboardModifiers, bool held) {
  if (!held || !dragging_) return;
  const MapGrid& map = CurrentProject().Map;
  CellSelection& selection = host_.SelectionToEdit();
  selection = base_;
  selection.Apply(RectangleCells(map.Width, map.Height, ShapeBox(anchor_.x(), anchor_.y(), cell.x(), cell.y(), false)),
                  mode_);
  host_.SelectionChanged();
}

bool RectSelectTool::Cancel() {
  if (!dragging_) return false;
  dragging_ = false;
  host_.SelectionToEdit() = base_;
  host_.SelectionChanged();
  return true;
}

void TerrainSelectTool::Press(QPoint cell, Qt::KeyboardModifiers modifiers) {
  host_.SelectionToEdit().Apply(Region(cell), SelectionModeOf(modifiers));
  host_.SelectionChanged();
}

std::vector<std::uint32_t> MagicWandTool::Region(QPoint cell) const {
  const MapGrid& map = CurrentProject().Map;
  const TerrainCode terrain = map.GetTerrain(cell.x(), cell.y());
  return FloodRegion(map.Width, map.Height, cell.x(), cell.y(),
                     [&map, terrain](int x, int y) { return map.GetTerrain(x, y) == terrain; });
}

std::vector<std::uint32_t> SameTerrainTool::Region(QPoint cell) const {
  const MapGrid& map = CurrentProject().Map;
  const TerrainCode terrain = map.GetTerrain(cell.x(), cell.y());
  return MatchingCells(map.Width, map.Height, [&map, terrain](int x, int y) { return map.GetTerrain(x, y) == terrain; });
}

}  // namespace mireforge
