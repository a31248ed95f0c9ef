#include "app/wizards/generation_wizard.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <functional>
#include <limits>
#include <thread>

#include "app/dialogs/name_land_dialog.h"
#include "app/grid/map_grid_view.h"
#include "app/wizards/property_grid.h"
#include "app/wizards/seed_gallery_view.h"
#include "app/dialogs/small_forms.h"
#include "app/dialogs/user_prompts.h"
#include "app/wizards/wizard_parts.h"
#include "generate/generation.h"
#include "project/project.h"

namespace mireforge {

namespace {

constexpr int AnyInteger = std::numeric_limits<int>::max();

const char* const PageCaptions[] = {
    "Map generation wizard - Step 1: Pick method",
    "Map generation wizard - Step 2: Plasma fractal",
    "Map generation wizard - Step 2: cEvo algorithm",
    "Map generation wizard - Step 3: Generate map",
};

// Runs work under the hourglass; the message of a failure, empty when it went through.
QString FailureOf(const std::function<void()>& work) {
  BusyScope busy;
  try {
    work();
  } catch (const std::exception& error) {
    return QString::fromStdString(error.what());
  }
  return {};
}

// This wizard's headings wrap rather than widen the fixed-size window.
QLabel* Heading(const QString& text, QWidget* parent) {
  QLabel* label = WizardHeading(text, parent);
  label->setWordWrap(true);
  return label;
}

}  // namespace

QImage GenerationPreviewImage(const MapGrid& grid) {
  QImage image(grid.Width, grid.Height, QImage::Format_RGB32);
  for (int y = 0; y < grid.Height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < grid.Width; ++x) {
      switch (grid.GetTerrain(x, y)) {
        case Plains: line[x] = qRgb(144, 248, 152); break;
        case Forest: line[x] = qRgb(0, 128, 0); break;
        case Downs: line[x] = qRgb(255, 255, 0); break;
        case Mountains: line[x] = qRgb(128, 64, 0); break;
        default: line[x] = qRgb(0, 0, 0); break;
      }
    }
  }
  return image;
}

TfParams::TfParams(Project& project, UserPrompts& prompts, MapGridView* grid, QWidget* parent)
    : WizardDialog(parent), project_(project), prompts_(prompts), grid_(grid) {
  setWindowTitle("Random map generation wizard");
  SetDesignedSize(QSize(592, 403));

  NB = new QStackedWidget(this);
  NB->addWidget(CreatePickPage());
  NB->addWidget(CreateMethodPage(true));
  NB->addWidget(CreateMethodPage(false));
  NB->addWidget(CreateGeneratePage());
  connect(NB, &QStackedWidget::currentChanged, this, &TfParams::NBPageChanged);

  bPrevious = new QPushButton("< Previous", this);
  bNext = new QPushButton("Next >", this);
  bCancel = new QPushButton("Cancel", this);
  connect(bPrevious, &QPushButton::clicked, this, &TfParams::bPreviousClick);
  connect(bNext, &QPushButton::clicked, this, &TfParams::bNextClick);
  connect(bCancel, &QPushButton::clicked, this, &TfParams::reject);
  LayOutWizard(this, NB, bPrevious, bNext, bCancel)->setContentsMargins(6, 6, 6, 6);
}

QWidget* TfParams::CreatePickPage() {
  const auto [page, text] = CreatePicturePage(340);
  text->addWidget(Heading("Welcome to random map generation wizard", page));
  text->addWidget(WrappedText("Please choose one of the generation methods below:", page));
  rbPlasma = new QRadioButton("Plasma fractal", page);
  rbPlasma->setChecked(true);
  text->addWidget(rbPlasma);
  text->addWidget(WrappedText(
      "Faster then cEvo algorithm, but generated maps tend to look \"fractally\". Many options to fine tune your "
      "map. Maps are sixteen times bigger when created, then resized down to your originally picked size. That way "
      "you'll get much more details.",
      page));
  rbcEvo = new QRadioButton("cEvo algorithm", page);
  text->addWidget(rbcEvo);
  text->addWidget(WrappedText(
      "Algorithm borrowed from public domain \"Civ Evolution Project\" and then stripped from everything else than "
      "plain terrain. Slow, but much more \"real world\" looking. Also, there are many options to make map you want.",
      page));
  text->addStretch();
  text->addWidget(WrappedText("Note: all terrain data will be erased (terrain and area tables), so be sure to save "
                              "any changes before continuing!",
                              page));
  // The choice is the project's mode at once, so it outlives a cancelled opening.
  connect(rbPlasma, &QRadioButton::clicked, this, [this] { project_.Rows.Mode = Method = 0; });
  connect(rbcEvo, &QRadioButton::clicked, this, [this] { project_.Rows.Mode = Method = 1; });
  return page;
}

