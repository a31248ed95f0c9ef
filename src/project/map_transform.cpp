#include "project/map_transform.h"

#include <string>
#include <vector>

#include "base/error.h"
#include "model/terrain.h"
#include "project/project.h"

namespace mireforge {

namespace {

constexpr int NoSource = -1;


// Rebuilds the project as a width x height map whose cell (x, y) takes the old
// cell sourceOf(x, y), or is new where that is NoSource. ringCode, when not
// negative, is forced onto the border ring.
template <typename SourceOf>
void Remap(Project& project, int width, int height, int ringCode, SourceOf sourceOf) {
  MapGrid& map = project.Map;
  DescriptionList& list = project.Descriptions;
  const bool hasList = !list.Empty();
  const std::size_t count = static_cast<std::size_t>(width) * height;

  std::vector<TerrainCode> cells(count);
  std::vector<TDescItem> entries;
  if (hasList) entries.reserve(count);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool ring = ringCode >= 0 && (x == 0 || y == 0 || x == width - 1 || y == height - 1);
      const int source = sourceOf(x, y);
      TerrainCode code = source == NoSource ? TerrainCode{Plains} : map.TerrainAt(source);
      const bool repainted = ring && code != ringCode;
      if (ring) code = static_cast<TerrainCode>(ringCode);
      cells[x + static_cast<std::size_t>(y) * width] = code;
      if (!hasList) continue;
      if (source == NoSource || static_cast<std::size_t>(source) >= list.Size()) {
        entries.emplace_back(code, std::string(TerrainNames[code]), x, y, 0);
        continue;
      }
      TDescItem& item = entries.emplace_back(std::move(list.Entry(source)));
      item.MoveTo(x, y);
      if (repainted) item.Text = DefaultDescription(code);
    }
  }

  map.Width = static_cast<std::uint16_t>(width);
  map.Height = static_cast<std::uint16_t>(height);
  map.Cells = std::move(cells);
  if (!hasList) return;
  list.Entries = std::move(entries);
  list.DescriptionNodes.resize(count);
}

int Turns(int quarterTurns) { return ((quarterTurns % 4) + 4) % 4; }

}  // namespace

MapOffset AnchorOffset(Anchor anchor, int oldWidth, int oldHeight, int newWidth, int newHeight) {
  const int column = static_cast<int>(anchor) % 3, row = static_cast<int>(anchor) / 3;
  const auto share = [](int part, int difference) { return part == 0 ? 0 : part == 1 ? difference / 2 : difference; };
  return {share(column, newWidth - oldWidth), share(row, newHeight - oldHeight)};
}

void ResizeProject(Project& project, int width, int height, int dx, int dy, bool rebuildRing) {
  if (width < 1 || height < 1 || width > MaxMapSize || height > MaxMapSize)
    throw Error("The map size must be 1 to " + std::to_string(MaxMapSize) + " in each direction, not " +
                std::to_string(width) + " x " + std::to_string(height));
  const long long oldWidth = project.Map.Width, oldHeight = project.Map.Height;
  Remap(project, width, height, rebuildRing ? FrozenWastes : -1, [&](int x, int y) {
    const long long sx = x - static_cast<long long>(dx), sy = y - static_cast<long long>(dy);
    if (sx < 0 || sy < 0 || sx >= oldWidth || sy >= oldHeight) return NoSource;
    return static_cast<int>(sx + sy * oldWidth);
  });
}

void FlipHorizontally(Project& project) {
  const int width = project.Map.Width, height = project.Map.Height;
  Remap(project, width, height, -1, [&](int x, int y) { return width - 1 - x + y * width; });
}

void FlipVertically(Project& project) {
  const int width = project.Map.Width, height = project.Map.Height;
  Remap(project, width, height, -1, [&](int x, int y) { return x + (height - 1 - y) * width; });
}

void RotateProject(Project& project, int quarterTurns) {
  const int width = project.Map.Width, height = project.Map.Height;
  switch (Turns(quarterTurns)) {
    case 1:  // the old left column becomes the top row
      Remap(project, height, width, -1, [&](int x, int y) { return y + (height - 1 - x) * width; });
      break;
    case 2:
      Remap(project, width, height, -1,
            [&](int x, int y) { return (width - 1 - x) + (height - 1 - y) * width; });
      break;
    case 3:  // the old top row becomes the left column
      Remap(project, height, width, -1, [&](int x, int y) { return (width - 1 - y) + x * width; });
      break;
    default:
      break;
  }
}

MapTransform MapTransform::ResizeTo(int width, int height, MapOffset offset, bool rebuildRing) {
  MapTransform t;
  t.kind = Resize;
  t.width = width;
  t.height = height;
  t.offset = offset;
  t.rebuildRing = rebuildRing;
  return t;
}

MapTransform MapTransform::Flip(bool horizontally) {
  MapTransform t;
  t.kind = horizontally ? FlipHorizontal : FlipVertical;
  return t;
}

MapTransform MapTransform::Turn(int quarterTurns) {
  MapTransform t;
  t.kind = Rotate;
  t.quarterTurns = quarterTurns;
  return t;
}

void MapTransform::Apply(Project& project) const {
  switch (kind) {
    case Resize: ResizeProject(project, width, height, offset.dx, offset.dy, rebuildRing); break;
    case FlipHorizontal: FlipHorizontally(project); break;
    case FlipVertical: FlipVertically(project); break;
    case Rotate: RotateProject(project, quarterTurns); break;
  }
}

MapTransform MapTransform::Inverse() const {
  if (kind == Resize) throw Error("A resize cannot be undone by another transform");
  return kind == Rotate ? Turn(-quarterTurns) : *this;
}

std::pair<int, int> MapTransform::CellAfter(int x, int y, int mapWidth, int mapHeight) const {
  switch (kind) {
    case Resize: return {x + offset.dx, y + offset.dy};
    case FlipHorizontal: return {mapWidth - 1 - x, y};
    case FlipVertical: return {x, mapHeight - 1 - y};
    case Rotate:
      switch (Turns(quarterTurns)) {
        case 1: return {mapHeight - 1 - y, x};
        case 2: return {mapWidth - 1 - x, mapHeight - 1 - y};
        case 3: return {y, mapWidth - 1 - x};
        default: return {x, y};
      }
  }
  return {x, y};
}

}  // namespace mireforge
