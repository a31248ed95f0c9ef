#pragma once
// The generation wizard's gallery of seeds: nine small previews side by side,
// three by three; a click on one picks it.
#include <QAbstractButton>
#include <QImage>
#include <array>
#include <vector>

namespace mireforge {

// One small preview, stretched to the tile, that can be clicked.
class GalleryTile : public QAbstractButton {
  Q_OBJECT
 public:
  explicit GalleryTile(QWidget* parent = nullptr);
  void SetImage(QImage image);
  const QImage& Image() const { return image_; }
  QSize sizeHint() const override { return {96, 96}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
};

class SeedGalleryView : public QWidget {
  Q_OBJECT
 public:
  static constexpr int Count = 9;
  explicit SeedGalleryView(QWidget* parent = nullptr);
  // One image per tile, in reading order.
  void SetImages(std::vector<QImage> images);
  GalleryTile* Tile(int index) const { return tiles_[index]; }

 signals:
  void Picked(int index);

 private:
  std::array<GalleryTile*, Count> tiles_{};
};

}  // namespace mireforge
