#include "base/file_io.h"

#include <algorithm>
#include <atomic>
#include <random>
#include <cerrno>
#include <cctype>
#include <filesystem>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <poll.h>
#include <fstream>
#include <sstream>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/error.h"

namespace mireforge {

namespace {

[[noreturn]] void RefuseRead(const std::string& path, const std::string& reason) {
  throw Error(FormatMessage("Cannot open file %s", path) + ": " + reason);
}

void CheckReadable(const std::string& path, const struct stat& st, std::uint64_t maxBytes) {
  if (S_ISDIR(st.st_mode)) RefuseRead(path, "it is a folder");
  if (!S_ISREG(st.st_mode)) RefuseRead(path, "it is not a regular file (a pipe, socket or device)");
  const auto size = static_cast<std::uint64_t>(st.st_size);
  if (size > maxBytes)
    RefuseRead(path, "it holds " + ByteSizeText(size) + ", more than any valid file of its kind (at most " +
                         ByteSizeText(maxBytes) + ")");
}

struct Descriptor {
  int fd;
  ~Descriptor() { ::close(fd); }
};

}  // namespace

void ThrowOutOfMemory(const std::string& path) { RefuseRead(path, "not enough memory to read it"); }

std::string ByteSizeText(std::uint64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + " bytes";
  const char* const units[] = {"KB", "MB", "GB", "TB"};
  double value = static_cast<double>(bytes) / 1024.0;
  int unit = 0;
  while (value >= 1024.0 && unit < 3) {
    value /= 1024.0;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
  return text;
}

namespace {

// A growing byte buffer whose new bytes are left as they are.
class UnclearedBytes {
 public:
  std::size_t size() const { return size_; }
  char* data() { return data_.get(); }
  void resize(std::size_t size) {
    if (size > capacity_) {
      const std::size_t capacity = std::max(size, capacity_ + capacity_ / 2);
      std::unique_ptr<char[]> grown(new char[capacity]);
      if (size_ > 0) std::memcpy(grown.get(), data_.get(), size_);
      data_ = std::move(grown);
      capacity_ = capacity;
    }
    size_ = size;
  }
  std::unique_ptr<char[]> Release() { return std::move(data_); }

 private:
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0, capacity_ = 0;
};

template <typename Bytes>
Bytes ReadWholeFileInto(const std::string& path, std::uint64_t maxBytes) {
  // Looked at by name first, so that a device is never even opened.
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) throw Error(FormatMessage("Cannot open file %s", path));
  CheckReadable(path, st, maxBytes);
  // Non-blocking, so that a file swapped for a pipe meanwhile cannot hang the open;
  // the checks are repeated on what was actually opened.
  const Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
  if (file.fd < 0 || ::fstat(file.fd, &st) != 0) throw Error(FormatMessage("Cannot open file %s", path));
  CheckReadable(path, st, maxBytes);
  ::fcntl(file.fd, F_SETFL, ::fcntl(file.fd, F_GETFL) & ~O_NONBLOCK);
  Bytes bytes;
  try {
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    char more[4096];
    for (;;) {
      // Past the size seen, read into a small buffer: normally it only meets the
      // end, and a file that grew meanwhile is followed up to the limit.
      const bool past = done == bytes.size();
      const ssize_t got = past ? ::read(file.fd, more, sizeof more) : ::read(file.fd, bytes.data() + done, bytes.size() - done);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) RefuseRead(path, std::strerror(errno));
      if (got == 0) break;
      if (past) {
        if (done + static_cast<std::size_t>(got) > maxBytes)
          RefuseRead(path, "it grew larger than any valid file of its kind while being read");
        bytes.resize(done + static_cast<std::size_t>(got));
        std::memcpy(bytes.data() + done, more, static_cast<std::size_t>(got));
      }
      done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
  } catch (const std::bad_alloc&) {
    ThrowOutOfMemory(path);
  }
  return bytes;
}

}  // namespace

std::string ReadWholeFile(const std::string& path, std::uint64_t maxBytes) {
  return ReadWholeFileInto<std::string>(path, maxBytes);
}

SharedBytes ReadWholeFileShared(const std::string& path, std::uint64_t maxBytes) {
  UnclearedBytes bytes = ReadWholeFileInto<UnclearedBytes>(path, maxBytes);
  const std::size_t size = bytes.size();
  try {
    std::shared_ptr<const char[]> owner(bytes.Release());
    const std::string_view view(owner.get(), size);
    return {std::move(owner), view};
  } catch (const std::bad_alloc&) {
    ThrowOutOfMemory(path);
  }
}

namespace {

constexpr std::string_view TempMarker = ".mireforge-tmp-";
constexpr std::size_t TempRandomLength = 6;  // mkstemp's XXXXXX
constexpr std::size_t MaxFileNameLength = 255;

std::string FolderOf(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  return folder.empty() ? "." : folder;
}

std::string FileNameOf(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// ".NAME.mireforge-tmp-", the name shortened so that the whole stays a legal name.
std::string TemporaryPrefix(const std::string& targetName) {
  const std::size_t room = MaxFileNameLength - 1 - TempMarker.size() - TempRandomLength;
  return "." + targetName.substr(0, room) + std::string(TempMarker);
}

// The file a chain of symbolic links ends at (the path itself when it is no link).
std::string FollowLinks(std::string path, int& error) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string link(4096, '\0');
    const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
    if (length <= 0) return path;
    link.resize(static_cast<std::size_t>(length));
    path = link[0] == '/' ? link : FolderOf(path) + "/" + link;
  }
  error = ELOOP;
  return path;
}

mode_t NewFileMode() {
  // Queried once: umask() can only be read by setting it, which must not race
  // with files created meanwhile.
  static const mode_t mask = [] {
    const mode_t m = ::umask(0);
    ::umask(m);
    return m;
  }();
  return 0666 & ~mask;
}

std::atomic<bool> UnnamedTemporaries{true};
std::mutex StagingMutex;
std::string StagingFolderSetting;

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // makes the rename durable; a failure here loses nothing written
  ::close(fd);
}

