#pragma once
// A status bar panel that cuts its text with an ellipsis when it does not fit.
#include <QLabel>
#include <QPainter>

namespace mireforge {

class StatusPanel : public QLabel {
 public:
  using QLabel::QLabel;
  void SetElided(bool elided) { elided_ = elided; }

 protected:
  void paintEvent(QPaintEvent* event) override {
    if (!elided_ || !pixmap().isNull()) return QLabel::paintEvent(event);
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(2, 0, -2, 0);
    painter.drawText(area, static_cast<int>(alignment()),
                     fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
  }

 private:
  bool elided_ = false;
};

}  // namespace mireforge
