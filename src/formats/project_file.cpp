#include "formats/project_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <new>
#include <optional>
#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

#include "base/file_io.h"
#include "base/memory_reserve.h"
#include "base/run_beside.h"
#include "base/text_encoding.h"
#include "model/terrain.h"

namespace mireforge {

namespace {

constexpr std::string_view HeaderSection = "Mireforge project file";
constexpr std::string_view PlasmaSection = "Plasma";
constexpr std::string_view CEvoSection = "cEvo";
constexpr std::string_view MapSection = "Map";
constexpr std::string_view DescriptionsSection = "Descriptions";
constexpr std::string_view DomainsSection = "Domains";
constexpr std::string_view DomainColorsSection = "DomainColors";
constexpr std::string_view DomainNamesSection = "DomainNames";
// Written afresh on every save, so that a smaller map leaves no stale rows behind.
const std::vector<std::string_view> ReplacedSections = {MapSection, DescriptionsSection, DomainsSection,
                                                        DomainColorsSection, DomainNamesSection};
// What a reader of the terrain alone skips.
const std::vector<std::string_view> CellSections = {DescriptionsSection, DomainsSection, DomainColorsSection,
                                                    DomainNamesSection};

template <typename Rows>
struct RowKey {
  std::string_view key;
  std::string Rows::*row;
  std::string_view fallback;
};

// Write order and defaults on reading; the defaults are the file format's own and
// differ in places from a fresh wizard (e.g. cEvo "CreateRare").
constexpr std::array<RowKey<PlasmaRows>, 15> PlasmaKeys = {{
    {"Width", &PlasmaRows::Width, "66"},
    {"Height", &PlasmaRows::Height, "63"},
    {"Seed", &PlasmaRows::Seed, "0"},
    {"Randomize", &PlasmaRows::Randomize, "True"},
    {"CreateRare", &PlasmaRows::CreateRare, "True"},
    {"RareCount", &PlasmaRows::RareCount, "500"},
    {"ResizeType", &PlasmaRows::ResizeType, "Bilinear"},
    {"MountainLevel", &PlasmaRows::MountainLevel, "76"},
    {"DownsLevel", &PlasmaRows::DownsLevel, "120"},
    {"ForestLevel", &PlasmaRows::ForestLevel, "170"},
    {"Smooth", &PlasmaRows::Smooth, "True"},
    {"SmoothLevel", &PlasmaRows::SmoothLevel, "20"},
    {"AvgHeight", &PlasmaRows::AvgHeight, "254"},
    {"RandomizeRare", &PlasmaRows::RandomizeRare, "False"},
    {"RareSeed", &PlasmaRows::RareSeed, "0"},
}};

constexpr std::array<RowKey<CEvoRows>, 15> CEvoKeys = {{
    {"Width", &CEvoRows::Width, "66"},
    {"Height", &CEvoRows::Height, "63"},
    {"Seed", &CEvoRows::Seed, "0"},
    {"Randomize", &CEvoRows::Randomize, "True"},
    {"CreateRare", &CEvoRows::CreateRare, "True"},
    {"RareCount", &CEvoRows::RareCount, "500"},
    {"LandMass", &CEvoRows::LandMass, "25"},
    {"Downs", &CEvoRows::Downs, "7"},
    {"Mountains", &CEvoRows::Mountains, "5"},
    {"RandDowns", &CEvoRows::RandDowns, "12"},
    {"AddRandDowns", &CEvoRows::AddRandDowns, "True"},
    {"ElevationSmooth", &CEvoRows::ElevationSmooth, "49"},
    {"ElevationDetail", &CEvoRows::ElevationDetail, "95"},
    {"RandomizeRare", &CEvoRows::RandomizeRare, "False"},
    {"RareSeed", &CEvoRows::RareSeed, "0"},
}};

constexpr char HexDigits[] = "0123456789ABCDEF";

int TerrainFromHex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return NoTerrain;
}

// "%3.3d": at least three digits.
std::string RowKeyName(int y) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%03d", y);
  return buffer;
}