// Removes (or only lists) our temporary files in folder whose names begin with
// prefix and whose writers are gone: a live writer holds a lock on its file.
// With keepKept, the whole new content of an in-place save that stopped part-way (made
// read-only when named) stays: its own target's next save or the recovery deals with it.
std::vector<std::string> FindStale(const std::string& folder, std::string_view prefix, bool remove,
                                   bool keepKept = false) {
  std::vector<std::string> stale;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!IsTemporaryFileName(name) || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string path = it->path().string();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st;
    const bool ours = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && (st.st_uid == ::geteuid() || ::geteuid() == 0) &&
                      !(keepKept && (st.st_mode & 0222) == 0);
    if (ours && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      if (remove) ::unlink(path.c_str());  // still under our lock, so no writer can have taken it meanwhile
      stale.push_back(path);
    }
    ::close(fd);
  }
  return stale;
}

std::atomic<int> DeviceWaitMs{0};

struct WaitingWriter {
  int fd;
  int waitMs;
};

// Writes all or fails; waits for the reader to take more at most waitMs each time it stalls.
ssize_t WaitingWrite(void* cookie, const char* data, std::size_t size) {
  const auto* writer = static_cast<const WaitingWriter*>(cookie);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(writer->fd, data + done, size - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return -1;
    pollfd ready{writer->fd, POLLOUT, 0};
    const int got = ::poll(&ready, 1, writer->waitMs);
    if (got == 0) errno = ETIMEDOUT;
    if (got == 0 || (got < 0 && errno != EINTR)) return -1;
  }
  return static_cast<ssize_t>(done);
}

int WaitingClose(void* cookie) {
  const auto* writer = static_cast<const WaitingWriter*>(cookie);
  const int result = ::close(writer->fd);
  delete writer;
  return result;
}

