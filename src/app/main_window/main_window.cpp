#include "app/main_window/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTableView>
#include <QTreeView>
#include <QUndoView>
#include <QWidgetAction>

#include "app/actual_view/actual_view.h"
#include "app/layout/description_columns.h"
#include "app/layout/window_fit.h"
#include "app/menus/shortcut_menu.h"
#include "app/navigation/find_replace_dialog.h"
#include "app/navigation/overview_map.h"
#include "app/panels/live_statistics.h"
#include "app/panels/description_model.h"
#include "app/panels/item_text_delegate.h"
#include "app/dialogs/editor_dialogs.h"
#include "app/wizards/generation_wizard.h"
#include "app/dialogs/legend_dialog.h"
#include "app/tools/map_tools.h"
#include "app/dialogs/small_forms.h"
#include "app/layout/status_panel.h"
#include "app/grid/terrain_palette.h"
#include "app/dialogs/user_prompts.h"
#include "app/session/desktop_session.h"
#include "app/session/file_names.h"
#include "app/session/project_file_watch.h"
#include "base/error.h"

namespace mireforge {

namespace {

// The docked panels' widths they come back to; the grid keeps at least this much.
constexpr int DescriptionDockWidth = 300;
constexpr int GridComfortWidth = 160;

}  // namespace

class TfMain::ToolAccess : public ToolContext {
 public:
  explicit ToolAccess(TfMain& window) : w_(window) {}
  QMainWindow& Window() override { return w_; }
  QMenu& MapMenu() override { return *w_.mMap; }
  MapDocument& Document() override { return w_.document_; }
  MapGridView& Grid() override { return *w_.DG; }
  TileImages& Tiles() override { return w_.tiles_; }
  int ActiveTerrain() const override { return w_.activeTerrain_; }
  int ActiveDomain() const override { return w_.activeDomain_; }
  QAction& PaintTerrain() override { return *w_.aPaint; }
  QAction& PaintDomains() override { return *w_.aPaintDom; }
  void AddStatusPanel(QWidget* panel) override { w_.statusTail_->AddPanel(panel); }
  void HoldHistory(bool held) override {
    w_.aUndo->setEnabled(!held && w_.undo_.canUndo());
    w_.aRedo->setEnabled(!held && w_.undo_.canRedo());
  }
  void Run(const std::function<void()>& command) override { w_.Guard(command); }
  void TransformMap(const QString& undoText, const MapTransform& transform) override {
    w_.TransformMap(undoText, transform);
  }

 private:
  TfMain& w_;
};

TfMain::TfMain(const QString& preferencesPath, UserPrompts& prompts, QWidget* parent)
    : QMainWindow(parent), tiles_(LoadTileArtwork()), prompts_(prompts), preferencesPath_(preferencesPath) {
  setWindowTitle(QApplication::applicationName());
  setWindowIcon(AppIcon());
  setAcceptDrops(true);
  installEventFilter(this);
  setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);

  DG = new MapGridView(project_, tiles_, this);
  setCentralWidget(DG);
  descModel = new DescriptionModel(project_, tiles_, prefs_.settings.invertRowCol, this);
  // The window's own views first: the navigation windows read the grid's new size.
  connect(&document_, &MapDocument::CellsChanged, this, &TfMain::ShowChangedCells);
  connect(&document_, &MapDocument::MapReplaced, this, &TfMain::ShowReplacedMap);
  connect(&document_, &MapDocument::DomainsChanged, this, &TfMain::ShowDomains);
  connect(&document_, &MapDocument::FileStateChanged, this, &TfMain::ShowFileState);
  domainModel = new DomainModel(project_, this);
  fileWatch_ = new ProjectFileWatch(*this, document_, prompts_, [this](const QString& file) {
    Guard([&] {
      if (LoadProjectFile(file)) document_.MarkSaved(PathOf(file));
    });
  });

  // The forms that live as long as the main window, in their creation order.
  fParams = new TfParams(project_, prompts_, DG, this);
  fActualView = new TfActualView(project_, DG, this);
  connect(&document_, &MapDocument::CellsChanged, fActualView, &TfActualView::Refresh);
  fSetName = new TfSetName(this);
  fSetDom = new TfSetDom(this);
  fInfo = new TfInfo(this);
  fNewDomain = new TfNewDomain(this);

