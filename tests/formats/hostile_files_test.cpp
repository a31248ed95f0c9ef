// Files that are not what their names say: pipes, devices, huge or sparse files,
// and reads that run out of memory. Every reader refuses them with a message
// naming the file, quickly, and leaves the open project as it was.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <string>

#include "base/file_io.h"
#include "formats/map_files.h"
#include "formats/midnight_map.h"
#include "formats/project_file.h"
#include "import/heightmap.h"
#include "support/error_of.h"
#include "support/temp_dir.h"
#include "support/test_maps.h"

namespace mireforge {
namespace {

const char* const Extensions[] = {"mfp", "php", "mmf", "bmp", "png"};

// The load's message, waiting at most a few seconds: a reader that blocks on
// a pipe fails the test instead of hanging it (a writer opened afterwards
// releases it with end of file).
std::string LoadMessage(const std::string& path) {
  auto load = std::async(std::launch::async, [path] { return ErrorOf([&] { LoadMapFile(path); }); });
  if (load.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
    const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) ::close(writer);
    load.wait();
    return "(blocked reading " + path + ")";
  }
  return load.get();
}

TEST(HostileFiles, PipesAndDevicesAreRefusedBeforeReading) {
  TempDir dir;
  for (const char* extension : Extensions) {
    const std::string fifo = dir.File(std::string("pipe.") + extension);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(LoadMessage(fifo), "Cannot open file " + fifo + ": it is not a regular file (a pipe, socket or device)");
    for (const char* device : {"/dev/zero", "/dev/urandom"}) {
      const std::string link = dir.File(std::string("device") + std::to_string(device[5]) + "." + extension);
      std::filesystem::create_symlink(device, link);
      EXPECT_EQ(LoadMessage(link), "Cannot open file " + link + ": it is not a regular file (a pipe, socket or device)");
    }
    const std::string folder = dir.File(std::string("folder.") + extension);
    std::filesystem::create_directory(folder);
    EXPECT_EQ(LoadMessage(folder), "Cannot open file " + folder + ": it is a folder");
  }
  const std::string heightmap = dir.File("pipe.png");
  EXPECT_EQ(ErrorOf([&] { LoadImportPicture(heightmap); }),
            "Cannot open file " + heightmap + ": it is not a regular file (a pipe, socket or device)");
}

TEST(HostileFiles, FilesLargerThanAnyValidOneAreRefusedUnread) {
  TempDir dir;
  // Sparse: they take no room on the disk, and only reading them would cost.
  const std::pair<const char*, std::uint64_t> cases[] = {
      {"huge.mfp", MaxProjectFileBytes},
      {"huge.php", MaxMidnightMapFileBytes},
      {"huge.bmp", MaxPictureFileBytes(512 * 512)},
      {"huge.png", MaxPictureFileBytes(512 * 512)},
  };
  for (const auto& [name, limit] : cases) {
    const std::string path = dir.File(name);
    ASSERT_EQ(::truncate((::close(::open(path.c_str(), O_CREAT | O_WRONLY, 0600)), path.c_str()), 3ll << 30), 0);
    EXPECT_EQ(LoadMessage(path), "Cannot open file " + path + ": it holds 3.0 GB, more than any valid file of its kind (at most " +
                                     ByteSizeText(limit) + ")");
  }
  EXPECT_EQ(ByteSizeText(MaxProjectFileBytes), "527.8 MB");
  // Just within the bound is read (and then refused for what it holds).
  const std::string largest = dir.File("largest.php");
  ASSERT_EQ(::truncate((::close(::open(largest.c_str(), O_CREAT | O_WRONLY, 0600)), largest.c_str()),
                       static_cast<off_t>(MaxMidnightMapFileBytes)),
            0);
  EXPECT_EQ(LoadMessage(largest), "List index out of bounds (0)");
}

std::string Chunk(const std::string& type, const std::string& data) {
  std::string chunk;
  const auto put32 = [&](std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) chunk += static_cast<char>(v >> shift);
  };
  put32(static_cast<std::uint32_t>(data.size()));
  chunk += type + data;
  const std::string covered = type + data;
  put32(static_cast<std::uint32_t>(
      ::crc32(0, reinterpret_cast<const Bytef*>(covered.data()), static_cast<uInt>(covered.size()))));
  return chunk;
}

