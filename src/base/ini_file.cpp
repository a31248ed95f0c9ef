#include "base/ini_file.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <new>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/file_io.h"
#include "base/run_beside.h"
#include "base/text_encoding.h"
#include "base/error.h"

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

// Runs over every byte of a 15 MB project, so it looks at 16 bytes at a time
// where it can. (find_first_of with a set calls memchr per character.)
std::size_t LineBreakAt(std::string_view text, std::size_t from) {
  std::size_t i = from;
#if defined(__SSE2__)
  const __m128i returns = _mm_set1_epi8('\r'), newlines = _mm_set1_epi8('\n');
  for (; i + 16 <= text.size(); i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
    const int found = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, returns), _mm_cmpeq_epi8(bytes, newlines)));
    if (found != 0) return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(found)));
  }
#endif
  for (; i < text.size(); ++i)
    if (text[i] == '\r' || text[i] == '\n') return i;
  return std::string_view::npos;
}

bool HasLineBreak(std::string_view text) { return LineBreakAt(text, 0) != std::string_view::npos; }

constexpr std::string_view Mark = "\xEF\xBB\xBF";

bool StartsWithMark(std::string_view text) {
  return text.size() >= 3 && text[0] == Mark[0] && text[1] == Mark[1] && text[2] == Mark[2];
}

// The start of the first line at or after from (a line start) that opens a
// section: "[" after optional blanks, or after a UTF-8 mark and blanks, as the
// parser reads it. Jumps from "[" to "[" instead of reading every line of a
// section that is left out.
std::size_t NextSectionLine(std::string_view bytes, std::size_t from) {
  for (std::size_t at = from;; ++at) {
    at = bytes.find('[', at);
    if (at == std::string_view::npos) return bytes.size();
    std::size_t start = at;
    while (start > from && IsBlank(bytes[start - 1])) --start;
    if (start >= from + Mark.size() && bytes.substr(start - Mark.size(), Mark.size()) == Mark) start -= Mark.size();
    if (start == from || bytes[start - 1] == '\r' || bytes[start - 1] == '\n') return start;
  }
}

void CheckSectionName(std::string_view name) {
  if (HasLineBreak(name) || name.find(']') != std::string_view::npos || Trim(name).size() != name.size())
    throw std::invalid_argument("invalid INI section name: " + std::string(name));
}

// Whether any byte of word equals any byte of pattern (all eight bytes alike).
bool HasByte(std::uint64_t word, std::uint64_t pattern) {
  constexpr std::uint64_t ones = 0x0101010101010101ull;
  const std::uint64_t equal = word ^ pattern;
  return ((equal - ones) & ~equal & (ones << 7)) != 0;
}

// Whether key holds "=" or a line break.
bool HasKeyBreak(std::string_view key) {
  if (key.size() > 8) return key.find_first_of("=\r\n") != std::string_view::npos;
  // Half a million keys of a few bytes come through here on a save: looked at in one word.
  std::uint64_t word = 0;
  std::memcpy(&word, key.data(), key.size());
  return HasByte(word, 0x3D3D3D3D3D3D3D3Dull) || HasByte(word, 0x0D0D0D0D0D0D0D0Dull) ||
         HasByte(word, 0x0A0A0A0A0A0A0A0Aull);
}

void CheckKeyName(std::string_view key) {
  if (key.empty() || key.front() == '[' || IsBlank(key.front()) || IsBlank(key.back()) || StartsWithMark(key) ||
      HasKeyBreak(key))
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

namespace {

// The table's hash: the folded FNV-1a, mixed so that its upper half is well spread.
std::uint32_t KeyHash(std::string_view key) {
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : key) hash = (hash ^ static_cast<unsigned char>(Fold(c))) * 1099511628211ull;
  hash ^= hash >> 29;
  hash *= 0xBF58476D1CE4E5B9ull;
  return static_cast<std::uint32_t>(hash >> 32);
}

}  // namespace

