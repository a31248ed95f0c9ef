#pragma once
// A status bar panel that cuts its text with an ellipsis when it does not fit.
#include <QLabel>
#include <QPainter>

namespace mireforge {

class StatusPanel : public QLabel {
 public:
  using QLabel::QLabel;
  void SetElided(bool elided) { elided_ = elided; }

  // An elided panel asks for no more room than its first characters take, so
  // that a long text neither stretches the bar nor costs a long layout.
  QSize sizeHint() const override { return elided_ ? ShortHint() : QLabel::sizeHint(); }
  QSize minimumSizeHint() const override { return elided_ ? QSize(0, ShortHint().height()) : QLabel::minimumSizeHint(); }

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
  QSize ShortHint() const {
    const QMargins margins = contentsMargins();
    return QSize(fontMetrics().horizontalAdvance(text().left(MaxHintCharacters)) + 4 + margins.left() + margins.right(),
                 fontMetrics().height() + margins.top() + margins.bottom());
  }

  static constexpr int MaxHintCharacters = 256;
  bool elided_ = false;
};

}  // namespace mireforge
