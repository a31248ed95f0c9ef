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

std::size_t SlotBytes(const DomainSlots& table) {
  std::size_t bytes = sizeof(table);
  for (const DomainSlot& slot : table) bytes += HeapBytes(slot.Name);
  return bytes;
}

}  // namespace

QString CountedText(const QString& text, std::size_t count, const char* what) {
  return QString("%1 (%2 %3%4)").arg(text).arg(count).arg(what).arg(count == 1 ? "" : "s");
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
      text_(text) {
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

std::size_t MapChangeCommand::MemoryBytes() const {
  return sizeof(*this) + before_.MemoryBytes() + after_.MemoryBytes();
}

std::size_t SetDescriptionCommand::MemoryBytes() const {
  std::size_t bytes = sizeof(*this) + entries_.capacity() * sizeof(std::uint32_t) + HeapBytes(text_) +
                      oldTexts_.capacity() * sizeof(DescText);
  for (const DescText& text : oldTexts_) bytes += HeapBytes(text);
  return bytes;
}

std::size_t SetDomainCommand::MemoryBytes() const {
  return sizeof(*this) + entries_.capacity() * sizeof(std::uint32_t) + oldDomains_.capacity() * sizeof(std::int32_t) +
         SlotBytes(oldSlots_) + SlotBytes(newSlots_);
}

std::size_t DomainTableCommand::MemoryBytes() const {
  return sizeof(*this) + SlotBytes(oldSlots_) + SlotBytes(newSlots_);
}

}  // namespace mireforge
