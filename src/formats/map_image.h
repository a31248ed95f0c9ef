#pragma once
// The map image: the whole map drawn tile by tile into one BMP or PNG file,
// streamed in bands of rows so that even a 512 x 512 map at 32 pixels (about
// 17k x 17k pixels) is never held in memory; a PNG's bands compress on every core.
#include <array>
#include <functional>
#include <string>

#include "pictures/image.h"
#include "pictures/picture.h"
#include "pictures/tile_pictures.h"
#include "model/map_grid.h"
#include "model/terrain.h"

namespace mireforge {

inline constexpr int TilePictureSize = 32;
// The tile sizes the grid view offers.
inline constexpr std::array<int, 7> TileSizes = {32, 24, 20, 16, 12, 10, 8};

// The tile stretched or shrunk to size x size by picking the nearest source
// pixel (a plain stretch, no smoothing), made opaque.
Image ScaleTile(const Image& tile, int size);

// width x (tileSize + gridLineWidth) by height x (tileSize + gridLineWidth).
PictureSize MapImageSize(const MapGrid& grid, int tileSize, int gridLineWidth);

// Called after each map row has been written: rows done, rows in all.
using MapImageProgress = std::function<void(int done, int total)>;

// Draws every cell's tile scaled to tileSize, each followed by gridLineWidth
// black pixels on its right and below, and writes the picture as a 32-bit
// bitmap or an RGB PNG at zlib level 5, as the caller chooses (the name's
// extension plays no part). The file is replaced only when complete.
// Errors: "Cannot create file %s", the encoders' messages, and refusals of a
// tile size outside 1..256, a grid line width outside 0..16 or a missing tile.
void SaveMapImage(const std::string& path, PictureFileType type, const MapGrid& grid, const TileSet& tiles,
                  int tileSize, int gridLineWidth, const MapImageProgress& progress = {});

}  // namespace mireforge
