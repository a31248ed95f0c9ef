#pragma once
// The 512 x 512 map the editor's benchmarks draw and search: every terrain, in stripes.
#include "project/project.h"

namespace mireforge {

inline Project BigMap() {
  Project project;
  project.Map.ResizeMap(512, 512);
  for (std::size_t i = 0; i < project.Map.Cells.size(); ++i) project.Map.Cells[i] = (i * 7 + i / 512) % 16;
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  return project;
}

}  // namespace mireforge
