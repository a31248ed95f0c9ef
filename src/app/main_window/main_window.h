#pragma once
// TfMain, the main window. Its code is split by concern: main_window.cpp (shell,
// commands, start-up and shutdown), main_window_file.cpp (new, load, save,
// recent lists), main_window_edit.cpp (painting, editors, panels, undo),
// main_window_view.cpp (display options, tile size, status bar),
// main_window_map.cpp (resize, flip and rotate the whole map),
// main_window_navigation.cpp (overview, go to cell, find, history, live statistics).
#include <QMainWindow>
#include <QUndoStack>
#include <array>
#include <functional>
#include <memory>

#include "app/document/map_document.h"
#include "app/grid/map_grid_view.h"
#include "app/session/preferences.h"
#include "app/grid/tile_images.h"
#include "formats/map_image.h"
#include "project/map_transform.h"
#include "project/project.h"

class QAction;
class QActionGroup;
class QDockWidget;
class QLabel;
class QMenu;
class QTableView;
class QTreeView;
class QToolButton;
class QUndoView;

namespace mireforge {

class DescriptionModel;
struct LandNamingOptions;
class DomainModel;
class LiveStatistics;
class OverviewMap;
class ProjectFileWatch;
class TfFindReplace;
class MapTools;
class TerrainPalette;
class TfActualView;
class TfInfo;
class TfNewDomain;
class TfParams;
class TfSetDom;
class TfSetName;
class StatusPanel;
class StatusTail;
class UserPrompts;

class TfMain : public QMainWindow {
  Q_OBJECT

 public:
  TfMain(const QString& preferencesPath, UserPrompts& prompts, QWidget* parent = nullptr);
  ~TfMain() override;

  // Opens a project, Midnight/MU map or preview image by its extension (command
  // line and drag and drop); false when the extension is none of these.
  bool OpenFile(const QString& fileName);
  // Shows the window centred, maximized when "Start fullscreen" is on.
  void ShowAtStart();

  // State the tests and the panels read.
  MapDocument& Document() { return document_; }
  Project& CurrentProject() { return document_.CurrentProject(); }
  bool MapPresent() const { return document_.MapPresent(); }
  int ActiveTerrain() const { return activeTerrain_; }
  int ActiveDomain() const { return activeDomain_; }
  bool InvertRowCol() const { return prefs_.settings.invertRowCol; }
  const Preferences& Prefs() const { return prefs_; }
  QString StatusText(int panel) const;
  StatusPanel* Panel(int panel) const { return panels_[panel]; }
  QColor StatusColor() const;
  QUndoStack& UndoStack() { return document_.UndoStack(); }
  int TileSize() const { return DG->Options().tileSize; }


  // Operations other parts call.
  // Shows a map just put into the project, with painting off (after a load).
  void RefreshMap(const QString& origin);
  void UpdateCommands();
  void RebuildDomainPanel();
  void ChooseTileSize(int index);
  void ChooseTerrain(int code);
  // Grid to panels, and panel to grid.
  void GridClicked(int column, int row);
  void DescriptionClicked();
  // Makes (column, row) the current cell, centres the grid on it and shows its
  // description, also while another window (the find dialog) is active.
  void GoToCell(int column, int row);


 protected:
  void closeEvent(QCloseEvent* event) override;
  // Docks squeezed by a narrow window get their width back as it grows.
  void resizeEvent(QResizeEvent* event) override;
  // Files dropped anywhere on the window open; QMainWindow keeps drops for its docks otherwise.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // main_window.cpp
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateDocks();
  void CreateStatusBar();
  void ApplySettings();
  void ShutDown();
  // Runs a command; an exception is shown in the error box and the program goes on.
  void Guard(const std::function<void()>& command);
  QAction* NewAction(const QString& caption, const QKeySequence& shortcut, void (TfMain::*slot)());
  void ShowOptions();
  void ApplyHistoryLimits();
  void ShowAbout();
  void RestoreDockWidths();
  void ShowLegend();
  // command_icons.cpp
  void SetCommandIcons();
  // Gives every command and view its member's name as object name, by which
  // tests, benchmarks and accessibility tools find them.
  void NameParts();

  // main_window_file.cpp
  void NewEmptyProject();
  void SaveProjectCommand();
  bool SaveProjectAs();  // false when the dialog was cancelled
  void LoadProjectCommand();
  // False when the file was refused (a newer version), the project unchanged.
  bool LoadProjectFile(const QString& fileName);
  void ShowLoadedProject(const QString& origin = OriginProject);
  void SaveMMUCommand();
  void SaveMapImageCommand();
  void LoadMMUCommand();
  void SavePreviewCommand();
  void LoadPreviewCommand();
  // Reads a map that carries no descriptions (Midnight/MU map, preview image).
  using MapReader = void (*)(const std::string& path, MapGrid& grid);
  void LoadMapFile(const QString& fileName, bool clearSaved, MapReader read);
  // Maps that carry descriptions and domains (Tiled, CSV): loaded whole, as a project is.
  void LoadDescribedMap(const QString& fileName, bool clearSaved);
  // Puts fileName first in recent and shows it in the menu.
  void RememberFile(RecentList& recent, const QString& fileName);
  // The unsaved-changes question; false when the user cancelled (also the save dialog).
  bool AskSaveChanges(const QString& text);
  bool ConfirmReplaceMap();
  void RebuildRecentMenu();
  void OpenRecent(int list, const QString& fileName, bool clearSaved = false);
  // naming, when given, names the new map before any view shows it.
  void AfterDefaultMapLoad(const QString& origin, bool clearSaved, const LandNamingOptions* naming = nullptr);

