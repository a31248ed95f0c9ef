#include "app/wizards/seed_gallery_view.h"

#include <QGridLayout>
#include <QPainter>

namespace mireforge {

GalleryTile::GalleryTile(QWidget* parent) : QAbstractButton(parent) {
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_Hover);
  setFocusPolicy(Qt::TabFocus);
  setToolTip("Use this seed");
}

void GalleryTile::SetImage(QImage image) {
  image_ = std::move(image);
  update();
}

void GalleryTile::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const bool lit = underMouse() || hasFocus();
  painter.fillRect(rect(), lit ? palette().highlight() : palette().mid());
  const QRect inside = rect().adjusted(2, 2, -2, -2);
  if (image_.isNull()) painter.fillRect(inside, palette().window());
  else painter.drawImage(inside, image_);
}

SeedGalleryView::SeedGalleryView(QWidget* parent) : QWidget(parent) {
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(3);
  for (int i = 0; i < Count; ++i) {
    tiles_[i] = new GalleryTile(this);
    tiles_[i]->setAccessibleName(QString("Seed %1").arg(i + 1));
    tiles_[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(tiles_[i], i / 3, i % 3);
    connect(tiles_[i], &QAbstractButton::clicked, this, [this, i] { emit Picked(i); });
  }
}

void SeedGalleryView::SetImages(std::vector<QImage> images) {
  for (int i = 0; i < Count; ++i) tiles_[i]->SetImage(i < static_cast<int>(images.size()) ? std::move(images[i]) : QImage());
}

}  // namespace mireforge
