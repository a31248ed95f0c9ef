#pragma once
// TfLegend: the preview colours of the sixteen terrains; a right click on a
// box offers to copy its colour text to the clipboard.
#include <QDialog>
#include <QFrame>
#include <array>
#include <cstdint>

class QMenu;

namespace mireforge {

class LegendBox : public QFrame {
  Q_OBJECT
 public:
  LegendBox(std::uint32_t color, QWidget* parent);
  std::uint32_t Color() const { return color_; }

 signals:
  void RightClicked(LegendBox* box, const QPoint& globalPos);

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  std::uint32_t color_;
};

class TfLegend : public QDialog {
  Q_OBJECT
 public:
  explicit TfLegend(QWidget* parent = nullptr);
  // Puts the remembered box's colour text on the clipboard.
  void CopyColor();

  std::array<LegendBox*, 16> boxes{};
  LegendBox* clickedBox = nullptr;
  QMenu* popup = nullptr;
};

}  // namespace mireforge
