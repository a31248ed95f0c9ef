#include "app/tools/drawing_tools.h"

#include "app/document/map_document.h"
#include "model/map_regions.h"

namespace mireforge {

void BrushTool::Press(QPoint, Qt::KeyboardModifiers) {
  const std::optional<Ink> ink = host_.CurrentInk();
  if (!ink) return;
  ink_ = *ink;
  stroke_.emplace(CurrentProject());
  host_.HoldHistory(true);
  // The press paints through Trace.
}

void BrushTool::Trace(QPoint cell) {
  if (!stroke_) return;
  Project& project = host_.Document().CurrentProject();
  const MapGrid& map = project.Map;
  const BrushTip tip = host_.Tip();
  std::vector<std::uint32_t> changed;
  for (std::uint32_t index : BrushCells(map.Width, map.Height, cell.x(), cell.y(), tip.size, tip.round)) {
    if (map.OnBorder(index % map.Width, index / map.Width)) continue;
    if (stroke_->Write(project, index, ink_.Drawn(project, index))) changed.push_back(index);
  }
  host_.Document().CellsEdited(changed);
}

void BrushTool::Release() {
  if (!stroke_) return;
  CellEdit edit = std::move(*stroke_);
  stroke_.reset();
  host_.HoldHistory(false);
  host_.Commit(ink_.terrain ? "Paint terrain" : "Paint domains", std::move(edit), true);
}

bool BrushTool::Cancel() {
  if (!stroke_) return false;
  const std::vector<std::uint32_t> painted = stroke_->Revert(host_.Document().CurrentProject());
  stroke_.reset();
  host_.HoldHistory(false);
  host_.Document().CellsEdited(painted);
  return true;
}

void BrushTool::Forget() {
  if (!stroke_) return;
  stroke_.reset();
  host_.HoldHistory(false);
}

void BucketTool::Press(QPoint cell, Qt::KeyboardModifiers) {
  const std::optional<Ink> ink = host_.CurrentInk();
  const Project& project = CurrentProject();
  const MapGrid& map = project.Map;
  const int column = cell.x(), row = cell.y();
  if (!ink || map.OnBorder(column, row)) return;
  const CellSelection& selection = host_.SelectionToEdit();
  if (!selection.Empty() && !selection.Contains(column, row)) return;
  const TerrainCode terrain = map.GetTerrain(column, row);
  const TDescItem* start = project.CellDescription(column, row);
  const std::int32_t domain = start ? start->Domain : 0;
  const bool limited = !selection.Empty();
  const auto member = [&](int x, int y) {
    if (map.OnBorder(x, y) || (limited && !selection.Contains(x, y))) return false;
    if (ink->terrain) return map.GetTerrain(x, y) == terrain;
    const TDescItem* item = project.CellDescription(x, y);
    return (item ? item->Domain : 0) == domain;
  };
  CellEdit edit(project);
  // A cell the fill leaves its terrain (or domain) keeps its description: filling a
  // region with its own terrain is no change at all.
  for (std::uint32_t index : FloodRegion(map.Width, map.Height, column, row, member)) {
    const CellState now = ReadCell(project, index), drawn = ink->Drawn(project, index);
    if (drawn.terrain != now.terrain || drawn.domain != now.domain) edit.Set(index, drawn);
  }
  host_.Commit("Fill", std::move(edit), false);
}

void ShapeTool::Press(QPoint cell, Qt::KeyboardModifiers modifiers) {
  if (!host_.CurrentInk()) return;
  dragging_ = true;
  anchor_ = pointer_ = cell;
  constrain_ = modifiers & Qt::ShiftModifier;
  Preview();
}

void ShapeTool::Move(QPoint cell, Qt::KeyboardModifiers modifiers, bool held) {
  const bool constrain = modifiers & Qt::ShiftModifier;
  if (!held || !dragging_ || (cell == pointer_ && constrain == constrain_)) return;
  pointer_ = cell;
  constrain_ = constrain;
  Preview();
}

void ShapeTool::Preview() {
  const MapGrid& map = CurrentProject().Map;
  if (preview_.Width() != map.Width || preview_.Height() != map.Height) preview_.Reset(map.Width, map.Height);
  preview_.Apply(Cells(anchor_, pointer_, constrain_), SelectionMode::Replace);
  host_.Grid().RedrawAll();
}

void ShapeTool::Release() {
  if (!dragging_) return;
  dragging_ = false;
  const Project& project = CurrentProject();
  const MapGrid& map = project.Map;
  const std::optional<Ink> ink = host_.CurrentInk();
  CellEdit edit(project);
  if (ink)
    for (std::uint32_t index : preview_.Cells())
      if (!map.OnBorder(index % map.Width, index / map.Width)) edit.Set(index, ink->Drawn(project, index));
  preview_.Clear();
  host_.Grid().RedrawAll();
  if (ink) host_.Commit(Caption(), std::move(edit), false);
}

bool ShapeTool::Cancel() {
  if (!dragging_) return false;
  dragging_ = false;
  preview_.Clear();
  host_.Grid().RedrawAll();
  return true;
}

void ShapeTool::PaintOverlay(QPainter& painter, const OverlayArea& area) {
  const MapGrid& map = CurrentProject().Map;
  if (!dragging_ || preview_.Width() != map.Width || preview_.Height() != map.Height || preview_.Empty()) return;
  DrawOutline(
      painter, area, [this](int x, int y) { return preview_.Contains(x, y); }, QColor(255, 255, 255, 90),
      QColor(200, 0, 0));
}

std::vector<std::uint32_t> BoxShapeTool::Cells(QPoint from, QPoint to, bool constrain) const {
  const MapGrid& map = CurrentProject().Map;
  return fill_(map.Width, map.Height, ShapeBox(from.x(), from.y(), to.x(), to.y(), constrain));
}

std::vector<std::uint32_t> LineTool::Cells(QPoint from, QPoint to, bool) const {
  const MapGrid& map = CurrentProject().Map;
  const BrushTip tip = host_.Tip();
  std::vector<std::uint32_t> cells;
  for (std::uint32_t centre : LineCells(map.Width, map.Height, from.x(), from.y(), to.x(), to.y())) {
    const auto footprint = BrushCells(map.Width, map.Height, centre % map.Width, centre / map.Width, tip.size, tip.round);
    cells.insert(cells.end(), footprint.begin(), footprint.end());
  }
  return cells;
}

}  // namespace mireforge
