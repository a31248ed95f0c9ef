#include "model/descriptions.h"

#include <charconv>

#include "model/map_grid.h"
#include "model/terrain.h"

namespace mireforge {

TDescItem::TDescItem(int terrain, DescText text, int x, int y, int domain)
    : Terrain(terrain), Text(std::move(text)), Domain(domain) {
  MoveTo(x, y);
}

namespace {

std::string Bracketed(int first, int second) {
  char text[32] = "[";
  char* end = std::to_chars(text + 1, text + 13, first).ptr;
  *end++ = ',';
  end = std::to_chars(end, text + 26, second).ptr;
  *end++ = ']';
  return std::string(text, end);
}

}  // namespace

std::string TDescItem::PositionText() const { return SwapXY ? Bracketed(Y, X) : Bracketed(X, Y); }

std::string TDescItem::Position() const { return Bracketed(X, Y); }

void DescriptionList::AddDescription(int terrain, DescText text, int x, int y, int domain) {
  Entries.emplace_back(terrain, std::move(text), x, y, domain);
  DescriptionNodes.resize(Entries.size());
}

void DescriptionList::Clear() {
  Entries.clear();
  DescriptionNodes.clear();
}

void DescriptionList::Reserve(std::size_t count) {
  Entries.reserve(count);
}

TDescItem* DescriptionList::CellDescription(int x, int y, int width) {
  return const_cast<TDescItem*>(static_cast<const DescriptionList*>(this)->CellDescription(x, y, width));
}

const TDescItem* DescriptionList::CellDescription(int x, int y, int width) const {
  if (DescriptionNodes.empty() || x < 0 || y < 0 || width <= 0 || x >= width) return nullptr;
  const std::size_t index = static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * width;
  if (index >= DescriptionNodes.size()) return nullptr;
  const std::uint32_t entry = DescriptionNodes[index];
  return entry < Entries.size() ? &Entries[entry] : nullptr;
}

void BuildDefaultDescriptions(DescriptionList& list, const MapGrid& grid) {
  list.Clear();
  list.Reserve(grid.Cells.size());
  for (int y = 0; y < grid.Height; ++y)
    for (int x = 0; x < grid.Width; ++x) {
      const int code = grid.GetTerrain(x, y);
      list.AddDescription(code, DefaultDescription(code), x, y, 0);
    }
}

}  // namespace mireforge
