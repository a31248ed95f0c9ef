#pragma once
// The tools that write cells with the painting mode: the brush, the bucket
// fill and the shapes (rectangle, ellipse, line). Each use is one undo step
// holding only the cells it changed; the ring of the map is never written.
#include <QString>

#include "app/tools/map_tool.h"

namespace mireforge {

// Paints the cells under the brush as the pointer crosses them, in view only.
class BrushTool : public MapTool {
 public:
  using MapTool::MapTool;
  void Press(QPoint cell, Qt::KeyboardModifiers modifiers) override;
  void Trace(QPoint cell) override;
  void Release() override;
  bool Cancel() override;
  void Forget() override;

 private:
  std::optional<CellEdit> stroke_;
  Ink ink_;
};

// Fills the connected region of the pressed cell's terrain (or domain), within the selection.
class BucketTool : public MapTool {
 public:
  using MapTool::MapTool;
  void Press(QPoint cell, Qt::KeyboardModifiers modifiers) override;
};

// Drags a shape from the pressed cell to the pointer, shown as an outline
// until the release writes it; Shift constrains it.
class ShapeTool : public MapTool {
 public:
  using MapTool::MapTool;
  void Press(QPoint cell, Qt::KeyboardModifiers modifiers) override;
  void Move(QPoint cell, Qt::KeyboardModifiers modifiers, bool held) override;
  void Release() override;
  bool Cancel() override;
  void Forget() override { Cancel(); }
  void PaintOverlay(QPainter& painter, const OverlayArea& area) override;

 protected:
  virtual std::vector<std::uint32_t> Cells(QPoint from, QPoint to, bool constrain) const = 0;
  virtual QString Caption() const = 0;

 private:
  void Preview();
  bool dragging_ = false;
  bool constrain_ = false;
  QPoint anchor_, pointer_;
  CellSelection preview_;  // the cells the shape would change
};

// A rectangle or an ellipse in the box between the corners; Shift makes it a square or a circle.
class BoxShapeTool : public ShapeTool {
 public:
  using Fill = std::vector<std::uint32_t> (*)(int width, int height, const CellBounds& box);
  BoxShapeTool(ToolHost& host, Fill fill, const char* caption) : ShapeTool(host), fill_(fill), caption_(caption) {}

 protected:
  std::vector<std::uint32_t> Cells(QPoint from, QPoint to, bool constrain) const override;
  QString Caption() const override { return caption_; }

 private:
  Fill fill_;
  const char* caption_;
};

// A line as wide as the brush.
class LineTool : public ShapeTool {
 public:
  using ShapeTool::ShapeTool;

 protected:
  std::vector<std::uint32_t> Cells(QPoint from, QPoint to, bool constrain) const override;
  QString Caption() const override { return "Line"; }
};

}  // namespace mireforge