QWidget* TfParams::CreateMethodPage(bool plasma) {
  const int method = plasma ? 0 : 1;
  MethodPage& parts = pages_[method];
  auto* page = new QWidget;
  parts.rows = new PropertyGrid(page);
  parts.preview = new StretchedImage;
  parts.gallery = new SeedGalleryView;
  parts.view = new QStackedWidget(page);
  for (QWidget* shown : std::initializer_list<QWidget*>{parts.view, parts.preview, parts.gallery})
    shown->setFixedSize(306, 306);
  parts.view->addWidget(parts.preview);
  parts.view->addWidget(parts.gallery);
  auto* frame = new QGroupBox("Preview", page);
  auto* frameLayout = new QVBoxLayout(frame);
  frameLayout->setContentsMargins(2, 2, 2, 2);
  frameLayout->addWidget(parts.view);
  auto* button = new QPushButton("Create preview", page);
  button->setAutoDefault(false);
  auto* gallery = new QPushButton("Seed gallery", page);
  gallery->setAutoDefault(false);
  gallery->setToolTip("Nine previews of nine random seeds; click one to use its seeds");

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(button, 1);
  buttons->addWidget(gallery, 1);
  auto* left = new QVBoxLayout;
  left->addWidget(parts.rows, 1);
  left->addWidget(CreateColourKey(page));
  left->addLayout(buttons);
  auto* layout = new QHBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(left, 1);
  layout->addWidget(frame, 0, Qt::AlignTop);

  if (plasma) {
    IPlasma = parts.rows;
    PreviewPlasma = parts.preview;
    bPlasma = button;
    bPlasmaGallery = gallery;
    PlasmaGallery = parts.gallery;
    FillPlasmaGrid();
    connect(button, &QPushButton::clicked, this, &TfParams::bPlasmaClick);
  } else {
    IcEvo = parts.rows;
    PreviewcEvo = parts.preview;
    bcEvo = button;
    bcEvoGallery = gallery;
    cEvoGallery = parts.gallery;
    FillCEvoGrid();
    connect(button, &QPushButton::clicked, this, &TfParams::bcEvoClick);
  }
  connect(gallery, &QPushButton::clicked, this, [this, method] { ShowSeedGallery(method); });
  connect(parts.gallery, &SeedGalleryView::Picked, this, [this, method](int index) { PickGallerySeed(method, index); });
  // Tiles drawn with other rows would not be what a click on them gives.
  connect(parts.rows, &PropertyGrid::RowEdited, this, [this, method] { ShowPreview(method); });
  return page;
}

void TfParams::FillPlasmaGrid() {
  PlasmaRows& r = project_.Rows.Plasma;
  IPlasma->AddCategory("Map generation");
  IPlasma->AddSpin("Map width", &r.Width, 1, 512);
  IPlasma->AddSpin("Map height", &r.Height, 1, 512);
  IPlasma->AddCheck("Randomize map", &r.Randomize);
  IPlasma->AddSpin("Map seed", &r.Seed, -AnyInteger - 1, AnyInteger);
  IPlasma->AddCheck("Create rare terrain", &r.CreateRare);
  IPlasma->AddCheck("Randomize rare terrain", &r.RandomizeRare);
  IPlasma->AddSpin("Rare terrain seed", &r.RareSeed, -AnyInteger - 1, AnyInteger);
  IPlasma->AddSpin("Rare terrain count", &r.RareCount, 1, AnyInteger);
  IPlasma->AddPick("Resize type", &r.ResizeType, {"Quick", "Bilinear"});
  IPlasma->AddCategory("Terrain levels");
  IPlasma->AddSpin("Mountains", &r.MountainLevel, 0, 255);
  IPlasma->AddSpin("Downs", &r.DownsLevel, 0, 255);
  IPlasma->AddSpin("Forests", &r.ForestLevel, 0, 255);
  IPlasma->AddCategory("Terrain smoothing");
  IPlasma->AddCheck("Apply", &r.Smooth);
  IPlasma->AddSpin("Smoothing level", &r.SmoothLevel, 1, 255);
  IPlasma->AddSpin("Average height", &r.AvgHeight, 1, 255);
}

