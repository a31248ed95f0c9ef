#pragma once
// The fixed geometry of the actual view: the eight facing directions and the
// table of cells a viewer sees, with where and how large each is drawn.
#include <array>
#include <string_view>

namespace mireforge {

inline constexpr int SceneWidth = 512;
inline constexpr int SceneHeight = 384;
inline constexpr int GroundTop = 224;       // the ground picture fills y = 224 to the bottom
inline constexpr int SpriteOffsetX = 56;    // a row's picture starts 56 pixels left of its x
inline constexpr int SizeClassCount = 20;   // 0 farthest and smallest, 19 nearest
inline constexpr int SceneRowsPerView = 48;
inline constexpr int BackdropPicture = 20;
inline constexpr int GroundPicture = 21;

struct Direction {
  int Dx;
  int Dy;
  std::string_view Name;
};

// Index is ViewDirection: 0 north, clockwise in eighths.
inline constexpr std::array<Direction, 8> DirectionTable = {{
    {0, -1, "north"}, {1, -1, "northeast"}, {1, 0, "east"}, {1, 1, "southeast"},
    {0, 1, "south"}, {-1, 1, "southwest"}, {-1, 0, "west"}, {-1, -1, "northwest"},
}};

struct SceneRow {
  int Dx;
  int Dy;
  int X;
  int Y;
  int Size;
};

// Rows 0..47 face north, rows 48..95 northeast; drawn in order, later over earlier.
extern const std::array<SceneRow, 96> SceneTable;

struct CellOffset {
  int Dx;
  int Dy;
};

// Turns an offset clockwise by quarterTurns quarter turns: (dx, dy) -> (-dy, dx) each.
constexpr CellOffset RotateOffset(CellOffset offset, int quarterTurns) {
  quarterTurns = ((quarterTurns % 4) + 4) % 4;
  for (int i = 0; i < quarterTurns; ++i) offset = {-offset.Dy, offset.Dx};
  return offset;
}

// Sprite sizes by size class. The widths centre each picture on its cell (the
// table's left and right neighbours are symmetric about x = 256); heights keep
// the nearest pictures reaching the bottom of the view and the farthest on the
// horizon, at the nearest picture's proportions.
inline constexpr std::array<int, SizeClassCount> SpriteWidths = {
    28, 30, 32, 34, 38, 40, 42, 44, 48, 50, 54, 60, 60, 74, 80, 84, 106, 134, 166, 284};
constexpr int SpriteHeight(int sizeClass) {
  return (SpriteWidths[sizeClass] * (SceneHeight - 112) + 142) / 284;
}

// The first of the 48 rows that a viewer facing direction draws.
constexpr int FirstSceneRow(int direction) { return direction % 2 == 0 ? 0 : SceneRowsPerView; }

}  // namespace mireforge
