#pragma once
// Naming the land: the map's inside is divided into realms (domains grown from
// seeds set apart, each one connected), every forest, downs, mountain range and
// lake gets a name, every site (citadel, keep, tower, village, henge, lith,
// ruin, cavern, snowhall) its own, and everything else its realm's name.
// Descriptions read "<Terrain> of <Name>", as in "Forest of Thrennor".
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "generate/name_generator.h"
#include "model/descriptions.h"
#include "model/domains.h"
#include "model/map_grid.h"

namespace mireforge {

inline constexpr int DefaultRealmCount = 12;
inline constexpr int MaxRealmCount = DomainCount - 1;  // domain 0 stays "no realm"

struct LandNamingOptions {
  int Domains = DefaultRealmCount;  // realms wanted, 1 to 255
  std::int32_t Seed = 0;
  NameStyle Style = NameStyle::Midnight;
  std::vector<std::string> Names;   // taken first
  // Keep what the user wrote: cells whose description is no longer their
  // terrain's name keep it, cells with a domain other than 0 keep it, and the
  // domains already named or in use keep their slots; new realms take free ones.
  // Without it every description and domain is written afresh.
  bool Keep = false;
};

struct LandNamingResult {
  int Realms = 0;    // realms created
  int Features = 0;  // named regions of forest, downs, mountains and lake
  int Sites = 0;     // named site cells
};

// The description of a named cell: "Forest of Thrennor".
std::string PlaceDescription(int terrain, std::string_view name);

// Names the map. The border ring is no realm's: it keeps domain 0 and, unless
// kept, its terrain's name. A map without inside (narrower or lower than 3)
// is left as it is. The description list is built first when it does not match
// the map. The same map, options and list always give the same result.
LandNamingResult NameTheLand(const MapGrid& map, DescriptionList& descriptions, DomainTable& domains,
                             const LandNamingOptions& options);

}  // namespace mireforge
