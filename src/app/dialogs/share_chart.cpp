#include "app/dialogs/share_chart.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "app/grid/tile_images.h"
#include "formats/preview_image.h"

namespace mireforge {

namespace {

constexpr int Gap = 6;

QString Name(const TStatItem& item) { return QString::fromStdString(item.Name).trimmed(); }

QString PercentText(double percent) { return QString::number(percent, 'g', 4) + " %"; }

// A round step giving four or five marks up to the largest share.
double ScaleStep(double largest) {
  const double raw = largest / 4;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double m : {1.0, 2.0, 2.5, 5.0})
    if (m * magnitude >= raw) return m * magnitude;
  return 10 * magnitude;
}

std::vector<double> ScaleMarksUpTo(double largest) {
  std::vector<double> marks{0};
  if (largest <= 0) return marks;
  const double step = ScaleStep(largest);
  while (marks.back() < largest - 1e-9) marks.push_back(marks.back() + step);
  return marks;
}

}  // namespace

ShareChart::ShareChart(std::vector<TStatItem> items, long long total, QWidget* parent)
    : QWidget(parent), items_(std::move(items)), total_(total) {
  int largest = 0;
  for (const TStatItem& item : items_) largest = std::max(largest, item.Count);
  if (total_ > 0) largestPercent_ = 100.0 * largest / static_cast<double>(total_);
  int names = 0;
  for (const TStatItem& item : items_) names = std::max(names, fontMetrics().horizontalAdvance(Name(item)));
  setMinimumSize(names + 2 * Gap + 180, static_cast<int>(items_.size()) * (fontMetrics().height() + 2) + 3 * Gap);
}

int ShareChart::PlotLeft() const {
  int names = 0;
  for (const TStatItem& item : items_) names = std::max(names, fontMetrics().horizontalAdvance(Name(item)));
  return names + 2 * Gap;
}

// Room on the right for half of the last mark's text, centred under its line.
int ShareChart::PlotRight() const { return width() - 1 - Gap - fontMetrics().horizontalAdvance("100 %") / 2; }
int ShareChart::PlotBottom() const { return height() - fontMetrics().height() - 2 * Gap; }
double ShareChart::RowHeight() const {
  return items_.empty() ? 0 : static_cast<double>(PlotBottom() - Gap) / static_cast<double>(items_.size());
}

QRect ShareChart::LabelRect(int row) const {
  const double top = Gap + row * RowHeight();
  return QRect(QPoint(Gap, static_cast<int>(top)), QPoint(PlotLeft() - Gap, static_cast<int>(top + RowHeight()) - 1));
}

std::vector<double> ShareChart::ScaleMarks() const { return ScaleMarksUpTo(largestPercent_); }

QRectF ShareChart::BarRect(int row) const {
  const double end = ScaleMarks().back();
  const double percent = total_ > 0 ? 100.0 * items_[row].Count / static_cast<double>(total_) : 0;
  const double length = end > 0 ? percent / end * (PlotRight() - PlotLeft()) : 0;
  const double top = Gap + row * RowHeight();
  return QRectF(PlotLeft(), top + RowHeight() * 0.15, length, RowHeight() * 0.7);
}

QRect ShareChart::ScaleRect() const {
  return QRect(QPoint(0, PlotBottom() + 1), QPoint(width() - 1, height() - 1));
}

void ShareChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (items_.empty() || total_ <= 0) return;
  const std::vector<double> marks = ScaleMarks();
  const QFontMetrics metrics = fontMetrics();
  for (const double mark : marks) {
    const int x = PlotLeft() + static_cast<int>(mark / marks.back() * (PlotRight() - PlotLeft()) + 0.5);
    painter.setPen(QColor(200, 200, 200));
    painter.drawLine(x, Gap, x, PlotBottom());
    painter.setPen(Qt::black);
    const QString text = PercentText(mark);
    const int textWidth = metrics.horizontalAdvance(text);
    painter.drawText(QRect(x - textWidth / 2, PlotBottom() + Gap, textWidth, metrics.height()), Qt::AlignCenter, text);
  }
  for (int row = 0; row < static_cast<int>(items_.size()); ++row) {
    painter.setPen(Qt::black);
    painter.drawText(LabelRect(row), Qt::AlignRight | Qt::AlignVCenter, Name(items_[row]));
    const QRectF bar = BarRect(row);
    if (bar.width() <= 0) continue;
    painter.fillRect(bar, ColorFromBgr(static_cast<std::int32_t>(PreviewPalette[items_[row].Value])));
    painter.drawRect(bar);
  }
  painter.drawLine(PlotLeft(), Gap, PlotLeft(), PlotBottom());
  painter.drawLine(PlotLeft(), PlotBottom(), PlotRight(), PlotBottom());
}

}  // namespace mireforge
