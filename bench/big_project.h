#pragma once
// The 512 x 512 maps the benchmarks work on: every terrain scattered, with the
// default descriptions, or with a text and a domain of its own in every cell.
#include <string>

#include "project/project.h"

namespace mireforge {

inline Project BigProject() {
  Project project;
  project.Map.ResizeMap(512, 512);
  for (std::size_t i = 0; i < project.Map.Cells.size(); ++i) project.Map.Cells[i] = (i * 7 + i / 512) % 16;
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  project.Map.RebuildTerrainRows();
  return project;
}

// The largest project: 512 x 512 cells, each with its own description and a
// domain, and all 256 domains named and coloured.
inline Project LargestProject() {
  Project project;
  project.Map.ResizeMap(MaxMapSize, MaxMapSize);
  for (std::size_t i = 0; i < project.Map.Cells.size(); ++i)
    project.Map.Cells[i] = static_cast<TerrainCode>((i * 2654435761u >> 7) % 16);
  project.Map.RebuildTerrainRows();
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  for (std::size_t i = 0; i < project.Descriptions.Size(); ++i) {
    TDescItem& item = project.Descriptions.Entry(i);
    item.Text = "Somewhere in the land, place " + std::to_string(i);
    item.Domain = static_cast<int>(i % DomainCount);
  }
  for (int n = 0; n < DomainCount; ++n) project.Domains.Slots[n] = {n * 65793, "Domain " + std::to_string(n)};
  return project;
}

}  // namespace mireforge
