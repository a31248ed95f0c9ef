// Any bytes either load as a project or fail with an Error, leaving the project
// as it was; a loaded project written and read again comes back the same. Read
// as a file is loaded, with the cells' sections left out of the document and
// read from their text, the bytes give the same project.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/ini_file.h"
#include "formats/project_file.h"

using namespace mireforge;

namespace {

// Everything a project file holds, as written by a fresh writer.
std::string FileText(const Project& project) {
  IniFile ini;
  WriteProject(project, ini);
  return ini.Serialize();
}

// The project read from ini, or the text of the error.
std::string Read(const IniFile& ini, Project& project) {
  project.Map.ResizeMap(2, 1);
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  const std::string before = FileText(project);
  try {
    ReadProject(ini, project);
  } catch (const Error& error) {
    if (FileText(project) != before) __builtin_trap();  // a failed load changes nothing
    return std::string("failed: ") + error.what();
  }
  if (project.Descriptions.Size() != project.Map.Cells.size()) __builtin_trap();
  return FileText(project);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Project project, loaded;
  const std::string read = Read(IniFile::Parse(bytes), project);
  if (Read(IniFile::Parse(bytes, {"Descriptions", "Domains"}), loaded) != read) __builtin_trap();
  if (read.rfind("failed: ", 0) == 0) return 0;
  const std::string text = FileText(project);
  Project again;
  ReadProject(IniFile::Parse(text), again);
  if (FileText(again) != text) __builtin_trap();
  return 0;
}
