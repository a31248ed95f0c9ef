#pragma once
// Loading and saving a map by the extension of the file name: the one table
// that maps extensions to readers and writers, for the command-line tool and
// for any caller that is handed just a file name.
#include <string>
#include <string_view>

#include "formats/html_map.h"
#include "formats/sql_export.h"
#include "pictures/tile_pictures.h"
#include "project/project.h"

namespace mireforge {

// Choices that only some formats know; each format lists the ones it honours
// in MapFileFormat::Features, so a caller can refuse the others up front.
enum MapFileFeature : unsigned {
  NoMapFileFeatures = 0,
  OmitBorderFeature = 1u << 0,  // OmitBorder
  SqlFeature = 1u << 1,         // Sql, WithMap
  HtmlFeature = 1u << 2,        // Html
  TileLookFeature = 1u << 3,    // Look
};

struct MapFileOptions {
  bool OmitBorder = false;  // leave the frozen-wastes frame out of a written map
  SqlExportOptions Sql;     // its OmitBorder is taken from the field above
  bool WithMap = false;     // an SQL script also writes its companion .mmf map, replacing one that exists
  HtmlMapOptions Html;
  TileLook Look = TileLook::Color;  // the tiles of a Tiled map's tileset
};

// What a reader of a map file needs of it.
enum class MapFileParts {
  Whole,    // everything the file holds, with default descriptions where it has none
  Terrain,  // the map alone: the description list stays empty, the rest as in a new project
};

struct MapFileFormat {
  std::string_view Extension;  // lower case, without the dot
  // Fills a fresh project from the file; nullptr when the format cannot be read.
  void (*Load)(const std::string& path, Project& project, MapFileParts content);
  // Writes the project; nullptr when the format cannot be written.
  void (*Save)(const std::string& path, const Project& project, const MapFileOptions& options);
  unsigned Features;  // the MapFileFeature bits the writer honours
  // The writer reads the description list (texts or domains); the others need
  // none built, which for a big map costs more than generating it.
  bool WritesDescriptions;
};

// The format of the file name's extension (case ignored); Error when unknown.
const MapFileFormat& MapFileFormatOf(const std::string& path);

// Throws the message that LoadMapFile / SaveMapFile would give for an unknown
// or unsupported extension, without touching any file.
void CheckLoadable(const std::string& path);
void CheckSavable(const std::string& path);

// Reads a map into a new project; the caller's project is never touched, so a
// failure leaves it as it was.
Project LoadMapFile(const std::string& path, MapFileParts content = MapFileParts::Whole);
void SaveMapFile(const std::string& path, const Project& project, const MapFileOptions& options = {});

// ".php, .mmf": the readable or writable extensions, for help texts.
std::string LoadableExtensions();
std::string SavableExtensions();

}  // namespace mireforge
