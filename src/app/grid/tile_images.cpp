#include "app/grid/tile_images.h"

#include <QPainter>
#include <cstring>

#include "formats/map_image.h"
#include "model/domains.h"

namespace mireforge {

Image ToImage(const QImage& picture) {
  const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
  Image image(argb.width(), argb.height());
  for (int y = 0; y < argb.height(); ++y)
    std::memcpy(&image.At(0, y), argb.constScanLine(y), static_cast<std::size_t>(argb.width()) * 4);
  return image;
}

QImage ToQImage(const Image& image) {
  if (image.Empty()) return {};
  return QImage(reinterpret_cast<const uchar*>(image.Pixels.data()), image.Width, image.Height, image.Width * 4,
                QImage::Format_ARGB32)
      .copy();
}

QPixmap SharpPixmap(const QImage& picture) {
  constexpr int Scale = 2;
  QPixmap pixmap = QPixmap::fromImage(picture.scaled(picture.size() * Scale, Qt::IgnoreAspectRatio,
                                                     Qt::FastTransformation));
  pixmap.setDevicePixelRatio(Scale);
  return pixmap;
}

TileSet TileImages::MapImageTiles(TileStyle style) const {
  TileSet tiles;
  for (int code = 0; code < TerrainCount; ++code) tiles.Tiles[code] = ToImage(Tile(style, code));
  return tiles;
}

TileImages::TileImages(TileArtwork artwork) : art_(std::move(artwork)) {
  art_.ticker = art_.ticker.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

const QImage& TileImages::Tile(TileStyle style, int code) const {
  code = TerrainOf(code);
  switch (style) {
    case TileStyle::Grey: return art_.grey[code];
    case TileStyle::Retro: return art_.retro[code];
    case TileStyle::Colour: break;
  }
  return art_.terrain[code];
}

const QImage& TileImages::Scaled(TileStyle style, int code, int size) {
  if (size != scaledSize_) {
    for (auto& set : scaled_)
      for (QImage& image : set) image = QImage();
    blended_.clear();
    scaledSize_ = size;
  }
  QImage& slot = scaled_[static_cast<int>(style)][TerrainOf(code)];
  if (slot.isNull()) {
    // The same plain stretch as the map image export, so both show the same tiles.
    const Image scaled = ScaleTile(ToImage(Tile(style, code)), size);
    slot = ToQImage(scaled).convertToFormat(QImage::Format_RGB32);
  }
  return slot;
}

const QImage& TileImages::Blended(int code, std::int32_t color, int percent, int size) {
  const QImage& grey = Scaled(TileStyle::Grey, code, size);  // also resets the cache on a new size
  const quint64 key = (static_cast<quint64>(static_cast<std::uint32_t>(color)) << 16) |
                      (static_cast<quint64>(percent) << 8) | static_cast<quint64>(TerrainOf(code));
  auto found = blended_.find(key);
  if (found != blended_.end()) return *found;
  QImage image = grey.copy();
  // A domain without a colour shows its plain grey tile.
  if (color != NoColor) {
    const int r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    for (int y = 0; y < image.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = line[x];
        line[x] = qRgb((qRed(p) * (100 - percent) + r * percent) / 100,
                       (qGreen(p) * (100 - percent) + g * percent) / 100,
                       (qBlue(p) * (100 - percent) + b * percent) / 100);
      }
    }
  }
  return *blended_.insert(key, std::move(image));
}

QPixmap DomainSwatch(std::int32_t color) {
  static QHash<std::int32_t, QPixmap> cache;
  auto found = cache.find(color);
  if (found != cache.end()) return *found;
  QPixmap swatch(16, 16);
  swatch.fill(ColorFromBgr(color));
  QPainter painter(&swatch);
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, 15, 15);
  painter.end();
  if (cache.size() > 1024) cache.clear();
  return *cache.insert(color, swatch);
}

}  // namespace mireforge