  CreateActions();
  SetCommandIcons();
  CreateDocks();
  CreateNavigation();
  CreateMenus();
  CreateToolBar();
  CreateStatusBar();
  toolAccess_ = std::make_unique<ToolAccess>(*this);
  tools = new MapTools(*toolAccess_);

  connect(DG, &MapGridView::CellSelected, this, &TfMain::CellSelected);
  connect(DG, &MapGridView::CellClicked, this, &TfMain::GridClicked);
  connect(DG, &MapGridView::ZoomRequested, this, &TfMain::Zoom);
  connect(DG, &MapGridView::ContextMenuRequested, this, [this](const QPoint& pos) {
    UpdateContextCommands();
    mGridPopup->popup(pos);
  });

  prefs_.Load(preferencesPath_);
  ApplySettings();
  ChooseTileSize(0);
  RebuildRecentMenu();
  UpdateCommands();
  new WindowFit(this, DG);
  new DesktopSession(*this, preferencesPath_);  // keys and layout of the last run, over the defaults
  ApplyHistoryLimits();
  NameParts();
}

void TfMain::ApplyHistoryLimits() {
  const SessionOptions& options = SessionOf(*this)->Options();
  document_.SetHistoryLimits(options.undoSteps, std::size_t(options.undoMegabytes) << 20);
}

void TfMain::NameParts() {
#define MIREFORGE_NAME(part) part->setObjectName(QStringLiteral(#part))
  MIREFORGE_NAME(aNew); MIREFORGE_NAME(aCreate); MIREFORGE_NAME(aNewBlank); MIREFORGE_NAME(aImportMap);
  MIREFORGE_NAME(aLoadProject); MIREFORGE_NAME(aLoadMMU); MIREFORGE_NAME(aLoadPreview); MIREFORGE_NAME(aSaveProject);
  MIREFORGE_NAME(aSavePreview); MIREFORGE_NAME(aSaveMap); MIREFORGE_NAME(aSaveMMU); MIREFORGE_NAME(aSaveHTML);
  MIREFORGE_NAME(aSaveSQL); MIREFORGE_NAME(aOptions); MIREFORGE_NAME(aExit); MIREFORGE_NAME(aExportTiled);
  MIREFORGE_NAME(aPaint); MIREFORGE_NAME(aPaintDom); MIREFORGE_NAME(aFill); MIREFORGE_NAME(aSetName);
  MIREFORGE_NAME(aSetDomain); MIREFORGE_NAME(aNewDomain); MIREFORGE_NAME(aEditDomain); MIREFORGE_NAME(aActualView);
  MIREFORGE_NAME(aShowGrid); MIREFORGE_NAME(aGrayscale); MIREFORGE_NAME(aRetro); MIREFORGE_NAME(aFullscreen);
  MIREFORGE_NAME(aCenterMap); MIREFORGE_NAME(aToggleDesc); MIREFORGE_NAME(aBlendMore); MIREFORGE_NAME(aStats);
  MIREFORGE_NAME(aDomStats); MIREFORGE_NAME(aLegend); MIREFORGE_NAME(aAbout); MIREFORGE_NAME(aUndo);
  MIREFORGE_NAME(aRedo); MIREFORGE_NAME(aShowDescWindow); MIREFORGE_NAME(aShowTerrainWindow);
  MIREFORGE_NAME(aShowDomainsWindow); MIREFORGE_NAME(aResizeMap); MIREFORGE_NAME(aFlipHorizontally);
  MIREFORGE_NAME(aFlipVertically); MIREFORGE_NAME(aRotateClockwise); MIREFORGE_NAME(aRotateCounterClockwise);
  MIREFORGE_NAME(aNameLand); MIREFORGE_NAME(aGoToCell); MIREFORGE_NAME(aFind); MIREFORGE_NAME(aFindNext);
  MIREFORGE_NAME(aFindPrevious); MIREFORGE_NAME(aShowOverviewWindow); MIREFORGE_NAME(aShowHistoryWindow);
  MIREFORGE_NAME(aShowStatisticsWindow); MIREFORGE_NAME(DG); MIREFORGE_NAME(DescVT); MIREFORGE_NAME(DomainVT);
  MIREFORGE_NAME(twDesc); MIREFORGE_NAME(twTerrain); MIREFORGE_NAME(twDomains); MIREFORGE_NAME(twOverview);
  MIREFORGE_NAME(twHistory); MIREFORGE_NAME(twStatistics); MIREFORGE_NAME(overview); MIREFORGE_NAME(HistoryVT);
  MIREFORGE_NAME(liveStats); MIREFORGE_NAME(fFind); MIREFORGE_NAME(palTerrain); MIREFORGE_NAME(twPalette);
  MIREFORGE_NAME(mMap); MIREFORGE_NAME(mRecent); MIREFORGE_NAME(mGridPopup); MIREFORGE_NAME(mDescPopup);
  MIREFORGE_NAME(mDomainPopup); MIREFORGE_NAME(fActualView); MIREFORGE_NAME(fSetName); MIREFORGE_NAME(fSetDom);
  MIREFORGE_NAME(fInfo); MIREFORGE_NAME(fParams); MIREFORGE_NAME(fNewDomain); MIREFORGE_NAME(descModel);
  MIREFORGE_NAME(domainModel); MIREFORGE_NAME(tools);
#undef MIREFORGE_NAME
  for (std::size_t i = 0; i < aTileSize.size(); ++i) aTileSize[i]->setObjectName(QString("aTileSize%1").arg(i));
}

