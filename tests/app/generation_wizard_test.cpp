// The generation wizard driven offscreen inside the real main window.
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

#include "app/generation_wizard.h"
#include "app/property_grid.h"
#include "app/wizard_parts.h"
#include "app_test_support.h"
#include "project/project.h"

namespace mireforge::testing {
namespace {

class GenerationWizardTest : public MainWindowTest {
 protected:
  TfParams& Wizard() {
    if (!window) Start();
    TfParams& wizard = *window->fParams;
    // Seeds from the clock step by a second per call, so two runs never share one.
    wizard.Random() = RandomSource([this] { return clock_ += 1000; });
    return wizard;
  }
  void SetPlasma(const QString& caption, const QString& value) { window->fParams->IPlasma->SetValue(caption, value); }
  std::vector<TerrainCode> Cells() { return window->CurrentProject().Map.Cells; }

  std::int32_t clock_ = 5000;
};

TEST_F(GenerationWizardTest, StepsThroughPagesWithCaptionsAndButtons) {
  TfParams& w = Wizard();
  w.show();
  struct Expect {
    const char* press;
    int page;
    const char* caption;
    bool previousShown;
    const char* next;
  };
  const Expect plasmaRoad[] = {
      {"", 0, "Map generation wizard - Step 1: Pick method", false, "Next >"},
      {"next", 1, "Map generation wizard - Step 2: Plasma fractal", true, "Next >"},
      {"next", 3, "Map generation wizard - Step 3: Generate map", true, "Finish"},
      {"previous", 1, "Map generation wizard - Step 2: Plasma fractal", true, "Next >"},
      {"previous", 0, "Map generation wizard - Step 1: Pick method", false, "Next >"},
      {"previous", 0, "Map generation wizard - Step 1: Pick method", false, "Next >"},
  };
  for (const Expect& e : plasmaRoad) {
    if (std::string(e.press) == "next") w.bNext->click();
    if (std::string(e.press) == "previous") w.bPreviousClick();
    SCOPED_TRACE(e.caption);
    EXPECT_EQ(w.NB->currentIndex(), e.page);
    EXPECT_EQ(w.windowTitle(), e.caption);
    EXPECT_EQ(w.bPrevious->isVisible(), e.previousShown);
    EXPECT_EQ(w.bNext->text(), e.next);
  }
  EXPECT_TRUE(w.bNext->isDefault());

  w.rbcEvo->click();
  EXPECT_EQ(w.Method, 1);
  w.bNext->click();
  EXPECT_EQ(w.NB->currentIndex(), 2);
  EXPECT_EQ(w.windowTitle(), "Map generation wizard - Step 2: cEvo algorithm");
  w.bNext->click();
  w.bPrevious->click();
  EXPECT_EQ(w.NB->currentIndex(), 2) << "Previous from the generate page returns to the cEvo page";
  w.reject();

  // The method choice is kept for the next opening, which starts on page 0.
  w.show();
  EXPECT_EQ(w.NB->currentIndex(), 0);
  EXPECT_TRUE(w.rbcEvo->isChecked());
  w.reject();
}

TEST_F(GenerationWizardTest, SeedsAreWrittenBackAndFixedSeedsReproduceTheMap) {
  TfParams& w = Wizard();
  w.show();
  SetPlasma("Map width", "40");
  SetPlasma("Map height", "30");
  SetPlasma("Randomize map", "False");
  SetPlasma("Map seed", "-1234");
  SetPlasma("Randomize rare terrain", "True");
  ASSERT_TRUE(w.bPlasmaClick());
  const Project& project = window->CurrentProject();
  EXPECT_EQ(project.Map.Width, 40);
  EXPECT_EQ(project.Map.Height, 30);
  EXPECT_EQ(w.IPlasma->Value("Map seed"), "-1234");
  EXPECT_EQ(project.Rows.Plasma.Seed, "-1234");
  // The rare seed came from the clock and is shown and stored.
  EXPECT_EQ(w.IPlasma->Value("Rare terrain seed"), QString::number(clock_));
  EXPECT_EQ(project.Rows.Plasma.RareSeed, std::to_string(clock_));
  EXPECT_EQ(window->DG->Columns(), 40);
  EXPECT_EQ(window->DG->Rows(), 30);
  EXPECT_EQ(w.PreviewPlasma->size(), QSize(306, 306));
  EXPECT_EQ(w.PreviewPlasma->Image().size(), QSize(40, 30));

  // With both seeds fixed, the preview and Finish give the same map.
  SetPlasma("Randomize rare terrain", "False");
  ASSERT_TRUE(w.bPlasmaClick());
  const std::vector<TerrainCode> preview = Cells();
  const QImage previewPicture = w.PreviewPlasma->Image();
  w.bNext->click();
  w.bNext->click();
  w.bNext->click();  // Finish
  EXPECT_EQ(w.result(), QDialog::Accepted);
  EXPECT_EQ(Cells(), preview);
  EXPECT_EQ(w.PreviewPlasma->Image(), previewPicture);
}

TEST_F(GenerationWizardTest, RandomizedSeedChangesOnEveryRunAndFinishMakesANewMap) {
  TfParams& w = Wizard();
  w.show();
  SetPlasma("Randomize map", "True");
  ASSERT_TRUE(w.bPlasmaClick());
  const QString firstSeed = w.IPlasma->Value("Map seed");
  const std::vector<TerrainCode> first = Cells();
  EXPECT_EQ(firstSeed, QString::number(clock_));
  ASSERT_TRUE(w.bPlasmaClick());
  EXPECT_NE(w.IPlasma->Value("Map seed"), firstSeed);
  const std::vector<TerrainCode> second = Cells();
  EXPECT_NE(second, first);

  w.bNext->click();
  w.bNext->click();
  w.bNext->click();
  EXPECT_EQ(w.result(), QDialog::Accepted);
  EXPECT_NE(Cells(), second) << "Finish runs the generator again with a new seed";
  EXPECT_EQ(w.IPlasma->Value("Map seed"), QString::number(clock_));
}

TEST_F(GenerationWizardTest, CancelRestoresMapAndGridSize) {
  Start();
  MakeBlankMap(12, 9, Forest);
  TfParams& w = Wizard();
  const std::vector<TerrainCode> before = Cells();
  w.show();
  SetPlasma("Map width", "50");
  ASSERT_TRUE(w.bPlasmaClick());
  w.rbcEvo->click();
  w.bNext->click();
  ASSERT_TRUE(w.bcEvoClick());
  EXPECT_NE(window->DG->Columns(), 12);
  w.bCancel->click();
  EXPECT_EQ(w.result(), QDialog::Rejected);
  EXPECT_EQ(window->CurrentProject().Map.Width, 12);
  EXPECT_EQ(window->CurrentProject().Map.Height, 9);
  EXPECT_EQ(Cells(), before);
  EXPECT_EQ(window->DG->Columns(), 12);
  EXPECT_EQ(window->DG->Rows(), 9);
}

TEST_F(GenerationWizardTest, CloseBoxOnAnEmptyMapLeavesItEmpty) {
  TfParams& w = Wizard();
  w.show();
  ASSERT_TRUE(w.bPlasmaClick());
  EXPECT_FALSE(window->CurrentProject().Map.Empty());
  w.close();  // the window's close box
  EXPECT_TRUE(window->CurrentProject().Map.Empty());
  EXPECT_EQ(window->DG->Columns(), 66);
  EXPECT_EQ(window->DG->Rows(), 63);
  EXPECT_FALSE(window->MapPresent());
}

TEST_F(GenerationWizardTest, ARowThatDoesNotConvertKeepsTheWizardOpen) {
  Start();
  MakeBlankMap(10, 10, Plains);
  TfParams& w = Wizard();
  const std::vector<TerrainCode> before = Cells();
  w.show();
  SetPlasma("Map width", "abc");
  w.bNext->click();
  w.bNext->click();
  w.bNext->click();  // Finish
  ASSERT_EQ(prompts.errors.size(), 1);
  EXPECT_EQ(prompts.errors.front(), "'abc' is not a valid integer value");
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(w.bNext->text(), "Finish");
  EXPECT_EQ(Cells(), before);

  // A bad row on the preview button changes nothing either.
  EXPECT_FALSE(w.bPlasmaClick());
  EXPECT_EQ(prompts.errors.size(), 2);
  EXPECT_EQ(window->CurrentProject().Map.Width, 10);
  w.reject();
}

TEST_F(GenerationWizardTest, ProjectModesOtherThanCEvoOpenThePlasmaPage) {
  TfParams& w = Wizard();
  for (int mode : {7, -1, 0}) {
    window->CurrentProject().Rows.Mode = 1;
    w.show();
    w.reject();
    window->CurrentProject().Rows.Mode = mode;
    window->CurrentProject().Rows.Plasma.Width = "17";  // as a project load writes it
    w.show();
    SCOPED_TRACE(mode);
    EXPECT_TRUE(w.rbPlasma->isChecked());
    w.bNext->click();
    EXPECT_EQ(w.NB->currentIndex(), 1);
    EXPECT_EQ(w.IPlasma->Value("Map width"), "17");
    w.reject();
  }
}

TEST_F(GenerationWizardTest, PreviewShowsTheFourClassesAndBlackForTheRest) {
  MapGrid grid;
  grid.ResizeMap(TerrainCount, 1);
  for (int code = 0; code < TerrainCount; ++code) grid.Cells[code] = static_cast<TerrainCode>(code);
  const QImage image = GenerationPreviewImage(grid);
  for (int code = 0; code < TerrainCount; ++code) {
    QRgb expected = qRgb(0, 0, 0);
    if (code == Plains) expected = qRgb(144, 248, 152);
    if (code == Forest) expected = qRgb(0, 128, 0);
    if (code == Downs) expected = qRgb(255, 255, 0);
    if (code == Mountains) expected = qRgb(128, 64, 0);
    EXPECT_EQ(image.pixel(code, 0), expected) << code;
  }
}

TEST_F(GenerationWizardTest, FinishThroughTheCreateCommandLoadsTheMap) {
  Start();
  OnModal<TfParams>([this](TfParams* w) {
    w->IPlasma->SetValue("Map width", "30");
    w->IPlasma->SetValue("Map height", "20");
    w->bNext->click();
    w->bNext->click();
    w->bNext->click();
  });
  window->aCreate->trigger();
  const Project& project = window->CurrentProject();
  EXPECT_EQ(project.Map.Width, 30);
  EXPECT_EQ(window->DG->Columns(), 30);
  EXPECT_EQ(window->StatusText(0), "30x20");
  EXPECT_EQ(window->StatusText(1), "Created from project");
  EXPECT_FALSE(project.ProjectSaved);
  ASSERT_NE(project.CellDescription(29, 19), nullptr);
  EXPECT_EQ(project.CellDescription(0, 0)->Domain, 0);
  EXPECT_TRUE(window->aSaveSQL->isEnabled());
  EXPECT_TRUE(prompts.errors.isEmpty());
}

}  // namespace
}  // namespace mireforge::testing

