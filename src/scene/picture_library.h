#pragma once
// Where the actual view's pictures come from: a Windows resource library
// (veduvuderuv.dll) when the user has one beside the program, otherwise our
// own picture pack, a folder of PNG files named like the resources.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mireforge {

inline constexpr std::string_view PictureLibraryFileName = "veduvuderuv.dll";

class PictureLibrary {
 public:
  virtual ~PictureLibrary() = default;
  // The PNG bytes of picture number 20 (backdrop) or 21 (ground), or nothing.
  virtual std::optional<std::string> Picture(int number) const = 0;
  // The PNG bytes of a named picture ("14_19"), or nothing.
  virtual std::optional<std::string> Picture(std::string_view name) const = 0;
  // Where the pictures come from, for notices.
  virtual const std::string& Location() const = 0;
};

// The RCDATA pictures of a resource library; Error for a file that cannot be
// read or is not a valid library.
std::unique_ptr<PictureLibrary> OpenResourceLibrary(const std::string& path);
// "<name>.png" files in a folder; a missing file is a missing picture.
std::unique_ptr<PictureLibrary> OpenPicturePack(const std::string& folder);

// veduvuderuv.dll in programFolder when it exists, else the first of
// packFolders that exists. Error when neither exists, or when the
// library is damaged.
std::unique_ptr<PictureLibrary> OpenPictureLibrary(const std::string& programFolder,
                                                   const std::vector<std::string>& packFolders);

}  // namespace mireforge
