#pragma once
// The HTML map export flow: the save dialog, the offer to write the sixteen
// tile pictures beside the page, and the writing.
#include <QString>

class QWidget;

namespace mireforge {

class UserPrompts;
enum class TileLook;
struct Project;

inline constexpr const char* HtmlMapFilter = "HTML map File (*.html)|*.html";
inline constexpr const char* HtmlMapTitle = "Save HTML map file";
inline constexpr const char* HtmlPicturesQuestion =
    "The page shows the tile pictures 0.gif to F.gif from its own folder.\n"
    "Do you want to write them beside the page as well?";
inline constexpr const char* HtmlPicturesReplaceQuestion =
    "These tile pictures already exist beside the page: %1.\n"
    "Do you want to replace them? (No keeps them and writes only the missing ones.)";

// Returns whether a page was written.
bool SaveHtmlMapFlow(QWidget* parent, UserPrompts& prompts, const Project& project);

inline constexpr const char* TiledMapFilter = "Tiled map (*.tmx)|*.tmx|Tiled JSON map (*.tmj)|*.tmj";
inline constexpr const char* TiledMapTitle = "Export as Tiled map";

// The map with its tileset files beside it; returns whether it was written.
bool SaveTiledMapFlow(QWidget* parent, UserPrompts& prompts, const Project& project, TileLook look);

}  // namespace mireforge
