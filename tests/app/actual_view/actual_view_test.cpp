// The actual view inside the real main window: opening and closing, keys and
// mouse walking the grid's current cell, and drawing with and without pictures.
#include "app/main_window/window_parts.h"
#include "app/actual_view/actual_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSpinBox>

#include "app/app_test_support.h"
#include "app/real_input.h"
#include "scene/picture_library.h"
#include "formats/preview_image.h"
#include "scene/scene_pictures.h"
#include "scene/scene_view.h"

namespace mireforge::testing {
namespace {

class ActualViewTest : public MainWindowTest {
 protected:
  TfActualView& Open() {
    PartOf<QAction>(*window, "aActualView")->trigger();
    QApplication::processEvents();
    return *PartOf<TfActualView>(*window, "fActualView");
  }
  void Key(int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(PartOf<TfActualView>(*window, "fActualView"), &press);
  }
  void MouseAt(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(pos), PartOf<TfActualView>(*window, "fActualView")->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(PartOf<TfActualView>(*window, "fActualView"), &event);
  }
};

TEST_F(ActualViewTest, OpensAsCentredToolWindowAndLoadsPicturesOnlyWhileShown) {
  Start();
  MakeBlankMap(20, 15, Forest);
  ASSERT_TRUE(PartOf<QAction>(*window, "aActualView")->isEnabled());
  TfActualView& view = Open();
  EXPECT_TRUE(view.isVisible());
  EXPECT_FALSE(view.isModal());
  EXPECT_TRUE(view.windowFlags() & Qt::Tool);
  EXPECT_EQ(view.windowTitle(), "Actual view");
  EXPECT_EQ(view.size(), QSize(512, 384));
  EXPECT_LE((view.frameGeometry().center() - window->frameGeometry().center()).manhattanLength(), 40);
  EXPECT_TRUE(view.PicturesLoaded());
  EXPECT_EQ(view.Notice(), "") << "our picture pack is found from a build tree";
  EXPECT_EQ(view.State().ViewDirection, 4);

  Key(Qt::Key_Right);
  Key(Qt::Key_Escape);
  EXPECT_FALSE(view.isVisible());
  EXPECT_FALSE(view.PicturesLoaded());
  Open();
  EXPECT_EQ(view.State().ViewDirection, 5) << "the direction survives closing";
}

TEST_F(ActualViewTest, ViewFollowsTheGridAndKeysMoveTheGridsCurrentCell) {
  Start();
  MakeBlankMap(20, 15);
  PartOf<MapGridView>(*window, "DG")->SetCurrentCell(6, 7);
  TfActualView& view = Open();
  EXPECT_EQ(view.State().ViewX, 6);
  EXPECT_EQ(view.State().ViewY, 7);

  Key(Qt::Key_Up);  // south
  EXPECT_EQ(view.State().ViewY, 8);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentRow(), 8);
  EXPECT_EQ(window->StatusText(5), "8");
  Key(Qt::Key_Left);
  Key(Qt::Key_Left);  // east
  Key(Qt::Key_Up);
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);
  EXPECT_EQ(view.State().ViewX, 5);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentColumn(), 5);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentRow(), 8);

  // While hidden, the grid still moves the viewer.
  Key(Qt::Key_Escape);
  PartOf<MapGridView>(*window, "DG")->SetCurrentCell(1, 2);
  EXPECT_EQ(view.State().ViewX, 1);
  EXPECT_EQ(view.State().ViewY, 2);
}

// Fill, a blank map and New repaint the view; a map that shrank keeps the viewer on it.
TEST_F(ActualViewTest, WholesaleChangesRepaintTheViewAndKeepTheViewerOnTheMap) {
  Start();
  MakeBlankMap(30, 20);
  TfActualView& view = Open();
  const EventCounter counter(&view, QEvent::Paint);
  for (int i = 0; i < 15; ++i) QTest::keyClick(&view, Qt::Key_Up);  // south
  QTest::keyClick(&view, Qt::Key_Left);
  QTest::keyClick(&view, Qt::Key_Left);  // east
  for (int i = 0; i < 12; ++i) QTest::keyClick(&view, Qt::Key_Up);
  ASSERT_EQ(view.State().ViewX, 12);
  ASSERT_EQ(view.State().ViewY, 15);
  const auto repainted = [&](int before) {
    QApplication::processEvents();
    return counter.count > before;
  };

  // The main window active before counting, as its activation repaints the view too.
  QApplication::setActiveWindow(window.get());
  QApplication::processEvents();
  int before = counter.count;
  OnModal<TfFill>([&](TfFill* d) {
    QTest::keyClick(d->cbTerrain, Qt::Key_Down);
    QTest::keyClick(d->cbTerrain, Qt::Key_Down);  // forest
    ClickButton(d, "OK");
  });
  PressKey(window.get(), Qt::Key_F, Qt::ControlModifier);
  ASSERT_EQ(Terrain(12, 15), Forest);
  EXPECT_TRUE(repainted(before)) << "after Fill";

  before = counter.count;
  prompts.answers.push_back(Answer::No);  // the Fill is not saved
  OnModal<TfNewBlank>([&](TfNewBlank* d) {
    d->eWidth->selectAll();
    QTest::keyClicks(d->eWidth, "10");
    d->eHeight->selectAll();
    QTest::keyClicks(d->eHeight, "8");
    ClickButton(d, "OK");
  });
  PartOf<QAction>(*window, "aNewBlank")->trigger();
  ASSERT_EQ(window->CurrentProject().Map.Width, 10);
  EXPECT_TRUE(repainted(before)) << "after Create blank map";
  EXPECT_EQ(view.State().ViewX, 9);
  EXPECT_EQ(view.State().ViewY, 7);
  QTest::keyClick(&view, Qt::Key_Down);  // a step back, west, is on the map again
  EXPECT_EQ(view.State().ViewX, 8);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentColumn(), 8);

  before = counter.count;
  prompts.answers.push_back(Answer::No);
  PartOf<QAction>(*window, "aNew")->trigger();
  ASSERT_FALSE(window->MapPresent());
  EXPECT_TRUE(repainted(before)) << "after New empty project";
  EXPECT_EQ(view.State().ViewX, 0);
  EXPECT_EQ(view.State().ViewY, 0);
  EXPECT_EQ(view.Texts(), QStringList{"No map: create or open one to look around."});
}

