#pragma once
// One undoable command per editing operation. Each stores only what it
// changed (strokes and the other tools go through CellEditCommand).
#include <QUndoCommand>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/edit/map_snapshot.h"
#include "model/domains.h"

namespace mireforge {

struct Project;

// What the commands tell the window after they changed the project.
class EditView {
 public:
  virtual ~EditView() = default;
  // Cells (by cell index) whose terrain, description or domain changed.
  virtual void CellsEdited(const std::vector<std::uint32_t>& cells) = 0;
  // The domain table changed: the domain panel is rebuilt, the views redrawn.
  virtual void DomainsEdited() = 0;
  // The whole map was put back.
  virtual void MapRestored(bool mapPresent, const QString& origin) = 0;
};

using DomainSlots = std::array<DomainSlot, DomainCount>;

// A step's name in the history with how much it touched: "Paint terrain (14 cells)".
QString CountedText(const QString& text, std::size_t count, const char* what = "cell");

// What a string keeps beyond its own object (nothing while it is short).
inline std::size_t HeapBytes(const std::string& text) {
  return text.capacity() > std::string().capacity() ? text.capacity() + 1 : 0;
}
// A shared text may be all its holder keeps alive: counted whole.
inline std::size_t HeapBytes(const DescText& text) { return text.size(); }

// Every edit changes the project and tells the window what it changed.
class EditCommand : public QUndoCommand {
 public:
  // The memory the step holds, for the history's bound (once it has run).
  virtual std::size_t MemoryBytes() const = 0;

 protected:
  EditCommand(const QString& text, Project& project, EditView& view)
      : QUndoCommand(text), project_(project), view_(view) {}

  Project& project_;
  EditView& view_;
};

// Fill and Create blank map: the operation has run; the command swaps snapshots.
class MapChangeCommand : public EditCommand {
 public:
  MapChangeCommand(const QString& text, Project& project, EditView& view, MapSnapshot before, MapSnapshot after);
  void undo() override;
  void redo() override;
  std::size_t MemoryBytes() const override;

 private:
  MapSnapshot before_, after_;
  bool applied_ = true;
};

// Set description: the same text for every selected entry.
class SetDescriptionCommand : public EditCommand {
 public:
  SetDescriptionCommand(Project& project, EditView& view, std::vector<std::uint32_t> entries, std::string text);
  void undo() override;
  void redo() override;
  std::size_t MemoryBytes() const override;

 private:
  std::vector<std::uint32_t> entries_;
  std::vector<DescText> oldTexts_;
  DescText text_;  // one text shared by every entry
};

// Set domain, and with it possibly the domain's name and colour.
class SetDomainCommand : public EditCommand {
 public:
  SetDomainCommand(Project& project, EditView& view, std::vector<std::uint32_t> entries, int domain,
                   const DomainSlots& newSlots);
  void undo() override;
  void redo() override;
  std::size_t MemoryBytes() const override;

 private:
  std::vector<std::uint32_t> entries_;
  std::vector<std::int32_t> oldDomains_;
  int domain_;
  DomainSlots oldSlots_, newSlots_;
};

// New domain and Edit domain: the table changes as a whole.
class DomainTableCommand : public EditCommand {
 public:
  DomainTableCommand(const QString& text, Project& project, EditView& view, const DomainSlots& newSlots);
  void undo() override;
  void redo() override;
  std::size_t MemoryBytes() const override;

 private:
  DomainSlots oldSlots_, newSlots_;
};

}  // namespace mireforge
