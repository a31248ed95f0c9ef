#pragma once
// The RCDATA resources of a Windows resource library (a PE32 or PE32+ ".dll"),
// read portably from the file's bytes, so a library made for Windows works on
// any system. Every offset and size in the file is checked before use.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace mireforge {

class PeResources {
 public:
  // Parses the resource directory. A file that is not a PE image, or whose
  // resource directory is damaged, gives Error "<name> is not a valid resource
  // library: <reason>". A library without resources is valid and empty.
  static PeResources Parse(std::string bytes, const std::string& name);
  // Reads and parses a file; "Cannot open file %s" when it cannot be read.
  // The library is refused when larger than MaxLibraryFileBytes.
  static constexpr std::uint64_t MaxLibraryFileBytes = 256ull * 1024 * 1024;
  static PeResources Load(const std::string& path);

  // The bytes of RCDATA resource number id, or nothing.
  std::optional<std::span<const unsigned char>> RcData(int id) const;
  // The bytes of the RCDATA resource with that name (ASCII letters compare
  // without case, as Windows does), or nothing.
  std::optional<std::span<const unsigned char>> RcData(std::string_view name) const;

  std::size_t Count() const { return byId_.size() + byName_.size(); }

 private:
  struct Extent {
    std::size_t Offset;
    std::size_t Size;
  };
  std::optional<std::span<const unsigned char>> View(const Extent& extent) const;

  std::string bytes_;
  std::map<int, Extent> byId_;
  std::map<std::string, Extent> byName_;  // names upper-cased
};

}  // namespace mireforge
