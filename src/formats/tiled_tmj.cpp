// TMJ maps and TSJ tilesets: Tiled's JSON files, the same map as the XML.
#include <cmath>
#include <charconv>

#include "formats/json_document.h"
#include "formats/tiled_map.h"
#include "base/error.h"

namespace mireforge {

namespace {

// --- writing -------------------------------------------------------------------

void Key(std::string& out, std::string_view name) {
  AppendJsonString(out, name);
  out += ':';
}

void StringMember(std::string& out, std::string_view name, std::string_view value) {
  Key(out, name);
  AppendJsonString(out, value);
  out += ',';
}

void NumberMember(std::string& out, std::string_view name, double value) {
  Key(out, name);
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    out += std::to_string(static_cast<long long>(value));
  } else {
    char buffer[32];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
  }
  out += ',';
}

void BoolMember(std::string& out, std::string_view name, bool value) {
  Key(out, name);
  out += value ? "true," : "false,";
}

// Replaces the comma after the last member with the closing bracket.
void Close(std::string& out, char bracket) {
  if (out.back() == ',') out.back() = bracket;
  else out += bracket;
}

// "name":[...], each item written by write (which ends it with a comma).
template <typename Items, typename Write>
void ArrayMember(std::string& out, std::string_view name, const Items& items, Write write) {
  Key(out, name);
  out += '[';
  for (const auto& item : items) write(item);
  Close(out, ']');
  out += ',';
}

void WriteProperties(std::string& out, const std::vector<TiledProperty>& properties) {
  if (properties.empty()) return;
  ArrayMember(out, "properties", properties, [&](const TiledProperty& property) {
    out += '{';
    StringMember(out, "name", property.Name);
    StringMember(out, "type", property.Type);
    Key(out, "value");
    if (property.Type == "int" || property.Type == "bool") out += property.Value;  // already JSON literals
    else AppendJsonString(out, property.Value);
    out += "},";
  });
}

void WriteTilesetBody(std::string& out, const TiledTileset& tileset) {
  NumberMember(out, "columns", tileset.Columns);
  StringMember(out, "image", tileset.Image);
  NumberMember(out, "imageheight", tileset.ImageHeight);
  NumberMember(out, "imagewidth", tileset.ImageWidth);
  NumberMember(out, "margin", 0);
  StringMember(out, "name", tileset.Name);
  NumberMember(out, "spacing", 0);
  NumberMember(out, "tilecount", tileset.TileCount);
  NumberMember(out, "tileheight", tileset.TileHeight);
  ArrayMember(out, "tiles", tileset.Tiles, [&](const TiledTile& tile) {
    out += '{';
    NumberMember(out, "id", tile.Id);
    WriteProperties(out, tile.Properties);
    Close(out, '}');
    out += ',';
  });
  NumberMember(out, "tilewidth", tileset.TileWidth);
}

// --- reading -------------------------------------------------------------------

[[noreturn]] void Fail(const std::string& what) { throw Error("JSON: " + what); }

const JsonValue& Require(const JsonValue& object, std::string_view name, std::string_view owner) {
  const JsonValue* value = object.Member(name);
  if (!value) Fail(std::string(owner) + " has no \"" + std::string(name) + "\"");
  return *value;
}

long long Int(const JsonValue& object, std::string_view name, long long fallback, long long low, long long high,
              std::string_view owner) {
  const JsonValue* value = object.Member(name);
  if (!value) return fallback;
  if (!value->IsNumber() || value->Number != std::floor(value->Number) || value->Number < static_cast<double>(low) ||
      value->Number > static_cast<double>(high))
    Fail("\"" + std::string(name) + "\" of " + std::string(owner) + " is not a whole number from " +
         std::to_string(low) + " to " + std::to_string(high));
  return static_cast<long long>(value->Number);
}

double Number(const JsonValue& object, std::string_view name, double fallback, std::string_view owner) {
  const JsonValue* value = object.Member(name);
  if (!value) return fallback;
  if (!value->IsNumber() || std::fabs(value->Number) > 1e9)
    Fail("\"" + std::string(name) + "\" of " + std::string(owner) + " is not a number");
  return value->Number;
}

std::string Text(const JsonValue& object, std::string_view name, std::string_view owner) {
  const JsonValue* value = object.Member(name);
  if (!value) return {};
  if (!value->IsString()) Fail("\"" + std::string(name) + "\" of " + std::string(owner) + " is not a text");
  return value->String;
}

bool Flag(const JsonValue& object, std::string_view name, bool fallback) {
  const JsonValue* value = object.Member(name);
  if (!value) return fallback;
  if (value->Type == JsonValue::Kind::Bool) return value->Bool;
  if (value->IsNumber()) return value->Number != 0;
  Fail("\"" + std::string(name) + "\" is not true or false");
}

const std::vector<JsonValue>& Array(const JsonValue& object, std::string_view name, std::string_view owner) {
  static const std::vector<JsonValue> none;
  const JsonValue* value = object.Member(name);
  if (!value) return none;
  if (value->Type != JsonValue::Kind::Array) Fail("\"" + std::string(name) + "\" of " + std::string(owner) + " is not a list");
  return value->Items;
}

std::vector<TiledProperty> ReadProperties(const JsonValue& owner) {
  std::vector<TiledProperty> properties;
  for (const JsonValue& item : Array(owner, "properties", "an element")) {
    TiledProperty property;
    property.Name = Text(item, "name", "a property");
    if (item.Member("type")) property.Type = Text(item, "type", "a property");
    const JsonValue& value = Require(item, "value", "a property");
    if (value.IsString()) property.Value = value.String;
    else if (value.Type == JsonValue::Kind::Bool) property.Value = value.Bool ? "true" : "false";
    else if (value.IsNumber() && value.Number == std::floor(value.Number) && std::fabs(value.Number) < 1e15)
      property.Value = std::to_string(static_cast<long long>(value.Number));
    else if (value.IsNumber()) property.Value = std::to_string(value.Number);
    properties.push_back(std::move(property));
  }
  return properties;
}

void ReadTilesetBody(const JsonValue& object, TiledTileset& tileset) {
  tileset.Loaded = true;
  tileset.Name = Text(object, "name", "a tileset");
  tileset.TileWidth = static_cast<int>(Int(object, "tilewidth", 0, 0, 1 << 16, "a tileset"));
  tileset.TileHeight = static_cast<int>(Int(object, "tileheight", 0, 0, 1 << 16, "a tileset"));
  tileset.TileCount = static_cast<int>(Int(object, "tilecount", 0, 0, 1 << 24, "a tileset"));
  tileset.Columns = static_cast<int>(Int(object, "columns", 0, 0, 1 << 24, "a tileset"));
  tileset.Image = Text(object, "image", "a tileset");
  tileset.ImageWidth = static_cast<int>(Int(object, "imagewidth", 0, 0, 1 << 24, "a tileset"));
  tileset.ImageHeight = static_cast<int>(Int(object, "imageheight", 0, 0, 1 << 24, "a tileset"));
  for (const JsonValue& item : Array(object, "tiles", "a tileset")) {
    TiledTile tile;
    tile.Id = static_cast<int>(Int(item, "id", 0, 0, 1 << 24, "a tile"));
    tile.Properties = ReadProperties(item);
    tileset.Tiles.push_back(std::move(tile));
  }
}

TiledLayer ReadLayer(const JsonValue& item, const TiledMap& map) {
  TiledLayer layer;
  const std::string type = Text(item, "type", "a layer");
  layer.IsObjects = type == "objectgroup";
  layer.Id = static_cast<int>(Int(item, "id", 0, 0, INT32_MAX, "a layer"));
  layer.Name = Text(item, "name", "a layer");
  layer.Visible = Flag(item, "visible", true);
  layer.Opacity = Number(item, "opacity", 1.0, "a layer");
  const std::string owner = "layer \"" + layer.Name + "\"";
  if (layer.IsObjects) {
    for (const JsonValue& entry : Array(item, "objects", owner)) {
      TiledObject object;
      object.Id = static_cast<std::uint32_t>(Int(entry, "id", 0, 0, UINT32_MAX, "an object"));
      object.Name = Text(entry, "name", "an object");
      object.X = Number(entry, "x", 0, "an object");
      object.Y = Number(entry, "y", 0, "an object");
      object.Width = Number(entry, "width", 0, "an object");
      object.Height = Number(entry, "height", 0, "an object");
      object.Properties = ReadProperties(entry);
      layer.Objects.push_back(std::move(object));
    }
    return layer;
  }
  if (Int(item, "width", map.Width, 0, INT32_MAX, owner) != map.Width ||
      Int(item, "height", map.Height, 0, INT32_MAX, owner) != map.Height)
    Fail(owner + " is not as large as the map");
  const std::size_t count = static_cast<std::size_t>(map.Width) * map.Height;
  const JsonValue& data = Require(item, "data", owner);
  if (data.IsString()) {
    layer.Data = DecodeTiledLayerData(data.String, Text(item, "encoding", owner), Text(item, "compression", owner), count);
    return layer;
  }
  if (data.Type != JsonValue::Kind::Array) Fail("the data of " + owner + " is neither a list nor a text");
  if (data.Items.size() != count)
    Fail(owner + " holds " + std::to_string(data.Items.size()) + " tiles; the map has " + std::to_string(count));
  layer.Data.reserve(count);
  for (const JsonValue& id : data.Items) {
    if (!id.IsNumber() || id.Number != std::floor(id.Number) || id.Number < 0 || id.Number > 4294967295.0)
      Fail(owner + " holds something that is not a tile number");
    layer.Data.push_back(static_cast<std::uint32_t>(id.Number));
  }
  return layer;
}

}  // namespace

