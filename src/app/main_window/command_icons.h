#pragma once
// Toolbar and menu icons, drawn from the tile pictures and the style's own
// icons, so the toolbar needs no artwork of its own.
#include <QIcon>

namespace mireforge {

class TfMain;
class TileImages;

void SetCommandIcons(TfMain& window, const TileImages& tiles);

}  // namespace mireforge
