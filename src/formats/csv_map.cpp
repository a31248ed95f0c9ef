#include "formats/csv_map.h"

#include <cctype>
#include <charconv>
#include <filesystem>

#include "base/file_io.h"
#include "base/file_set.h"
#include "formats/midnight_map.h"
#include "base/error.h"

namespace mireforge {

namespace {

// RFC 4180 rows: fields split at commas, quoted fields with "" for a quote.
// Calls field(row, column, text) and endRow(row, columns) for each row; the
// line end after the last row is optional.
template <typename Field, typename EndRow>
void ReadCsv(std::string_view text, std::size_t maxRows, std::size_t maxColumns, Field field, EndRow endRow) {
  std::size_t pos = 0, row = 0;
  while (pos < text.size()) {
    if (row == maxRows) throw Error("The CSV file has more than " + std::to_string(maxRows) + " rows");
    std::size_t column = 0;
    for (;;) {
      if (column == maxColumns) throw Error("Row " + std::to_string(row + 1) + " of the CSV file has more than " + std::to_string(maxColumns) + " cells");
      std::string value;
      if (pos < text.size() && text[pos] == '"') {
        ++pos;
        for (;;) {
          if (pos >= text.size()) throw Error("Row " + std::to_string(row + 1) + " of the CSV file has an unclosed quote");
          if (text[pos] == '"') {
            if (pos + 1 < text.size() && text[pos + 1] == '"') {
              value += '"';
              pos += 2;
              continue;
            }
            ++pos;
            break;
          }
          value += text[pos++];
        }
      } else {
        const std::size_t end = text.find_first_of(",\r\n", pos);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        value.assign(text.substr(pos, stop - pos));
        pos = stop;
      }
      field(row, column++, value);
      if (pos < text.size() && text[pos] == ',') {
        ++pos;
        continue;
      }
      if (pos < text.size() && text[pos] == '\r') ++pos;
      if (pos < text.size() && text[pos] == '\n') ++pos;
      else if (pos < text.size()) throw Error("Row " + std::to_string(row + 1) + " of the CSV file has text after a quoted cell");
      break;
    }
    endRow(row++, column);
  }
}

// Every row as many cells as the first; the row count.
struct Shape {
  std::size_t Width = 0, Height = 0;
  void EndRow(std::size_t row, std::size_t columns) {
    if (row == 0) Width = columns;
    else if (columns != Width)
      throw Error("Row " + std::to_string(row + 1) + " of the CSV file has " + std::to_string(columns) +
                  " cells; the first row has " + std::to_string(Width));
    Height = row + 1;
  }
};

int CodeOfLetter(std::string_view field) {
  if (field.empty()) return Plains;
  if (field.size() == 1) {
    const std::size_t code = TerrainLetters.find(static_cast<char>(std::toupper(static_cast<unsigned char>(field[0]))));
    if (code != std::string_view::npos) return static_cast<int>(code);
  }
  return -1;
}

}  // namespace

std::string FormatCsvMap(const MapGrid& grid) {
  std::string out;
  out.reserve(static_cast<std::size_t>(grid.Height) * (grid.Width * 2 + 1));
  for (int y = 0; y < grid.Height; ++y) {
    for (int x = 0; x < grid.Width; ++x) {
      if (x > 0) out += ',';
      out += TerrainLetters[grid.GetTerrain(x, y)];
    }
    out += "\r\n";
  }
  return out;
}

std::string FormatCsvDomains(const Project& project) {
  const MapGrid& grid = project.Map;
  const bool described = project.Descriptions.Size() == grid.Cells.size();
  std::string out;
  for (int y = 0; y < grid.Height; ++y) {
    for (int x = 0; x < grid.Width; ++x) {
      if (x > 0) out += ',';
      out += std::to_string(described ? project.Descriptions.Entry(static_cast<std::size_t>(y) * grid.Width + x).Domain : 0);
    }
    out += "\r\n";
  }
  return out;
}

MapGrid ParseCsvMap(std::string_view text) {
  std::vector<TerrainCode> cells;
  Shape shape;
  ReadCsv(
      text, MaxMapSize, MaxMapSize,
      [&](std::size_t row, std::size_t column, const std::string& field) {
        const int code = CodeOfLetter(field);
        if (code < 0)
          throw Error("Row " + std::to_string(row + 1) + ", cell " + std::to_string(column + 1) +
                      " of the CSV file: '" + field.substr(0, 40) + "' is not a Midnight/MU terrain letter");
        cells.push_back(static_cast<TerrainCode>(code));
      },
      [&](std::size_t row, std::size_t columns) { shape.EndRow(row, columns); });
  if (shape.Height == 0) throw Error("The CSV file holds no map rows");
  MapGrid grid;
  grid.ResizeMap(static_cast<int>(shape.Width), static_cast<int>(shape.Height));
  grid.Cells = std::move(cells);
  return grid;
}

std::vector<std::int32_t> ParseCsvDomains(std::string_view text, int width, int height) {
  std::vector<std::int32_t> domains;
  Shape shape;
  ReadCsv(
      text, MaxMapSize, MaxMapSize,
      [&](std::size_t row, std::size_t column, const std::string& field) {
        std::int32_t value = 0;
        const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
        if (!field.empty() && (error != std::errc() || end != field.data() + field.size()))
          throw Error("Row " + std::to_string(row + 1) + ", cell " + std::to_string(column + 1) +
                      " of the CSV domain file: '" + field.substr(0, 40) + "' is not a domain number");
        domains.push_back(value);
      },
      [&](std::size_t row, std::size_t columns) { shape.EndRow(row, columns); });
  if (shape.Width != static_cast<std::size_t>(width) || shape.Height != static_cast<std::size_t>(height))
    throw Error("The CSV domain file is " + std::to_string(shape.Width) + " x " + std::to_string(shape.Height) +
                " cells; the map is " + std::to_string(width) + " x " + std::to_string(height));
  return domains;
}

std::string CsvDomainFileName(const std::string& path) {
  const std::filesystem::path file(path);
  return (file.parent_path() / (file.stem().string() + "-domains.csv")).string();
}

void WriteCsvMapFiles(const std::string& path, const Project& project) {
  if (project.Map.Width < 1 || project.Map.Height < 1) throw Error("The map is empty: there is nothing to export");
  AtomicFileSet files;
  files.Add(path, FormatCsvMap(project.Map), "Cannot create file %s");
  files.Add(CsvDomainFileName(path), FormatCsvDomains(project), "Cannot create file %s");
  files.Commit();
}

void ReadCsvMapFile(const std::string& path, Project& project) {
  Project read;
  read.Map = ParseCsvMap(ReadWholeFile(path, MaxCsvMapFileBytes));
  std::vector<std::int32_t> domains;
  const std::string domainFile = CsvDomainFileName(path);
  std::error_code unknown;
  if (std::filesystem::exists(domainFile, unknown))
    domains = ParseCsvDomains(ReadWholeFile(domainFile, MaxCsvDomainFileBytes), read.Map.Width, read.Map.Height);
  read.Map.RebuildTerrainRows();
  BuildDefaultDescriptions(read.Descriptions, read.Map);
  for (std::size_t i = 0; i < domains.size(); ++i) read.Descriptions.Entry(i).Domain = domains[i];
  read.ProjectSaved = false;
  project = std::move(read);
}

}  // namespace mireforge
