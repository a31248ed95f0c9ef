#pragma once
// Pieces the wizards share: their base class, the decorative side picture
// and the pages built around it, headings, the row of buttons, the
// four-colour key of the terrain classes, a picture box that stretches its
// image, and the copy of the map that Cancel puts back.
#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

class QLabel;
class QPushButton;
class QShowEvent;
class QStackedWidget;
class QVBoxLayout;

namespace mireforge {

class MapGrid;

// A wizard starts over from its first page each time the program shows it;
// coming back from being minimised is no new start.
class WizardDialog : public QDialog {
  Q_OBJECT
 public:
  using QDialog::QDialog;
  virtual void FormShow() = 0;

 protected:
  void showEvent(QShowEvent* event) override;
  // The size the pages were drawn for; with a larger font the wizard grows
  // until its wrapped texts fit, rather than cutting them.
  void SetDesignedSize(QSize size);

 private:
  void FitToFont();
  QSize designed_;
};

// Our own artwork for the wizards' first and last pages: hills under a sky,
// drawn here so no picture file has to travel with the program.
QPixmap WizardSidePicture(int width, int height);

// A page with the side picture (150 pixels wide) down its left edge and a
// column beside it that the caller fills with the page's texts and controls.
struct PicturePage {
  QWidget* Page;
  QVBoxLayout* Column;
};
PicturePage CreatePicturePage(int pictureHeight);

// A first page on white: the side picture, a heading and a paragraph.
QWidget* CreateWelcomePage(int pictureHeight, const QString& heading, const QString& text);

// A page heading: the label's font, bold and a third larger.
QLabel* WizardHeading(const QString& text, QWidget* parent);
QLabel* WrappedText(const QString& text, QWidget* parent);

// Puts the pages above a row of buttons on the right: previous (may be null,
// for a wizard that never goes back), next, a gap, cancel. Next is the default
// button, so Enter moves on; the others never take that role.
QVBoxLayout* LayOutWizard(QDialog* wizard, QStackedWidget* pages, QPushButton* previous, QPushButton* next,
                          QPushButton* cancel);

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

// The map as it was when a wizard opened, for Cancel to put back.
struct MapBackup {
  // Replaces the copy; an empty map leaves it empty.
  void Take(const MapGrid& map);
  // Puts size and cells back and rebuilds the terrain rows.
  void Restore(MapGrid& map) const;

  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Cells;
};

}  // namespace mireforge
