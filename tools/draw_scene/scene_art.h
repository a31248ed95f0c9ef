#pragma once
// The actual view's artwork: the sky, the ground and one sprite per terrain,
// drawn in a frame 100 units wide whose bottom edge is the cell's near edge.
#include "canvas.h"

namespace drawscene {

using drawtiles::Canvas;

inline constexpr double FrameUnits = 100.0;

// Draws terrain code 0..15 into a canvas FrameUnits wide; everything not
// drawn stays see-through.
void DrawTerrain(Canvas& canvas, int code);

// 0xFFRRGGBB pixels of the sky (width x height) and of the ground.
std::vector<std::uint32_t> DrawSky(int width, int height, int horizon);
std::vector<std::uint32_t> DrawGround(int width, int height);

}  // namespace drawscene
