#pragma once
// TfParams, the random map generation wizard. It lives as long as the main
// window; its rows are the project's generator rows, so they persist between
// openings and travel in project files.
#include <QDialog>
#include <QImage>
#include <optional>

#include "app/wizards/wizard_parts.h"
#include "generate/land_naming.h"
#include "generate/seed_gallery.h"
#include "model/random_source.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace mireforge {

class LandNamingFields;
class MapGridView;
class PropertyGrid;
class SeedGalleryView;
class UserPrompts;
class MapGrid;
struct Project;

// The map as it was when the wizard opened, and the grid view's size then.
struct GenerationBackup {
  MapBackup Map;
  int GridColumns = 0;
  int GridRows = 0;
};

// The preview picture: one pixel per cell, plains, forest, downs and mountains
// in their class colours, everything else black.
QImage GenerationPreviewImage(const MapGrid& grid);

class TfParams : public WizardDialog {
  Q_OBJECT
 public:
  // grid may be null (no main grid view to size).
  TfParams(Project& project, UserPrompts& prompts, MapGridView* grid, QWidget* parent = nullptr);

  int Step = 0;
  int Method = 0;  // 0 plasma fractal, 1 cEvo

  QStackedWidget* NB = nullptr;
  QPushButton *bPrevious = nullptr, *bNext = nullptr, *bCancel = nullptr;
  QRadioButton *rbPlasma = nullptr, *rbcEvo = nullptr;
  PropertyGrid *IPlasma = nullptr, *IcEvo = nullptr;
  StretchedImage *PreviewPlasma = nullptr, *PreviewcEvo = nullptr;
  QPushButton *bPlasma = nullptr, *bcEvo = nullptr;
  // "Seed gallery": nine previews of nine random seeds in place of the preview.
  QPushButton *bPlasmaGallery = nullptr, *bcEvoGallery = nullptr;
  SeedGalleryView *PlasmaGallery = nullptr, *cEvoGallery = nullptr;

  // The random source all generation draws from (tests give it a clock).
  RandomSource& Random() { return random_; }
  const GenerationBackup& Backup() const { return backup_; }

  void FormShow() override;
  void bNextClick();
  void bPreviousClick();
  // "Create preview"; false when a row did not convert or the generator failed.
  bool bPlasmaClick();
  bool bcEvoClick();
  void NBPageChanged(int page);
  // Fills the method's gallery with the current rows; false when a row did not convert.
  bool ShowSeedGallery(int method);
  // Writes the entry's seeds into the rows, then runs "Create preview" with them.
  bool PickGallerySeed(int method, int index);
  const std::vector<GallerySeeds>& GallerySeedsOf(int method) const { return pages_[method].seeds; }
  // Cancel, Escape and the close box: the backup goes back.
  void reject() override;

  // The last page's choice to name the land of the new map (off by default).
  QCheckBox* cbNameLand = nullptr;
  LandNamingFields* NameFields = nullptr;
  // After Finish: how to name the new map, with its map seed; nothing when not chosen.
  const std::optional<LandNamingOptions>& Naming() const { return naming_; }

 private:
  QWidget* CreatePickPage();
  QWidget* CreateMethodPage(bool plasma);
  QWidget* CreateGeneratePage();
  void FillPlasmaGrid();
  void FillCEvoGrid();
  bool CreatePreview(int method);
  void DrawGenerationPreview(StretchedImage* preview);
  // Brings back the method's single preview where its gallery was shown.
  void ShowPreview(int method);
  void ShowMethodPage();
  void SetNextCaption(bool finish);

  Project& project_;
  UserPrompts& prompts_;
  MapGridView* grid_;
  RandomSource random_;
  GenerationBackup backup_;
  bool finishes_ = false;
  std::optional<LandNamingOptions> naming_;
  // Per method (0 plasma, 1 cEvo): what its page shows.
  struct MethodPage {
    PropertyGrid* rows = nullptr;
    StretchedImage* preview = nullptr;
    SeedGalleryView* gallery = nullptr;
    QStackedWidget* view = nullptr;  // the preview or the gallery
    std::vector<GallerySeeds> seeds;
  };
  MethodPage pages_[2];
};

}  // namespace mireforge
