#include "app/actual_view/actual_view.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/grid/map_grid_view.h"
#include "base/error.h"
#include "project/project.h"
#include "scene/scene_pictures.h"
#include "scene/scene_view.h"

namespace mireforge {

namespace {

constexpr QRgb TextColour = qRgb(255, 255, 232);

QFont TextFont() {
  QFont font("Arial", 12, QFont::Bold);
  font.setStyleHint(QFont::SansSerif);  // the closest sans font where Arial is absent
  return font;
}

}  // namespace

TfActualView::TfActualView(const Project& project, MapGridView* grid, QWidget* parent)
    : QWidget(parent, Qt::Tool), project_(project), grid_(grid) {
  setWindowTitle("Actual view");
  setFixedSize(SceneWidth, SceneHeight);
  // The whole picture is composed off screen; nothing needs erasing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  const QString programFolder = QCoreApplication::applicationDirPath();
  // Beside the program (a portable copy), then where the package installs it.
  std::vector<std::string> packs{(programFolder + "/scene").toStdString(),
                                 (programFolder + "/../share/mireforge/scene").toStdString()};
#ifdef MIREFORGE_SCENE_PACK_DIR
  packs.push_back(MIREFORGE_SCENE_PACK_DIR);  // a build run from its own tree
#endif
  SetPictureSources(programFolder.toStdString(), std::move(packs));
  if (grid_) connect(grid_, &MapGridView::CellClicked, this, &TfActualView::MoveTo);
}

TfActualView::~TfActualView() = default;

void TfActualView::SetPictureSources(std::string programFolder, std::vector<std::string> packFolders) {
  programFolder_ = std::move(programFolder);
  packFolders_ = std::move(packFolders);
}

void TfActualView::ShowCentred() {
  if (QWidget* owner = parentWidget()) {
    const QRect area = owner->frameGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  show();
  raise();
  activateWindow();
}

void TfActualView::MoveTo(int column, int row) {
  state_.MoveTo(column, row);
  update();
}

void TfActualView::Refresh() {
  // A map that became smaller must not leave the viewer outside it, where every step is refused.
  state_.ClampInto(project_.Map);
  update();
}

QString TfActualView::Notice() const {
  return pictures_ ? QString::fromStdString(pictures_->Notice()) : QString();
}

void TfActualView::LoadPictures() {
  try {
    pictures_ = std::make_unique<ScenePictures>(OpenPictureLibrary(programFolder_, packFolders_));
  } catch (const Error& error) {
    // No library, or a damaged one: the view still works, in plain colours.
    pictures_ = std::make_unique<ScenePictures>(nullptr, error.what());
  }
}

void TfActualView::showEvent(QShowEvent* event) {
  if (!pictures_) LoadPictures();
  QWidget::showEvent(event);
}

void TfActualView::hideEvent(QHideEvent* event) {
  pictures_.reset();  // the library and every decoded picture are let go while hidden
  QWidget::hideEvent(event);
}

QImage TfActualView::RenderFrame() { return ComposeFrame().copy(); }

QImage TfActualView::ComposeFrame(bool withTexts) {
  if (!pictures_) LoadPictures();
  ComposeScene(frame_, *pictures_, SceneSprites(state_, project_.Map));
  // Paint the text straight into the composed pixels: 0xAARRGGBB is Qt's RGB32.
  QImage image(reinterpret_cast<uchar*>(frame_.Pixels.data()), frame_.Width, frame_.Height, QImage::Format_RGB32);
  if (withTexts) {
    QPainter painter(&image);
    DrawTexts(painter);
  }
  return image;
}

void TfActualView::DrawTexts(QPainter& painter) {
  painter.setFont(TextFont());
  painter.setPen(QColor(TextColour));
  const int lineHeight = painter.fontMetrics().height();
  const QRect line(12, 8, SceneWidth - 24, lineHeight);
  painter.drawText(line, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                   QString::fromStdString(LocationLine(state_, project_)));
  painter.drawText(line.translated(0, 18), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                   QString::fromStdString(LookingLine(state_, project_)));
  if (const QString notice = Notice(); !notice.isEmpty()) {
    QFont small = TextFont();
    small.setPointSize(9);
    painter.setFont(small);
    const QRect band(0, SceneHeight - 24, SceneWidth, 24);
    painter.fillRect(band, QColor(0, 0, 0, 150));
    painter.drawText(band.adjusted(12, 0, -12, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(notice, Qt::ElideRight, SceneWidth - 24));
  }
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(0, 0, SceneWidth - 1, SceneHeight - 1);
}

void TfActualView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // On a high-density screen the pictures become sharp squares of pixels and the
  // texts are drawn at the screen's own resolution rather than enlarged.
  const bool dense = devicePixelRatioF() > 1.0;
  painter.drawImage(0, 0, ComposeFrame(!dense));
  if (dense) DrawTexts(painter);
}

void TfActualView::ActAsKey(ViewKey key) {
  const bool close = state_.HandleKey(key, project_.Map);
  if (grid_) grid_->SetCurrentCell(state_.ViewX, state_.ViewY);
  if (close)
    hide();
  else
    update();
}

void TfActualView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape: ActAsKey(ViewKey::Escape); break;
    case Qt::Key_Left: ActAsKey(ViewKey::Left); break;
    case Qt::Key_Right: ActAsKey(ViewKey::Right); break;
    case Qt::Key_Up: ActAsKey(ViewKey::Up); break;
    case Qt::Key_Down: ActAsKey(ViewKey::Down); break;
    default:
      // Every key puts the grid's current cell under the viewer.
      if (grid_) grid_->SetCurrentCell(state_.ViewX, state_.ViewY);
      update();
      break;
  }
  event->accept();
}

void TfActualView::mousePressEvent(QMouseEvent* event) {
  pointer_ = event->position().toPoint();
  if (event->button() == Qt::LeftButton)
    if (const auto key = MouseRegionKey(pointer_.x(), pointer_.y(), width(), height())) ActAsKey(*key);
}

void TfActualView::mouseMoveEvent(QMouseEvent* event) {
  pointer_ = event->position().toPoint();
  if (event->buttons() & Qt::LeftButton)
    if (const auto key = MouseRegionKey(pointer_.x(), pointer_.y(), width(), height())) ActAsKey(*key);
}

}  // namespace mireforge
