#pragma once
// A compact copy of the map and its descriptions, for undoing edits that
// rewrite the whole map (Fill, blank map). Descriptions are stored only where
// they differ from what a freshly built list would hold.
#include <QString>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/map_grid.h"

namespace mireforge {

struct Project;

struct MapSnapshot {
  static MapSnapshot Take(const Project& project, bool mapPresent, const QString& origin);
  // Puts map, descriptions and TerrainRows back; the domain table is not part of it.
  void Restore(Project& project) const;

  bool mapPresent = false;
  QString origin;
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::vector<TerrainCode> cells;
  bool hasDescriptions = false;
  std::vector<std::pair<std::uint32_t, std::string>> texts;     // entries whose text is not the terrain name
  std::vector<std::pair<std::uint32_t, std::int32_t>> domains;  // entries whose domain is not 0
  std::vector<std::pair<std::uint32_t, std::int32_t>> terrains; // entries created with another terrain
};

}  // namespace mireforge
