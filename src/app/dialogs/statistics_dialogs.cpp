#include "app/dialogs/statistics_dialogs.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "app/dialogs/share_chart.h"
#include "app/grid/tile_images.h"
#include "model/statistics.h"
#include "model/terrain.h"
#include "project/project.h"

namespace mireforge {

namespace {

constexpr int MiniatureSide = 400;

// Every row 34 pixels high, room for a 32-pixel tile.
class TallRows : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), 34};
  }
};

}  // namespace

QTreeWidget* StatisticsList(const QStringList& headers, QWidget* parent) {
  auto* list = new QTreeWidget(parent);
  list->setColumnCount(3);
  list->setHeaderLabels(headers);
  list->setAccessibleName(headers.front() + " statistics");
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setAlternatingRowColors(true);  // the palette's stripes, readable in dark themes
  list->setSelectionMode(QAbstractItemView::NoSelection);
  list->header()->setDefaultAlignment(Qt::AlignCenter);
  return list;
}

// Each column as wide as its widest text (header included), never narrower
// than its least width; the list as wide as its columns, so nothing scrolls sideways.
void FitColumns(QTreeWidget* list, const std::array<int, 3>& least, int widest = 0) {
  int total = 0;
  for (int column = 0; column < 3; ++column) {
    list->resizeColumnToContents(column);
    int width = std::max(least[column], list->columnWidth(column));
    if (widest > 0 && column == 0) width = std::min(width, widest);
    list->setColumnWidth(column, width);
    total += width;
  }
  list->header()->setStretchLastSection(false);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
  list->setMinimumWidth(total + 2 * list->frameWidth() + scrollBar);
}

void AddStatRow(QTreeWidget* list, const TStatItem& stat, const QIcon& icon) {
  auto* item = new QTreeWidgetItem(list, {QString::fromStdString(stat.Name), QString::number(stat.Count),
                                          QString::fromStdString(stat.Share)});
  item->setIcon(0, icon);
  item->setTextAlignment(1, Qt::AlignCenter);
  item->setTextAlignment(2, Qt::AlignCenter);
}

QString FormatShare(int count, long long total) {
  QString share = QString::fromStdString(FormatPercent(count, total));
  share.replace('.', QLocale::system().decimalPoint());
  return share + " %";
}

std::vector<TStatItem> TerrainStatistics(const MapGrid& map) {
  return TerrainStatistics(CountTerrain(map), static_cast<long long>(map.Width) * map.Height);
}

std::vector<TStatItem> TerrainStatistics(const TerrainCounts& counts, long long total) {
  std::vector<TStatItem> items;
  for (int code = 0; code < TerrainCount; ++code)
    items.emplace_back(code, " " + std::string(TerrainNames[code]), counts[code],
                       FormatShare(counts[code], total).toStdString());
  return items;
}

std::vector<TStatItem> DomainStatistics(const Project& project) {
  std::array<int, DomainCount> counts{};
  const MapGrid& map = project.Map;
  for (int y = 0; y < map.Height; ++y)
    for (int x = 0; x < map.Width; ++x) {
      // A cell without a description, or with a number outside the table, counts nowhere.
      const TDescItem* item = project.CellDescription(x, y);
      if (item != nullptr && item->Domain >= 0 && item->Domain < DomainCount) ++counts[item->Domain];
    }
  const long long total = static_cast<long long>(map.Width) * map.Height;
  std::vector<TStatItem> items;
  for (int n = 0; n < DomainCount; ++n)
    if (counts[n] > 0)
      items.emplace_back(n, project.Domains.DomainLabel(n), counts[n], FormatShare(counts[n], total).toStdString());
  return items;
}

int MiniatureSquareSize(int width, int height) {
  if (width <= 0 || height <= 0) return 0;
  return std::max(0, std::min((MiniatureSide - width - 2) / width, (MiniatureSide - height - 2) / height));
}

