#pragma once
// A status bar panel that cuts its text with an ellipsis when it does not fit,
// and can show a passing message (a menu or toolbar hint) over its own text.
#include <QLabel>
#include <QPainter>
#include <vector>

namespace mireforge {

class StatusPanel : public QLabel {
 public:
  using QLabel::QLabel;
  void SetElided(bool elided) { elided_ = elided; }
  // An empty message shows the panel's own text again.
  void SetMessage(const QString& message) {
    message_ = message;
    update();
  }
  const QString& Message() const { return message_; }
  // What the panel shows: the message while there is one, else its text.
  QString Shown() const { return message_.isEmpty() ? text() : message_; }
  // The width the panel asks for whatever it shows now, and the least it can be cut to.
  void SetWidths(int preferred, int least) {
    preferred_ = preferred;
    setMinimumWidth(least);
    setMaximumWidth(preferred);
    updateGeometry();
  }
  // An elided panel measures no more than its first characters, so that a long
  // text neither stretches the bar nor costs a long layout.
  QSize sizeHint() const override {
    QSize size = elided_ ? ShortHint() : QLabel::sizeHint();
    if (preferred_ >= 0) size.setWidth(preferred_);
    return size;
  }
  QSize minimumSizeHint() const override {
    QSize size = elided_ ? QSize(0, ShortHint().height()) : QLabel::minimumSizeHint();
    if (preferred_ >= 0) size.setWidth(minimumWidth());
    return size;
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    if ((!elided_ && message_.isEmpty()) || !pixmap().isNull()) return QLabel::paintEvent(event);
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(2, 0, -2, 0);
    painter.drawText(area, static_cast<int>(alignment()),
                     fontMetrics().elidedText(Shown(), Qt::ElideRight, area.width()));
  }

 private:
  // Measured again only for another text, font or screen: the bar asks on every
  // new text of a panel beside it, and the tools' hints are long.
  QSize ShortHint() const {
    if (measured_ != text() || measuredFont_ != font() || measuredDpi_ != logicalDpiX()) {
      measured_ = text();
      measuredFont_ = font();
      measuredDpi_ = logicalDpiX();
      measuredWidth_ = fontMetrics().horizontalAdvance(measured_.left(MaxHintCharacters));
    }
    const QMargins margins = contentsMargins();
    return QSize(measuredWidth_ + 4 + margins.left() + margins.right(),
                 fontMetrics().height() + margins.top() + margins.bottom());
  }

  static constexpr int MaxHintCharacters = 256;
  bool elided_ = false;
  int preferred_ = -1;
  QString message_;
  mutable QString measured_;
  mutable QFont measuredFont_;
  mutable int measuredDpi_ = 0, measuredWidth_ = 0;
};

// Holds status bar panels and lays them out itself. A label's new text asks its
// parent to lay out again; from the status bar that request goes on to the main
// window, which lays out and repaints its docks and toolbars, on every click and
// edit that shows another cell. A holder takes the request instead.
class StatusHolder : public QWidget {
 protected:
  using QWidget::QWidget;
  // A panel asked for a new layout, or the holder was shown (hidden, it heard of no new text).
  virtual void PanelsChanged() = 0;
  // Puts the panels in place for the holder's size.
  virtual void Arrange() = 0;
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
};

// The status bar's place for one panel: it passes a request on only when the
// panel's size hints differ from what the bar last read, which for a panel of
// fixed width, or one that takes the room left over, is never.
class StatusSlot : public StatusHolder {
 public:
  StatusSlot(QWidget* panel, QWidget* parent);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 private:
  void PanelsChanged() override;
  void Arrange() override;
  // The panel's hint without what a layout ignores of it.
  QSize Used(QSize hint) const;
  void TakeLimits();

  QWidget* panel_;
  mutable QSize hintRead_, leastRead_;
};

// The end of the status bar: one panel that takes the room left over and, to its
// right, panels as wide as their texts (the tool hint, the selection). Their texts
// change with every tool and paste; laid out here instead of by the bar, a new
// text moves only these panels, and the window is not laid out again.
class StatusTail : public StatusHolder {
 public:
  StatusTail(QWidget* filling, QWidget* parent);
  // Right of the panels added before.
  void AddPanel(QWidget* panel);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 private:
  void PanelsChanged() override { Arrange(); }
  void Arrange() override;

  QWidget* filling_;
  std::vector<QWidget*> panels_;
};

}  // namespace mireforge
