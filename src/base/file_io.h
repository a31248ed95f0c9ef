#pragma once
// Reading whole files, and writing files so that a failure never leaves a
// half-written file where a good one stood.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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

// Bytes with shared owners: views into them stay valid while one owner lives.
struct SharedBytes {
  std::shared_ptr<const void> owner;
  std::string_view bytes;
};
// ReadWholeFile into memory that is not cleared first: for a large file,
// clearing fresh memory costs about as much as reading into it.
SharedBytes ReadWholeFileShared(const std::string& path, std::uint64_t maxBytes = AnyFileSize);

// The failure of a reader that ran out of memory, naming the file.
[[noreturn]] void ThrowOutOfMemory(const std::string& path);

// "1.5 MB": a size for messages.
std::string ByteSizeText(std::uint64_t bytes);

// Saves a file the way careful editors do, so that a failure never leaves a
// half-written file where a good one stood and a save never weakens the file:
//
// - The new content goes into an unnamed temporary file beside the target, which
//   vanishes with the process however it ends; Commit() names it
//   ".NAME.mireforge-tmp-XXXXXX" and renames it over the target. Where the file
//   system has no unnamed files, the temporary file has that name from the start.
//   Destroyed without Commit(), it removes the temporary file and the target stays
//   as it was.
// - A target that is a symbolic link is saved into the file the link points to.
// - A target nobody may write (no write bit at all, also for root) or we may not
//   write is refused with the reason; the mode, owner and group are kept.
// - Where renaming would split hard links, lose the owner or group, or the folder
//   refuses a new file while the file itself is writable, the whole new content
//   is first written to the temporary file (in the staging folder when the target's
//   folder refuses it), room for it is reserved, and only then is it copied over
//   the target in place.
// - A target that is not a regular file (a device, a pipe) is written directly.
//   It is opened without waiting: a pipe that no program reads is refused.
// - Temporary files of earlier saves to the same target whose writer has died
//   (a live writer keeps a lock on its file) are removed; where the folder has
//   no unnamed files, those of every target in it are (but the read-only
//   content of an in-place save that stopped part-way).
//
// Every failure throws Error with the message pattern given (its %s is the
// target's name as given), followed by ": " and the system's reason.
class AtomicFile {
 public:
  enum class Method { Rename, InPlace, Direct };

  AtomicFile(std::string path, std::string failureMessage);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(std::string_view bytes);
  void Write(const void* data, std::size_t size);
  // Puts the whole content on the disk, so that a full disk is reported before
  // the target is touched; Commit() does it when not done yet. Several files
  // that must change together are first all finished, then all committed.
  void Finish();
  void Commit();
  std::FILE* Handle() { return file_; }  // for libraries that write through a FILE*
  const std::string& Path() const { return path_; }
  // How Commit() will replace the target.
  Method CommitMethod() const { return method_; }
  // The reason is errno's text, or the write error of the handle.
  [[noreturn]] void Fail() const;
  [[noreturn]] void Fail(int error) const;

 private:
  [[noreturn]] void Fail(const std::string& reason) const;
  // 0, or errno when folder refuses the temporary file.
  int OpenTemporary(const std::string& folder);
  void CommitInPlace();
  // Gives the unnamed temporary file its name (nothing when it has one).
  void NameTemporary();

  std::string path_;    // as given, for messages
  std::string target_;  // the file really written: links followed
  std::string temp_;        // empty while the temporary file is unnamed
  std::string tempFolder_;
  std::string message_;
  std::FILE* file_ = nullptr;
  int lock_ = -1;  // keeps the temporary file locked while it is ours
  Method method_ = Method::Rename;
  std::uint64_t written_ = 0;    // bytes handed to Write
  std::uint64_t toDisk_ = 0;     // of which the disk was told to start writing

};

// How long a write into a pipe or device may wait for its reader to take more
// before the save fails; zero (the default) waits as long as the reader lives.
// The editor sets a bound, so that a reader that stops cannot freeze it.
void SetDeviceWriteWait(std::chrono::milliseconds wait);

// Whether temporary files start unnamed where the file system allows (the
// default); off, they are named from the start, as where it does not.
void UseUnnamedTemporaryFiles(bool use);

// Where the whole content of an in-place save is staged when the target's folder
// refuses new files; the system's temporary folder unless set (the editor uses
// its recovery folder, so that what a killed save leaves behind is found there).
void SetStagingFolder(std::string folder);
std::string StagingFolder();

// The temporary file pattern's parts: ".NAME.mireforge-tmp-" + six characters.
bool IsTemporaryFileName(std::string_view fileName);
// The temporary files in folder whose writers have died; with remove, removes
// them (those that cannot be removed are still listed).
std::vector<std::string> StaleTemporaryFiles(const std::string& folder, bool remove);

// Writes the whole text atomically.
void WriteWholeFile(const std::string& path, std::string_view bytes, const std::string& failureMessage);

// The extension in lower case without the dot ("php"), or empty.
std::string LowerExtension(const std::string& path);

}  // namespace mireforge
