#include "formats/cell_block.h"

#include <algorithm>
#include <array>
#include <climits>
#include <charconv>
#include <memory>

#include "formats/midnight_map.h"
#include "model/descriptions.h"
#include "model/domains.h"
#include "base/error.h"
#include "model/map_grid.h"

namespace mireforge {

namespace {

constexpr std::string_view Header = "Mireforge cells 1";
constexpr int MaxSide = 512;

[[noreturn]] void Bad() { throw Error("The clipboard does not hold map cells"); }

// Reads the next line (without its line end) from text at pos.
bool NextLine(std::string_view text, std::size_t& pos, std::string_view& line) {
  if (pos >= text.size()) return false;
  std::size_t end = text.find('\n', pos);
  if (end == std::string_view::npos) end = text.size();
  line = text.substr(pos, end - pos);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  pos = end + 1;
  return true;
}

bool ReadInt(std::string_view& line, long long& value) {
  while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
  const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
  if (ec != std::errc() || end == line.data()) return false;
  line.remove_prefix(static_cast<std::size_t>(end - line.data()));
  return true;
}

}  // namespace

std::size_t CellBlock::Present() const {
  return static_cast<std::size_t>(std::count_if(Cells.begin(), Cells.end(), [](const BlockCell& c) { return c.present; }));
}

CellBlock CellBlock::Copy(const MapGrid& map, const DescriptionList& descriptions, const DomainTable& domains,
                          const CellSelection& selection) {
  CellBlock block;
  const CellBounds box = selection.Bounds();
  if (box.Empty() || selection.Width() != map.Width || selection.Height() != map.Height) return block;
  block.Width = box.Width();
  block.Height = box.Height();
  block.Cells.resize(static_cast<std::size_t>(block.Width) * block.Height);
  for (int y = box.top; y <= box.bottom; ++y)
    for (int x = box.left; x <= box.right; ++x) {
      if (!selection.Contains(x, y)) continue;
      BlockCell& cell = block.Cells[static_cast<std::size_t>(x - box.left) + static_cast<std::size_t>(y - box.top) * block.Width];
      cell.present = true;
      cell.terrain = map.GetTerrain(x, y);
      if (const TDescItem* item = descriptions.CellDescription(x, y, map.Width)) {
        cell.text = item->Text;
        cell.domain = item->Domain;
      } else {
        cell.text = DefaultDescription(cell.terrain);
      }
    }
  std::array<bool, DomainCount> used{};
  for (const BlockCell& cell : block.Cells)
    if (cell.present && DomainTable::ValidNumber(cell.domain)) used[cell.domain] = true;
  for (int n = 0; n < DomainCount; ++n)
    if (used[n] && domains.Defined(n)) block.Domains.push_back({n, domains.Slots[n]});
  return block;
}

void CellBlock::FlipHorizontally() {
  for (int y = 0; y < Height; ++y) {
    auto row = Cells.begin() + static_cast<std::ptrdiff_t>(y) * Width;
    std::reverse(row, row + Width);
  }
}

void CellBlock::FlipVertically() {
  for (int y = 0; y < Height / 2; ++y)
    std::swap_ranges(Cells.begin() + static_cast<std::ptrdiff_t>(y) * Width,
                     Cells.begin() + static_cast<std::ptrdiff_t>(y + 1) * Width,
                     Cells.begin() + static_cast<std::ptrdiff_t>(Height - 1 - y) * Width);
}

void CellBlock::RotateClockwise() {
  // Cell (x, y) goes to (Height - 1 - y, x) of the turned block.
  std::vector<BlockCell> turned(Cells.size());
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x)
      turned[static_cast<std::size_t>(Height - 1 - y) + static_cast<std::size_t>(x) * Height] =
          std::move(Cells[static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * Width]);
  Cells = std::move(turned);
  std::swap(Width, Height);
}

void CellBlock::RotateAnticlockwise() {
  RotateClockwise();
  FlipHorizontally();
  FlipVertically();
}

