#include "app/tile_set.h"

#include "model/domains.h"

namespace mireforge {

TileSet::TileSet(TileArtwork artwork) : art_(std::move(artwork)) {
  art_.ticker = art_.ticker.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

const QImage& TileSet::Tile(TileStyle style, int code) const {
  code &= 0x0F;
  switch (style) {
    case TileStyle::Grey: return art_.grey[code];
    case TileStyle::Retro: return art_.retro[code];
    case TileStyle::Colour: break;
  }
  return art_.terrain[code];
}

const QImage& TileSet::Scaled(TileStyle style, int code, int size) {
  if (size != scaledSize_) {
    for (auto& set : scaled_)
      for (QImage& image : set) image = QImage();
    blended_.clear();
    scaledSize_ = size;
  }
  QImage& slot = scaled_[static_cast<int>(style)][code & 0x0F];
  if (slot.isNull()) {
    const QImage& source = Tile(style, code);
    QImage scaled = source.width() == size && source.height() == size
                        ? source
                        : source.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    slot = scaled.convertToFormat(QImage::Format_RGB32);
  }
  return slot;
}

const QImage& TileSet::Blended(int code, std::int32_t color, int percent, int size) {
  const QImage& grey = Scaled(TileStyle::Grey, code, size);  // also resets the cache on a new size
  const quint64 key = (static_cast<quint64>(static_cast<std::uint32_t>(color)) << 16) |
                      (static_cast<quint64>(percent) << 8) | static_cast<quint64>(code & 0x0F);
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

}  // namespace mireforge
