#include "formats/tiled_project.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <map>
#include <unordered_map>

#include "base/file_io.h"
#include "base/file_set.h"
#include "formats/map_image.h"
#include "formats/midnight_map.h"
#include "base/text_encoding.h"
#include "base/error.h"
#include "pictures/png_codec.h"

namespace mireforge {

namespace {

constexpr int Tile = TilePictureSize;
constexpr int DomainColumns = 16;
constexpr std::string_view UndefinedColorsProperty = "undefinedDomainColors";
constexpr std::string_view ExactSuffix = " (exact)";
constexpr std::uint32_t DomainPlaceholder = Argb(128, 128, 128);

// --- texts that must come back exactly ------------------------------------------

// XML 1.0 cannot carry most control characters, nor U+FFFE and U+FFFF, at all.
bool XmlCarries(char32_t c) {
  return (c >= 0x20 && c != 0xFFFE && c != 0xFFFF) || c == '\t' || c == '\n' || c == '\r';
}

// The text with what XML cannot carry replaced by U+FFFD; sets exact to false
// when anything was replaced.
std::string CarriedText(std::string_view text, bool& exact) {
  exact = true;
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    char32_t c = 0;
    const std::size_t length = Utf8SequenceAt(text, at, c);
    if (length == 0 || !XmlCarries(c)) {
      exact = false;
      AppendUtf8(out, 0xFFFD);
      at += length == 0 ? 1 : length;
      continue;
    }
    out.append(text.substr(at, length));
    at += length;
  }
  return out;
}

// Every byte outside printable ASCII, and '%', as %XX: plain ASCII any file carries.
std::string PercentEncode(std::string_view text) {
  static constexpr char Hex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7F || c == '%') {
      out += '%';
      out += Hex[u >> 4];
      out += Hex[u & 15];
    } else {
      out += c;
    }
  }
  return out;
}

std::string PercentDecode(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    unsigned value = 0;
    if (i + 2 >= text.size()) throw Error("A text of the Tiled map is damaged");
    const auto [end, error] = std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
    if (error != std::errc() || end != text.data() + i + 3) throw Error("A text of the Tiled map is damaged");
    out += static_cast<char>(value);
    i += 2;
  }
  return out;
}

// Sets the visible text, and an exact copy as a property when the text had to change.
void CarryText(std::string_view text, std::string& visible, std::vector<TiledProperty>& properties,
               std::string_view name) {
  bool exact = true;
  visible = CarriedText(text, exact);
  if (!exact) properties.push_back({std::string(name) + std::string(ExactSuffix), "string", PercentEncode(text)});
}

const TiledProperty* FindProperty(const std::vector<TiledProperty>& properties, std::string_view name) {
  for (const TiledProperty& property : properties)
    if (property.Name == name) return &property;
  return nullptr;
}

std::string ReadCarriedText(const std::string& visible, const std::vector<TiledProperty>& properties,
                            std::string_view name) {
  const TiledProperty* exact = FindProperty(properties, std::string(name) + std::string(ExactSuffix));
  return exact ? PercentDecode(exact->Value) : visible;
}

long long ParseInteger(std::string_view text, const std::string& what) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < INT32_MIN ||
      value > INT32_MAX)
    throw Error(what + " is not a whole number: '" + std::string(text) + "'");
  return value;
}

// --- colours --------------------------------------------------------------------

// A plain 0x00BBGGRR colour as Tiled's "#AARRGGBB"; others have no such form.
bool PlainColor(std::int32_t color) { return (static_cast<std::uint32_t>(color) & 0xFF000000u) == 0; }

std::string TiledColor(std::int32_t color) {
  static constexpr char Hex[] = "0123456789abcdef";
  const auto c = static_cast<std::uint32_t>(color);
  std::string out = "#ff";
  for (const std::uint32_t channel : {c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF}) {
    out += Hex[channel >> 4];
    out += Hex[channel & 15];
  }
  return out;
}

std::int32_t ColorOfTiled(std::string_view text) {
  if (text.size() == 9 && text[0] == '#') text.remove_prefix(3);  // the alpha plays no part
  else if (text.size() == 7 && text[0] == '#') text.remove_prefix(1);
  else throw Error("'" + std::string(text) + "' is not a Tiled colour");
  std::uint32_t rgb = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), rgb, 16);
  if (error != std::errc() || end != text.data() + text.size()) throw Error("'" + std::string(text) + "' is not a Tiled colour");
  return static_cast<std::int32_t>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