void TfParams::FillCEvoGrid() {
  CEvoRows& r = project_.Rows.CEvo;
  IcEvo->AddCategory("Map generation");
  IcEvo->AddSpin("Map width", &r.Width, 1, 512);
  IcEvo->AddSpin("Map height", &r.Height, 1, 512);
  IcEvo->AddCheck("Randomize", &r.Randomize);
  IcEvo->AddSpin("Map seed", &r.Seed, -AnyInteger - 1, AnyInteger);
  IcEvo->AddCheck("Create rare terrain", &r.CreateRare);
  IcEvo->AddCheck("Randomize rare terrain", &r.RandomizeRare);
  IcEvo->AddSpin("Rare terrain seed", &r.RareSeed, -AnyInteger - 1, AnyInteger);
  IcEvo->AddSpin("Rare terrain count", &r.RareCount, 1, AnyInteger);
  IcEvo->AddCategory("Terrain specs");
  IcEvo->AddSpin("% of plains", &r.LandMass, 0, 100);
  IcEvo->AddSpin("% of downs", &r.Downs, 0, 100);
  IcEvo->AddCheck("Add random downs", &r.AddRandDowns);
  IcEvo->AddSpin("% of random downs", &r.RandDowns, 0, 100);
  IcEvo->AddSpin("% of mountains", &r.Mountains, 0, 100);
  IcEvo->AddCategory("Amplitude parameters");
  IcEvo->AddSpin("Smoothing", &r.ElevationSmooth, 0, 255);
  IcEvo->AddSpin("Detail", &r.ElevationDetail, 0, 255);
}

QWidget* TfParams::CreateGeneratePage() {
  const auto [page, text] = CreatePicturePage(340);
  text->addWidget(Heading("All necessary data is compiled", page));
  text->addWidget(WrappedText("Please choose 'Finish' to generate new map, 'Previous' to review your choices or "
                              "'Cancel' to abandon map creation completely.",
                              page));
  text->addSpacing(12);
  cbNameLand = new QCheckBox("&Name the land: realms, and a name for every place", page);
  text->addWidget(cbNameLand);
  NameFields = new LandNamingFields(false, page);
  NameFields->setEnabled(false);
  text->addWidget(NameFields);
  connect(cbNameLand, &QCheckBox::toggled, NameFields, &QWidget::setEnabled);
  text->addStretch();
  return page;
}

