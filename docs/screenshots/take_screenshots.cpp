// Draws the main window and every dialog into PNG files for the README.
// Run under a display (xvfb-run): mireforge_screenshots OUTPUT_FOLDER MAP_FILE [MAP_TO_NAME]
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMouseEvent>
#include <QUndoStack>
#include <QDir>
#include <QDockWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QItemSelectionModel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QSpinBox>
#include <QToolButton>
#include <QTabWidget>
#include <QTreeView>
#include <cstdio>

#include "app/edit/cell_edit_command.h"
#include "app/panels/description_model.h"
#include "app/dialogs/editor_dialogs.h"
#include "app/wizards/generation_wizard.h"
#include "app/wizards/property_grid.h"
#include "app/navigation/find_replace_dialog.h"
#include "app/navigation/go_to_cell_dialog.h"
#include "app/dialogs/legend_dialog.h"
#include "app/dialogs/name_land_dialog.h"
#include "app/main_window/main_window.h"
#include "app/main_window/window_parts.h"
#include "app/tools/map_tools.h"
#include "app/dialogs/resize_map_dialog.h"
#include "app/dialogs/small_forms.h"
#include "app/dialogs/statistics_dialogs.h"
#include "app/dialogs/terrain_dialogs.h"
#include "app/dialogs/user_prompts.h"
#include "app/session/desktop_session.h"

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

// Mouse input on the grid, as a person gives it.
void Mouse(TfMain& window, QEvent::Type type, int column, int row, Qt::MouseButtons buttons,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const int pitch = window.TileSize() + (PartOf<QAction>(window, "aShowGrid")->isChecked() ? 1 : 0);
  const QPointF pos((column - PartOf<MapGridView>(window, "DG")->LeftColumn()) * pitch + pitch / 2,
                    (row - PartOf<MapGridView>(window, "DG")->TopRow()) * pitch + pitch / 2);
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, pos, PartOf<MapGridView>(window, "DG")->viewport()->mapToGlobal(pos), button, buttons, modifiers);
  QApplication::sendEvent(PartOf<MapGridView>(window, "DG")->viewport(), &event);
}

void Drag(TfMain& window, QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  Mouse(window, QEvent::MouseButtonPress, from.x(), from.y(), Qt::LeftButton, modifiers);
  Mouse(window, QEvent::MouseMove, to.x(), to.y(), Qt::LeftButton, modifiers);
  Mouse(window, QEvent::MouseButtonRelease, to.x(), to.y(), Qt::NoButton, modifiers);
}

// Each tool in use, at tile size 16 so that much of the map shows.
void ToolScreenshots(TfMain& window) {
  MapTools& tools = *PartOf<MapTools>(window, "tools");
  window.ChooseTileSize(3);
  window.ChooseTerrain(Forest);
  const auto use = [&](Tool tool) { tools.aTool[static_cast<int>(tool)]->trigger(); };

  use(Tool::Brush);
  tools.cbBrushSize->setCurrentIndex(3);  // 5
  tools.cbBrushShape->setCurrentIndex(1);
  tools.cbRandom->setChecked(true);
  Drag(window, {8, 30}, {30, 36});
  tools.cbRandom->setChecked(false);
  tools.cbBrushSize->setCurrentIndex(0);
  Save(window, "tools-brush");

  use(Tool::Bucket);
  window.ChooseTerrain(Village);
  Drag(window, {50, 30}, {50, 30});
  Save(window, "tools-bucket");

  use(Tool::RectSelect);
  Drag(window, {4, 1}, {14, 8});
  use(Tool::MagicWand);
  Drag(window, {50, 30}, {50, 30}, Qt::ShiftModifier);
  Save(window, "tools-selection");

  use(Tool::Ellipse);
  window.ChooseTerrain(Mountains);
  Mouse(window, QEvent::MouseButtonPress, 24, 26, Qt::LeftButton);
  Mouse(window, QEvent::MouseMove, 38, 38, Qt::LeftButton);
  Save(window, "tools-ellipse");
  Mouse(window, QEvent::MouseButtonRelease, 38, 38, Qt::NoButton);

  use(Tool::RectSelect);
  Drag(window, {4, 1}, {14, 8});
  tools.aCopy->trigger();
  tools.aSelectNone->trigger();
  tools.aPaste->trigger();
  tools.aRotateStamp->trigger();
  Mouse(window, QEvent::MouseMove, 32, 14, Qt::NoButton);
  Save(window, "tools-paste");
  tools.aCancelPaste->trigger();
  tools.aSelectNone->trigger();
  while (window.UndoStack().canUndo()) window.UndoStack().undo();
  window.ChooseTileSize(0);
  window.show();
}

