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
  counted_ = map.Cells;
  lTotal->setText("Total: " + QString::number(static_cast<long long>(map.Width) * map.Height));
  for (int code = 0; code < TerrainCount; ++code) ShowRow(code);
}

void LiveStatistics::UpdateCells(const std::vector<std::uint32_t>& cells) {
  const std::vector<TerrainCode>& now = project_.Map.Cells;
  // A map of another size is about to be counted as a whole.
  if (now.size() != counted_.size()) return;
  std::uint32_t touched = 0;  // one bit per terrain whose count moved
  for (std::uint32_t cell : cells) {
    if (cell >= now.size() || now[cell] == counted_[cell]) continue;
    const int from = counted_[cell] & 0x0F, to = now[cell] & 0x0F;
    --counts_[from];
    ++counts_[to];
    touched |= (1u << from) | (1u << to);
    counted_[cell] = now[cell];
  }
  for (int code = 0; code < TerrainCount; ++code)
    if (touched & (1u << code)) ShowRow(code);
}

void LiveStatistics::ShowRow(int code) {
  const long long total = static_cast<long long>(counted_.size());
  QTreeWidgetItem* row = StatsVT->topLevelItem(code);
  row->setText(1, QString::number(counts_[code]));
  row->setText(2, FormatShare(counts_[code], total));
}

}  // namespace mireforge
