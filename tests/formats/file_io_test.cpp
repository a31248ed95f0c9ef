#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "formats/file_io.h"
#include "model/error.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

TEST(FileIo, ReadsWholeFilesAndReportsMissingOnes) {
  TempDir dir;
  const std::string path = dir.File("a.txt");
  WriteWholeFile(path, std::string("x\0y\r\n", 5), "Cannot create file %s");
  EXPECT_EQ(ReadWholeFile(path), std::string("x\0y\r\n", 5));
  try {
    ReadWholeFile(dir.File("missing.txt"));
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.File("missing.txt"));
  }
  EXPECT_THROW(ReadWholeFile(dir.Path()), Error);
}

TEST(FileIo, AnUncommittedWriteLeavesTheOldFileAndNoLitter) {
  TempDir dir;
  const std::string path = dir.File("keep.txt");
  WriteWholeFile(path, "old", "x %s");
  {
    AtomicFile file(path, "x %s");
    file.Write("new and half");
  }  // dropped: as if the writer had thrown
  EXPECT_EQ(ReadWholeFile(path), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(FileIo, AFolderThatCannotBeWrittenGivesTheMessage) {
  try {
    WriteWholeFile("/nonexistent-folder/m.php", "x", "Cannot create file %s");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file /nonexistent-folder/m.php");
  }
}

TEST(FileIo, LowerExtension) {
  EXPECT_EQ(LowerExtension("/a/b/Map.PHP"), "php");
  EXPECT_EQ(LowerExtension("noext"), "");
  EXPECT_EQ(LowerExtension("x.tar.Gz"), "gz");
}

}  // namespace
}  // namespace mireforge
