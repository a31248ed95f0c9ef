#include "formats/html_map.h"

#include <filesystem>
#include <memory>

#include "base/file_io.h"
#include "base/file_set.h"
#include "pictures/gif_writer.h"
#include "base/text_encoding.h"
#include "pictures/tile_pictures.h"
#include "base/error.h"
#include "project/project.h"

namespace mireforge {

namespace {

constexpr std::string_view WriteFailure = "Cannot create file %s";
constexpr char HexDigits[] = "0123456789ABCDEF";

void AppendEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '"': out += "&quot;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      // Line breaks as references keep one map row per line of the page.
      case '\n': out += "&#10;"; break;
      case '\r': out += "&#13;"; break;
      default: out += c;
    }
  }
}

}  // namespace

std::string HtmlPictureName(int terrain) {
  std::string name(1, HexDigits[HtmlImageNumbers[TerrainOf(terrain)]]);
  name += ".gif";
  return name;
}

std::string EscapeHtmlAttribute(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendEscaped(out, text);
  return out;
}

std::string FormatHtmlMap(const Project& project) {
  const MapGrid& map = project.Map;
  std::string out;
  out.reserve(map.Cells.size() * 80 + 512);
  out +=
      "<HTML>\r\n"
      "<HEAD>\r\n"
      // Descriptions are written in Windows-1252 like every text file of ours;
      // saying so keeps browsers from guessing.
      "<META http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\r\n"
      "<TITLE>Mireforge generated map</TITLE>\r\n"
      "</HEAD>\r\n"
      "<BODY bgcolor=\"#FFFFFF\" TEXT=\"#000000\" LINK=\"#0000ff\" VLINK=\"#800080\">\r\n"
      "<TABLE CELLSPACING=\"0\" BORDER=\"0\" CELLPADDING=\"0\">\r\n";
  for (int y = 0; y < map.Height; ++y) {
    out += "<TR><TD>";
    for (int x = 0; x < map.Width; ++x) {
      const int code = map.GetTerrain(x, y);
      const TDescItem* item = project.CellDescription(x, y);
      // A cell without a description entry shows what a fresh map would give it.
      const std::string_view text = item ? std::string_view(item->Text) : TerrainNames[code];
      out += "<IMG src=\"";
      out += HexDigits[HtmlImageNumbers[code]];
      out += ".gif\" title=\"";
      if (IsAscii(text)) AppendEscaped(out, text);
      else out += EncodeWindows1252WithReferences(EscapeHtmlAttribute(text));
      out += "\" width=\"32\" height=\"32\">";
    }
    out += "</TD></TR>\r\n";
  }
  out +=
      "</TABLE>\r\n"
      "</BODY>\r\n"
      "</HTML>\r\n";
  return out;
}

namespace {

std::filesystem::path PageFolder(const std::string& path) {
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

void AddPictures(AtomicFileSet& files, const std::string& folder, const std::vector<Image>& tiles, bool keepExisting) {
  if (tiles.size() != TerrainCount) throw Error("The HTML map needs one picture per terrain");
  for (int code = 0; code < TerrainCount; ++code) {
    const std::filesystem::path file = std::filesystem::path(folder) / HtmlPictureName(code);
    std::error_code unknown;
    if (keepExisting && std::filesystem::exists(file, unknown)) continue;
    files.Add(file.string(), EncodeGif(tiles[code]), std::string(WriteFailure));
  }
}

}  // namespace

void WriteHtmlPictures(const std::string& folder, const std::vector<Image>& tiles, bool keepExisting) {
  AtomicFileSet files;
  AddPictures(files, folder, tiles, keepExisting);
  files.Commit();
}

std::vector<std::string> ExistingHtmlPictures(const std::string& path) {
  const std::filesystem::path folder = PageFolder(path);
  std::vector<std::string> existing;
  for (int number = 0; number < TerrainCount; ++number) {
    const std::string name = std::string(1, HexDigits[number]) + ".gif";
    std::error_code unknown;
    if (std::filesystem::exists(folder / name, unknown)) existing.push_back(name);
  }
  return existing;
}

void WriteHtmlMap(const std::string& path, const Project& project, const HtmlMapOptions& options) {
  AtomicFileSet files;
  files.Add(path, FormatHtmlMap(project), std::string(WriteFailure));
  if (options.WritePictures)
    AddPictures(files, PageFolder(path).string(), TerrainTiles(TileLook::Color), options.KeepExistingPictures);
  files.Commit();
}

}  // namespace mireforge
