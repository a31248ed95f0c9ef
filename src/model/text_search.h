#pragma once
// Finding and replacing text in location descriptions and domain names.
// Case folding covers the ASCII letters only: texts are UTF-8 bytes, and
// folding other bytes could split a character.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mireforge {

class DescriptionList;
class DomainTable;

struct TextSearch {
  std::string pattern;
  bool matchCase = false;
  bool wholeWords = false;  // the match is not part of a longer word
};

// The byte offset of the first match at or after from, or npos. An empty pattern matches nothing.
std::size_t FindText(std::string_view text, const TextSearch& search, std::size_t from = 0);
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
