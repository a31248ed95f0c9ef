#include "generate/land_naming.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <unordered_set>

#include "model/random_source.h"
#include "model/terrain.h"

namespace mireforge {

namespace {

// What entering a cell costs a growing realm: mountains and lakes make borders.
constexpr std::array<std::uint32_t, TerrainCount> EntryCost = {
    2,   // plains
    2,   // citadel
    3,   // forest
    2,   // henge
    2,   // tower
    2,   // village
    3,   // downs
    2,   // keep
    3,   // snowhall
    16,  // lake
    8,   // frozen wastes
    2,   // ruin
    2,   // lith
    3,   // cavern
    12,  // mountains
    4,   // none
};
constexpr std::uint32_t MinWeight = 4, StartWeight = 16, MaxWeight = 64;
// Dial's bucket queue: a ring of buckets longer than the dearest step.
constexpr std::uint32_t BucketCount = 2048;
static_assert(BucketCount > 16 * MaxWeight);
constexpr int BalanceRounds = 3;
constexpr int BalanceSize = 128;
constexpr int SeedCandidates = 10;
constexpr std::uint32_t Unreached = std::numeric_limits<std::uint32_t>::max();

bool IsFeature(int code) { return code == Forest || code == Downs || code == Mountains || code == Lake; }
bool IsSite(int code) {
  return code == Citadel || code == Keep || code == Tower || code == Village || code == Henge || code == Lith ||
         code == Ruin || code == Cavern || code == Snowhall;
}

struct Grid {
  int Width, Height;
  bool Inside(int x, int y) const { return x > 0 && y > 0 && x < Width - 1 && y < Height - 1; }
};

// Seeds spread apart: the best of a few random free cells, farthest from the seeds so far.
std::vector<std::uint32_t> PlaceSeeds(const MapGrid& map, const std::vector<std::uint32_t>& freeCells, int count,
                                      RandomSource& random) {
  std::vector<std::uint32_t> seeds;
  std::unordered_set<std::uint32_t> taken;
  const auto distance = [&](std::uint32_t cell) {
    const long long x = cell % map.Width, y = cell / map.Width;
    long long nearest = std::numeric_limits<long long>::max();
    for (std::uint32_t seed : seeds) {
      const long long dx = x - seed % map.Width, dy = y - seed / map.Width;
      nearest = std::min(nearest, dx * dx + dy * dy);
    }
    // A seed on dear ground makes a cramped realm.
    return EntryCost[map.TerrainAt(cell)] > 3 ? nearest / 4 : nearest;
  };
  for (int k = 0; k < count; ++k) {
    std::uint32_t best = 0;
    long long bestScore = -1;
    for (int c = 0; c < SeedCandidates; ++c) {
      const std::uint32_t cell = freeCells[random.RandomInt(static_cast<std::uint32_t>(freeCells.size()))];
      if (taken.count(cell)) continue;
      const long long score = distance(cell);
      if (score > bestScore) bestScore = score, best = cell;
    }
    if (bestScore < 0) {  // every draw hit a seed: the next free cell that is none
      std::size_t i = random.RandomInt(static_cast<std::uint32_t>(freeCells.size()));
      while (taken.count(freeCells[i])) i = (i + 1) % freeCells.size();
      best = freeCells[i];
    }
    taken.insert(best);
    seeds.push_back(best);
  }
  return seeds;
}

// What a growing realm pays to enter each cell; 0 where no realm may go. Every
// cell a realm may enter has its four neighbours on the grid.
struct CostGrid {
  int Width = 0;
  std::vector<std::uint8_t> Cost;
};

// The grid shrunk by `factor` each way, for trying out weights cheaply: a block
// costs the mean of its open cells; a frame of closed cells goes round it.
CostGrid Coarsen(const CostGrid& fine, int height, int factor) {
  const int blocksAcross = (fine.Width + factor - 1) / factor, blocksDown = (height + factor - 1) / factor;
  CostGrid coarse{blocksAcross + 2, {}};
  coarse.Cost.assign(static_cast<std::size_t>(coarse.Width) * (blocksDown + 2), 0);
  std::vector<std::uint32_t> sum(coarse.Cost.size(), 0), open(coarse.Cost.size(), 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < fine.Width; ++x)
      if (const std::uint8_t cost = fine.Cost[static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * fine.Width]) {
        const std::size_t block = static_cast<std::size_t>(x / factor + 1) + static_cast<std::size_t>(y / factor + 1) * coarse.Width;
        sum[block] += cost;
        ++open[block];
      }
  for (std::size_t i = 0; i < coarse.Cost.size(); ++i)
    if (open[i]) coarse.Cost[i] = static_cast<std::uint8_t>((sum[i] + open[i] / 2) / open[i]);
  return coarse;
}

// Grows the realms from their seeds, cheapest path first (Dial's buckets). Each
// cell joins the realm of the cell it was reached from, so every realm is one
// 4-connected region. A realm's weight scales what its steps cost.
class RealmGrowth {
 public:
  explicit RealmGrowth(const CostGrid& grid)
      : owner(grid.Cost.size(), -1), grid_(grid), distance_(grid.Cost.size(), Unreached) {}

