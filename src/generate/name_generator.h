#pragma once
// Seeded names for realms and places: syllable tables of our own in several
// styles, optionally preceded by names the user lists. Every name handed out is
// unique (case ignored), and the same seed, style and list give the same names.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "model/random_source.h"

namespace mireforge {

enum class NameStyle { Midnight, Elvish, Dwarvish, English };

// "midnight", "elvish", "dwarvish", "english": the style names that the
// command-line tool and the editor offer, in NameStyle order.
inline constexpr std::string_view NameStyleNames[] = {"midnight", "elvish", "dwarvish", "english"};

// The longest name a list may hold, so that "Frozen wastes of " and the name
// stay within the 2,047 characters a project file keeps of a description.
inline constexpr std::size_t MaxPlaceNameLength = 2000;

// One name a line; blank lines are skipped, blanks around a name and a UTF-8
// byte-order mark dropped, repeats (case ignored) kept once. Error for a name
// longer than MaxPlaceNameLength.
std::vector<std::string> ParseNameList(std::string_view text);

class NameGenerator {
 public:
  // The list's names come first, in an order the seed shuffles.
  NameGenerator(std::int32_t seed, NameStyle style, std::vector<std::string> list = {});

  // A name not handed out or reserved before.
  std::string Next();
  // Keeps a name the map already uses from being handed out.
  void Reserve(std::string_view name);

 private:
  std::string Compose(int extraSyllables);
  bool Claim(const std::string& name);

  RandomSource random_;
  NameStyle style_;
  std::vector<std::string> list_;
  std::size_t listNext_ = 0;
  std::unordered_set<std::string> used_;  // lower case
};

}  // namespace mireforge
