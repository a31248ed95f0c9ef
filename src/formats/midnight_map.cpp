#include "formats/midnight_map.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <vector>

#include "base/file_io.h"
#include "base/error.h"
#include "model/terrain.h"

namespace mireforge {

namespace {

constexpr std::string_view LineEnd = "\r\n";

// Byte -> TerrainCode; anything that is not a map letter reads as none.
constexpr std::array<TerrainCode, 256> BuildLetterCodes() {
  std::array<TerrainCode, 256> codes{};
  for (auto& code : codes) code = NoTerrain;
  for (std::size_t i = 0; i < TerrainLetters.size(); ++i)
    codes[static_cast<unsigned char>(TerrainLetters[i])] = static_cast<TerrainCode>(i);
  return codes;
}
constexpr std::array<TerrainCode, 256> LetterCodes = BuildLetterCodes();

void AppendNumber(std::string& out, long value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

// "//0    5   10 ..." : every fifth column number, right-aligned in 5 characters.
std::string NumberRuler(int width) {
  std::string ruler = "//0";
  for (int p = 5; p <= width; p += 5) {
    std::string number = std::to_string(p);
    ruler.append(5 - number.size(), ' ');
    ruler += number;
  }
  return ruler;
}

// "//|    |    | ..." : a mark above every column of the number ruler.
std::string TickRuler(int width) {
  std::string ruler = "//|";
  for (int p = 5; p <= width; p += 5) ruler += "    |";
  return ruler;
}

void AppendLine(std::string& out, std::string_view line) {
  out += line;
  out += LineEnd;
}

}  // namespace

std::string FormatMidnightMap(const MapGrid& grid, bool omitBorder) {
  const int width = grid.Width;
  const int height = grid.Height;
  const int firstRow = omitBorder ? 1 : 0;
  const int lastRow = omitBorder ? height - 2 : height - 1;
  const int firstColumn = omitBorder ? 1 : 0;
  const int lastColumn = omitBorder ? width - 2 : width - 1;
  const std::string numberRuler = NumberRuler(width);
  const std::string tickRuler = TickRuler(width);

  std::string out;
  const int rowCount = lastRow >= firstRow ? lastRow - firstRow + 1 : 0;
  const int letterCount = lastColumn >= firstColumn ? lastColumn - firstColumn + 1 : 0;
  out.reserve(256 + 2 * (numberRuler.size() + tickRuler.size()) +
              static_cast<std::size_t>(rowCount) * (letterCount + 16));

  AppendLine(out, "<?php");
  AppendLine(out, "//Midnight Map Data - custom map");
  AppendLine(out, "//This is auto-generated file, please do not change it manually");
  AppendLine(out, "");
  AppendLine(out, "$map = array(");
  AppendLine(out, numberRuler);
  AppendLine(out, tickRuler);
  for (int y = firstRow; y <= lastRow; ++y) {
    out += " \"";
    const TerrainCode* row = grid.Cells.data() + static_cast<std::size_t>(y) * width;
    for (int x = firstColumn; x <= lastColumn; ++x) out += TerrainLetters[TerrainOf(row[x])];
    out += '"';
    out += y == lastRow ? "  //" : ", //";
    AppendNumber(out, y);
    out += LineEnd;
  }
  AppendLine(out, tickRuler);
  AppendLine(out, numberRuler);
  AppendLine(out, ");");
  AppendLine(out, "");
  AppendLine(out, "?>");
  AppendLine(out, "");
  return out;
}

MapGrid ParseMidnightMap(std::string_view bytes) {
  // Row texts as views into bytes; every other line is ignored.
  std::vector<std::string_view> rows;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(pos, end - pos);
    pos = end;
    if (pos < bytes.size()) pos += (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') ? 2 : 1;

    if (line.size() < 2 || line[0] != ' ' || line[1] != '"') continue;
    if (rows.size() == MaxMapSize)
      throw Error("The map file has more than " + std::to_string(MaxMapSize) + " rows");
    const std::string_view rest = line.substr(2);
    const std::size_t quote = rest.find('"');
    rows.push_back(quote == std::string_view::npos ? std::string_view() : rest.substr(0, quote));
  }

  if (rows.empty()) throw Error(FormatMessage("List index out of bounds (%d)", 0));
  const std::size_t width = rows.front().size();
  if (width == 0) throw Error("The first map row of the file holds no terrain letters");
  if (width > MaxMapSize)
    throw Error("The first map row of the file holds " + std::to_string(width) + " letters; at most " +
                std::to_string(MaxMapSize) + " are allowed");

  MapGrid grid;
  grid.ResizeMap(static_cast<int>(width), static_cast<int>(rows.size()));
  TerrainCode* cell = grid.Cells.data();
  for (const std::string_view row : rows) {
    // A row shorter than the first gives none for its missing cells; letters
    // beyond the width are ignored.
    const std::size_t present = row.size() < width ? row.size() : width;
    for (std::size_t x = 0; x < present; ++x) cell[x] = LetterCodes[static_cast<unsigned char>(row[x])];
    for (std::size_t x = present; x < width; ++x) cell[x] = NoTerrain;
    cell += width;
  }
  return grid;
}

void WriteMidnightMap(const std::string& path, const MapGrid& grid, bool omitBorder) {
  WriteWholeFile(path, FormatMidnightMap(grid, omitBorder), "Cannot create file %s");
}

void ReadMidnightMap(const std::string& path, MapGrid& grid) {
  MapGrid loaded = ParseMidnightMap(ReadWholeFile(path, MaxMidnightMapFileBytes));
  // Only now, with the whole file accepted, does the open map change.
  grid.Width = loaded.Width;
  grid.Height = loaded.Height;
  grid.Cells = std::move(loaded.Cells);
}

}  // namespace mireforge