  void Grow(const std::vector<std::uint32_t>& seeds, const std::vector<std::uint32_t>& weights) {
    std::fill(owner.begin(), owner.end(), -1);
    std::fill(distance_.begin(), distance_.end(), Unreached);
    std::size_t pending = 0;
    for (std::size_t i = 0; i < seeds.size(); ++i) {
      distance_[seeds[i]] = 0;
      owner[seeds[i]] = static_cast<std::int16_t>(i);
      buckets_[0].push_back(seeds[i]);
      ++pending;
    }
    const std::int64_t width = grid_.Width, one = 1;
    for (std::uint32_t d = 0; pending > 0; ++d) {
      std::vector<std::uint32_t>& bucket = buckets_[d % BucketCount];
      while (!bucket.empty()) {
        const std::uint32_t cell = bucket.back();
        bucket.pop_back();
        --pending;
        if (distance_[cell] != d) continue;  // reached more cheaply since
        const std::int16_t realm = owner[cell];
        const std::uint32_t weight = weights[static_cast<std::size_t>(realm)];
        for (const std::int64_t step : {-width, -one, one, width}) {
          const auto next = static_cast<std::uint32_t>(cell + step);
          const std::uint32_t cost = grid_.Cost[next];
          if (!cost) continue;
          const std::uint32_t reach = d + cost * weight;
          if (reach >= distance_[next]) continue;
          distance_[next] = reach;
          owner[next] = realm;
          buckets_[reach % BucketCount].push_back(next);
          ++pending;
        }
      }
    }
  }

  std::vector<std::int16_t> owner;  // realm index of each cell, -1 when not reached

