#include "app/panels/live_statistics.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/grid/tile_images.h"
#include "project/project.h"

namespace mireforge {

LiveStatistics::LiveStatistics(const Project& project, const TileImages& tiles, QWidget* parent)
    : QWidget(parent), project_(project) {
  StatsVT = StatisticsList({"Terrain type", "Count", "Percent"}, this);
  StatsVT->setObjectName("LiveStatsVT");
  StatsVT->setIconSize(QSize(16, 16));
  // Fixed widths: a column sized to its contents would measure every row after each edit.
  StatsVT->setColumnWidth(0, 124);
  StatsVT->setColumnWidth(1, 56);
  StatsVT->header()->setStretchLastSection(true);
  // The rows exist once; edits change only the texts of the terrains they touched.
  for (const TStatItem& stat : TerrainStatistics(TerrainCounts{}, 0))
    AddStatRow(StatsVT, stat, QIcon(tiles.TreeIcon(stat.Value)));
  lTotal = new QLabel(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(StatsVT, 1);
  layout->addWidget(lTotal);
  setMinimumSize(120, 120);
  Recount();
}

void LiveStatistics::Recount() {
  const MapGrid& map = project_.Map;
  counts_ = CountTerrain(map);
  stale_ = false;
  const long long total = static_cast<long long>(map.Width) * map.Height;
  lTotal->setText("Total: " + QString::number(total));
  for (int code = 0; code < TerrainCount; ++code) ShowRow(code, total);
}

void LiveStatistics::UpdateCells(const std::vector<std::uint32_t>& cells) {
  if (cells.empty()) return;
  // Counting the whole grid costs less than a brush move's repaint; the hidden panel waits.
  if (isVisibleTo(window())) Recount();
  else stale_ = true;
}

const TerrainCounts& LiveStatistics::Counts() {
  if (stale_) Recount();
  return counts_;
}

void LiveStatistics::showEvent(QShowEvent* event) {
  if (stale_) Recount();
  QWidget::showEvent(event);
}

void LiveStatistics::ShowRow(int code, long long total) {
  QTreeWidgetItem* row = StatsVT->topLevelItem(code);
  row->setText(1, QString::number(counts_[code]));
  row->setText(2, FormatShare(counts_[code], total));
}

}  // namespace mireforge
