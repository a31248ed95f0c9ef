#pragma once
// Where the actual view's traveller stands and faces, and how keys and mouse
// regions move them. Lives as long as the program; closing the view keeps it.
#include <optional>

#include "scene/scene_table.h"

namespace mireforge {

class MapGrid;

enum class ViewKey { Escape, Left, Right, Up, Down };

struct ViewState {
  int ViewX = 0;
  int ViewY = 0;
  int ViewDirection = 4;  // south

  void MoveTo(int column, int row) {
    ViewX = column;
    ViewY = row;
  }
  const Direction& Facing() const { return DirectionTable[ViewDirection]; }
  // Moves the viewer to the nearest cell of the map (0, 0 on an empty map).
  void ClampInto(const MapGrid& map);

  // Turns or steps; a step that would leave the map is refused. Returns true
  // for Escape, which asks the view to close (the state itself is unchanged).
  bool HandleKey(ViewKey key, const MapGrid& map);
};

// The key a pointer position acts as: the left and right thirds of the middle
// band turn, the top and bottom middle thirds step. Comparisons are strict, so
// the dividing lines, the centre and the corners give nothing.
std::optional<ViewKey> MouseRegionKey(int x, int y, int clientWidth = SceneWidth, int clientHeight = SceneHeight);

}  // namespace mireforge
