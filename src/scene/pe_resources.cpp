#include "scene/pe_resources.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/file_io.h"
#include "base/error.h"

namespace mireforge {

namespace {

constexpr std::uint16_t Pe32Magic = 0x10B;
constexpr std::uint16_t Pe32PlusMagic = 0x20B;
constexpr int ResourceDirectoryIndex = 2;
constexpr std::uint32_t RcDataType = 10;
constexpr std::uint32_t HighBit = 0x80000000u;
constexpr std::size_t SectionHeaderSize = 40;
constexpr std::size_t DirectoryHeaderSize = 16;
constexpr std::size_t DirectoryEntrySize = 8;
constexpr std::size_t DataEntrySize = 16;
constexpr std::size_t MaxNameLength = 256;

struct Damaged {
  const char* Reason;
};

// Bounds-checked little-endian reads over the whole file.
class Bytes {
 public:
  explicit Bytes(const std::string& bytes) : data_(bytes) {}
  std::size_t Size() const { return data_.size(); }
  bool Has(std::size_t offset, std::size_t length) const {
    return offset <= data_.size() && length <= data_.size() - offset;
  }
  std::uint16_t U16(std::size_t offset, const char* reason) const {
    if (!Has(offset, 2)) throw Damaged{reason};
    return static_cast<std::uint16_t>(Byte(offset) | Byte(offset + 1) << 8);
  }
  std::uint32_t U32(std::size_t offset, const char* reason) const {
    if (!Has(offset, 4)) throw Damaged{reason};
    return static_cast<std::uint32_t>(Byte(offset)) | static_cast<std::uint32_t>(Byte(offset + 1)) << 8 |
           static_cast<std::uint32_t>(Byte(offset + 2)) << 16 | static_cast<std::uint32_t>(Byte(offset + 3)) << 24;
  }

 private:
  unsigned Byte(std::size_t offset) const { return static_cast<unsigned char>(data_[offset]); }
  const std::string& data_;
};

struct Section {
  std::uint32_t VirtualAddress;
  std::uint32_t VirtualSize;
  std::uint32_t RawSize;
  std::uint32_t RawOffset;
};

// The resource directory's bytes: everything in it is addressed relative to
// its start, except the data entries, which hold image addresses.
class ResourceWalker {
 public:
  ResourceWalker(const Bytes& file, std::vector<Section> sections, std::uint32_t rootRva)
      : file_(file), sections_(std::move(sections)) {
    root_ = FileOffset(rootRva, DirectoryHeaderSize, "the resource directory lies outside the file");
    rootRva_ = rootRva;
  }

  std::size_t FileOffset(std::uint64_t rva, std::uint64_t length, const char* reason) const {
    for (const Section& s : sections_) {
      const std::uint64_t start = s.VirtualAddress;
      // Only bytes both stored in the file and inside the section's size belong to it.
      const std::uint64_t stored = s.VirtualSize ? std::min(s.VirtualSize, s.RawSize) : s.RawSize;
      if (rva >= start && rva - start <= stored && length <= stored - (rva - start)) {
        const std::uint64_t offset = s.RawOffset + (rva - start);
        if (!file_.Has(offset, length)) throw Damaged{reason};
        return static_cast<std::size_t>(offset);
      }
    }
    throw Damaged{reason};
  }

  // The file offset of a directory or entry given relative to the resource root.
  std::size_t Relative(std::uint32_t offset, std::size_t length, const char* reason) const {
    return FileOffset(static_cast<std::uint64_t>(rootRva_) + offset, length, reason);
  }

  struct Entry {
    std::uint32_t NameOrId;
    std::uint32_t Target;
  };

  // The entries of a directory, at most limit of them.
  std::vector<Entry> Directory(std::size_t at, std::size_t limit = SIZE_MAX) const {
    const std::size_t total = std::size_t{file_.U16(at + 12, Truncated)} + file_.U16(at + 14, Truncated);
    const std::size_t count = std::min(total, limit);
    if (!file_.Has(at + DirectoryHeaderSize, count * DirectoryEntrySize))
      throw Damaged{"a resource directory runs past the end of the file"};
    std::vector<Entry> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t e = at + DirectoryHeaderSize + i * DirectoryEntrySize;
      entries.push_back({file_.U32(e, Truncated), file_.U32(e + 4, Truncated)});
    }
    return entries;
  }

  std::size_t Subdirectory(const Entry& entry) const {
    if (!(entry.Target & HighBit)) throw Damaged{"a resource directory entry does not lead to a directory"};
    return Relative(entry.Target & ~HighBit, DirectoryHeaderSize, "a resource directory lies outside the file");
  }

  // The name of an entry, upper-cased; names outside ASCII are kept as '?'.
  // Nothing is looked up by a long name, so those are skipped unread.
  std::optional<std::string> Name(const Entry& entry) const {
    const std::size_t at = Relative(entry.NameOrId & ~HighBit, 2, "a resource name lies outside the file");
    const std::size_t length = file_.U16(at, Truncated);
    if (length > MaxNameLength) return std::nullopt;
    Relative((entry.NameOrId & ~HighBit), 2 + 2 * length, "a resource name runs past the end of the file");
    std::string name;
    name.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
      const std::uint16_t c = file_.U16(at + 2 + 2 * i, Truncated);
      name += c < 0x80 ? static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c) : '?';
    }
    return name;
  }

  std::size_t Root() const { return root_; }

  static constexpr const char* Truncated = "the resource directory is truncated";

 private:
  const Bytes& file_;
  std::vector<Section> sections_;
  std::size_t root_ = 0;
  std::uint32_t rootRva_ = 0;
};

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return upper;
}

}  // namespace

