#include "scene/scene_view.h"

#include <algorithm>

#include "model/map_grid.h"
#include "project/project.h"

namespace mireforge {

namespace {

TerrainCode TerrainSeen(const MapGrid& map, int x, int y) {
  if (!map.Contains(x, y)) return FrozenWastes;
  // A grid whose cells do not match its size (one being built) is not read past its end.
  const std::size_t index = static_cast<std::size_t>(y) * map.Width + x;
  if (index >= map.Cells.size()) return FrozenWastes;
  return TerrainOf(map.TerrainRow(y)[x]);
}

}  // namespace

std::array<SceneSprite, SceneRowsPerView> SceneSprites(const ViewState& view, const MapGrid& map) {
  std::array<SceneSprite, SceneRowsPerView> sprites{};
  const int first = FirstSceneRow(view.ViewDirection);
  const int quarterTurns = view.ViewDirection / 2;
  for (int i = 0; i < SceneRowsPerView; ++i) {
    const SceneRow& row = SceneTable[first + i];
    const CellOffset offset = RotateOffset({row.Dx, row.Dy}, quarterTurns);
    sprites[i] = {TerrainSeen(map, view.ViewX + offset.Dx, view.ViewY + offset.Dy), row.Size,
                  row.X - SpriteOffsetX, row.Y};
  }
  return sprites;
}

std::string SpriteName(int code, int sizeClass) {
  return std::to_string(code) + "_" + std::to_string(sizeClass);
}

CellPosition CellAhead(const ViewState& view, const MapGrid& map) {
  const Direction& step = view.Facing();
  // An empty map has no cell to clamp into; 0 keeps the result harmless.
  const int maxX = std::max(0, map.Width - 1);
  const int maxY = std::max(0, map.Height - 1);
  return {std::clamp(view.ViewX + step.Dx, 0, maxX), std::clamp(view.ViewY + step.Dy, 0, maxY)};
}

std::string LocationLine(const ViewState& view, const Project& project) {
  const TDescItem* item = project.CellDescription(view.ViewX, view.ViewY);
  std::string line = "location: [" + std::to_string(view.ViewX) + "," + std::to_string(view.ViewY) + "] [";
  line += item ? std::to_string(item->Domain) : std::string();
  line += "] - ";
  if (item) line += item->Text;
  return line;
}

std::string LookingLine(const ViewState& view, const Project& project) {
  const CellPosition ahead = CellAhead(view, project.Map);
  const TDescItem* item = project.CellDescription(ahead.X, ahead.Y);
  std::string line = "You are looking ";
  line += view.Facing().Name;
  line += " to ";
  if (item) line += item->Text;
  return line;
}

}  // namespace mireforge
