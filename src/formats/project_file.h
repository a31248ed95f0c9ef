#pragma once
// The Mireforge project file (".mfp"): an INI document holding the terrain, the
// descriptions and domains of every cell, the domain table and the generation
// wizard's rows of both methods.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/ini_file.h"
#include "base/error.h"
#include "project/project.h"

namespace mireforge {

inline constexpr std::string_view ProjectFileFilter = "Mireforge project file (*.mfp)|*.mfp";
inline constexpr std::string_view ProjectFileExtension = "mfp";
inline constexpr std::string_view ProjectSaveTitle = "Save Mireforge project file";
inline constexpr std::string_view ProjectLoadTitle = "Load Mireforge project file";
inline constexpr std::string_view ProjectVersion = "2.0";
inline constexpr std::string_view SavingLabel = "Saving, please wait...";
inline constexpr std::string_view LoadingLabel = "Loading, please wait...";
inline constexpr std::string_view WrongVersionMessage =
    "Wrong project version!\n\nProject file you are trying to load is saved with\n"
    "earlier version of Mireforge and is not supported.";

// The largest valid project: 512 x 512 cells, each with a description of the
// longest value a reader takes (2,047 characters) and a domain, plus the few
// short sections around them. A larger file is refused before it is read.
inline constexpr std::uint64_t MaxProjectFileBytes =
    512ull * 512 * ((IniFile::MaxValueLength + 16) + 16) + 8ull * 1024 * 1024;

// The refusal of a file written by an older Mireforge. The GUI shows it in an
// "Information" box rather than the error box; nothing was changed.
class ProjectVersionError : public Error {
 public:
  ProjectVersionError() : Error(std::string(WrongVersionMessage)) {}
};

// Told the progress label, the bar's maximum and its position; the caller shows
// its progress form before the call and hides it afterwards, also on failure.
using ProjectProgress = std::function<void(std::string_view label, int maximum, int position)>;

// Writes the project into ini, keeping whatever the document already holds
// outside the sections and keys of a project. Refuses a map without cells or
// larger than 512 in either direction, since such a file could not be loaded.
void WriteProject(const Project& project, IniFile& ini, const ProjectProgress& progress = {});

// Reads a whole project from ini into project (map, descriptions, domains, the
// wizard's rows and method). All or nothing: on any failure project is untouched.
// ProjectVersionError for a version before "2.0"; Error for a map size outside 1 to 512.
void ReadProject(const IniFile& ini, Project& project, const ProjectProgress& progress = {});

// Writes the file atomically: the new file is built completely, keeping foreign
// sections and keys of the file being replaced, then renamed over it. On failure
// "Unable to write to %s", and the old file is as it was.
void WriteProjectFile(const Project& project, const std::string& fileName, const ProjectProgress& progress = {});

// WriteProjectFile, then sets ProjectSaved and ProjectFileName; on failure both stay.
void SaveProject(Project& project, const std::string& fileName, const ProjectProgress& progress = {});

// Loads with ReadProject; sets ProjectFileName on success and leaves ProjectSaved.
// "Cannot open file %s" when the file cannot be read.
void LoadProject(Project& project, const std::string& fileName, const ProjectProgress& progress = {});

}  // namespace mireforge
