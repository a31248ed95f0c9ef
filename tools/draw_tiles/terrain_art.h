#pragma once
// The pictures of the sixteen terrain kinds, in terrain-code order: plains,
// citadel, forest, henge, tower, village, downs, keep, snowhall, lake, frozen
// wastes, ruin, lith, cavern, mountains, none.
#include "canvas.h"

namespace drawtiles {

inline constexpr int TerrainKinds = 16;
inline constexpr double TileUnits = 32.0;

// The coloured map tile of a terrain kind, drawn over the whole 32-unit square.
void DrawTerrainTile(Canvas& canvas, int code);

// The retro tile: a black sign on a grey bevelled square.
void DrawRetroTile(Canvas& canvas, int code);

}  // namespace drawtiles
