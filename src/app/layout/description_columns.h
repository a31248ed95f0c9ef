#pragma once
// The description list's Domain column as wide as its widest domain label,
// as far as the Description column keeps room to read.
#include <QObject>

class QTreeView;

namespace mireforge {

class DomainTable;

class DescriptionColumns : public QObject {
 public:
  DescriptionColumns(QTreeView* view, const DomainTable& domains);
  // After the domain table changed.
  void Refit();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTreeView* view_;
  const DomainTable& domains_;
};

}  // namespace mireforge
