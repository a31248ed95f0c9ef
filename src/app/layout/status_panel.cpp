#include "app/layout/status_panel.h"

#include <QEvent>

namespace mireforge {

StatusSlot::StatusSlot(StatusPanel* panel, QWidget* parent) : QWidget(parent), panel_(panel) {
  panel_->setParent(this);
  Follow();
}

bool StatusSlot::Follow() {
  const QSizePolicy policy = panel_->sizePolicy();
  QSize hint = panel_->sizeHint(), least = panel_->minimumSizeHint();
  // What a layout ignores of a panel's hints, the place ignores too.
  if (policy.horizontalPolicy() == QSizePolicy::Ignored) {
    hint.setWidth(0);
    least.setWidth(0);
  }
  if (policy.verticalPolicy() == QSizePolicy::Ignored) {
    hint.setHeight(0);
    least.setHeight(0);
  }
  if (hint == hint_ && least == least_ && policy == sizePolicy() && panel_->minimumSize() == minimumSize() &&
      panel_->maximumSize() == maximumSize())
    return false;
  hint_ = hint;
  least_ = least;
  setSizePolicy(policy);
  setMinimumSize(panel_->minimumSize());
  setMaximumSize(panel_->maximumSize());
  return true;
}

bool StatusSlot::event(QEvent* event) {
  if (event->type() == QEvent::LayoutRequest) {
    if (Follow()) updateGeometry();
    return true;
  }
  return QWidget::event(event);
}

void StatusSlot::resizeEvent(QResizeEvent* event) {
  panel_->setGeometry(rect());
  QWidget::resizeEvent(event);
}

}  // namespace mireforge