// The stream of an opened pipe or device: blocking at the reader's pace, or,
// with a bound set, failing once the reader stalls that long.
std::FILE* OpenDeviceStream(int fd) {
#ifdef __GLIBC__
  const int waitMs = DeviceWaitMs.load();
#else
  const int waitMs = 0;  // no custom streams here: the reader's pace it is
#endif
  std::FILE* file = nullptr;
  if (waitMs <= 0) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file = ::fdopen(fd, "wb");
  } else {
#ifdef __GLIBC__
    auto* writer = new WaitingWriter{fd, waitMs};
    file = ::fopencookie(writer, "wb", cookie_io_functions_t{nullptr, WaitingWrite, nullptr, WaitingClose});
    if (!file) delete writer;
#endif
  }
  return file;
}

}  // namespace

void SetDeviceWriteWait(std::chrono::milliseconds wait) { DeviceWaitMs = static_cast<int>(wait.count()); }

void UseUnnamedTemporaryFiles(bool use) { UnnamedTemporaries = use; }

void SetStagingFolder(std::string folder) {
  const std::lock_guard<std::mutex> guard(StagingMutex);
  StagingFolderSetting = std::move(folder);
}

std::string StagingFolder() {
  {
    const std::lock_guard<std::mutex> guard(StagingMutex);
    if (!StagingFolderSetting.empty()) return StagingFolderSetting;
  }
  std::error_code ec;
  const std::filesystem::path system = std::filesystem::temp_directory_path(ec);
  return ec ? std::string("/tmp") : system.string();
}

bool IsTemporaryFileName(std::string_view name) {
  const std::size_t marker = name.rfind(TempMarker);
  return name.size() > 1 && name[0] == '.' && marker != std::string_view::npos && marker > 1 &&
         name.size() == marker + TempMarker.size() + TempRandomLength;
}

std::vector<std::string> StaleTemporaryFiles(const std::string& folder, bool remove) {
  return FindStale(folder, ".", remove);
}

AtomicFile::AtomicFile(std::string path, std::string failureMessage)
    : path_(std::move(path)), message_(std::move(failureMessage)) {
  struct stat st;
  if (::stat(path_.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    if (S_ISDIR(st.st_mode)) Fail(EISDIR);
    // A device or a pipe (also one named through a link such as /dev/stdout)
    // cannot be replaced, only written.
    method_ = Method::Direct;
    target_ = path_;
    // Opened without waiting: a pipe nobody reads would otherwise block the open for good.
    const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0 && errno == ENXIO && S_ISFIFO(st.st_mode)) Fail(std::string("no program is reading from this pipe"));
    if (fd < 0) Fail(errno);
    if (::fstat(fd, &st) != 0 || S_ISREG(st.st_mode)) {  // swapped for a file meanwhile: never write it unsafely
      ::close(fd);
      Fail(EINVAL);
    }
    file_ = OpenDeviceStream(fd);
    if (!file_) {
      const int e = errno;
      ::close(fd);
      Fail(e);
    }
    return;
  }
  int error = 0;
  target_ = FollowLinks(path_, error);
  if (error) Fail(error);
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) Fail(errno);
  if (exists && !S_ISREG(st.st_mode)) Fail(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);  // changed meanwhile
  if (exists) {
    // No write bit at all marks a file its owner wants kept as it is; root
    // could replace it, but a careful program does not.
    if ((st.st_mode & 0222) == 0) Fail(std::string("the file is read-only"));
    if (::access(target_.c_str(), W_OK) != 0) Fail(errno);
  }
  const std::string folder = FolderOf(target_);
  FindStale(folder, TemporaryPrefix(FileNameOf(target_)), true);
  if (const int refused = OpenTemporary(folder)) {
    // The folder refuses a new file but the file itself may be written: stage
    // the content elsewhere and copy it in once it is whole.
    if (!exists || (refused != EACCES && refused != EPERM && refused != EROFS)) Fail(refused);
    method_ = Method::InPlace;
    if (const int failed = OpenTemporary(StagingFolder())) Fail(failed);
  }
  if (method_ == Method::InPlace) return;
  // Without unnamed files here, a killed save leaves its named one: each save clears those of the folder.
  if (!temp_.empty()) FindStale(folder, ".", true, true);
  if (!exists) {
    ::fchmod(lock_, NewFileMode());
    return;
  }
  struct stat temp;
  const bool sameOwner = ::fstat(lock_, &temp) == 0 && temp.st_uid == st.st_uid && temp.st_gid == st.st_gid;
  // Renaming would split hard links, or give the file another owner or group.
  if (st.st_nlink > 1 || (!sameOwner && ::fchown(lock_, st.st_uid, st.st_gid) != 0)) method_ = Method::InPlace;
  else ::fchmod(lock_, st.st_mode & 07777);
}