// The tools go before what they see of the window.
TfMain::~TfMain() { delete tools; }

QAction* TfMain::NewAction(const QString& caption, const QKeySequence& shortcut, void (TfMain::*slot)()) {
  auto* action = new QAction(caption, this);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  QString hint = caption;
  hint.remove('&');
  if (hint.endsWith("...")) hint.chop(3);
  action->setStatusTip(hint);
  action->setToolTip(hint);
  if (slot) connect(action, &QAction::triggered, this, [this, slot] { Guard([this, slot] { (this->*slot)(); }); });
  addAction(action);  // shortcuts work whatever menu holds the command
  return action;
}

void TfMain::CreateActions() {
  aNew = NewAction("&New empty project", {}, &TfMain::NewEmptyProject);
  aCreate = NewAction("&Create map...", QKeySequence("Ctrl+C"), &TfMain::CreateMapCommand);
  aNewBlank = NewAction("Create &blank map", {}, &TfMain::NewBlankCommand);
  aImportMap = NewAction("&Import bitmap...", QKeySequence("Ctrl+I"), &TfMain::ImportMapCommand);
  aImportMap->setStatusTip("Generate map from bitmap");
  aImportMap->setToolTip("Generate map from bitmap");
  aLoadProject = NewAction("Load Mireforge project...", QKeySequence("Ctrl+Q"), &TfMain::LoadProjectCommand);
  aLoadMMU = NewAction("Load &Midnight/MU map...", QKeySequence("Ctrl+M"), &TfMain::LoadMMUCommand);
  aLoadPreview = NewAction("&Load map from preview image...", QKeySequence("Ctrl+L"), &TfMain::LoadPreviewCommand);
  aSaveProject = NewAction("Save Mireforge &project...", QKeySequence("Shift+Ctrl+S"), &TfMain::SaveProjectCommand);
  aSavePreview = NewAction("Save &preview image...", QKeySequence("Ctrl+Alt+S"), &TfMain::SavePreviewCommand);
  aSaveMap = NewAction("&Save map image to file...", QKeySequence("Ctrl+S"), &TfMain::SaveMapImageCommand);
  // Ctrl+M belongs to the load command; the save command shows no key.
  aSaveMMU = NewAction("Save to Midnigh&t/MU map file...", {}, &TfMain::SaveMMUCommand);
  aSaveHTML = NewAction("Save to &HTML map file...", QKeySequence("Ctrl+H"), &TfMain::SaveHTMLCommand);
  aExportTiled = NewAction("Export as Tiled map...", {}, &TfMain::ExportTiledCommand);
  aSaveSQL = NewAction("&Save as SQL...", QKeySequence("Ctrl+U"), &TfMain::SaveSQLCommand);
  aOptions = NewAction("&Preferences...", QKeySequence("Ctrl+O"), &TfMain::ShowOptions);
  aExit = NewAction("&Exit", QKeySequence("Alt+F4"), nullptr);
  connect(aExit, &QAction::triggered, this, &QWidget::close);

  aPaint = NewAction("Paint terrain", QKeySequence("Ctrl+P"), &TfMain::TogglePaint);
  aPaint->setCheckable(true);
  aPaintDom = NewAction("Paint domains", QKeySequence("Shift+Ctrl+P"), &TfMain::TogglePaintDom);
  aPaintDom->setCheckable(true);
  aFill = NewAction("Fill...", QKeySequence("Ctrl+F"), &TfMain::FillCommand);
  aSetName = NewAction("Set description...", QKeySequence("Ctrl+D"), &TfMain::SetNameCommand);
  aSetDomain = NewAction("Set domain...", {}, &TfMain::SetDomainCommand);
  aNewDomain = NewAction("&New domain...", {}, &TfMain::NewDomainCommand);
  aEditDomain = NewAction("&Edit domain...", {}, &TfMain::EditDomainCommand);

  aActualView = NewAction("&Actual view", QKeySequence("Ctrl+A"), nullptr);
  connect(aActualView, &QAction::triggered, this, [this] { fActualView->ShowCentred(); });
  aShowGrid = NewAction("Show &Grid", QKeySequence("Ctrl+G"), &TfMain::ToggleShowGrid);
  aGrayscale = NewAction("Draw terrain in &grayscale", QKeySequence("Ctrl+B"), &TfMain::ApplyTileLook);
  aRetro = NewAction("&Retro look", QKeySequence("Ctrl+R"), &TfMain::ApplyTileLook);
  aFullscreen = NewAction("Start &fullscreen", {}, &TfMain::ToggleFullscreen);
  aCenterMap = NewAction("Transfer focus to grid when selecting description", {}, nullptr);
  aToggleDesc = NewAction("Show domain indicator", {}, &TfMain::ToggleDomainIndicator);
  aBlendMore = NewAction("More color when displaying domains", {}, &TfMain::ToggleBlendMore);
  for (QAction* toggle : {aShowGrid, aGrayscale, aRetro, aFullscreen, aCenterMap, aToggleDesc, aBlendMore})
    toggle->setCheckable(true);

  aStats = NewAction("Terrain statistics", {}, &TfMain::StatsCommand);
  aDomStats = NewAction("Domain statistics", {}, &TfMain::DomStatsCommand);
  aLegend = NewAction("&Colour legend for preview images...", {}, &TfMain::ShowLegend);
  aAbout = NewAction("&About...", {}, &TfMain::ShowAbout);
  CreateMapActions();

  aUndo = undo_.createUndoAction(this, "&Undo");
  aUndo->setShortcuts({QKeySequence("Ctrl+Z")});
  aRedo = undo_.createRedoAction(this, "&Redo");
  aRedo->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
  addAction(aUndo);
  addAction(aRedo);

  tileGroup_ = new QActionGroup(this);
  for (int i = 0; i < static_cast<int>(TileSizes.size()); ++i) {
    const int n = TileSizes[i];
    QAction* action = NewAction(QString("%1x%2").arg(n).arg(n), QKeySequence(QString("Ctrl+%1").arg(i + 1)), nullptr);
    action->setCheckable(true);
    tileGroup_->addAction(action);
    connect(action, &QAction::triggered, this, [this, i] { ChooseTileSize(i); });
    aTileSize[i] = action;
  }
}

