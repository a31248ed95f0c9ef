#pragma once
// The tools that leave the cells alone: the pointer, which only moves the
// current cell (the grid does that for every tool), and the three that select.
// Shift adds to the selection, Ctrl subtracts from it.
#include "app/tools/map_tool.h"

namespace mireforge {

class PointerTool : public MapTool {
 public:
  using MapTool::MapTool;
};

// Drags a rectangle from the pressed cell to the pointer, held to the map's edge.
class RectSelectTool : public MapTool {
 public:
  using MapTool::MapTool;
  void Press(QPoint cell, Qt::KeyboardModifiers modifiers) override;
  void Move(QPoint cell, Qt::KeyboardModifiers modifiers, bool held) override;
  void Release() override { dragging_ = false; }
  bool Cancel() override;
  void Forget() override { dragging_ = false; }

 private:
  bool dragging_ = false;
  QPoint anchor_;
  SelectionMode mode_ = SelectionMode::Replace;
  CellSelection base_;  // the selection when the drag began
};

// Selects on a click the cells of the pressed cell's terrain that Region gives.
class TerrainSelectTool : public MapTool {
 public:
  using MapTool::MapTool;
  void Press(QPoint cell, Qt::KeyboardModifiers modifiers) override;

 protected:
  virtual std::vector<std::uint32_t> Region(QPoint cell) const = 0;
};

// The connected region of one terrain.
class MagicWandTool : public TerrainSelectTool {
 public:
  using TerrainSelectTool::TerrainSelectTool;

 protected:
  std::vector<std::uint32_t> Region(QPoint cell) const override;
};

// Every cell of that terrain.
class SameTerrainTool : public TerrainSelectTool {
 public:
  using TerrainSelectTool::TerrainSelectTool;

 protected:
  std::vector<std::uint32_t> Region(QPoint cell) const override;
};

// The mode a press's modifiers ask for.
SelectionMode SelectionModeOf(Qt::KeyboardModifiers modifiers);

}  // namespace mireforge