std::string FormatTmj(const TiledMap& map) {
  std::string out = "{";
  NumberMember(out, "compressionlevel", -1);
  NumberMember(out, "height", map.Height);
  BoolMember(out, "infinite", map.Infinite);
  ArrayMember(out, "layers", map.Layers, [&](const TiledLayer& layer) {
    out += "\n{";
    if (layer.IsObjects) {
      StringMember(out, "draworder", "topdown");
    } else {
      ArrayMember(out, "data", layer.Data, [&](std::uint32_t id) {
        out += std::to_string(id);
        out += ',';
      });
      NumberMember(out, "height", map.Height);
    }
    NumberMember(out, "id", layer.Id);
    StringMember(out, "name", layer.Name);
    if (layer.IsObjects) {
      ArrayMember(out, "objects", layer.Objects, [&](const TiledObject& object) {
        out += "\n{";
        NumberMember(out, "height", object.Height);
        NumberMember(out, "id", object.Id);
        StringMember(out, "name", object.Name);
        WriteProperties(out, object.Properties);
        NumberMember(out, "rotation", 0);
        StringMember(out, "type", "");
        BoolMember(out, "visible", true);
        NumberMember(out, "width", object.Width);
        NumberMember(out, "x", object.X);
        NumberMember(out, "y", object.Y);
        Close(out, '}');
        out += ',';
      });
    }
    NumberMember(out, "opacity", layer.Opacity);
    StringMember(out, "type", layer.IsObjects ? "objectgroup" : "tilelayer");
    BoolMember(out, "visible", layer.Visible);
    if (!layer.IsObjects) NumberMember(out, "width", map.Width);
    NumberMember(out, "x", 0);
    NumberMember(out, "y", 0);
    Close(out, '}');
    out += ',';
  });
  NumberMember(out, "nextlayerid", map.NextLayerId);
  NumberMember(out, "nextobjectid", map.NextObjectId);
  StringMember(out, "orientation", map.Orientation);
  WriteProperties(out, map.Properties);
  StringMember(out, "renderorder", map.RenderOrder);
  StringMember(out, "tiledversion", TiledEditorVersion);
  NumberMember(out, "tileheight", map.TileHeight);
  ArrayMember(out, "tilesets", map.Tilesets, [&](const TiledTileset& tileset) {
    out += "\n{";
    NumberMember(out, "firstgid", tileset.FirstGid);
    if (!tileset.Source.empty()) StringMember(out, "source", tileset.Source);
    else WriteTilesetBody(out, tileset);
    Close(out, '}');
    out += ',';
  });
  NumberMember(out, "tilewidth", map.TileWidth);
  StringMember(out, "type", "map");
  StringMember(out, "version", TiledFormatVersion);
  NumberMember(out, "width", map.Width);
  Close(out, '}');
  out += '\n';
  return out;
}

