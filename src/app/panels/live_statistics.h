#pragma once
// The terrain statistics as a tool window that follows the painting. It keeps
// the count of each terrain and a copy of the terrain it counted; after an edit
// it compares only the changed cells with that copy and adjusts the counts.
#include <QWidget>
#include <cstdint>
#include <vector>

#include "app/dialogs/statistics_dialogs.h"
#include "model/terrain.h"

class QLabel;
class QTreeWidget;

namespace mireforge {

struct Project;
class TileImages;

class LiveStatistics : public QWidget {
  Q_OBJECT
 public:
  LiveStatistics(const Project& project, const TileImages& tiles, QWidget* parent = nullptr);

  // After a wholesale change: counts everything again.
  void Recount();
  // After an edit: adjusts the counts from these cells (by cell index).
  void UpdateCells(const std::vector<std::uint32_t>& cells);

  const TerrainCounts& Counts() const { return counts_; }

  QTreeWidget* StatsVT = nullptr;
  QLabel* lTotal = nullptr;

 private:
  void ShowRow(int code);

  const Project& project_;
  TerrainCounts counts_{};
  std::vector<TerrainCode> counted_;  // the terrain as last counted
};

}  // namespace mireforge
