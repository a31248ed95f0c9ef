#pragma once
// The terrain palette: 4 x 4 tiles, cell (c, r) stands for terrain c + 4 r.
#include <QWidget>
#include <array>

#include "app/grid/tile_images.h"

class QToolButton;

namespace mireforge {

class TerrainPalette : public QWidget {
  Q_OBJECT
 public:
  TerrainPalette(const TileImages& tiles, QWidget* parent = nullptr);
  void SetStyle(TileStyle style);
  QToolButton* Button(int code) const { return buttons_[code]; }

 signals:
  void TerrainChosen(int code);

 private:
  const TileImages& tiles_;
  std::array<QToolButton*, TerrainCount> buttons_{};
};

}  // namespace mireforge
