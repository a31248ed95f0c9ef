// The generation wizard driven offscreen inside the real main window.
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QTest>

#include "app/main_window/window_parts.h"
#include "app/dialogs/name_land_dialog.h"
#include "app/panels/description_model.h"
#include "app/wizards/generation_wizard.h"
#include "app/wizards/property_grid.h"
#include "app/wizards/seed_gallery_view.h"
#include "app/wizards/wizard_parts.h"
#include "generate/land_naming.h"
#include "generate/seed_gallery.h"
#include "app/app_test_support.h"
#include "project/project.h"

namespace mireforge::testing {
namespace {

class GenerationWizardTest : public MainWindowTest {
 protected:
  TfParams& Wizard() {
    if (!window) Start();
    TfParams& wizard = *PartOf<TfParams>(*window, "fParams");
    // Seeds from the clock step by a second per call, so two runs never share one.
    wizard.Random() = RandomSource([this] { return clock_ += 1000; });
    return wizard;
  }
  void SetPlasma(const QString& caption, const QString& value) { PartOf<TfParams>(*window, "fParams")->IPlasma->SetValue(caption, value); }
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
      {"", 0, "Random map generation wizard", false, "Next >"},
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
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->Columns(), 40);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->Rows(), 30);
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
  EXPECT_NE(PartOf<MapGridView>(*window, "DG")->Columns(), 12);
  w.bCancel->click();
  EXPECT_EQ(w.result(), QDialog::Rejected);
  EXPECT_EQ(window->CurrentProject().Map.Width, 12);
  EXPECT_EQ(window->CurrentProject().Map.Height, 9);
  EXPECT_EQ(Cells(), before);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->Columns(), 12);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->Rows(), 9);
}

TEST_F(GenerationWizardTest, CloseBoxOnAnEmptyMapLeavesItEmpty) {
  TfParams& w = Wizard();
  w.show();
  ASSERT_TRUE(w.bPlasmaClick());
  EXPECT_FALSE(window->CurrentProject().Map.Empty());
  w.close();  // the window's close box
  EXPECT_TRUE(window->CurrentProject().Map.Empty());
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->Columns(), 66);
  EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->Rows(), 63);
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

TEST_F(GenerationWizardTest, FinishThroughTheCreateCommandLoadsTheMapAndNamesItOnlyWhenAsked) {
  Start();
  EXPECT_FALSE(PartOf<TfParams>(*window, "fParams")->cbNameLand->isChecked());
  EXPECT_FALSE(PartOf<TfParams>(*window, "fParams")->NameFields->isEnabled());
  for (const bool name : {false, true}) {
    SCOPED_TRACE(name ? "named" : "plain");
    prompts.answers.push_back(Answer::No);  // the first map is not saved
    OnModal<TfParams>([this, name](TfParams* w) {
      w->IPlasma->SetValue("Map width", "30");
      w->IPlasma->SetValue("Map height", "20");
      w->bNext->click();
      w->bNext->click();
      if (name) {
        QTest::mouseClick(w->cbNameLand, Qt::LeftButton, {}, QPoint(6, w->cbNameLand->height() / 2));
        EXPECT_TRUE(w->NameFields->isEnabled());
        w->NameFields->eDomains->setFocus();
        QTest::keyClick(w->NameFields->eDomains, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(w->NameFields->eDomains, "5");
      }
      w->bNext->click();
    });
    PartOf<QAction>(*window, "aCreate")->trigger();
    const Project& project = window->CurrentProject();
    EXPECT_EQ(project.Map.Width, 30);
    EXPECT_EQ(PartOf<MapGridView>(*window, "DG")->Columns(), 30);
    EXPECT_EQ(window->StatusText(0), "30x20");
    EXPECT_EQ(window->StatusText(1), "Created from project");
    EXPECT_FALSE(project.ProjectSaved);
    ASSERT_NE(project.CellDescription(29, 19), nullptr);
    EXPECT_EQ(project.CellDescription(0, 0)->Domain, 0);
    EXPECT_TRUE(PartOf<QAction>(*window, "aSaveSQL")->isEnabled());
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_EQ(window->UndoStack().count(), 0);  // part of the new map, not a step of its own
    // Named, the map is what naming it with its map seed gives; otherwise the plain defaults.
    DescriptionList expected;
    BuildDefaultDescriptions(expected, project.Map);
    DomainTable domains = project.Domains;
    if (name) {
      LandNamingOptions options;
      options.Domains = 5;
      options.Seed = RowInteger(project.Rows.Plasma.Seed);
      NameTheLand(project.Map, expected, domains, options);
      EXPECT_TRUE(project.Domains.Defined(5));
      EXPECT_FALSE(project.Domains.Defined(6));
      EXPECT_EQ(project.CellDescription(0, 0)->Text, "frozen wastes");
      EXPECT_NE(project.CellDescription(15, 10)->Text.View().find(" of "), std::string::npos);
    } else {
      EXPECT_FALSE(project.Domains.Defined(1));
    }
    for (std::size_t i = 0; i < expected.Size(); ++i) {
      ASSERT_EQ(project.Descriptions.Entry(i).Text, expected.Entry(i).Text) << i;
      ASSERT_EQ(project.Descriptions.Entry(i).Domain, expected.Entry(i).Domain) << i;
    }
    // The panels show it: the description of a cell, and one row per realm.
    EXPECT_EQ(PartOf<DescriptionModel>(*window, "descModel")->data(PartOf<DescriptionModel>(*window, "descModel")->index(15 + 10 * 30, 2), Qt::DisplayRole).toString().toStdString(),
              project.CellDescription(15, 10)->Text);
    EXPECT_EQ(PartOf<DomainModel>(*window, "domainModel")->rowCount(), name ? 5 : 0);
  }
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
  PartOf<QAction>(*window, "aCreate")->trigger();
  ASSERT_EQ(window->CurrentProject().Map.Width, 66);
  window->ChooseTerrain(Citadel);
  PartOf<QAction>(*window, "aPaint")->trigger();
  Stroke({{3, 3}, {4, 3}});
  EXPECT_EQ(Terrain(3, 3), Citadel);
  EXPECT_EQ(Item(4, 3).Text, "citadel");

  prompts.files.push_back({File("road.php"), 1});
  PartOf<QAction>(*window, "aSaveMMU")->trigger();
  QFile map(File("road.php"));
  ASSERT_TRUE(map.open(QIODevice::ReadOnly));
  EXPECT_GE(map.readAll().count("\r\n"), 63);

  prompts.files.push_back({File("road.mfp"), 1});
  PartOf<QAction>(*window, "aSaveProject")->trigger();
  EXPECT_TRUE(QFileInfo::exists(File("road.mfp")));
  EXPECT_EQ(window->windowTitle(), QApplication::applicationName() + " - road.mfp");
  EXPECT_TRUE(window->CurrentProject().ProjectSaved);
  EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("; ").toStdString();
}

}  // namespace
}  // namespace mireforge::testing

