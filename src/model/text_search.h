#pragma once
// Finding and replacing text in location descriptions and domain names.
// Texts are UTF-8; case is folded per character, by the folding the caller
// gives (the editor gives Unicode's), else for the ASCII letters only.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mireforge {

class DescriptionList;
class DomainTable;

// A character's case-folded form.
using CaseFold = char32_t (*)(char32_t);

struct TextSearch {
  std::string pattern;
  bool matchCase = false;
  bool wholeWords = false;  // the match is not part of a longer word
  CaseFold fold = nullptr;  // without matchCase; nullptr folds ASCII letters only
};

// The byte offset of the first match at or after from, or npos; length receives
// the match's length in bytes, which a folded match may have other than the
// pattern's. An empty pattern matches nothing.
std::size_t FindText(std::string_view text, const TextSearch& search, std::size_t from = 0,
                     std::size_t* length = nullptr);
// The text with every match replaced; count receives the number of matches.
std::string ReplaceText(std::string_view text, const TextSearch& search, std::string_view replacement,
                        int* count = nullptr);

// Where a match lies: a description list entry, or a domain's name.
struct TextMatch {
  enum Kind : std::uint8_t { Description, DomainName } kind;
  std::uint32_t index;  // entry of the description list, or domain number
  bool operator==(const TextMatch&) const = default;
};

// Every entry whose description matches, in list order, then every named domain
// whose name matches, in number order.
std::vector<TextMatch> FindAll(const DescriptionList& descriptions, const DomainTable& domains,
                               const TextSearch& search, bool inDescriptions, bool inDomains);

}  // namespace mireforge
