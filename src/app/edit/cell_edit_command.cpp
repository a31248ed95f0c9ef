#include "app/edit/cell_edit_command.h"

#include "project/project.h"

namespace mireforge {

namespace {

TDescItem* Item(Project& project, std::uint32_t index) {
  const auto& nodes = project.Descriptions.DescriptionNodes;
  return index < nodes.size() ? &project.Descriptions.Entry(nodes[index]) : nullptr;
}

}  // namespace

CellState ReadCell(const Project& project, std::uint32_t index) {
  CellState state;
  state.terrain = project.Map.TerrainAt(index);
  const auto& nodes = project.Descriptions.DescriptionNodes;
  if (index < nodes.size()) {
    const TDescItem& item = project.Descriptions.Entry(nodes[index]);
    state.text = item.Text;
    state.domain = item.Domain;
  }
  return state;
}

void WriteCell(Project& project, std::uint32_t index, const CellState& state) {
  project.Map.Cells[index] = TerrainOf(state.terrain);
  if (TDescItem* item = Item(project, index)) {
    item->Text = state.text;
    item->Domain = state.domain;
  }
}

CellEdit::CellEdit(const Project& project) : project_(project), slot_(project.Map.Cells.size(), -1) {}

void CellEdit::Set(std::uint32_t index, CellState after) {
  if (index >= slot_.size()) return;
  std::int32_t& slot = slot_[index];
  if (slot >= 0) {
    after_[slot] = std::move(after);
    return;
  }
  CellState before = ReadCell(project_, index);
  if (before == after) return;
  slot = static_cast<std::int32_t>(indexes_.size());
  indexes_.push_back(index);
  before_.push_back(std::move(before));
  after_.push_back(std::move(after));
}

bool CellEdit::Write(Project& project, std::uint32_t index, CellState after) {
  if (index >= slot_.size() || ReadCell(project, index) == after) return false;
  Set(index, after);
  WriteCell(project, index, after);
  return true;
}

std::vector<std::uint32_t> CellEdit::Revert(Project& project) const {
  for (std::size_t i = 0; i < indexes_.size(); ++i) WriteCell(project, indexes_[i], before_[i]);
  return indexes_;
}

CellEditCommand::CellEditCommand(const QString& caption, Project& project, EditView& view, CellEdit edit,
                                 bool applied)
    : EditCommand(caption, project, view),
      indexes_(std::move(edit.indexes_)), before_(std::move(edit.before_)), after_(std::move(edit.after_)),
      skipRedo_(applied) {
  // A cell written twice in a stroke may have ended where it began.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < indexes_.size(); ++i) {
    if (before_[i] == after_[i]) continue;
    if (kept != i) {  // a string moved onto itself would be emptied
      indexes_[kept] = indexes_[i];
      before_[kept] = std::move(before_[i]);
      after_[kept] = std::move(after_[i]);
    }
    ++kept;
  }
  indexes_.resize(kept);
  before_.resize(kept);
  after_.resize(kept);
  indexes_.shrink_to_fit();
  before_.shrink_to_fit();
  after_.shrink_to_fit();
  bytes_ = sizeof(*this) + kept * (sizeof(std::uint32_t) + 2 * sizeof(CellState));
  for (std::size_t i = 0; i < kept; ++i) bytes_ += HeapBytes(before_[i].text) + HeapBytes(after_[i].text);
  setText(QString("%1 (%2 %3)").arg(caption).arg(kept).arg(kept == 1 ? "cell" : "cells"));
}

void CellEditCommand::Put(const std::vector<CellState>& states) {
  // Each cell appears once, so the order does not matter.
  for (std::size_t i = 0; i < indexes_.size(); ++i) WriteCell(project_, indexes_[i], states[i]);
  view_.CellsEdited(indexes_);
}

void CellEditCommand::redo() {
  // A finished stroke: every cell was announced as it was painted.
  if (skipRedo_) {
    skipRedo_ = false;
    return;
  }
  Put(after_);
}

void CellEditCommand::undo() { Put(before_); }

}  // namespace mireforge