// --- the domain tileset -----------------------------------------------------------

// Defined domains, and every other number a cell uses except 0 (the default).
std::vector<long long> TiledDomains(const Project& project) {
  std::vector<long long> numbers;
  for (int n = 0; n < DomainCount; ++n)
    if (project.Domains.Defined(n)) numbers.push_back(n);
  for (const TDescItem& item : project.Descriptions.Entries)
    if (item.Domain != 0 && !project.Domains.Defined(item.Domain)) numbers.push_back(item.Domain);
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  if (numbers.size() > MaxDomainTiles)
    throw Error("The map uses " + std::to_string(numbers.size()) + " different domains; a Tiled map of it can hold " +
                std::to_string(MaxDomainTiles));
  return numbers;
}

TiledTile DomainTile(int id, long long number, const DomainTable& domains) {
  TiledTile tile;
  tile.Id = id;
  tile.Properties.push_back({"domain", "int", std::to_string(number)});
  TiledProperty name{"name", "string", ""};
  CarryText(domains.Name(number), name.Value, tile.Properties, "name");
  tile.Properties.insert(tile.Properties.begin() + 1, name);
  const std::int32_t color = domains.Color(number);
  if (PlainColor(color)) tile.Properties.push_back({"color", "color", TiledColor(color)});
  else tile.Properties.push_back({"colorValue", "int", std::to_string(color)});
  return tile;
}

TiledTileset TerrainTileset(TileLook look) {
  TiledTileset tileset;
  tileset.Loaded = true;
  tileset.Name = std::string(TerrainTilesetName);
  tileset.TileWidth = tileset.TileHeight = Tile;
  tileset.TileCount = tileset.Columns = TerrainCount;
  const std::string file = TerrainTilesetFileName(look);
  tileset.Image = file.substr(0, file.size() - 4) + ".png";
  tileset.ImageWidth = Tile * TerrainCount;
  tileset.ImageHeight = Tile;
  for (int code = 0; code < TerrainCount; ++code)
    tileset.Tiles.push_back({code,
                             {{"terrain", "string", std::string(TerrainNames[code])},
                              {"letter", "string", std::string(1, TerrainLetters[code])}}});
  return tileset;
}

std::string FileNameOf(const std::string& path) {
  std::string name = std::filesystem::path(path).filename().string();
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  return name;
}

bool IsTerrainTileset(const TiledTileset& tileset) {
  constexpr std::string_view Prefix = "mireforge-terrain";
  if (FileNameOf(tileset.Source).starts_with(Prefix)) return true;
  return tileset.Loaded && (tileset.Name.starts_with(TerrainTilesetName) || FileNameOf(tileset.Image).starts_with(Prefix));
}

bool IsDomainTileset(const TiledTileset& tileset) { return tileset.Loaded && tileset.Name == DomainTilesetName; }

const TiledLayer* FindLayer(const TiledMap& map, std::string_view name, bool objects) {
  for (const TiledLayer& layer : map.Layers)
    if (layer.IsObjects == objects && layer.Name == name) return &layer;
  return nullptr;
}

std::string CellText(int x, int y) { return "[" + std::to_string(x) + "," + std::to_string(y) + "]"; }

}  // namespace

std::string TerrainTilesetFileName(TileLook look) {
  switch (look) {
    case TileLook::Grayscale: return "mireforge-terrain-grey.tsx";
    case TileLook::Retro: return "mireforge-terrain-retro.tsx";
    case TileLook::Color: break;
  }
  return "mireforge-terrain.tsx";
}

