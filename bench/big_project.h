#pragma once
// The 512 x 512 map the benchmarks work on: every terrain, scattered, and the
// default description of every cell.
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

}  // namespace mireforge
