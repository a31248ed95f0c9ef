#include "formats/map_files.h"

#include <array>

#include "formats/file_io.h"
#include "formats/midnight_map.h"
#include "model/error.h"

namespace mireforge {

namespace {

void LoadMidnightMap(const std::string& path, Project& project) {
  ReadMidnightMap(path, project.Map);
  project.Map.RebuildTerrainRows();
  // Only terrain travels in the file: every cell gets its terrain name and domain 0.
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  project.ProjectSaved = false;
}

void SaveMidnightMap(const std::string& path, const Project& project, const MapFileOptions& options) {
  WriteMidnightMap(path, project.Map, options.OmitBorder);
}

// Add a format by adding a row.
constexpr std::array<MapFileFormat, 2> Formats = {{
    {"php", LoadMidnightMap, SaveMidnightMap},
    {"mmf", LoadMidnightMap, SaveMidnightMap},  // the SQL export's companion map
}};

enum class Direction { Any, Load, Save };

std::string ListExtensions(Direction direction) {
  std::string list;
  for (const MapFileFormat& format : Formats) {
    if ((direction == Direction::Load && !format.Load) || (direction == Direction::Save && !format.Save)) continue;
    if (!list.empty()) list += ", ";
    list += ".";
    list += format.Extension;
  }
  return list;
}

}  // namespace

const MapFileFormat& MapFileFormatOf(const std::string& path) {
  const std::string extension = LowerExtension(path);
  for (const MapFileFormat& format : Formats)
    if (format.Extension == extension) return format;
  if (extension.empty())
    throw Error(path + " has no file extension to tell its map format (known: " + ListExtensions(Direction::Any) + ")");
  throw Error("Unknown map file extension ." + extension + " of " + path + " (known: " +
              ListExtensions(Direction::Any) + ")");
}

void CheckLoadable(const std::string& path) {
  const MapFileFormat& format = MapFileFormatOf(path);
  if (!format.Load)
    throw Error("Cannot load a map from a ." + std::string(format.Extension) + " file (readable: " +
                LoadableExtensions() + ")");
}

void CheckSavable(const std::string& path) {
  const MapFileFormat& format = MapFileFormatOf(path);
  if (!format.Save)
    throw Error("Cannot save a map as a ." + std::string(format.Extension) + " file (writable: " +
                SavableExtensions() + ")");
}

Project LoadMapFile(const std::string& path) {
  CheckLoadable(path);
  Project project;
  MapFileFormatOf(path).Load(path, project);
  return project;
}

void SaveMapFile(const std::string& path, const Project& project, const MapFileOptions& options) {
  CheckSavable(path);
  MapFileFormatOf(path).Save(path, project, options);
}

std::string LoadableExtensions() { return ListExtensions(Direction::Load); }
std::string SavableExtensions() { return ListExtensions(Direction::Save); }

}  // namespace mireforge
