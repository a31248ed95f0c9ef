#include "formats/tiled_map.h"

#include <zlib.h>

#include <charconv>

#include "base/error.h"
#include "model/terrain.h"

namespace mireforge {

void CheckImportableTiledMap(const TiledMap& map) {
  if (map.Orientation != "orthogonal")
    throw Error("The Tiled map is " + map.Orientation + "; only orthogonal maps can be imported");
  if (map.Infinite) throw Error("The Tiled map is infinite; only maps of a fixed size can be imported");
  if (map.Width < 1 || map.Height < 1 || map.Width > MaxMapSize || map.Height > MaxMapSize)
    throw Error("The Tiled map is " + std::to_string(map.Width) + " x " + std::to_string(map.Height) +
                " tiles; a map of 1 x 1 to 512 x 512 can be imported");
  if (map.TileWidth < 1 || map.TileHeight < 1) throw Error("The Tiled map's tiles have no size");
}

namespace {

int Base64Digit(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

std::string DecodeBase64(std::string_view text, std::size_t maxBytes) {
  std::string out;
  unsigned bits = 0;
  int held = 0;
  bool padding = false;
  for (const char c : text) {
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t') continue;
    if (c == '=') {
      padding = true;
      continue;
    }
    const int digit = Base64Digit(c);
    if (digit < 0 || padding) throw Error("The layer data is not valid base64");
    bits = (bits << 6) | static_cast<unsigned>(digit);
    held += 6;
    if (held >= 8) {
      held -= 8;
      if (out.size() == maxBytes) throw Error("The layer data holds more tiles than the layer");
      out += static_cast<char>((bits >> held) & 0xFF);
    }
  }
  return out;
}

// zlib or gzip (told apart by zlib itself), never more than maxBytes out.
std::string Inflate(std::string_view packed, std::size_t maxBytes) {
  z_stream z{};
  if (inflateInit2(&z, 15 + 32) != Z_OK) throw Error("Cannot decompress the layer data");
  std::string out(maxBytes + 1, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  z.avail_in = static_cast<uInt>(packed.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int result = inflate(&z, Z_FINISH);
  const std::size_t produced = out.size() - z.avail_out;
  inflateEnd(&z);
  if (result != Z_STREAM_END || produced > maxBytes) throw Error("The compressed layer data is damaged or too long");
  out.resize(produced);
  return out;
}

}  // namespace

std::vector<std::uint32_t> DecodeTiledLayerData(std::string_view text, std::string_view encoding,
                                                std::string_view compression, std::size_t count) {
  std::vector<std::uint32_t> ids;
  ids.reserve(count);
  if (encoding == "csv") {
    if (!compression.empty()) throw Error("CSV layer data cannot be compressed");
    std::size_t pos = 0;
    for (;;) {
      while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\n' || text[pos] == '\r' || text[pos] == '\t'))
        ++pos;
      if (pos == text.size()) break;
      std::uint32_t id = 0;
      const auto [end, error] = std::from_chars(text.data() + pos, text.data() + text.size(), id);
      if (error != std::errc()) throw Error("The layer data holds something that is not a tile number");
      if (ids.size() == count) throw Error("The layer data holds more tiles than the layer");
      ids.push_back(id);
      pos = static_cast<std::size_t>(end - text.data());
      while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\n' || text[pos] == '\r' || text[pos] == '\t'))
        ++pos;
      if (pos < text.size() && text[pos] == ',') ++pos;
      else if (pos < text.size()) throw Error("The layer data holds something that is not a tile number");
    }
  } else if (encoding == "base64") {
    std::string bytes;
    if (compression.empty()) bytes = DecodeBase64(text, count * 4);
    else if (compression == "zlib" || compression == "gzip") bytes = Inflate(DecodeBase64(text, 64u << 20), count * 4);
    else throw Error("Layer data compressed with " + std::string(compression) + " cannot be read; use zlib, gzip or none");
    if (bytes.size() % 4 != 0) throw Error("The layer data ends inside a tile number");
    for (std::size_t i = 0; i < bytes.size(); i += 4) {
      const auto b = [&](std::size_t k) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + k])); };
      ids.push_back(b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24);
    }
  } else {
    throw Error("Layer data encoded as \"" + std::string(encoding) + "\" cannot be read; use csv or base64");
  }
  if (ids.size() != count)
    throw Error("The layer data holds " + std::to_string(ids.size()) + " tiles; the layer has " +
                std::to_string(count));
  return ids;
}

}  // namespace mireforge
