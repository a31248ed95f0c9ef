#pragma once
// TfResizeMap ("Resize map..."): the new size, where the old map sits in it
// (one of nine anchors, or offsets typed by hand), and whether the border ring
// becomes frozen wastes afterwards.
#include <QDialog>
#include <array>

#include "project/map_transform.h"

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QSpinBox;
class QToolButton;

namespace mireforge {

class TfResizeMap : public QDialog {
  Q_OBJECT
 public:
  TfResizeMap(int width, int height, QWidget* parent = nullptr);

  MapTransform Transform() const;
  // The anchor button checked, or -1 while the offsets match none.
  int CheckedAnchor() const;

  QLabel* lCurrent = nullptr;
  QSpinBox* eWidth = nullptr;
  QSpinBox* eHeight = nullptr;
  std::array<QToolButton*, 9> bAnchor{};  // row by row, top-left first
  QSpinBox* eOffsetX = nullptr;
  QSpinBox* eOffsetY = nullptr;
  QCheckBox* cbRing = nullptr;
  QDialogButtonBox* buttons = nullptr;

 private:
  void ChooseAnchor(int anchor);
  void SizeChanged();
  void OffsetsTyped();
  void ShowAnchor();
  MapOffset OffsetOf(int anchor) const;

  int oldWidth_, oldHeight_;
  int anchor_ = static_cast<int>(Anchor::TopLeft);
  bool updating_ = false;
};

}  // namespace mireforge
