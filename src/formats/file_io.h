#pragma once
// Reading whole files, and writing files so that a failure never leaves a
// half-written file where a good one stood.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace mireforge {

// The file's bytes. Refused before a byte is read, each with a message that
// names the file: a file that cannot be opened ("Cannot open file %s"), one that
// is not a regular file (a folder, pipe or device, which could block or never
// end), and one larger than maxBytes, the largest valid file of its kind. Running
// out of memory while reading is a failure too, never a short read.
// Every reader of a user's file passes its own bound; the default is for tests
// and tools reading files the program wrote itself.
inline constexpr std::uint64_t AnyFileSize = UINT64_MAX - 1;
std::string ReadWholeFile(const std::string& path, std::uint64_t maxBytes = AnyFileSize);

// The failure of a reader that ran out of memory, naming the file.
[[noreturn]] void ThrowOutOfMemory(const std::string& path);

// "1.5 MB": a size for messages.
std::string ByteSizeText(std::uint64_t bytes);

// Writes into a temporary file in the target's folder; Commit() renames it over
// the target. Destroyed without Commit(), it removes the temporary file and the
// target stays as it was. Every failure throws Error with the message pattern
// given (its %s is the target's name).
class AtomicFile {
 public:
  AtomicFile(std::string path, std::string failureMessage);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(std::string_view bytes);
  void Write(const void* data, std::size_t size);
  void Commit();
  std::FILE* Handle() { return file_; }  // for libraries that write through a FILE*
  const std::string& Path() const { return path_; }
  [[noreturn]] void Fail() const;

 private:
  std::string path_;
  std::string temp_;
  std::string message_;
  std::FILE* file_ = nullptr;
};

// Writes the whole text atomically.
void WriteWholeFile(const std::string& path, std::string_view bytes, const std::string& failureMessage);

// The extension in lower case without the dot ("php"), or empty.
std::string LowerExtension(const std::string& path);

}  // namespace mireforge
