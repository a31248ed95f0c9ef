#pragma once
// The HTML map page: the map as a table of 32 x 32 terrain pictures, each with
// its cell's description as tooltip, and the sixteen pictures it refers to.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "pictures/image.h"
#include "model/terrain.h"

namespace mireforge {

struct Project;

// The picture number of each terrain code; its file is the number as one
// uppercase hex digit + ".gif". Plains and mountains swap numbers.
inline constexpr std::array<int, TerrainCount> HtmlImageNumbers = {14, 1, 2, 3, 4, 5, 6, 7,
                                                                   8, 9, 10, 11, 12, 13, 0, 15};

// "E.gif" for plains, "0.gif" for mountains, ...
std::string HtmlPictureName(int terrain);

// A text made safe inside a double-quoted HTML attribute; the browser shows the same text.
std::string EscapeHtmlAttribute(std::string_view text);

// The page as written, every line followed by CR LF.
std::string FormatHtmlMap(const Project& project);

struct HtmlMapOptions {
  // Also write the pictures 0.gif to F.gif beside the page, from our tile
  // artwork, so that the page is complete on its own.
  bool WritePictures = false;
  // Leave the pictures that already exist as they are (they may be the user's own).
  bool KeepExistingPictures = false;
};

// Writes the sixteen pictures 0.gif to F.gif into the folder from the tiles,
// given in terrain code order (16 of them): all of them or, when one cannot be
// written, none; with keepExisting, only those missing.
void WriteHtmlPictures(const std::string& folder, const std::vector<Image>& tiles, bool keepExisting = false);

// Which of 0.gif to F.gif already exist beside the page at path, in file name order.
std::vector<std::string> ExistingHtmlPictures(const std::string& path);

// Writes the page atomically and, when asked, its pictures beside it: every
// file or, when one cannot be written, none. Error "Cannot create file %s"
// and the system's reason when a file cannot be written.
void WriteHtmlMap(const std::string& path, const Project& project, const HtmlMapOptions& options = {});

}  // namespace mireforge
