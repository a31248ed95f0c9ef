#include "formats/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <filesystem>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "model/error.h"

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

std::string ReadWholeFile(const std::string& path, std::uint64_t maxBytes) {
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
  std::string bytes;
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
        bytes.append(more, static_cast<std::size_t>(got));
      }
      done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
  } catch (const std::bad_alloc&) {
    ThrowOutOfMemory(path);
  }
  return bytes;
}

AtomicFile::AtomicFile(std::string path, std::string failureMessage)
    : path_(std::move(path)), message_(std::move(failureMessage)) {
  // A unique name beside the target, so the final rename stays on one file system.
  temp_ = path_ + ".tmp-XXXXXX";
  const int fd = ::mkstemp(temp_.data());
  if (fd < 0) {
    temp_.clear();
    Fail();
  }
  file_ = ::fdopen(fd, "wb");
  if (!file_) {
    ::close(fd);
    std::remove(temp_.c_str());
    temp_.clear();
    Fail();
  }
}

AtomicFile::~AtomicFile() {
  if (file_) std::fclose(file_);
  if (!temp_.empty()) std::remove(temp_.c_str());
}

void AtomicFile::Fail() const { throw Error(FormatMessage(message_, path_)); }

void AtomicFile::Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }

void AtomicFile::Write(const void* data, std::size_t size) {
  if (size && std::fwrite(data, 1, size, file_) != size) Fail();
}

void AtomicFile::Commit() {
  const bool flushed = std::fflush(file_) == 0 && ::fsync(::fileno(file_)) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!flushed || !closed) Fail();
  // Keep the permissions of the file being replaced; a new file gets the usual ones.
  struct stat st;
  if (::stat(path_.c_str(), &st) == 0) {
    ::chmod(temp_.c_str(), st.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(temp_.c_str(), 0666 & ~mask);
  }
  if (std::rename(temp_.c_str(), path_.c_str()) != 0) Fail();
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