namespace {

// The palette keeps its size; in a short window it scrolls inside its dock
// instead of spilling over the dock below, and the dock never grows taller than it.
QWidget* PaletteRoom(QWidget* palette) {
  auto* room = new QScrollArea;
  room->setFrameShape(QFrame::NoFrame);
  room->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  room->setWidget(palette);
  room->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  const QSize size = palette->sizeHint();
  room->setMinimumWidth(size.width() + room->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, room));
  room->setMaximumHeight(size.height());
  room->setMinimumHeight(std::min(size.height(), 48));
  return room;
}

}  // namespace

void TfMain::CreateDocks() {
  const auto makeDock = [this](const QString& title, const QString& name, QWidget* content) {
    auto* dock = new QDockWidget(title, this);
    dock->setObjectName(name);
    dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                      QDockWidget::DockWidgetFloatable);
    dock->setWidget(content);
    return dock;
  };

  // A table, not a tree: a tree lays out all of a 512 x 512 map's rows whenever
  // they change, a table of rows of one height none.
  DescVT = new QTableView(this);
  DescVT->setObjectName("DescVT");
  DescVT->setAccessibleName("Location descriptions");
  DescVT->setModel(descModel);
  // An edit can change every row in sight: each row's text laid out once.
  DescVT->setItemDelegate(new ItemTextDelegate(DescVT));
  DescVT->setShowGrid(false);
  DescVT->setWordWrap(false);
  DescVT->setTabKeyNavigation(false);
  DescVT->setCornerButtonEnabled(false);
  DescVT->verticalHeader()->hide();
  DescVT->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  DescVT->verticalHeader()->setDefaultSectionSize(DescVT->fontMetrics().height() + 4);
  DescVT->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  DescVT->horizontalHeader()->setHighlightSections(false);
  DescVT->setAlternatingRowColors(true);  // the palette's stripes, readable in dark themes
  DescVT->setSelectionMode(QAbstractItemView::ExtendedSelection);
  DescVT->setSelectionBehavior(QAbstractItemView::SelectRows);
  DescVT->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DescVT->setContextMenuPolicy(Qt::CustomContextMenu);
  DescVT->horizontalHeader()->resizeSection(0, 72);
  DescVT->horizontalHeader()->resizeSection(1, 80);
  DescVT->horizontalHeader()->setStretchLastSection(true);
  // A narrow dock scrolls sideways rather than squeezing the Description column away.
  DescVT->horizontalHeader()->setMinimumSectionSize(64);
  DescVT->setMinimumSize(64, 40);
  auto* descColumns = new DescriptionColumns(DescVT, project_.Domains);
  connect(domainModel, &QAbstractItemModel::modelReset, descColumns, &DescriptionColumns::Refit);
  twDesc = makeDock("Location descriptions", "twDesc", DescVT);
  addDockWidget(Qt::RightDockWidgetArea, twDesc);

  twPalette = new TerrainPalette(tiles_, this);
  twTerrain = makeDock("Terrain", "twTerrain", PaletteRoom(twPalette));
  addDockWidget(Qt::LeftDockWidgetArea, twTerrain);

  DomainVT = new QTreeView(this);
  DomainVT->setObjectName("DomainVT");
  DomainVT->setAccessibleName("Domains");
  DomainVT->setModel(domainModel);
  DomainVT->setRootIsDecorated(false);
  DomainVT->setAlternatingRowColors(true);
  DomainVT->setUniformRowHeights(true);
  DomainVT->setSelectionBehavior(QAbstractItemView::SelectRows);
  DomainVT->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DomainVT->setContextMenuPolicy(Qt::CustomContextMenu);
  DomainVT->header()->resizeSection(0, 152);
  DomainVT->setMinimumSize(64, 40);
  twDomains = makeDock("Domains", "twDomains", DomainVT);
  addDockWidget(Qt::LeftDockWidgetArea, twDomains);
  splitDockWidget(twTerrain, twDomains, Qt::Vertical);
  resizeDocks({twDesc}, {DescriptionDockWidth}, Qt::Horizontal);

  aShowDescWindow = twDesc->toggleViewAction();
  aShowDescWindow->setText("Descriptions window");
  aShowTerrainWindow = twTerrain->toggleViewAction();
  aShowTerrainWindow->setText("Terrain window");
  aShowDomainsWindow = twDomains->toggleViewAction();
  aShowDomainsWindow->setText("Domains window");

  connect(twPalette, &TerrainPalette::TerrainChosen, this, &TfMain::ChooseTerrain);
  connect(DescVT, &QAbstractItemView::clicked, this, [this] { DescriptionClicked(); });
  connect(DescVT, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    // A right click selects the entry under the pointer.
    const QModelIndex index = DescVT->indexAt(pos);
    if (index.isValid() && !DescVT->selectionModel()->isSelected(index)) {
      DescVT->selectionModel()->setCurrentIndex(
          index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    UpdateContextCommands();
    mDescPopup->popup(DescVT->viewport()->mapToGlobal(pos));
  });
  connect(DomainVT->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { DomainFocusChanged(); });
  connect(DomainVT, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    UpdateContextCommands();
    mDomainPopup->popup(DomainVT->viewport()->mapToGlobal(pos));
  });
}