 private:
  const CostGrid& grid_;
  std::vector<std::uint32_t> distance_;
  std::array<std::vector<std::uint32_t>, BucketCount> buckets_;
};

// Cells not reached from any seed (pockets walled off by kept domains) join a
// neighbouring domain, spreading breadth first from every assigned cell.
void FillPockets(const Grid& grid, const std::vector<std::uint8_t>& free, std::vector<std::int32_t>& domainOf) {
  std::vector<std::uint32_t> queue;
  for (std::uint32_t i = 0; i < domainOf.size(); ++i)
    if (domainOf[i] >= 0) queue.push_back(i);
  for (std::size_t head = 0; head < queue.size(); ++head) {
    const std::uint32_t cell = queue[head];
    const int x = static_cast<int>(cell % grid.Width), y = static_cast<int>(cell / grid.Width);
    const std::array<std::pair<int, int>, 4> around = {{{x, y - 1}, {x - 1, y}, {x + 1, y}, {x, y + 1}}};
    for (auto [nx, ny] : around) {
      if (!grid.Inside(nx, ny)) continue;
      const std::uint32_t next = static_cast<std::uint32_t>(nx + ny * grid.Width);
      if (!free[next] || domainOf[next] >= 0) continue;
      domainOf[next] = domainOf[cell];
      queue.push_back(next);
    }
  }
}

// Distinct colours around the hue circle (golden-angle steps), in three
// brightnesses and two saturations, none equal to a colour already in use.
std::int32_t RealmColor(int k, int startHue, std::unordered_set<std::int32_t>& used) {
  const int hue = (startHue + k * 137) % 360;
  const int value = 240 - 50 * ((k / 2) % 3);
  const int saturation = k % 2 == 0 ? 170 : 110;  // of 255
  const int chroma = value * saturation / 255;
  const int low = value - chroma;
  const int sector = hue / 60, within = hue % 60;
  const int rising = low + chroma * within / 60, falling = value - chroma * within / 60;
  int r = 0, g = 0, b = 0;
  switch (sector) {
    case 0: r = value, g = rising, b = low; break;
    case 1: r = falling, g = value, b = low; break;
    case 2: r = low, g = value, b = rising; break;
    case 3: r = low, g = falling, b = value; break;
    case 4: r = rising, g = low, b = value; break;
    default: r = value, g = low, b = falling; break;
  }
  std::int32_t color = r | g << 8 | b << 16;
  while (used.count(color)) color = (color + 1) & 0xFFFFFF;
  used.insert(color);
  return color;
}

std::vector<std::uint32_t> BalancedWeights(const std::vector<std::int16_t>& owner, const std::vector<std::uint32_t>& weights) {
  std::vector<std::int64_t> size(weights.size(), 0);
  std::int64_t reached = 0;
  for (std::int16_t realm : owner)
    if (realm >= 0) ++size[static_cast<std::size_t>(realm)], ++reached;
  const std::int64_t count = static_cast<std::int64_t>(weights.size());
  std::vector<std::uint32_t> next(weights.size());
  // A realm twice its share steps half again as dearly next round, and so on.
  for (std::size_t i = 0; i < weights.size(); ++i) {
    const std::int64_t scaled = weights[i] * (size[i] * count + reached) / (2 * reached);
    next[i] = static_cast<std::uint32_t>(std::clamp<std::int64_t>(scaled, MinWeight, MaxWeight));
  }
  return next;
}

}  // namespace

std::string PlaceDescription(int terrain, std::string_view name) {
  const std::string_view terrainName = TerrainNames[TerrainOf(terrain)];
  std::string text;
  text.reserve(terrainName.size() + 4 + name.size());
  text += terrainName;
  text[0] = static_cast<char>(text[0] - 'a' + 'A');
  text += " of ";
  text += name;
  return text;
}

LandNamingResult NameTheLand(const MapGrid& map, DescriptionList& descriptions, DomainTable& domains,
                             const LandNamingOptions& options) {
  const std::size_t cellCount = map.Cells.size();
  if (descriptions.Size() != cellCount || descriptions.DescriptionNodes.size() != cellCount)
    BuildDefaultDescriptions(descriptions, map);
  const Grid grid{map.Width, map.Height};
  const auto item = [&](std::size_t i) -> TDescItem& { return descriptions.Entry(descriptions.DescriptionNodes[i]); };
  const auto terrainAt = [&](std::size_t i) { return map.TerrainAt(i); };

  // Free cells: the inside, less (when keeping) the cells the user gave a domain.
  std::vector<std::uint8_t> free(cellCount, 0);
  std::vector<std::uint32_t> freeCells;
  std::array<bool, DomainCount> slotInUse{};
  for (int y = 0; y < grid.Height; ++y)
    for (int x = 0; x < grid.Width; ++x) {
      const std::size_t i = static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * grid.Width;
      const std::int32_t domain = options.Keep ? item(i).Domain : 0;
      if (options.Keep && DomainTable::ValidNumber(domain)) slotInUse[static_cast<std::size_t>(domain)] = true;
      if (grid.Inside(x, y) && (!options.Keep || domain == 0)) {
        free[i] = 1;
        freeCells.push_back(static_cast<std::uint32_t>(i));
      }
    }

  // Realm slots: 1 up, skipping (when keeping) the named ones and those in use.
  std::vector<int> slots;
  for (int slot = 1; slot < DomainCount; ++slot)
    if (!options.Keep || (!domains.Defined(slot) && !slotInUse[static_cast<std::size_t>(slot)])) slots.push_back(slot);
  const int realmCount = static_cast<int>(
      std::min<std::size_t>({static_cast<std::size_t>(std::clamp(options.Domains, 1, MaxRealmCount)), slots.size(),
                             freeCells.size()}));
  slots.resize(static_cast<std::size_t>(realmCount));

  RandomSource random;
  random.RandomSeed = options.Seed;
  std::vector<std::int32_t> domainOf(cellCount, -1);
  if (options.Keep)
    for (std::size_t i = 0; i < cellCount; ++i)
      if (!free[i] && DomainTable::ValidNumber(item(i).Domain) &&
          grid.Inside(static_cast<int>(i % grid.Width), static_cast<int>(i / grid.Width)))
        domainOf[i] = item(i).Domain;
  if (realmCount > 0) {
    const std::vector<std::uint32_t> seeds = PlaceSeeds(map, freeCells, realmCount, random);
    CostGrid costs{grid.Width, std::vector<std::uint8_t>(cellCount, 0)};
    for (std::uint32_t cell : freeCells) costs.Cost[cell] = static_cast<std::uint8_t>(EntryCost[terrainAt(cell)]);
    // Weights are balanced on a grid of at most about 128 x 128 blocks, then used once on the map.
    const int factor = std::max(1, std::max(grid.Width, grid.Height) / BalanceSize);
    const CostGrid coarse = factor > 1 ? Coarsen(costs, grid.Height, factor) : CostGrid{};
    std::vector<std::uint32_t> balanceSeeds = seeds;
    if (factor > 1)
      for (std::uint32_t& seed : balanceSeeds)
        seed = static_cast<std::uint32_t>((seed % grid.Width) / factor + 1 + ((seed / grid.Width) / factor + 1) * coarse.Width);
    RealmGrowth balance(factor > 1 ? coarse : costs);
    std::vector<std::uint32_t> weights(seeds.size(), StartWeight);
    for (int round = 0; round < BalanceRounds; ++round) {
      balance.Grow(balanceSeeds, weights);
      weights = BalancedWeights(balance.owner, weights);
    }
    RealmGrowth growth(costs);
    growth.Grow(seeds, weights);
    bool pockets = false;
    for (std::uint32_t cell : freeCells) {
      if (growth.owner[cell] >= 0) domainOf[cell] = slots[static_cast<std::size_t>(growth.owner[cell])];
      else pockets = true;
    }
    if (pockets) FillPockets(grid, free, domainOf);
  } else if (!freeCells.empty()) {
    FillPockets(grid, free, domainOf);
  }

  // The domain table: realms in their slots; without keeping, nothing else above 0.
  NameGenerator names(static_cast<std::int32_t>(static_cast<std::uint32_t>(options.Seed) ^ 0x9E3779B9u), options.Style,
                      options.Names);
  std::unordered_set<std::int32_t> colorsInUse = {NoColor, domains.Color(0)};
  if (options.Keep)
    for (int slot = 1; slot < DomainCount; ++slot)
      if (domains.Defined(slot) || slotInUse[static_cast<std::size_t>(slot)]) {
        names.Reserve(domains.Name(slot));
        colorsInUse.insert(domains.Color(slot));
      }
  if (!options.Keep)
    for (int slot = 1; slot < DomainCount; ++slot) domains.Slots[static_cast<std::size_t>(slot)] = {NoColor, {}};
  const int startHue = static_cast<int>(random.RandomInt(360));
  for (int k = 0; k < realmCount; ++k) {
    DomainSlot& slot = domains.Slots[static_cast<std::size_t>(slots[static_cast<std::size_t>(k)])];
    slot.Name = names.Next();
    slot.Color = RealmColor(k, startHue, colorsInUse);
  }

  // Places: each region of one feature terrain, each site cell, in index order.
  LandNamingResult result;
  result.Realms = realmCount;
  std::vector<std::int32_t> placeOf(cellCount, -1);
  std::vector<DescText> placeText;
  std::vector<std::uint32_t> stack;
  for (std::size_t start = 0; start < cellCount; ++start) {
    const int code = terrainAt(start);
    const int sx = static_cast<int>(start % grid.Width), sy = static_cast<int>(start / grid.Width);
    if (placeOf[start] >= 0 || !grid.Inside(sx, sy) || !(IsFeature(code) || IsSite(code))) continue;
    const auto place = static_cast<std::int32_t>(placeText.size());
    placeText.push_back(PlaceDescription(code, names.Next()));
    placeOf[start] = place;
    if (IsSite(code)) {
      ++result.Sites;
      continue;
    }
    ++result.Features;
    stack.assign(1, static_cast<std::uint32_t>(start));
    while (!stack.empty()) {
      const std::uint32_t cell = stack.back();
      stack.pop_back();
      const int x = static_cast<int>(cell % grid.Width), y = static_cast<int>(cell / grid.Width);
      const std::array<std::pair<int, int>, 4> around = {{{x, y - 1}, {x - 1, y}, {x + 1, y}, {x, y + 1}}};
      for (auto [nx, ny] : around) {
        if (!grid.Inside(nx, ny)) continue;
        const std::uint32_t next = static_cast<std::uint32_t>(nx + ny * grid.Width);
        if (placeOf[next] >= 0 || terrainAt(next) != code) continue;
        placeOf[next] = place;
        stack.push_back(next);
      }
    }
  }

  // The descriptions. Cells named after their realm share one text per terrain and realm.
  std::vector<DescText> realmText(static_cast<std::size_t>(TerrainCount) * DomainCount);
  for (std::size_t i = 0; i < cellCount; ++i) {
    TDescItem& cell = item(i);
    const int code = terrainAt(i);
    if (!grid.Inside(static_cast<int>(i % grid.Width), static_cast<int>(i / grid.Width))) {
      if (!options.Keep) cell.Text = DefaultDescription(code), cell.Domain = 0;
      continue;
    }
    if (free[i]) cell.Domain = std::max(domainOf[i], 0);
    if (options.Keep && cell.Text != TerrainNames[static_cast<std::size_t>(code)]) continue;
    if (placeOf[i] >= 0) {
      cell.Text = placeText[static_cast<std::size_t>(placeOf[i])];
    } else if (domains.Defined(cell.Domain)) {
      DescText& text = realmText[static_cast<std::size_t>(code) * DomainCount + static_cast<std::size_t>(cell.Domain)];
      if (text.empty()) text = PlaceDescription(code, domains.Name(cell.Domain));
      cell.Text = text;
    } else {
      cell.Text = DefaultDescription(code);
    }
  }
  return result;
}

}  // namespace mireforge