int AtomicFile::OpenTemporary(const std::string& folder) {
  tempFolder_ = folder;
#ifdef O_TMPFILE
  if (UnnamedTemporaries.load()) {
    // An unnamed file vanishes with its process, whenever that is killed.
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
      const int writeFd = ::flock(fd, LOCK_EX) == 0 ? ::dup(fd) : -1;
      file_ = writeFd < 0 ? nullptr : ::fdopen(writeFd, "wb");
      if (!file_) {
        const int error = errno;
        if (writeFd >= 0) ::close(writeFd);
        ::close(fd);
        return error;
      }
      lock_ = fd;
      return 0;
    }
    // Only a file system without unnamed files falls back; any other refusal is the folder's.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return errno;
  }
#endif
  const std::string prefix = TemporaryPrefix(FileNameOf(target_));
  for (int attempt = 0; attempt < 10; ++attempt) {
    std::string name = folder + "/" + prefix + std::string(TempRandomLength, 'X');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return errno;
    // The lock marks the file as a live writer's. A cleaner may have removed it
    // between its creation and the lock: then it is no longer at its name.
    struct stat byFd, byName;
    if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &byFd) == 0 && ::stat(name.c_str(), &byName) == 0 &&
        byFd.st_ino == byName.st_ino && byFd.st_dev == byName.st_dev) {
      const int writeFd = ::dup(fd);
      file_ = writeFd < 0 ? nullptr : ::fdopen(writeFd, "wb");
      if (!file_) {
        const int error = errno;
        if (writeFd >= 0) ::close(writeFd);
        ::unlink(name.c_str());
        ::close(fd);
        return error;
      }
      lock_ = fd;
      temp_ = std::move(name);
      return 0;
    }
    ::close(fd);
  }
  return EEXIST;
}

void AtomicFile::NameTemporary() {
  if (!temp_.empty()) return;
  const std::string prefix = tempFolder_ + "/" + TemporaryPrefix(FileNameOf(target_));
  static constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  const std::string self = "/proc/self/fd/" + std::to_string(lock_);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = prefix;
    for (std::size_t i = 0; i < TempRandomLength; ++i) name += Letters[random() % (sizeof Letters - 1)];
    // Still locked by us, so a cleaner takes the name for a live writer's.
#ifdef AT_EMPTY_PATH
    if (::linkat(lock_, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0 ||
        (errno != EEXIST && ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)) {
#else
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
#endif
      temp_ = std::move(name);
      return;
    }
    if (errno != EEXIST) Fail();
  }
  Fail(EEXIST);
}

AtomicFile::~AtomicFile() {
  if (file_) std::fclose(file_);
  if (!temp_.empty()) ::unlink(temp_.c_str());
  if (lock_ >= 0) ::close(lock_);
}

void AtomicFile::Fail() const { Fail(errno); }