void TfMain::CreateMenus() {
  QMenu* program = menuBar()->addMenu("&Program");
  program->addAction(aNew);
  program->addAction(aCreate);
  program->addAction(aNewBlank);
  program->addAction(aImportMap);
  QMenu* load = program->addMenu("Load");
  load->addActions({aLoadProject, aLoadMMU, aLoadPreview});
  QMenu* save = program->addMenu("Save");
  save->addActions({aSaveProject, aSavePreview, aSaveMap, aSaveMMU, aSaveHTML, aSaveSQL});
  program->addAction(aExportTiled);
  program->addSeparator();
  mRecent = program->addMenu("Open recent");
  program->addSeparator();
  program->addAction(aOptions);
  program->addSeparator();
  program->addAction(aExit);

  QMenu* edit = AddShortcutMenu(menuBar(), "&Edit");  // Cut and Paste have two shortcuts each
  edit->addAction(aUndo);
  edit->addAction(aRedo);

  CreateMapMenu();

  QMenu* tools = menuBar()->addMenu("Tools");
  tools->addActions({aPaint, aPaintDom, aFill});

  QMenu* options = menuBar()->addMenu("&Options");
  options->addActions({aActualView, aShowGrid, aGrayscale, aRetro});
  options->addSeparator();
  tileMenu_ = options->addMenu("Tile si&ze");
  for (QAction* action : aTileSize) tileMenu_->addAction(action);
  options->addAction(aFullscreen);
  options->addAction(aCenterMap);
  options->addSeparator();
  options->addActions({aToggleDesc, aBlendMore});

  QMenu* view = menuBar()->addMenu("&View");
  view->addActions({aStats, aDomStats, aLegend});
  view->addSeparator();
  view->addActions({aShowDescWindow, aShowTerrainWindow, aShowDomainsWindow});
  AddNavigationMenus(edit, view);

  QMenu* help = menuBar()->addMenu("&Help");
  help->addAction(aAbout);

  mGridPopup = new QMenu(this);
  mGridPopup->addActions({aPaint, aFill, aSetName, aSetDomain});
  mGridPopup->addSeparator();
  mGridPopup->addActions({aActualView, aShowGrid});
  tilePopup_ = mGridPopup->addMenu("Tile size");
  for (QAction* action : aTileSize) tilePopup_->addAction(action);
  mGridPopup->addActions({aGrayscale, aRetro});

  mDescPopup = new QMenu(this);
  mDescPopup->addActions({aSetName, aSetDomain});
  mDomainPopup = new QMenu(this);
  mDomainPopup->addActions({aEditDomain, aNewDomain});
}

