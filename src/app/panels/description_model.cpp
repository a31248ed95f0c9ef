#include "app/panels/description_model.h"

#include <QColor>
#include <QPainter>

#include "app/grid/tile_images.h"
#include "project/project.h"

namespace mireforge {

DescriptionModel::DescriptionModel(Project& project, const TileImages& tiles, const bool& invertRowCol,
                                   QObject* parent)
    : QAbstractTableModel(parent), project_(project), invertRowCol_(invertRowCol) {
  for (int i = 0; i < TerrainCount; ++i) {
    QPixmap icon = tiles.TreeIcon(i);
    QPainter painter(&icon);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 15, 15);
    painter.end();
    icons_.push_back(icon);
  }
}

int DescriptionModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(project_.Descriptions.Size());
}

int DescriptionModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

QVariant DescriptionModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  TDescItem& item = project_.Descriptions.Entry(index.row());
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
    switch (index.column()) {
      case 0:
        item.SwapXY = invertRowCol_;
        return QString::fromStdString(item.PositionText());
      case 1: return QString::fromStdString(project_.Domains.DomainLabel(item.Domain));
      default: return ShownText(item.Text);
    }
  }
  if (role == Qt::DecorationRole) {
    if (index.column() == 0) {
      const MapGrid& map = project_.Map;
      const int code = map.Contains(item.X, item.Y) ? map.GetTerrain(item.X, item.Y) : TerrainOf(item.Terrain);
      return icons_[code];
    }
    if (index.column() == 1) return DomainSwatch(project_.Domains.Color(item.Domain));
    return {};
  }
  return {};
}

QVariant DescriptionModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const Headers[] = {"Location", "Domain", "Description"};
  return section >= 0 && section < 3 ? QString(Headers[section]) : QVariant();
}

void DescriptionModel::Reset() {
  beginResetModel();
  endResetModel();
}

void DescriptionModel::EntryChanged(int row) {
  // Cell by cell: a view repaints a changed cell, but all it shows for a range.
  if (row >= 0 && row < rowCount())
    for (int column = 0; column < 3; ++column) emit dataChanged(index(row, column), index(row, column));
}

void DescriptionModel::RowsChanged(int first, int last) {
  if (first >= 0 && first <= last && last < rowCount()) emit dataChanged(index(first, 0), index(last, 2));
}

void DescriptionModel::AllChanged() { RowsChanged(0, rowCount() - 1); }

DomainModel::DomainModel(const Project& project, QObject* parent)
    : QAbstractTableModel(parent), project_(project) {}

int DomainModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

int DomainModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 1; }

QVariant DomainModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const int number = DomainAt(index.row());
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
    return QString::fromStdString(project_.Domains.DomainLabel(number));
  if (role == Qt::DecorationRole) return DomainSwatch(project_.Domains.Color(number));
  return {};
}

QVariant DomainModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section == 0) return QString("Domain");
  return {};
}

void DomainModel::Rebuild() {
  beginResetModel();
  items_.clear();
  highest_ = -1;
  for (int n = 0; n < DomainCount; ++n) {
    if (!project_.Domains.Defined(n)) continue;
    items_.emplace_back(-1, std::to_string(n), 0, std::string());
    highest_ = n;
  }
  endResetModel();
}

void DomainModel::Clear() {
  beginResetModel();
  items_.clear();
  highest_ = -1;
  endResetModel();
}

int DomainModel::DomainAt(int row) const {
  if (row < 0 || row >= rowCount()) return -1;
  return std::stoi(items_[row].Name);
}

int DomainModel::RowOf(int domain) const {
  for (int row = 0; row < rowCount(); ++row)
    if (DomainAt(row) == domain) return row;
  return -1;
}

void DomainModel::AllChanged() {
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, 0));
}

}  // namespace mireforge
