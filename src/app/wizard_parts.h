#pragma once
// Pieces the wizards share: the decorative side picture, the four-colour key
// of the terrain classes, and a picture box that stretches its image.
#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace mireforge {

// Our own artwork for the wizards' first and last pages: hills under a sky,
// drawn here so no picture file has to travel with the program.
QPixmap WizardSidePicture(int width, int height);

// Four boxes left to right: "downs", "forest", "plains", "mountains" on their
// class colours, as the previews draw them.
QWidget* CreateColourKey(QWidget* parent);

// Shows an image stretched to the whole box, aspect ratio not kept. Painting
// goes through Qt's backing store, so it never flickers.
class StretchedImage : public QWidget {
  Q_OBJECT
 public:
  explicit StretchedImage(QWidget* parent = nullptr);
  void SetImage(QImage image);
  const QImage& Image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
};

}  // namespace mireforge
