// TfMain: display options, tile size, zoom and the status bar.
#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

#include "app/main_window/main_window.h"
#include "app/panels/description_model.h"
#include "app/layout/status_panel.h"
#include "app/grid/terrain_palette.h"
#include "formats/preview_image.h"

namespace mireforge {

void TfMain::ChooseTileSize(int index) {
  if (index < 0 || index >= static_cast<int>(TileSizes.size())) return;
  aTileSize[index]->setChecked(true);
  GridOptions options = DG->Options();
  options.tileSize = TileSizes[index];
  DG->SetOptions(options);
  const int n = TileSizes[index];
  SetStatus(2, QString("%1x%2").arg(n).arg(n));
  // The tile-size submenus take the chosen item's icon.
  for (QMenu* menu : {tileMenu_, tilePopup_})
    if (menu) menu->setIcon(aTileSize[index]->icon());
  if (tileButton_) tileButton_->setIcon(aTileSize[index]->icon());
}

void TfMain::Zoom(int steps) {
  int index = 0;
  while (index < static_cast<int>(TileSizes.size()) && TileSizes[index] != TileSize()) ++index;
  // Larger tiles come first in the list: zooming in goes towards index 0.
  ChooseTileSize(std::clamp(index - steps, 0, static_cast<int>(TileSizes.size()) - 1));
}

void TfMain::ToggleShowGrid() {
  GridOptions options = DG->Options();
  options.gridLines = aShowGrid->isChecked();
  DG->SetOptions(options);
}


// Grayscale and retro look change the grid, both palettes and the active terrain picture.
void TfMain::ApplyTileLook() {
  GridOptions options = DG->Options();
  options.grayscale = aGrayscale->isChecked();
  options.retro = aRetro->isChecked();
  DG->SetOptions(options);
  palTerrain->SetStyle(CurrentTileStyle());
  twPalette->SetStyle(CurrentTileStyle());
  UpdateActiveTerrainPicture();
}

TileStyle TfMain::CurrentTileStyle() const {
  const GridOptions& options = DG->Options();
  return options.retro ? TileStyle::Retro : options.grayscale ? TileStyle::Grey : TileStyle::Colour;
}

TileStyle TfMain::TerrainListStyle() const {
  // ILTerrain, which grayscale changes and retro look does not.
  return DG->Options().grayscale ? TileStyle::Grey : TileStyle::Colour;
}

void TfMain::ToggleDomainIndicator() {
  GridOptions options = DG->Options();
  options.domainIndicator = aToggleDesc->isChecked();
  DG->SetOptions(options);
}

void TfMain::ToggleBlendMore() {
  GridOptions options = DG->Options();
  options.moreColor = aBlendMore->isChecked();
  DG->SetOptions(options);
}

// Only the stored option changes; the window follows at the next start.
void TfMain::ToggleFullscreen() {}

void TfMain::UpdateActiveTerrainPicture() {
  if (activeTerrain_ < 0) {
    panels_[3]->clear();
    return;
  }
  // Drawn at twice the size, so it stays sharp on high-density screens.
  QPixmap picture = QPixmap::fromImage(
      tiles_.Tile(CurrentTileStyle(), activeTerrain_).scaled(36, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  picture.setDevicePixelRatio(2);
  panels_[3]->setPixmap(picture);
}

void TfMain::CellSelected(int column, int row) {
  SetStatus(4, QString::number(column));
  SetStatus(5, QString::number(row));
  const MapGrid& map = project_.Map;
  if (!map.Empty() && map.Contains(column, row))
    SetStatusColor(ColorFromBgr(static_cast<std::int32_t>(PreviewPalette[map.GetTerrain(column, row)])));
  if (const TDescItem* item = project_.CellDescription(column, row)) SetStatus(7, ShownText(item->Text));
}

void TfMain::SetStatus(int panel, const QString& text) {
  // A panel repaints itself when its text changes; an edit that leaves the current
  // cell's column, row or description as they were repaints nothing.
  if (panels_[panel]->text() == text) return;
  panels_[panel]->setText(text);
}

void TfMain::SetStatusColor(const QColor& color) {
  QPalette palette = panels_[6]->palette();
  palette.setColor(QPalette::Window, color);
  panels_[6]->setPalette(palette);
}

QString TfMain::StatusText(int panel) const { return panels_[panel]->text(); }
QColor TfMain::StatusColor() const { return panels_[6]->palette().color(QPalette::Window); }

}  // namespace mireforge
