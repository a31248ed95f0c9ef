#include "generate/name_generator.h"

#include <array>
#include <span>

#include "base/error.h"

namespace mireforge {

namespace {

using Table = std::span<const std::string_view>;

// A word alternates consonant groups and vowels; each slot has its own table,
// so no two consonant groups meet and every name can be spoken.
struct SyllableStyle {
  Table Onsets;    // consonants that open a word
  Table Vowels;
  Table Medials;   // consonants between two vowels
  Table Codas;     // what closes a word ("" for an open end)
  Table Endings;   // vowel-led ends that replace the last vowel and coda
  int MinVowels;
  int MaxVowels;
  int VowelStartPercent;
};

constexpr std::string_view MidnightOnsets[] = {"b",  "c",  "d",  "f",  "g",  "k",  "l",  "m",  "n",  "r",  "s",
                                               "t",  "v",  "th", "sh", "dr", "gr", "kr", "thr", "br", "st", "cr",
                                               "gl", "h",  "z",  "tr"};
constexpr std::string_view MidnightVowels[] = {"a", "e", "i", "o", "u", "a", "o", "e", "ai", "ei", "ou", "ia"};
constexpr std::string_view MidnightMedials[] = {"r",  "n",  "l",  "m",  "th", "d",  "g",  "k",  "v",  "s",
                                                "rth", "nd", "ld", "rm", "lm", "nn", "rk", "sh", "dr", "x"};
constexpr std::string_view MidnightCodas[] = {"", "r", "n", "l", "th", "rn", "rk", "m", "x", "d", "s", "ld", "rth", "g"};
constexpr std::string_view MidnightEndings[] = {"orn", "ith", "ar", "oth", "an", "eth", "or", "uin", "il", "ak", "emar"};

constexpr std::string_view ElvishOnsets[] = {"l", "n", "th", "s", "r", "m", "f", "gl", "v", "c", "al", "el", "il", "ar", "g", "h"};
constexpr std::string_view ElvishVowels[] = {"a", "e", "i", "ae", "ie", "ia", "ea", "o", "e", "i", "a"};
constexpr std::string_view ElvishMedials[] = {"l", "n", "r", "th", "s", "nd", "ld", "rw", "lw", "m", "ss", "ll", "nw", "dh", "v"};
constexpr std::string_view ElvishCodas[] = {"", "", "", "n", "l", "r", "s", "th", "nd"};
constexpr std::string_view ElvishEndings[] = {"ien", "iel", "ion", "ir", "as", "adan", "ith", "ethil", "ia", "ande", "orn", "uial"};

constexpr std::string_view DwarvishOnsets[] = {"b", "d", "g", "k", "kh", "gr", "dr", "br", "th", "z", "n", "f", "bh", "dw"};
constexpr std::string_view DwarvishVowels[] = {"a", "u", "o", "i", "e", "a", "u"};
constexpr std::string_view DwarvishMedials[] = {"k", "r", "m", "n", "z", "d", "rn", "rd", "mb", "g", "l", "zg", "rg", "nd", "kh", "b"};
constexpr std::string_view DwarvishCodas[] = {"k", "r", "m", "n", "z", "d", "rn", "rd", "g", "l", "x", "rak", "in"};
constexpr std::string_view DwarvishEndings[] = {"um", "ur", "ar", "ak", "or", "im", "ad", "un", "ek"};

constexpr std::array<SyllableStyle, 3> SyllableStyles = {{
    {MidnightOnsets, MidnightVowels, MidnightMedials, MidnightCodas, MidnightEndings, 2, 3, 15},
    {ElvishOnsets, ElvishVowels, ElvishMedials, ElvishCodas, ElvishEndings, 2, 3, 20},
    {DwarvishOnsets, DwarvishVowels, DwarvishMedials, DwarvishCodas, DwarvishEndings, 2, 2, 5},
}};

// English place names: a first part and a last part, joined by short links
// when more names are needed than the two parts give.
constexpr std::string_view EnglishFirsts[] = {
    "ald",  "ash",   "black", "bram",  "bright", "cold",  "crow",  "deep",  "elder", "fair",  "gold",  "grey",
    "hawk", "high",  "iron",  "long",  "mar",    "mill",  "north", "oak",   "raven", "red",   "rock",  "rose",
    "salt", "silver", "stone", "storm", "thorn", "west",  "whit",  "wolf",  "wych",  "yew",   "winter", "frost",
    "dun",  "hol",   "kings", "bar",   "east",   "south", "hart",  "heath", "brack", "elm",   "fen",   "glen"};
constexpr std::string_view EnglishLinks[] = {"en", "er", "ing", "ow", "el", "an", "ar", "is", "ol", "et"};
constexpr std::string_view EnglishLasts[] = {
    "mere", "ford",  "wick", "ton",  "by",   "dale", "holm",  "stead", "worth", "ley",  "bury", "wood", "field",
    "moor", "fell",  "gate", "haven", "brook", "crest", "wold", "thorp", "hurst", "don", "more", "ness", "combe",
    "ham",  "minster", "shaw", "well", "marsh", "cliff"};

std::string_view Pick(Table table, RandomSource& random) {
  return table[random.RandomInt(static_cast<std::uint32_t>(table.size()))];
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::vector<std::string> ParseNameList(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;
  int line = 0;
  while (!text.empty()) {
    ++line;
    const std::size_t end = text.find('\n');
    const std::string_view name = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (name.empty()) continue;
    if (name.size() > MaxPlaceNameLength)
      throw Error(FormatMessage(FormatMessage("Line %d of the name list is longer than %d characters", line),
                                static_cast<long long>(MaxPlaceNameLength)));
    if (seen.insert(Lower(name)).second) names.emplace_back(name);
  }
  return names;
}

NameGenerator::NameGenerator(std::int32_t seed, NameStyle style, std::vector<std::string> list)
    : style_(style), list_(std::move(list)) {
  random_.RandomSeed = seed;
  for (std::size_t i = list_.size(); i > 1; --i)
    std::swap(list_[i - 1], list_[random_.RandomInt(static_cast<std::uint32_t>(i))]);
}

void NameGenerator::Reserve(std::string_view name) { used_.insert(Lower(name)); }

bool NameGenerator::Claim(const std::string& name) { return used_.insert(Lower(name)).second; }

std::string NameGenerator::Next() {
  while (listNext_ < list_.size()) {
    std::string& name = list_[listNext_++];
    if (Claim(name)) return std::move(name);
  }
  // Each run of failed draws makes names one syllable longer: the choice grows
  // tenfold or more with each, so even a map of 262,144 sites is named quickly.
  for (int attempt = 0;; ++attempt) {
    std::string name = Compose(attempt / 16);
    if (Claim(name)) return name;
  }
}

std::string NameGenerator::Compose(int extraSyllables) {
  std::string name;
  if (style_ == NameStyle::English) {
    name += Pick(EnglishFirsts, random_);
    for (int i = 0; i < extraSyllables; ++i) name += Pick(EnglishLinks, random_);
    name += Pick(EnglishLasts, random_);
  } else {
    const SyllableStyle& style = SyllableStyles[static_cast<std::size_t>(style_)];
    const int vowels = style.MinVowels +
                       static_cast<int>(random_.RandomInt(static_cast<std::uint32_t>(style.MaxVowels - style.MinVowels + 1))) +
                       extraSyllables;
    if (static_cast<int>(random_.RandomInt(100)) >= style.VowelStartPercent) name += Pick(style.Onsets, random_);
    for (int i = 0; i < vowels; ++i) {
      if (i > 0) name += Pick(style.Medials, random_);
      if (i == vowels - 1 && random_.RandomInt(2) == 0) {
        name += Pick(style.Endings, random_);
        break;
      }
      name += Pick(style.Vowels, random_);
      if (i == vowels - 1) name += Pick(style.Codas, random_);
    }
  }
  name[0] = static_cast<char>(name[0] - 'a' + 'A');
  return name;
}

}  // namespace mireforge
