#include "app/terrain_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/tile_images.h"
#include "model/terrain.h"

namespace mireforge {

QComboBox* NewTerrainComboBox(const TileImages& tiles, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setIconSize(QSize(32, 32));
  for (int code = 0; code < TerrainCount; ++code)
    combo->addItem(QPixmap::fromImage(tiles.Tile(TileStyle::Colour, code)),
                   QString::fromUtf8(TerrainPickNames[code].data(), TerrainPickNames[code].size()));
  combo->setCurrentIndex(Plains);
  return combo;
}

namespace {

QDialogButtonBox* OkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace

TfFill::TfFill(const TileImages& tiles, QWidget* parent) : QDialog(parent) {
  setWindowTitle("Fill");
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel("Fill map with this terrain:", this);
  cbTerrain = NewTerrainComboBox(tiles, this);
  label->setBuddy(cbTerrain);
  layout->addWidget(label);
  layout->addWidget(cbTerrain);
  layout->addWidget(OkCancel(this));
}

int TfFill::Terrain() const { return cbTerrain->currentIndex(); }

TfNewBlank::TfNewBlank(const TileImages& tiles, QWidget* parent) : QDialog(parent) {
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
  auto* label = new QLabel("Fill map with this terrain:", this);
  cbTerrain = NewTerrainComboBox(tiles, this);
  label->setBuddy(cbTerrain);
  layout->addWidget(label);
  layout->addWidget(cbTerrain);
  layout->addWidget(OkCancel(this));
  eWidth->setFocus();
}

int TfNewBlank::MapWidth() const { return eWidth->value(); }
int TfNewBlank::MapHeight() const { return eHeight->value(); }
int TfNewBlank::Terrain() const { return cbTerrain->currentIndex(); }

}  // namespace mireforge