TiledMap TiledMapOfProject(const Project& project, TileLook look, const std::string& domainImageFile) {
  const MapGrid& grid = project.Map;
  if (grid.Width < 1 || grid.Height < 1) throw Error("The map is empty: there is nothing to export");
  const bool described = project.Descriptions.Size() == grid.Cells.size();
  TiledMap map;
  map.Width = grid.Width;
  map.Height = grid.Height;
  map.TileWidth = map.TileHeight = Tile;

  TiledTileset terrain;
  terrain.FirstGid = 1;
  terrain.Source = TerrainTilesetFileName(look);
  map.Tilesets.push_back(terrain);

  const std::vector<long long> domains = TiledDomains(project);
  std::unordered_map<long long, std::uint32_t> domainGid;
  if (!domains.empty()) {
    TiledTileset tileset;
    tileset.Loaded = true;
    tileset.FirstGid = 1 + TerrainCount;
    tileset.Name = std::string(DomainTilesetName);
    tileset.TileWidth = tileset.TileHeight = Tile;
    tileset.TileCount = static_cast<int>(domains.size());
    tileset.Columns = std::min<int>(tileset.TileCount, DomainColumns);
    tileset.Image = domainImageFile;
    tileset.ImageWidth = tileset.Columns * Tile;
    tileset.ImageHeight = (tileset.TileCount + DomainColumns - 1) / DomainColumns * Tile;
    for (std::size_t i = 0; i < domains.size(); ++i) {
      tileset.Tiles.push_back(DomainTile(static_cast<int>(i), domains[i], project.Domains));
      domainGid[domains[i]] = tileset.FirstGid + static_cast<std::uint32_t>(i);
    }
    map.Tilesets.push_back(std::move(tileset));
  }

  const auto layer = [](bool objects, int id, std::string_view name, bool visible, double opacity) {
    TiledLayer made;
    made.IsObjects = objects;
    made.Id = id;
    made.Name = std::string(name);
    made.Visible = visible;
    made.Opacity = opacity;
    return made;
  };
  TiledLayer terrainLayer = layer(false, 1, TerrainLayerName, true, 1);
  TiledLayer domainLayer = layer(false, 2, DomainLayerName, false, 0.6);
  TiledLayer descriptionLayer = layer(true, 3, DescriptionLayerName, false, 1);
  terrainLayer.Data.resize(grid.Cells.size());
  domainLayer.Data.resize(grid.Cells.size());
  for (int y = 0; y < grid.Height; ++y) {
    for (int x = 0; x < grid.Width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * grid.Width + x;
      const int code = grid.GetTerrain(x, y);
      terrainLayer.Data[i] = 1 + code;
      if (!described) continue;
      const TDescItem& item = project.Descriptions.Entry(i);
      const auto gid = domainGid.find(item.Domain);
      domainLayer.Data[i] = gid == domainGid.end() ? 0 : gid->second;
      if (item.Text == TerrainNames[code]) continue;
      TiledObject object;
      object.Id = map.NextObjectId++;
      CarryText(item.Text, object.Name, object.Properties, "name");
      object.X = x * Tile;
      object.Y = y * Tile;
      object.Width = object.Height = Tile;
      descriptionLayer.Objects.push_back(std::move(object));
    }
  }
  map.Layers = {std::move(terrainLayer), std::move(domainLayer), std::move(descriptionLayer)};
  map.NextLayerId = 4;

  std::string undefined;
  for (int n = 0; n < DomainCount; ++n) {
    const DomainSlot& slot = project.Domains.Slots[n];
    if (!slot.Name.empty() || slot.Color == NoColor) continue;
    if (!undefined.empty()) undefined += ' ';
    undefined += std::to_string(n) + "=" + std::to_string(slot.Color);
  }
  if (!undefined.empty()) map.Properties.push_back({std::string(UndefinedColorsProperty), "string", undefined});
  return map;
}

Image TerrainTilesetImage(TileLook look) {
  const std::vector<Image> tiles = TerrainTiles(look);
  Image strip(Tile * TerrainCount, Tile);
  for (int code = 0; code < TerrainCount; ++code) {
    // Scaled as the map image scales, so both draw the same pixels.
    const Image tile = ScaleTile(tiles[code], Tile);
    for (int y = 0; y < Tile; ++y)
      for (int x = 0; x < Tile; ++x) strip.At(code * Tile + x, y) = tile.At(x, y);
  }
  return strip;
}

Image DomainTilesetImage(const TiledMap& map) {
  for (const TiledTileset& tileset : map.Tilesets) {
    if (!IsDomainTileset(tileset)) continue;
    Image image(tileset.ImageWidth, tileset.ImageHeight, 0);
    for (const TiledTile& tile : tileset.Tiles) {
      std::uint32_t pixel = DomainPlaceholder;
      if (const TiledProperty* color = FindProperty(tile.Properties, "color")) {
        const auto c = static_cast<std::uint32_t>(ColorOfTiled(color->Value));
        pixel = Argb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
      }
      const int left = tile.Id % DomainColumns * Tile, top = tile.Id / DomainColumns * Tile;
      for (int y = 0; y < Tile; ++y)
        for (int x = 0; x < Tile; ++x) image.At(left + x, top + y) = pixel;
    }
    return image;
  }
  return {};
}

