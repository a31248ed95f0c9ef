#include "app/main_window/main_window.h"

#include <QAction>
#include <QGuiApplication>
#include <QPainter>
#include <QStyle>

#include "app/dialogs/small_forms.h"

namespace mireforge {

namespace {

// Icons are drawn at twice their size, so they stay sharp on high-density screens;
// painters on them still work in the 24 x 24 icon's own coordinates.
constexpr int IconScale = 2;

QPixmap Canvas(const QColor& fill) {
  QPixmap pixmap(24 * IconScale, 24 * IconScale);
  pixmap.setDevicePixelRatio(IconScale);
  pixmap.fill(fill);
  return pixmap;
}

QPixmap TilePixmap(const TileImages& tiles, TileStyle style, int code) {
  QPixmap pixmap = QPixmap::fromImage(tiles.Tile(style, code).scaled(24 * IconScale, 24 * IconScale,
                                                                     Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  pixmap.setDevicePixelRatio(IconScale);
  return pixmap;
}

// A tile with a small badge drawn in its lower right corner.
QIcon Badged(QPixmap base, const std::function<void(QPainter&)>& badge) {
  QPainter painter(&base);
  painter.setRenderHint(QPainter::Antialiasing);
  badge(painter);
  painter.end();
  return QIcon(base);
}

QIcon GridIcon() {
  QPixmap pixmap = Canvas(Qt::white);
  QPainter painter(&pixmap);
  painter.setPen(QPen(Qt::black, 1));
  for (int i = 0; i <= 24; i += 6) {
    painter.drawLine(i == 24 ? 23 : i, 0, i == 24 ? 23 : i, 23);
    painter.drawLine(0, i == 24 ? 23 : i, 23, i == 24 ? 23 : i);
  }
  return QIcon(pixmap);
}

QIcon TextIcon(const QString& text) {
  QPixmap pixmap = Canvas(Qt::transparent);
  QPainter painter(&pixmap);
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(11);
  painter.setFont(font);
  painter.setPen(QGuiApplication::palette().color(QPalette::WindowText));  // readable on dark themes too
  painter.drawRect(0, 0, 23, 23);
  painter.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, text);
  return QIcon(pixmap);
}

QIcon GreyRampIcon() {
  const int side = 24 * IconScale;
  QImage image(side, side, QImage::Format_RGB32);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const int v = (x + y) * 255 / (2 * side - 2);
      image.setPixel(x, y, qRgb(v, v, v));
    }
  image.setDevicePixelRatio(IconScale);
  return QIcon(QPixmap::fromImage(image));
}

}  // namespace

void TfMain::SetCommandIcons() {
  const TileImages& tiles = tiles_;
  QStyle* style = this->style();
  aNew->setIcon(style->standardIcon(QStyle::SP_FileIcon));
  aCreate->setIcon(AppIcon());
  aNewBlank->setIcon(Badged(TilePixmap(tiles, TileStyle::Colour, FrozenWastes), [&](QPainter& p) {
    p.drawPixmap(QRect(6, 6, 12, 12), TilePixmap(tiles, TileStyle::Colour, Plains));
  }));
  aImportMap->setIcon(GreyRampIcon());
  aLoadProject->setIcon(style->standardIcon(QStyle::SP_DialogOpenButton));
  aSaveProject->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
  aOptions->setIcon(style->standardIcon(QStyle::SP_FileDialogDetailedView));
  aExit->setIcon(style->standardIcon(QStyle::SP_DialogCloseButton));
  aPaint->setIcon(TilePixmap(tiles, TileStyle::Colour, Forest));
  aPaintDom->setIcon(Badged(TilePixmap(tiles, TileStyle::Grey, Forest), [](QPainter& p) {
    p.fillRect(0, 0, 24, 24, QColor(255, 0, 0, 110));
  }));
  aFill->setIcon(Badged(TilePixmap(tiles, TileStyle::Colour, Lake), [](QPainter& p) {
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(1, 1, 22, 22);
  }));
  aActualView->setIcon(TilePixmap(tiles, TileStyle::Colour, Mountains));
  aShowGrid->setIcon(GridIcon());
  aGrayscale->setIcon(TilePixmap(tiles, TileStyle::Grey, Citadel));
  aRetro->setIcon(TilePixmap(tiles, TileStyle::Retro, Citadel));
  aFullscreen->setIcon(style->standardIcon(QStyle::SP_TitleBarMaxButton));
  aCenterMap->setIcon(style->standardIcon(QStyle::SP_ArrowRight));
  aToggleDesc->setIcon(Badged(TilePixmap(tiles, TileStyle::Colour, Plains), [&](QPainter& p) {
    p.fillRect(13, 3, 7, 5, Qt::red);
    p.drawImage(12, 1, tiles.Ticker());
  }));
  aLegend->setIcon(TextIcon("#"));
  aUndo->setIcon(style->standardIcon(QStyle::SP_ArrowBack));
  aRedo->setIcon(style->standardIcon(QStyle::SP_ArrowForward));
  for (std::size_t i = 0; i < aTileSize.size(); ++i) aTileSize[i]->setIcon(TextIcon(QString::number(TileSizes[i])));
}

}  // namespace mireforge
