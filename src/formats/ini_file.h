#pragma once
// An INI document with the Windows profile conventions the project file and the
// preferences rely on: "[name]" sections and "key=value" entries, names compared
// without regard to ASCII case, CR LF line ends, single-byte text. Sections keep
// the order in which they first appeared; whatever the program does not touch
// (foreign sections, foreign keys, lines without "=") is written back as it was.
//
// Values round-trip exactly: a value with leading or trailing blanks, or one that
// is itself enclosed in double quotes, is written inside one more pair of double
// quotes, and reading strips one enclosing pair. Line breaks cannot be stored in a
// value and are written as blanks.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mireforge {

// A whole-text integer: optional sign, then decimal digits, or hexadecimal digits
// after "0x" or "$"; nothing else around it. Decimal must fit 32 bits signed,
// hexadecimal 32 bits unsigned (so "$FFFFFFFF" is -1).
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

class IniFile {
 public:
  static IniFile Parse(std::string_view bytes);
  std::string Serialize() const;

  // "Cannot open file %s" when the file cannot be read.
  static IniFile Load(const std::string& path);
  // An empty document when the file does not exist; a file that exists but cannot
  // be read still fails, so a later Save cannot silently drop its content.
  static IniFile LoadIfExists(const std::string& path);
  // Replaces the file atomically; Error with failureMessage (its %s the path).
  void Save(const std::string& path, const std::string& failureMessage = "Unable to write to %s") const;

  bool SectionExists(std::string_view section) const;
  bool KeyExists(std::string_view section, std::string_view key) const;
  // Section names as written, in file order.
  std::vector<std::string> SectionNames() const;
  // Key names as written, in file order (lines without "=" are not keys).
  std::vector<std::string> KeyNames(std::string_view section) const;
  std::size_t KeyCount(std::string_view section) const;

  // The stored value, or nullptr; valid until the document is next changed.
  const std::string* Find(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  // A value that is missing or not a number (see ParseIniInteger) gives the fallback.
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const;
  // Written as 1 or 0; any non-zero number reads as true.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

  // A missing section is appended at the end; a missing key at the end of its section.
  // Section names must not hold "]" or line breaks, keys neither "=" nor line breaks
  // nor a leading "[", and neither may have blanks at either end (they are program
  // constants; std::invalid_argument otherwise).
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, long long value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  void EraseSection(std::string_view section);
  void DeleteKey(std::string_view section, std::string_view key);

 private:
  // Case-insensitive (ASCII) hashing and equality, usable with string_view lookups.
  struct FoldHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const;
  };
  struct FoldEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  using NameIndex = std::unordered_map<std::string, std::size_t, FoldHash, FoldEqual>;

  struct Line {
    std::string key;  // the whole line verbatim when raw
    std::string value;
    bool raw = false;  // no "=", or a key repeated in its section (kept, never read)
  };
  struct Section {
    std::string name;
    std::vector<Line> lines;
    NameIndex keys;
  };

  const Section* FindSection(std::string_view name) const;
  Section& SectionForWrite(std::string_view name);
  void RebuildSectionIndex();
  static void ReindexKeys(Section& section);

  std::vector<std::string> preamble_;  // lines before the first section
  std::vector<Section> sections_;
  NameIndex sectionIndex_;
};

}  // namespace mireforge
