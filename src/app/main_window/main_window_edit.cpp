// TfMain: painting, Fill, blank map, the description and domain editors, the
// side panels following the grid, and the undo history they feed.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDockWidget>
#include <QItemSelectionModel>
#include <QTableView>
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
  for (QAction* action : {aSaveMap, aSavePreview, aActualView, aSaveMMU, aSaveHTML, aSaveSQL, aExportTiled, aPaint, aPaintDom,
                          aFill, aStats, aDomStats, aSaveProject})
    action->setEnabled(document_.MapPresent());
  EnableMapTransforms(document_.MapPresent());
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

void TfMain::ShowChangedCells(const std::vector<std::uint32_t>& cells) {
  const int width = project_.Map.Width;
  DG->RedrawCells(cells);
  // Only the rows in sight: the panel reads the others when they scroll into view, and
  // a change signal costs the view a search through all its rows.
  const auto& nodes = project_.Descriptions.DescriptionNodes;
  const QModelIndex top = DescVT->indexAt(QPoint(0, 0));
  if (top.isValid() && DescVT->isVisible()) {
    const QModelIndex bottom = DescVT->indexAt(QPoint(0, DescVT->viewport()->height() - 1));
    const std::uint32_t first = static_cast<std::uint32_t>(top.row());
    const std::uint32_t last = static_cast<std::uint32_t>(bottom.isValid() ? bottom.row() : descModel->rowCount() - 1);
    std::vector<int> rows;
    for (const std::uint32_t cell : cells)
      if (cell < nodes.size() && nodes[cell] >= first && nodes[cell] <= last) rows.push_back(static_cast<int>(nodes[cell]));
    // Every row in sight changed, as after most edits of a block: one notice repaints
    // them all, where one per item costs the view as much again.
    if (rows.size() == last - first + 1) descModel->RowsChanged(static_cast<int>(first), static_cast<int>(last));
    else
      for (const int row : rows) descModel->EntryChanged(row);
  }
  const std::uint32_t current = static_cast<std::uint32_t>(DG->CurrentColumn() + DG->CurrentRow() * width);
  if (std::find(cells.begin(), cells.end(), current) != cells.end()) CellSelected(DG->CurrentColumn(), DG->CurrentRow());
}

void TfMain::ShowDomains() {
  RebuildDomainPanel();
  descModel->AllChanged();
  DG->RedrawAll();
}

void TfMain::ShowReplacedMap(MapReplacement how) {
  const bool present = document_.MapPresent();
  const MapGrid& map = project_.Map;
  const int width = present ? map.Width : DefaultMapWidth, height = present ? map.Height : DefaultMapHeight;
  DG->SetGridSize(width, height);
  if (how == MapReplacement::Emptied) DG->SetCurrentCell(0, 0);
  if (!present) {
    DG->SetDisplay(CellDisplay::None);
    UpdateCommands();
  } else if (how == MapReplacement::Loaded) {
    DG->SetDisplay(CellDisplay::Terrain);
    UpdateCommands();
  } else {
    // Fill, transforms and the undo of wholesale edits keep the painting mode.
    if (DG->Display() == CellDisplay::None) DG->SetDisplay(CellDisplay::Terrain);
    for (QAction* action : {aSaveMap, aSavePreview, aActualView, aSaveMMU, aSaveHTML, aSaveSQL, aExportTiled, aPaint, aPaintDom,
                            aFill, aStats, aDomStats, aSaveProject})
      action->setEnabled(true);
    EnableMapTransforms(true);
  }
  SetStatus(0, QString("%1x%2").arg(width).arg(height));
  SetStatus(1, document_.Origin());
  descModel->Reset();
  RebuildDomainPanel();
  DG->RedrawAll();
  fActualView->Refresh();
  if (how == MapReplacement::Emptied) {
    ChooseTileSize(0);
    SetStatus(7, QString());
    SetStatusColor(palette().color(QPalette::Window));
  } else {
    CellSelected(DG->CurrentColumn(), DG->CurrentRow());
  }
  ShowFileState();
}