// A 16-bit RGBA PNG of zeros: a few bytes declare any size.
std::string ZeroPng(std::uint32_t width, std::uint32_t height, std::uint32_t rowsStored) {
  std::string header;
  for (std::uint32_t v : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8) header += static_cast<char>(v >> shift);
  header += std::string("\x10\x06\0\0\0", 5);
  // Deflated row by row, so that the test itself never holds the picture.
  std::string packed;
  const std::string row(1 + static_cast<std::size_t>(width) * 8, '\0');
  z_stream z{};
  ::deflateInit(&z, 9);
  char out[65536];
  for (std::uint32_t y = 0; y <= rowsStored; ++y) {
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(row.data()));
    z.avail_in = y < rowsStored ? static_cast<uInt>(row.size()) : 0;
    const int flush = y < rowsStored ? Z_NO_FLUSH : Z_FINISH;
    do {
      z.next_out = reinterpret_cast<Bytef*>(out);
      z.avail_out = sizeof out;
      ::deflate(&z, flush);
      packed.append(out, sizeof out - z.avail_out);
    } while (z.avail_out == 0);
  }
  ::deflateEnd(&z);
  return "\x89PNG\r\n\x1a\n" + Chunk("IHDR", header) + Chunk("IDAT", packed) + Chunk("IEND", "");
}

// How many MB more than before an import takes, measured in a child; -1 when
// the import did not end as expected (loaded or refused).
int ImportGrowthMegabytes(const std::string& path, bool loads) {
  const pid_t child = ::fork();
  if (child == 0) {
    struct rusage before{}, after{};
    ::getrusage(RUSAGE_SELF, &before);
    const bool loaded = ErrorOf([&] { LoadPicturePreview(path, {}); }) == "(no error)";
    ::getrusage(RUSAGE_SELF, &after);
    const long grown = (after.ru_maxrss - before.ru_maxrss) / 1024;
    ::_exit(loaded != loads ? 255 : static_cast<int>(std::min(grown, 254L)));
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) != 255 ? WEXITSTATUS(status) : -1;
}

TEST(HostileFiles, HeightmapPicturesCannotTakeMoreThanTheirBound) {
  TempDir dir;
  const std::string bomb = dir.File("bomb.png");
  WriteWholeFile(bomb, ZeroPng(16384, 16384, 0), "%s");
  ASSERT_LT(ReadWholeFile(bomb).size(), 100u);
  EXPECT_EQ(ErrorOf([&] { LoadImportPicture(bomb); }),
            "The picture is too large (16384 x 16384 pixels; at most 25000000 pixels)");
  // The largest picture allowed, in a file under 1 MB, decodes within 256 MB.
  const std::string largest = dir.File("largest.png");
  WriteWholeFile(largest, ZeroPng(5000, 5000, 5000), "%s");
  ASSERT_LT(ReadWholeFile(largest).size(), 1u << 20);
  for (const auto& [path, loads] : {std::pair{bomb, false}, std::pair{largest, true}}) {
    const int grown = ImportGrowthMegabytes(path, loads);
    EXPECT_GE(grown, 0) << path;
    EXPECT_LT(grown, 254) << path;  // 254 stands for anything above
  }
}

TEST(HostileFiles, ProjectLoadThatRunsOutOfMemoryFailsAndKeepsTheProject) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
#else
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
  GTEST_SKIP() << "the sanitizer reserves more address space than the limit allows";
#endif
#endif
  TempDir dir;
  // A valid project whose one description is 300 MB: within the bound, too
  // much for a process held to a little address space.
  const std::string path = dir.File("big.mfp");
  {
    Project project;
    project.Map.ResizeMap(3, 2);
    project.Map.RebuildTerrainRows();
    BuildDefaultDescriptions(project.Descriptions, project.Map);
    WriteProjectFile(project, path);
  }
  ASSERT_EQ(::truncate(path.c_str(), 300ll << 20), 0);  // the last value runs on as zero bytes
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    struct rlimit limit{};
    ::getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = 200ull << 20;
    ::setrlimit(RLIMIT_AS, &limit);
    Project open;
    open.Map.ResizeMap(5, 4);
    const std::string message = ErrorOf([&] { LoadProject(open, path); });
    const bool kept = open.Map.Width == 5 && open.Map.Height == 4 && open.ProjectFileName.empty();
    ::_exit(message == "Cannot open file " + path + ": not enough memory to read it" && kept ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

}  // namespace
}  // namespace mireforge
