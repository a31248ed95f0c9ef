#pragma once
// Tile maps of the Tiled editor (TMX in XML, TMJ in JSON): the part of the
// format this program writes and reads, held the same way for both files.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mireforge {

struct TiledProperty {
  std::string Name;
  std::string Type = "string";  // string, int, bool or color
  std::string Value;
};

struct TiledTile {
  int Id = 0;
  std::vector<TiledProperty> Properties;
};

struct TiledTileset {
  std::uint32_t FirstGid = 1;
  std::string Source;  // an external tileset file as the map names it; empty when embedded
  bool Loaded = false; // the fields below are known (embedded, or the external file was read)
  std::string Name;
  int TileWidth = 32;
  int TileHeight = 32;
  int TileCount = 0;
  int Columns = 0;
  std::string Image;
  int ImageWidth = 0;
  int ImageHeight = 0;
  std::vector<TiledTile> Tiles;  // only tiles with properties
};

struct TiledObject {
  std::uint32_t Id = 0;
  std::string Name;
  double X = 0, Y = 0, Width = 0, Height = 0;
  std::vector<TiledProperty> Properties;
};

struct TiledLayer {
  bool IsObjects = false;
  int Id = 0;
  std::string Name;
  bool Visible = true;
  double Opacity = 1;
  std::vector<std::uint32_t> Data;  // tile layers: global tile ids, row by row
  std::vector<TiledObject> Objects;
};

struct TiledMap {
  std::string Orientation = "orthogonal";
  std::string RenderOrder = "right-down";
  int Width = 0;
  int Height = 0;
  int TileWidth = 32;
  int TileHeight = 32;
  bool Infinite = false;
  int NextLayerId = 1;
  std::uint32_t NextObjectId = 1;
  std::vector<TiledProperty> Properties;
  std::vector<TiledTileset> Tilesets;
  std::vector<TiledLayer> Layers;
};

// The Tiled version whose files these are; Debian 12's Tiled 1.8 reads them.
inline constexpr std::string_view TiledFormatVersion = "1.8";
inline constexpr std::string_view TiledEditorVersion = "1.8.2";

// The flip and rotation bits of a global tile id.
inline constexpr std::uint32_t TiledFlagBits = 0xF0000000u;

// The largest map file read: room for every cell of a 512 x 512 map with a long description.
inline constexpr std::uint64_t MaxTiledMapFileBytes = 1024ull * 1024 * 1024;
inline constexpr std::uint64_t MaxTiledTilesetFileBytes = 16ull * 1024 * 1024;

// Refuses, before any layer is read, what cannot become a map of ours: a
// non-orthogonal or infinite map, or one outside 1..512 in either direction.
void CheckImportableTiledMap(const TiledMap& map);

// Layer data as the map file holds it: "csv", or "base64" with compression
// "", "zlib" or "gzip". Exactly count ids, or Error.
std::vector<std::uint32_t> DecodeTiledLayerData(std::string_view text, std::string_view encoding,
                                                std::string_view compression, std::size_t count);

// TMX and TSX (XML). The parsers leave external tilesets unread (Loaded false).
std::string FormatTmx(const TiledMap& map);
std::string FormatTsx(const TiledTileset& tileset);
TiledMap ParseTmx(std::string_view text);
TiledTileset ParseTsx(std::string_view text);

// TMJ and TSJ (JSON), the same map as the XML.
std::string FormatTmj(const TiledMap& map);
TiledMap ParseTmj(std::string_view text);
TiledTileset ParseTsj(std::string_view text);

}  // namespace mireforge