void TfMain::FillCommand() {
  if (!document_.MapPresent()) return;
  TfFill dialog(tiles_, TerrainListStyle(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  MapSnapshot before = MapSnapshot::Take(project_, true, document_.Origin());
  project_.Map.FillTerrain(dialog.Terrain(), false);
  BuildDefaultDescriptions(project_.Descriptions, project_.Map);
  project_.Map.RebuildTerrainRows();
  MapSnapshot after = MapSnapshot::Take(project_, true, document_.Origin());
  document_.ReplaceMap(MapReplacement::Restored, true, document_.Origin());
  document_.Push(new MapChangeCommand("Fill", project_, document_, std::move(before), std::move(after)));
}

void TfMain::NewBlankCommand() {
  if (!ConfirmReplaceMap()) return;
  TfNewBlank dialog(tiles_, TerrainListStyle(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  MapSnapshot before = MapSnapshot::Take(project_, document_.MapPresent(), document_.Origin());
  document_.ForgetFileName();
  project_.Map.ResizeMap(dialog.MapWidth(), dialog.MapHeight());
  project_.Map.FillTerrain(FrozenWastes, true);
  project_.Map.FillTerrain(dialog.Terrain(), false);
  BuildDefaultDescriptions(project_.Descriptions, project_.Map);
  project_.Map.RebuildTerrainRows();
  MapSnapshot after = MapSnapshot::Take(project_, true, OriginBlank);
  document_.ReplaceMap(MapReplacement::Loaded, true, OriginBlank);
  document_.Push(new MapChangeCommand("Create blank map", project_, document_, std::move(before), std::move(after)));
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
  fSetName->Prepare(prefs_.settings.rememberLastInput ? lastDescription_ : ShownText(first.Text),
                    QString::fromStdString(project_.Domains.DomainLabel(first.Domain)));
  if (fSetName->exec() != QDialog::Accepted) return;
  const QString text = fSetName->Text();
  lastDescription_ = text;
  fSetName->Remember(text);
  document_.Push(new SetDescriptionCommand(project_, document_, entries, CleanDescription(text.toStdString())));
}

void TfMain::SetDomainCommand() {
  const std::vector<std::uint32_t> entries = SelectedEntries();
  if (entries.empty()) return;
  const TDescItem& first = project_.Descriptions.Entry(entries.front());
  fSetDom->Prepare(ShownText(first.Text), prefs_.settings.rememberLastInput ? lastDomain_ : first.Domain,
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
  document_.Push(new mireforge::SetDomainCommand(project_, document_, entries, domain, table));
}

void TfMain::NewDomainCommand() {
  fNewDomain->PrepareNew(std::min(domainModel->HighestListed() + 1, DomainCount - 1));
  if (fNewDomain->exec() != QDialog::Accepted || fNewDomain->DomainName().isEmpty()) return;
  DomainSlots table = project_.Domains.Slots;
  table[fNewDomain->Number()] = {fNewDomain->DomainColor(), CleanDescription(fNewDomain->DomainName().toStdString())};
  document_.Push(new DomainTableCommand("New domain", project_, document_, table));
}

void TfMain::EditDomainCommand() {
  const int number = domainModel->DomainAt(DomainVT->currentIndex().row());
  if (number < 0) return;
  fNewDomain->PrepareEdit(number, QString::fromStdString(project_.Domains.Name(number)),
                          project_.Domains.Color(number));
  if (fNewDomain->exec() != QDialog::Accepted || fNewDomain->DomainName().isEmpty()) return;
  DomainSlots table = project_.Domains.Slots;
  table[number] = {fNewDomain->DomainColor(), CleanDescription(fNewDomain->DomainName().toStdString())};
  document_.Push(new DomainTableCommand("Edit domain", project_, document_, table));
}

void TfMain::GridClicked(int column, int row) {
  if (!isActiveWindow() || !document_.MapPresent()) return;
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
  if (const TDescItem* item = project_.CellDescription(column, row)) SetStatus(7, ShownText(item->Text));
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
