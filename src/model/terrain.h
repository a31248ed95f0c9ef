#pragma once
// The sixteen terrain kinds and their name tables.
#include <array>
#include <cstdint>
#include <string_view>

namespace mireforge {

using TerrainCode = std::uint8_t;

enum Terrain : TerrainCode {
  Plains = 0, Citadel = 1, Forest = 2, Henge = 3, Tower = 4, Village = 5, Downs = 6, Keep = 7,
  Snowhall = 8, Lake = 9, FrozenWastes = 10, Ruin = 11, Lith = 12, Cavern = 13, Mountains = 14,
  NoTerrain = 15,
};

inline constexpr int TerrainCount = 16;

// The terrain a stored byte stands for: only its low four bits count. Every read
// and write of a terrain code goes through here.
constexpr TerrainCode TerrainOf(int value) { return static_cast<TerrainCode>(value & 0x0F); }

// Default descriptions, statistics labels and SQL terrain names.
inline constexpr std::array<std::string_view, TerrainCount> TerrainNames = {
    "plains", "citadel", "forest", "henge", "tower", "village", "downs", "keep",
    "snowhall", "lake", "frozen wastes", "ruin", "lith", "cavern", "mountains", "none"};

// What the user picks from: drop-down items and palette hints.
inline constexpr std::array<std::string_view, TerrainCount> TerrainPickNames = {
    "plains", "citadel", "forest", "henge", "tower", "village", "downs", "keep",
    "snowhall", "lake", "frozen wastes", "ruin", "lith", "cavern", "mountain", "(none)"};

inline constexpr int MaxMapSize = 512;
inline constexpr int DefaultMapWidth = 66;
inline constexpr int DefaultMapHeight = 63;

}  // namespace mireforge
