// The heightmap import wizard driven offscreen.
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <sys/stat.h>

#include "app/main_window/window_parts.h"
#include "app/wizards/import_wizard.h"
#include "app/app_test_support.h"
#include "project/project.h"

namespace mireforge::testing {
namespace {

class ImportWizardTest : public MainWindowTest {
 protected:
  // A picture whose pixels are the given grey levels, one row per entry.
  QString GreyPicture(const QString& name, const std::vector<std::vector<int>>& rows) {
    QImage image(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(rows[y][x], rows[y][x], rows[y][x]));
    const QString path = File(name);
    EXPECT_TRUE(image.save(path));
    return path;
  }
  std::uint32_t Class(const TfImportMap& w, int x, int y) { return w.TerrainImage().At(x, y) & 0xFFFFFF; }
};

TEST_F(ImportWizardTest, StepsThroughPagesWithCaptionsAndButtons) {
  Start();
  TfImportMap w(window->CurrentProject(), prompts, window.get());
  w.show();
  EXPECT_EQ(w.windowTitle(), "Heightmap Import Wizard");
  EXPECT_FALSE(w.bPrevious->isVisible());
  EXPECT_TRUE(w.bNext->isEnabled());
  w.bNext->click();
  EXPECT_EQ(w.windowTitle(), "Heightmap Import Wizard - Step 1: Select image");
  EXPECT_TRUE(w.bPrevious->isVisible());
  EXPECT_EQ(w.bPrevious->text(), "< &Back");
  EXPECT_FALSE(w.bNext->isEnabled()) << "no picture chosen yet";
  w.bPrevious->click();
  EXPECT_EQ(w.NB->currentIndex(), 0);
  EXPECT_FALSE(w.bNext->isEnabled()) << "Back does not enable Next";
  EXPECT_FALSE(w.bPrevious->isVisible());

  prompts.files.push_back({GreyPicture("p.png", {{10, 100, 200}, {10, 100, 200}, {10, 100, 200}}), 1});
  w.bexFolderClickButton();
  EXPECT_TRUE(prompts.dialogs.back().startsWith("Select picture|All supported formats (*.png; *.bmp)|"));
  EXPECT_TRUE(w.bNext->isEnabled());
  w.bNext->click();
  w.bNext->click();
  EXPECT_EQ(w.windowTitle(), "Heightmap Import Wizard - Step 2: Set parameters");
  EXPECT_EQ(w.TerrainImage().Width, 3) << "entering the Params page draws the classes";
  w.bNext->click();
  EXPECT_EQ(w.windowTitle(), "Heightmap Import Wizard - Step 3: Generate map");
  EXPECT_EQ(w.bNext->text(), "&Generate");
  EXPECT_FALSE(w.cbClear->isEnabled());
  w.bPrevious->click();
  EXPECT_EQ(w.bNext->text(), "Next >");
  w.bNext->click();
  w.bNext->click();
  EXPECT_EQ(w.result(), QDialog::Accepted);
  EXPECT_EQ(window->CurrentProject().Map.Width, 3);
}

TEST_F(ImportWizardTest, ThresholdsStayOrderedAndBoundariesFallIntoTheDarkerClass) {
  Start();
  TfImportMap w(window->CurrentProject(), prompts, window.get());
  w.show();
  EXPECT_EQ(w.eMountains->value(), 76);
  EXPECT_EQ(w.eDowns->value(), 120);
  EXPECT_EQ(w.eForests->value(), 170);
  w.ChooseFile(GreyPicture("b.png", {{76, 77, 120, 121, 170, 171, 0, 255}}));
  w.bNext->click();
  w.bNext->click();
  const std::uint32_t expected[] = {0x804000, 0xFFFF00, 0xFFFF00, 0x008000, 0x008000, 0x90F898, 0x804000, 0x90F898};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(Class(w, x, 0), expected[x]) << "pixel " << x;

  StepTo(w.eForests, 100);
  EXPECT_EQ(w.eDowns->value(), 99);
  EXPECT_EQ(w.eDowns->maximum(), 99);
  EXPECT_EQ(w.eMountains->maximum(), 98);
  EXPECT_EQ(Class(w, 2, 0), 0x90F898u) << "grey 120 is plains above forests 100";
  StepTo(w.eDowns, 50);
  StepTo(w.eMountains, 90);
  EXPECT_EQ(w.eMountains->value(), 49);
  EXPECT_LT(w.eMountains->value(), w.eDowns->value());
  EXPECT_LT(w.eDowns->value(), w.eForests->value());
  EXPECT_EQ(Class(w, 0, 0), 0x008000u) << "grey 76 lies between downs 50 and forests 100";
}

// A person types the whole number and then leaves the field or steps it.
TEST_F(ImportWizardTest, TypedThresholdsCoupleOnTheFinishedValue) {
  Start();
  TfImportMap w(window->CurrentProject(), prompts, window.get());
  w.show();
  w.activateWindow();
  QApplication::setActiveWindow(&w);
  w.ChooseFile(GreyPicture("t.png", {{100, 150}}));
  w.bNext->click();
  w.bNext->click();
  const auto type = [](QSpinBox* spin, const char* text) {
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(spin, text);
    QTest::keyClick(spin, Qt::Key_Tab);
  };
  type(w.eForests, "100");
  EXPECT_EQ(w.eForests->value(), 100);
  EXPECT_EQ(w.eDowns->value(), 99);
  EXPECT_EQ(w.eMountains->value(), 76);
  EXPECT_EQ(Class(w, 1, 0), 0x90F898u) << "the preview follows the finished value";

  type(w.eForests, "200");
  EXPECT_EQ(w.eDowns->value(), 99) << "raising forests leaves the others";
  EXPECT_EQ(w.eMountains->value(), 76);
  type(w.eDowns, "150");
  EXPECT_EQ(w.eDowns->value(), 150);
  EXPECT_EQ(w.eMountains->value(), 76);

  // A step couples at once.
  w.eForests->setFocus();
  for (int i = 0; i < 50; ++i) QTest::keyClick(w.eForests, Qt::Key_Down);
  EXPECT_EQ(w.eForests->value(), 150);
  EXPECT_EQ(w.eDowns->value(), 149);
}

TEST_F(ImportWizardTest, InvertAndUnreadablePictures) {
  Start();
  TfImportMap w(window->CurrentProject(), prompts, window.get());
  w.show();
  const QString good = GreyPicture("g.png", {{255, 0}});
  w.ChooseFile(good);
  w.cbInvert->click();
  ASSERT_EQ(w.PictureImage().Width, 2);
  EXPECT_EQ(w.PictureImage().At(0, 0), 0xFF000000u) << "white inverted is black";
  EXPECT_EQ(w.PictureImage().At(1, 0), 0xFFFFFFFFu);
  const Image before = w.PictureImage();

  QFile broken(File("broken.png"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("not a picture at all");
  broken.close();
  w.ChooseFile(broken.fileName());
  EXPECT_EQ(prompts.errors.size(), 1);
  EXPECT_EQ(w.PictureImage().Pixels, before.Pixels) << "a failed read keeps the preview";

  // A picture that cannot be read does not open the way to an empty map.
  TfImportMap fresh(window->CurrentProject(), prompts, window.get());
  fresh.show();
  fresh.bNext->click();
  fresh.ChooseFile(broken.fileName());
  EXPECT_EQ(prompts.errors.size(), 2);
  EXPECT_FALSE(fresh.bNext->isEnabled());
  // A pipe is refused with its reason at once, never waited on.
  const QString pipe = File("pipe.png");
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  prompts.files.push_back({pipe, 1});
  QTest::mouseClick(fresh.bexFolderButton, Qt::LeftButton);
  ASSERT_EQ(prompts.errors.size(), 3);
  EXPECT_EQ(prompts.errors.back(), "Cannot open file " + pipe + ": it is not a regular file (a pipe, socket or device)");
  EXPECT_FALSE(fresh.bNext->isEnabled());
  fresh.reject();

  // A vanished file: nothing changes (the beep is all).
  w.ChooseFile(good);
  ASSERT_TRUE(QFile::remove(good));
  w.cbInvert->click();
  EXPECT_EQ(w.PictureImage().Pixels, before.Pixels);
  EXPECT_EQ(prompts.errors.size(), 3);
}

TEST_F(ImportWizardTest, CancelAfterAllPagesLeavesTheMap) {
  Start();
  MakeBlankMap(7, 5, Lake);
  const std::vector<TerrainCode> before = window->CurrentProject().Map.Cells;
  TfImportMap w(window->CurrentProject(), prompts, window.get());
  w.show();
  w.ChooseFile(GreyPicture("c.png", {{1, 2}, {3, 4}}));
  for (int i = 0; i < 3; ++i) w.bNext->click();
  w.bCancel->click();
  EXPECT_EQ(w.result(), QDialog::Rejected);
  EXPECT_EQ(window->CurrentProject().Map.Width, 7);
  EXPECT_EQ(window->CurrentProject().Map.Cells, before);
}

TEST_F(ImportWizardTest, ImportCommandLoadsTheMapFramedByFrozenWastes) {
  Start();
  const QString picture = GreyPicture("m.png", std::vector<std::vector<int>>(4, {200, 200, 200, 200, 200}));
  OnModal<TfImportMap>([picture](TfImportMap* w) {
    w->ChooseFile(picture);
    for (int i = 0; i < 4; ++i) w->bNext->click();
  });
  PartOf<QAction>(*window, "aImportMap")->trigger();
  const Project& project = window->CurrentProject();
  ASSERT_EQ(project.Map.Width, 5);
  ASSERT_EQ(project.Map.Height, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(Terrain(x, y), project.Map.OnBorder(x, y) ? FrozenWastes : Plains);
  EXPECT_EQ(window->StatusText(0), "5x4");
  EXPECT_EQ(window->StatusText(1), "Created from file");
  EXPECT_FALSE(project.ProjectSaved);
  ASSERT_NE(project.CellDescription(4, 3), nullptr);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->Columns(), 5);
}

}  // namespace
}  // namespace mireforge::testing
