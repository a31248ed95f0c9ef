// Tiled maps (TMX, TMJ) and CSV maps: exact round trips of hostile projects,
// the refusals, the tileset found wherever it sits, every layer encoding, and
// Tiled's own renderer drawing what the map image draws.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "formats/csv_map.h"
#include "base/file_io.h"
#include "formats/json_document.h"
#include "formats/map_files.h"
#include "formats/map_image.h"
#include "formats/tiled_project.h"
#include "formats/xml_document.h"
#include "pictures/png_codec.h"
#include "support/error_of.h"
#include "support/same_project.h"
#include "support/temp_dir.h"
#include "support/test_maps.h"

namespace mireforge {
namespace {

// Texts that break careless writers: markup, quotes, non-ASCII, controls XML
// cannot carry, the longest description, a terrain's own name on another terrain.
Project HostileProject() {
  Project project;
  project.Map = FramedMap(9, 7, Forest);
  for (int code = 0; code < TerrainCount; ++code) project.Map.Cells[10 + code % 7 + (code / 7) * 9] = code;
  project.Map.RebuildTerrainRows();
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  const std::string texts[] = {
      "He said \"go\" & <left> 'now'",
      "Ærøskøbing — 東京 🐉",
      std::string(2047, 'x') + "",
      "bell\x01" "and\x1f" "tab\there",
      "100% %41",
      "",
      "  leading and trailing  ",
      "mountains",  // another terrain's name on a forest cell
      "]]><!-- &amp; -->",
  };
  for (std::size_t i = 0; i < std::size(texts); ++i) project.Descriptions.Entry(20 + i).Text = texts[i];
  project.Descriptions.Entry(30).Domain = 3;
  project.Descriptions.Entry(31).Domain = 7;    // a domain without a name
  project.Descriptions.Entry(32).Domain = 300;  // out of range, as old projects may hold
  project.Descriptions.Entry(33).Domain = -2;
  project.Descriptions.Entry(34).Domain = 255;
  project.Domains.ResetDomains();
  project.Domains.Slots[3] = {0x0000FF, "Red <Marches> & \"Co\""};
  project.Domains.Slots[255] = {NoColor, "Nameless colour, tab\tand bell\x07"};
  project.Domains.Slots[0] = {0x123456, "Home"};
  project.Domains.Slots[7].Color = 0x00FF00;  // colour without a name
  project.Domains.Slots[9].Color = -5;
  return project;
}

const char* const TiledExtensions[] = {"tmx", "tmj"};

TEST(TiledMap, HostileProjectsComeBackExactlyThroughBothFormats) {
  TempDir dir;
  const Project original = HostileProject();
  SaveMapFile(dir.File("start.mfp"), original);
  const Project start = LoadMapFile(dir.File("start.mfp"));
  for (const char* extension : TiledExtensions) {
    SCOPED_TRACE(extension);
    const std::string map = dir.File(std::string("map.") + extension);
    SaveMapFile(map, start);
    for (const char* beside : {"mireforge-terrain.tsx", "mireforge-terrain.png", "map-domains.png"})
      EXPECT_TRUE(std::filesystem::exists(dir.File(beside))) << beside;
    SaveMapFile(dir.File("back.mfp"), LoadMapFile(map));
    const Project back = LoadMapFile(dir.File("back.mfp"));
    ExpectSameProject(start, back);
  }
  // Both files are the same map.
  const std::string xml = ReadWholeFile(dir.File("map.tmx"));
  const std::string json = ReadWholeFile(dir.File("map.tmj"));
  const TiledMap a = ParseTmx(xml), b = ParseTmj(json);
  ASSERT_EQ(a.Layers.size(), 3u);
  ASSERT_EQ(b.Layers.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(a.Layers[i].Name, b.Layers[i].Name);
    EXPECT_EQ(a.Layers[i].Visible, b.Layers[i].Visible);
    EXPECT_EQ(a.Layers[i].Data, b.Layers[i].Data);
    ASSERT_EQ(a.Layers[i].Objects.size(), b.Layers[i].Objects.size());
    for (std::size_t k = 0; k < a.Layers[i].Objects.size(); ++k)
      EXPECT_EQ(a.Layers[i].Objects[k].Name, b.Layers[i].Objects[k].Name);
  }
  EXPECT_EQ(a.Layers[0].Name, "Terrain");
  EXPECT_TRUE(a.Layers[0].Visible);
  EXPECT_FALSE(a.Layers[1].Visible);
  EXPECT_FALSE(a.Layers[2].Visible);
  // Only descriptions that differ from their terrain's name become objects.
  EXPECT_EQ(a.Layers[2].Objects.size(), 9u);
}

TEST(TiledMap, DomainTilesCarryNumberNameAndColour) {
  const TiledMap map = TiledMapOfProject(HostileProject(), TileLook::Color, "x-domains.png");
  ASSERT_EQ(map.Tilesets.size(), 2u);
  const TiledTileset& domains = map.Tilesets[1];
  EXPECT_EQ(domains.Name, "Mireforge domains");
  // Defined 0, 3, 255 and the numbers cells use: -2, 7, 300.
  ASSERT_EQ(domains.TileCount, 6);
  const TiledTile& red = domains.Tiles[2];
  ASSERT_GE(red.Properties.size(), 3u);
  EXPECT_EQ(red.Properties[0].Name, "domain");
  EXPECT_EQ(red.Properties[0].Value, "3");
  EXPECT_EQ(red.Properties[1].Value, "Red <Marches> & \"Co\"");
  EXPECT_EQ(red.Properties[2].Type, "color");
  EXPECT_EQ(red.Properties[2].Value, "#ffff0000");
  const Image picture = DomainTilesetImage(map);
  EXPECT_EQ(picture.At(2 * 32 + 5, 5), Argb(255, 0, 0));
  EXPECT_EQ(map.Properties.at(0).Value, "7=65280 9=-5");
}

// A written map, edited as a person or another tool would.
class TiledEdits : public ::testing::Test {
 protected:
  void SetUp() override {
    Project project = HostileProject();
    SaveMapFile(dir.File("map.tmx"), project);
    SaveMapFile(dir.File("map.tmj"), project);
    expected = LoadMapFile(dir.File("map.tmx"));
    xml = ReadWholeFile(dir.File("map.tmx"));
    json = ReadWholeFile(dir.File("map.tmj"));
  }
  static std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
  }
  std::string Write(const std::string& name, const std::string& text) {
    WriteWholeFile(dir.File(name), text, "%s");
    return dir.File(name);
  }
  TempDir dir;
  Project expected;
  std::string xml, json;
};

TEST_F(TiledEdits, WhatIsNotOurMapIsRefusedSayingWhyAndTheProjectStays) {
  const std::string bigger = Replace(xml, "width=\"9\" height=\"7\" tilewidth", "width=\"513\" height=\"7\" tilewidth");
  const struct {
    std::string name, text, message;
  } cases[] = {
      {"iso.tmx", Replace(xml, "orthogonal", "isometric"), "The Tiled map is isometric; only orthogonal maps can be imported"},
      {"inf.tmx", Replace(xml, "infinite=\"0\"", "infinite=\"1\""), "The Tiled map is infinite; only maps of a fixed size can be imported"},
      {"big.tmx", bigger, "The Tiled map is 513 x 7 tiles; a map of 1 x 1 to 512 x 512 can be imported"},
      {"hex.tmj", Replace(json, "\"orthogonal\"", "\"hexagonal\""), "The Tiled map is hexagonal; only orthogonal maps can be imported"},
      {"inf.tmj", Replace(json, "\"infinite\":false", "\"infinite\":true"), "The Tiled map is infinite; only maps of a fixed size can be imported"},
      {"other.tmx", Replace(xml, "source=\"mireforge-terrain.tsx\"", "source=\"dungeon.tsx\""),
       "The Tiled map uses the tileset \"dungeon.tsx\"; only Mireforge's terrain tileset (mireforge-terrain.tsx) and its domain tileset can be imported"},
      {"foreign.tmx", Replace(xml, "<layer id=\"1\"", "<tileset firstgid=\"900\" name=\"Walls\" tilewidth=\"32\" tileheight=\"32\" tilecount=\"1\" columns=\"1\"><image source=\"w.png\" width=\"32\" height=\"32\"/></tileset><layer id=\"1\""),
       "The Tiled map uses the tileset \"Walls\"; only Mireforge's terrain tileset (mireforge-terrain.tsx) and its domain tileset can be imported"},
      {"gid.tmx", Replace(xml, "<data encoding=\"csv\">\n11,", "<data encoding=\"csv\">\n17,"),
       "Cell [0,0] of the layer \"Terrain\" holds a tile that is not one of Mireforge's terrain tiles"},
      {"nolayer.tmx", Replace(xml, "name=\"Terrain\"", "name=\"Ground\""), "The Tiled map has no tile layer \"Terrain\""},
      {"short.tmx", Replace(xml, "<data encoding=\"csv\">\n11,", "<data encoding=\"csv\">\n"),
       "XML line 54: The layer data holds 62 tiles; the layer has 63"},
      {"zstd.tmx", Replace(xml, "<data encoding=\"csv\">", "<data encoding=\"base64\" compression=\"zstd\">"),
       "XML line 54: Layer data compressed with zstd cannot be read; use zlib, gzip or none"},
      {"entity.tmx", Replace(xml, "<map ", "<!DOCTYPE map [<!ENTITY a \"aaaa\">]><map "),
       "XML line 2: document type declarations are not accepted"},
      {"broken.tmj", json.substr(0, json.size() / 2), "JSON line 7: unterminated string"},
      {"blank.csv", "Z,Z\r\nZ,Q\r\n", "Row 2, cell 2 of the CSV file: 'Q' is not a Midnight/MU terrain letter"},
      {"ragged.csv", "Z,Z\r\nZ\r\n", "Row 2 of the CSV file has 1 cells; the first row has 2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Project open = expected;
    const std::string path = Write(c.name, c.text);
    const std::string message = ErrorOf([&] {
      if (LowerExtension(path) == "csv") ReadCsvMapFile(path, open);
      else ReadTiledMapFile(path, open);
    });
    EXPECT_EQ(message.substr(0, c.message.size()), c.message);
    ExpectSameProject(open, expected);
  }
}

TEST_F(TiledEdits, TheTerrainTilesetIsFoundByFileNameNameOrImageWhereverItSits) {
  std::filesystem::create_directories(dir.File("sets/deep"));
  std::filesystem::rename(dir.File("mireforge-terrain.tsx"), dir.File("sets/deep/renamed.tsx"));
  const std::string tsx = ReadWholeFile(dir.File("sets/deep/renamed.tsx"));
  const std::string embedded = tsx.substr(tsx.find("<tileset") + 8);
  const struct {
    std::string name, text;
  } cases[] = {
      // By its name inside a renamed file in another folder.
      {"sub/map.tmx", Replace(xml, "source=\"mireforge-terrain.tsx\"", "source=\"../sets/deep/renamed.tsx\"")},
      // By the file name alone when the file is gone.
      {"gone.tmx", Replace(xml, "source=\"mireforge-terrain.tsx\"", "source=\"nowhere/mireforge-terrain.tsx\"")},
      // Embedded by Tiled, renamed: by its image.
      {"embedded.tmx", Replace(xml, "<tileset firstgid=\"1\" source=\"mireforge-terrain.tsx\"/>",
                               "<tileset firstgid=\"1\"" + Replace(embedded, "Mireforge terrain", "Land"))},
      {"sub/map.tmj", Replace(json, "\"source\":\"mireforge-terrain.tsx\"", "\"source\":\"../sets/deep/renamed.tsx\"")},
  };
  std::filesystem::create_directories(dir.File("sub"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectSameProject(LoadMapFile(Write(c.name, c.text)), expected);
  }
}

std::string Base64(const std::string& bytes) {
  static constexpr char Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 2]);
    out += Digits[v >> 18];
    out += Digits[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? Digits[(v >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? Digits[v & 63] : '=';
  }
  return out;
}

std::string Packed(const std::string& bytes, int windowBits) {
  z_stream z{};
  deflateInit2(&z, 6, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, bytes.size()) + 32, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  z.avail_in = static_cast<uInt>(bytes.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(out.size() - z.avail_out);
  deflateEnd(&z);
  return out;
}

TEST_F(TiledEdits, EveryLayerEncodingTiledWritesReadsTheSameAndFlipsKeepTheTerrain) {
  const TiledMap map = ParseTmx(xml);
  std::string raw, tiles;
  for (std::size_t i = 0; i < map.Layers[0].Data.size(); ++i) {
    // Flipped and rotated tiles are still the same terrain.
    const std::uint32_t id = map.Layers[0].Data[i] | (i % 3 == 0 ? 0x80000000u : i % 3 == 1 ? 0x60000000u : 0u);
    for (int shift = 0; shift < 32; shift += 8) raw += static_cast<char>(id >> shift);
    tiles += "<tile gid=\"" + std::to_string(id) + "\"/>";
  }
  const std::size_t start = xml.find("<data encoding=\"csv\">");
  const std::size_t end = xml.find("</data>", start) + 7;
  const auto withData = [&](const std::string& data) { return std::string(xml).replace(start, end - start, data); };
  const std::string variants[] = {
      withData("<data encoding=\"base64\">" + Base64(raw) + "</data>"),
      withData("<data encoding=\"base64\" compression=\"zlib\">\n   " + Base64(Packed(raw, 15)) + "\n  </data>"),
      withData("<data encoding=\"base64\" compression=\"gzip\">" + Base64(Packed(raw, 31)) + "</data>"),
      withData("<data>" + tiles + "</data>"),
  };
  for (const std::string& text : variants) ExpectSameProject(LoadMapFile(Write("variant.tmx", text)), expected);
  const std::size_t from = json.find("\"data\":[");
  const std::size_t to = json.find(']', from) + 1;
  const std::string packed = std::string(json).replace(
      from, to - from, "\"compression\":\"zlib\",\"encoding\":\"base64\",\"data\":\"" + Base64(Packed(raw, 15)) + "\"");
  ExpectSameProject(LoadMapFile(Write("packed.tmj", packed)), expected);
}

TEST(TiledMap, ReadersRefuseWhatCouldExhaustThem) {
  const std::string deep = std::string(70, '[') + std::string(70, ']');
  EXPECT_EQ(ErrorOf([&] { ParseJson(deep); }), "JSON line 1: values nested too deeply");
  std::string nested;
  for (int i = 0; i < 40; ++i) nested += "<a>";
  EXPECT_EQ(ErrorOf([&] { ParseXml(nested); }), "XML line 1: elements nested too deeply");
  EXPECT_EQ(ErrorOf([&] { ParseXml("<a b='&#0;'/>"); }), "XML line 1: a broken character reference");
  EXPECT_EQ(ErrorOf([&] { ParseJson("\"\\ud800\""); }), "JSON line 1: a lone surrogate in a \\u escape");
  const XmlElement element = ParseXml("<?xml version='1.0'?>\n<!-- c --><a x=\"&lt;&#x1F409;&#9;\"><![CDATA[<&>]]>t</a>");
  EXPECT_EQ(*element.Attribute("x"), "<\U0001F409\t");
  EXPECT_EQ(element.Text, "<&>t");
}

TEST(CsvMap, LettersWithPlainsAsABareSpaceAndDomainsBesideComeBack) {
  TempDir dir;
  Project project;
  project.Map.ResizeMap(4, 3);
  project.Map.Cells = {FrozenWastes, Plains, Mountains, Citadel, Plains, Plains, Lake, NoTerrain,
                       Forest,       Henge,  Village,   FrozenWastes};
  project.Map.RebuildTerrainRows();
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  project.Descriptions.Entry(5).Domain = 12;
  project.Descriptions.Entry(11).Domain = -1;
  SaveMapFile(dir.File("m.csv"), project);
  EXPECT_EQ(ReadWholeFile(dir.File("m.csv")), "Z, ,M,C\r\n , ,E,X\r\nF,H,V,Z\r\n");
  EXPECT_EQ(ReadWholeFile(dir.File("m-domains.csv")), "0,0,0,0\r\n0,12,0,0\r\n0,0,0,-1\r\n");
  const Project back = LoadMapFile(dir.File("m.csv"));
  ExpectSameProject(back, project);
  EXPECT_EQ(back.Map.TerrainRows, project.Map.Cells);
  // Without the domain file every domain is 0; quoted and lower-case letters are read.
  std::filesystem::remove(dir.File("m-domains.csv"));
  WriteWholeFile(dir.File("m.csv"), "z,\" \",m,\"C\"\n,,e,x\nf,h,v,Z", "%s");
  const Project terrain = LoadMapFile(dir.File("m.csv"));
  EXPECT_EQ(terrain.Map.Cells, project.Map.Cells);
  EXPECT_EQ(terrain.CellDescription(1, 1)->Domain, 0);
  WriteWholeFile(dir.File("m-domains.csv"), "1,2\r\n", "%s");
  EXPECT_EQ(ErrorOf([&] { LoadMapFile(dir.File("m.csv")); }), "The CSV domain file is 2 x 1 cells; the map is 4 x 3");
}

// Tiled's own renderer draws the exported map as our map image does.
TEST(TiledMap, TiledsRasterizerDrawsTheMapPixelForPixelLikeTheMapImage) {
  if (std::system("command -v tmxrasterizer > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "tmxrasterizer (Debian package tiled) is not installed";
  TempDir dir;
  Project project = HostileProject();
  for (const TileLook look : {TileLook::Color, TileLook::Retro}) {
    const std::string map = dir.File("map.tmx");
    MapFileOptions options;
    options.Look = look;
    SaveMapFile(map, project, options);
    const std::string command = "QT_QPA_PLATFORM=offscreen tmxrasterizer " + map + " " + dir.File("tiled.png") +
                                " > " + dir.File("log") + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadWholeFile(dir.File("log"));
    SaveMapImage(dir.File("ours.png"), PictureFileType::Png, project.Map,
                 LoadTileSet(look == TileLook::Retro, false), 32, 0);
    const std::string tiledBytes = ReadWholeFile(dir.File("tiled.png"));
    const std::string ourBytes = ReadWholeFile(dir.File("ours.png"));
    const Image tiled = DecodePng({reinterpret_cast<const unsigned char*>(tiledBytes.data()), tiledBytes.size()});
    const Image ours = DecodePng({reinterpret_cast<const unsigned char*>(ourBytes.data()), ourBytes.size()});
    ASSERT_EQ(tiled.Width, 9 * 32);
    ASSERT_EQ(tiled.Height, 7 * 32);
    ASSERT_EQ(ours.Width, tiled.Width);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < ours.Pixels.size(); ++i) differing += tiled.Pixels[i] != ours.Pixels[i];
    EXPECT_EQ(differing, 0u);
  }
}

// Tiled itself reads our JSON map with its external tileset, and what it writes
// back (its own XML, tileset embedded) imports as the same project.
TEST(TiledMap, TiledReadsOurJsonAndWeReadWhatTiledWrites) {
  if (std::system("command -v tiled > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "tiled (Debian package tiled) is not installed";
  TempDir dir;
  const Project project = HostileProject();
  SaveMapFile(dir.File("map.tmj"), project);
  const std::string command = "QT_QPA_PLATFORM=offscreen tiled --export-map --embed-tilesets tmx " + dir.File("map.tmj") +
                              " " + dir.File("tiled.tmx") + " > " + dir.File("log") + " 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadWholeFile(dir.File("log"));
  EXPECT_NE(ReadWholeFile(dir.File("tiled.tmx")).find("<tileset firstgid=\"1\" name=\"Mireforge terrain\""), std::string::npos);
  ExpectSameProject(LoadMapFile(dir.File("tiled.tmx")), LoadMapFile(dir.File("map.tmj")));
}

}  // namespace
}  // namespace mireforge