std::size_t IniFile::KeyIndex::Find(const IniFile& ini, const std::vector<Line>& lines, std::string_view key) const {
  if (count_ == 0) return None;
  const std::uint32_t hash = KeyHash(key);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const std::uint64_t slot = slots_[i];
    if (slot == 0) return None;
    const std::size_t line = static_cast<std::uint32_t>(slot) - 1u;
    if (static_cast<std::uint32_t>(slot >> 32) == hash && FoldEqual{}(ini.View(lines[line].key), key)) return line;
  }
}

std::size_t IniFile::KeyIndex::FindOrAdd(const IniFile& ini, const std::vector<Line>& lines, std::string_view key,
                                         std::size_t newLine) {
  if ((count_ + 1) * 2 > slots_.size()) Grow(slots_.size() * 2);
  return Place(ini, lines, key, KeyHash(key), newLine);
}

std::size_t IniFile::KeyIndex::Place(const IniFile& ini, const std::vector<Line>& lines, std::string_view key,
                                     std::uint32_t hash, std::size_t newLine) {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const std::uint64_t slot = slots_[i];
    if (slot == 0) {
      slots_[i] = (static_cast<std::uint64_t>(hash) << 32) | static_cast<std::uint32_t>(newLine + 1);
      ++count_;
      return None;
    }
    const std::size_t line = static_cast<std::uint32_t>(slot) - 1u;
    if (static_cast<std::uint32_t>(slot >> 32) == hash && FoldEqual{}(ini.View(lines[line].key), key)) return line;
  }
}

void IniFile::KeyIndex::Grow(std::size_t wanted) {
  std::size_t size = 16;
  while (size < wanted) size *= 2;
  std::vector<std::uint64_t> old(size, 0);
  old.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (std::uint64_t slot : old) {
    if (slot == 0) continue;
    std::size_t i = static_cast<std::uint32_t>(slot >> 32) & mask;
    while (slots_[i] != 0) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

void IniFile::KeyIndex::Rebuild(const IniFile& ini, std::vector<Line>& lines) {
  std::vector<std::uint32_t> keyLines;
  std::vector<std::uint32_t> hashes;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].raw) continue;
    keyLines.push_back(static_cast<std::uint32_t>(i));
    hashes.push_back(KeyHash(ini.View(lines[i].key)));
  }
  slots_.clear();
  count_ = 0;
  Grow(keyLines.size() * 2);  // at most half full, as FindOrAdd keeps it
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t k = 0; k < keyLines.size(); ++k) {
#if defined(__GNUC__) || defined(__clang__)
    // The slots are visited at random: ask for them a few keys ahead so the misses overlap.
    if (k + 8 < hashes.size()) __builtin_prefetch(&slots_[hashes[k + 8] & mask]);
#endif
    Line& line = lines[keyLines[k]];
    // The first of a repeated key wins, as Windows reads it; the others are kept as plain lines.
    if (Place(ini, lines, ini.View(line.key), hashes[k], keyLines[k]) != None) {
      line.raw = true;
      line.key = ini.ParsedLineAround(line.key);
    }
  }
}

bool IniFile::InBuffer(std::string_view text) const {
  const std::less<const char*> before;
  const auto within = [&](std::string_view buffer) {
    return !before(text.data(), buffer.data()) && before(text.data(), buffer.data() + buffer.size());
  };
  return !text.empty() && (within(Parsed()) || within(written_));
}

IniFile::Text IniFile::Store(std::string_view text) {
  const std::size_t offset = parsedSize_ + written_.size();
  if (text.size() > UINT32_MAX - offset) throw std::length_error("INI text too long");
  const Text stored{static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(text.size())};
  written_.append(text);
  return stored;
}

IniFile IniFile::Parse(std::string_view input, const std::vector<std::string_view>& leaveOut) {
  auto owned = std::make_shared<const std::string>(input);
  const std::string_view bytes = *owned;
  return ParseShared({std::move(owned), bytes}, leaveOut);
}

// Builds the document from its lines in file order.
class IniFile::DocumentBuilder {
 public:
  DocumentBuilder(IniFile& ini, const std::vector<std::string_view>& leaveOut) : ini_(ini), leaveOut_(leaveOut) {}

