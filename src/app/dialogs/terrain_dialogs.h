#pragma once
// TfFill ("Fill...") and TfNewBlank ("Create blank map"): both pick a terrain
// from a drop-down of the 16 terrain tiles.
#include <QDialog>

class QComboBox;
class QSpinBox;
class QDialogButtonBox;

namespace mireforge {

class TileImages;
enum class TileStyle;

// The 16 TerrainPickNames with their tiles in the grid's look; the item index is the terrain code.
QComboBox* NewTerrainComboBox(const TileImages& tiles, TileStyle style, QWidget* parent);

class TfFill : public QDialog {
  Q_OBJECT
 public:
  TfFill(const TileImages& tiles, TileStyle style, QWidget* parent = nullptr);
  int Terrain() const;
  QComboBox* cbTerrain = nullptr;
};

class TfNewBlank : public QDialog {
  Q_OBJECT
 public:
  TfNewBlank(const TileImages& tiles, TileStyle style, QWidget* parent = nullptr);
  int MapWidth() const;
  int MapHeight() const;
  int Terrain() const;
  QSpinBox* eWidth = nullptr;
  QSpinBox* eHeight = nullptr;
  QComboBox* cbTerrain = nullptr;
};

}  // namespace mireforge
