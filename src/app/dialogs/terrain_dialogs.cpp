#include "app/dialogs/terrain_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialogs/editor_dialogs.h"
#include "app/grid/tile_images.h"
#include "model/terrain.h"

namespace mireforge {

QComboBox* NewTerrainComboBox(const TileImages& tiles, TileStyle style, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setIconSize(QSize(32, 32));
  for (int code = 0; code < TerrainCount; ++code)
    combo->addItem(QPixmap::fromImage(tiles.Tile(style, code)),
                   QString::fromUtf8(TerrainPickNames[code].data(), TerrainPickNames[code].size()));
  combo->setCurrentIndex(Plains);
  return combo;
}

namespace {

// "Fill map with this terrain:" and the drop-down under it.
QComboBox* AddTerrainChooser(const TileImages& tiles, TileStyle style, QDialog* dialog, QVBoxLayout* layout) {
  auto* label = new QLabel("Fill map with this terrain:", dialog);
  QComboBox* combo = NewTerrainComboBox(tiles, style, dialog);
  label->setBuddy(combo);
  layout->addWidget(label);
  layout->addWidget(combo);
  return combo;
}

}  // namespace

TfFill::TfFill(const TileImages& tiles, TileStyle style, QWidget* parent) : QDialog(parent) {
  setWindowTitle("Fill");
  auto* layout = new QVBoxLayout(this);
  cbTerrain = AddTerrainChooser(tiles, style, this, layout);
  layout->addWidget(OkCancelButtons(this));
}

int TfFill::Terrain() const { return cbTerrain->currentIndex(); }

TfNewBlank::TfNewBlank(const TileImages& tiles, TileStyle style, QWidget* parent) : QDialog(parent) {
  setWindowTitle("Create blank map");
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  eWidth = new QSpinBox(this);
  eWidth->setRange(1, MaxMapSize);
  eWidth->setValue(DefaultMapWidth);
  eHeight = new QSpinBox(this);
  eHeight->setRange(1, MaxMapSize);
  eHeight->setValue(DefaultMapHeight);
  form->addRow("Width:", eWidth);
  form->addRow("Height:", eHeight);
  layout->addLayout(form);
  cbTerrain = AddTerrainChooser(tiles, style, this, layout);
  layout->addWidget(OkCancelButtons(this));
  eWidth->setFocus();
}

int TfNewBlank::MapWidth() const { return eWidth->value(); }
int TfNewBlank::MapHeight() const { return eHeight->value(); }
int TfNewBlank::Terrain() const { return cbTerrain->currentIndex(); }

}  // namespace mireforge
