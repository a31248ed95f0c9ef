#include "scene/picture_library.h"

#include <filesystem>
#include <system_error>

#include "base/file_io.h"
#include "scene/pe_resources.h"
#include "base/error.h"

namespace mireforge {

namespace {

namespace fs = std::filesystem;

class ResourceLibrary final : public PictureLibrary {
 public:
  explicit ResourceLibrary(const std::string& path) : resources_(PeResources::Load(path)), path_(path) {}
  std::optional<std::string> Picture(int number) const override { return Copy(resources_.RcData(number)); }
  std::optional<std::string> Picture(std::string_view name) const override { return Copy(resources_.RcData(name)); }
  const std::string& Location() const override { return path_; }

 private:
  static std::optional<std::string> Copy(std::optional<std::span<const unsigned char>> bytes) {
    if (!bytes) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  }
  PeResources resources_;
  std::string path_;
};

// Picture names become file names, so only plain names are looked up: nothing
// that could reach outside the folder.
bool PlainName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name)
    if (!(c == '_' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
  return true;
}

class PicturePack final : public PictureLibrary {
 public:
  explicit PicturePack(std::string folder) : folder_(std::move(folder)) {}
  std::optional<std::string> Picture(int number) const override { return Picture(std::to_string(number)); }
  std::optional<std::string> Picture(std::string_view name) const override {
    if (!PlainName(name)) return std::nullopt;
    const fs::path file = fs::path(folder_) / (std::string(name) + ".png");
    std::error_code error;
    if (!fs::is_regular_file(file, error)) return std::nullopt;
    return ReadWholeFile(file.string(), PeResources::MaxLibraryFileBytes);
  }
  const std::string& Location() const override { return folder_; }

 private:
  std::string folder_;
};

}  // namespace

std::unique_ptr<PictureLibrary> OpenResourceLibrary(const std::string& path) {
  return std::make_unique<ResourceLibrary>(path);
}

std::unique_ptr<PictureLibrary> OpenPicturePack(const std::string& folder) {
  return std::make_unique<PicturePack>(folder);
}

std::unique_ptr<PictureLibrary> OpenPictureLibrary(const std::string& programFolder,
                                                   const std::vector<std::string>& packFolders) {
  std::error_code error;
  const fs::path dll = fs::path(programFolder) / PictureLibraryFileName;
  if (fs::is_regular_file(dll, error)) return OpenResourceLibrary(dll.string());
  for (const std::string& folder : packFolders)
    if (fs::is_directory(folder, error)) return OpenPicturePack(folder);
  throw Error(std::string("No picture library found: neither ") + std::string(PictureLibraryFileName) +
              " nor the picture pack");
}

}  // namespace mireforge
