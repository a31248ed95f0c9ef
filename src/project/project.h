#pragma once
// The open document: map, descriptions, domains, the wizard's rows and the
// settings of the last generation, and whether it has unsaved changes.
#include <string>

#include "generate/generator_settings.h"
#include "model/descriptions.h"
#include "model/domains.h"
#include "model/map_grid.h"

namespace mireforge {

struct Project {
  MapGrid Map;
  DescriptionList Descriptions;
  DomainTable Domains;
  GeneratorRows Rows;
  GeneratorSettings Settings;  // what the last generation used
  bool ProjectSaved = true;
  std::string ProjectFileName;

  void SetTerrain(int x, int y, int code) { Map.SetTerrain(x, y, code, Descriptions); }
  const TDescItem* CellDescription(int x, int y) const { return Descriptions.CellDescription(x, y, Map.Width); }
  TDescItem* CellDescription(int x, int y) { return Descriptions.CellDescription(x, y, Map.Width); }
};

}  // namespace mireforge
