#pragma once
// Resource libraries for tests: a minimal PE32 image assembled byte by byte
// (so the reader is tested without any outside tool, and fields can be
// corrupted one at a time), and real DLLs linked by the mingw-w64 binutils.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace mireforge::testing {

// Offsets of the hand-built image's fields, for corrupting them.
namespace handmade {
inline constexpr std::size_t PeOffsetField = 0x3C;
inline constexpr std::size_t PeHeader = 0x40;
inline constexpr std::size_t SectionCount = PeHeader + 6;
inline constexpr std::size_t Optional = PeHeader + 24;
inline constexpr std::size_t ResourceRva = Optional + 96 + 2 * 8;
inline constexpr std::size_t SectionTable = Optional + 224;
inline constexpr std::size_t SectionRawOffset = SectionTable + 20;
inline constexpr std::size_t Resources = 0x200;        // file offset of the resource directory, RVA 0x1000
inline constexpr std::size_t RootEntryTarget = Resources + 0x14;
inline constexpr std::size_t TypeIdCount = Resources + 0x18 + 14;
inline constexpr std::size_t NameLength = Resources + 0x68;
inline constexpr std::size_t NameEntryData = Resources + 0x80;  // data entry of "14_19": RVA, size
inline constexpr std::size_t IdEntryData = Resources + 0x90;    // data entry of number 20
}  // namespace handmade

inline void Put16(std::string& b, std::size_t at, std::uint32_t v) {
  b[at] = char(v & 0xFF);
  b[at + 1] = char((v >> 8) & 0xFF);
}
inline void Put32(std::string& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

// A PE32 DLL with one section holding RCDATA "14_19" = "hello" and RCDATA 20 = "ABCD".
inline std::string HandmadeLibrary() {
  using namespace handmade;
  std::string b(0x400, '\0');
  b[0] = 'M';
  b[1] = 'Z';
  Put32(b, PeOffsetField, PeHeader);
  b.replace(PeHeader, 4, std::string("PE\0\0", 4));
  Put16(b, PeHeader + 4, 0x14C);
  Put16(b, SectionCount, 1);
  Put16(b, PeHeader + 20, 224);
  Put16(b, PeHeader + 22, 0x2102);
  Put16(b, Optional, 0x10B);
  Put32(b, Optional + 92, 16);
  Put32(b, ResourceRva, 0x1000);
  Put32(b, ResourceRva + 4, 0xC0);
  b.replace(SectionTable, 5, ".rsrc");
  Put32(b, SectionTable + 8, 0xC0);
  Put32(b, SectionTable + 12, 0x1000);
  Put32(b, SectionTable + 16, 0x200);
  Put32(b, SectionRawOffset, Resources);
  const std::size_t r = Resources;
  Put16(b, r + 14, 1);  // root: one id entry, RCDATA
  Put32(b, r + 0x10, 10);
  Put32(b, r + 0x14, 0x80000018);
  Put16(b, r + 0x18 + 12, 1);  // type directory: one named, one id entry
  Put16(b, r + 0x18 + 14, 1);
  Put32(b, r + 0x28, 0x80000068);
  Put32(b, r + 0x2C, 0x80000038);
  Put32(b, r + 0x30, 20);
  Put32(b, r + 0x34, 0x80000050);
  Put16(b, r + 0x38 + 14, 1);  // language directories
  Put32(b, r + 0x48, 0x409);
  Put32(b, r + 0x4C, 0x80);
  Put16(b, r + 0x50 + 14, 1);
  Put32(b, r + 0x60, 0x409);
  Put32(b, r + 0x64, 0x90);
  Put16(b, r + 0x68, 5);
  const std::string name = "14_19";
  for (std::size_t i = 0; i < name.size(); ++i) Put16(b, r + 0x6A + 2 * i, std::uint8_t(name[i]));
  Put32(b, r + 0x80, 0x10A0);
  Put32(b, r + 0x84, 5);
  Put32(b, r + 0x90, 0x10B0);
  Put32(b, r + 0x94, 4);
  b.replace(r + 0xA0, 5, "hello");
  b.replace(r + 0xB0, 4, "ABCD");
  return b;
}

struct MingwTarget {
  const char* Prefix;  // "x86_64-w64-mingw32" links PE32+, "i686-w64-mingw32" PE32
};

inline bool MingwAvailable(const MingwTarget& target) {
  const std::string probe = std::string("command -v ") + target.Prefix + "-windres >/dev/null 2>&1 && command -v " +
                            target.Prefix + "-ld >/dev/null 2>&1";
  return std::system(probe.c_str()) == 0;
}

// Writes each (resource name, bytes) pair to a file in folder, compiles an .rc
// listing them as RCDATA and links a resource-only DLL; returns its path, or
// an empty string when a tool failed. Names may be numbers or names.
inline std::string BuildMingwLibrary(const MingwTarget& target, const std::string& folder,
                                     const std::vector<std::pair<std::string, std::string>>& resources) {
  std::ofstream rc(folder + "/pictures.rc", std::ios::binary);
  for (std::size_t i = 0; i < resources.size(); ++i) {
    const std::string file = "res" + std::to_string(i) + ".bin";
    std::ofstream(folder + "/" + file, std::ios::binary) << resources[i].second;
    const bool number = resources[i].first.find_first_not_of("0123456789") == std::string::npos;
    rc << (number ? resources[i].first : "\"" + resources[i].first + "\"") << " RCDATA " << file << "\n";
  }
  rc.close();
  // No C preprocessor comes with the binutils, and the .rc needs none.
  const std::string dll = folder + "/" + target.Prefix + ".dll";
  const std::string command = "cd '" + folder + "' && " + target.Prefix +
                              "-windres --preprocessor=cat pictures.rc -O coff -o pictures.res && " + target.Prefix +
                              "-ld --dll -e 0 -o '" + dll + "' pictures.res";
  return std::system(command.c_str()) == 0 ? dll : std::string();
}

}  // namespace mireforge::testing
