#include "model/text_search.h"

#include <cstring>

#include "model/descriptions.h"
#include "model/domains.h"

namespace mireforge {

namespace {

char32_t FoldAscii(char32_t c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

// Bytes of UTF-8 sequences count as letters, so a whole-word match never ends inside one.
bool WordByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b == '_' || b >= 0x80;
}

// The character at text[at] and its length; a byte that starts no UTF-8
// sequence stands for itself, as a lone surrogate no pattern character equals.
char32_t NextCharacter(std::string_view text, std::size_t at, std::size_t& length) {
  const auto lead = static_cast<unsigned char>(text[at]);
  length = 1;
  if (lead < 0x80) return lead;
  const std::size_t need = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (need == 0 || lead > 0xF4 || at + need > text.size()) return 0xDC00 | lead;
  char32_t c = lead & (0x7F >> need);
  for (std::size_t i = 1; i < need; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return 0xDC00 | lead;
    c = (c << 6) | (next & 0x3F);
  }
  length = need;
  return c;
}

bool ContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The first match at or after from, compared character by character after
// folding (both sides walked together: a search runs over every description).
std::size_t FindFolded(std::string_view text, std::string_view pattern, CaseFold fold, std::size_t from,
                       std::size_t& matched) {
  for (std::size_t i = from; i < text.size(); ++i) {
    if (i > 0 && ContinuationByte(text[i])) continue;
    std::size_t at = i, p = 0, length = 0, patternLength = 0;
    for (; p < pattern.size() && at < text.size(); p += patternLength, at += length)
      if (fold(NextCharacter(text, at, length)) != fold(NextCharacter(pattern, p, patternLength))) break;
    if (p == pattern.size()) {
      matched = at - i;
      return i;
    }
  }
  return std::string_view::npos;
}

}  // namespace

std::size_t FindText(std::string_view text, const TextSearch& search, std::size_t from, std::size_t* length) {
  const std::string_view pattern = search.pattern;
  if (pattern.empty()) return std::string_view::npos;
  while (from < text.size()) {
    std::size_t matched = pattern.size();
    const std::size_t at = search.matchCase ? text.find(pattern, from)
                                            : FindFolded(text, pattern, search.fold ? search.fold : FoldAscii, from, matched);
    if (at == std::string_view::npos) return at;
    const std::size_t end = at + matched;
    if (!search.wholeWords || ((at == 0 || !WordByte(text[at - 1])) && (end == text.size() || !WordByte(text[end])))) {
      if (length) *length = matched;
      return at;
    }
    from = at + 1;
  }
  return std::string_view::npos;
}

std::string ReplaceText(std::string_view text, const TextSearch& search, std::string_view replacement, int* count) {
  std::string result;
  int found = 0;
  std::size_t from = 0, length = 0;
  for (std::size_t at = FindText(text, search, 0, &length); at != std::string_view::npos;
       at = FindText(text, search, from, &length)) {
    result.append(text.substr(from, at - from));
    result.append(replacement);
    from = at + length;
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
