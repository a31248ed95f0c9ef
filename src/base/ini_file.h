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
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/file_io.h"

namespace mireforge {

class AtomicFile;

// A whole-text integer: optional sign, then decimal digits, or hexadecimal digits
// after "0x" or "$"; nothing else around it. Decimal must fit 32 bits signed,
// hexadecimal 32 bits unsigned (so "$FFFFFFFF" is -1).
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

class IniFile {
 public:
  // Sections named in leaveOut are left out as if erased (see Load).
  static IniFile Parse(std::string_view bytes, const std::vector<std::string_view>& leaveOut = {});
  std::string Serialize() const;

  // "Cannot open file %s" when the file cannot be read; maxBytes is the largest
  // valid file of its kind, and anything that is not a regular file is refused
  // (see ReadWholeFile). Sections named in leaveOut are left out as if erased,
  // sparing their parsing to a writer that replaces them anyway.
  static IniFile Load(const std::string& path, std::uint64_t maxBytes, const std::vector<std::string_view>& leaveOut = {});
  // An empty document when the file does not exist; a file that exists but cannot
  // be read still fails, so a later Save cannot silently drop its content.
  static IniFile LoadIfExists(const std::string& path, std::uint64_t maxBytes,
                              const std::vector<std::string_view>& leaveOut = {});
  // Replaces the file atomically; Error with failureMessage (its %s the path).
  void Save(const std::string& path, const std::string& failureMessage = "Unable to write to %s") const;

  // Sections written straight into the file after the document's own: for
  // content too large to be worth holding as lines first (a project's half a
  // million cells). The text is what AppendTo and Save would give for sections
  // the document does not hold.
  class SectionStream {
   public:
    // A stream into memory: sections made on another thread, then Put into the file.
    explicit SectionStream(std::string& into);
    SectionStream(const SectionStream&) = delete;
    SectionStream& operator=(const SectionStream&) = delete;

    // Opens the next section; the keys that follow must be distinct.
    void Begin(std::string_view section);
    void Add(std::string_view key, std::string_view value);
    void AddInteger(std::string_view key, long long value);
    // Text as it stands: sections made by a stream into memory.
    void Put(std::string_view piece);
    // Hands on what is buffered: a stream into memory has its text only after this.
    void Flush();

   private:
    friend class IniFile;
    explicit SectionStream(AtomicFile& file);
    // Through a small buffer: a project's text is 15 MB, not worth a copy of its own.
    static constexpr std::size_t Capacity = 1 << 16;
    AtomicFile* file_;
    std::string* memory_ = nullptr;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
  };
  void Save(const std::string& path, const std::string& failureMessage,
            const std::function<void(SectionStream&)>& more) const;

  bool SectionExists(std::string_view section) const;
  bool KeyExists(std::string_view section, std::string_view key) const;
  // Section names as written, in file order.
  std::vector<std::string> SectionNames() const;
  // Key names as written, in file order (lines without "=" are not keys).
  std::vector<std::string> KeyNames(std::string_view section) const;
  std::size_t KeyCount(std::string_view section) const;
  // Whether the section holds a key (KeyCount > 0 without indexing the keys).
  bool HasKeys(std::string_view section) const;

  // The text of each occurrence of a section left out on loading, in file order:
  // for a reader that reads a large section in its own way (see ReadLine).
  std::vector<std::string_view> LeftOutText(std::string_view section) const;
  // All the text parsed, which such views lie in: kept, it keeps them valid.
  const SharedBytes& ParsedText() const { return parsed_; }

  // One line of INI text, read as documents read it.
  struct TextLine {
    enum class Kind { Blank, Section, Other, Entry };
    Kind kind = Kind::Blank;
    std::string_view whole;  // the line as it stands, without its line break
    std::string_view name;   // a section's name, an entry's key
    std::string_view value;  // an entry's value, its enclosing quotes taken off
  };
  // Reads the line of text that starts at next, and moves next past its line break.
  static TextLine ReadLine(std::string_view text, std::size_t& next);

  // Reading a value gives at most its first MaxValueLength characters, as Windows
  // profile reading does; longer values stay whole in the document.
  static constexpr std::size_t MaxValueLength = 2047;

  // The stored value, cut to MaxValueLength, valid until the document is next changed.
  // Reads remember their place (reading in file order is fast), so one document
  // must not be read from two threads at once.
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;
  // The whole value: only for texts this program writes itself and needs whole
  // (file paths), and for readers that cut the text themselves.
  std::optional<std::string_view> FindWhole(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  std::string ReadWholeString(std::string_view section, std::string_view key, std::string_view fallback) const;
  // A value that is missing or not a number (see ParseIniInteger) gives the fallback.
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const;
  // Written as 1 or 0; any non-zero number reads as true.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

 private:
  struct Section;

 public:
  // Reads one section with a place of its own, fastest in file order. Readers of
  // one document, opened on one thread, may then read on several threads at once
  // while the document does not change.
  class SectionReader {
   public:
    std::optional<std::string_view> FindWhole(std::string_view key);
    std::int32_t ReadInteger(std::string_view key, std::int32_t fallback);

   private:
    friend class IniFile;
    SectionReader(const IniFile& ini, const Section* section) : ini_(&ini), section_(section) {}
    const IniFile* ini_;
    const Section* section_;  // nullptr: the section is missing and reads as empty
    std::size_t next_ = 0;
  };
  SectionReader ReadSection(std::string_view section) const;

 private:
  struct Line;

 public:
  // The lines of one section in file order as they were read, repeated keys and
  // lines without "=" included: for a reader that knows the keys it expects in
  // order. Finding each where expected, it needs no lookup; on any surprise it
  // must fall back to the lookups above. Valid while the document does not change.
  class LineList {
   public:
    std::size_t Size() const { return size_; }
    // Line i's key, or nothing for a line without "=".
    std::optional<std::string_view> Key(std::size_t i) const;
    // Line i's whole value (see FindWhole).
    std::string_view Value(std::size_t i) const;

   private:
    friend class IniFile;
    LineList(const IniFile& ini, const Line* lines, std::size_t size) : ini_(&ini), lines_(lines), size_(size) {}
    const IniFile* ini_;
    const Line* lines_;
    std::size_t size_;
  };
  LineList Lines(std::string_view section) const;

  // A missing section is appended at the end; a missing key at the end of its section.
  // Section names must not hold "]" or line breaks, keys neither "=" nor line breaks
  // nor a leading "[", and neither may have blanks at either end (they are program
  // constants; std::invalid_argument otherwise).
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, long long value);
  // Appends key=value at the end of the section without looking for the key:
  // for a section written afresh (after EraseSection) whose keys the caller
  // knows to be distinct (and not yet in it), as a project's half a million cells.
  void AppendString(std::string_view section, std::string_view key, std::string_view value);
  void AppendInteger(std::string_view section, std::string_view key, long long value);