void AtomicFile::Fail(int error) const {
  if (error == ETIMEDOUT && method_ == Method::Direct) Fail(std::string("the program reading from it stopped taking data"));
  Fail(error ? std::string(std::strerror(error)) : std::string());
}

void AtomicFile::Fail(const std::string& reason) const {
  std::string message = FormatMessage(message_, path_);
  if (!reason.empty()) message += ": " + reason;
  throw Error(message);
}

void AtomicFile::Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }

void AtomicFile::Write(const void* data, std::size_t size) {
  if (size && std::fwrite(data, 1, size, file_) != size) Fail();
  written_ += size;
#ifdef __linux__
  // The disk starts on what is written every few megabytes, so that the wait
  // for it at the end covers only the last of a large file. Only a hint: a
  // failure shows in Finish.
  constexpr std::uint64_t Stretch = 4u << 20;
  if (method_ != Method::Direct && written_ - toDisk_ >= Stretch && std::fflush(file_) == 0) {
    ::sync_file_range(::fileno(file_), static_cast<off_t>(toDisk_), static_cast<off_t>(written_ - toDisk_),
                      SYNC_FILE_RANGE_WRITE);
    toDisk_ = written_;
  }
#endif
}

void AtomicFile::Finish() {
  if (!file_) return;
  int error = 0;
  if (std::fflush(file_) != 0 || (::fsync(::fileno(file_)) != 0 && method_ != Method::Direct)) error = errno;
  if (std::fclose(file_) != 0 && !error) error = errno;
  file_ = nullptr;
  if (error) Fail(error);
}

void AtomicFile::Commit() {
  Finish();
  if (method_ == Method::Direct) return;
  if (method_ == Method::InPlace) {
    CommitInPlace();
  } else {
    NameTemporary();
    if (std::rename(temp_.c_str(), target_.c_str()) != 0) Fail();
    temp_.clear();
    SyncFolder(FolderOf(target_));
  }
  ::close(lock_);
  lock_ = -1;
}

void AtomicFile::CommitInPlace() {
  // Named before the target is touched: a save killed while copying leaves the whole content found,
  // read-only so that saves of other files in its folder keep it.
  ::fchmod(lock_, 0400);
  NameTemporary();
  struct stat st;
  if (::fstat(lock_, &st) != 0) Fail();
  const off_t size = st.st_size;
  const int out = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
  if (out < 0) Fail();
  auto fail = [&](int error, bool touched) {
    ::close(out);
    if (!touched) Fail(error);
    // The target is half overwritten: the whole new content must survive.
    const std::string kept = temp_;
    temp_.clear();
    Fail(std::string(std::strerror(error)) + "; the new content is kept in " + kept);
  };
#ifdef __linux__
  // Reserve the room first, so a full disk stops the save before the file is touched.
  if (size > 0 && ::fallocate(out, FALLOC_FL_KEEP_SIZE, 0, size) != 0 && errno != EOPNOTSUPP && errno != ENOSYS)
    fail(errno, false);
#endif
  std::vector<char> buffer(1 << 20);
  for (off_t done = 0; done < size;) {
    const ssize_t got = ::pread(lock_, buffer.data(), buffer.size(), done);
    if (got <= 0) fail(got < 0 ? errno : EIO, done > 0);
    for (ssize_t written = 0; written < got;) {
      const ssize_t n = ::pwrite(out, buffer.data() + written, static_cast<std::size_t>(got - written), done + written);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) fail(n < 0 ? errno : EIO, true);
      written += n;
    }
    done += got;
  }
  if (::ftruncate(out, size) != 0 || ::fsync(out) != 0) fail(errno, true);
  ::close(out);  // fsync has reported any write error
  ::unlink(temp_.c_str());
  temp_.clear();
}

void WriteWholeFile(const std::string& path, std::string_view bytes, const std::string& failureMessage) {
  AtomicFile file(path, failureMessage);
  file.Write(bytes);
  file.Commit();
}

std::string LowerExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext;
}

}  // namespace mireforge
