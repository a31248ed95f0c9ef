#pragma once
// A project as a Tiled map and back: the terrain as a tile layer over our
// terrain tileset, the domains as a hidden tile layer over a tileset made for
// the map (one coloured square per domain), the descriptions that differ from
// their terrain's name as a hidden object layer, and the domain table's
// colours without names as a map property.
#include <string>
#include <string_view>

#include "formats/tiled_map.h"
#include "pictures/tile_pictures.h"
#include "project/project.h"

namespace mireforge {

inline constexpr std::string_view TerrainTilesetName = "Mireforge terrain";
inline constexpr std::string_view DomainTilesetName = "Mireforge domains";
inline constexpr std::string_view TerrainLayerName = "Terrain";
inline constexpr std::string_view DomainLayerName = "Domains";
inline constexpr std::string_view DescriptionLayerName = "Descriptions";
// A domain tileset holds at most this many domains (defined ones and numbers cells use).
inline constexpr int MaxDomainTiles = 4096;

// "mireforge-terrain.tsx" and its picture "mireforge-terrain.png"; the grey and
// retro looks add "-grey" and "-retro" to the name.
std::string TerrainTilesetFileName(TileLook look);

// The map, naming its tileset files as given (relative to the map).
TiledMap TiledMapOfProject(const Project& project, TileLook look, const std::string& domainImageFile);

// The 16 x 1 strip of the terrain tiles in code order, and the domain tiles in
// the order of the map's domain tileset.
Image TerrainTilesetImage(TileLook look);
Image DomainTilesetImage(const TiledMap& map);

// Writes the map (.tmx or .tmj by the name's extension) with its terrain
// tileset (.tsx and .png) and its domain picture ("NAME-domains.png") beside
// it; every file is replaced only once all are written.
void WriteTiledMapFiles(const std::string& path, const Project& project, TileLook look = TileLook::Color);

// Reads a .tmx or .tmj map (its external tilesets relative to its folder) into
// project. Refuses maps that use other tilesets, non-orthogonal, infinite or
// too large ones, each with a message saying so; project is untouched then.
void ReadTiledMapFile(const std::string& path, Project& project);

// The project a parsed map stands for. tilesets already resolved (Loaded where
// their files could be read).
Project ProjectOfTiledMap(const TiledMap& map);

}  // namespace mireforge
