// Any bytes either load as a project or fail with an Error, leaving the project
// as it was; a loaded project written and read again comes back the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/ini_file.h"
#include "formats/project_file.h"

using namespace mireforge;

namespace {

bool SameRows(const GeneratorRows& a, const GeneratorRows& b) {
  PlasmaRows plasma = b.Plasma;  // the levels are stored from the last generation instead
  plasma.MountainLevel = a.Plasma.MountainLevel;
  plasma.DownsLevel = a.Plasma.DownsLevel;
  plasma.ForestLevel = a.Plasma.ForestLevel;
  const PlasmaRows& p = a.Plasma;
  const CEvoRows& c = a.CEvo;
  const CEvoRows& d = b.CEvo;
  return a.Mode == b.Mode && p.Width == plasma.Width && p.Height == plasma.Height && p.Seed == plasma.Seed &&
         p.Randomize == plasma.Randomize && p.CreateRare == plasma.CreateRare && p.RareCount == plasma.RareCount &&
         p.ResizeType == plasma.ResizeType && p.Smooth == plasma.Smooth && p.SmoothLevel == plasma.SmoothLevel &&
         p.AvgHeight == plasma.AvgHeight && p.RandomizeRare == plasma.RandomizeRare && p.RareSeed == plasma.RareSeed &&
         c.Width == d.Width && c.Height == d.Height && c.Seed == d.Seed && c.Randomize == d.Randomize &&
         c.CreateRare == d.CreateRare && c.RareCount == d.RareCount && c.LandMass == d.LandMass &&
         c.Downs == d.Downs && c.Mountains == d.Mountains && c.RandDowns == d.RandDowns &&
         c.AddRandDowns == d.AddRandDowns && c.ElevationSmooth == d.ElevationSmooth &&
         c.ElevationDetail == d.ElevationDetail && c.RandomizeRare == d.RandomizeRare && c.RareSeed == d.RareSeed;
}

bool SameContent(const Project& a, const Project& b) {
  if (a.Map.Width != b.Map.Width || a.Map.Height != b.Map.Height || a.Map.Cells != b.Map.Cells) return false;
  if (a.Descriptions.Size() != b.Descriptions.Size()) return false;
  for (std::size_t i = 0; i < a.Descriptions.Size(); ++i) {
    const TDescItem& p = a.Descriptions.Entry(i);
    const TDescItem& q = b.Descriptions.Entry(i);
    if (p.Text != q.Text || p.Domain != q.Domain || p.X != q.X || p.Y != q.Y || p.Terrain != q.Terrain) return false;
  }
  for (int n = 0; n < DomainCount; ++n)
    if (a.Domains.Slots[n].Color != b.Domains.Slots[n].Color || a.Domains.Slots[n].Name != b.Domains.Slots[n].Name)
      return false;
  return SameRows(a.Rows, b.Rows);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const IniFile ini = IniFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  Project project;
  project.Map.ResizeMap(2, 1);
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  const Project before = project;
  try {
    ReadProject(ini, project);
  } catch (const Error&) {
    if (!SameContent(project, before)) __builtin_trap();  // a failed load changes nothing
    return 0;
  }
  if (project.Descriptions.Size() != project.Map.Cells.size()) __builtin_trap();
  IniFile written;
  WriteProject(project, written);
  Project again;
  ReadProject(IniFile::Parse(written.Serialize()), again);
  if (!SameContent(project, again)) __builtin_trap();
  return 0;
}
