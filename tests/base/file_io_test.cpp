#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "base/file_io.h"
#include "base/error.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

std::string ErrorOf(const std::function<void()>& save) {
  try {
    save();
    return "";
  } catch (const Error& e) {
    return e.what();
  }
}

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

TEST(FileIo, FailuresCarryTheSystemsReason) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("unread.png").c_str(), 0600), 0);
  const std::vector<std::pair<std::string, std::string>> cases = {
      // Refused at once instead of waiting for a reader that never comes.
      {dir.File("unread.png"), "Cannot create file " + dir.File("unread.png") + ": no program is reading from this pipe"},
      {"/nonexistent-folder/m.php", "Cannot create file /nonexistent-folder/m.php: No such file or directory"},
      {dir.Path(), "Cannot create file " + dir.Path() + ": Is a directory"},
      // A device cannot be replaced, only written: here the disk is full.
      {"/dev/full", "Cannot create file /dev/full: No space left on device"},
  };
  for (const auto& [path, message] : cases) {
    try {
      WriteWholeFile(path, std::string(100000, 'x'), "Cannot create file %s");
      ADD_FAILURE() << path;
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), message);
    }
  }
}

TEST(FileIo, APipeNamedThroughALinkIsWrittenNotReplaced) {
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  // As "-o /dev/stdout" names the standard output: a link into /proc/self/fd.
  const std::string path = "/proc/self/fd/" + std::to_string(pipeFds[1]);
  {
    AtomicFile file(path, "x %s");
    EXPECT_EQ(file.CommitMethod(), AtomicFile::Method::Direct);
    file.Write("through the pipe");
    file.Commit();
  }
  ::close(pipeFds[1]);
  char buffer[64] = {};
  EXPECT_EQ(::read(pipeFds[0], buffer, sizeof buffer), 16);
  EXPECT_STREQ(buffer, "through the pipe");
  ::close(pipeFds[0]);

  // With a bound on the wait, a reader that stops taking data fails the save instead of holding it.
  ASSERT_EQ(::pipe(pipeFds), 0);
  const std::string stalled = "/proc/self/fd/" + std::to_string(pipeFds[1]);
  SetDeviceWriteWait(std::chrono::milliseconds(50));
  EXPECT_EQ(ErrorOf([&] { WriteWholeFile(stalled, std::string(1 << 20, 'x'), "x %s"); }),
            "x " + stalled + ": the program reading from it stopped taking data");
  SetDeviceWriteWait(std::chrono::milliseconds(0));
  ::close(pipeFds[0]);
  ::close(pipeFds[1]);
}

constexpr uid_t Nobody = 65534;

// Runs save in a child process as the user nobody (the tests run as root, who
// may write anything), and gives its error text, "" when it succeeded.
std::string AsNobody(const std::function<void()>& save) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeFds[0]);
    if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0))
      ::_exit(2);
    const std::string message = ErrorOf(save);
    if (!message.empty()) (void)!::write(pipeFds[1], message.data(), message.size());
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  std::string message;
  char buffer[512];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) message.append(buffer, n);
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "the child failed";
  return message;
}

// A folder that nobody may enter, with a file in it owned by nobody.
struct SharedFolder {
  SharedFolder() {
    ::chmod(dir.Path().c_str(), 0755);
    WriteWholeFile(file, "old content", "x %s");
    if (::geteuid() == 0) (void)!::chown(file.c_str(), Nobody, Nobody);
  }
  TempDir dir;
  std::string file = dir.File("shared.txt");
};

ino_t InodeOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_ino;
}

std::size_t EntriesIn(const std::string& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(FileIo, AReadOnlyFileIsRefusedAndKept) {
  TempDir dir;
  const std::string path = dir.File("kept.txt");
  WriteWholeFile(path, "mine", "x %s");
  ::chmod(path.c_str(), 0444);
  // Root too: a file without any write bit is one its owner wants left alone.
  EXPECT_EQ(ErrorOf([&] { WriteWholeFile(path, "replaced", "Cannot create file %s"); }),
            "Cannot create file " + path + ": the file is read-only");
  EXPECT_EQ(ReadWholeFile(path), "mine");
  EXPECT_EQ(EntriesIn(dir.Path()), 1u);

  // Writable for its owner only, and the saving user is someone else.
  SharedFolder shared;
  (void)!::chown(shared.file.c_str(), 0, 0);
  ::chmod(shared.file.c_str(), 0644);
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to save as another user";
  EXPECT_EQ(AsNobody([&] { WriteWholeFile(shared.file, "replaced", "Cannot create file %s"); }),
            "Cannot create file " + shared.file + ": Permission denied");
  EXPECT_EQ(ReadWholeFile(shared.file), "old content");
}

TEST(FileIo, SavingThroughALinkWritesTheFileItPointsTo) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("real"));
  const std::string real = dir.File("real/map.php");
  WriteWholeFile(real, "old", "x %s");
  ::chmod(real.c_str(), 0640);
  // A relative link to a relative link.
  std::filesystem::create_symlink("real/map.php", dir.File("inner-link.php"));
  std::filesystem::create_symlink("inner-link.php", dir.File("map.php"));
  WriteWholeFile(dir.File("map.php"), "new", "x %s");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("map.php")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("inner-link.php")));
  EXPECT_EQ(ReadWholeFile(real), "new");
  EXPECT_EQ(std::filesystem::status(real).permissions(), std::filesystem::perms(0640));
  EXPECT_EQ(EntriesIn(dir.File("real")), 1u);

  // A link to a file not yet there creates it.
  std::filesystem::create_symlink("real/later.php", dir.File("later.php"));
  WriteWholeFile(dir.File("later.php"), "first", "x %s");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("later.php")));
  EXPECT_EQ(ReadWholeFile(dir.File("real/later.php")), "first");

  std::filesystem::create_symlink("loop-b", dir.File("loop-a"));
  std::filesystem::create_symlink("loop-a", dir.File("loop-b"));
  EXPECT_EQ(ErrorOf([&] { WriteWholeFile(dir.File("loop-a"), "x", "Cannot create file %s"); }),
            "Cannot create file " + dir.File("loop-a") + ": Too many levels of symbolic links");
}

