#include "app/document/map_document.h"

namespace mireforge {

MapDocument::MapDocument(QObject* parent) : QObject(parent) {
  // Bounded, as a Fill of a big map keeps two compact copies of it.
  undo_.setUndoLimit(200);
  connect(&undo_, &QUndoStack::indexChanged, this, [this] {
    if (!resettingHistory_) SetSaved(undo_.isClean());
  });
}

void MapDocument::SetSaved(bool saved) {
  if (project_.ProjectSaved == saved) return;
  project_.ProjectSaved = saved;
  emit FileStateChanged();
}

void MapDocument::ReplaceMap(MapReplacement how, bool mapPresent, const QString& origin) {
  mapPresent_ = mapPresent;
  origin_ = origin;
  emit MapReplaced(how);
}

void MapDocument::ResetHistory() {
  resettingHistory_ = true;
  undo_.clear();
  if (!project_.ProjectSaved) undo_.resetClean();
  resettingHistory_ = false;
}

void MapDocument::MarkSaved(const std::string& fileName) {
  resettingHistory_ = true;
  undo_.setClean();
  resettingHistory_ = false;
  project_.ProjectFileName = fileName;
  project_.ProjectSaved = true;
  emit FileStateChanged();
}

void MapDocument::MarkUnsaved() { SetSaved(false); }

void MapDocument::ForgetFileName() {
  project_.ProjectFileName.clear();
  emit FileStateChanged();
}

void MapDocument::CellsEdited(const std::vector<std::uint32_t>& cells) {
  if (!cells.empty() && project_.Map.Width > 0) emit CellsChanged(cells);
}

void MapDocument::DomainsEdited() { emit DomainsChanged(); }

void MapDocument::MapRestored(bool mapPresent, const QString& origin) {
  ReplaceMap(MapReplacement::Restored, mapPresent, origin);
}

}  // namespace mireforge
