#pragma once
// The terrain shares as labelled bars: one row per terrain, named on the left,
// against a percent scale along the bottom.
#include <QWidget>
#include <vector>

#include "model/domains.h"

namespace mireforge {

class ShareChart : public QWidget {
  Q_OBJECT
 public:
  ShareChart(std::vector<TStatItem> items, long long total, QWidget* parent = nullptr);

  // Where the parts are drawn, in widget coordinates.
  QRect LabelRect(int row) const;
  QRectF BarRect(int row) const;
  QRect ScaleRect() const;
  // The scale's marks in percent, from 0 to its end.
  std::vector<double> ScaleMarks() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int PlotLeft() const;
  int PlotRight() const;
  int PlotBottom() const;
  double RowHeight() const;

  std::vector<TStatItem> items_;
  long long total_;
  double largestPercent_ = 0;
};

}  // namespace mireforge
