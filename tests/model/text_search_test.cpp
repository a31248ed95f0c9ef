// Finding and replacing text: case, whole words, and the lists searched.
#include <gtest/gtest.h>

#include "model/descriptions.h"
#include "model/domains.h"
#include "model/map_grid.h"
#include "model/text_search.h"

namespace mireforge {
namespace {

constexpr std::size_t None = std::string_view::npos;

TEST(TextSearch, CaseAndWholeWords) {
  struct Case {
    const char* text;
    const char* pattern;
    bool matchCase, wholeWords;
    std::size_t at;
  } cases[] = {
      {"Old Forest road", "forest", false, false, 4},
      {"Old Forest road", "forest", true, false, None},
      {"Old Forest road", "Forest", true, false, 4},
      {"Forestry", "forest", false, true, None},
      {"Forestry forest", "forest", false, true, 9},   // the second, whole one
      {"forest_path", "forest", false, true, None},    // an underscore joins words
      {"forest, lake", "forest", false, true, 0},
      {"lake-forest", "FOREST", false, true, 5},
      {"caf\xc3\xa9s", "caf", false, true, None},      // a UTF-8 letter continues the word
      {"abc", "", false, false, None},                 // an empty pattern finds nothing
      {"ab", "abc", false, false, None},
      {"xXx", "xx", false, false, 0},
  };
  for (const Case& c : cases) {
    const TextSearch search{c.pattern, c.matchCase, c.wholeWords};
    EXPECT_EQ(FindText(c.text, search), c.at) << c.text << " / " << c.pattern;
  }
  EXPECT_EQ(FindText("forest forest", {"forest", false, false}, 1), 7u);
}

// A folding as the editor's: Latin-1 capitals and the Kelvin sign (three bytes) fold to one small letter.
char32_t TestFold(char32_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  return c == 0x212A ? U'k' : c;
}

TEST(TextSearch, FoldsEveryLetterTheFoldingKnowsAndReportsTheMatchedLength) {
  struct Case {
    const char* text;
    const char* pattern;
    bool wholeWords;
    std::size_t at, length;
  } cases[] = {
      {"\xC3\x9Bmbar Gate", "\xC3\xBBmbar", false, 0, 6},             // ûmbar finds Ûmbar
      {"the K\xC3\x96LN gate", "k\xC3\xB6ln", true, 4, 5},             // köln finds KÖLN
      {"\xE2\x84\xAA\xC3\xB6ln", "K\xC3\x96LN", false, 0, 7},       // the Kelvin sign is a k
      {"caf\xC3\xA9", "CAF\xC3\x89", false, 0, 5},
      {"caf\xC3\xA9s", "caf\xC3\xA9", true, None, 0},                  // still a part of a word
      {"\xC3\xA9", "\xA9", false, None, 0},                             // never inside a character
      {"bad \xFF byte Gate", "gate", false, 11, 4},
  };
  for (const Case& c : cases) {
    TextSearch search{c.pattern, false, c.wholeWords, TestFold};
    std::size_t length = 0;
    EXPECT_EQ(FindText(c.text, search, 0, &length), c.at) << c.text << " / " << c.pattern;
    if (c.at != None) {
      EXPECT_EQ(length, c.length) << c.text;
    }
  }
  // Without a folding only ASCII letters fold.
  EXPECT_EQ(FindText("\xC3\x9Bmbar Gate", {"\xC3\xBBmbar", false, false}), None);
  int count = 0;
  EXPECT_EQ(ReplaceText("\xE2\x84\xAA\xC3\x96LN and k\xC3\xB6ln", {"K\xC3\xB6ln", false, false, TestFold}, "Cologne", &count),
            "Cologne and Cologne");
  EXPECT_EQ(count, 2);
}

TEST(TextSearch, ReplaceEveryMatchOnce) {
  int count = 0;
  EXPECT_EQ(ReplaceText("Forest and forestry forest", {"forest", false, true}, "wood", &count), "wood and forestry wood");
  EXPECT_EQ(count, 2);
  // The replacement holding the pattern is not searched again.
  EXPECT_EQ(ReplaceText("aa", {"a", true, false}, "aa", &count), "aaaa");
  EXPECT_EQ(count, 2);
  EXPECT_EQ(ReplaceText("lake", {"x", true, false}, "y", &count), "lake");
  EXPECT_EQ(count, 0);
}

TEST(TextSearch, FindAllListsDescriptionsThenNamedDomains) {
  MapGrid map;
  map.ResizeMap(3, 2);
  DescriptionList list;
  BuildDefaultDescriptions(list, map);
  list.Entry(1).Text = "the Forest";
  list.Entry(4).Text = "forest";
  DomainTable domains;
  domains.Slots[7].Name = "Forest folk";
  domains.Slots[9].Color = 5;  // no name: not a domain, not searched
  const TextSearch search{"forest", false, false};
  const std::vector<TextMatch> all = FindAll(list, domains, search, true, true);
  const std::vector<TextMatch> expected = {
      {TextMatch::Description, 1}, {TextMatch::Description, 4}, {TextMatch::DomainName, 7}};
  EXPECT_EQ(all, expected);
  EXPECT_EQ(FindAll(list, domains, search, false, true).size(), 1u);
  EXPECT_EQ(FindAll(list, domains, search, true, false).size(), 2u);
}

}  // namespace
}  // namespace mireforge