  // Whether the section's lines are left out (the parser then jumps over them).
  bool Header(std::string_view name) {
    if (std::any_of(leaveOut_.begin(), leaveOut_.end(), [&](std::string_view out) { return FoldEqual{}(out, name); }))
      return true;
    // A repeated section joins the first one: Windows reads only the first, and
    // erasing or rewriting it must not bring stale lines of the other to light.
    ini_.SectionForWrite(name);
    section_ = ini_.lastSection_;
    return false;
  }
  void LeftOut(std::string_view name, Text text) { ini_.leftOut_.emplace_back(std::string(name), text); }
  // whole: the line as it stands, kept as such before the first section.
  void Add(Text whole, const Line& line) {
    if (section_ == KeyIndex::None) ini_.preamble_.push_back(whole);
    else ini_.sections_[section_].lines.push_back(line);
  }
  void AddAll(const std::vector<Line>& lines) {
    std::vector<Line>& into = ini_.sections_[section_].lines;
    into.insert(into.end(), lines.begin(), lines.end());
  }
  bool InSection() const { return section_ != KeyIndex::None; }

 private:
  IniFile& ini_;
  const std::vector<std::string_view>& leaveOut_;
  std::size_t section_ = KeyIndex::None;
};

// The lines of a part of the text parsed beside the rest: those before its first
// header belong to whatever the rest ends in, so each is kept both ways.
struct IniFile::Part {
  std::vector<Text> leadWhole;
  std::vector<Line> lead;
  std::vector<std::pair<std::string_view, std::vector<Line>>> sections;

  bool Header(std::string_view name) {  // parts are parsed only when nothing is left out
    sections.emplace_back(name, std::vector<Line>());
    return false;
  }
  void LeftOut(std::string_view, Text) {}
  void Add(Text whole, const Line& line) {
    if (!sections.empty()) return sections.back().second.push_back(line);
    leadWhole.push_back(whole);
    lead.push_back(line);
  }
  void AppendTo(DocumentBuilder& document) const {
    if (document.InSection()) {
      document.AddAll(lead);
    } else {
      for (std::size_t i = 0; i < lead.size(); ++i) document.Add(leadWhole[i], lead[i]);
    }
    for (const auto& [name, lines] : sections) {
      document.Header(name);
      document.AddAll(lines);
    }
  }
};

IniFile::TextLine IniFile::ReadLine(std::string_view text, std::size_t& next) {
  std::size_t end = LineBreakAt(text, next);
  if (end == std::string_view::npos) end = text.size();
  const std::string_view line = text.substr(next, end - next);
  next = end;
  if (next < text.size() && text[next] == '\r') ++next;
  if (next < text.size() && text[next] == '\n' && (next == end || text[next - 1] == '\r')) ++next;

  // A text editor may have put a UTF-8 mark in front, which would hide the first
  // section; ignored at the start of any line, so that where a line ends up in
  // the written file does not change what it is.
  const std::string_view trimmed = Trim(line.substr(StartsWithMark(line) ? 3 : 0));
  if (trimmed.empty()) return {TextLine::Kind::Blank, line, {}, {}};
  if (trimmed.front() == '[') {
    const std::string_view name = trimmed.substr(1);
    return {TextLine::Kind::Section, line, Trim(name.substr(0, name.find(']'))), {}};
  }
  // Keys are short: a loop finds the "=" sooner than a library call.
  std::size_t equals = 0;
  while (equals < trimmed.size() && trimmed[equals] != '=') ++equals;
  const std::string_view key = equals == trimmed.size() ? std::string_view() : Trim(trimmed.substr(0, equals));
  // A key behind a mark could not be written back as one.
  if (key.empty() || StartsWithMark(key)) return {TextLine::Kind::Other, line, {}, {}};
  std::string_view value = Trim(trimmed.substr(equals + 1));
  if (Enclosed(value)) value = value.substr(1, value.size() - 2);
  return {TextLine::Kind::Entry, line, key, value};
}