namespace mireforge::testing {
namespace {

// The road a new user takes: generate, paint, save the game's map and a project.
TEST_F(GenerationWizardTest, TypicalRoadFromCreateMapToSavedProject) {
  Start();
  OnModal<TfParams>([](TfParams* w) {
    w->bNext->click();
    w->bPlasma->click();
    w->bNext->click();
    w->bNext->click();
  });
  window->aCreate->trigger();
  ASSERT_EQ(window->CurrentProject().Map.Width, 66);
  window->ChooseTerrain(Citadel);
  window->aPaint->trigger();
  Stroke({{3, 3}, {4, 3}});
  EXPECT_EQ(Terrain(3, 3), Citadel);
  EXPECT_EQ(Item(4, 3).Text, "citadel");

  prompts.files.push_back({File("road.php"), 1});
  window->aSaveMMU->trigger();
  QFile map(File("road.php"));
  ASSERT_TRUE(map.open(QIODevice::ReadOnly));
  EXPECT_GE(map.readAll().count("\r\n"), 63);

  prompts.files.push_back({File("road.mfp"), 1});
  window->aSaveProject->trigger();
  EXPECT_TRUE(QFileInfo::exists(File("road.mfp")));
  EXPECT_EQ(window->windowTitle(), QApplication::applicationName() + " - road.mfp");
  EXPECT_TRUE(window->CurrentProject().ProjectSaved);
  EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("; ").toStdString();
}

}  // namespace
}  // namespace mireforge::testing