PeResources PeResources::Parse(std::string bytes, const std::string& name) {
  PeResources result;
  result.bytes_ = std::move(bytes);
  const Bytes file(result.bytes_);
  try {
    if (file.Size() < 64 || result.bytes_[0] != 'M' || result.bytes_[1] != 'Z')
      throw Damaged{"it has no MZ header"};
    const std::size_t pe = file.U32(0x3C, "it has no PE header");
    if (!file.Has(pe, 24) || result.bytes_.compare(pe, 4, std::string("PE\0\0", 4)) != 0)
      throw Damaged{"it has no PE header"};
    const std::size_t sectionCount = file.U16(pe + 6, "the PE header is truncated");
    const std::size_t optionalSize = file.U16(pe + 20, "the PE header is truncated");
    const std::size_t optional = pe + 24;
    if (!file.Has(optional, optionalSize)) throw Damaged{"the optional header is truncated"};
    const std::uint16_t magic = file.U16(optional, "the optional header is truncated");
    std::size_t countAt, directoriesAt;
    if (magic == Pe32Magic) {
      countAt = 92;
      directoriesAt = 96;
    } else if (magic == Pe32PlusMagic) {
      countAt = 108;
      directoriesAt = 112;
    } else {
      throw Damaged{"its optional header is neither PE32 nor PE32+"};
    }
    if (optionalSize < countAt + 4) throw Damaged{"the optional header is truncated"};
    const std::uint32_t directoryCount = file.U32(optional + countAt, "the optional header is truncated");
    const std::size_t resourceAt = directoriesAt + ResourceDirectoryIndex * 8;
    if (directoryCount <= ResourceDirectoryIndex || optionalSize < resourceAt + 8) return result;
    const std::uint32_t resourceRva = file.U32(optional + resourceAt, "the optional header is truncated");
    if (resourceRva == 0) return result;

    const std::size_t sectionsAt = optional + optionalSize;
    if (!file.Has(sectionsAt, sectionCount * SectionHeaderSize)) throw Damaged{"the section table is truncated"};
    std::vector<Section> sections;
    const char* Table = "the section table is truncated";
    for (std::size_t i = 0; i < sectionCount; ++i) {
      const std::size_t s = sectionsAt + i * SectionHeaderSize;
      sections.push_back({file.U32(s + 12, Table), file.U32(s + 8, Table), file.U32(s + 16, Table),
                          file.U32(s + 20, Table)});
    }

    const ResourceWalker walker(file, std::move(sections), resourceRva);
    // Entries may share subdirectories, so only one RCDATA directory and one
    // language per resource are read: the work stays linear in the file's size.
    for (const auto& type : walker.Directory(walker.Root())) {
      if ((type.NameOrId & HighBit) || type.NameOrId != RcDataType) continue;
      for (const auto& resource : walker.Directory(walker.Subdirectory(type))) {
        const auto languages = walker.Directory(walker.Subdirectory(resource), 1);
        if (languages.empty()) continue;
        // One picture per resource: the first language wins.
        if (languages.front().Target & HighBit) throw Damaged{"a resource has a directory where its data belongs"};
        const std::size_t entry = walker.Relative(languages.front().Target, DataEntrySize,
                                                  "a resource data entry lies outside the file");
        const std::uint32_t dataRva = file.U32(entry, ResourceWalker::Truncated);
        const std::uint32_t size = file.U32(entry + 4, ResourceWalker::Truncated);
        const Extent extent{walker.FileOffset(dataRva, size, "a resource's data lies outside the file"), size};
        if (!(resource.NameOrId & HighBit))
          result.byId_.emplace(static_cast<int>(resource.NameOrId & 0xFFFF), extent);
        else if (std::optional<std::string> resourceName = walker.Name(resource))
          result.byName_.emplace(std::move(*resourceName), extent);
      }
      break;
    }
  } catch (const Damaged& damaged) {
    throw Error(name + " is not a valid resource library: " + damaged.Reason);
  }
  return result;
}

PeResources PeResources::Load(const std::string& path) { return Parse(ReadWholeFile(path, MaxLibraryFileBytes), path); }

std::optional<std::span<const unsigned char>> PeResources::View(const Extent& extent) const {
  return std::span<const unsigned char>(reinterpret_cast<const unsigned char*>(bytes_.data()) + extent.Offset,
                                        extent.Size);
}

std::optional<std::span<const unsigned char>> PeResources::RcData(int id) const {
  const auto it = byId_.find(id);
  if (it == byId_.end()) return std::nullopt;
  return View(it->second);
}

std::optional<std::span<const unsigned char>> PeResources::RcData(std::string_view name) const {
  const auto it = byName_.find(UpperAscii(name));
  if (it == byName_.end()) return std::nullopt;
  return View(it->second);
}

}  // namespace mireforge
