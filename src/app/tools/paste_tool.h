#pragma once
// Placing a pasted block: the block follows the pointer, drawn half seen with
// a green outline, X and Y flip it, Z and Shift+Z turn it, and a click puts
// it down as one undo step (with the domains it brings that the map lacks).
#include <optional>

#include "app/tools/map_tool.h"
#include "formats/cell_block.h"

namespace mireforge {

class PasteTool : public MapTool {
 public:
  using MapTool::MapTool;

  void Hold(CellBlock block, QPoint at);
  bool Holding() const { return block_.has_value(); }
  const CellBlock* Block() const { return block_ ? &*block_ : nullptr; }
  // Lets the block go without placing it; false when none was held.
  bool Drop();
  void Turn(void (CellBlock::*turn)());

  // Places the block centred on the cell.
  void Press(QPoint cell, Qt::KeyboardModifiers modifiers) override;
  void Move(QPoint cell, Qt::KeyboardModifiers modifiers, bool held) override;
  void PaintOverlay(QPainter& painter, const OverlayArea& area) override;

 private:
  // The cells the block's picture covers where it is held now, none when none is held.
  QRect Shown() const;

  std::optional<CellBlock> block_;
  QPoint pointer_;
};

}  // namespace mireforge