namespace mireforge::testing {
namespace {

// The wizard as a person drives it: mouse clicks on rows and buttons, keys into editors.
class WizardInputTest : public GenerationWizardTest {
 protected:
  TfParams& Open() {
    TfParams& w = Wizard();
    w.show();
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    return w;
  }
  static const PropertyGrid::Row& RowOf(PropertyGrid* grid, const QString& caption) {
    for (const PropertyGrid::Row& row : grid->Rows())
      if (row.caption == caption) return row;
    throw std::logic_error("no row " + caption.toStdString());
  }
  static QRect CellRect(PropertyGrid* grid, const QString& caption, int column) {
    const QModelIndex index = grid->indexFromItem(RowOf(grid, caption).item, column);
    grid->scrollTo(index);
    return grid->visualRect(index);
  }
  static void ClickCell(PropertyGrid* grid, const QString& caption, int column = 1) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellRect(grid, caption, column).center());
  }
  static void Keys(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
  static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }
  static void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
  // On the round mark: a radio button spans the page, its label does not.
  static void Click(QRadioButton* radio) { QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2)); }
};

TEST_F(WizardInputTest, VisitingARowNeverChangesIt) {
  TfParams& w = Open();
  window->CurrentProject().Rows.Plasma.RareCount = "lots";  // as a project file may carry it
  w.IPlasma->Reload();
  Click(w.bNext);
  ASSERT_EQ(w.NB->currentIndex(), 1);
  PlasmaRows& rows = window->CurrentProject().Rows.Plasma;
  ASSERT_EQ(rows.RandomizeRare, "");

  // Through the empty check row and the number row that does not convert, and away.
  ClickCell(w.IPlasma, "Randomize rare terrain");
  ClickCell(w.IPlasma, "Rare terrain count");
  ClickCell(w.IPlasma, "Resize type");
  ClickCell(w.IPlasma, "Map width");
  ClickCell(w.IPlasma, "Mountains");
  EXPECT_EQ(rows.RandomizeRare, "");
  EXPECT_EQ(w.IPlasma->Value("Randomize rare terrain"), "");
  EXPECT_EQ(rows.RareCount, "lots");
  EXPECT_EQ(rows.ResizeType, "Bilinear");
  EXPECT_EQ(rows.Width, "66");
  EXPECT_EQ(rows.MountainLevel, "76");

  // What the user does choose is kept.
  ClickCell(w.IPlasma, "Randomize rare terrain");
  Key(Qt::Key_Down);
  ClickCell(w.IPlasma, "Map width");
  Key(Qt::Key_A, Qt::ControlModifier);
  Keys("120");
  ClickCell(w.IPlasma, "Rare terrain count");
  Key(Qt::Key_Up);
  ClickCell(w.IPlasma, "Mountains");
  EXPECT_EQ(rows.RandomizeRare, "True");
  EXPECT_EQ(rows.Width, "120");
  EXPECT_EQ(rows.RareCount, "2") << "a step from the shown minimum is a choice";
  w.reject();
}