template <typename Builder>
void IniFile::ParseRange(std::size_t from, std::size_t to, Builder& out) const {
  const std::string_view bytes = Parsed().substr(0, to);
  const auto at = [&](std::string_view part) {
    return Text{static_cast<std::uint32_t>(part.data() - bytes.data()), static_cast<std::uint32_t>(part.size())};
  };
  std::size_t next = from;
  while (next < bytes.size()) {
    const TextLine line = ReadLine(bytes, next);
    switch (line.kind) {
      case TextLine::Kind::Blank:
        break;
      case TextLine::Kind::Section:
        if (out.Header(line.name)) {  // left out: its lines are jumped over
          const std::size_t end = NextSectionLine(bytes, next);
          out.LeftOut(line.name, at(bytes.substr(next, end - next)));
          next = end;
        }
        break;
      case TextLine::Kind::Other:
        out.Add(at(line.whole), Line{at(line.whole), {}, true});
        break;
      case TextLine::Kind::Entry:
        out.Add(at(line.whole), Line{at(line.name), at(line.value), false});
        break;
    }
  }
}

namespace {

// Below this a second thread costs more than it saves.
constexpr std::size_t ParsedBesideBytes = 1 << 20;

// How many of bytes[from, to) are line feeds, 16 at a time where it can.
std::size_t LineFeeds(std::string_view bytes, std::size_t from, std::size_t to) {
  std::size_t count = 0;
  std::size_t i = from;
#if defined(__SSE2__)
  // Counted per byte lane for up to 255 rounds, then summed across the lanes.
  const __m128i newlines = _mm_set1_epi8('\n'), zero = _mm_setzero_si128();
  while (i + 16 <= to) {
    __m128i lanes = zero;
    for (int round = 0; round < 255 && i + 16 <= to; ++round, i += 16) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i));
      lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(chunk, newlines));
    }
    const __m128i sums = _mm_sad_epu8(lanes, zero);
    count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4));
  }
#endif
  for (; i < to; ++i) count += bytes[i] == '\n';
  return count;
}

// A line start that leaves about half the lines on either side: lines, not
// bytes, are what parsing costs, and a project's descriptions are long lines
// where its domains are short ones. The middle byte for text without line feeds.
std::size_t LineStartNearMiddle(std::string_view bytes) {
  constexpr std::size_t Block = 1 << 16;
  std::vector<std::size_t> counts;
  std::size_t total = 0;
  for (std::size_t from = 0; from < bytes.size(); from += Block) {
    counts.push_back(LineFeeds(bytes, from, std::min(bytes.size(), from + Block)));
    total += counts.back();
  }
  std::size_t from = bytes.size() / 2;
  if (total > 0) {
    std::size_t seen = 0, block = 0;
    while (seen + counts[block] < total / 2) seen += counts[block++];
    from = block * Block;
  }
  std::size_t at = LineBreakAt(bytes, from);
  if (at == std::string_view::npos) return bytes.size();
  if (bytes[at] == '\r') ++at;
  if (at < bytes.size() && bytes[at] == '\n') ++at;
  return at;
}

}  // namespace

IniFile IniFile::ParseShared(SharedBytes input, const std::vector<std::string_view>& leaveOut) {
  if (input.bytes.size() > UINT32_MAX) throw std::length_error("INI text too long");
  IniFile ini;
  ini.parsed_ = std::move(input);
  const std::size_t size = ini.parsedSize_ = ini.parsed_.bytes.size();
  DocumentBuilder document(ini, leaveOut);
  // A whole project is read in two halves at once; a reader that leaves sections
  // out jumps over most of the text and is better off alone.
  if (leaveOut.empty() && WorthASecondThread(size, ParsedBesideBytes)) {
    const std::size_t middle = LineStartNearMiddle(ini.Parsed());
    Part second;
    RunBeside([&] { ini.ParseRange(middle, size, second); }, [&] { ini.ParseRange(0, middle, document); });
    second.AppendTo(document);
  } else {
    ini.ParseRange(0, size, document);
  }
  // Keys are indexed when first looked up: a reader that finds them in the order
  // it expects (see Lines) never needs the index.
  for (Section& parsed : ini.sections_) parsed.keysStale = parsed.unchecked = true;
  return ini;
}

