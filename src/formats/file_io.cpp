#include "formats/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "model/error.h"

namespace mireforge {

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::error_code ec;
  if (!in || std::filesystem::is_directory(path, ec)) throw Error(FormatMessage("Cannot open file %s", path));
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) throw Error(FormatMessage("Cannot open file %s", path));
  return std::move(bytes).str();
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
