#pragma once
// The two statistics windows: TfStats (cells per terrain, with a bar chart of
// the shares) and TfDomains (cells per domain beside a miniature domain map).
#include <QDialog>
#include <QIcon>
#include <QStringList>
#include <array>
#include <vector>

#include "app/grid/tile_images.h"
#include "model/domains.h"
#include "model/statistics.h"
#include "model/terrain.h"

class QCheckBox;
class QLabel;
class QTreeWidget;

namespace mireforge {

class MapGrid;
class ShareChart;
class TileImages;
struct Project;

// count * 100 / total with two decimals in the user's notation, then " %".
QString FormatShare(int count, long long total);

// Per-terrain cell counts, as CountTerrain gives them.
using TerrainCounts = std::array<int, TerrainCount>;
// Sixteen rows in code order, also for terrains without cells.
std::vector<TStatItem> TerrainStatistics(const MapGrid& map);
std::vector<TStatItem> TerrainStatistics(const TerrainCounts& counts, long long total);

// The statistics lists' look, shared by the dialogs and the live statistics window:
// three columns, centred headers, no selection, odd rows shaded.
QTreeWidget* StatisticsList(const QStringList& headers, QWidget* parent);
void AddStatRow(QTreeWidget* list, const TStatItem& stat, const QIcon& icon);
// One row per domain number that has cells, ascending.
std::vector<TStatItem> DomainStatistics(const Project& project);

// The miniature side: (400 - size - 2) div size, the smaller of both directions.
int MiniatureSquareSize(int width, int height);

class TfStats : public QDialog {
  Q_OBJECT
 public:
  // The tiles are ILTerrain's look: colour, or grey while the grid draws in grayscale.
  TfStats(const Project& project, const TileImages& tiles, QWidget* parent = nullptr,
          TileStyle style = TileStyle::Colour);

  QTreeWidget* StatsVT = nullptr;
  QLabel* lTotal = nullptr;
  ShareChart* chart = nullptr;  // the shares as bars in the terrain colours

 private:
  std::vector<TStatItem> items_;
};

class DomainMiniature;

class TfDomains : public QDialog {
  Q_OBJECT
 public:
  // Sets domain 0's colour to 1, as the main window does at start-up.
  TfDomains(Project& project, QWidget* parent = nullptr);

  DomainMiniature* DG = nullptr;
  QTreeWidget* DomainVT = nullptr;
  QCheckBox* cbShowGrid = nullptr;

 private:
  std::vector<TStatItem> items_;
};

// The 400 x 400 miniature map: one square per cell in its domain's colour.
class DomainMiniature : public QWidget {
  Q_OBJECT
 public:
  explicit DomainMiniature(const Project& project, QWidget* parent = nullptr);
  int SquareSize() const { return square_; }
  void SetGridLines(bool on);
  bool GridLines() const { return gridLines_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const Project& project_;
  int square_ = 0;
  bool gridLines_ = true;
};

}  // namespace mireforge
