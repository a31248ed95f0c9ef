#pragma once
// The check both Tiled map fuzz targets run: whatever the reader accepts must
// become a project or be refused with an Error, and a project made from it must
// write back and read again to the same cells, texts and domains.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "formats/tiled_project.h"
#include "base/error.h"

inline int FuzzTiledMap(std::string_view bytes, mireforge::TiledMap (*parse)(std::string_view),
                        std::string (*format)(const mireforge::TiledMap&)) {
  mireforge::Project project;
  try {
    project = mireforge::ProjectOfTiledMap(parse(bytes));
  } catch (const mireforge::Error&) {
    return 0;
  }
  const mireforge::MapGrid& grid = project.Map;
  if (grid.Width < 1 || grid.Width > mireforge::MaxMapSize || grid.Height < 1 || grid.Height > mireforge::MaxMapSize ||
      grid.Cells.size() != std::size_t{grid.Width} * grid.Height || project.Descriptions.Size() != grid.Cells.size())
    std::abort();
  mireforge::TiledMap again;
  try {
    again = parse(format(mireforge::TiledMapOfProject(project, mireforge::TileLook::Color, "d.png")));
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
