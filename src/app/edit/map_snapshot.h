#pragma once
// A compact copy of the map and its descriptions, for undoing edits that
// rewrite the whole map (Fill, blank map, a resize). The terrain is kept as
// bytes, descriptions only where they differ from what a freshly built list
// would hold, and both are shared with the snapshot taken just before when
// they did not change since (the "after" of one step is the "before" of the next).
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/desc_text.h"
#include "model/map_grid.h"

namespace mireforge {

struct Project;

struct MapSnapshot {
  static MapSnapshot Take(const Project& project, bool mapPresent, const QString& origin);
  // Puts map, descriptions and TerrainRows back; the domain table is not part of it.
  void Restore(Project& project) const;
  // The memory it holds, parts shared with other snapshots counted by share.
  std::size_t MemoryBytes() const;

  struct Descriptions {
    std::vector<std::pair<std::uint32_t, DescText>> texts;     // entries whose text is not the terrain name
    std::vector<std::pair<std::uint32_t, std::int32_t>> domains;  // entries whose domain is not 0
    std::vector<std::pair<std::uint32_t, std::int32_t>> terrains; // entries created with another terrain
    std::size_t bytes = 0;  // their memory, counted once when taken
    bool operator==(const Descriptions& other) const {
      return texts == other.texts && domains == other.domains && terrains == other.terrains;
    }
  };

  bool mapPresent = false;
  QString origin;
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  bool hasDescriptions = false;
  std::shared_ptr<const std::vector<TerrainCode>> cells;
  std::shared_ptr<const Descriptions> descriptions;
};

}  // namespace mireforge