void TfMain::CreateToolBar() {
  QToolBar* bar = addToolBar("Main toolbar");
  bar->setObjectName("MainToolbar");
  bar->setIconSize(QSize(24, 24));
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  const auto dropDown = [bar](const QString& text, QMenu* menu, QToolButton::ToolButtonPopupMode mode,
                              const QIcon& icon) {
    auto* button = new QToolButton(bar);
    button->setText(text);
    button->setIcon(icon);
    button->setToolTip(text);
    button->setMenu(menu);
    button->setPopupMode(mode);
    bar->addWidget(button);
    return button;
  };
  bar->addActions({aNew, aCreate, aNewBlank, aImportMap});
  auto* load = new QMenu(this);
  load->addActions({aLoadProject, aLoadMMU, aLoadPreview});
  dropDown("Load from various formats", load, QToolButton::InstantPopup, aLoadProject->icon());
  auto* save = new QMenu(this);
  save->addActions({aSaveProject, aSavePreview, aSaveMap, aSaveMMU, aSaveHTML, aSaveSQL});
  dropDown("Save in various formats", save, QToolButton::InstantPopup, aSaveProject->icon());
  dropDown("Open recent", mRecent, QToolButton::InstantPopup, style()->standardIcon(QStyle::SP_DirIcon));
  bar->addSeparator();

  // Paint terrain, with the terrain palette as its drop-down.
  auto* paletteMenu = new QMenu(this);
  palTerrain = new TerrainPalette(tiles_, paletteMenu);
  auto* paletteAction = new QWidgetAction(paletteMenu);
  paletteAction->setDefaultWidget(palTerrain);
  paletteMenu->addAction(paletteAction);
  connect(palTerrain, &TerrainPalette::TerrainChosen, this, [this, paletteMenu](int code) {
    ChooseTerrain(code);
    paletteMenu->close();
  });
  auto* paint = new QToolButton(bar);
  paint->setDefaultAction(aPaint);
  paint->setMenu(paletteMenu);
  paint->setPopupMode(QToolButton::MenuButtonPopup);
  bar->addWidget(paint);
  bar->addActions({aPaintDom, aFill});
  bar->addSeparator();
  bar->addActions({aActualView, aShowGrid});
  auto* tiles = new QMenu(this);
  for (QAction* action : aTileSize) tiles->addAction(action);
  tileButton_ = dropDown("Tile size", tiles, QToolButton::InstantPopup, aTileSize[0]->icon());
  bar->addActions({aGrayscale, aRetro, aFullscreen, aCenterMap, aToggleDesc});
}

