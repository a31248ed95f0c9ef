#include "model/text_search.h"

#include <cstring>

#include "model/descriptions.h"
#include "model/domains.h"

namespace mireforge {

namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Bytes of UTF-8 sequences count as letters, so a whole-word match never ends inside one.
bool WordByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b == '_' || b >= 0x80;
}

std::size_t FindFolded(std::string_view text, std::string_view pattern, std::size_t from) {
  const char first = Fold(pattern[0]);
  const char firstUpper = (first >= 'a' && first <= 'z') ? static_cast<char>(first - 'a' + 'A') : first;
  const std::size_t last = text.size() - pattern.size();
  for (std::size_t i = from; i <= last; ++i) {
    if (text[i] != first && text[i] != firstUpper) continue;
    std::size_t k = 1;
    while (k < pattern.size() && Fold(text[i + k]) == Fold(pattern[k])) ++k;
    if (k == pattern.size()) return i;
  }
  return std::string_view::npos;
}

}  // namespace

std::size_t FindText(std::string_view text, const TextSearch& search, std::size_t from) {
  const std::string_view pattern = search.pattern;
  if (pattern.empty()) return std::string_view::npos;
  while (from + pattern.size() <= text.size()) {
    const std::size_t at = search.matchCase ? text.find(pattern, from) : FindFolded(text, pattern, from);
    if (at == std::string_view::npos) return at;
    const std::size_t end = at + pattern.size();
    if (!search.wholeWords || ((at == 0 || !WordByte(text[at - 1])) && (end == text.size() || !WordByte(text[end]))))
      return at;
    from = at + 1;
  }
  return std::string_view::npos;
}

std::string ReplaceText(std::string_view text, const TextSearch& search, std::string_view replacement, int* count) {
  std::string result;
  int found = 0;
  std::size_t from = 0;
  for (std::size_t at = FindText(text, search); at != std::string_view::npos;
       at = FindText(text, search, from)) {
    result.append(text.substr(from, at - from));
    result.append(replacement);
    from = at + search.pattern.size();
    ++found;
  }
  result.append(text.substr(from));
  if (count) *count = found;
  return result;
}

std::vector<TextMatch> FindAll(const DescriptionList& descriptions, const DomainTable& domains,
                               const TextSearch& search, bool inDescriptions, bool inDomains) {
  std::vector<TextMatch> matches;
  if (search.pattern.empty()) return matches;
  if (inDescriptions)
    for (std::size_t i = 0; i < descriptions.Size(); ++i)
      if (FindText(descriptions.Entry(i).Text, search) != std::string_view::npos)
        matches.push_back({TextMatch::Description, static_cast<std::uint32_t>(i)});
  if (inDomains)
    for (int n = 0; n < DomainCount; ++n)
      if (domains.Defined(n) && FindText(domains.Name(n), search) != std::string_view::npos)
        matches.push_back({TextMatch::DomainName, static_cast<std::uint32_t>(n)});
  return matches;
}

}  // namespace mireforge
