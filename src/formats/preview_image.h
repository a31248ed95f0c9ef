#pragma once
// The preview image: one pixel per cell in its terrain's preview colour, so a
// map can be retouched in any paint program and loaded back as terrain.
#include <array>
#include <cstdint>
#include <string>

#include "pictures/picture.h"
#include "model/map_grid.h"
#include "model/terrain.h"

namespace mireforge {

// Colour values 0x00BBGGRR, indexed by TerrainCode; all sixteen differ.
inline constexpr std::array<std::uint32_t, TerrainCount> PreviewPalette = {
    0x98F890,  // plains        144, 248, 152
    0x0000FF,  // citadel       255,   0,   0
    0x008000,  // forest          0, 128,   0
    0xA0A0A0,  // henge
    0x808080,  // tower
    0x505050,  // village
    0x00FFFF,  // downs         255, 255,   0
    0x9797FF,  // keep          255, 151, 151
    0x404040,  // snowhall
    0xFF0000,  // lake            0,   0, 255
    0xFFFFFF,  // frozen wastes
    0x909090,  // ruin
    0x606060,  // lith
    0x707070,  // cavern
    0x004080,  // mountains     128,  64,   0
    0x000000,  // none
};

// A colour value 0x00BBGGRR as an opaque pixel 0xFFRRGGBB, and back (alpha dropped).
std::uint32_t ColorToPixel(std::uint32_t color);
std::uint32_t PixelToColor(std::uint32_t argb);

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
