#include "app/layout/window_fit.h"

#include <QDockWidget>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <algorithm>

namespace mireforge {

WindowFit::WindowFit(QMainWindow* window, QWidget* grid) : QObject(window), window_(window) {
  grid->setMinimumSize(GridLeastSize);
  for (QDockWidget* dock : window->findChildren<QDockWidget*>()) {
    // Title, float and close buttons and the frame beside it.
    const int buttons = 2 * dock->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, dock) + 24;
    dock->setMinimumWidth(std::max(dock->minimumWidth(), dock->fontMetrics().horizontalAdvance(dock->windowTitle()) + buttons));
    // Docks tabbed together get their tab bar only when shown, and the room they need changes.
    connect(dock, &QDockWidget::visibilityChanged, this, [this] { QTimer::singleShot(0, this, &WindowFit::Refit); });
    connect(dock, &QDockWidget::topLevelChanged, this, [this] { QTimer::singleShot(0, this, &WindowFit::Refit); });
  }
  Refit();
}

void WindowFit::Refit() {
  // Whole tab titles; where the dock is too narrow for all, the bar scrolls.
  for (QTabBar* tabs : window_->findChildren<QTabBar*>(Qt::FindDirectChildrenOnly)) {
    tabs->setElideMode(Qt::ElideNone);
    tabs->setUsesScrollButtons(true);
  }
  window_->layout()->invalidate();
  const QSize layout = window_->layout()->totalMinimumSize();
  // Never lower than three docks above each other need.
  window_->setMinimumSize(std::max(layout.width(), window_->menuBar()->sizeHint().width()), std::max(layout.height(), 320));
}

}  // namespace mireforge
