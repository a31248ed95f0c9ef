// TfMain: painting, Fill, blank map, the description and domain editors, the
// side panels following the grid, and the undo history they feed.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDockWidget>
#include <QItemSelectionModel>
#include <QTreeView>
#include <algorithm>

#include "app/actual_view/actual_view.h"
#include "app/panels/description_model.h"
#include "app/dialogs/editor_dialogs.h"
#include "app/main_window/main_window.h"
#include "app/dialogs/terrain_dialogs.h"
#include "app/grid/terrain_palette.h"
#include "base/text_encoding.h"

namespace mireforge {

void TfMain::UpdateCommands() {
  for (QAction* action : {aSaveMap, aSavePreview, aActualView, aSaveMMU, aSaveHTML, aSaveSQL, aPaint, aPaintDom,
                          aFill, aStats, aDomStats, aSaveProject})
    action->setEnabled(mapPresent_);
  EnableMapTransforms(mapPresent_);
  // Painting off, and the grid back to terrain display.
  aPaint->setChecked(false);
  aPaintDom->setChecked(false);
  if (DG->Display() == CellDisplay::Domain) DG->SetDisplay(CellDisplay::Terrain);
  UpdateContextCommands();
}

void TfMain::UpdateContextCommands() {
  const bool list = !project_.Descriptions.Empty();
  aSetName->setEnabled(list);
  aSetDomain->setEnabled(list);
  const bool domains = domainModel->rowCount() > 0;
  aNewDomain->setEnabled(domains);
  aEditDomain->setEnabled(domains);
}

void TfMain::RebuildDomainPanel() {
  const int focused = domainModel->DomainAt(DomainVT->currentIndex().row());
  domainModel->Rebuild();
  // Keep the focus on the same domain, so painting goes on with it.
  const int row = domainModel->RowOf(focused);
  if (row >= 0) DomainVT->setCurrentIndex(domainModel->index(row, 0));
  DomainFocusChanged();
  UpdateContextCommands();
}

void TfMain::DomainFocusChanged() {
  const QModelIndex current = DomainVT->currentIndex();
  activeDomain_ = current.isValid() ? domainModel->DomainAt(current.row()) : -1;
}

void TfMain::ChooseTerrain(int code) {
  activeTerrain_ = code;
  UpdateActiveTerrainPicture();
}

void TfMain::TogglePaint() {
  if (!aPaint->isChecked()) return;
  aPaintDom->setChecked(false);
  DG->SetDisplay(CellDisplay::Terrain);
}

void TfMain::TogglePaintDom() {
  // Switched off, the grid keeps showing domains until terrain painting or a refresh.
  if (!aPaintDom->isChecked()) return;
  aPaint->setChecked(false);
  DG->SetDisplay(CellDisplay::Domain);
}

void TfMain::CellsEdited(const std::vector<std::uint32_t>& cells) {
  const int width = project_.Map.Width;
  if (width == 0) return;
  const auto& nodes = project_.Descriptions.DescriptionNodes;
  bool current = false;
  // A big change repaints everything at once rather than cell by cell.
  if (cells.size() > 4096) {
    DG->RedrawAll();
    // The panel reads its rows when it paints; a change signal over every row costs more than the edit.
    DescVT->viewport()->update();
    CellSelected(DG->CurrentColumn(), DG->CurrentRow());
    fActualView->Refresh();
    emit CellsChanged(cells);
    return;
  }
  for (std::uint32_t cell : cells) {
    const int x = static_cast<int>(cell % width), y = static_cast<int>(cell / width);
    DG->RedrawCell(x, y);
    if (cell < nodes.size()) descModel->EntryChanged(static_cast<int>(nodes[cell]));
    current = current || (x == DG->CurrentColumn() && y == DG->CurrentRow());
  }
  if (current) CellSelected(DG->CurrentColumn(), DG->CurrentRow());
  fActualView->Refresh();
  emit CellsChanged(cells);
}

void TfMain::DomainsEdited() {
  RebuildDomainPanel();
  descModel->AllChanged();
  DG->RedrawAll();
}

void TfMain::MapRestored(bool mapPresent, const QString& origin) {
  mapPresent_ = mapPresent;
  fActualView->Refresh();
  const MapGrid& map = project_.Map;
  DG->SetGridSize(mapPresent ? map.Width : DefaultMapWidth, mapPresent ? map.Height : DefaultMapHeight);
  if (!mapPresent) {
    DG->SetDisplay(CellDisplay::None);
    UpdateCommands();
  } else {
    if (DG->Display() == CellDisplay::None) DG->SetDisplay(CellDisplay::Terrain);
    for (QAction* action : {aSaveMap, aSavePreview, aActualView, aSaveMMU, aSaveHTML, aSaveSQL, aPaint, aPaintDom,
                            aFill, aStats, aDomStats, aSaveProject})
      action->setEnabled(true);
    EnableMapTransforms(true);
  }
  SetStatus(0, QString("%1x%2").arg(mapPresent ? map.Width : DefaultMapWidth)
                   .arg(mapPresent ? map.Height : DefaultMapHeight));
  origin_ = origin;
  SetStatus(1, origin);
  descModel->Reset();
  RebuildDomainPanel();
  DG->RedrawAll();
  CellSelected(DG->CurrentColumn(), DG->CurrentRow());
  emit MapChanged();
}

void TfMain::FillCommand() {
  if (!mapPresent_) return;
  TfFill dialog(tiles_, TerrainListStyle(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  MapSnapshot before = MapSnapshot::Take(project_, mapPresent_, origin_);
  project_.Map.FillTerrain(dialog.Terrain(), false);
  DG->RedrawAll();
  BuildDefaultDescriptions(project_.Descriptions, project_.Map);
  descModel->Reset();
  project_.Map.RebuildTerrainRows();
  fActualView->Refresh();
  MapSnapshot after = MapSnapshot::Take(project_, mapPresent_, origin_);
  undo_.push(new MapChangeCommand("Fill", project_, *this, std::move(before), std::move(after)));
  CellSelected(DG->CurrentColumn(), DG->CurrentRow());
  emit MapChanged();
}

void TfMain::NewBlankCommand() {
  if (!ConfirmReplaceMap()) return;
  TfNewBlank dialog(tiles_, TerrainListStyle(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  MapSnapshot before = MapSnapshot::Take(project_, mapPresent_, origin_);
  const int width = dialog.MapWidth(), height = dialog.MapHeight();
  ForgetProjectFile();
  project_.Map.ResizeMap(width, height);
  DG->SetGridSize(width, height);
  project_.Map.FillTerrain(FrozenWastes, true);
  project_.Map.FillTerrain(dialog.Terrain(), false);
  mapPresent_ = true;
  DG->SetDisplay(CellDisplay::Terrain);
  BuildDefaultDescriptions(project_.Descriptions, project_.Map);
  descModel->Reset();
  RebuildDomainPanel();
  project_.Map.RebuildTerrainRows();
  fActualView->Refresh();
  SetStatus(0, QString("%1x%2").arg(width).arg(height));
  origin_ = OriginBlank;
  SetStatus(1, origin_);
  UpdateCommands();
  MapSnapshot after = MapSnapshot::Take(project_, mapPresent_, origin_);
  undo_.push(new MapChangeCommand("Create blank map", project_, *this, std::move(before), std::move(after)));
  CellSelected(DG->CurrentColumn(), DG->CurrentRow());
  emit MapChanged();
}

std::vector<std::uint32_t> TfMain::SelectedEntries() const {
  std::vector<std::uint32_t> entries;
  for (const QModelIndex& index : DescVT->selectionModel()->selectedRows())
    if (index.row() < static_cast<int>(project_.Descriptions.Size())) entries.push_back(index.row());
  std::sort(entries.begin(), entries.end());
  return entries;
}

void TfMain::SetNameCommand() {
  const std::vector<std::uint32_t> entries = SelectedEntries();
  if (entries.empty()) return;
  const TDescItem& first = project_.Descriptions.Entry(entries.front());
  fSetName->Prepare(rememberLastInput_ ? lastDescription_ : QString::fromStdString(first.Text),
                    QString::fromStdString(project_.Domains.DomainLabel(first.Domain)));
  if (fSetName->exec() != QDialog::Accepted) return;
  const QString text = fSetName->Text();
  lastDescription_ = text;
  fSetName->Remember(text);
  undo_.push(new SetDescriptionCommand(project_, *this, entries, CleanDescription(text.toStdString())));
}

void TfMain::SetDomainCommand() {
  const std::vector<std::uint32_t> entries = SelectedEntries();
  if (entries.empty()) return;
  const TDescItem& first = project_.Descriptions.Entry(entries.front());
  fSetDom->Prepare(QString::fromStdString(first.Text), rememberLastInput_ ? lastDomain_ : first.Domain,
                   QString::fromStdString(project_.Domains.Name(first.Domain)), project_.Domains.Color(first.Domain));
  if (fSetDom->exec() != QDialog::Accepted) return;
  const int domain = fSetDom->Domain();
  DomainSlots table = project_.Domains.Slots;
  if (fSetDom->ChangeNameAndColor()) {
    table[domain].Color = fSetDom->DomainColor();
    table[domain].Name = CleanDescription(fSetDom->DomainName().toStdString());
  }
  fSetDom->cbChange->setChecked(false);
  lastDomain_ = domain;
  undo_.push(new mireforge::SetDomainCommand(project_, *this, entries, domain, table));
}

void TfMain::NewDomainCommand() {
  fNewDomain->PrepareNew(std::min(domainModel->HighestListed() + 1, DomainCount - 1));
  if (fNewDomain->exec() != QDialog::Accepted || fNewDomain->DomainName().isEmpty()) return;
  DomainSlots table = project_.Domains.Slots;
  table[fNewDomain->Number()] = {fNewDomain->DomainColor(), CleanDescription(fNewDomain->DomainName().toStdString())};
  undo_.push(new DomainTableCommand("New domain", project_, *this, table));
}

void TfMain::EditDomainCommand() {
  const int number = domainModel->DomainAt(DomainVT->currentIndex().row());
  if (number < 0) return;
  fNewDomain->PrepareEdit(number, QString::fromStdString(project_.Domains.Name(number)),
                          project_.Domains.Color(number));
  if (fNewDomain->exec() != QDialog::Accepted || fNewDomain->DomainName().isEmpty()) return;
  DomainSlots table = project_.Domains.Slots;
  table[number] = {fNewDomain->DomainColor(), CleanDescription(fNewDomain->DomainName().toStdString())};
  undo_.push(new DomainTableCommand("Edit domain", project_, *this, table));
}

void TfMain::GridClicked(int column, int row) {
  if (!isActiveWindow() || !mapPresent_) return;
  if (jump_) {
    jump_ = false;
    return;
  }
  if (project_.Descriptions.Empty()) return;
  SelectDescriptionOf(column, row);
  if (aCenterMap->isChecked() && twDesc->isVisible()) {
    if (twDesc->isFloating()) twDesc->activateWindow();
    DescVT->setFocus();
  }
}

void TfMain::SelectDescriptionOf(int column, int row) {
  if (const TDescItem* item = project_.CellDescription(column, row)) SetStatus(7, QString::fromStdString(item->Text));
  const auto& nodes = project_.Descriptions.DescriptionNodes;
  const std::size_t cell = static_cast<std::size_t>(column) + static_cast<std::size_t>(row) * project_.Map.Width;
  if (cell < nodes.size()) {
    const QModelIndex index = descModel->index(static_cast<int>(nodes[cell]), 0);
    DescVT->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    DescVT->scrollTo(index);
  }
}

void TfMain::DescriptionClicked() {
  const QModelIndex current = DescVT->currentIndex();
  if (!current.isValid() || current.row() >= static_cast<int>(project_.Descriptions.Size())) return;
  const TDescItem& item = project_.Descriptions.Entry(current.row());
  // The flag swallows the click the move reports; set it only when the cell moves,
  // or it would swallow the next real click on the grid.
  if (item.X != DG->CurrentColumn() || item.Y != DG->CurrentRow()) jump_ = true;
  DG->SetCurrentCell(item.X, item.Y);
  if (!isActiveWindow()) jump_ = false;
  DG->CentreOn(item.X, item.Y);
  if (aCenterMap->isChecked()) DG->setFocus();
}

}  // namespace mireforge
