#pragma once
// The item models behind DescVT (one row per cell) and DomainVT (one row per
// named domain). They read the project directly: no object per row.
#include <QAbstractTableModel>
#include <QPixmap>
#include <QString>
#include <string_view>
#include <vector>

#include "model/domains.h"

namespace mireforge {

struct Project;
class TileImages;

// A description as shown: its UTF-8 bytes as text.
inline QString ShownText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class DescriptionModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  DescriptionModel(Project& project, const TileImages& tiles, const bool& invertRowCol, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // After the description list was rebuilt or emptied.
  void Reset();
  // After entries changed in place.
  void EntryChanged(int row);
  void RowsChanged(int first, int last);
  void AllChanged();

 private:
  Project& project_;
  std::vector<QPixmap> icons_;  // framed ILTree icons
  const bool& invertRowCol_;
};

class DomainModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit DomainModel(const Project& project, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // RebuildDomainPanel: one entry per named domain, ascending.
  void Rebuild();
  void Clear();
  int HighestListed() const { return highest_; }
  // The domain number of a row, -1 for none.
  int DomainAt(int row) const;
  int RowOf(int domain) const;
  void AllChanged();

 private:
  const Project& project_;
  std::vector<TStatItem> items_;
  int highest_ = -1;
};

}  // namespace mireforge
