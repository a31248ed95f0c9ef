#include "app/wizards/wizard_parts.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QLayout>
#include <algorithm>
#include <cmath>

#include "model/map_grid.h"

namespace mireforge {

void WizardDialog::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    FormShow();
    FitToFont();
  }
  QDialog::showEvent(event);
}

void WizardDialog::SetDesignedSize(QSize size) {
  designed_ = size;
  setMinimumSize(size);
  resize(size);
}

void WizardDialog::FitToFont() {
  if (!layout() || designed_.isEmpty()) return;
  layout()->activate();
  const int width = std::max(designed_.width(), layout()->totalMinimumSize().width());
  // A top-level window learns nothing of its wrapped labels' height by itself.
  const int needed = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width)
                                                   : layout()->totalMinimumSize().height();
  const QSize least(width, std::max(designed_.height(), needed));
  setMinimumSize(least);
  resize(size().expandedTo(least));
}

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

PicturePage CreatePicturePage(int pictureHeight) {
  auto* page = new QWidget;
  auto* side = new QLabel(page);
  side->setPixmap(WizardSidePicture(150, pictureHeight));
  auto* column = new QVBoxLayout;
  column->setContentsMargins(12, 8, 12, 8);  // the texts keep off the picture and the edges
  auto* layout = new QHBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(side, 0, Qt::AlignTop);
  layout->addLayout(column, 1);
  return {page, column};
}

QWidget* CreateWelcomePage(int pictureHeight, const QString& heading, const QString& text) {
  const PicturePage welcome = CreatePicturePage(pictureHeight);
  welcome.Page->setAutoFillBackground(true);
  QPalette white = welcome.Page->palette();
  white.setColor(QPalette::Window, Qt::white);
  welcome.Page->setPalette(white);
  welcome.Column->addWidget(WizardHeading(heading, welcome.Page));
  welcome.Column->addWidget(WrappedText(text, welcome.Page));
  welcome.Column->addStretch();
  return welcome.Page;
}

QLabel* WizardHeading(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setBold(true);
  font.setPointSizeF(font.pointSizeF() * 1.3);
  label->setFont(font);
  return label;
}

QLabel* WrappedText(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  return label;
}

QVBoxLayout* LayOutWizard(QDialog* wizard, QStackedWidget* pages, QPushButton* previous, QPushButton* next,
                          QPushButton* cancel) {
  next->setDefault(true);
  if (previous != nullptr) previous->setAutoDefault(false);
  cancel->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  if (previous != nullptr) buttons->addWidget(previous);
  buttons->addWidget(next);
  buttons->addSpacing(12);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(wizard);
  layout->addWidget(pages, 1);
  layout->addLayout(buttons);
  return layout;
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
      {"downs", "background:rgb(255,255,0);color:black;padding:0 6px"},
      {"forest", "background:rgb(0,128,0);color:white;padding:0 6px"},
      {"plains", "background:rgb(144,248,152);color:black;padding:0 6px"},
      {"mountains", "background:rgb(128,64,0);color:white;padding:0 6px"},
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

void MapBackup::Take(const MapGrid& map) {
  *this = {};
  if (map.Empty()) return;
  Width = map.Width;
  Height = map.Height;
  Cells.assign(map.Cells.begin(), map.Cells.end());
}

void MapBackup::Restore(MapGrid& map) const {
  map.ResizeMap(Width, Height);
  map.Cells.assign(Cells.begin(), Cells.end());
  map.RebuildTerrainRows();
}

}  // namespace mireforge
