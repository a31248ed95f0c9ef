#pragma once
// The undo step of every editing tool: the cells it changed, each with what
// it held before and after (terrain, description, domain), and nothing else.
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "app/edit/edit_commands.h"
#include "model/desc_text.h"
#include "model/terrain.h"

namespace mireforge {

struct CellState {
  TerrainCode terrain = 0;
  std::int32_t domain = 0;
  DescText text;
  bool operator==(const CellState& other) const = default;
};

CellState ReadCell(const Project& project, std::uint32_t index);
// Writes terrain, TerrainRows, the description and the domain of one cell.
void WriteCell(Project& project, std::uint32_t index, const CellState& state);

// Collects the changes of one use of a tool. A cell touched twice keeps its
// first "before"; cells whose state does not change are left out.
class CellEdit {
 public:
  explicit CellEdit(const Project& project);
  // Records the new state of a cell, without writing it.
  void Set(std::uint32_t index, CellState after);
  // Writes the new state at once and reports whether it changed anything
  // (strokes show each cell as it is painted).
  bool Write(Project& project, std::uint32_t index, CellState after);
  // Writes back what the written cells held before (a stroke given up) and gives their indexes.
  std::vector<std::uint32_t> Revert(Project& project) const;
  std::size_t Size() const { return indexes_.size(); }
  bool Empty() const { return indexes_.empty(); }
  const std::vector<std::uint32_t>& Indexes() const { return indexes_; }

 private:
  friend class CellEditCommand;
  const Project& project_;
  std::vector<std::int32_t> slot_;  // position of each cell in the lists, -1 when untouched
  std::vector<std::uint32_t> indexes_;
  std::vector<CellState> before_, after_;
};

class CellEditCommand : public EditCommand {
 public:
  // applied: the cells already hold their new state (a finished stroke).
  // The caption gets the cell count: "Paint terrain (14 cells)".
  CellEditCommand(const QString& caption, Project& project, EditView& view, CellEdit edit, bool applied);
  void undo() override;
  void redo() override;
  std::size_t CellCount() const { return indexes_.size(); }
  std::size_t MemoryBytes() const override;

 private:
  // The states of the changed cells, kept small: a text is stored only where
  // it is not its terrain's name, which is most cells.
  struct States {
    std::vector<TerrainCode> terrains;
    std::vector<std::int32_t> domains;
    std::vector<std::pair<std::uint32_t, DescText>> texts;  // by position in the list
    void Add(std::uint32_t position, CellState state);
    std::size_t MemoryBytes() const;
  };
  void Put(const States& states);
  std::vector<std::uint32_t> indexes_;
  States before_, after_;
  bool skipRedo_;
  // Counted once: the history asks again after every push.
  std::size_t bytes_ = 0;
};

}  // namespace mireforge
