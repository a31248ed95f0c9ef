#include "app/grid/terrain_palette.h"

#include <QGridLayout>
#include <QToolButton>

namespace mireforge {

TerrainPalette::TerrainPalette(const TileImages& tiles, QWidget* parent) : QWidget(parent), tiles_(tiles) {
  auto* layout = new QGridLayout(this);
  layout->setSpacing(1);
  layout->setContentsMargins(2, 2, 2, 2);
  for (int code = 0; code < TerrainCount; ++code) {
    auto* button = new QToolButton(this);
    button->setAutoRaise(true);
    button->setIconSize(QSize(32, 32));
    const QString name = QString::fromUtf8(TerrainPickNames[code].data(), TerrainPickNames[code].size());
    button->setToolTip(name);
    button->setAccessibleName(name.at(0).toUpper() + name.mid(1));  // a screen reader speaks the name, not only the hint
    button->setObjectName(QString("palTerrain%1").arg(code));
    connect(button, &QToolButton::clicked, this, [this, code] { emit TerrainChosen(code); });
    layout->addWidget(button, code / 4, code % 4);
    buttons_[code] = button;
  }
  SetStyle(TileStyle::Colour);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TerrainPalette::SetStyle(TileStyle style) {
  for (int code = 0; code < TerrainCount; ++code)
    buttons_[code]->setIcon(SharpPixmap(tiles_.Tile(style, code)));
}

}  // namespace mireforge
