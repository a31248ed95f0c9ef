#pragma once
// One editing tool of the grid: what it does when the left button is pressed
// on a cell, when the pointer moves (with the button held or not), when the
// button is released and when a key is pressed, and what it draws over the
// cells. A tool begins a drag only on a press, so a tool chosen mid-drag
// ignores the rest of that drag.
#include <QColor>
#include <QLine>
#include <QPainter>
#include <QPoint>
#include <QVector>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/edit/cell_edit_command.h"
#include "app/grid/map_grid_view.h"
#include "model/cell_selection.h"

class QKeyEvent;

namespace mireforge {

class MapDocument;
struct Project;
class TileImages;

enum class Tool { Brush, RectSelect, MagicWand, SameTerrain, Bucket, Rectangle, Ellipse, Line, Pointer };
inline constexpr int ToolCount = 9;

// Whether the tool writes cells with the painting mode: choosing it switches painting on.
constexpr bool DrawingTool(Tool tool) {
  return tool == Tool::Brush || tool == Tool::Bucket || tool == Tool::Rectangle || tool == Tool::Ellipse ||
         tool == Tool::Line;
}

// What a drawing tool writes into a cell, by the painting mode.
struct Ink {
  bool terrain = true;  // terrain painting, else domains
  int code = -1;
  std::int32_t domain = -1;
  std::vector<int> set;  // the random brush's terrains, empty when it is off
  std::uint32_t seed = 0;

  CellState Drawn(const Project& project, std::uint32_t index) const;
};

// The brush's footprint from the tool options, which the line shares.
struct BrushTip {
  int size = 1;
  bool round = false;
};

// What the tools share, kept by the tool set.
class ToolHost {
 public:
  virtual ~ToolHost() = default;
  virtual MapDocument& Document() = 0;
  virtual MapGridView& Grid() = 0;
  // The selection, sized to the map.
  virtual CellSelection& SelectionToEdit() = 0;
  virtual void SelectionChanged() = 0;
  // What the drawing tools write; none when there is nothing to paint with
  // (no painting mode, no terrain or domain chosen).
  virtual std::optional<Ink> CurrentInk() const = 0;
  virtual BrushTip Tip() const = 0;
  // Undo and redo wait while a stroke is under way.
  virtual void HoldHistory(bool held) = 0;
  // Makes the cells of one use of a tool one undo step (applied: already written).
  virtual void Commit(const QString& caption, CellEdit edit, bool applied) = 0;
  virtual TileImages& Tiles() = 0;
  // A passing message in the status bar.
  virtual void ShowMessage(const QString& message) = 0;
};

// The cells a repaint exposes, clipped to the map.
struct OverlayArea {
  const MapGridView& grid;
  int c0, r0, c1, r1;
  int pitch;
};

// A tint over the member cells and a white and coloured dashed line along the region's edge.
template <class Member>
void DrawOutline(QPainter& painter, const OverlayArea& area, Member member, const QColor& tint, const QColor& line) {
  QVector<QLine> edges;
  for (int r = area.r0; r <= area.r1; ++r)
    for (int c = area.c0; c <= area.c1; ++c) {
      if (!member(c, r)) continue;
      const QRect square(area.grid.CellRect(c, r).topLeft(), QSize(area.pitch, area.pitch));
      if (tint.alpha() > 0) painter.fillRect(area.grid.CellRect(c, r), tint);
      if (!member(c, r - 1)) edges.append(QLine(square.topLeft(), square.topRight()));
      if (!member(c, r + 1)) edges.append(QLine(square.bottomLeft(), square.bottomRight()));
      if (!member(c - 1, r)) edges.append(QLine(square.topLeft(), square.bottomLeft()));
      if (!member(c + 1, r)) edges.append(QLine(square.topRight(), square.bottomRight()));
    }
  if (edges.isEmpty()) return;
  painter.setPen(QPen(Qt::white, 2));
  painter.drawLines(edges);
  painter.setPen(QPen(line, 2, Qt::DashLine));
  painter.drawLines(edges);
}

class MapTool {
 public:
  explicit MapTool(ToolHost& host) : host_(host) {}
  virtual ~MapTool() = default;

  // The left button pressed on a cell of the map.
  virtual void Press(QPoint /*cell*/, Qt::KeyboardModifiers /*modifiers*/) {}
  // A cell the pointer crossed with the button held, inside the view (strokes).
  virtual void Trace(QPoint /*cell*/) {}
  // The pointer over a cell; held: dragged, and then held to the map's edge when it leaves the map.
  virtual void Move(QPoint /*cell*/, Qt::KeyboardModifiers /*modifiers*/, bool /*held*/) {}
  virtual void Release() {}
  // Ends a drag without effect (Escape, another tool chosen); false when there was none.
  virtual bool Cancel() { return false; }
  // Forgets a drag whose map was replaced, leaving the new map alone.
  virtual void Forget() {}
  // A key pressed on the grid; true when the tool took it. Escape cancels a drag.
  virtual bool Key(const QKeyEvent& event);
  virtual void PaintOverlay(QPainter& /*painter*/, const OverlayArea& /*area*/) {}

 protected:
  const Project& CurrentProject() const;
  ToolHost& host_;
};

}  // namespace mireforge
