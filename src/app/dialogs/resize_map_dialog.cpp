#include "app/dialogs/resize_map_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/dialogs/editor_dialogs.h"
#include "model/terrain.h"

namespace mireforge {

namespace {

constexpr int IconSize = 20;

const char* const AnchorNames[9] = {"Top left", "Top",         "Top right",
                                    "Left",     "Centre",      "Right",
                                    "Bottom left", "Bottom", "Bottom right"};

// The anchor's own button shows a block (the old map); its neighbours show
// arrows pointing away from it, the way the map grows; the others are blank.
QIcon AnchorIcon(int button, int anchor, const QColor& color) {
  QPixmap pixmap(IconSize, IconSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const int dx = button % 3 - anchor % 3, dy = button / 3 - anchor / 3;
  if (dx == 0 && dy == 0) {
    painter.fillRect(QRectF(4, 4, IconSize - 8, IconSize - 8), color);
  } else if (std::abs(dx) <= 1 && std::abs(dy) <= 1) {
    const double length = std::hypot(dx, dy);
    const QPointF centre(IconSize / 2.0, IconSize / 2.0), direction(dx / length, dy / length);
    const QPointF tip = centre + direction * 7, tail = centre - direction * 6;
    const QPointF side(-direction.y(), direction.x());
    painter.setPen(QPen(color, 2));
    painter.drawLine(tail, tip - direction * 3);
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip - direction * 6 + side * 4);
    head.lineTo(tip - direction * 6 - side * 4);
    head.closeSubpath();
    painter.fillPath(head, color);
  }
  return QIcon(pixmap);
}

QSpinBox* NewSpinBox(int min, int max, int value, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(min, max);
  box->setValue(value);
  return box;
}

}  // namespace

TfResizeMap::TfResizeMap(int width, int height, QWidget* parent)
    : QDialog(parent), oldWidth_(width), oldHeight_(height) {
  setWindowTitle("Resize map");
  auto* layout = new QVBoxLayout(this);
  lCurrent = new QLabel(QString("Current size: %1 x %2").arg(width).arg(height), this);
  layout->addWidget(lCurrent);

  auto* size = new QFormLayout;
  eWidth = NewSpinBox(1, MaxMapSize, width, this);
  eHeight = NewSpinBox(1, MaxMapSize, height, this);
  size->addRow("&Width:", eWidth);
  size->addRow("&Height:", eHeight);
  layout->addLayout(size);

  auto* placement = new QHBoxLayout;
  auto* anchorBox = new QGroupBox("Anchor", this);
  auto* grid = new QGridLayout(anchorBox);
  grid->setSpacing(2);
  for (int i = 0; i < 9; ++i) {
    auto* button = new QToolButton(anchorBox);
    button->setCheckable(true);
    button->setAutoRaise(false);
    button->setIconSize(QSize(IconSize, IconSize));
    button->setFixedSize(IconSize + 10, IconSize + 10);
    button->setToolTip(AnchorNames[i]);
    button->setAccessibleName(AnchorNames[i]);
    connect(button, &QToolButton::clicked, this, [this, i] { ChooseAnchor(i); });
    grid->addWidget(button, i / 3, i % 3);
    bAnchor[i] = button;
  }
  placement->addWidget(anchorBox);

  auto* offsetBox = new QGroupBox("Offset", this);
  auto* offsets = new QFormLayout(offsetBox);
  eOffsetX = NewSpinBox(-MaxMapSize, MaxMapSize, 0, offsetBox);
  eOffsetY = NewSpinBox(-MaxMapSize, MaxMapSize, 0, offsetBox);
  offsets->addRow("&X:", eOffsetX);
  offsets->addRow("&Y:", eOffsetY);
  placement->addWidget(offsetBox, 1);
  layout->addLayout(placement);
  layout->addWidget(new QLabel("The offset is where the old top-left cell lands.", this));

  cbRing = new QCheckBox("Rebuild the frozen-wastes ring", this);
  cbRing->setChecked(true);
  layout->addWidget(cbRing);
  buttons = OkCancelButtons(this);
  layout->addWidget(buttons);

  connect(eWidth, &QSpinBox::valueChanged, this, &TfResizeMap::SizeChanged);
  connect(eHeight, &QSpinBox::valueChanged, this, &TfResizeMap::SizeChanged);
  connect(eOffsetX, &QSpinBox::valueChanged, this, &TfResizeMap::OffsetsTyped);
  connect(eOffsetY, &QSpinBox::valueChanged, this, &TfResizeMap::OffsetsTyped);
  ShowAnchor();
  eWidth->setFocus();
  eWidth->selectAll();
}

MapTransform TfResizeMap::Transform() const {
  return MapTransform::ResizeTo(eWidth->value(), eHeight->value(), {eOffsetX->value(), eOffsetY->value()},
                                cbRing->isChecked());
}

int TfResizeMap::CheckedAnchor() const { return anchor_; }

MapOffset TfResizeMap::OffsetOf(int anchor) const {
  return AnchorOffset(static_cast<Anchor>(anchor), oldWidth_, oldHeight_, eWidth->value(), eHeight->value());
}

void TfResizeMap::ChooseAnchor(int anchor) {
  anchor_ = anchor;
  const MapOffset offset = OffsetOf(anchor);
  updating_ = true;
  eOffsetX->setValue(offset.dx);
  eOffsetY->setValue(offset.dy);
  updating_ = false;
  ShowAnchor();
}

void TfResizeMap::SizeChanged() {
  // Offsets typed by hand stay as they are; an anchor keeps its place.
  if (anchor_ >= 0) ChooseAnchor(anchor_);
}

void TfResizeMap::OffsetsTyped() {
  if (updating_) return;
  const MapOffset typed{eOffsetX->value(), eOffsetY->value()};
  anchor_ = -1;
  for (int i = 0; i < 9 && anchor_ < 0; ++i)
    if (OffsetOf(i) == typed) anchor_ = i;
  ShowAnchor();
}

void TfResizeMap::ShowAnchor() {
  const QColor color = palette().color(QPalette::ButtonText);
  for (int i = 0; i < 9; ++i) {
    bAnchor[i]->setChecked(i == anchor_);
    bAnchor[i]->setIcon(anchor_ < 0 ? QIcon() : AnchorIcon(i, anchor_, color));
  }
}

}  // namespace mireforge
