// TMX maps and TSX tilesets: Tiled's XML files.
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "formats/tiled_map.h"
#include "formats/xml_document.h"
#include "base/error.h"

namespace mireforge {

namespace {

// --- writing -------------------------------------------------------------------

void Attribute(std::string& out, std::string_view name, std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  AppendXmlEscaped(out, value);
  out += '"';
}

void Attribute(std::string& out, std::string_view name, long long value) {
  Attribute(out, name, std::to_string(value));
}

std::string NumberText(double value) {
  if (value == std::floor(value) && std::fabs(value) < 1e15) return std::to_string(static_cast<long long>(value));
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

void WriteProperties(std::string& out, const std::vector<TiledProperty>& properties, std::string_view indent) {
  if (properties.empty()) return;
  out += indent;
  out += "<properties>\n";
  for (const TiledProperty& property : properties) {
    out += indent;
    out += " <property";
    Attribute(out, "name", property.Name);
    if (property.Type != "string") Attribute(out, "type", property.Type);
    Attribute(out, "value", property.Value);
    out += "/>\n";
  }
  out += indent;
  out += "</properties>\n";
}

// The tileset's own element content: image and tiles.
void WriteTilesetBody(std::string& out, const TiledTileset& tileset, std::string_view indent) {
  Attribute(out, "name", tileset.Name);
  Attribute(out, "tilewidth", tileset.TileWidth);
  Attribute(out, "tileheight", tileset.TileHeight);
  Attribute(out, "tilecount", tileset.TileCount);
  Attribute(out, "columns", tileset.Columns);
  out += ">\n";
  out += indent;
  out += " <image";
  Attribute(out, "source", tileset.Image);
  Attribute(out, "width", tileset.ImageWidth);
  Attribute(out, "height", tileset.ImageHeight);
  out += "/>\n";
  const std::string inner = std::string(indent) + "  ";
  for (const TiledTile& tile : tileset.Tiles) {
    out += indent;
    out += " <tile";
    Attribute(out, "id", tile.Id);
    out += ">\n";
    WriteProperties(out, tile.Properties, inner);
    out += indent;
    out += " </tile>\n";
  }
}

constexpr std::string_view XmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// --- reading -------------------------------------------------------------------

[[noreturn]] void Fail(const XmlElement& element, const std::string& what) {
  throw Error("XML line " + std::to_string(element.Line) + ": " + what);
}

long long IntAttribute(const XmlElement& element, std::string_view name, long long fallback, long long low,
                       long long high) {
  const std::string* text = element.Attribute(name);
  if (!text) return fallback;
  long long value = 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (error != std::errc() || end != text->data() + text->size() || value < low || value > high)
    Fail(element, "attribute " + std::string(name) + " of <" + element.Name + "> is not a whole number from " +
                      std::to_string(low) + " to " + std::to_string(high));
  return value;
}

double NumberAttribute(const XmlElement& element, std::string_view name) {
  const std::string* text = element.Attribute(name);
  if (!text) return 0;
  double value = 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (error != std::errc() || end != text->data() + text->size() || !std::isfinite(value) || std::fabs(value) > 1e9)
    Fail(element, "attribute " + std::string(name) + " of <" + element.Name + "> is not a number");
  return value;
}

std::string TextAttribute(const XmlElement& element, std::string_view name) {
  const std::string* text = element.Attribute(name);
  return text ? *text : std::string();
}

std::vector<TiledProperty> ReadProperties(const XmlElement& owner) {
  std::vector<TiledProperty> properties;
  const XmlElement* list = owner.Child("properties");
  if (!list) return properties;
  for (const XmlElement& element : list->Children) {
    if (element.Name != "property") continue;
    TiledProperty property;
    property.Name = TextAttribute(element, "name");
    if (const std::string* type = element.Attribute("type")) property.Type = *type;
    // A multi-line string keeps its value as the element's text.
    property.Value = element.Attribute("value") ? *element.Attribute("value") : element.Text;
    properties.push_back(std::move(property));
  }
  return properties;
}

void ReadTilesetBody(const XmlElement& element, TiledTileset& tileset) {
  tileset.Loaded = true;
  tileset.Name = TextAttribute(element, "name");
  tileset.TileWidth = static_cast<int>(IntAttribute(element, "tilewidth", 0, 0, 1 << 16));
  tileset.TileHeight = static_cast<int>(IntAttribute(element, "tileheight", 0, 0, 1 << 16));
  tileset.TileCount = static_cast<int>(IntAttribute(element, "tilecount", 0, 0, 1 << 24));
  tileset.Columns = static_cast<int>(IntAttribute(element, "columns", 0, 0, 1 << 24));
  if (const XmlElement* image = element.Child("image")) {
    tileset.Image = TextAttribute(*image, "source");
    tileset.ImageWidth = static_cast<int>(IntAttribute(*image, "width", 0, 0, 1 << 24));
    tileset.ImageHeight = static_cast<int>(IntAttribute(*image, "height", 0, 0, 1 << 24));
  }
  for (const XmlElement& child : element.Children) {
    if (child.Name != "tile") continue;
    TiledTile tile;
    tile.Id = static_cast<int>(IntAttribute(child, "id", 0, 0, 1 << 24));
    tile.Properties = ReadProperties(child);
    tileset.Tiles.push_back(std::move(tile));
  }
}

TiledLayer ReadTileLayer(const XmlElement& element, const TiledMap& map) {
  TiledLayer layer;
  layer.Id = static_cast<int>(IntAttribute(element, "id", 0, 0, INT32_MAX));
  layer.Name = TextAttribute(element, "name");
  layer.Visible = IntAttribute(element, "visible", 1, 0, 1) == 1;
  layer.Opacity = element.Attribute("opacity") ? NumberAttribute(element, "opacity") : 1.0;
  const long long width = IntAttribute(element, "width", map.Width, 0, INT32_MAX);
  const long long height = IntAttribute(element, "height", map.Height, 0, INT32_MAX);
  if (width != map.Width || height != map.Height)
    Fail(element, "layer \"" + layer.Name + "\" is not as large as the map");
  const XmlElement* data = element.Child("data");
  const std::size_t count = static_cast<std::size_t>(map.Width) * map.Height;
  if (!data) Fail(element, "layer \"" + layer.Name + "\" has no data");
  const std::string encoding = TextAttribute(*data, "encoding");
  if (encoding.empty()) {
    // The oldest form: one <tile gid="..."/> per cell.
    for (const XmlElement& tile : data->Children) {
      if (tile.Name != "tile") continue;
      if (layer.Data.size() == count) Fail(*data, "the layer data holds more tiles than the layer");
      layer.Data.push_back(static_cast<std::uint32_t>(IntAttribute(tile, "gid", 0, 0, UINT32_MAX)));
    }
    if (layer.Data.size() != count) Fail(*data, "the layer data holds fewer tiles than the layer");
  } else {
    try {
      layer.Data = DecodeTiledLayerData(data->Text, encoding, TextAttribute(*data, "compression"), count);
    } catch (const Error& e) {
      Fail(*data, e.what());
    }
  }
  return layer;
}

TiledLayer ReadObjectLayer(const XmlElement& element) {
  TiledLayer layer;
  layer.IsObjects = true;
  layer.Id = static_cast<int>(IntAttribute(element, "id", 0, 0, INT32_MAX));
  layer.Name = TextAttribute(element, "name");
  layer.Visible = IntAttribute(element, "visible", 1, 0, 1) == 1;
  layer.Opacity = element.Attribute("opacity") ? NumberAttribute(element, "opacity") : 1.0;
  for (const XmlElement& child : element.Children) {
    if (child.Name != "object") continue;
    TiledObject object;
    object.Id = static_cast<std::uint32_t>(IntAttribute(child, "id", 0, 0, UINT32_MAX));
    object.Name = TextAttribute(child, "name");
    object.X = NumberAttribute(child, "x");
    object.Y = NumberAttribute(child, "y");
    object.Width = NumberAttribute(child, "width");
    object.Height = NumberAttribute(child, "height");
    object.Properties = ReadProperties(child);
    layer.Objects.push_back(std::move(object));
  }
  return layer;
}

}  // namespace

std::string FormatTmx(const TiledMap& map) {
  std::string out(XmlDeclaration);
  out += "<map";
  Attribute(out, "version", TiledFormatVersion);
  Attribute(out, "tiledversion", TiledEditorVersion);
  Attribute(out, "orientation", map.Orientation);
  Attribute(out, "renderorder", map.RenderOrder);
  Attribute(out, "width", map.Width);
  Attribute(out, "height", map.Height);
  Attribute(out, "tilewidth", map.TileWidth);
  Attribute(out, "tileheight", map.TileHeight);
  Attribute(out, "infinite", map.Infinite ? 1 : 0);
  Attribute(out, "nextlayerid", map.NextLayerId);
  Attribute(out, "nextobjectid", map.NextObjectId);
  out += ">\n";
  WriteProperties(out, map.Properties, " ");
  for (const TiledTileset& tileset : map.Tilesets) {
    out += " <tileset";
    Attribute(out, "firstgid", tileset.FirstGid);
    if (!tileset.Source.empty()) {
      Attribute(out, "source", tileset.Source);
      out += "/>\n";
      continue;
    }
    WriteTilesetBody(out, tileset, " ");
    out += " </tileset>\n";
  }
  for (const TiledLayer& layer : map.Layers) {
    out += layer.IsObjects ? " <objectgroup" : " <layer";
    Attribute(out, "id", layer.Id);
    Attribute(out, "name", layer.Name);
    if (!layer.IsObjects) {
      Attribute(out, "width", map.Width);
      Attribute(out, "height", map.Height);
    }
    if (!layer.Visible) Attribute(out, "visible", 0);
    if (layer.Opacity != 1) Attribute(out, "opacity", NumberText(layer.Opacity));
    out += ">\n";
    if (layer.IsObjects) {
      for (const TiledObject& object : layer.Objects) {
        out += "  <object";
        Attribute(out, "id", object.Id);
        Attribute(out, "name", object.Name);
        Attribute(out, "x", NumberText(object.X));
        Attribute(out, "y", NumberText(object.Y));
        Attribute(out, "width", NumberText(object.Width));
        Attribute(out, "height", NumberText(object.Height));
        if (object.Properties.empty()) {
          out += "/>\n";
          continue;
        }
        out += ">\n";
        WriteProperties(out, object.Properties, "   ");
        out += "  </object>\n";
      }
      out += " </objectgroup>\n";
      continue;
    }
    out += "  <data encoding=\"csv\">\n";
    for (int y = 0; y < map.Height; ++y) {
      for (int x = 0; x < map.Width; ++x) {
        out += std::to_string(layer.Data[static_cast<std::size_t>(y) * map.Width + x]);
        if (x + 1 < map.Width || y + 1 < map.Height) out += ',';
      }
      out += '\n';
    }
    out += "</data>\n </layer>\n";
  }
  out += "</map>\n";
  return out;
}

std::string FormatTsx(const TiledTileset& tileset) {
  std::string out(XmlDeclaration);
  out += "<tileset";
  Attribute(out, "version", TiledFormatVersion);
  Attribute(out, "tiledversion", TiledEditorVersion);
  WriteTilesetBody(out, tileset, "");
  out += "</tileset>\n";
  return out;
}

TiledMap ParseTmx(std::string_view text) {
  const XmlElement root = ParseXml(text);
  if (root.Name != "map") Fail(root, "this is not a Tiled map (its root element is <" + root.Name + ">)");
  TiledMap map;
  map.Orientation = root.Attribute("orientation") ? *root.Attribute("orientation") : "orthogonal";
  map.RenderOrder = root.Attribute("renderorder") ? *root.Attribute("renderorder") : "right-down";
  map.Width = static_cast<int>(IntAttribute(root, "width", 0, 0, INT32_MAX));
  map.Height = static_cast<int>(IntAttribute(root, "height", 0, 0, INT32_MAX));
  map.TileWidth = static_cast<int>(IntAttribute(root, "tilewidth", 0, 0, 1 << 16));
  map.TileHeight = static_cast<int>(IntAttribute(root, "tileheight", 0, 0, 1 << 16));
  map.Infinite = IntAttribute(root, "infinite", 0, 0, 1) == 1;
  CheckImportableTiledMap(map);
  map.Properties = ReadProperties(root);
  for (const XmlElement& child : root.Children) {
    if (child.Name == "tileset") {
      TiledTileset tileset;
      tileset.FirstGid = static_cast<std::uint32_t>(IntAttribute(child, "firstgid", 1, 1, 0x0FFFFFFF));
      tileset.Source = TextAttribute(child, "source");
      if (tileset.Source.empty()) ReadTilesetBody(child, tileset);
      map.Tilesets.push_back(std::move(tileset));
    } else if (child.Name == "layer") {
      map.Layers.push_back(ReadTileLayer(child, map));
    } else if (child.Name == "objectgroup") {
      map.Layers.push_back(ReadObjectLayer(child));
    }
  }
  return map;
}

TiledTileset ParseTsx(std::string_view text) {
  const XmlElement root = ParseXml(text);
  if (root.Name != "tileset") Fail(root, "this is not a Tiled tileset (its root element is <" + root.Name + ">)");
  TiledTileset tileset;
  ReadTilesetBody(root, tileset);
  return tileset;
}

}  // namespace mireforge