void TfMain::CreateStatusBar() {
  struct PanelSpec {
    const char* hint;
    int width;  // the least width; wider where a text the panel shows needs it
    bool bold;
  };
  static const PanelSpec Specs[8] = {
      {"Map size", 64, true},
      {"Creation method", 120, false},
      {"Cell size", 56, false},
      {"Active terrain for painting", 22, false},
      {"Selected cell's column", 32, true},
      {"Selected cell's row", 32, true},
      {"Color translation of selected cell", 22, false},
      {"Selected cell's location description", 0, false},
  };
  // Every text a fixed panel can show, so that each fits without being cut.
  QStringList tileTexts;
  for (int n : TileSizes) tileTexts << QString("%1x%2").arg(n).arg(n);
  const QString largest = QString::number(MaxMapSize);
  const QString lastCell = QString::number(MaxMapSize - 1);
  const QStringList texts[8] = {{QString("%1x%2").arg(DefaultMapWidth).arg(DefaultMapHeight), largest + "x" + largest},
                                {OriginNone, OriginProject, OriginFile, OriginBlank},
                                tileTexts,
                                {},
                                {lastCell},
                                {lastCell},
                                {},
                                {}};
  const QString initial[8] = {texts[0].front(), OriginNone, tileTexts.front(), "", "0", "0", "", ""};
  for (int i = 0; i < 8; ++i) {
    auto* panel = new StatusPanel(initial[i], statusBar());
    panel->setToolTip(Specs[i].hint);
    panel->setAlignment(i == 7 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    panel->SetElided(i == 1 || i == 7);
    if (Specs[i].bold) {
      QFont font = panel->font();
      font.setBold(true);
      panel->setFont(font);
    }
    if (i != 7) {
      panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      int width = Specs[i].width;
      // Frame, the ellipsis painter's margins and a pixel of air on each side: no more, so
      // that all eight panels fit the narrowest window.
      const int padding = 2 * panel->frameWidth() + 6;
      for (const QString& text : texts[i]) width = std::max(width, panel->fontMetrics().horizontalAdvance(text) + padding);
      // The creation method gives way with an ellipsis when the window is narrow; the numbers never do.
      if (i == 1) panel->SetWidths(width, 24);
      else panel->setFixedWidth(width);
    }
    if (i == 6) panel->setAutoFillBackground(true);
    // Permanent, so that menu and toolbar hints do not hide the panels; the hints show in
    // panel 7, which with the tools' panels takes the rest of the bar.
    if (i < 7) statusBar()->addPermanentWidget(new StatusSlot(panel, statusBar()));
    else statusBar()->addPermanentWidget(statusTail_ = new StatusTail(panel, statusBar()), 1);
    panels_[i] = panel;
  }
  connect(statusBar(), &QStatusBar::messageChanged, panels_[7], &StatusPanel::SetMessage);
  // The window's own frame resizes it; the grip's room lets all panels fit at the smallest width.
  statusBar()->setSizeGripEnabled(false);
  SetStatusColor(palette().color(QPalette::Window));
}

void TfMain::ApplySettings() {
  const Settings& s = prefs_.settings;
  if (s.showGrid) aShowGrid->trigger();
  if (s.startFullscreen) aFullscreen->trigger();
  aCenterMap->setChecked(s.interSelect);
  twDesc->setVisible(s.showDescriptionWindow);
  twTerrain->setVisible(s.showTerrainWindow);
  twDomains->setVisible(s.showDomainsWindow);
  twOverview->setVisible(s.showOverviewWindow);
  twHistory->setVisible(s.showHistoryWindow);
  twStatistics->setVisible(s.showStatisticsWindow);
}

void TfMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  RestoreDockWidths();
}