TEST(FileIo, HardLinksKeepSharingTheNewContent) {
  TempDir dir;
  const std::string a = dir.File("a.mfp"), b = dir.File("b.mfp");
  WriteWholeFile(a, "a longer old content", "x %s");
  std::filesystem::create_hard_link(a, b);
  const ino_t inode = InodeOf(a);
  {
    AtomicFile file(a, "x %s");
    EXPECT_EQ(file.CommitMethod(), AtomicFile::Method::InPlace);
    file.Write("new");
    file.Commit();
  }
  EXPECT_EQ(ReadWholeFile(b), "new");  // shorter: the old tail is gone
  EXPECT_EQ(InodeOf(a), inode);
  EXPECT_EQ(std::filesystem::hard_link_count(a), 2u);
  EXPECT_EQ(EntriesIn(dir.Path()), 2u);
}

TEST(FileIo, ModeOwnerAndGroupOfAnotherUsersFileAreKept) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to own a file as another user";
  SharedFolder shared;
  ::chmod(shared.file.c_str(), 0664);
  WriteWholeFile(shared.file, "saved by root", "x %s");
  struct stat st {};
  ASSERT_EQ(::stat(shared.file.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, Nobody);
  EXPECT_EQ(st.st_gid, Nobody);
  EXPECT_EQ(st.st_mode & 07777, 0664u);
  EXPECT_EQ(ReadWholeFile(shared.file), "saved by root");

  // A user who may write the file and make files beside it, but cannot give a
  // new one the file's owner and group: written in place, so they stay.
  ASSERT_EQ(::chown(shared.file.c_str(), 0, 0), 0);
  ::chmod(shared.file.c_str(), 0666);
  ::chmod(shared.dir.Path().c_str(), 0777);
  const ino_t inode = InodeOf(shared.file);
  EXPECT_EQ(AsNobody([&] { WriteWholeFile(shared.file, "saved by nobody", "x %s"); }), "");
  ASSERT_EQ(::stat(shared.file.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 0u);
  EXPECT_EQ(st.st_gid, 0u);
  EXPECT_EQ(st.st_ino, inode);
  EXPECT_EQ(ReadWholeFile(shared.file), "saved by nobody");
}

TEST(FileIo, AWritableFileInAFolderThatRefusesNewFilesIsWrittenInPlace) {
  SharedFolder shared;
  TempDir staging;
  ::chmod(staging.Path().c_str(), 0777);
  const ino_t inode = InodeOf(shared.file);
  std::string method;
  auto save = [&] {
    SetStagingFolder(staging.Path());
    AtomicFile file(shared.file, "Cannot create file %s");
    if (file.CommitMethod() != AtomicFile::Method::InPlace) throw Error("not in place");
    // The whole content is staged before the file is touched.
    file.Write("new content, longer than the old");
    // Unnamed until it is whole, so a save killed now leaves nothing behind.
    if (ReadWholeFile(shared.file) != "old content" || EntriesIn(staging.Path()) != 0) throw Error("touched early");
    file.Commit();
  };
  if (::geteuid() == 0) {
    EXPECT_EQ(AsNobody(save), "");
  } else {
    ::chmod(shared.dir.Path().c_str(), 0555);
    EXPECT_EQ(ErrorOf(save), "");
    ::chmod(shared.dir.Path().c_str(), 0755);
  }
  EXPECT_EQ(ReadWholeFile(shared.file), "new content, longer than the old");
  EXPECT_EQ(InodeOf(shared.file), inode);
  EXPECT_EQ(EntriesIn(shared.dir.Path()), 1u);
  EXPECT_EQ(EntriesIn(staging.Path()), 0u);
  // A new file there cannot be made at all.
  if (::geteuid() == 0) {
    EXPECT_EQ(AsNobody([&] { WriteWholeFile(shared.dir.File("new.txt"), "x", "Cannot create file %s"); }),
              "Cannot create file " + shared.dir.File("new.txt") + ": Permission denied");
  }
  SetStagingFolder("");
}

// The temporary files of saves to path, by name.
std::vector<std::string> TemporariesOf(const std::string& folder, const std::string& targetName) {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("." + targetName + ".mireforge-tmp-", 0) == 0) found.push_back(name);
  }
  return found;
}

