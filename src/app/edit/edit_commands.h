#pragma once
// One undoable command per editing operation. Each stores only what it
// changed; a painting stroke merges into one step.
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

enum CommandId { PaintTerrainId = 1, PaintDomainId = 2 };

// A step's name in the history with how much it touched: "Paint terrain (14 cells)".
QString CountedText(const QString& text, std::size_t count, const char* what = "cell");

// Every edit changes the project and tells the window what it changed.
class EditCommand : public QUndoCommand {
 protected:
  EditCommand(const QString& text, Project& project, EditView& view)
      : QUndoCommand(text), project_(project), view_(view) {}

  Project& project_;
  EditView& view_;
};

// One cell of a painting stroke, holding what the cell had before. The cells
// that follow in the same stroke with the same value merge into it, so the
// whole stroke is one undo step.
template <typename Cell, CommandId Id>
class StrokeCommand : public EditCommand {
 public:
  int id() const override { return Id; }
  bool mergeWith(const QUndoCommand* other) override {
    // The stack offers only commands of the same id, so of this same type.
    const auto* next = static_cast<const StrokeCommand*>(other);
    if (next->stroke_ != stroke_ || next->value_ != value_) return false;
    cells_.insert(cells_.end(), next->cells_.begin(), next->cells_.end());
    setText(CountedText(name_, cells_.size()));
    return true;
  }

 protected:
  // The first cell comes with the constructor.
  StrokeCommand(const QString& text, Project& project, EditView& view, int stroke, int value)
      : EditCommand(CountedText(text, 1), project, view), name_(text), stroke_(stroke), value_(value) {}

  QString name_;
  int stroke_;
  int value_;  // the terrain code or domain painted
  std::vector<Cell> cells_;
};

struct TerrainStrokeCell {
  int x, y;
  TerrainCode oldCode;
  std::string oldText;
};

class PaintTerrainCommand : public StrokeCommand<TerrainStrokeCell, PaintTerrainId> {
 public:
  PaintTerrainCommand(Project& project, EditView& view, int stroke, int x, int y, int code);
  void undo() override;
  void redo() override;
};

struct DomainStrokeCell {
  std::uint32_t index;
  std::int32_t oldDomain;
};

class PaintDomainCommand : public StrokeCommand<DomainStrokeCell, PaintDomainId> {
 public:
  PaintDomainCommand(Project& project, EditView& view, int stroke, int x, int y, int domain);
  void undo() override;
  void redo() override;
};

// Fill and Create blank map: the operation has run; the command swaps snapshots.
class MapChangeCommand : public EditCommand {
 public:
  MapChangeCommand(const QString& text, Project& project, EditView& view, MapSnapshot before, MapSnapshot after);
  void undo() override;
  void redo() override;

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

 private:
  std::vector<std::uint32_t> entries_;
  std::vector<std::string> oldTexts_;
  std::string text_;
};

// Set domain, and with it possibly the domain's name and colour.
class SetDomainCommand : public EditCommand {
 public:
  SetDomainCommand(Project& project, EditView& view, std::vector<std::uint32_t> entries, int domain,
                   const DomainSlots& newSlots);
  void undo() override;
  void redo() override;

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

 private:
  DomainSlots oldSlots_, newSlots_;
};

}  // namespace mireforge