TEST_F(WizardInputTest, RowCaptionsCannotBeEdited) {
  TfParams& w = Open();
  for (PropertyGrid* grid : {w.IPlasma, w.IcEvo}) {
    w.bPreviousClick();
    if (grid == w.IcEvo) Click(w.rbcEvo);
    Click(w.bNext);
    for (const char* caption : {"Map seed", "Rare terrain count"}) {
      const QPoint at = CellRect(grid, caption, 0).center();
      QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
      QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
      Key(Qt::Key_F2);
      Keys("zz");
      Key(Qt::Key_Return);
      EXPECT_EQ(RowOf(grid, caption).item->text(0), caption);
      for (QLineEdit* editor : grid->viewport()->findChildren<QLineEdit*>())
        EXPECT_FALSE(editor->isVisible()) << "an editor is open on " << caption;
    }
  }
  w.reject();
}

TEST_F(WizardInputTest, NothingScrollsSideways) {
  TfParams& w = Open();
  for (PropertyGrid* grid : {w.IPlasma, w.IcEvo}) {
    w.bPreviousClick();
    Click(grid == w.IcEvo ? w.rbcEvo : w.rbPlasma);
    Click(w.bNext);
    QApplication::processEvents();
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
    EXPECT_LE(grid->header()->length(), grid->viewport()->width());
    for (const PropertyGrid::Row& row : grid->Rows()) {
      ClickCell(grid, row.caption);
      QApplication::processEvents();
      EXPECT_EQ(grid->horizontalScrollBar()->value(), 0) << row.caption.toStdString();
      // The caption column shows every caption whole, and the value column keeps room.
      const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
      const int needed = grid->fontMetrics().horizontalAdvance(row.caption) + margins;
      EXPECT_GE(CellRect(grid, row.caption, 0).width(), needed) << row.caption.toStdString();
      EXPECT_GE(grid->columnWidth(1), 70);
    }
  }
  w.reject();
}

TEST_F(WizardInputTest, CaptionOfTheFirstOpeningLastsUntilThePageChanges) {
  TfParams& w = Open();
  EXPECT_EQ(w.windowTitle(), "Random map generation wizard");
  Click(w.bNext);
  EXPECT_EQ(w.windowTitle(), "Map generation wizard - Step 2: Plasma fractal");
  QTest::keyClick(&w, Qt::Key_Escape);
  EXPECT_FALSE(w.isVisible());
  Open();
  EXPECT_EQ(w.windowTitle(), "Map generation wizard - Step 1: Pick method");
  w.reject();
}

TEST_F(WizardInputTest, RadioChoiceIsKeptAcrossACancel) {
  TfParams& w = Open();
  Click(w.rbcEvo);
  EXPECT_EQ(w.Method, 1);
  QTest::keyClick(&w, Qt::Key_Escape);
  EXPECT_EQ(w.result(), QDialog::Rejected);
  Open();
  EXPECT_TRUE(w.rbcEvo->isChecked());
  EXPECT_EQ(w.Method, 1);
  Click(w.bNext);
  EXPECT_EQ(w.NB->currentIndex(), 2);
  w.bPreviousClick();
  Click(w.rbPlasma);
  Click(w.bCancel);
  Open();
  EXPECT_TRUE(w.rbPlasma->isChecked());
  Click(w.bNext);
  EXPECT_EQ(w.NB->currentIndex(), 1);
  w.reject();
}

