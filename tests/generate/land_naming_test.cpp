// Naming the land: realms cover the inside, each in one piece; features, sites
// and realms have names of their own; the same inputs give the same names.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "generate/cevo.h"
#include "generate/land_naming.h"
#include "generate/plasma.h"
#include "model/map_regions.h"
#include "model/terrain.h"
#include "support/error_of.h"
#include "support/test_maps.h"

namespace mireforge {
namespace {

struct Named {
  MapGrid Map;
  DescriptionList Descriptions;
  DomainTable Domains;
  LandNamingResult Result;
};

Named NameMap(MapGrid map, LandNamingOptions options = {}) {
  Named named{std::move(map), {}, {}, {}};
  BuildDefaultDescriptions(named.Descriptions, named.Map);
  named.Result = NameTheLand(named.Map, named.Descriptions, named.Domains, options);
  return named;
}

bool Inside(const MapGrid& map, int x, int y) { return x > 0 && y > 0 && x < map.Width - 1 && y < map.Height - 1; }

bool IsSiteCode(int code) {
  return code != Plains && code != Forest && code != Downs && code != Mountains && code != Lake &&
         code != FrozenWastes && code != NoTerrain;
}

// Everything the naming promises of a map named afresh with `wanted` realms.
void ExpectWellNamed(const Named& n, int wanted, double largestToSmallest) {
  const MapGrid& map = n.Map;
  const auto text = [&](int x, int y) -> const DescText& { return n.Descriptions.CellDescription(x, y, map.Width)->Text; };
  const auto domain = [&](int x, int y) { return n.Descriptions.CellDescription(x, y, map.Width)->Domain; };
  const int inside = std::max(map.Width - 2, 0) * std::max(map.Height - 2, 0);
  EXPECT_EQ(n.Result.Realms, std::min(wanted, inside));

  std::map<int, int> realmSize;
  std::map<std::string, std::set<std::pair<int, int>>> cellsOfText;  // features and sites
  for (int y = 0; y < map.Height; ++y)
    for (int x = 0; x < map.Width; ++x) {
      const int code = map.GetTerrain(x, y);
      const std::string_view t = text(x, y);
      ASSERT_LE(t.size(), 2047u);
      if (!Inside(map, x, y)) {
        EXPECT_EQ(domain(x, y), 0);
        EXPECT_EQ(t, TerrainNames[code]);
        continue;
      }
      ASSERT_TRUE(n.Domains.Defined(domain(x, y))) << x << "," << y;
      ASSERT_GE(domain(x, y), 1);
      ++realmSize[domain(x, y)];
      std::string head(TerrainNames[code]);
      head[0] = static_cast<char>(head[0] - 'a' + 'A');
      ASSERT_EQ(t.substr(0, head.size() + 4), head + " of ") << t;
      const std::string name(t.substr(head.size() + 4));
      if (code == Plains || code == FrozenWastes || code == NoTerrain)
        EXPECT_EQ(name, n.Domains.Name(domain(x, y)));
      else
        cellsOfText[std::string(t)].insert({x, y});
    }

  // Realms: as many as asked for, each one 4-connected piece, in slots 1 up.
  ASSERT_EQ(static_cast<int>(realmSize.size()), n.Result.Realms);
  std::set<std::string> realmNames;
  std::set<std::int32_t> colors;
  for (int slot = 1; slot < DomainCount; ++slot) {
    EXPECT_EQ(n.Domains.Defined(slot), slot <= n.Result.Realms) << slot;
    if (!n.Domains.Defined(slot)) continue;
    realmNames.insert(n.Domains.Name(slot));
    colors.insert(n.Domains.Color(slot));
    EXPECT_NE(n.Domains.Color(slot), NoColor);
  }
  EXPECT_EQ(static_cast<int>(realmNames.size()), n.Result.Realms);
  EXPECT_EQ(static_cast<int>(colors.size()), n.Result.Realms);
  for (auto [slot, size] : realmSize) {
    int fx = -1, fy = -1;
    for (int i = 0; fx < 0; ++i)
      if (domain(i % map.Width, i / map.Width) == slot && Inside(map, i % map.Width, i / map.Width))
        fx = i % map.Width, fy = i / map.Width;
    const auto region = FloodRegion(map.Width, map.Height, fx, fy,
                                    [&](int x, int y) { return Inside(map, x, y) && domain(x, y) == slot; });
    EXPECT_EQ(static_cast<int>(region.size()), size) << "realm " << slot << " is in pieces";
  }
  if (!realmSize.empty()) {
    const auto [smallest, largest] = std::minmax_element(realmSize.begin(), realmSize.end(),
                                                         [](auto& a, auto& b) { return a.second < b.second; });
    EXPECT_LE(largest->second, largestToSmallest * smallest->second) << largest->second << " / " << smallest->second;
  }

  // Places: a feature's text covers exactly its 4-connected region; a site's text one cell.
  int features = 0, sites = 0;
  std::set<std::string> placeNames;
  for (const auto& [t, cells] : cellsOfText) {
    const auto [x, y] = *cells.begin();
    const int code = map.GetTerrain(x, y);
    placeNames.insert(t.substr(t.find(" of ") + 4));
    EXPECT_FALSE(realmNames.count(t.substr(t.find(" of ") + 4))) << t;
    if (IsSiteCode(code)) {
      ++sites;
      EXPECT_EQ(cells.size(), 1u) << t;
      continue;
    }
    ++features;
    const auto region = FloodRegion(map.Width, map.Height, x, y,
                                    [&](int cx, int cy) { return Inside(map, cx, cy) && map.GetTerrain(cx, cy) == code; });
    EXPECT_EQ(region.size(), cells.size()) << t;
  }
  EXPECT_EQ(features, n.Result.Features);
  EXPECT_EQ(sites, n.Result.Sites);
  EXPECT_EQ(placeNames.size(), cellsOfText.size()) << "two places share a name";
}

TEST(NameTheLand, RealmsCoverTheInsideInOnePieceEachAndEveryPlaceHasItsOwnName) {
  GeneratorSettings rare;  // plasma defaults: rare terrain on, 500 cells
  GeneratorSettings cevo = DefaultsWithoutRare();
  cevo.CreateRare = true;
  struct Case {
    const char* Name;
    MapGrid Map;
    int Domains;
    double Spread;  // largest realm over smallest
  };
  const Case cases[] = {
      {"plasma 66x63", RunGenerator(GeneratePlasma, 66, 63, rare, 7), 12, 3.0},
      {"cEvo 160x120", RunGenerator(GenerateCEvo, 160, 120, cevo, 3), 12, 3.0},
      {"plasma 300x200, 255 realms", RunGenerator(GeneratePlasma, 300, 200, rare, 11), 255, 6.0},
      {"plasma 512x512", RunGenerator(GeneratePlasma, 512, 512, rare, 2), 12, 3.0},
      {"1 x 1", FramedMap(1, 1, Plains), 12, 1.0},
      {"2 x 9", FramedMap(2, 9, Plains), 12, 1.0},
      {"3 x 3: one inside cell", FramedMap(3, 3, Village), 12, 1.0},
      {"only frozen wastes", FramedMap(40, 30, FrozenWastes), 5, 4.0},
      {"one row of sites", FramedMap(30, 3, Citadel), 200, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    LandNamingOptions options;
    options.Domains = c.Domains;
    options.Seed = 42;
    ExpectWellNamed(NameMap(c.Map, options), c.Domains, c.Spread);
  }
}

TEST(NameTheLand, SameInputsGiveTheSameNamesAndAnotherSeedOthers) {
  const MapGrid map = RunGenerator(GeneratePlasma, 80, 60, GeneratorSettings{}, 5);
  for (NameStyle style : {NameStyle::Midnight, NameStyle::Elvish, NameStyle::Dwarvish, NameStyle::English}) {
    SCOPED_TRACE(static_cast<int>(style));
    LandNamingOptions options;
    options.Style = style;
    options.Seed = -17;
    const Named a = NameMap(map, options), b = NameMap(map, options);
    options.Seed = -16;
    const Named other = NameMap(map, options);
    int differentTexts = 0, differentDomains = 0;
    for (std::size_t i = 0; i < map.Cells.size(); ++i) {
      EXPECT_EQ(a.Descriptions.Entry(i).Text, b.Descriptions.Entry(i).Text);
      EXPECT_EQ(a.Descriptions.Entry(i).Domain, b.Descriptions.Entry(i).Domain);
      differentTexts += a.Descriptions.Entry(i).Text != other.Descriptions.Entry(i).Text;
      differentDomains += a.Descriptions.Entry(i).Domain != other.Descriptions.Entry(i).Domain;
    }
    for (int slot = 0; slot < DomainCount; ++slot) {
      EXPECT_EQ(a.Domains.Name(slot), b.Domains.Name(slot));
      EXPECT_EQ(a.Domains.Color(slot), b.Domains.Color(slot));
    }
    EXPECT_GT(differentTexts, 4000);  // of 4,524 inside cells
    EXPECT_GT(differentDomains, 0);
    EXPECT_NE(a.Domains.Name(1), other.Domains.Name(1));
  }
}

TEST(NameTheLand, KeepLeavesWhatTheUserWroteAndNamesTheRest) {
  MapGrid map = FramedMap(30, 20, Plains);
  for (int y = 5; y < 9; ++y)
    for (int x = 5; x < 12; ++x) map.Cells[x + y * 30] = Forest;
  map.Cells[20 + 10 * 30] = Tower;
  Named n{map, {}, {}, {}};
  BuildDefaultDescriptions(n.Descriptions, map);
  const auto cell = [&](int x, int y) { return n.Descriptions.CellDescription(x, y, 30); };
  cell(5, 5)->Text = "The old wood";           // a typed description in a forest
  cell(20, 10)->Text = "Watch of the north";   // and on a site
  for (int x = 1; x < 29; ++x) cell(x, 1)->Domain = 3;  // a domain painted along the top
  cell(2, 2)->Domain = 200;                    // in use, though unnamed
  cell(0, 0)->Text = "Corner";                 // on the ring
  n.Domains.Slots[3] = {0x00FF00, "Thrennor"};
  n.Domains.Slots[7] = {0x0000FF, "Aldmere"};  // named, no cells
  LandNamingOptions options;
  options.Keep = true;
  options.Domains = 4;
  options.Names = {"Aldmere", "Thrennor", "Vale"};
  n.Result = NameTheLand(n.Map, n.Descriptions, n.Domains, options);

  EXPECT_EQ(cell(5, 5)->Text, "The old wood");
  EXPECT_EQ(cell(20, 10)->Text, "Watch of the north");
  EXPECT_EQ(cell(0, 0)->Text, "Corner");
  EXPECT_EQ(cell(6, 5)->Text.View().substr(0, 10), "Forest of ");
  EXPECT_EQ(cell(3, 1)->Text, "Plains of Thrennor");
  EXPECT_EQ(cell(2, 2)->Domain, 200);
  EXPECT_EQ(cell(2, 2)->Text, "plains");  // its domain has no name to give
  EXPECT_EQ(n.Domains.Name(3), "Thrennor");
  EXPECT_EQ(n.Domains.Name(7), "Aldmere");
  // New realms take the free slots 1, 2, 4 and 5; the list's names already used are skipped.
  EXPECT_EQ(n.Result.Realms, 4);
  std::set<std::string> names;
  for (int slot : {1, 2, 4, 5}) {
    EXPECT_TRUE(n.Domains.Defined(slot)) << slot;
    names.insert(n.Domains.Name(slot));
    EXPECT_NE(n.Domains.Color(slot), 0x00FF00);
    EXPECT_NE(n.Domains.Color(slot), 0x0000FF);
  }
  EXPECT_EQ(names.size(), 4u);
  EXPECT_TRUE(names.count("Vale"));
  EXPECT_FALSE(names.count("Aldmere") || names.count("Thrennor"));
  for (int y = 2; y < 19; ++y)
    for (int x = 1; x < 29; ++x)
      if (x != 2 || y != 2) {
        EXPECT_TRUE(n.Domains.Defined(cell(x, y)->Domain)) << x << "," << y;
      }
}

TEST(NameTheLand, RealmsWalledInByKeptDomainsStillCoverEveryPocket) {
  // A kept domain down the middle column cuts the inside in two; one realm asked for.
  MapGrid map = FramedMap(21, 9, Plains);
  DescriptionList descriptions;
  BuildDefaultDescriptions(descriptions, map);
  DomainTable domains;
  domains.Slots[9] = {0x123456, "Wall"};
  for (int y = 1; y < 8; ++y) descriptions.CellDescription(10, y, 21)->Domain = 9;
  LandNamingOptions options;
  options.Keep = true;
  options.Domains = 1;
  NameTheLand(map, descriptions, domains, options);
  for (int y = 1; y < 8; ++y)
    for (int x = 1; x < 20; ++x) EXPECT_TRUE(domains.Defined(descriptions.CellDescription(x, y, 21)->Domain));
}

TEST(NameGenerator, NamesAreUniqueSpeakableAndTheListComesFirst) {
  for (NameStyle style : {NameStyle::Midnight, NameStyle::Elvish, NameStyle::Dwarvish, NameStyle::English}) {
    SCOPED_TRACE(static_cast<int>(style));
    NameGenerator generator(1, style, ParseNameList("Luxor\nMorkin\nluxor\n"));
    std::set<std::string> firstTwo = {generator.Next(), generator.Next()};
    EXPECT_EQ(firstTwo, (std::set<std::string>{"Luxor", "Morkin"}));
    std::set<std::string> lower;
    for (int i = 0; i < 30000; ++i) {
      const std::string name = generator.Next();
      ASSERT_GE(name.size(), 3u);
      ASSERT_LE(name.size(), 40u) << name;
      ASSERT_TRUE(name[0] >= 'A' && name[0] <= 'Z') << name;
      ASSERT_TRUE(std::all_of(name.begin() + 1, name.end(), [](char c) { return c >= 'a' && c <= 'z'; })) << name;
      // No run of four consonants or of four vowels: every syllable name can be said.
      int consonants = 0, vowels = 0;
      for (char c : name) {
        const bool vowel = std::string_view("aeiouAEIOU").find(c) != std::string_view::npos;
        consonants = vowel ? 0 : consonants + 1;
        vowels = vowel ? vowels + 1 : 0;
        if (style != NameStyle::English) {
          ASSERT_LE(consonants, 3) << name;
        }
        ASSERT_LE(vowels, 3) << name;
      }
      std::string key = name;
      for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      ASSERT_TRUE(lower.insert(key).second) << name;
      ASSERT_NE(key, "luxor");
    }
  }
}

TEST(NameGenerator, ListFilesAreReadOneNameALine) {
  EXPECT_EQ(ParseNameList("\xEF\xBB\xBF" "Aldmere\r\n  Vale of Tears \r\n\r\n\tthrennor\nALDMERE\nLast"),
            (std::vector<std::string>{"Aldmere", "Vale of Tears", "threnn" "or", "Last"}));
  EXPECT_TRUE(ParseNameList("").empty());
  EXPECT_EQ(ErrorOf([] { ParseNameList("a\nb\n" + std::string(2001, 'x') + "\n"); }),
            "Line 3 of the name list is longer than 2000 characters");
  // The longest name allowed still fits a project file's description.
  EXPECT_LE(PlaceDescription(FrozenWastes, std::string(MaxPlaceNameLength, 'x')).size(), 2047u);
  EXPECT_EQ(PlaceDescription(Mountains, "Thrennor"), "Mountains of Thrennor");
}

}  // namespace
}  // namespace mireforge
