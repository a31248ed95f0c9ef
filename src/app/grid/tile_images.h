#pragma once
// The tile pictures of the editor as Qt images, and their copies scaled to a
// tile size. Scaling happens once per size and option, never during a paint.
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <array>
#include <cstdint>

#include "pictures/image.h"
#include "model/terrain.h"

namespace mireforge {

// The artwork as loaded: 32 x 32 tiles in terrain-code order.
struct TileArtwork {
  std::array<QImage, TerrainCount> terrain;    // ILTerrain, in colour
  std::array<QImage, TerrainCount> grey;       // the same tiles with the grey ramp (palette index as grey)
  std::array<QImage, TerrainCount> retro;      // ILTerrainR
  std::array<QImage, TerrainCount + 1> tree;   // ILTree: 16 x 16 icons, the 17th empty
  QImage ticker;                               // ILTicker: the 11 x 8 domain mark
};

// Loads the artwork compiled into the core.
TileArtwork LoadTileArtwork();

enum class TileStyle { Colour, Grey, Retro };

struct TileSet;
Image ToImage(const QImage& picture);
QImage ToQImage(const Image& image);

// The picture enlarged twice, each pixel a square, for screens of two device pixels
// per pixel: drawn there without blur; on other screens it shrinks back to the original.
QPixmap SharpPixmap(const QImage& picture);

class TileImages {
 public:
  explicit TileImages(TileArtwork artwork);

  const TileArtwork& Artwork() const { return art_; }

  // The 32 x 32 tile the terrain palette and dialogs show.
  const QImage& Tile(TileStyle style, int code) const;
  // Tiles scaled to size x size, RGB32, built on first use of a size.
  const QImage& Scaled(TileStyle style, int code, int size);
  // The grey tile blended with a domain colour (0x00BBGGRR): share 50 or 25 percent.
  const QImage& Blended(int code, std::int32_t color, int percent, int size);
  // The domain mark, ARGB32 premultiplied.
  const QImage& Ticker() const { return art_.ticker; }
  QPixmap TreeIcon(int index) const { return SharpPixmap(art_.tree[index]); }
  // The 32 x 32 tiles of a look, for the map image export.
  TileSet MapImageTiles(TileStyle style) const;

 private:
  TileArtwork art_;
  int scaledSize_ = 0;
  std::array<std::array<QImage, TerrainCount>, 3> scaled_;
  QHash<quint64, QImage> blended_;
};

// 0x00BBGGRR to QColor.
inline QColor ColorFromBgr(std::int32_t bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}
inline std::int32_t BgrFromColor(const QColor& c) {
  return c.red() | (c.green() << 8) | (c.blue() << 16);
}

// A 16 x 16 swatch of a domain colour framed in black.
QPixmap DomainSwatch(std::int32_t color);

}  // namespace mireforge
