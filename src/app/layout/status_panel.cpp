#include "app/layout/status_panel.h"

#include <QEvent>
#include <algorithm>

namespace mireforge {

StatusSlot::StatusSlot(QWidget* panel, QWidget* parent) : StatusHolder(parent), panel_(panel) {
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

bool StatusHolder::event(QEvent* event) {
  const bool request = event->type() == QEvent::LayoutRequest;
  if (request || event->type() == QEvent::Show) PanelsChanged();
  return request || QWidget::event(event);
}

void StatusHolder::resizeEvent(QResizeEvent* event) {
  Arrange();
  QWidget::resizeEvent(event);
}

void StatusSlot::PanelsChanged() {
  TakeLimits();
  if (Used(panel_->sizeHint()) != hintRead_ || Used(panel_->minimumSizeHint()) != leastRead_) updateGeometry();
}

void StatusSlot::Arrange() { panel_->setGeometry(rect()); }

namespace {

// As the bar spaces its own panels.
constexpr int PanelSpacing = 6;

}  // namespace

StatusTail::StatusTail(QWidget* filling, QWidget* parent) : StatusHolder(parent), filling_(filling) {
  filling_->setParent(this);
  // The room left over, down to nothing in the narrowest window.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void StatusTail::AddPanel(QWidget* panel) {
  panel->setParent(this);
  panels_.push_back(panel);
  Arrange();
}

QSize StatusTail::sizeHint() const { return {0, minimumSizeHint().height()}; }

QSize StatusTail::minimumSizeHint() const {
  int height = filling_->minimumSizeHint().height();
  for (const QWidget* panel : panels_) height = std::max(height, panel->sizeHint().height());
  return {0, height};
}

void StatusTail::Arrange() {
  // Each right panel as wide as its text; short of room, all give way alike and
  // the filling panel first, as the bar's own layout would.
  std::vector<int> widths;
  int wanted = 0;
  for (const QWidget* panel : panels_) {
    const int width = std::max(panel->minimumWidth(), panel->sizeHint().width());
    widths.push_back(width);
    wanted += width + PanelSpacing;
  }
  const int room = width();
  if (wanted > room) {
    for (std::size_t i = 0; i < widths.size(); ++i)
      widths[i] = std::max(panels_[i]->minimumWidth(), (widths[i] + PanelSpacing) * room / wanted - PanelSpacing);
  }
  int right = room;
  for (std::size_t i = panels_.size(); i-- > 0;) {
    right -= widths[i];
    panels_[i]->setGeometry(right, 0, widths[i], height());
    right -= PanelSpacing;
  }
  filling_->setGeometry(0, 0, std::max(0, right), height());
}

}  // namespace mireforge
