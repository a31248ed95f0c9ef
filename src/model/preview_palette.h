#pragma once
// The preview colour of each terrain: the preview image's pixels, the legend
// and the status bar's colour box.
#include <array>
#include <cstdint>

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

}  // namespace mireforge