// The window at its least size and at 1600 x 1200 with every dock shown, the
// statistics chart, a refused cell position and the wizard under a large font.
void MendedScreenshots(TfMain& window) {
  window.showNormal();
  window.resize(window.minimumSize());
  Save(window, "main-window-smallest");
  window.resize(1600, 1200);
  PartOf<QDockWidget>(window, "twHistory")->show();
  PartOf<QDockWidget>(window, "twStatistics")->show();
  PartOf<QDockWidget>(window, "twDesc")->raise();
  Save(window, "main-window-1600x1200-all-docks");
  PartOf<QDockWidget>(window, "twHistory")->hide();
  PartOf<QDockWidget>(window, "twStatistics")->hide();
  TileImages tiles(LoadTileArtwork());
  TfStats stats(window.CurrentProject(), tiles, &window);
  Save(stats, "terrain_statistics");
  TfGoToCell goToCell(QPoint(12, 9), false, window.CurrentProject().Map.Width, window.CurrentProject().Map.Height, &window);
  goToCell.show();
  goToCell.eCell->setText("abc");
  goToCell.accept();
  Save(goToCell, "go-to-cell-refused");
  const QFont before = QApplication::font();
  QFont large = before;
  large.setPointSizeF(before.pointSizeF() * 1.6);
  QApplication::setFont(large);
  TfParams& wizard = *PartOf<TfParams>(window, "fParams");
  wizard.show();
  wizard.bPreviousClick();
  Save(wizard, "generation_wizard_1_pick-large-font");
  wizard.reject();
  QApplication::setFont(before);
  window.resize(1360, 860);
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
  PartOf<QAction>(window, "aToggleDesc")->trigger();
  window.ChooseTerrain(Forest);
  window.activateWindow();
  QApplication::setActiveWindow(&window);
  PartOf<MapGridView>(window, "DG")->SetCurrentCell(12, 9);
  Save(window, "main-window");

  PartOf<QAction>(window, "aPaintDom")->trigger();
  PartOf<QTreeView>(window, "DomainVT")->setCurrentIndex(PartOf<DomainModel>(window, "domainModel")->index(0, 0));
  Save(window, "main-window-domains");
  PartOf<QAction>(window, "aPaintDom")->trigger();
  PartOf<QAction>(window, "aPaint")->trigger();
  PartOf<QAction>(window, "aPaint")->trigger();
  window.show();
  ToolScreenshots(window);

  // The history and the live statistics beside the grid, after a few strokes.
  PartOf<QDockWidget>(window, "twHistory")->show();
  PartOf<QDockWidget>(window, "twStatistics")->show();
  for (const auto& [terrain, cells] : {std::pair(Forest, QRect(14, 12, 8, 1)), std::pair(Lake, QRect(20, 14, 1, 6))}) {
    CellEdit stroke(project);
    for (int y = cells.top(); y <= cells.bottom(); ++y)
      for (int x = cells.left(); x <= cells.right(); ++x)
        stroke.Set(static_cast<std::uint32_t>(x + y * project.Map.Width),
                   {terrain, project.CellDescription(x, y)->Domain, std::string(TerrainNames[terrain])});
    window.Document().Push(new CellEditCommand("Paint terrain", project, window.Document(), std::move(stroke), false));
  }
  PartOf<QDockWidget>(window, "twHistory")->raise();
  Save(window, "main-window-history");
  window.show();
  PartOf<QDockWidget>(window, "twStatistics")->raise();
  Save(window, "main-window-live-statistics");
  PartOf<QDockWidget>(window, "twStatistics")->hide();
  PartOf<QDockWidget>(window, "twHistory")->hide();
  PartOf<QDockWidget>(window, "twDesc")->raise();
  window.show();
  PartOf<TfFindReplace>(window, "fFind")->eFind->setText("forest");
  PartOf<TfFindReplace>(window, "fFind")->bFindAll->click();
  Save(*PartOf<TfFindReplace>(window, "fFind"), "find-and-replace");
  window.show();
  TfGoToCell goToCell(QPoint(12, 9), false, project.Map.Width, project.Map.Height, &window);
  Save(goToCell, "go-to-cell");

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
  PartOf<TfSetName>(window, "fSetName")->Remember("the Citadel of Gard");
  PartOf<TfSetName>(window, "fSetName")->Remember("the Tower of Dreams");
  PartOf<TfSetName>(window, "fSetName")->Prepare("the Citadel of Gard", "[1] Kingdom of Luxor");
  Save(*PartOf<TfSetName>(window, "fSetName"), "set-description");
  PartOf<TfSetDom>(window, "fSetDom")->Prepare("the Citadel of Gard", 1, "Kingdom of Luxor", 0x3030E0);
  Save(*PartOf<TfSetDom>(window, "fSetDom"), "set-domain");
  PartOf<TfNewDomain>(window, "fNewDomain")->PrepareNew(6);
  Save(*PartOf<TfNewDomain>(window, "fNewDomain"), "new-domain");
  PartOf<TfNewDomain>(window, "fNewDomain")->PrepareEdit(2, "Ushgarak", 0xD08020);
  Save(*PartOf<TfNewDomain>(window, "fNewDomain"), "edit-domain");
  TfOptions options({false, false, false, false}, &window);
  Save(options, "preferences");
  {
    TfOptions withKeys({false, false, false, false}, &window);
    SessionOf(window)->AddPages(withKeys);
    withKeys.tabs->setCurrentIndex(withKeys.tabs->count() - 1);
    withKeys.resize(640, 560);
    Save(withKeys, "preferences-keyboard");
  }
  TfLegend legend(&window);
  Save(legend, "colour-legend");
  TfAbout about(&window);
  Save(about, "about");
  PartOf<TfInfo>(window, "fInfo")->Start("Saving, please wait...", 63);
  PartOf<TfInfo>(window, "fInfo")->SetPosition(30);
  Save(*PartOf<TfInfo>(window, "fInfo"), "progress");
  // The generation wizard's plasma page, then its gallery of seeds.
  TfParams& wizard = *PartOf<TfParams>(window, "fParams");
  wizard.show();
  wizard.bNext->click();
  wizard.IPlasma->SetValue("Map width", "128");
  wizard.IPlasma->SetValue("Map height", "128");
  wizard.bPlasmaClick();
  Save(wizard, "generation_wizard_2_plasma");
  wizard.show();
  wizard.bNext->click();
  wizard.ShowSeedGallery(0);
  Save(wizard, "generation_wizard_2_gallery");
  wizard.reject();
  wizard.show();
  wizard.rbcEvo->click();
  wizard.bNext->click();
  wizard.bcEvoClick();
  Save(wizard, "generation_wizard_2_cevo");
  wizard.reject();
  MendedScreenshots(window);
  project.ProjectSaved = true;

  // A generated map, named through "Name the land...", with its realms shown (the optional MAP_TO_NAME).
  if (argc > 3 && window.OpenFile(argv[3])) {
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<TfNameLand*>(QApplication::activeModalWidget());
      if (!dialog) return;
      dialog->fields->eDomains->setValue(9);
      dialog->fields->eSeed->setValue(2026);
      Save(*dialog, "name-the-land");
      dialog->fields->cbKeep->setChecked(false);  // the earlier pictures' domains go too
      dialog->accept();
    });
    PartOf<QAction>(window, "aNameLand")->trigger();
    // The whole map at 8 pixels a cell, beside its realms.
    PartOf<QDockWidget>(window, "twDesc")->hide();
    PartOf<QDockWidget>(window, "twOverview")->hide();
    window.resize(1600, 1100);
    window.ChooseTileSize(6);
    PartOf<QAction>(window, "aPaintDom")->trigger();
    PartOf<MapGridView>(window, "DG")->SetCurrentCell(40, 30);
    PartOf<QTreeView>(window, "DomainVT")->setCurrentIndex(PartOf<DomainModel>(window, "domainModel")->index(0, 0));
    window.show();
    Save(window, "named-land");
    project.ProjectSaved = true;
  }
  // The same window under a dark colour scheme: the light palette with its lightness turned over.
  QApplication::setStyle("Fusion");
  QPalette dark = QApplication::palette();
  for (int role = 0; role < QPalette::NColorRoles; ++role) {
    if (role == QPalette::Highlight) continue;
    QColor colour = dark.color(static_cast<QPalette::ColorRole>(role));
    colour.setHsl(colour.hslHue(), colour.hslSaturation(), 255 - colour.lightness());
    dark.setColor(static_cast<QPalette::ColorRole>(role), colour);
  }
  QApplication::setPalette(dark);
  TfMain darkWindow(settings.filePath("dark.ini"), prompts);
  darkWindow.resize(1360, 860);
  darkWindow.show();
  if (!darkWindow.OpenFile(argv[2])) return 1;
  PartOf<QAction>(darkWindow, "aToggleDesc")->trigger();
  PartOf<MapGridView>(darkWindow, "DG")->SetCurrentCell(12, 9);
  Save(darkWindow, "main-window-dark");
  darkWindow.CurrentProject().ProjectSaved = true;
  return 0;
}