void WriteTiledMapFiles(const std::string& path, const Project& project, TileLook look) {
  const std::string extension = LowerExtension(path);
  if (extension != "tmx" && extension != "tmj")
    throw Error("A Tiled map is written as .tmx or .tmj, not ." + extension);
  const std::filesystem::path target(path);
  const std::filesystem::path folder = target.parent_path();
  const std::string domainImage = target.stem().string() + "-domains.png";
  const TiledMap map = TiledMapOfProject(project, look, domainImage);
  const std::string failure = "Cannot create file %s";

  AtomicFileSet files;
  const TiledTileset terrain = TerrainTileset(look);
  files.Add((folder / TerrainTilesetFileName(look)).string(), FormatTsx(terrain), failure);
  files.Add((folder / terrain.Image).string(), EncodePng(TerrainTilesetImage(look), PngColor::Rgb), failure);
  const Image domains = DomainTilesetImage(map);
  if (!domains.Empty()) files.Add((folder / domainImage).string(), EncodePng(domains, PngColor::Rgb), failure);
  files.Add(path, extension == "tmj" ? FormatTmj(map) : FormatTmx(map), failure);
  files.Commit();
}

Project ProjectOfTiledMap(const TiledMap& map) {
  CheckImportableTiledMap(map);
  const TiledTileset* terrain = nullptr;
  const TiledTileset* domainTiles = nullptr;
  for (const TiledTileset& tileset : map.Tilesets) {
    if (!terrain && IsTerrainTileset(tileset)) terrain = &tileset;
    else if (!domainTiles && IsDomainTileset(tileset)) domainTiles = &tileset;
    else
      throw Error("The Tiled map uses the tileset \"" + (tileset.Name.empty() ? tileset.Source : tileset.Name) +
                  "\"; only Mireforge's terrain tileset (" + TerrainTilesetFileName(TileLook::Color) +
                  ") and its domain tileset can be imported");
  }
  if (!terrain) throw Error("The Tiled map does not use Mireforge's terrain tileset (" +
                            TerrainTilesetFileName(TileLook::Color) + ")");
  const TiledLayer* terrainLayer = FindLayer(map, TerrainLayerName, false);
  if (!terrainLayer) throw Error("The Tiled map has no tile layer \"" + std::string(TerrainLayerName) + "\"");
  const TiledLayer* domainLayer = FindLayer(map, DomainLayerName, false);
  const TiledLayer* descriptionLayer = FindLayer(map, DescriptionLayerName, true);
  const std::size_t cells = static_cast<std::size_t>(map.Width) * map.Height;
  for (const TiledLayer* layer : {terrainLayer, domainLayer})
    if (layer && layer->Data.size() != cells) throw Error("The layer \"" + layer->Name + "\" is not as large as the map");

  Project project;
  project.Domains.ResetDomains();
  if (const TiledProperty* colors = FindProperty(map.Properties, UndefinedColorsProperty)) {
    std::string_view rest = colors->Value;
    while (!rest.empty()) {
      const std::size_t space = rest.find(' ');
      const std::string_view item = rest.substr(0, space);
      rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
      const std::size_t equals = item.find('=');
      if (equals == std::string_view::npos) throw Error("The map property " + std::string(UndefinedColorsProperty) + " is damaged");
      const long long n = ParseInteger(item.substr(0, equals), "A domain number");
      if (!DomainTable::ValidNumber(n)) throw Error("The map property " + std::string(UndefinedColorsProperty) + " names domain " + std::to_string(n));
      project.Domains.Slots[n].Color = static_cast<std::int32_t>(ParseInteger(item.substr(equals + 1), "A domain colour"));
    }
  }

  std::map<int, long long> domainOfTile;
  if (domainTiles) {
    for (const TiledTile& tile : domainTiles->Tiles) {
      const TiledProperty* number = FindProperty(tile.Properties, "domain");
      if (!number) continue;
      const long long n = ParseInteger(number->Value, "The domain number of a domain tile");
      domainOfTile[tile.Id] = n;
      const TiledProperty* name = FindProperty(tile.Properties, "name");
      const std::string text = name ? ReadCarriedText(name->Value, tile.Properties, "name") : std::string();
      if (text.empty() || !DomainTable::ValidNumber(n)) continue;
      DomainSlot& slot = project.Domains.Slots[n];
      slot.Name = text;
      if (const TiledProperty* value = FindProperty(tile.Properties, "colorValue"))
        slot.Color = static_cast<std::int32_t>(ParseInteger(value->Value, "A domain colour"));
      else if (const TiledProperty* color = FindProperty(tile.Properties, "color"))
        slot.Color = ColorOfTiled(color->Value);
    }
  }

  MapGrid& grid = project.Map;
  grid.ResizeMap(map.Width, map.Height);
  project.Descriptions.Reserve(grid.Cells.size());
  for (int y = 0; y < map.Height; ++y) {
    for (int x = 0; x < map.Width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * map.Width + x;
      const std::uint32_t gid = terrainLayer->Data[i] & ~TiledFlagBits;
      int code = NoTerrain;
      if (gid != 0) {
        if (gid < terrain->FirstGid || gid - terrain->FirstGid >= TerrainCount)
          throw Error("Cell " + CellText(x, y) + " of the layer \"" + std::string(TerrainLayerName) +
                      "\" holds a tile that is not one of Mireforge's terrain tiles");
        code = static_cast<int>(gid - terrain->FirstGid);
      }
      grid.Cells[i] = static_cast<TerrainCode>(code);
      long long domain = 0;
      if (domainLayer) {
        const std::uint32_t id = domainLayer->Data[i] & ~TiledFlagBits;
        if (id != 0) {
          const auto found = domainTiles && id >= domainTiles->FirstGid
                                 ? domainOfTile.find(static_cast<int>(std::min<std::uint32_t>(id - domainTiles->FirstGid, INT32_MAX)))
                                 : domainOfTile.end();
          if (found == domainOfTile.end())
            throw Error("Cell " + CellText(x, y) + " of the layer \"" + std::string(DomainLayerName) +
                        "\" holds a tile that is not one of the map's domain tiles");
          domain = found->second;
        }
      }
      project.Descriptions.AddDescription(code, std::string(TerrainNames[code]), x, y, static_cast<int>(domain));
    }
  }

  if (descriptionLayer) {
    std::vector<bool> described(grid.Cells.size(), false);
    for (const TiledObject& object : descriptionLayer->Objects) {
      // The cell under the object's centre, so a slightly moved rectangle keeps its cell.
      const double cx = std::floor((object.X + object.Width / 2) / map.TileWidth);
      const double cy = std::floor((object.Y + object.Height / 2) / map.TileHeight);
      if (cx < 0 || cy < 0 || cx >= map.Width || cy >= map.Height)
        throw Error("The description \"" + object.Name + "\" lies outside the map");
      const int x = static_cast<int>(cx), y = static_cast<int>(cy);
      const std::size_t i = static_cast<std::size_t>(y) * map.Width + x;
      if (described[i]) throw Error("Cell " + CellText(x, y) + " has two descriptions in the Tiled map");
      described[i] = true;
      project.Descriptions.Entry(i).Text = ReadCarriedText(object.Name, object.Properties, "name");
    }
  }
  grid.RebuildTerrainRows();
  project.ProjectSaved = false;
  return project;
}

void ReadTiledMapFile(const std::string& path, Project& project) {
  const std::string extension = LowerExtension(path);
  const std::string text = ReadWholeFile(path, MaxTiledMapFileBytes);
  TiledMap map = extension == "tmj" || extension == "json" ? ParseTmj(text) : ParseTmx(text);
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  for (TiledTileset& tileset : map.Tilesets) {
    if (tileset.Source.empty()) continue;
    // A tileset that cannot be read is still known by its file name.
    try {
      const std::filesystem::path file = folder / tileset.Source;
      const std::string bytes = ReadWholeFile(file.string(), MaxTiledTilesetFileBytes);
      const std::string kind = LowerExtension(file.string());
      TiledTileset read = kind == "tsj" || kind == "json" ? ParseTsj(bytes) : ParseTsx(bytes);
      read.FirstGid = tileset.FirstGid;
      read.Source = tileset.Source;
      tileset = std::move(read);
    } catch (const Error&) {
    }
  }
  project = ProjectOfTiledMap(map);
}

}  // namespace mireforge