IniFile::Text IniFile::ParsedLineAround(Text key) const {
  if (key.offset >= parsedSize_) return key;
  const std::string_view bytes = Parsed().substr(0, parsedSize_);
  std::size_t start = key.offset;
  while (start > 0 && bytes[start - 1] != '\r' && bytes[start - 1] != '\n') --start;
  std::size_t end = LineBreakAt(bytes, key.offset);
  if (end == std::string_view::npos) end = bytes.size();
  return Text{static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end - start)};
}

template <typename Sink>
void IniFile::SerializeTo(Sink&& out) const {
  for (Text line : preamble_) {
    out(View(line));
    out("\r\n");
  }
  for (const Section& section : sections_) {
    if (section.unchecked) Keys(section);  // a repeated key is written back as the line it was
    out("[");
    out(section.name);
    out("]\r\n");
    for (const Line& line : section.lines) {
      out(View(line.key));
      if (!line.raw) {
        out("=");
        const std::string_view value = View(line.value);
        if (NeedsQuotes(value)) {
          out("\"");
          out(value);
          out("\"");
        } else {
          out(value);
        }
      }
      out("\r\n");
    }
  }
}

std::string IniFile::Serialize() const {
  std::size_t size = 0;
  for (Text line : preamble_) size += line.size + 2;
  for (const Section& section : sections_) {
    size += section.name.size() + 4;
    for (const Line& line : section.lines) size += line.key.size + line.value.size + 5;
  }
  std::string out;
  out.reserve(size);
  SerializeTo([&out](std::string_view piece) { out.append(piece); });
  return out;
}

IniFile IniFile::Load(const std::string& path, std::uint64_t maxBytes, const std::vector<std::string_view>& leaveOut) {
  SharedBytes bytes = ReadWholeFileShared(path, maxBytes);
  try {
    return ParseShared(std::move(bytes), leaveOut);
  } catch (const std::bad_alloc&) {
    ThrowOutOfMemory(path);
  }
}

IniFile IniFile::LoadIfExists(const std::string& path, std::uint64_t maxBytes,
                              const std::vector<std::string_view>& leaveOut) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) && !ec) return IniFile();
  return Load(path, maxBytes, leaveOut);
}

void IniFile::Save(const std::string& path, const std::string& failureMessage) const {
  Save(path, failureMessage, {});
}

void IniFile::Save(const std::string& path, const std::string& failureMessage,
                   const std::function<void(SectionStream&)>& more) const {
  AtomicFile file(path, failureMessage);
  SectionStream out(file);
  SerializeTo([&](std::string_view piece) { out.Put(piece); });
  if (more) more(out);
  out.Flush();
  file.Commit();
}

IniFile::SectionStream::SectionStream(AtomicFile& file) : file_(&file), buffer_(new char[Capacity]) {}

IniFile::SectionStream::SectionStream(std::string& into) : file_(nullptr), memory_(&into), buffer_(new char[Capacity]) {}

void IniFile::SectionStream::Put(std::string_view piece) {
  if (used_ + piece.size() > Capacity) {
    Flush();
    if (piece.size() > Capacity) return file_ ? file_->Write(piece) : static_cast<void>(memory_->append(piece));
  }
  std::memcpy(buffer_.get() + used_, piece.data(), piece.size());
  used_ += piece.size();
}

void IniFile::SectionStream::Flush() {
  if (file_) file_->Write(buffer_.get(), used_);
  else memory_->append(buffer_.get(), used_);
  used_ = 0;
}

void IniFile::SectionStream::Begin(std::string_view section) {
  CheckSectionName(section);
  Put("[");
  Put(section);
  Put("]\r\n");
}

