#include "app/layout/status_panel.h"

#include <QEvent>

namespace mireforge {

StatusSlot::StatusSlot(QWidget* panel, QWidget* parent) : QWidget(parent), panel_(panel) {
  panel_->setParent(this);
  TakeLimits();
}

QSize StatusSlot::Used(QSize hint) const {
  const QSizePolicy policy = panel_->sizePolicy();
  if (policy.horizontalPolicy() == QSizePolicy::Ignored) hint.setWidth(0);
  if (policy.verticalPolicy() == QSizePolicy::Ignored) hint.setHeight(0);
  return hint;
}

QSize StatusSlot::sizeHint() const { return hintRead_ = Used(panel_->sizeHint()); }

QSize StatusSlot::minimumSizeHint() const { return leastRead_ = Used(panel_->minimumSizeHint()); }

void StatusSlot::TakeLimits() {
  // Each setter asks for a layout itself, and only when the value changes.
  setSizePolicy(panel_->sizePolicy());
  setMinimumSize(panel_->minimumSize());
  setMaximumSize(panel_->maximumSize());
}

bool StatusSlot::event(QEvent* event) {
  // A hidden place hears of no new text: it looks again when shown.
  const bool request = event->type() == QEvent::LayoutRequest;
  if (request || event->type() == QEvent::Show) {
    TakeLimits();
    if (Used(panel_->sizeHint()) != hintRead_ || Used(panel_->minimumSizeHint()) != leastRead_) updateGeometry();
  }
  return request || QWidget::event(event);
}

void StatusSlot::resizeEvent(QResizeEvent* event) {
  panel_->setGeometry(rect());
  QWidget::resizeEvent(event);
}

}  // namespace mireforge