// Qt gives a growing window's room to the grid only, so a dock squeezed at a small
// size would stay narrow with its title cut. Grow each dock column back to its
// width, never beyond what the grid can spare; wider docks stay as the user made them.
void TfMain::RestoreDockWidths() {
  int spare = DG->width() - GridComfortWidth;
  for (const Qt::DockWidgetArea area : {Qt::LeftDockWidgetArea, Qt::RightDockWidgetArea}) {
    QDockWidget* column = nullptr;
    int wanted = 0;
    for (QDockWidget* dock : {twTerrain, twDomains, twDesc}) {
      if (dock->isHidden() || dock->isFloating() || dockWidgetArea(dock) != area) continue;
      column = column ? column : dock;
      wanted = std::max(wanted, dock == twDesc ? DescriptionDockWidth : dock->minimumSizeHint().width());
    }
    if (!column || spare <= 0 || column->width() >= wanted) continue;
    const int grow = std::min(wanted - column->width(), spare);
    resizeDocks({column}, {column->width() + grow}, Qt::Horizontal);
    spare -= grow;
  }
  // The palette whole above the domains, where the domain panel can spare the rows.
  const QWidget* palette = twTerrain->widget();
  const int missing = palette->maximumHeight() - palette->height();
  if (missing > 0 && !twTerrain->isFloating() && !twDomains->isHidden() && !twDomains->isFloating() &&
      dockWidgetArea(twDomains) == dockWidgetArea(twTerrain)) {
    const int grow = std::min(missing, twDomains->height() - 2 * GridComfortWidth / 3);
    if (grow > 0) resizeDocks({twTerrain}, {twTerrain->height() + grow}, Qt::Vertical);
  }
}

void TfMain::ShowAtStart() {
  if (!SessionOf(*this)->LayoutRestored()) {
    resize(1024, 720);
    if (QScreen* screen = QApplication::primaryScreen())
      move(screen->availableGeometry().center() - rect().center());
  }
  if (aFullscreen->isChecked()) showMaximized();
  else show();
}

void TfMain::closeEvent(QCloseEvent* event) {
  bool close = false;
  Guard([&] { close = AskSaveChanges("Do you want to save changes you made to this project?"); });
  if (!close) {
    event->ignore();
    return;
  }
  Guard([this] { ShutDown(); });
  event->accept();
}

void TfMain::ShutDown() {
  Settings& s = prefs_.settings;
  s.interSelect = aCenterMap->isChecked();
  s.showGrid = aShowGrid->isChecked();
  // A hidden main window reports its docks hidden; what counts is the user's choice.
  s.showDescriptionWindow = !twDesc->isHidden();
  s.showTerrainWindow = !twTerrain->isHidden();
  s.showDomainsWindow = !twDomains->isHidden();
  s.showOverviewWindow = !twOverview->isHidden();
  s.showHistoryWindow = !twHistory->isHidden();
  s.showStatisticsWindow = !twStatistics->isHidden();
  s.startFullscreen = aFullscreen->isChecked();
  prefs_.Save(preferencesPath_);
  SessionOf(*this)->Save();
}

void TfMain::Guard(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& error) {
    prompts_.ShowError(this, QString::fromStdString(error.what()));
  }
}

void TfMain::ShowOptions() {
  Settings& s = prefs_.settings;
  TfOptions dialog({s.rememberLastInput, s.autoMMUSQL, s.invertRowCol, s.autoSaveMMF}, this);
  SessionOf(*this)->AddPages(dialog);
  if (dialog.exec() != QDialog::Accepted) return;
  SessionOf(*this)->TakePages();
  ApplyHistoryLimits();
  const OptionValues values = dialog.Values();
  s.rememberLastInput = values.rememberLastInput;
  s.autoMMUSQL = values.autoMMUSQL;
  s.invertRowCol = values.invertRowCol;
  s.autoSaveMMF = values.autoSaveMMF;
  DG->RedrawAll();
  descModel->AllChanged();
}

void TfMain::ShowAbout() {
  TfAbout about(this);
  about.exec();
}

void TfMain::ShowLegend() {
  TfLegend legend(this);
  legend.exec();
}

}  // namespace mireforge