void IniFile::SectionStream::Add(std::string_view key, std::string_view value) {
  CheckKeyName(key);
  std::string cleaned;
  if (HasLineBreak(value)) value = cleaned = CleanDescription(value);
  const std::string_view quote = NeedsQuotes(value) ? "\"" : "";
  const std::size_t size = key.size() + value.size() + 2 * quote.size() + 3;
  if (used_ + size > Capacity) {
    Flush();
    if (size > Capacity) {
      for (std::string_view piece : {key, std::string_view("="), quote, value, quote, std::string_view("\r\n")})
        Put(piece);
      return;
    }
  }
  // Half a million lines come through here: copied in one go, no check per piece.
  char* out = buffer_.get() + used_;
  std::memcpy(out, key.data(), key.size());
  out += key.size();
  *out++ = '=';
  if (!quote.empty()) *out++ = '"';
  std::memcpy(out, value.data(), value.size());
  out += value.size();
  if (!quote.empty()) *out++ = '"';
  *out++ = '\r';
  *out = '\n';
  used_ += size;
}

void IniFile::SectionStream::AddInteger(std::string_view key, long long value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  Add(key, std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
  if (lastRead_ < sections_.size() && FoldEqual{}(sections_[lastRead_].name, name)) return &sections_[lastRead_];
  const auto found = sectionIndex_.find(name);
  if (found == sectionIndex_.end()) return nullptr;
  lastRead_ = found->second;
  return &sections_[found->second];
}

IniFile::Section& IniFile::SectionForWrite(std::string_view name) {
  if (lastSection_ < sections_.size() && FoldEqual{}(sections_[lastSection_].name, name)) return sections_[lastSection_];
  const auto found = sectionIndex_.find(name);
  if (found != sectionIndex_.end()) return sections_[lastSection_ = found->second];
  lastSection_ = sections_.size();
  sectionIndex_.emplace(std::string(name), sections_.size());
  sections_.push_back(Section{std::string(name), {}, {}});
  return sections_.back();
}

void IniFile::RebuildSectionIndex() {
  sectionIndex_.clear();
  for (std::size_t i = 0; i < sections_.size(); ++i) sectionIndex_.emplace(sections_[i].name, i);
}

bool IniFile::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

bool IniFile::KeyExists(std::string_view section, std::string_view key) const {
  return Find(section, key).has_value();
}

std::vector<std::string> IniFile::SectionNames() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const Section& section : sections_) names.push_back(section.name);
  return names;
}

std::vector<std::string> IniFile::KeyNames(std::string_view section) const {
  std::vector<std::string> names;
  const Section* found = FindSection(section);
  if (!found) return names;
  Keys(*found);  // a repeated key is not listed twice
  for (const Line& line : found->lines)
    if (!line.raw) names.emplace_back(View(line.key));
  return names;
}

bool IniFile::HasKeys(std::string_view section) const {
  // A line turns raw for a repeated key only when an earlier line holds the key.
  const Section* found = FindSection(section);
  return found && std::any_of(found->lines.begin(), found->lines.end(), [](const Line& line) { return !line.raw; });
}

IniFile::LineList IniFile::Lines(std::string_view section) const {
  const Section* found = FindSection(section);
  return found ? LineList(*this, found->lines.data(), found->lines.size()) : LineList(*this, nullptr, 0);
}

std::optional<std::string_view> IniFile::LineList::Key(std::size_t i) const {
  if (lines_[i].raw) return std::nullopt;
  return ini_->View(lines_[i].key);
}

std::string_view IniFile::LineList::Value(std::size_t i) const { return ini_->View(lines_[i].value); }

std::vector<std::string_view> IniFile::LeftOutText(std::string_view section) const {
  std::vector<std::string_view> texts;
  for (const auto& [name, text] : leftOut_)
    if (FoldEqual{}(name, section)) texts.push_back(View(text));
  return texts;
}

std::size_t IniFile::KeyCount(std::string_view section) const {
  const Section* found = FindSection(section);
  return found ? Keys(*found).Size() : 0;
}

std::optional<std::string_view> IniFile::Find(std::string_view section, std::string_view key) const {
  std::optional<std::string_view> value = FindWhole(section, key);
  if (value) *value = value->substr(0, MaxValueLength);
  return value;
}

std::optional<std::string_view> IniFile::FindWhole(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  if (!found) return std::nullopt;
  return FindIn(*found, found->nextLine, key);
}

