#include "app/edit/map_snapshot.h"

#include "project/project.h"

namespace mireforge {

MapSnapshot MapSnapshot::Take(const Project& project, bool mapPresent, const QString& origin) {
  MapSnapshot s;
  s.mapPresent = mapPresent;
  s.origin = origin;
  s.width = project.Map.Width;
  s.height = project.Map.Height;
  s.cells = project.Map.Cells;
  const DescriptionList& list = project.Descriptions;
  s.hasDescriptions = !list.Empty();
  for (std::uint32_t i = 0; i < list.Size(); ++i) {
    const TDescItem& item = list.Entry(i);
    const int code = i < s.cells.size() ? s.cells[i] & 0x0F : NoTerrain;
    if (item.Text != TerrainNames[code]) s.texts.emplace_back(i, item.Text);
    if (item.Domain != 0) s.domains.emplace_back(i, item.Domain);
    if (item.Terrain != code) s.terrains.emplace_back(i, item.Terrain);
  }
  return s;
}

void MapSnapshot::Restore(Project& project) const {
  project.Map.ResizeMap(width, height);
  project.Map.Cells = cells;
  project.Map.RebuildTerrainRows();
  DescriptionList& list = project.Descriptions;
  if (!hasDescriptions) {
    list.Clear();
    return;
  }
  BuildDefaultDescriptions(list, project.Map);
  for (const auto& [i, text] : texts)
    if (i < list.Size()) list.Entry(i).Text = text;
  for (const auto& [i, domain] : domains)
    if (i < list.Size()) list.Entry(i).Domain = domain;
  for (const auto& [i, terrain] : terrains)
    if (i < list.Size()) list.Entry(i).Terrain = terrain;
}

}  // namespace mireforge
