#include "app_art.h"

namespace drawtiles {

void DrawAppPictures(const std::string&) {}

}  // namespace drawtiles
