#pragma once
// Resize, flip and rotate of the whole map as one undo step each. Flips and
// rotations are undone by their inverse transform, so they keep no copy; a
// resize may drop cells, so it keeps a snapshot of the map before it.
#include <QString>
#include <functional>
#include <optional>
#include <utility>

#include "app/edit/edit_commands.h"
#include "project/map_transform.h"

namespace mireforge {

// The window's current cell, which follows its content through a transform.
struct CurrentCellAccess {
  std::function<std::pair<int, int>()> get;
  std::function<void(int column, int row)> set;
};

class MapTransformCommand : public EditCommand {
 public:
  // origin: the status bar's origin text, which a transform keeps.
  MapTransformCommand(const QString& text, Project& project, EditView& view, const MapTransform& transform,
                      const QString& origin, CurrentCellAccess current);
  // The first redo runs the transform (when the command is pushed).
  void redo() override;
  void undo() override;
  std::size_t MemoryBytes() const override { return sizeof(*this) + (before_ ? before_->MemoryBytes() : 0); }

 private:
  // Tells the window, and moves the current cell to where placement put its content.
  void Finish(const MapTransform& placement, int oldWidth, int oldHeight, std::pair<int, int> cell);

  MapTransform transform_;
  QString origin_;
  CurrentCellAccess current_;
  std::optional<MapSnapshot> before_;  // a resize's map before its first run
  int widthBefore_ = 0, heightBefore_ = 0;
};

}  // namespace mireforge
