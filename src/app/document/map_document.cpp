#include "app/document/map_document.h"

#include <memory>
#include <utility>

namespace mireforge {

namespace {

// The memory of a step of the stack: an entry, a macro of entries, or a command.
std::size_t MemoryOf(const QUndoCommand& command);

// The stack's entry for one command: the command itself lives as long as any
// entry holds it, so that the history can be rebuilt without its oldest steps.
class HistoryStep : public QUndoCommand {
 public:
  HistoryStep(std::shared_ptr<QUndoCommand> command, bool done)
      : QUndoCommand(command->text()), command_(std::move(command)), skipRedo_(done) {}
  void redo() override {
    if (std::exchange(skipRedo_, false)) return;
    command_->redo();
  }
  void undo() override {
    if (std::exchange(skipUndo_, false)) return;
    command_->undo();
  }
  const std::shared_ptr<QUndoCommand>& Command() const { return command_; }
  void SkipUndo() { skipUndo_ = true; }

 private:
  std::shared_ptr<QUndoCommand> command_;
  bool skipRedo_ = false, skipUndo_ = false;
};

// Asked afresh each time: what a step shares with its neighbours counts by share.
std::size_t MemoryOf(const QUndoCommand& command) {
  if (const auto* entry = dynamic_cast<const HistoryStep*>(&command)) return MemoryOf(*entry->Command());
  if (const auto* edit = dynamic_cast<const EditCommand*>(&command)) return edit->MemoryBytes();
  std::size_t bytes = sizeof(command);
  for (int i = 0; i < command.childCount(); ++i) bytes += MemoryOf(*command.child(i));
  return bytes;
}

}  // namespace

MapDocument::MapDocument(QObject* parent) : QObject(parent) {
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

void MapDocument::Restore(Project project) {
  project_ = std::move(project);
  ResetHistory();
  project_.Map.RebuildTerrainRows();
  ReplaceMap(MapReplacement::Loaded, true, OriginProject);
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

void MapDocument::Push(QUndoCommand* command) {
  undo_.push(new HistoryStep(std::shared_ptr<QUndoCommand>(command), false));
  Trim();
}

void MapDocument::BeginMacro(const QString& text) {
  ++macroDepth_;
  undo_.beginMacro(text);
}

void MapDocument::EndMacro() {
  undo_.endMacro();
  --macroDepth_;
  Trim();
}

void MapDocument::SetHistoryLimits(int steps, std::size_t bytes) {
  stepLimit_ = std::max(1, steps);
  byteLimit_ = bytes;
  Trim();
}

std::size_t MapDocument::HistoryBytes() const {
  std::size_t bytes = 0;
  for (int i = 0; i < undo_.count(); ++i) bytes += MemoryOf(*undo_.command(i));
  return bytes;
}

void MapDocument::Trim() {
  if (macroDepth_ > 0 || resettingHistory_) return;
  const int count = undo_.count(), index = undo_.index();
  std::vector<std::size_t> bytes(count);
  std::size_t total = 0;
  for (int i = 0; i < count; ++i) total += bytes[i] = MemoryOf(*undo_.command(i));
  // The newest step always stays, and steps that are undone are not ours to drop.
  int drop = 0;
  while (drop < index && count - drop > 1 && (count - drop > stepLimit_ || total > byteLimit_)) total -= bytes[drop++];
  if (drop == 0) return;

  // What the rebuilt history holds: each step's entries, a macro's with its text.
  struct Kept {
    QString macroText;  // empty: a single entry
    std::vector<std::shared_ptr<QUndoCommand>> entries;
  };
  std::vector<Kept> kept;
  for (int i = drop; i < count; ++i) {
    const QUndoCommand* step = undo_.command(i);
    Kept k;
    const auto take = [&k](const QUndoCommand* command) {
      const auto* entry = dynamic_cast<const HistoryStep*>(command);
      if (entry) k.entries.push_back(entry->Command());
      return entry != nullptr;
    };
    if (!take(step)) {
      k.macroText = step->text();
      for (int c = 0; c < step->childCount(); ++c)
        if (!take(step->child(c))) return;  // pushed past the document: the history cannot be rebuilt
    }
    kept.push_back(std::move(k));
  }

  const int clean = undo_.cleanIndex();
  resettingHistory_ = true;
  undo_.clear();
  const auto push = [this](const Kept& k) {
    std::vector<HistoryStep*> entries;
    if (!k.macroText.isEmpty()) undo_.beginMacro(k.macroText);
    for (const std::shared_ptr<QUndoCommand>& command : k.entries) {
      auto* entry = new HistoryStep(command, true);
      entries.push_back(entry);
      undo_.push(entry);
    }
    if (!k.macroText.isEmpty()) undo_.endMacro();
    return entries;
  };
  for (std::size_t j = 0; j < kept.size(); ++j) {
    if (clean == drop + static_cast<int>(j)) undo_.setClean();
    const std::vector<HistoryStep*> entries = push(kept[j]);
    // Steps that were undone are undone again without running.
    if (drop + static_cast<int>(j) >= index)
      for (HistoryStep* entry : entries) entry->SkipUndo();
  }
  if (clean == count) undo_.setClean();
  undo_.setIndex(index - drop);
  if (clean < drop) undo_.resetClean();  // the saved state is no longer in the history
  resettingHistory_ = false;
  emit HistoryTrimmed(drop);
}

}  // namespace mireforge
