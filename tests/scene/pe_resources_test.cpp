#include "scene/pe_resources.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "base/error.h"
#include "scene/resource_library_builder.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

using namespace testing;

std::string Text(std::optional<std::span<const unsigned char>> bytes) {
  if (!bytes) return "<missing>";
  return std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size());
}

TEST(PeResources, HandmadeLibraryFindsResourcesByNumberAndName) {
  const PeResources library = PeResources::Parse(HandmadeLibrary(), "handmade.dll");
  EXPECT_EQ(library.Count(), 2u);
  EXPECT_EQ(Text(library.RcData(20)), "ABCD");
  EXPECT_EQ(Text(library.RcData("14_19")), "hello");
  EXPECT_FALSE(library.RcData(21));
  EXPECT_FALSE(library.RcData("14_18"));
  EXPECT_FALSE(library.RcData("20")) << "a number is not a name";
}

TEST(PeResources, LibraryWithoutResourceDirectoryIsEmpty) {
  std::string bytes = HandmadeLibrary();
  Put32(bytes, handmade::ResourceRva, 0);
  const PeResources library = PeResources::Parse(bytes, "empty.dll");
  EXPECT_EQ(library.Count(), 0u);
  EXPECT_FALSE(library.RcData(20));
}

TEST(PeResources, DamagedFilesAreRefusedWithTheirReason) {
  struct Case {
    const char* What;
    std::size_t At;  // field to overwrite; npos for a truncation to Value bytes
    int Width;
    std::uint32_t Value;
    const char* Reason;
  };
  constexpr std::size_t Cut = std::string::npos;
  const Case cases[] = {
      {"empty file", Cut, 0, 0, "it has no MZ header"},
      {"cut inside the DOS header", Cut, 0, 40, "it has no MZ header"},
      {"wrong MZ signature", 0, 16, 0x5A58, "it has no MZ header"},
      {"PE header beyond the end", handmade::PeOffsetField, 32, 0xFFFFFFF0, "it has no PE header"},
      {"broken PE signature", handmade::PeHeader, 32, 0x00004550 + 1, "it has no PE header"},
      {"cut inside the optional header", Cut, 0, 0x90, "the optional header is truncated"},
      {"unknown optional header", handmade::Optional, 16, 0x0107, "neither PE32 nor PE32+"},
      {"too many sections", handmade::SectionCount, 16, 200, "the section table is truncated"},
      {"resource directory in no section", handmade::ResourceRva, 32, 0x5000, "resource directory lies outside"},
      {"section data beyond the end", handmade::SectionRawOffset, 32, 0xFFFFFF00, "resource directory lies outside"},
      {"subdirectory beyond the section", handmade::RootEntryTarget, 32, 0x80000000 | 0x7FFF0000,
       "directory lies outside"},
      {"type entry pointing at data", handmade::RootEntryTarget, 32, 0x18, "does not lead to a directory"},
      {"entry count past the end", handmade::TypeIdCount, 16, 0xFFFF, "runs past the end"},
      {"name longer than the section", handmade::NameLength, 16, 200, "name runs past the end"},
      {"data outside the section", handmade::NameEntryData, 32, 0x1F00, "data lies outside"},
      {"data size past the end", handmade::IdEntryData + 4, 32, 0xFFFFFFF0, "data lies outside"},
      {"data address wrapping around", handmade::IdEntryData, 32, 0xFFFFFFFF, "data lies outside"},
  };
  for (const Case& c : cases) {
    std::string bytes = HandmadeLibrary();
    if (c.At == Cut)
      bytes.resize(c.Value);
    else if (c.Width == 16)
      Put16(bytes, c.At, c.Value);
    else
      Put32(bytes, c.At, c.Value);
    try {
      PeResources::Parse(bytes, "bad.dll");
      ADD_FAILURE() << c.What << ": accepted";
    } catch (const Error& error) {
      const std::string message = error.what();
      EXPECT_EQ(message.rfind("bad.dll is not a valid resource library: ", 0), 0u) << c.What << ": " << message;
      EXPECT_NE(message.find(c.Reason), std::string::npos) << c.What << ": " << message;
    }
  }
}

