// Any bytes either load as a project or fail with an Error, leaving the project
// as it was; a loaded project written and read again comes back the same.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const IniFile ini = IniFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  Project project;
  project.Map.ResizeMap(2, 1);
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  const std::string before = FileText(project);
  try {
    ReadProject(ini, project);
  } catch (const Error&) {
    if (FileText(project) != before) __builtin_trap();  // a failed load changes nothing
    return 0;
  }
  if (project.Descriptions.Size() != project.Map.Cells.size()) __builtin_trap();
  const std::string text = FileText(project);
  Project again;
  ReadProject(IniFile::Parse(text), again);
  if (FileText(again) != text) __builtin_trap();
  return 0;
}
