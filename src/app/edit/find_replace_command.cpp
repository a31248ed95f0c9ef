#include "app/edit/find_replace_command.h"

#include "project/project.h"

namespace mireforge {

namespace {

std::string_view TextOf(const Project& project, const TextMatch& where) {
  if (where.kind == TextMatch::Description) return project.Descriptions.Entry(where.index).Text;
  return project.Domains.Name(where.index);
}

void SetTextOf(Project& project, const TextMatch& where, const std::string& text) {
  if (where.kind == TextMatch::Description) project.Descriptions.Entry(where.index).Text = text;
  else project.Domains.Slots[where.index].Name = text;
}

}  // namespace

ReplaceTextCommand::ReplaceTextCommand(const QString& text, Project& project, EditView& view,
                                       std::vector<TextChange> changes)
    : EditCommand(text, project, view), changes_(std::move(changes)) {
  oldTexts_.reserve(changes_.size());
  for (const TextChange& change : changes_) oldTexts_.emplace_back(TextOf(project, change.where));
}

void ReplaceTextCommand::redo() { Apply(true); }
void ReplaceTextCommand::undo() { Apply(false); }

void ReplaceTextCommand::Apply(bool forward) {
  std::vector<std::uint32_t> cells;
  bool domains = false;
  const int width = project_.Map.Width;
  for (std::size_t i = 0; i < changes_.size(); ++i) {
    const TextMatch& where = changes_[i].where;
    SetTextOf(project_, where, forward ? changes_[i].text : oldTexts_[i]);
    if (where.kind == TextMatch::DomainName) {
      domains = true;
    } else {
      const TDescItem& item = project_.Descriptions.Entry(where.index);
      cells.push_back(static_cast<std::uint32_t>(item.X + item.Y * width));
    }
  }
  if (!cells.empty()) view_.CellsEdited(cells);
  if (domains) view_.DomainsEdited();
}

std::vector<TextChange> ReplaceMatches(const Project& project, const std::vector<TextMatch>& matches,
                                       const TextSearch& search, const std::string& replacement, int* count) {
  std::vector<TextChange> changes;
  int total = 0;
  for (const TextMatch& where : matches) {
    const std::string_view old = TextOf(project, where);
    int found = 0;
    std::string text = ReplaceText(old, search, replacement, &found);
    if (found == 0 || text == old) continue;
    // A domain without a name is no domain: replacing its whole name by nothing would drop it.
    if (where.kind == TextMatch::DomainName && text.empty()) continue;
    total += found;
    changes.push_back({where, std::move(text)});
  }
  if (count) *count = total;
  return changes;
}

std::size_t ReplaceTextCommand::MemoryBytes() const {
  std::size_t bytes = sizeof(*this) + changes_.capacity() * sizeof(TextChange) +
                      oldTexts_.capacity() * sizeof(std::string);
  for (const TextChange& change : changes_) bytes += HeapBytes(change.text);
  for (const std::string& text : oldTexts_) bytes += HeapBytes(text);
  return bytes;
}

}  // namespace mireforge
