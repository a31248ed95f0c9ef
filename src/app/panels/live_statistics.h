#pragma once
// The terrain statistics as a tool window that follows the painting. It counts
// the grid itself when it is in sight, after each change; hidden, it only notes
// that its counts are out of date and counts once when it shows again.
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
  // After an edit of these cells (by cell index).
  void UpdateCells(const std::vector<std::uint32_t>& cells);

  const TerrainCounts& Counts();

  QTreeWidget* StatsVT = nullptr;
  QLabel* lTotal = nullptr;

 private:
  void showEvent(QShowEvent* event) override;
  void ShowRow(int code, long long total);

  const Project& project_;
  TerrainCounts counts_{};
  bool stale_ = false;
};

}  // namespace mireforge
