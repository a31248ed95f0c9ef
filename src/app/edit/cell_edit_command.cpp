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

void CellEditCommand::States::Add(std::uint32_t position, CellState state) {
  terrains.push_back(state.terrain);
  domains.push_back(state.domain);
  if (state.text != TerrainNames[TerrainOf(state.terrain)]) texts.emplace_back(position, std::move(state.text));
}

std::size_t CellEditCommand::States::MemoryBytes() const {
  std::size_t bytes = terrains.capacity() * sizeof(TerrainCode) + domains.capacity() * sizeof(std::int32_t) +
                      texts.capacity() * sizeof(texts[0]);
  for (const auto& [position, text] : texts) bytes += HeapBytes(text);
  return bytes;
}

CellEditCommand::CellEditCommand(const QString& caption, Project& project, EditView& view, CellEdit edit,
                                 bool applied)
    : EditCommand(caption, project, view), skipRedo_(applied) {
  // A cell written twice in a stroke may have ended where it began.
  for (std::size_t i = 0; i < edit.indexes_.size(); ++i) {
    if (edit.before_[i] == edit.after_[i]) continue;
    const auto position = static_cast<std::uint32_t>(indexes_.size());
    indexes_.push_back(edit.indexes_[i]);
    before_.Add(position, std::move(edit.before_[i]));
    after_.Add(position, std::move(edit.after_[i]));
  }
  indexes_.shrink_to_fit();
  bytes_ = sizeof(*this) + indexes_.capacity() * sizeof(std::uint32_t) + before_.MemoryBytes() + after_.MemoryBytes();
  const std::size_t kept = indexes_.size();
  setText(QString("%1 (%2 %3)").arg(caption).arg(kept).arg(kept == 1 ? "cell" : "cells"));
}

std::size_t CellEditCommand::MemoryBytes() const { return bytes_; }

void CellEditCommand::Put(const States& states) {
  // Each cell appears once, so the order does not matter.
  auto text = states.texts.begin();
  for (std::uint32_t i = 0; i < indexes_.size(); ++i) {
    CellState state;
    state.terrain = states.terrains[i];
    state.domain = states.domains[i];
    if (text != states.texts.end() && text->first == i) state.text = (text++)->second;
    else state.text = DefaultDescription(state.terrain);
    WriteCell(project_, indexes_[i], state);
  }
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
