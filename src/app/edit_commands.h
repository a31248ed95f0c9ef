#pragma once
// One undoable command per editing operation. Each stores only what it
// changed; a painting stroke merges into one step.
#include <QUndoCommand>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/map_snapshot.h"
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

// One cell of a terrain stroke; cells of the same stroke merge.
class PaintTerrainCommand : public QUndoCommand {
 public:
  PaintTerrainCommand(Project& project, EditView& view, int stroke, int x, int y, int code);
  void undo() override;
  void redo() override;
  int id() const override { return PaintTerrainId; }
  bool mergeWith(const QUndoCommand* other) override;

 private:
  struct Cell {
    int x, y;
    TerrainCode oldCode;
    std::string oldText;
  };
  Project& project_;
  EditView& view_;
  int stroke_;
  int code_;
  std::vector<Cell> cells_;
};

class PaintDomainCommand : public QUndoCommand {
 public:
  PaintDomainCommand(Project& project, EditView& view, int stroke, int x, int y, int domain);
  void undo() override;
  void redo() override;
  int id() const override { return PaintDomainId; }
  bool mergeWith(const QUndoCommand* other) override;

 private:
  struct Cell {
    std::uint32_t index;
    std::int32_t oldDomain;
  };
  Project& project_;
  EditView& view_;
  int stroke_;
  int domain_;
  std::vector<Cell> cells_;
};

// Fill and Create blank map: the operation has run; the command swaps snapshots.
class MapChangeCommand : public QUndoCommand {
 public:
  MapChangeCommand(const QString& text, Project& project, EditView& view, MapSnapshot before, MapSnapshot after);
  void undo() override;
  void redo() override;

 private:
  Project& project_;
  EditView& view_;
  MapSnapshot before_, after_;
  bool applied_ = true;
};

// Set description: the same text for every selected entry.
class SetDescriptionCommand : public QUndoCommand {
 public:
  SetDescriptionCommand(Project& project, EditView& view, std::vector<std::uint32_t> entries, std::string text);
  void undo() override;
  void redo() override;

 private:
  Project& project_;
  EditView& view_;
  std::vector<std::uint32_t> entries_;
  std::vector<std::string> oldTexts_;
  std::string text_;
};

// Set domain, and with it possibly the domain's name and colour.
class SetDomainCommand : public QUndoCommand {
 public:
  SetDomainCommand(Project& project, EditView& view, std::vector<std::uint32_t> entries, int domain,
                   const DomainSlots& newSlots);
  void undo() override;
  void redo() override;

 private:
  Project& project_;
  EditView& view_;
  std::vector<std::uint32_t> entries_;
  std::vector<std::int32_t> oldDomains_;
  int domain_;
  DomainSlots oldSlots_, newSlots_;
};

// New domain and Edit domain: the table changes as a whole.
class DomainTableCommand : public QUndoCommand {
 public:
  DomainTableCommand(const QString& text, Project& project, EditView& view, const DomainSlots& newSlots);
  void undo() override;
  void redo() override;

 private:
  Project& project_;
  EditView& view_;
  DomainSlots oldSlots_, newSlots_;
};

}  // namespace mireforge
