#pragma once
// The application's own pictures: the icon at every usual size and the side
// picture of the about box and the wizards.
#include <string>

namespace drawtiles {

// Writes icon-16.png ... icon-256.png and side.png into folder.
void DrawAppPictures(const std::string& folder);

}  // namespace drawtiles