void TfParams::FormShow() {
  // A project load may have replaced the rows and the mode since the last opening.
  IPlasma->Reload();
  IcEvo->Reload();
  // Any mode a project file may carry other than cEvo means plasma fractal.
  Method = MethodOfMode(project_.Rows.Mode) == GenerationMethod::CEvo ? 1 : 0;
  (Method == 1 ? rbcEvo : rbPlasma)->setChecked(true);

  // The caption follows page changes only, so the first opening keeps the window's own.
  NB->setCurrentIndex(0);
  ShowPreview(0);
  ShowPreview(1);
  bPrevious->hide();
  SetNextCaption(false);
  Step = 0;

  backup_ = {};
  backup_.Map.Take(project_.Map);
  if (grid_ != nullptr) {
    backup_.GridColumns = grid_->Columns();
    backup_.GridRows = grid_->Rows();
  }
  if (QScreen* screen = QApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void TfParams::NBPageChanged(int page) {
  if (page >= 0 && page < 4) setWindowTitle(PageCaptions[page]);
}

void TfParams::SetNextCaption(bool finish) {
  finishes_ = finish;
  bNext->setText(finish ? "Finish" : "Next >");
}

void TfParams::ShowMethodPage() { NB->setCurrentIndex(Method == 1 ? 2 : 1); }

void TfParams::bNextClick() {
  switch (Step) {
    case 0:
      project_.Rows.Mode = Method;
      ShowMethodPage();
      bPrevious->show();
      SetNextCaption(false);
      Step = 1;
      break;
    case 1:
      NB->setCurrentIndex(3);
      SetNextCaption(true);
      Step = 2;
      break;
    default: {
      // A row that does not convert keeps the wizard open with its message,
      // instead of closing with OK over a stale map.
      std::optional<LandNamingOptions> naming;
      if (cbNameLand->isChecked()) {
        try {
          naming = NameFields->Options();  // a list that cannot be read stops here, before the map changes
        } catch (const std::exception& error) {
          prompts_.ShowError(this, QString::fromStdString(error.what()));
          return;
        }
      }
      const bool generated = Method == 1 ? bcEvoClick() : bPlasmaClick();
      if (!generated) return;
      if (naming) naming->Seed = RowInteger(Method == 1 ? project_.Rows.CEvo.Seed : project_.Rows.Plasma.Seed);
      naming_ = std::move(naming);
      if (grid_ != nullptr) {
        grid_->SetDisplay(CellDisplay::Terrain);
        grid_->RedrawAll();
      }
      accept();
      break;
    }
  }
}

void TfParams::bPreviousClick() {
  if (Step == 1) {
    bPrevious->hide();
    NB->setCurrentIndex(0);
    Step = 0;
  } else if (Step == 2) {
    bPrevious->show();
    ShowMethodPage();
    Step = 1;
  } else {
    return;
  }
  SetNextCaption(false);
}

bool TfParams::bPlasmaClick() { return CreatePreview(0); }
bool TfParams::bcEvoClick() { return CreatePreview(1); }

bool TfParams::CreatePreview(int method) {
  ShowPreview(method);
  const QString failure = FailureOf([&] {
    project_.Rows.Mode = method;
    GenerateFromRows(project_.Rows, MethodOfMode(method), project_.Settings, project_.Map, random_);
    DrawGenerationPreview(pages_[method].preview);
  });
  pages_[method].rows->Reload();  // the seeds used, also a randomized seed written before a failure
  if (failure.isEmpty()) return true;
  prompts_.ShowError(this, failure);
  return false;
}

void TfParams::ShowPreview(int method) { pages_[method].view->setCurrentIndex(0); }

bool TfParams::ShowSeedGallery(int method) {
  MethodPage& page = pages_[method];
  std::vector<QImage> images;
  const QString failure = FailureOf([&] {
    std::vector<GallerySeeds> seeds = DrawGallerySeeds(random_, SeedGalleryView::Count);
    const unsigned cores = std::max(2u, std::thread::hardware_concurrency());
    for (const MapGrid& map : GenerateGallery(project_.Rows, MethodOfMode(method), seeds, cores))
      images.push_back(GenerationPreviewImage(map));
    page.seeds = std::move(seeds);
  });
  if (!failure.isEmpty()) {
    prompts_.ShowError(this, failure);
    return false;
  }
  page.gallery->SetImages(std::move(images));
  page.view->setCurrentIndex(1);
  return true;
}

bool TfParams::PickGallerySeed(int method, int index) {
  MethodPage& page = pages_[method];
  if (index < 0 || index >= static_cast<int>(page.seeds.size())) return false;
  project_.Rows = RowsWithSeeds(project_.Rows, MethodOfMode(method), page.seeds[index]);
  page.rows->Reload();
  return CreatePreview(method);
}

void TfParams::DrawGenerationPreview(StretchedImage* preview) {
  const MapGrid& map = project_.Map;
  if (grid_ != nullptr) grid_->SetGridSize(map.Width, map.Height);
  preview->SetImage(GenerationPreviewImage(map));
}

void TfParams::reject() {
  backup_.Map.Restore(project_.Map);
  if (grid_ != nullptr) {
    grid_->SetGridSize(backup_.GridColumns, backup_.GridRows);
    grid_->RedrawAll();
  }
  QDialog::reject();
}

}  // namespace mireforge