// A child process that saves to path slowly, and never finishes.
pid_t StartSlowWriter(const std::string& path) {
  const pid_t child = ::fork();
  if (child == 0) {
    AtomicFile file(path, "x %s");
    for (;;) {
      file.Write(std::string(4096, 'k'));
      std::fflush(file.Handle());
      ::usleep(20000);
    }
  }
  return child;
}

void WaitForTemporaries(const std::string& folder, const std::string& targetName, std::size_t count) {
  for (int i = 0; i < 500 && TemporariesOf(folder, targetName).size() < count; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

TEST(FileIo, AKilledSaveLeavesNothingBehind) {
  TempDir dir;
  const std::string path = dir.File("map.png");
  WriteWholeFile(path, "good", "x %s");
  const pid_t killed = StartSlowWriter(path);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ::kill(killed, SIGKILL);
  ::waitpid(killed, nullptr, 0);
  EXPECT_EQ(EntriesIn(dir.Path()), 1u);
  EXPECT_EQ(ReadWholeFile(path), "good");
}

// File systems without unnamed files: the named, locked temporary files.
TEST(FileIo, AKilledSavesLeftoversAreRecognisedAndRemovedByTheNextSave) {
  UseUnnamedTemporaryFiles(false);
  TempDir dir;
  const std::string path = dir.File("map.png");
  WriteWholeFile(path, "good", "x %s");
  // One writer still at work, and one killed half-way.
  const pid_t running = StartSlowWriter(path);
  WaitForTemporaries(dir.Path(), "map.png", 1);
  ASSERT_EQ(TemporariesOf(dir.Path(), "map.png").size(), 1u);
  const std::string live = TemporariesOf(dir.Path(), "map.png")[0];
  const pid_t killed = StartSlowWriter(path);
  WaitForTemporaries(dir.Path(), "map.png", 2);
  ASSERT_EQ(TemporariesOf(dir.Path(), "map.png").size(), 2u) << "a new save removed a live writer's file";
  ::kill(killed, SIGKILL);
  ::waitpid(killed, nullptr, 0);
  EXPECT_EQ(ReadWholeFile(path), "good");
  for (const std::string& name : TemporariesOf(dir.Path(), "map.png")) EXPECT_TRUE(IsTemporaryFileName(name)) << name;
  EXPECT_FALSE(IsTemporaryFileName("map.png.tmp-abcdef"));
  // A leftover of another target in the folder goes too; a file that only looks like one stays.
  const std::string other = dir.File(".map.png.bak.mireforge-tmp-abcdef");
  std::ofstream{other} << "left";
  std::ofstream{dir.File(".map.png.mireforge-tmp-toolong")} << "not ours";
  // The whole content of an in-place save killed while copying: read-only, and kept.
  const std::string wholeCopy = dir.File(".map.bmp.mireforge-tmp-kept01");
  std::ofstream{wholeCopy} << "whole new content";
  ::chmod(wholeCopy.c_str(), 0400);
  EXPECT_EQ(StaleTemporaryFiles(dir.Path(), false).size(), 3u);  // the killed writer's, the other target's, the kept one

  WriteWholeFile(dir.File("elsewhere.php"), "saved beside", "x %s");
  std::vector<std::string> kept = TemporariesOf(dir.Path(), "map.png");
  std::sort(kept.begin(), kept.end());
  std::vector<std::string> expected{live, ".map.png.mireforge-tmp-toolong"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(kept, expected);
  EXPECT_FALSE(std::filesystem::exists(other));
  EXPECT_TRUE(std::filesystem::exists(wholeCopy));
  ::kill(running, SIGKILL);
  ::waitpid(running, nullptr, 0);
  WriteWholeFile(path, "saved again", "x %s");
  EXPECT_EQ(EntriesIn(dir.Path()), 4u);  // the target, the one beside it, the look-alike and the kept content
  EXPECT_EQ(ReadWholeFile(path), "saved again");
  UseUnnamedTemporaryFiles(true);
}

TEST(FileIo, LowerExtension) {
  EXPECT_EQ(LowerExtension("/a/b/Map.PHP"), "php");
  EXPECT_EQ(LowerExtension("noext"), "");
  EXPECT_EQ(LowerExtension("x.tar.Gz"), "gz");
}

}  // namespace
}  // namespace mireforge