TfStats::TfStats(const Project& project, const TileImages& tiles, QWidget* parent, TileStyle style)
    : QDialog(parent) {
  setWindowTitle("Terrain statistics");
  setWindowFlags(windowFlags() | Qt::MSWindowsFixedSizeDialogHint);
  StatsVT = StatisticsList({"Terrain type", "Count", "Percent"}, this);
  StatsVT->setIconSize(QSize(32, 32));
  StatsVT->setItemDelegate(new TallRows(StatsVT));

  const long long total = static_cast<long long>(project.Map.Width) * project.Map.Height;
  items_ = TerrainStatistics(project.Map);
  for (const TStatItem& stat : items_)
    AddStatRow(StatsVT, stat, QIcon(QPixmap::fromImage(tiles.Tile(style, stat.Value))));
  FitColumns(StatsVT, {120, 90, 83});
  // Room for all sixteen rows, so that none hides below the fold.
  StatsVT->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StatsVT->setFixedHeight(StatsVT->header()->sizeHint().height() + TerrainCount * 34 + 2 * StatsVT->frameWidth());

  lTotal = new QLabel("Total: " + QString::number(total), this);
  // The chart beside the list, as tall as it, so that neither squeezes the other.
  chart = new ShareChart(items_, total, this);
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(lTotal);
  bottom->addStretch();
  bottom->addWidget(ok);
  auto* lists = new QHBoxLayout;
  lists->addWidget(StatsVT);
  lists->addWidget(chart, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lists);
  layout->addLayout(bottom);
  setFixedSize(sizeHint());
}

DomainMiniature::DomainMiniature(const Project& project, QWidget* parent)
    : QWidget(parent), project_(project), square_(MiniatureSquareSize(project.Map.Width, project.Map.Height)) {
  setFixedSize(MiniatureSide, MiniatureSide);
}

void DomainMiniature::SetGridLines(bool on) {
  gridLines_ = on;
  update();
}

void DomainMiniature::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  const MapGrid& map = project_.Map;
  const int line = gridLines_ ? 1 : 0;
  const int pitch = square_ + line;
  if (pitch <= 0) return;
  if (line > 0) painter.fillRect(0, 0, std::min(width(), map.Width * pitch + 1), std::min(height(), map.Height * pitch + 1),
                                 Qt::black);
  for (int y = 0; y < map.Height && y * pitch < height(); ++y)
    for (int x = 0; x < map.Width && x * pitch < width(); ++x) {
      const TDescItem* item = project_.CellDescription(x, y);
      const std::int32_t color = project_.Domains.Color(item != nullptr ? item->Domain : -1);
      // A domain without a colour shows white, like an unpainted cell.
      const QColor fill = color == NoColor ? QColor(Qt::white) : ColorFromBgr(color);
      painter.fillRect(x * pitch + line, y * pitch + line, square_, square_, fill);
    }
}

TfDomains::TfDomains(Project& project, QWidget* parent) : QDialog(parent) {
  setWindowTitle("Domain statistics");
  setWindowFlags(windowFlags() | Qt::MSWindowsFixedSizeDialogHint);
  project.Domains.Slots[0].Color = 1;

  DG = new DomainMiniature(project, this);
  DomainVT = StatisticsList({"Domain", "Count", "Percent"}, this);
  items_ = DomainStatistics(project);
  for (const TStatItem& stat : items_) {
    AddStatRow(DomainVT, stat, QIcon(DomainSwatch(project.Domains.Color(stat.Value))));
    // A name too long for the widest column is cut; its row shows it whole on hovering.
    DomainVT->topLevelItem(DomainVT->topLevelItemCount() - 1)->setToolTip(0, QString::fromStdString(stat.Name));
  }
  FitColumns(DomainVT, {70, 73, 78}, 320);

  cbShowGrid = new QCheckBox("&Show grid", this);
  cbShowGrid->setChecked(true);
  connect(cbShowGrid, &QCheckBox::toggled, DG, &DomainMiniature::SetGridLines);
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* right = new QVBoxLayout;
  right->addWidget(DomainVT, 1);
  right->addWidget(cbShowGrid);
  right->addWidget(ok, 0, Qt::AlignRight);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(DG, 0, Qt::AlignTop);
  layout->addLayout(right, 1);
  setFixedSize(sizeHint());
}

}  // namespace mireforge
