#include "scene/view_state.h"

#include <algorithm>

#include "model/map_grid.h"

namespace mireforge {

bool ViewState::HandleKey(ViewKey key, const MapGrid& map) {
  const Direction& step = Facing();
  switch (key) {
    case ViewKey::Escape:
      return true;
    case ViewKey::Left:
      ViewDirection = (ViewDirection + 7) % 8;
      break;
    case ViewKey::Right:
      ViewDirection = (ViewDirection + 1) % 8;
      break;
    case ViewKey::Up:
      if (map.Contains(ViewX + step.Dx, ViewY + step.Dy)) MoveTo(ViewX + step.Dx, ViewY + step.Dy);
      break;
    case ViewKey::Down:
      if (map.Contains(ViewX - step.Dx, ViewY - step.Dy)) MoveTo(ViewX - step.Dx, ViewY - step.Dy);
      break;
  }
  return false;
}

void ViewState::ClampInto(const MapGrid& map) {
  ViewX = std::clamp(ViewX, 0, std::max(0, map.Width - 1));
  ViewY = std::clamp(ViewY, 0, std::max(0, map.Height - 1));
}

std::optional<ViewKey> MouseRegionKey(int x, int y, int clientWidth, int clientHeight) {
  const int w3 = clientWidth / 3;
  const int h3 = clientHeight / 3;
  const bool middleBand = h3 < y && y < 2 * h3;
  const bool middleColumn = w3 < x && x < 2 * w3;
  if (0 < x && x < w3 && middleBand) return ViewKey::Left;
  if (2 * w3 < x && x < clientWidth && middleBand) return ViewKey::Right;
  if (middleColumn && 0 < y && y < h3) return ViewKey::Up;
  if (middleColumn && 2 * h3 < y && y < clientHeight) return ViewKey::Down;
  return std::nullopt;
}

}  // namespace mireforge