TEST_F(WizardInputTest, GalleryPicksASeedThatCreatePreviewReproduces) {
  Start();
  MakeBlankMap(12, 9, Forest);
  const std::vector<TerrainCode> before = Cells();
  TfParams& w = Open();
  for (const int method : {0, 1}) {
    SCOPED_TRACE(method);
    w.bPreviousClick();
    Click(method == 1 ? w.rbcEvo : w.rbPlasma);
    Click(w.bNext);
    PropertyGrid* rows = method == 1 ? w.IcEvo : w.IPlasma;
    SeedGalleryView* gallery = method == 1 ? w.cEvoGallery : w.PlasmaGallery;
    StretchedImage* preview = method == 1 ? w.PreviewcEvo : w.PreviewPlasma;
    rows->SetValue("Map width", "48");
    rows->SetValue("Map height", "36");
    rows->SetValue("Create rare terrain", "True");
    rows->SetValue("Randomize rare terrain", "True");
    EXPECT_FALSE(gallery->isVisible());
    const std::vector<TerrainCode> shown = Cells();

    Click(method == 1 ? w.bcEvoGallery : w.bPlasmaGallery);
    ASSERT_TRUE(gallery->isVisible());
    EXPECT_FALSE(preview->isVisible());
    const std::vector<GallerySeeds> seeds = w.GallerySeedsOf(method);
    ASSERT_EQ(seeds.size(), 9u);
    for (int i = 0; i < 9; ++i) {
      EXPECT_EQ(gallery->Tile(i)->Image().size(), QSize(48, 36));
      EXPECT_LE(gallery->Tile(i)->width(), 102) << "small, three side by side";
    }
    EXPECT_NE(gallery->Tile(0)->Image(), gallery->Tile(1)->Image());
    EXPECT_EQ(Cells(), shown) << "the gallery alone leaves the map";

    Click(gallery->Tile(4));
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(rows->Value("Map seed"), QString::number(seeds[4].Seed));
    // Whole values, however long the seed.
    QApplication::processEvents();
    const int margins = 2 * (rows->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, rows) + 1);
    for (const char* caption : {"Map seed", "Rare terrain seed"})
      EXPECT_GE(CellRect(rows, caption, 1).width(), rows->fontMetrics().horizontalAdvance(rows->Value(caption)) + margins);
    EXPECT_EQ(rows->Value("Rare terrain seed"), QString::number(seeds[4].RareSeed));
    EXPECT_EQ(rows->Value(method == 1 ? "Randomize" : "Randomize map"), "False");
    EXPECT_EQ(rows->Value("Randomize rare terrain"), "False");
    EXPECT_EQ(preview->Image(), gallery->Tile(4)->Image());
    const std::vector<TerrainCode> picked = Cells();
    EXPECT_EQ(window->CurrentProject().Map.Width, 48);
    Click(method == 1 ? w.bcEvo : w.bPlasma);
    EXPECT_EQ(Cells(), picked) << "Create preview with the chosen rows gives the same map";
  }
  // Editing a row makes the tiles stale: the preview comes back.
  Click(w.bcEvoGallery);
  ASSERT_TRUE(w.cEvoGallery->isVisible());
  ClickCell(w.IcEvo, "% of plains");
  Key(Qt::Key_A, Qt::ControlModifier);
  Keys("40");
  ClickCell(w.IcEvo, "Detail");
  EXPECT_EQ(w.IcEvo->Value("% of plains"), "40");
  EXPECT_FALSE(w.cEvoGallery->isVisible());
  EXPECT_TRUE(w.PreviewcEvo->isVisible());

  Click(w.bCancel);
  EXPECT_EQ(Cells(), before);
}

// With a large desktop font the texts wrap whole, keep off the edges, and the
// wizard grows instead of cutting them; the colour key's names keep a margin.
TEST_F(WizardInputTest, TextsWrapAndTheWizardGrowsWithTheFont) {
  const QFont before = QApplication::font();
  QFont large = before;
  large.setPointSizeF(before.pointSizeF() * 1.6);
  QApplication::setFont(large);
  TfParams& w = Open();
  QApplication::processEvents();
  for (const int page : {0, 1}) {
    if (page == 1) Click(w.bNext);
    QApplication::processEvents();
    QWidget* shown = w.NB->currentWidget();
    for (QLabel* label : shown->findChildren<QLabel*>()) {
      if (!label->isVisible() || label->text().isEmpty()) continue;
      SCOPED_TRACE(label->text().toStdString());
      const QRect box(label->mapTo(&w, QPoint(0, 0)), label->size());
      EXPECT_TRUE(w.rect().contains(box));
      if (label->wordWrap()) {
        EXPECT_GE(label->height(), label->heightForWidth(label->width()));
        EXPECT_LE(label->mapTo(shown, QPoint(label->width(), 0)).x(), shown->width() - 8);
      }
    }
  }
  for (const char* name : {"downs", "forest", "plains", "mountains"}) {
    for (QLabel* label : w.NB->currentWidget()->findChildren<QLabel*>()) {
      if (label->text() == name) {
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(name) + 12) << name;
      }
    }
  }
  w.reject();
  QApplication::setFont(before);
}

TEST_F(WizardInputTest, GalleryReportsARowThatDoesNotConvert) {
  TfParams& w = Open();
  Click(w.bNext);
  w.IPlasma->SetValue("Rare terrain count", "x");
  Click(w.bPlasmaGallery);
  ASSERT_EQ(prompts.errors.size(), 1);
  EXPECT_EQ(prompts.errors.front(), "'x' is not a valid integer value");
  EXPECT_FALSE(w.PlasmaGallery->isVisible());
  w.reject();
}

}  // namespace
}  // namespace mireforge::testing
