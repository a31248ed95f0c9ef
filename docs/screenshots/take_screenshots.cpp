// Draws the main window and every dialog into PNG files for the README.
// Run under a display (xvfb-run): mireforge_screenshots OUTPUT_FOLDER MAP_FILE
#include <QApplication>
#include <QDir>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QTimer>
#include <QSpinBox>
#include <QToolButton>
#include <QTreeView>
#include <cstdio>

#include "app/description_model.h"
#include "app/editor_dialogs.h"
#include "app/legend_dialog.h"
#include "app/main_window.h"
#include "app/resize_map_dialog.h"
#include "app/small_forms.h"
#include "app/terrain_dialogs.h"
#include "app/user_prompts.h"

using namespace mireforge;

namespace {

QString outputFolder;

void Save(QWidget& widget, const char* name) {
  widget.show();
  widget.raise();
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  const QString file = QDir(outputFolder).filePath(QString(name) + ".png");
  if (!widget.grab().save(file)) std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
  widget.hide();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Mireforge");
  if (argc < 3) {
    std::fprintf(stderr, "usage: mireforge_screenshots OUTPUT_FOLDER MAP_FILE\n");
    return 2;
  }
  outputFolder = argv[1];
  QTemporaryDir settings;
  DialogPrompts prompts;
  TfMain window(settings.filePath("mireforge.ini"), prompts);
  window.resize(1360, 860);
  window.show();
  if (!window.OpenFile(argv[2])) return 1;
  Project& project = window.CurrentProject();
  project.Domains.Slots[1] = {0x3030E0, "Kingdom of Luxor"};
  project.Domains.Slots[2] = {0xD08020, "Ushgarak"};
  project.Domains.Slots[5] = {0x20B0F0, "Forest of Shadows"};
  for (int y = 5; y < 25; ++y)
    for (int x = 5; x < 30; ++x) project.CellDescription(x, y)->Domain = x < 18 ? 1 : 2;
  for (int y = 30; y < 50; ++y)
    for (int x = 20; x < 45; ++x) project.CellDescription(x, y)->Domain = 5;
  project.CellDescription(12, 9)->Text = "the Citadel of Gard";
  window.RebuildDomainPanel();
  window.aToggleDesc->trigger();
  window.ChooseTerrain(Forest);
  window.activateWindow();
  QApplication::setActiveWindow(&window);
  window.DG->SetCurrentCell(12, 9);
  Save(window, "main-window");

  window.aPaintDom->trigger();
  window.DomainVT->setCurrentIndex(window.domainModel->index(0, 0));
  Save(window, "main-window-domains");
  window.aPaintDom->trigger();
  window.aPaint->trigger();
  window.aPaint->trigger();
  window.show();

  TileImages tiles(LoadTileArtwork());
  TfFill fill(tiles, TileStyle::Colour, &window);
  Save(fill, "fill");
  TfNewBlank blank(tiles, TileStyle::Colour, &window);
  Save(blank, "create-blank-map");
  TfResizeMap resize(project.Map.Width, project.Map.Height, &window);
  resize.eWidth->setValue(80);
  resize.eHeight->setValue(70);
  resize.bAnchor[4]->click();
  Save(resize, "resize-map");
  window.fSetName->Remember("the Citadel of Gard");
  window.fSetName->Remember("the Tower of Dreams");
  window.fSetName->Prepare("the Citadel of Gard", "[1] Kingdom of Luxor");
  Save(*window.fSetName, "set-description");
  window.fSetDom->Prepare("the Citadel of Gard", 1, "Kingdom of Luxor", 0x3030E0);
  Save(*window.fSetDom, "set-domain");
  window.fNewDomain->PrepareNew(6);
  Save(*window.fNewDomain, "new-domain");
  window.fNewDomain->PrepareEdit(2, "Ushgarak", 0xD08020);
  Save(*window.fNewDomain, "edit-domain");
  TfOptions options({false, false, false, false}, &window);
  Save(options, "preferences");
  TfLegend legend(&window);
  Save(legend, "colour-legend");
  TfAbout about(&window);
  Save(about, "about");
  window.fInfo->Start("Saving, please wait...", 63);
  window.fInfo->SetPosition(30);
  Save(*window.fInfo, "progress");
  project.ProjectSaved = true;
  return 0;
}
