#include "app/edit/edit_commands.h"

#include "project/project.h"

namespace mireforge {

namespace {

std::uint32_t CellIndex(const Project& project, int x, int y) {
  return static_cast<std::uint32_t>(x + y * project.Map.Width);
}

std::uint32_t EntryCell(const Project& project, std::uint32_t entry) {
  const TDescItem& item = project.Descriptions.Entry(entry);
  return CellIndex(project, item.X, item.Y);
}

}  // namespace

QString CountedText(const QString& text, std::size_t count, const char* what) {
  return QString("%1 (%2 %3%4)").arg(text).arg(count).arg(what).arg(count == 1 ? "" : "s");
}

PaintTerrainCommand::PaintTerrainCommand(Project& project, EditView& view, int stroke, int x, int y, int code)
    : StrokeCommand("Paint terrain", project, view, stroke, code) {
  const TDescItem* item = project.CellDescription(x, y);
  cells_.push_back({x, y, project.Map.GetTerrain(x, y), item ? item->Text : std::string()});
}

void PaintTerrainCommand::redo() {
  std::vector<std::uint32_t> changed;
  for (const TerrainStrokeCell& cell : cells_) {
    project_.SetTerrain(cell.x, cell.y, value_);
    changed.push_back(CellIndex(project_, cell.x, cell.y));
  }
  view_.CellsEdited(changed);
}

void PaintTerrainCommand::undo() {
  std::vector<std::uint32_t> changed;
  // Backwards, so a cell crossed twice ends as it was before the stroke.
  for (auto cell = cells_.rbegin(); cell != cells_.rend(); ++cell) {
    const std::uint32_t index = CellIndex(project_, cell->x, cell->y);
    project_.Map.Cells[index] = cell->oldCode;
    if (project_.Map.TerrainRows.size() > index) project_.Map.TerrainRows[index] = cell->oldCode;
    if (TDescItem* item = project_.CellDescription(cell->x, cell->y)) item->Text = cell->oldText;
    changed.push_back(index);
  }
  view_.CellsEdited(changed);
}

PaintDomainCommand::PaintDomainCommand(Project& project, EditView& view, int stroke, int x, int y, int domain)
    : StrokeCommand("Paint domains", project, view, stroke, domain) {
  const std::uint32_t index = CellIndex(project, x, y);
  const TDescItem* item = project.CellDescription(x, y);
  cells_.push_back({index, item ? item->Domain : 0});
}

void PaintDomainCommand::redo() {
  std::vector<std::uint32_t> changed;
  for (const DomainStrokeCell& cell : cells_) {
    const int x = cell.index % project_.Map.Width, y = cell.index / project_.Map.Width;
    if (TDescItem* item = project_.CellDescription(x, y)) item->Domain = value_;
    changed.push_back(cell.index);
  }
  view_.CellsEdited(changed);
}

void PaintDomainCommand::undo() {
  std::vector<std::uint32_t> changed;
  for (auto cell = cells_.rbegin(); cell != cells_.rend(); ++cell) {
    const int x = cell->index % project_.Map.Width, y = cell->index / project_.Map.Width;
    if (TDescItem* item = project_.CellDescription(x, y)) item->Domain = cell->oldDomain;
    changed.push_back(cell->index);
  }
  view_.CellsEdited(changed);
}

MapChangeCommand::MapChangeCommand(const QString& text, Project& project, EditView& view, MapSnapshot before,
                                   MapSnapshot after)
    : EditCommand(text, project, view), before_(std::move(before)), after_(std::move(after)) {}

void MapChangeCommand::redo() {
  // The operation itself ran before the command was pushed.
  if (applied_) {
    applied_ = false;
    return;
  }
  after_.Restore(project_);
  view_.MapRestored(after_.mapPresent, after_.origin);
}

void MapChangeCommand::undo() {
  before_.Restore(project_);
  view_.MapRestored(before_.mapPresent, before_.origin);
}

SetDescriptionCommand::SetDescriptionCommand(Project& project, EditView& view, std::vector<std::uint32_t> entries,
                                             std::string text)
    : EditCommand(CountedText("Set description", entries.size()), project, view), entries_(std::move(entries)),
      text_(std::move(text)) {
  for (std::uint32_t entry : entries_) oldTexts_.push_back(project.Descriptions.Entry(entry).Text);
}

void SetDescriptionCommand::redo() {
  std::vector<std::uint32_t> changed;
  for (std::uint32_t entry : entries_) {
    project_.Descriptions.Entry(entry).Text = text_;
    changed.push_back(EntryCell(project_, entry));
  }
  view_.CellsEdited(changed);
}

void SetDescriptionCommand::undo() {
  std::vector<std::uint32_t> changed;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    project_.Descriptions.Entry(entries_[i]).Text = oldTexts_[i];
    changed.push_back(EntryCell(project_, entries_[i]));
  }
  view_.CellsEdited(changed);
}

SetDomainCommand::SetDomainCommand(Project& project, EditView& view, std::vector<std::uint32_t> entries, int domain,
                                   const DomainSlots& newSlots)
    : EditCommand(CountedText("Set domain", entries.size()), project, view), entries_(std::move(entries)),
      domain_(domain),
      oldSlots_(project.Domains.Slots), newSlots_(newSlots) {
  for (std::uint32_t entry : entries_) oldDomains_.push_back(project.Descriptions.Entry(entry).Domain);
}

void SetDomainCommand::redo() {
  for (std::uint32_t entry : entries_) project_.Descriptions.Entry(entry).Domain = domain_;
  project_.Domains.Slots = newSlots_;
  view_.DomainsEdited();
}

void SetDomainCommand::undo() {
  for (std::size_t i = 0; i < entries_.size(); ++i) project_.Descriptions.Entry(entries_[i]).Domain = oldDomains_[i];
  project_.Domains.Slots = oldSlots_;
  view_.DomainsEdited();
}

DomainTableCommand::DomainTableCommand(const QString& text, Project& project, EditView& view,
                                       const DomainSlots& newSlots)
    : EditCommand(text, project, view), oldSlots_(project.Domains.Slots), newSlots_(newSlots) {}

void DomainTableCommand::redo() {
  project_.Domains.Slots = newSlots_;
  view_.DomainsEdited();
}

void DomainTableCommand::undo() {
  project_.Domains.Slots = oldSlots_;
  view_.DomainsEdited();
}

}  // namespace mireforge
