#pragma once
// The preview image: one pixel per cell in its terrain's preview colour, so a
// map can be retouched in any paint program and loaded back as terrain.
#include <array>
#include <cstdint>
#include <string>

#include "pictures/picture.h"
#include "model/map_grid.h"
#include "model/preview_palette.h"
#include "model/terrain.h"

namespace mireforge {

// The legend's text of a colour value: "#" and six upper-case hex digits,
// blue first ("#0000FF" is red).
std::string LegendColorText(std::uint32_t color);

// The terrain whose preview colour is exactly the pixel's red, green and blue
// (alpha ignored); 15 (none) for any other colour.
TerrainCode PreviewTerrain(std::uint32_t argb);

// Writes the grid as a picture, one pixel per cell; any type other than
// Bitmap (32 bits per pixel) or Png (RGB, zlib level 5) writes nothing.
// Error "Cannot create file %s" when the file cannot be written.
void SavePreviewImage(const std::string& path, PictureFileType type, const MapGrid& grid);

// Sets the grid's size and every cell from the picture. Pictures wider or
// higher than a map can be (512) are refused. On any error the grid is as it
// was: "Unknown picture file extension (.%s)", "Cannot open file %s",
// "Bitmap image is not valid", the PNG decoder's message.
void LoadPreviewImage(const std::string& path, MapGrid& grid);

}  // namespace mireforge
