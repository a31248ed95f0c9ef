// Feeds arbitrary bytes to the TMJ (JSON) map reader. Whatever it accepts must become a
// project or be refused with an Error, and a project made from it must write
// back and read again to the same map.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "formats/tiled_project.h"
#include "model/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  mireforge::Project project;
  try {
    project = mireforge::ProjectOfTiledMap(mireforge::ParseTmj(bytes));
  } catch (const mireforge::Error&) {
    return 0;
  }
  const mireforge::MapGrid& grid = project.Map;
  if (grid.Width < 1 || grid.Width > mireforge::MaxMapSize || grid.Height < 1 || grid.Height > mireforge::MaxMapSize ||
      grid.Cells.size() != std::size_t{grid.Width} * grid.Height || project.Descriptions.Size() != grid.Cells.size())
    std::abort();
  mireforge::TiledMap again;
  try {
    again = mireforge::ParseTmj(mireforge::FormatTmj(mireforge::TiledMapOfProject(project, mireforge::TileLook::Color, "d.png")));
  } catch (const mireforge::Error&) {
    return 0;  // more domains than a map of ours holds
  }
  const mireforge::Project back = mireforge::ProjectOfTiledMap(again);
  if (back.Map.Cells != grid.Cells) std::abort();
  for (std::size_t i = 0; i < grid.Cells.size(); ++i)
    if (back.Descriptions.Entry(i).Text != project.Descriptions.Entry(i).Text ||
        back.Descriptions.Entry(i).Domain != project.Descriptions.Entry(i).Domain)
      std::abort();
  return 0;
}