// "x,y" without allocating: these keys are looked up once per cell.
struct CellKey {
  char buffer[24];
  std::string_view text;
  CellKey(int x, int y) {
    char* end = std::to_chars(buffer, buffer + 10, x).ptr;
    *end++ = ',';
    end = std::to_chars(end, buffer + sizeof buffer, y).ptr;
    text = std::string_view(buffer, static_cast<std::size_t>(end - buffer));
  }
};

bool ValidMapSize(long long width, long long height) {
  return width >= 1 && width <= MaxMapSize && height >= 1 && height <= MaxMapSize;
}

std::string SizeText(long long width, long long height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

// The three levels are those the last generation used, not the rows' texts.
std::string PlasmaValue(const Project& project, std::string PlasmaRows::*row) {
  const GeneratorSettings& used = project.Settings;
  if (row == &PlasmaRows::MountainLevel) return std::to_string(used.MountainLevel);
  if (row == &PlasmaRows::DownsLevel) return std::to_string(used.DownsLevel);
  if (row == &PlasmaRows::ForestLevel) return std::to_string(used.ForestLevel);
  return project.Rows.Plasma.*row;
}

// Texts go to the file as Windows-1252 (see base/text_encoding.h); most are
// plain ASCII and are written as they are, without a copy.
void WriteText(IniFile& ini, std::string_view section, std::string_view key, std::string_view text) {
  if (IsAscii(text)) ini.WriteString(section, key, text);
  else ini.WriteString(section, key, EncodeFileText(text));
}

// The same into a section written afresh, whose keys are all distinct.
template <typename Lines>
void AppendText(Lines&& lines, std::string_view key, std::string_view text) {
  if (IsAscii(text)) lines.Add(key, text);
  else lines.Add(key, EncodeFileText(text));
}

std::string ReadText(const IniFile& ini, std::string_view section, std::string_view key, std::string_view fallback) {
  const std::optional<std::string_view> value = ini.FindWhole(section, key);
  return value ? DecodeFileText(*value, IniFile::MaxValueLength) : std::string(fallback);
}

void Report(const ProjectProgress& progress, std::string_view label, int maximum, int position) {
  if (progress) progress(label, maximum, position);
}

// Readies memory for reading fileName: its bytes and what is built from them,
// about factor times its size.
void ReserveForReading(const std::string& fileName, std::uint64_t factor) {
  std::error_code ec;
  const std::uint64_t size = std::filesystem::file_size(fileName, ec);
  if (!ec && size <= MaxProjectFileBytes) ReserveMemory(static_cast<std::size_t>(size * factor));
}

// The cell's text as the list holds it: an INI value holds no line breaks, so
// it needs no cleaning; most are short ASCII and stay in the file's text, file.
void StoreText(DescText& text, std::optional<std::string_view> value, const DescText& file) {
  if (!value) text = DefaultDescription(Plains);
  else if (value->size() <= IniFile::MaxValueLength && IsAscii(*value)) text = file.Part(*value);
  else text = DecodeFileText(*value, IniFile::MaxValueLength);
}

// The text ini was read from, for StoreText. Each thread takes its own: one
// count of the texts' holders, shared by both, would bounce between the cores.
DescText FileText(const IniFile& ini) { return DescText::Sharing(ini.ParsedText().owner, ini.ParsedText().bytes); }

void StoreDomain(std::int32_t& domain, std::optional<std::string_view> value) {
  domain = value ? ParseIniInteger(value->substr(0, IniFile::MaxValueLength)).value_or(0) : 0;
}

// Below this many cells a second thread costs more than it saves.
constexpr std::size_t ThreadedCells = 16384;

// The descriptions and domains of every cell, in index order. Rows are independent,
// so the lower half is read on a second thread into its own part of the list.
void ReadDescriptions(const IniFile& ini, const MapGrid& map, DescriptionList& descriptions,
                      const ProjectProgress& progress) {
  const int width = map.Width;
  const int height = map.Height;
  const std::size_t cells = map.Cells.size();
  descriptions.Entries.resize(cells);
  descriptions.DescriptionNodes.resize(cells);
  // A section as this program writes it holds the keys "x,y" of every cell in
  // index order and nothing else: then line i is cell i's, read without a lookup.
  const IniFile::LineList textLines = ini.Lines(DescriptionsSection);
  const IniFile::LineList domainLines = ini.Lines(DomainsSection);
  // rowStep: how many rows each row read here stands for on the progress bar.
  // textsInOrder and domainsInOrder turn false at the first surprise.
  const auto readRows = [&](int from, int to, int rowStep, bool& textsInOrder, bool& domainsInOrder) {
    const DescText file = FileText(ini);
    textsInOrder = textLines.Size() == cells;
    domainsInOrder = domainLines.Size() == cells;
    for (int y = from; y < to; ++y) {
      for (int x = 0; x < width; ++x) {
        const std::size_t cell = x + static_cast<std::size_t>(y) * width;
        TDescItem& item = descriptions.Entries[cell];
        item.Terrain = map.GetTerrain(x, y);
        item.MoveTo(x, y);
        const CellKey key(x, y);
        textsInOrder = textsInOrder && textLines.Key(cell) == key.text;
        if (textsInOrder) StoreText(item.Text, textLines.Value(cell), file);
        domainsInOrder = domainsInOrder && domainLines.Key(cell) == key.text;
        if (domainsInOrder) StoreDomain(item.Domain, domainLines.Value(cell));
      }
      if (rowStep > 0) Report(progress, LoadingLabel, height, (y - from) * rowStep);
    }
  };
  bool textsInOrder[2] = {true, true}, domainsInOrder[2] = {true, true};
  if (height < 2 || !WorthASecondThread(cells, ThreadedCells)) {
    readRows(0, height, 1, textsInOrder[0], domainsInOrder[0]);
  } else {
    const int middle = height / 2;
    RunBeside([&] { readRows(middle, height, 0, textsInOrder[1], domainsInOrder[1]); },
              [&] { readRows(0, middle, 2, textsInOrder[0], domainsInOrder[0]); });
  }
  // Anything else, from a file edited by hand or by another program: every key looked up.
  const auto lookUp = [&](std::string_view section, const auto& store) {
    IniFile::SectionReader reader = ini.ReadSection(section);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) store(x + static_cast<std::size_t>(y) * width, reader.FindWhole(CellKey(x, y).text));
  };
  if (!textsInOrder[0] || !textsInOrder[1])
    lookUp(DescriptionsSection, [&, file = FileText(ini)](std::size_t cell, std::optional<std::string_view> value) {
      StoreText(descriptions.Entries[cell].Text, value, file);
    });
  if (!domainsInOrder[0] || !domainsInOrder[1])
    lookUp(DomainsSection, [&](std::size_t cell, std::optional<std::string_view> value) {
      StoreDomain(descriptions.Entries[cell].Domain, value);
    });
}

