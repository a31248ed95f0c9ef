#include "app/layout/description_columns.h"

#include <QEvent>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <algorithm>

#include "model/domains.h"

namespace mireforge {

namespace {

constexpr int LocationColumn = 0, DomainColumn = 1;
constexpr int LeastDescriptionWidth = 80;

}  // namespace

DescriptionColumns::DescriptionColumns(QTableView* view, const DomainTable& domains)
    : QObject(view), view_(view), domains_(domains) {
  view->viewport()->installEventFilter(this);
  Refit();
}

void DescriptionColumns::Refit() {
  const QFontMetrics metrics = view_->fontMetrics();
  const int margins = 2 * (view_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view_) + 1) + 8;
  int widest = metrics.horizontalAdvance(view_->model()->headerData(DomainColumn, Qt::Horizontal).toString()) + margins;
  for (int n = 0; n < DomainCount; ++n)
    if (domains_.Defined(n))
      widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(domains_.DomainLabel(n))) + margins);
  QHeaderView* header = view_->horizontalHeader();
  const int room = view_->viewport()->width() - header->sectionSize(LocationColumn) - LeastDescriptionWidth;
  header->resizeSection(DomainColumn, std::max(header->minimumSectionSize(), std::min(widest, room)));
}

bool DescriptionColumns::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) Refit();
  return QObject::eventFilter(watched, event);
}

}  // namespace mireforge
