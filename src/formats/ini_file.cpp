#include "formats/ini_file.h"

#include <filesystem>
#include <stdexcept>

#include "formats/file_io.h"
#include "model/descriptions.h"

namespace mireforge {

namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool Enclosed(std::string_view text) { return text.size() >= 2 && text.front() == '"' && text.back() == '"'; }

// Blanks at the ends would be trimmed and an enclosing pair stripped on reading,
// so such values get one more pair of quotes.
bool NeedsQuotes(std::string_view value) {
  return !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) || Enclosed(value));
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

void CheckSectionName(std::string_view name) {
  if (HasLineBreak(name) || name.find(']') != std::string_view::npos || Trim(name).size() != name.size())
    throw std::invalid_argument("invalid INI section name: " + std::string(name));
}

void CheckKeyName(std::string_view key) {
  if (key.empty() || HasLineBreak(key) || key.find('=') != std::string_view::npos || key.front() == '[' ||
      Trim(key).size() != key.size())
    throw std::invalid_argument("invalid INI key: " + std::string(key));
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  unsigned base = 10;
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  } else if (!text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t value = 0;
  for (char c : text) {
    unsigned digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && Fold(c) >= 'a' && Fold(c) <= 'f') digit = Fold(c) - 'a' + 10;
    else return std::nullopt;
    value = value * base + digit;
    if (value > limit) return std::nullopt;
  }
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  if (negative) bits = 0u - bits;
  return static_cast<std::int32_t>(bits);
}

std::size_t IniFile::FoldHash::operator()(std::string_view text) const {
  std::size_t hash = 14695981039346656037ull;  // FNV-1a over the folded bytes
  for (char c : text) hash = (hash ^ static_cast<unsigned char>(Fold(c))) * 1099511628211ull;
  return hash;
}

bool IniFile::FoldEqual::operator()(std::string_view a, std::string_view b) const {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

IniFile IniFile::Parse(std::string_view bytes) {
  IniFile ini;
  Section* current = nullptr;
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", at);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(at, end - at);
    at = end;
    if (at < bytes.size() && bytes[at] == '\r') ++at;
    if (at < bytes.size() && bytes[at] == '\n' && (at == end || bytes[at - 1] == '\r')) ++at;

    const std::string_view trimmed = Trim(line);
    if (trimmed.empty()) continue;
    if (trimmed.front() == '[') {
      std::string_view name = trimmed.substr(1);
      name = Trim(name.substr(0, name.find(']')));
      // A repeated section joins the first one: Windows reads only the first, and
      // erasing or rewriting it must not bring stale lines of the other to light.
      current = &ini.SectionForWrite(name);
      continue;
    }
    const std::size_t equals = trimmed.find('=');
    const std::string_view key = equals == std::string_view::npos ? std::string_view() : Trim(trimmed.substr(0, equals));
    if (!current) {
      ini.preamble_.emplace_back(line);
      continue;
    }
    if (key.empty() || current->keys.find(key) != current->keys.end()) {
      current->lines.push_back(Line{std::string(line), {}, true});
      continue;
    }
    std::string_view value = Trim(trimmed.substr(equals + 1));
    if (Enclosed(value)) value = value.substr(1, value.size() - 2);
    current->keys.emplace(std::string(key), current->lines.size());
    current->lines.push_back(Line{std::string(key), std::string(value), false});
  }
  return ini;
}

std::string IniFile::Serialize() const {
  std::size_t size = 0;
  for (const std::string& line : preamble_) size += line.size() + 2;
  for (const Section& section : sections_) {
    size += section.name.size() + 4;
    for (const Line& line : section.lines) size += line.key.size() + line.value.size() + 5;
  }
  std::string out;
  out.reserve(size);
  for (const std::string& line : preamble_) out.append(line).append("\r\n");
  for (const Section& section : sections_) {
    out.append("[").append(section.name).append("]\r\n");
    for (const Line& line : section.lines) {
      out.append(line.key);
      if (!line.raw) {
        out += '=';
        if (NeedsQuotes(line.value)) out.append("\"").append(line.value).append("\"");
        else out.append(line.value);
      }
      out.append("\r\n");
    }
  }
  return out;
}

IniFile IniFile::Load(const std::string& path) { return Parse(ReadWholeFile(path)); }

IniFile IniFile::LoadIfExists(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) && !ec) return IniFile();
  return Load(path);
}

void IniFile::Save(const std::string& path, const std::string& failureMessage) const {
  WriteWholeFile(path, Serialize(), failureMessage);
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
  const auto found = sectionIndex_.find(name);
  return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

IniFile::Section& IniFile::SectionForWrite(std::string_view name) {
  const auto found = sectionIndex_.find(name);
  if (found != sectionIndex_.end()) return sections_[found->second];
  sectionIndex_.emplace(std::string(name), sections_.size());
  sections_.push_back(Section{std::string(name), {}, {}});
  return sections_.back();
}

void IniFile::RebuildSectionIndex() {
  sectionIndex_.clear();
  for (std::size_t i = 0; i < sections_.size(); ++i) sectionIndex_.emplace(sections_[i].name, i);
}

void IniFile::ReindexKeys(Section& section) {
  section.keys.clear();
  for (std::size_t i = 0; i < section.lines.size(); ++i)
    if (!section.lines[i].raw) section.keys.emplace(section.lines[i].key, i);
}

bool IniFile::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

bool IniFile::KeyExists(std::string_view section, std::string_view key) const {
  return Find(section, key) != nullptr;
}

std::vector<std::string> IniFile::SectionNames() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const Section& section : sections_) names.push_back(section.name);
  return names;
}

std::vector<std::string> IniFile::KeyNames(std::string_view section) const {
  std::vector<std::string> names;
  if (const Section* found = FindSection(section))
    for (const Line& line : found->lines)
      if (!line.raw) names.push_back(line.key);
  return names;
}

std::size_t IniFile::KeyCount(std::string_view section) const {
  const Section* found = FindSection(section);
  return found ? found->keys.size() : 0;
}

const std::string* IniFile::Find(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  if (!found) return nullptr;
  const auto line = found->keys.find(key);
  return line == found->keys.end() ? nullptr : &found->lines[line->second].value;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  const std::string* value = Find(section, key);
  return value ? *value : std::string(fallback);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const {
  const std::string* value = Find(section, key);
  if (!value) return fallback;
  return ParseIniInteger(*value).value_or(fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  CheckSectionName(section);
  CheckKeyName(key);
  Section& target = SectionForWrite(section);
  std::string stored = HasLineBreak(value) ? CleanDescription(value) : std::string(value);
  const auto found = target.keys.find(key);
  if (found != target.keys.end()) {
    target.lines[found->second].value = std::move(stored);
    return;
  }
  target.keys.emplace(std::string(key), target.lines.size());
  target.lines.push_back(Line{std::string(key), std::move(stored), false});
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, long long value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniFile::EraseSection(std::string_view section) {
  const auto found = sectionIndex_.find(section);
  if (found == sectionIndex_.end()) return;
  sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(found->second));
  RebuildSectionIndex();
}

void IniFile::DeleteKey(std::string_view section, std::string_view key) {
  const auto found = sectionIndex_.find(section);
  if (found == sectionIndex_.end()) return;
  Section& target = sections_[found->second];
  const auto line = target.keys.find(key);
  if (line == target.keys.end()) return;
  target.lines.erase(target.lines.begin() + static_cast<std::ptrdiff_t>(line->second));
  ReindexKeys(target);
}

}  // namespace mireforge
