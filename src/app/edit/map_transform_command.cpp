#include "app/edit/map_transform_command.h"

#include <algorithm>

#include "project/project.h"

namespace mireforge {

MapTransformCommand::MapTransformCommand(const QString& text, Project& project, EditView& view,
                                         const MapTransform& transform, const QString& origin,
                                         CurrentCellAccess current)
    : EditCommand(text, project, view), transform_(transform), origin_(origin), current_(std::move(current)) {}

void MapTransformCommand::redo() {
  const std::pair<int, int> cell = current_.get();
  widthBefore_ = project_.Map.Width;
  heightBefore_ = project_.Map.Height;
  if (!transform_.Invertible() && !before_) before_ = MapSnapshot::Take(project_, true, origin_);
  transform_.Apply(project_);
  Finish(transform_, widthBefore_, heightBefore_, cell);
}

void MapTransformCommand::undo() {
  const std::pair<int, int> cell = current_.get();
  const int width = project_.Map.Width, height = project_.Map.Height;
  MapTransform placement;
  if (transform_.Invertible()) {
    placement = transform_.Inverse();
    placement.Apply(project_);
  } else {
    before_->Restore(project_);
    placement = MapTransform::ResizeTo(widthBefore_, heightBefore_, {-transform_.offset.dx, -transform_.offset.dy},
                                       false);
  }
  Finish(placement, width, height, cell);
}

void MapTransformCommand::Finish(const MapTransform& placement, int oldWidth, int oldHeight,
                                 std::pair<int, int> cell) {
  view_.MapRestored(true, origin_);
  const auto [x, y] = placement.CellAfter(cell.first, cell.second, oldWidth, oldHeight);
  const MapGrid& map = project_.Map;
  current_.set(std::clamp(x, 0, std::max(0, map.Width - 1)), std::clamp(y, 0, std::max(0, map.Height - 1)));
}

}  // namespace mireforge