std::string CellBlock::Serialize() const {
  std::string out(Header);
  out += "\n" + std::to_string(Width) + " " + std::to_string(Height) + "\n";
  for (const BlockCell& cell : Cells) {
    if (!cell.present) {
      out += "-\n";
      continue;
    }
    out += std::to_string(cell.terrain) + " " + std::to_string(cell.domain) + " ";
    for (char c : cell.text) out += (c == '\n' || c == '\r') ? ' ' : c;
    out += '\n';
  }
  for (const BlockDomain& domain : Domains) {
    out += "domain " + std::to_string(domain.Number) + " " + std::to_string(domain.Slot.Color) + " ";
    for (char c : domain.Slot.Name) out += (c == '\n' || c == '\r') ? ' ' : c;
    out += '\n';
  }
  return out;
}

CellBlock CellBlock::Parse(std::string_view source) {
  // The cells' texts stay in one copy of the block's text rather than one string each.
  const auto copy = std::make_shared<const std::string>(source);
  const std::string_view text = *copy;
  const DescText texts = DescText::Sharing(copy, text);
  std::size_t pos = 0;
  std::string_view line;
  if (!NextLine(text, pos, line) || line != Header) Bad();
  long long width = 0, height = 0;
  if (!NextLine(text, pos, line) || !ReadInt(line, width) || !ReadInt(line, height) || !line.empty()) Bad();
  if (width < 1 || height < 1 || width > MaxSide || height > MaxSide) Bad();
  CellBlock block;
  block.Width = static_cast<int>(width);
  block.Height = static_cast<int>(height);
  block.Cells.resize(static_cast<std::size_t>(width * height));
  for (BlockCell& cell : block.Cells) {
    if (!NextLine(text, pos, line)) Bad();
    if (line == "-") continue;
    long long terrain = 0, domain = 0;
    if (!ReadInt(line, terrain) || !ReadInt(line, domain) || line.empty() || line.front() != ' ') Bad();
    if (terrain < 0 || terrain >= TerrainCount || !DomainTable::ValidNumber(domain)) Bad();
    cell.present = true;
    cell.terrain = static_cast<TerrainCode>(terrain);
    cell.domain = static_cast<std::int32_t>(domain);
    cell.text = texts.Part(line.substr(1));
  }
  while (NextLine(text, pos, line)) {
    if (line.empty()) continue;
    long long number = 0, color = 0;
    if (!line.starts_with("domain ")) Bad();
    line.remove_prefix(6);
    if (!ReadInt(line, number) || !ReadInt(line, color) || line.size() < 2 || line.front() != ' ') Bad();
    if (!DomainTable::ValidNumber(number) || color < INT32_MIN || color > INT32_MAX) Bad();
    block.Domains.push_back({static_cast<int>(number), {static_cast<std::int32_t>(color), std::string(line.substr(1))}});
  }
  return block;
}

std::string CellBlock::TerrainText() const {
  std::string out;
  out.reserve(static_cast<std::size_t>(Width + 1) * Height);
  for (int y = 0; y < Height; ++y) {
    for (int x = 0; x < Width; ++x) {
      const BlockCell& cell = At(x, y);
      out += cell.present ? TerrainLetters[TerrainOf(cell.terrain)] : '.';
    }
    out += '\n';
  }
  return out;
}

CellBlock CellBlock::FromTerrainText(std::string_view text) {
  std::vector<std::string_view> rows;
  std::size_t pos = 0;
  std::string_view line;
  while (NextLine(text, pos, line)) rows.push_back(line);
  while (!rows.empty() && rows.back().empty()) rows.pop_back();
  CellBlock block;
  block.TerrainOnly = true;
  for (std::string_view row : rows) block.Width = std::max(block.Width, static_cast<int>(row.size()));
  block.Height = static_cast<int>(rows.size());
  if (block.Width == 0 || block.Width > MaxSide || block.Height > MaxSide) Bad();
  block.Cells.resize(static_cast<std::size_t>(block.Width) * block.Height);
  for (int y = 0; y < block.Height; ++y)
    for (int x = 0; x < block.Width; ++x) {
      // A line shorter than the longest ends in plains.
      const char c = x < static_cast<int>(rows[y].size()) ? rows[y][x] : ' ';
      if (c == '.') continue;
      const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
      const std::size_t code = TerrainLetters.find(upper);
      if (code == std::string_view::npos) Bad();
      BlockCell& cell = block.Cells[static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * block.Width];
      cell.present = true;
      cell.terrain = static_cast<TerrainCode>(code);
      cell.text = DefaultDescription(static_cast<int>(code));
    }
  if (block.Present() == 0) Bad();
  return block;
}

}  // namespace mireforge
