#include "app/edit/map_snapshot.h"

#include "app/edit/edit_commands.h"
#include "project/project.h"

namespace mireforge {

namespace {

// The part as last taken, while some snapshot still holds it (GUI thread only).
template <class T>
std::shared_ptr<const T> Shared(T part, std::weak_ptr<const T>& last) {
  if (std::shared_ptr<const T> previous = last.lock(); previous && *previous == part) return previous;
  auto made = std::make_shared<const T>(std::move(part));
  last = made;
  return made;
}

std::weak_ptr<const std::vector<TerrainCode>> lastCells;
std::weak_ptr<const MapSnapshot::Descriptions> lastDescriptions;

template <class T>
std::size_t ByShare(const std::shared_ptr<const T>& part, std::size_t bytes) {
  return part ? bytes / static_cast<std::size_t>(std::max(1L, part.use_count())) : 0;
}

}  // namespace

MapSnapshot MapSnapshot::Take(const Project& project, bool mapPresent, const QString& origin) {
  MapSnapshot s;
  s.mapPresent = mapPresent;
  s.origin = origin;
  s.width = project.Map.Width;
  s.height = project.Map.Height;
  const std::vector<TerrainCode>& cells = project.Map.Cells;
  const DescriptionList& list = project.Descriptions;
  s.hasDescriptions = !list.Empty();
  Descriptions d;
  for (std::uint32_t i = 0; i < list.Size(); ++i) {
    const TDescItem& item = list.Entry(i);
    const int code = i < cells.size() ? int{TerrainOf(cells[i])} : int{NoTerrain};
    if (item.Text != TerrainNames[code]) d.texts.emplace_back(i, item.Text);
    if (item.Domain != 0) d.domains.emplace_back(i, item.Domain);
    if (item.Terrain != code) d.terrains.emplace_back(i, item.Terrain);
  }
  d.bytes = sizeof(d) + d.texts.capacity() * sizeof(d.texts[0]) + d.domains.capacity() * sizeof(d.domains[0]) +
            d.terrains.capacity() * sizeof(d.terrains[0]);
  for (const auto& [i, text] : d.texts) d.bytes += HeapBytes(text);
  s.cells = Shared(std::vector<TerrainCode>(cells), lastCells);
  s.descriptions = Shared(std::move(d), lastDescriptions);
  return s;
}

void MapSnapshot::Restore(Project& project) const {
  project.Map.ResizeMap(width, height);
  project.Map.Cells = *cells;
  project.Map.RebuildTerrainRows();
  DescriptionList& list = project.Descriptions;
  if (!hasDescriptions) {
    list.Clear();
    return;
  }
  BuildDefaultDescriptions(list, project.Map);
  for (const auto& [i, text] : descriptions->texts)
    if (i < list.Size()) list.Entry(i).Text = text;
  for (const auto& [i, domain] : descriptions->domains)
    if (i < list.Size()) list.Entry(i).Domain = domain;
  for (const auto& [i, terrain] : descriptions->terrains)
    if (i < list.Size()) list.Entry(i).Terrain = terrain;
}

std::size_t MapSnapshot::MemoryBytes() const {
  return sizeof(*this) + static_cast<std::size_t>(origin.capacity()) * sizeof(QChar) +
         ByShare(cells, cells ? cells->capacity() : 0) + ByShare(descriptions, descriptions ? descriptions->bytes : 0);
}

}  // namespace mireforge
