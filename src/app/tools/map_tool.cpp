#include "app/tools/map_tool.h"

#include <QKeyEvent>

#include "app/document/map_document.h"
#include "model/map_regions.h"

namespace mireforge {

CellState Ink::Drawn(const Project& project, std::uint32_t index) const {
  CellState state = ReadCell(project, index);
  if (terrain) {
    const int drawn = set.empty() ? code : set[RandomPick(seed, index, static_cast<int>(set.size()))];
    state.terrain = static_cast<TerrainCode>(drawn);
    state.text = DefaultDescription(drawn);
  } else {
    state.domain = domain;
  }
  return state;
}

bool MapTool::Key(const QKeyEvent& event) {
  return event.key() == Qt::Key_Escape && event.modifiers() == Qt::NoModifier && Cancel();
}

const Project& MapTool::CurrentProject() const { return host_.Document().CurrentProject(); }

}  // namespace mireforge