  // main_window_wizards.cpp
  void CreateMapCommand();
  void ImportMapCommand();
  void SaveSQLCommand();
  void SaveHTMLCommand();
  void ExportTiledCommand();
  void StatsCommand();
  void DomStatsCommand();

  // main_window_edit.cpp
  void TogglePaint();
  void TogglePaintDom();
  void FillCommand();
  void NewBlankCommand();
  void SetNameCommand();
  void SetDomainCommand();
  void NewDomainCommand();
  void EditDomainCommand();
  std::vector<std::uint32_t> SelectedEntries() const;
  void UpdateContextCommands();
  // What the window's own views do on the document's notifications.
  void ShowChangedCells(const std::vector<std::uint32_t>& cells);
  void ShowReplacedMap(MapReplacement how);
  void ShowDomains();
  void ShowFileState();
  void DomainFocusChanged();
  void SelectDescriptionOf(int column, int row);

  // main_window_navigation.cpp
  void CreateNavigation();
  void AddNavigationMenus(QMenu* edit, QMenu* view);
  void GoToCellCommand();
  void FindCommand();

  // main_window_map.cpp
  void CreateMapActions();
  void CreateMapMenu();
  void EnableMapTransforms(bool enabled);
  void ResizeMapCommand();
  // Runs the transform as one undo step.
  void TransformMap(const QString& undoText, const MapTransform& transform);
  void NameLandCommand();
  // Realms, places and their names, as one undo step.
  void NameLand(const LandNamingOptions& options);

  // main_window_view.cpp
  void ToggleShowGrid();
  void ApplyTileLook();
  TileStyle CurrentTileStyle() const;
  // The tiles of the Fill and blank-map lists and the terrain statistics.
  TileStyle TerrainListStyle() const;
  void ToggleDomainIndicator();
  void ToggleBlendMore();
  void ToggleFullscreen();
  void Zoom(int steps);
  void CellSelected(int column, int row);
  void SetStatus(int panel, const QString& text);
  void SetStatusColor(const QColor& color);
  void UpdateActiveTerrainPicture();
  void UpdateDescriptionPanelWidth();

  // What the editing tools see of the window.
  class ToolAccess;
  std::unique_ptr<ToolAccess> toolAccess_;
  // Commands.
  QAction *aNew, *aCreate, *aNewBlank, *aImportMap, *aLoadProject, *aLoadMMU, *aLoadPreview;
  QAction *aSaveProject, *aSavePreview, *aSaveMap, *aSaveMMU, *aSaveHTML, *aSaveSQL, *aOptions, *aExit;
  QAction* aExportTiled;
  QAction *aPaint, *aPaintDom, *aFill, *aSetName, *aSetDomain, *aNewDomain, *aEditDomain;
  QAction *aActualView, *aShowGrid, *aGrayscale, *aRetro, *aFullscreen, *aCenterMap, *aToggleDesc, *aBlendMore;
  QAction *aStats, *aDomStats, *aLegend, *aAbout, *aUndo, *aRedo;
  std::array<QAction*, 7> aTileSize{};
  QAction *aShowDescWindow, *aShowTerrainWindow, *aShowDomainsWindow;
  QAction *aResizeMap, *aFlipHorizontally, *aFlipVertically, *aRotateClockwise, *aRotateCounterClockwise;
  QAction* aNameLand = nullptr;
  QAction *aGoToCell = nullptr, *aFind = nullptr, *aFindNext = nullptr, *aFindPrevious = nullptr;
  QAction *aShowOverviewWindow = nullptr, *aShowHistoryWindow = nullptr, *aShowStatisticsWindow = nullptr;

  // Views.
  MapGridView* DG = nullptr;
  QTableView* DescVT = nullptr;
  QTreeView* DomainVT = nullptr;
  QDockWidget *twDesc = nullptr, *twTerrain = nullptr, *twDomains = nullptr;
  QDockWidget *twOverview = nullptr, *twHistory = nullptr, *twStatistics = nullptr;
  OverviewMap* overview = nullptr;
  QUndoView* HistoryVT = nullptr;
  LiveStatistics* liveStats = nullptr;
  TfFindReplace* fFind = nullptr;
  TerrainPalette* palTerrain = nullptr;   // toolbar drop-down
  TerrainPalette* twPalette = nullptr;    // tool window
  QMenu* mMap = nullptr;
  QMenu *mRecent = nullptr, *mGridPopup = nullptr, *mDescPopup = nullptr, *mDomainPopup = nullptr;
  TfActualView* fActualView = nullptr;
  TfSetName* fSetName = nullptr;
  TfSetDom* fSetDom = nullptr;
  TfInfo* fInfo = nullptr;
  TfParams* fParams = nullptr;
  TfNewDomain* fNewDomain = nullptr;
  DescriptionModel* descModel = nullptr;
  DomainModel* domainModel = nullptr;
  MapTools* tools = nullptr;  // the editing tools, selection and clipboard

  MapDocument document_;
  Project& project_ = document_.CurrentProject();
  QUndoStack& undo_ = document_.UndoStack();
  TileImages tiles_;
  UserPrompts& prompts_;
  ProjectFileWatch* fileWatch_ = nullptr;  // the project file, changed by another program
  QString preferencesPath_;
  Preferences prefs_;
  int activeTerrain_ = -1;
  int activeDomain_ = -1;
  QString lastDescription_;
  int lastDomain_ = 0;
  bool jump_ = false;
  std::array<StatusPanel*, 8> panels_{};
  StatusTail* statusTail_ = nullptr;
  QActionGroup* tileGroup_ = nullptr;
  QMenu* tileMenu_ = nullptr;
  QMenu* tilePopup_ = nullptr;
  QToolButton* tileButton_ = nullptr;
};

}  // namespace mireforge
