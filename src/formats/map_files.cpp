#include "formats/map_files.h"

#include <array>

#include "base/file_io.h"
#include "formats/midnight_map.h"
#include "formats/preview_image.h"
#include "formats/project_file.h"
#include "base/error.h"

namespace mireforge {

namespace {

// Maps from anything but a project carry terrain only: every cell gets its
// terrain name and domain 0, and the project counts as changed.
void FinishTerrainOnlyLoad(Project& project) {
  project.Map.RebuildTerrainRows();
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  project.ProjectSaved = false;
}

void LoadMidnightMap(const std::string& path, Project& project) {
  ReadMidnightMap(path, project.Map);
  FinishTerrainOnlyLoad(project);
}

void SaveMidnightMap(const std::string& path, const Project& project, const MapFileOptions& options) {
  WriteMidnightMap(path, project.Map, options.OmitBorder);
}

void LoadProjectFile(const std::string& path, Project& project) { LoadProject(project, path); }

// The caller's project keeps its saved flag and name: this is an export, not the editor's save.
void SaveProjectFile(const std::string& path, const Project& project, const MapFileOptions&) {
  WriteProjectFile(project, path);
}

void LoadPreview(const std::string& path, Project& project) {
  LoadPreviewImage(path, project.Map);
  FinishTerrainOnlyLoad(project);
}

void SaveBitmapPreview(const std::string& path, const Project& project, const MapFileOptions&) {
  SavePreviewImage(path, PictureFileType::Bitmap, project.Map);
}

void SavePngPreview(const std::string& path, const Project& project, const MapFileOptions&) {
  SavePreviewImage(path, PictureFileType::Png, project.Map);
}

void SaveSqlScript(const std::string& path, const Project& project, const MapFileOptions& options) {
  SqlExportOptions sql = options.Sql;
  sql.OmitBorder = options.OmitBorder;
  WriteSQLScript(path, project, sql);
  // Asked for explicitly, so an existing companion map is replaced like the script itself.
  if (options.WithMap) WriteAccompanyingMap(path, project.Map, sql, [](const std::string&) { return true; });
}

void SaveHtmlPage(const std::string& path, const Project& project, const MapFileOptions& options) {
  WriteHtmlMap(path, project, options.Html);
}

// Add a format by adding a row.
constexpr std::array<MapFileFormat, 7> Formats = {{
    {"mfp", LoadProjectFile, SaveProjectFile, NoMapFileFeatures, true},
    {"php", LoadMidnightMap, SaveMidnightMap, OmitBorderFeature, false},
    {"mmf", LoadMidnightMap, SaveMidnightMap, OmitBorderFeature, false},  // the SQL export's companion map
    {"bmp", LoadPreview, SaveBitmapPreview, NoMapFileFeatures, false},
    {"png", LoadPreview, SavePngPreview, NoMapFileFeatures, false},
    {"sql", nullptr, SaveSqlScript, OmitBorderFeature | SqlFeature, true},
    {"html", nullptr, SaveHtmlPage, HtmlFeature, true},
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