TiledMap ParseTmj(std::string_view text) {
  const JsonValue root = ParseJson(text);
  if (root.Type != JsonValue::Kind::Object || (root.Member("type") && Text(root, "type", "the map") != "map"))
    Fail("this is not a Tiled map");
  TiledMap map;
  if (root.Member("orientation")) map.Orientation = Text(root, "orientation", "the map");
  if (root.Member("renderorder")) map.RenderOrder = Text(root, "renderorder", "the map");
  map.Width = static_cast<int>(Int(root, "width", 0, 0, INT32_MAX, "the map"));
  map.Height = static_cast<int>(Int(root, "height", 0, 0, INT32_MAX, "the map"));
  map.TileWidth = static_cast<int>(Int(root, "tilewidth", 0, 0, 1 << 16, "the map"));
  map.TileHeight = static_cast<int>(Int(root, "tileheight", 0, 0, 1 << 16, "the map"));
  map.Infinite = Flag(root, "infinite", false);
  CheckImportableTiledMap(map);
  map.Properties = ReadProperties(root);
  for (const JsonValue& item : Array(root, "tilesets", "the map")) {
    TiledTileset tileset;
    tileset.FirstGid = static_cast<std::uint32_t>(Int(item, "firstgid", 1, 1, 0x0FFFFFFF, "a tileset"));
    tileset.Source = Text(item, "source", "a tileset");
    if (tileset.Source.empty()) ReadTilesetBody(item, tileset);
    map.Tilesets.push_back(std::move(tileset));
  }
  for (const JsonValue& item : Array(root, "layers", "the map")) {
    const std::string type = Text(item, "type", "a layer");
    if (type == "tilelayer" || type == "objectgroup") map.Layers.push_back(ReadLayer(item, map));
  }
  return map;
}

TiledTileset ParseTsj(std::string_view text) {
  const JsonValue root = ParseJson(text);
  if (root.Type != JsonValue::Kind::Object) Fail("this is not a Tiled tileset");
  TiledTileset tileset;
  ReadTilesetBody(root, tileset);
  return tileset;
}

}  // namespace mireforge
