#pragma once
// What the actual view shows for a viewer, as plain data: the 48 pictures in
// drawing order and the two text lines.
#include <array>
#include <string>

#include "model/terrain.h"
#include "scene/scene_table.h"
#include "scene/view_state.h"

namespace mireforge {

class MapGrid;
struct Project;

struct SceneSprite {
  TerrainCode Code;  // frozen wastes for a cell beyond the map's edge
  int Size;          // size class 0..19
  int Left;          // top left corner on the view
  int Top;
};

// The rows of the viewer's half of SceneTable, rotated to the facing, in drawing order.
std::array<SceneSprite, SceneRowsPerView> SceneSprites(const ViewState& view, const MapGrid& map);

// The resource name of a terrain picture: code, "_", size class ("14_19").
std::string SpriteName(int code, int sizeClass);

struct CellPosition {
  int X;
  int Y;
};

// The cell one step ahead, each coordinate clamped into the map, so at the
// edge it is the viewer's own cell.
CellPosition CellAhead(const ViewState& view, const MapGrid& map);

// "location: [x,y] [domain] - text" of the viewer's cell.
std::string LocationLine(const ViewState& view, const Project& project);
// "You are looking <direction> to <text of the cell ahead>".
std::string LookingLine(const ViewState& view, const Project& project);

}  // namespace mireforge