  // AppendString for many keys of one section, which is found and checked once.
  // No other write may come while an appender is in use.
  class Appender {
   public:
    void Add(std::string_view key, std::string_view value);
    void AddInteger(std::string_view key, long long value);

   private:
    friend class IniFile;
    Appender(IniFile& ini, std::size_t section) : ini_(ini), section_(section) {}
    IniFile& ini_;
    std::size_t section_;
  };
  // Makes room for keys more keys holding bytes more bytes, to spare regrowing.
  Appender AppendTo(std::string_view section, std::size_t keys = 0, std::size_t bytes = 0);
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

  // Texts live in two buffers (the parsed bytes, then whatever is written), so a
  // project's half a million entries cost no allocation each.
  struct Text {
    std::uint32_t offset = 0;  // the two never pass 4 GB together (see Store)
    std::uint32_t size = 0;
  };
  struct Line {
    Text key;  // the whole line verbatim when raw
    Text value;
    bool raw = false;  // no "=", or a key repeated in its section (kept, never read)
  };

  // The keys of one section: an open-addressing table of (hash, line number).
  // A flat table keeps a lookup to about one cache miss.
  class KeyIndex {
   public:
    static constexpr std::size_t None = static_cast<std::size_t>(-1);
    // The line holding key, or None.
    std::size_t Find(const IniFile& ini, const std::vector<Line>& lines, std::string_view key) const;
    // Like Find; when the key is missing, records it as line newLine and returns None.
    std::size_t FindOrAdd(const IniFile& ini, const std::vector<Line>& lines, std::string_view key, std::size_t newLine);
    // Indexes every key line anew; a key met before in the section turns raw.
    void Rebuild(const IniFile& ini, std::vector<Line>& lines);
    std::size_t Size() const { return count_; }

   private:
    void Grow(std::size_t wanted);
    // Finds or records a key; the table must have room.
    std::size_t Place(const IniFile& ini, const std::vector<Line>& lines, std::string_view key, std::uint32_t hash,
                      std::size_t newLine);
    std::vector<std::uint64_t> slots_;  // hash in the high half, line + 1 in the low half; 0 is free
    std::size_t count_ = 0;
  };

  struct Section {
    std::string name;
    std::vector<Line> lines;
    mutable KeyIndex keys;        // use Keys(): parsed and appended keys are indexed on the next lookup
    mutable bool keysStale = false;
    mutable bool unchecked = false;  // parsed, and a repeated key not yet made raw
    mutable std::size_t nextLine = 0;  // where the next read in file order will be
  };

  static IniFile ParseShared(SharedBytes bytes, const std::vector<std::string_view>& leaveOut);
  // Where parsed lines go: the document itself, or a part parsed beside it.
  class DocumentBuilder;
  struct Part;
  // Parses parsed_'s bytes from one line start to another into out.
  template <typename Builder>
  void ParseRange(std::size_t from, std::size_t to, Builder& out) const;
  // The line of key in section, trying next (the line after the last hit) first.
  std::optional<std::string_view> FindIn(const Section& section, std::size_t& next, std::string_view key) const;
  // Hands the text to out piece by piece.
  template <typename Sink>
  void SerializeTo(Sink&& out) const;  // takes the bytes over instead of copying them
  const Section* FindSection(std::string_view name) const;
  const KeyIndex& Keys(const Section& section) const;
  Section& SectionForWrite(std::string_view name);
  void RebuildSectionIndex();
  std::string_view View(Text text) const {
    return text.offset < parsedSize_ ? Parsed().substr(text.offset, text.size)
                                     : std::string_view(written_).substr(text.offset - parsedSize_, text.size);
  }
  Text Store(std::string_view text);
  bool InBuffer(std::string_view text) const;
  // The whole line around a parsed key, as it was read; key itself otherwise.
  Text ParsedLineAround(Text key) const;

  std::string_view Parsed() const { return parsed_.bytes; }

  SharedBytes parsed_;  // the text parsed, never changed
  std::size_t parsedSize_ = 0;  // its size
  // Texts written since, counted on from the parsed ones: apart, so that writing
  // a few keys into a large file's document never copies its text.
  std::string written_;
  std::vector<Text> preamble_;  // lines before the first section
  std::vector<Section> sections_;
  std::vector<std::pair<std::string, Text>> leftOut_;  // sections left out on loading, and their text
  std::unordered_map<std::string, std::size_t, FoldHash, FoldEqual> sectionIndex_;
  std::size_t lastSection_ = 0;  // writes come in runs into one section
  mutable std::size_t lastRead_ = 0;  // and so do reads
};

}  // namespace mireforge