TEST(PeResources, EntriesSharingDirectoriesAreReadInLinearTime) {
  // 30,000 resources all leading to one language directory of 30,000 entries:
  // reading every language of every resource would take 900 million steps.
  constexpr std::size_t count = 30000, typeDir = 0x400, langDir = typeDir + 16 + count * 8;
  constexpr std::size_t end = langDir + 16 + count * 8;
  std::string bytes = HandmadeLibrary();
  bytes.resize(handmade::Resources + end, '\0');
  Put32(bytes, handmade::SectionTable + 8, end);
  Put32(bytes, handmade::SectionTable + 16, end);
  Put32(bytes, handmade::RootEntryTarget, 0x80000000 | typeDir);
  const std::size_t t = handmade::Resources + typeDir, l = handmade::Resources + langDir;
  Put16(bytes, t + 14, count);
  Put16(bytes, l + 14, count);
  for (std::size_t i = 0; i < count; ++i) {
    Put32(bytes, t + 16 + 8 * i, static_cast<std::uint32_t>(i + 1));
    Put32(bytes, t + 20 + 8 * i, 0x80000000 | langDir);
    Put32(bytes, l + 16 + 8 * i, 0x409);
    Put32(bytes, l + 20 + 8 * i, 0x90);
  }
  const PeResources library = PeResources::Parse(bytes, "shared.dll");
  EXPECT_EQ(library.Count(), count);
  EXPECT_EQ(Text(library.RcData(20)), "ABCD");
  EXPECT_EQ(Text(library.RcData(static_cast<int>(count))), "ABCD");
}

TEST(PeResources, MissingFileGivesTheOpenMessage) {
  TempDir dir;
  try {
    PeResources::Load(dir.File("veduvuderuv.dll"));
    FAIL() << "a missing file was read";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot open file " + dir.File("veduvuderuv.dll"));
  }
}

class MingwLibrary : public ::testing::TestWithParam<MingwTarget> {};

TEST_P(MingwLibrary, LinkedLibraryGivesBackEveryResource) {
  if (!MingwAvailable(GetParam()))
    GTEST_SKIP() << GetParam().Prefix << " binutils are not installed (binutils-mingw-w64-*)";
  TempDir dir;
  std::string big(70000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = char(i * 7 + i / 251);
  const std::string dll = BuildMingwLibrary(GetParam(), dir.Path(),
                                            {{"20", "backdrop bytes"}, {"21", big}, {"14_19", "mountain"},
                                             {"0_0", "plains"}, {"sky", "named"}});
  ASSERT_FALSE(dll.empty()) << "windres or ld failed";
  const PeResources library = PeResources::Load(dll);
  EXPECT_EQ(library.Count(), 5u);
  EXPECT_EQ(Text(library.RcData(20)), "backdrop bytes");
  EXPECT_EQ(Text(library.RcData(21)), big);
  EXPECT_EQ(Text(library.RcData("14_19")), "mountain");
  EXPECT_EQ(Text(library.RcData("0_0")), "plains");
  EXPECT_EQ(Text(library.RcData("Sky")), "named") << "names compare without case";
  EXPECT_FALSE(library.RcData(22));
  EXPECT_FALSE(library.RcData("14_18"));
}

TEST_P(MingwLibrary, TruncatedLinkedLibraryIsRefused) {
  if (!MingwAvailable(GetParam()))
    GTEST_SKIP() << GetParam().Prefix << " binutils are not installed (binutils-mingw-w64-*)";
  TempDir dir;
  const std::string dll = BuildMingwLibrary(GetParam(), dir.Path(), {{"20", std::string(5000, 'x')}});
  ASSERT_FALSE(dll.empty()) << "windres or ld failed";
  std::ifstream in(dll, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  const std::size_t data = bytes.find(std::string(5000, 'x'));
  ASSERT_NE(data, std::string::npos);
  // Cut inside the picture's bytes, at its start, and inside the headers.
  for (std::size_t keep : {data + 4999, data, std::size_t{0x100}}) {
    try {
      PeResources::Parse(bytes.substr(0, keep), "cut.dll");
      ADD_FAILURE() << "cut at " << keep << " accepted";
    } catch (const Error& error) {
      EXPECT_NE(std::string(error.what()).find("cut.dll is not a valid resource library"), std::string::npos);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, MingwLibrary,
                         ::testing::Values(MingwTarget{"x86_64-w64-mingw32"}, MingwTarget{"i686-w64-mingw32"}),
                         [](const auto& info) { return std::string(info.param.Prefix[0] == 'x' ? "Pe32Plus" : "Pe32"); });

}  // namespace
}  // namespace mireforge