// The lines of a section as this program writes it, "x,y=value" for every cell
// in index order, read from its text without making a document of it.
class CellLines {
 public:
  CellLines(std::string_view text, std::size_t from, std::size_t to) : text_(text.substr(0, to)), next_(from) {}

  // The value of the next line, which must be key's entry; nothing otherwise.
  std::optional<std::string_view> Next(std::string_view key) {
    while (next_ < text_.size()) {
      const IniFile::TextLine line = IniFile::ReadLine(text_, next_);
      if (line.kind == IniFile::TextLine::Kind::Blank) continue;
      if (line.kind != IniFile::TextLine::Kind::Entry || line.name.size() != key.size() ||
          !std::equal(key.begin(), key.end(), line.name.begin()))  // short: no library call
        return std::nullopt;
      return line.value;
    }
    return std::nullopt;
  }
  // Whether only blank lines are left.
  bool Finished() {
    while (next_ < text_.size())
      if (IniFile::ReadLine(text_, next_).kind != IniFile::TextLine::Kind::Blank) return false;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t next_;
};

// Where row y's lines start in a section as this program writes it: after the
// line break before "0,y=". The end of the text when there is none.
std::size_t RowStart(std::string_view text, int y) {
  // The rows of the lines rise through the text: halving it on them leaves a
  // short stretch to search. Where they do not, the search finds a later start
  // or none, and the reader then meets a surprise.
  std::size_t low = 0, high = text.size();
  while (high - low > (1u << 16)) {
    const std::size_t lineBreak = text.find('\n', low + (high - low) / 2);
    if (lineBreak == std::string_view::npos || lineBreak >= high) break;
    const std::string_view key = text.substr(lineBreak + 1, 16);
    const std::size_t comma = key.find(',');
    int row = 0;
    if (comma == std::string_view::npos ||
        std::from_chars(key.data() + comma + 1, key.data() + key.size(), row).ec != std::errc())
      break;
    if (row < y) low = lineBreak;
    else high = lineBreak + 1;
  }
  const std::size_t at = text.find("\n0," + std::to_string(y) + "=", low);
  return at == std::string_view::npos ? text.size() : at + 1;
}

// The sections of cells' texts and domains, left out when a project is loaded:
// read from their text, they cost no document of half a million lines.
const std::vector<std::string_view> CellTextSections = {DescriptionsSection, DomainsSection};

// ReadDescriptions from the text of the sections left out. False when they are
// not as this program writes them; the list is then to be read another way.
bool ReadCellTexts(const IniFile& ini, const MapGrid& map, DescriptionList& descriptions,
                   const ProjectProgress& progress) {
  const std::vector<std::string_view> texts = ini.LeftOutText(DescriptionsSection);
  const std::vector<std::string_view> domains = ini.LeftOutText(DomainsSection);
  if (texts.size() != 1 || domains.size() != 1) return false;  // a section missing or repeated
  const int width = map.Width;
  const int height = map.Height;
  const std::size_t cells = map.Cells.size();
  descriptions.Entries.resize(cells);
  descriptions.DescriptionNodes.resize(cells);
  // Rows [from, to) from the lines at textAt and domainAt; rowStep as in ReadDescriptions.
  // Lines after the last cell change nothing: a key looked up finds its first line.
  const auto readRows = [&](int from, int to, std::size_t textAt, std::size_t textEnd, std::size_t domainAt,
                            std::size_t domainEnd, int rowStep) {
    const DescText file = FileText(ini);
    CellLines textLines(texts[0], textAt, textEnd), domainLines(domains[0], domainAt, domainEnd);
    for (int y = from; y < to; ++y) {
      for (int x = 0; x < width; ++x) {
        TDescItem& item = descriptions.Entries[x + static_cast<std::size_t>(y) * width];
        item.Terrain = map.GetTerrain(x, y);
        item.MoveTo(x, y);
        const CellKey key(x, y);
        const std::optional<std::string_view> text = textLines.Next(key.text);
        const std::optional<std::string_view> domain = domainLines.Next(key.text);
        if (!text || !domain) return false;
        StoreText(item.Text, text, file);
        StoreDomain(item.Domain, domain);
      }
      if (rowStep > 0) Report(progress, LoadingLabel, height, (y - from) * rowStep);
    }
    return to == height || (textLines.Finished() && domainLines.Finished());
  };
  const std::size_t textEnd = texts[0].size(), domainEnd = domains[0].size();
  if (height >= 2 && WorthASecondThread(cells, ThreadedCells)) {
    // The lower half on a second thread, from where its first row starts in each section.
    const int middle = height / 2;
    const std::size_t textMiddle = RowStart(texts[0], middle), domainMiddle = RowStart(domains[0], middle);
    if (textMiddle < textEnd && domainMiddle < domainEnd) {
      bool read[2] = {false, false};
      RunBeside([&] { read[1] = readRows(middle, height, textMiddle, textEnd, domainMiddle, domainEnd, 0); },
                [&] { read[0] = readRows(0, middle, 0, textMiddle, 0, domainMiddle, 2); });
      return read[0] && read[1];
    }
  }
  return readRows(0, height, 0, textEnd, 0, domainEnd, 1);
}

// The sections left out as a document of their own, for a file edited by hand
// or by another program: read as any document is.
IniFile CellDocument(const IniFile& ini) {
  std::string text;
  for (std::string_view section : CellTextSections) {
    for (std::string_view lines : ini.LeftOutText(section)) {
      text.append("[").append(section).append("]\r\n").append(lines);
      if (!lines.empty() && lines.back() != '\n' && lines.back() != '\r') text.append("\r\n");
    }
  }
  return IniFile::Parse(text);
}

// The version check and the "Map" section: the size and the terrain.
MapGrid ReadMap(const IniFile& ini) {
  // Character codes compared one by one, so "10" and "2" sort before "2.0".
  const std::string version = ini.ReadString(HeaderSection, "Version", "");
  if (version < ProjectVersion) throw ProjectVersionError();

  const std::int32_t height = ini.ReadInteger(MapSection, "Height", DefaultMapHeight);
  const std::int32_t width = ini.ReadInteger(MapSection, "Width", DefaultMapWidth);
  if (!ValidMapSize(width, height))
    throw Error("The map size " + SizeText(width, height) +
                " in this project file is not supported: width and height must be 1 to 512.");
  MapGrid map;
  map.ResizeMap(width, height);
  for (int y = 0; y < height; ++y) {
    // Cells beyond a short or missing row get 15 (none), like any unknown character.
    const std::optional<std::string_view> value = ini.Find(MapSection, RowKeyName(y));
    for (int x = 0; x < width; ++x)
      map.Cells[x + y * width] = static_cast<TerrainCode>(value && static_cast<std::size_t>(x) < value->size()
                                                              ? TerrainFromHex((*value)[x])
                                                              : NoTerrain);
  }
  return map;
}

// What every save does before the cells: refuse a map that cannot be saved, then
// write the version, the method and the wizard's rows, keys a document may already hold.
void BeginSave(const Project& project, IniFile& ini, const ProjectProgress& progress) {
  const MapGrid& map = project.Map;
  if (!ValidMapSize(map.Width, map.Height))
    throw Error("The map size " + SizeText(map.Width, map.Height) +
                " cannot be saved: width and height must be 1 to 512.");
  Report(progress, SavingLabel, map.Height, 0);
  ini.WriteString(HeaderSection, "Version", ProjectVersion);
  ini.WriteInteger(HeaderSection, "Mode", project.Rows.Mode);
  for (const auto& entry : PlasmaKeys) WriteText(ini, PlasmaSection, entry.key, PlasmaValue(project, entry.row));
  for (const auto& entry : CEvoKeys) WriteText(ini, CEvoSection, entry.key, project.Rows.CEvo.*entry.row);
}

// The sections of cells go either into a document, through its appenders...
struct AppendedSections {
  IniFile& ini;
  IniFile::Appender Begin(std::string_view section, std::size_t keys = 0, std::size_t bytes = 0) {
    return ini.AppendTo(section, keys, bytes);
  }
  // Writes here's sections, then later's: a document is filled in file order.
  template <typename Later, typename Here>
  void Beside(Later&& later, Here&& here) {
    here();
    later(*this);
  }
};

// ...or straight into the file being saved, which spares holding them twice.
struct StreamedSections {
  IniFile::SectionStream& out;
  bool twoThreads = false;
  IniFile::SectionStream& Begin(std::string_view section, std::size_t = 0, std::size_t = 0) {
    out.Begin(section);
    return out;
  }
  // The same order in the file; later's sections are made in memory on a second thread meanwhile.
  template <typename Later, typename Here>
  void Beside(Later&& later, Here&& here) {
    if (!twoThreads) {
      here();
      return later(*this);
    }
    std::string text;
    IniFile::SectionStream memory(text);
    RunBeside(
        [&] {
          later(StreamedSections{memory});
          memory.Flush();
        },
        here);
    out.Put(text);
  }
};

// The sections written afresh on every save, in their order in the file.
template <typename Sections>
void WriteCells(const Project& project, Sections sections, const ProjectProgress& progress) {
  const MapGrid& map = project.Map;
  const std::size_t cells = map.Cells.size();
  {
    auto&& lines = sections.Begin(MapSection, map.Height + 2, cells + map.Height * 4 + 16);
    lines.AddInteger("Width", map.Width);
    lines.AddInteger("Height", map.Height);
    std::string row(map.Width, '0');
    for (int y = 0; y < map.Height; ++y) {
      for (int x = 0; x < map.Width; ++x) row[x] = HexDigits[map.GetTerrain(x, y)];
      lines.Add(RowKeyName(y), row);
    }
  }

  if (project.Descriptions.Empty()) return;
  const auto writeDomains = [&](auto domainSections) {
    auto&& lines = domainSections.Begin(DomainsSection, cells, cells * 12);
    for (int y = 0; y < map.Height; ++y)
      for (int x = 0; x < map.Width; ++x) {
        const TDescItem* item = project.CellDescription(x, y);
        lines.AddInteger(CellKey(x, y).text, item ? item->Domain : 0);
      }
  };
  sections.Beside(writeDomains, [&] {
    // Room for a short text and its key per cell; longer texts make the buffer grow.
    auto&& lines = sections.Begin(DescriptionsSection, cells, cells * 48);
    // A list shorter than the map (never made by the editor) falls back to the defaults.
    for (int y = 0; y < map.Height; ++y) {
      for (int x = 0; x < map.Width; ++x) {
        const TDescItem* item = project.CellDescription(x, y);
        AppendText(lines, CellKey(x, y).text, item ? std::string_view(item->Text) : TerrainNames[map.GetTerrain(x, y)]);
      }
      Report(progress, SavingLabel, map.Height, y);
    }
  });
  const auto& slots = project.Domains.Slots;
  const auto colored = [&](int n) { return slots[n].Color != 0; };
  const auto named = [&](int n) { return !slots[n].Name.empty(); };
  const auto writeColors = [&] {
    auto&& lines = sections.Begin(DomainColorsSection);
    for (int n = 0; n < DomainCount; ++n)
      if (colored(n)) lines.AddInteger(std::to_string(n), slots[n].Color);
  };
  const auto writeNames = [&] {
    auto&& lines = sections.Begin(DomainNamesSection);
    for (int n = 0; n < DomainCount; ++n)
      if (named(n)) AppendText(lines, std::to_string(n), slots[n].Name);
  };
  // Each section stands where its first entry came in the one pass over the
  // domains that files were always written with: a domain's colour before its name.
  int firstColor = DomainCount, firstName = DomainCount;
  for (int n = DomainCount - 1; n >= 0; --n) {
    if (colored(n)) firstColor = n;
    if (named(n)) firstName = n;
  }
  if (firstName < firstColor) {
    writeNames();
    if (firstColor < DomainCount) writeColors();
  } else {
    if (firstColor < DomainCount) writeColors();
    if (firstName < DomainCount) writeNames();
  }
}

}  // namespace

