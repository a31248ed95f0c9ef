#pragma once
// The description list's Domain column as wide as its widest domain label,
// as far as the Description column keeps room to read.
#include <QObject>

class QTableView;

namespace mireforge {

class DomainTable;

class DescriptionColumns : public QObject {
 public:
  DescriptionColumns(QTableView* view, const DomainTable& domains);
  // After the domain table changed.
  void Refit();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTableView* view_;
  const DomainTable& domains_;
};

}  // namespace mireforge