TEST_F(ActualViewTest, HoldingTheButtonInTheTopThirdWalksToTheEdge) {
  Start();
  MakeBlankMap(20, 15);
  PartOf<MapGridView>(*window, "DG")->SetCurrentCell(9, 3);
  Open();
  PartOf<TfActualView>(*window, "fActualView")->State().ViewDirection = 0;
  MouseAt(QEvent::MouseButtonPress, {250, 60}, Qt::LeftButton, Qt::LeftButton);
  for (int i = 0; i < 6; ++i) MouseAt(QEvent::MouseMove, {250 + i, 60}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(PartOf<TfActualView>(*window, "fActualView")->State().ViewY, 0);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->CurrentRow(), 0);
  // Moving without the button, and clicking the centre, do nothing.
  PartOf<TfActualView>(*window, "fActualView")->State().ViewDirection = 4;
  MouseAt(QEvent::MouseMove, {250, 60}, Qt::NoButton, Qt::NoButton);
  MouseAt(QEvent::MouseButtonPress, {256, 192}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(PartOf<TfActualView>(*window, "fActualView")->State().ViewY, 0);
}

TEST_F(ActualViewTest, FrameIsTheCoreSceneWithTextAndABlackFrame) {
  Start();
  MakeBlankMap(20, 15, Mountains);
  PartOf<MapGridView>(*window, "DG")->SetCurrentCell(10, 7);
  TfActualView& view = Open();
  const QImage frame = view.RenderFrame();
  ASSERT_EQ(frame.size(), QSize(512, 384));
  for (QPoint corner : {QPoint(0, 0), QPoint(511, 0), QPoint(0, 383), QPoint(511, 383), QPoint(256, 0)})
    EXPECT_EQ(frame.pixel(corner), qRgb(0, 0, 0)) << corner.x() << "," << corner.y();
  int textPixels = 0;
  for (int y = 8; y < 44; ++y)
    for (int x = 12; x < 300; ++x) textPixels += frame.pixel(x, y) == qRgb(255, 255, 232);
  EXPECT_GT(textPixels, 100) << "both text lines in their colour";

  // Below the text the picture is the core's composition, pixel for pixel.
  ScenePictures pictures(OpenPicturePack(MIREFORGE_SCENE_PACK_DIR));
  Image expected;
  ComposeScene(expected, pictures, SceneSprites(view.State(), window->CurrentProject().Map));
  int differing = 0;
  for (int y = 60; y < 383; ++y)
    for (int x = 1; x < 511; ++x) differing += frame.pixel(x, y) != (expected.At(x, y) | 0xFF000000u);
  EXPECT_EQ(differing, 0);
}

TEST_F(ActualViewTest, WithoutPicturesTheSceneIsPlainWithANotice) {
  Start();
  MakeBlankMap(10, 10, Forest);
  PartOf<MapGridView>(*window, "DG")->SetCurrentCell(5, 4);
  PartOf<TfActualView>(*window, "fActualView")->SetPictureSources(dir.filePath("nowhere").toStdString(), {dir.filePath("nopack").toStdString()});
  TfActualView& view = Open();
  EXPECT_EQ(view.Notice(),
            "No picture library found: neither veduvuderuv.dll nor the picture pack - the view is drawn in plain colours");
  const QImage frame = view.RenderFrame();
  EXPECT_EQ(frame.pixel(256, 300), ColorToPixel(PreviewPalette[Forest])) << "the nearest forest in its map colour";
  Key(Qt::Key_Up);  // still walks
  EXPECT_EQ(view.State().ViewY, 5);

  // A damaged library is reported, not a crash.
  QFile bad(dir.filePath("veduvuderuv.dll"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("MZ damaged");
  bad.close();
  Key(Qt::Key_Escape);
  view.SetPictureSources(dir.path().toStdString(), {});
  Open();
  EXPECT_TRUE(view.Notice().contains("is not a valid resource library")) << view.Notice().toStdString();
  EXPECT_FALSE(view.RenderFrame().isNull());
}

}  // namespace
}  // namespace mireforge::testing
