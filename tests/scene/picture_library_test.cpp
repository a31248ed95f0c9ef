#include "scene/picture_library.h"

#include <gtest/gtest.h>

#include <fstream>

#include "base/error.h"
#include "scene/resource_library_builder.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

TEST(PicturePack, FindsPicturesByNumberAndNameAndNothingOutsideItsFolder) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("pack"));
  WriteFile(dir.File("pack/20.png"), "backdrop");
  WriteFile(dir.File("pack/14_19.png"), "mountain");
  WriteFile(dir.File("secret.png"), "outside");
  const auto pack = OpenPicturePack(dir.File("pack"));
  EXPECT_EQ(pack->Picture(20).value_or("<missing>"), "backdrop");
  EXPECT_EQ(pack->Picture("14_19").value_or("<missing>"), "mountain");
  EXPECT_FALSE(pack->Picture(21));
  EXPECT_FALSE(pack->Picture("14_18"));
  for (const char* name : {"../secret", "", "/etc/passwd", "..", "14_19.png"})
    EXPECT_FALSE(pack->Picture(name)) << name;
}

TEST(PictureLibrarySource, ResourceLibraryBesideTheProgramComesFirst) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("pack"));
  WriteFile(dir.File("pack/20.png"), "from the pack");

  const auto packOnly = OpenPictureLibrary(dir.Path(), {dir.File("missing"), dir.File("pack")});
  EXPECT_EQ(packOnly->Picture(20).value_or("<missing>"), "from the pack");
  EXPECT_EQ(packOnly->Location(), dir.File("pack"));

  WriteFile(dir.File("veduvuderuv.dll"), testing::HandmadeLibrary());
  const auto dll = OpenPictureLibrary(dir.Path(), {dir.File("pack")});
  EXPECT_EQ(dll->Picture(20).value_or("<missing>"), "ABCD");
  EXPECT_EQ(dll->Picture("14_19").value_or("<missing>"), "hello");
  EXPECT_FALSE(dll->Picture(21));
}

TEST(PictureLibrarySource, NothingFoundOrADamagedLibraryIsAnError) {
  TempDir dir;
  try {
    OpenPictureLibrary(dir.Path(), {dir.File("missing")});
    FAIL() << "no library, yet one was opened";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), "No picture library found: neither veduvuderuv.dll nor the picture pack");
  }
  std::filesystem::create_directory(dir.File("pack"));
  WriteFile(dir.File("veduvuderuv.dll"), "MZ but nothing else");
  // A damaged library is reported rather than silently replaced by the pack.
  EXPECT_THROW(OpenPictureLibrary(dir.Path(), {dir.File("pack")}), Error);
}

}  // namespace
}  // namespace mireforge