void WriteProject(const Project& project, IniFile& ini, const ProjectProgress& progress) {
  BeginSave(project, ini, progress);
  for (std::string_view section : ReplacedSections) ini.EraseSection(section);
  WriteCells(project, AppendedSections{ini}, progress);
}

void ReadProject(const IniFile& ini, Project& project, const ProjectProgress& progress) {
  MapGrid map = ReadMap(ini);
  const int height = map.Height;
  GeneratorRows rows = project.Rows;
  rows.Mode = ini.ReadInteger(HeaderSection, "Mode", 0);
  Report(progress, LoadingLabel, height, 0);

  for (const auto& entry : PlasmaKeys) rows.Plasma.*entry.row = ReadText(ini, PlasmaSection, entry.key, entry.fallback);
  for (const auto& entry : CEvoKeys) rows.CEvo.*entry.row = ReadText(ini, CEvoSection, entry.key, entry.fallback);

  DescriptionList descriptions;
  const bool cellsLeftOut =
      !ini.LeftOutText(DescriptionsSection).empty() || !ini.LeftOutText(DomainsSection).empty();
  if (!cellsLeftOut || !ReadCellTexts(ini, map, descriptions, progress)) {
    descriptions = DescriptionList();
    std::optional<IniFile> cellDocument;
    if (cellsLeftOut) cellDocument = CellDocument(ini);
    const IniFile& cellIni = cellDocument ? *cellDocument : ini;
    if (cellIni.HasKeys(DescriptionsSection)) {
      ReadDescriptions(cellIni, map, descriptions, progress);
    } else {
      BuildDefaultDescriptions(descriptions, map);
    }
  }

  DomainTable domains;
  domains.ResetDomains();
  for (int n = 0; n < DomainCount; ++n) {
    const std::string key = std::to_string(n);
    domains.Slots[n].Color = ini.ReadInteger(DomainColorsSection, key, 0);
    domains.Slots[n].Name = ReadText(ini, DomainNamesSection, key, "");
  }

  // Everything was read: only now does the open project change.
  project.Map = std::move(map);
  project.Descriptions = std::move(descriptions);
  project.Domains = std::move(domains);
  project.Rows = std::move(rows);
}

