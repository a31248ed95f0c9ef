#include "app/wizard_parts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace mireforge {

QPixmap WizardSidePicture(int width, int height) {
  QPixmap picture(width, height);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, height);
  sky.setColorAt(0.0, QColor(24, 32, 72));
  sky.setColorAt(0.55, QColor(96, 120, 176));
  sky.setColorAt(1.0, QColor(200, 190, 160));
  painter.fillRect(picture.rect(), sky);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(240, 236, 210));
  painter.drawEllipse(QPointF(width * 0.72, height * 0.16), width * 0.09, width * 0.09);
  // Ridges from far to near, each darker: the terrain class colours at dusk.
  const QColor ridges[] = {QColor(110, 80, 60), QColor(128, 64, 0), QColor(0, 96, 0), QColor(100, 170, 104)};
  for (int layer = 0; layer < 4; ++layer) {
    QPainterPath path;
    const double base = height * (0.48 + layer * 0.13);
    path.moveTo(0, height);
    for (int x = 0; x <= width; x += 2) {
      const double y = base - std::sin(x * (0.045 - layer * 0.008) + layer * 1.7) * height * (0.07 - layer * 0.012) -
                       std::sin(x * 0.13 + layer) * height * 0.015;
      path.lineTo(x, y);
    }
    path.lineTo(width, height);
    path.closeSubpath();
    painter.setBrush(ridges[layer]);
    painter.drawPath(path);
  }
  return picture;
}

QWidget* CreateColourKey(QWidget* parent) {
  auto* key = new QWidget(parent);
  auto* layout = new QHBoxLayout(key);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  struct Swatch {
    const char* text;
    const char* style;
  };
  const Swatch swatches[] = {
      {"downs", "background:rgb(255,255,0);color:black"},
      {"forest", "background:rgb(0,128,0);color:white"},
      {"plains", "background:rgb(144,248,152);color:black"},
      {"mountains", "background:rgb(128,64,0);color:white"},
  };
  for (const Swatch& swatch : swatches) {
    auto* label = new QLabel(swatch.text, key);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(swatch.style);
    label->setMinimumHeight(20);
    layout->addWidget(label);
  }
  return key;
}

StretchedImage::StretchedImage(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void StretchedImage::SetImage(QImage image) {
  image_ = std::move(image);
  update();
}

void StretchedImage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (image_.isNull()) {
    painter.fillRect(rect(), palette().window());
    return;
  }
  painter.drawImage(rect(), image_);
}

}  // namespace mireforge
