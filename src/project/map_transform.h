#pragma once
// Whole-map transforms: resize (with an anchor or explicit offsets), flips and
// quarter-turn rotations. Each cell's description and domain travel with it, and
// the grid and the description list come out consistent: entry i
// belongs to cell i, with X, Y and Position telling its new place.
#include <utility>

namespace mireforge {

struct Project;

// Where the old map sits in a resized one.
enum class Anchor { TopLeft, Top, TopRight, Left, Centre, Right, BottomLeft, Bottom, BottomRight };

struct MapOffset {
  int dx = 0;
  int dy = 0;
  bool operator==(const MapOffset&) const = default;
};

// The offsets that put the old map at the anchor of the new one: 0, half the
// difference (rounded towards zero) or the whole difference in each direction.
MapOffset AnchorOffset(Anchor anchor, int oldWidth, int oldHeight, int newWidth, int newHeight);

// Makes the map width x height (1 to MaxMapSize each); the old cell (x, y)
// lands at (x + dx, y + dy), cells that fall outside are dropped, new cells are
// plains with their default description and domain 0. With rebuildRing the
// border ring then becomes frozen wastes, and a ring cell that changes terrain
// gets the terrain's name as its description, as painting would give it.
// Crop to a box at (x0, y0) is ResizeProject(project, w, h, -x0, -y0, false).
// Throws Error for a size outside the range; the project is then unchanged.
void ResizeProject(Project& project, int width, int height, int dx, int dy, bool rebuildRing);

void FlipHorizontally(Project& project);
void FlipVertically(Project& project);
// Clockwise by quarterTurns (any whole number; 1 is 90 degrees, -1 or 3 is
// counter-clockwise). An odd number of turns swaps width and height.
void RotateProject(Project& project, int quarterTurns);

// One transform as a value: what a command line or an undo step holds.
struct MapTransform {
  enum Kind { Resize, FlipHorizontal, FlipVertical, Rotate };
  Kind kind = Resize;
  int width = 0, height = 0;  // Resize: the new size
  MapOffset offset;          // Resize: where the old top-left cell lands
  bool rebuildRing = false;   // Resize
  int quarterTurns = 1;       // Rotate: clockwise

  static MapTransform ResizeTo(int width, int height, MapOffset offset, bool rebuildRing);
  static MapTransform Flip(bool horizontally);
  static MapTransform Turn(int quarterTurns);

  void Apply(Project& project) const;
  // Flips and rotations can be undone by another transform; a resize may drop
  // cells, so it cannot.
  bool Invertible() const { return kind != Resize; }
  MapTransform Inverse() const;
  // Where cell (x, y) of a mapWidth x mapHeight map ends up; after a resize
  // that may lie outside the new map.
  std::pair<int, int> CellAfter(int x, int y, int mapWidth, int mapHeight) const;
};

}  // namespace mireforge