void WriteProjectFile(const Project& project, const std::string& fileName, const ProjectProgress& progress) {
  IniFile ini;
  try {
    ini = IniFile::LoadIfExists(fileName, MaxProjectFileBytes, ReplacedSections);
  } catch (const Error&) {
    // Without the old content its foreign sections would be lost on replacing it.
    std::error_code ec;
    throw Error(FormatMessage("Unable to write to %s", fileName) + ": " +
                (std::filesystem::is_directory(fileName, ec) ? std::strerror(EISDIR) : "the file cannot be read"));
  }
  BeginSave(project, ini, progress);
  // The sections of cells were left out on loading and are written straight into the file.
  ini.Save(fileName, "Unable to write to %s",
           [&](IniFile::SectionStream& out) {
             const bool twoThreads = WorthASecondThread(project.Map.Cells.size(), ThreadedCells);
             WriteCells(project, StreamedSections{out, twoThreads}, progress);
           });
}

void SaveProject(Project& project, const std::string& fileName, const ProjectProgress& progress) {
  WriteProjectFile(project, fileName, progress);
  project.ProjectSaved = true;
  project.ProjectFileName = fileName;
}

void LoadProject(Project& project, const std::string& fileName, const ProjectProgress& progress) {
  // A text and a domain per cell take about four times their bytes in the file:
  // memory made ready beyond that would be cleared for nothing.
  ReserveForReading(fileName, 4);
  try {
    ReadProject(IniFile::Load(fileName, MaxProjectFileBytes, CellTextSections), project, progress);
  } catch (const std::bad_alloc&) {
    ThrowOutOfMemory(fileName);
  }
  project.ProjectFileName = fileName;
}

void LoadProjectTerrain(Project& project, const std::string& fileName) {
  ReserveForReading(fileName, 1);
  try {
    // The sections of cells but the map's own are not even parsed.
    project.Map = ReadMap(IniFile::Load(fileName, MaxProjectFileBytes, CellSections));
  } catch (const std::bad_alloc&) {
    ThrowOutOfMemory(fileName);
  }
  project.ProjectFileName = fileName;
}

}  // namespace mireforge
