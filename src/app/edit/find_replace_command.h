#pragma once
// Replace and Replace all: new texts for some descriptions and domain names, as one undo step.
#include <cstdint>
#include <string>
#include <vector>

#include "app/edit/edit_commands.h"
#include "model/text_search.h"

namespace mireforge {

struct TextChange {
  TextMatch where;
  std::string text;  // the new description or domain name
};

class ReplaceTextCommand : public EditCommand {
 public:
  ReplaceTextCommand(const QString& text, Project& project, EditView& view, std::vector<TextChange> changes);
  void undo() override;
  void redo() override;
  std::size_t MemoryBytes() const override;

 private:
  void Apply(bool forward);

  std::vector<TextChange> changes_;
  std::vector<std::string> oldTexts_;
};

// The changes that replace every match of search in the given matches.
std::vector<TextChange> ReplaceMatches(const Project& project, const std::vector<TextMatch>& matches,
                                       const TextSearch& search, const std::string& replacement, int* count);

}  // namespace mireforge
