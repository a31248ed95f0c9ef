#pragma once
// TfActualView, the actual view: a first-person landscape of the map seen from
// one cell, in a non-modal tool window. The scene itself is composed by the
// core (scene/); this window loads the pictures while it is shown, draws the
// two text lines and the frame, and turns keys and mouse into steps.
#include <QImage>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "pictures/image.h"
#include "scene/view_state.h"

class QPainter;

namespace mireforge {

struct Project;
class MapGridView;
class ScenePictures;

class TfActualView : public QWidget {
  Q_OBJECT
 public:
  // Follows grid's clicks, and moves grid's current cell after every key.
  TfActualView(const Project& project, MapGridView* grid, QWidget* parent = nullptr);
  ~TfActualView() override;

  // Where the pictures are looked for: veduvuderuv.dll in programFolder, else
  // the first pack folder that exists. Defaults to the program's folder.
  void SetPictureSources(std::string programFolder, std::vector<std::string> packFolders);

  // Shows the view centred on its parent window.
  void ShowCentred();
  // Moves the viewer (the grid reports every click here) and repaints.
  void MoveTo(int column, int row);
  // Repaints after the terrain or descriptions changed, keeping the viewer on the map.
  void Refresh();

  ViewState& State() { return state_; }
  const ViewState& State() const { return state_; }
  // Empty while every picture was found; else what is missing.
  QString Notice() const;
  // The lines written over the picture: where the viewer stands and what lies
  // ahead, or, without a map, one line saying so.
  QStringList Texts() const;
  bool PicturesLoaded() const { return pictures_ != nullptr; }
  // The whole picture as painted, composed off screen.
  QImage RenderFrame();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // The frame in frame_'s own pixels (no copy): valid until the next call.
  QImage ComposeFrame(bool withTexts = true);
  // The two text lines, the notice and the frame, in scene coordinates.
  void DrawTexts(QPainter& painter);
  void ActAsKey(ViewKey key);
  void LoadPictures();

  const Project& project_;
  MapGridView* grid_;
  ViewState state_;
  QPoint pointer_{0, 0};
  std::string programFolder_;
  std::vector<std::string> packFolders_;
  std::unique_ptr<ScenePictures> pictures_;
  Image frame_;
};

}  // namespace mireforge