std::optional<std::string_view> IniFile::FindIn(const Section& section, std::size_t& next, std::string_view key) const {
  const KeyIndex& keys = Keys(section);  // first, so that a repeated key is raw
  // Readers mostly go through a section in file order: try the line after the last hit first.
  std::size_t line = next;
  if (line >= section.lines.size() || section.lines[line].raw || !FoldEqual{}(View(section.lines[line].key), key)) {
    line = keys.Find(*this, section.lines, key);
    if (line == KeyIndex::None) return std::nullopt;
  }
  next = line + 1;
  return View(section.lines[line].value);
}

IniFile::SectionReader IniFile::ReadSection(std::string_view section) const {
  const Section* found = FindSection(section);
  if (found) Keys(*found);  // indexed now, so that readers on other threads only read
  return SectionReader(*this, found);
}

std::optional<std::string_view> IniFile::SectionReader::FindWhole(std::string_view key) {
  if (!section_) return std::nullopt;
  return ini_->FindIn(*section_, next_, key);
}

std::int32_t IniFile::SectionReader::ReadInteger(std::string_view key, std::int32_t fallback) {
  const std::optional<std::string_view> value = FindWhole(key);
  return value ? ParseIniInteger(value->substr(0, MaxValueLength)).value_or(fallback) : fallback;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  return std::string(Find(section, key).value_or(fallback));
}

std::string IniFile::ReadWholeString(std::string_view section, std::string_view key, std::string_view fallback) const {
  return std::string(FindWhole(section, key).value_or(fallback));
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const {
  const std::optional<std::string_view> value = Find(section, key);
  return value ? ParseIniInteger(*value).value_or(fallback) : fallback;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  // A view from Find would dangle once the buffer grows.
  if (InBuffer(key) || InBuffer(value)) return WriteString(section, std::string(key), std::string(value));
  CheckSectionName(section);
  CheckKeyName(key);
  Section& target = SectionForWrite(section);
  const Text stored = HasLineBreak(value) ? Store(CleanDescription(value)) : Store(value);
  Keys(target);
  const std::size_t found = target.keys.FindOrAdd(*this, target.lines, key, target.lines.size());
  if (found != KeyIndex::None) {
    target.lines[found].value = stored;  // the old text stays unused in the buffer
    return;
  }
  target.lines.push_back(Line{Store(key), stored, false});
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, long long value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  WriteString(section, key, std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

void IniFile::AppendString(std::string_view section, std::string_view key, std::string_view value) {
  AppendTo(section).Add(key, value);
}

void IniFile::AppendInteger(std::string_view section, std::string_view key, long long value) {
  AppendTo(section).AddInteger(key, value);
}

IniFile::Appender IniFile::AppendTo(std::string_view section, std::size_t keys, std::size_t bytes) {
  CheckSectionName(section);
  Section& target = SectionForWrite(section);
  target.lines.reserve(target.lines.size() + keys);
  written_.reserve(written_.size() + bytes);
  return Appender(*this, lastSection_);
}

void IniFile::Appender::Add(std::string_view key, std::string_view value) {
  if (ini_.InBuffer(key) || ini_.InBuffer(value)) return Add(std::string(key), std::string(value));
  CheckKeyName(key);
  Section& target = ini_.sections_[section_];
  const Text storedKey = ini_.Store(key);
  const Text stored = HasLineBreak(value) ? ini_.Store(CleanDescription(value)) : ini_.Store(value);
  target.lines.push_back(Line{storedKey, stored, false});
  target.keysStale = true;
}

void IniFile::Appender::AddInteger(std::string_view key, long long value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  Add(key, std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

const IniFile::KeyIndex& IniFile::Keys(const Section& section) const {
  if (section.keysStale) {
    // Appended keys are distinct, so this only indexes them: the document stays the same.
    section.keys.Rebuild(*this, const_cast<std::vector<Line>&>(section.lines));
    section.keysStale = section.unchecked = false;
  }
  return section.keys;
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
  const std::size_t line = Keys(target).Find(*this, target.lines, key);
  if (line == KeyIndex::None) return;
  target.lines.erase(target.lines.begin() + static_cast<std::ptrdiff_t>(line));
  target.keys.Rebuild(*this, target.lines);
}

}  // namespace mireforge
