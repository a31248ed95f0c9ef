#include "app/tools/map_tools.h"

#include <QAction>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>

#include "app/document/map_document.h"
#include "app/layout/status_panel.h"
#include "app/tools/drawing_tools.h"
#include "app/tools/paste_tool.h"
#include "app/tools/selection_tools.h"
#include "app/tools/tool_icons.h"
#include "model/map_regions.h"
#include "project/map_transform.h"

namespace mireforge {

namespace {

struct ToolSpec {
  const char* caption;
  const char* key;
  const char* hint;
};

// Single letters: the grid's own keys are the arrows, page keys, Home and End.
const ToolSpec ToolSpecs[ToolCount] = {
    {"&Brush", "B", "Brush: drag to paint terrain or domains; size and shape in the tool options"},
    {"Rectangle &select", "R", "Rectangle select: drag a rectangle; Shift adds to the selection, Ctrl subtracts"},
    {"Magic &wand", "W", "Magic wand: click to select the connected region of one terrain; Shift adds, Ctrl subtracts"},
    {"Select same &terrain", "S", "Select same terrain: click to select every cell of that terrain; Shift adds, Ctrl subtracts"},
    {"Bucket &fill", "F", "Bucket fill: click to fill the connected region of that terrain or domain, within the selection"},
    {"&Rectangle", "T", "Rectangle: drag from corner to corner; Shift for a square"},
    {"&Ellipse", "E", "Ellipse: drag from corner to corner; Shift for a circle"},
    {"&Line", "L", "Line: drag from one end to the other"},
    {"&Pointer", "P", "Pointer: click or drag to move the current cell"},
};

// The order of the tool bar and the Tools menu.
constexpr Tool ToolOrder[ToolCount] = {Tool::Pointer,   Tool::Brush,     Tool::RectSelect,
                                       Tool::MagicWand, Tool::SameTerrain, Tool::Bucket,
                                       Tool::Rectangle, Tool::Ellipse,   Tool::Line};

constexpr const char* StampHint =
    "Paste: click to place the block, Escape cancels; X and Y flip it, Z and Shift+Z turn it";

// The grid's keys (a tool's letter, Delete, Shift+Ins) act on the grid only
// from the grid or the window itself: in a list or a text field of the window,
// the tool options' fields among them, they are that widget's keys.
class GridKeysStayInTheGrid : public QObject {
 public:
  GridKeysStayInTheGrid(QWidget* window, QObject* parent) : QObject(parent), window_(window) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_) return false;
    const bool field = qobject_cast<QAbstractItemView*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                       qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QComboBox*>(widget) ||
                       widget->inherits("QTextEdit") || widget->inherits("QPlainTextEdit");
    if (!field) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) return false;
    const bool gridKey = key->key() == Qt::Key_Delete || key->key() == Qt::Key_Insert ||
                         key->key() == Qt::Key_Backspace || (!key->text().isEmpty() && key->text().at(0).isPrint());
    if (gridKey) event->accept();
    return gridKey;
  }

 private:
  QWidget* window_;
};

QMenu* MenuTitled(QMenuBar* bar, const QString& title) {
  for (QAction* action : bar->actions())
    if (action->menu() && action->text() == title) return action->menu();
  return nullptr;
}

}  // namespace

MapTools::MapTools(ToolContext& context) : QObject(&context.Window()), context_(context) {
  ToolHost& host = *this;
  tools_[static_cast<int>(Tool::Brush)] = std::make_unique<BrushTool>(host);
  tools_[static_cast<int>(Tool::RectSelect)] = std::make_unique<RectSelectTool>(host);
  tools_[static_cast<int>(Tool::MagicWand)] = std::make_unique<MagicWandTool>(host);
  tools_[static_cast<int>(Tool::SameTerrain)] = std::make_unique<SameTerrainTool>(host);
  tools_[static_cast<int>(Tool::Bucket)] = std::make_unique<BucketTool>(host);
  tools_[static_cast<int>(Tool::Rectangle)] = std::make_unique<BoxShapeTool>(host, RectangleCells, "Rectangle");
  tools_[static_cast<int>(Tool::Ellipse)] = std::make_unique<BoxShapeTool>(host, EllipseCells, "Ellipse");
  tools_[static_cast<int>(Tool::Line)] = std::make_unique<LineTool>(host);
  tools_[static_cast<int>(Tool::Pointer)] = std::make_unique<PointerTool>(host);
  paste_ = std::make_unique<PasteTool>(host);
  CreateActions();
  CreateBars();
  AddToMenus();
  CreateStatusPanels();

  QMainWindow& window = context_.Window();
  qApp->installEventFilter(new GridKeysStayInTheGrid(&window, this));

  MapGridView& grid = context_.Grid();
  grid.SetOverlay(this);
  grid.installEventFilter(this);
  connect(&grid, &MapGridView::CellPressed, this, &MapTools::Pressed);
  connect(&grid, &MapGridView::CellPainted, this, &MapTools::Painted);
  connect(&grid, &MapGridView::PointerMoved, this, &MapTools::Moved);
  connect(&grid, &MapGridView::StrokeFinished, this, &MapTools::Released);
  connect(&context_.PaintTerrain(), &QAction::toggled, this, &MapTools::PaintingToggled);
  connect(&context_.PaintDomains(), &QAction::toggled, this, &MapTools::PaintingToggled);
  connect(&context_.Document(), &MapDocument::MapReplaced, this, [this](MapReplacement how) {
    // A drag on the old map ends with it.
    for (const auto& tool : tools_) tool->Forget();
    // A new map drops what was picked up from the old one; Fill and undo keep it.
    if (how == MapReplacement::Restored) return;
    DropStamp();
    selection_.Reset(0, 0);
    SelectionChanged();
    // A new map starts with painting off: the pointer.
    domainInk_ = false;
    PaintingToggled();
  });
  ChooseTool(Tool::Pointer);
}

MapTools::~MapTools() = default;

QAction* MapTools::NewAction(const QString& caption, const QKeySequence& shortcut, void (MapTools::*slot)()) {
  QMainWindow& window = context_.Window();
  auto* action = new QAction(caption, &window);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  QString hint = caption;
  hint.remove('&');
  action->setToolTip(hint);
  if (slot) connect(action, &QAction::triggered, this, [this, slot] { context_.Run([this, slot] { (this->*slot)(); }); });
  window.addAction(action);
  return action;
}

void MapTools::CreateActions() {
  toolGroup_ = new QActionGroup(this);
  for (Tool tool : ToolOrder) {
    const int i = static_cast<int>(tool);
    QAction* action = NewAction(ToolSpecs[i].caption, QKeySequence(ToolSpecs[i].key), nullptr);
    action->setCheckable(true);
    action->setIcon(ToolIcon(tool));
    action->setStatusTip(ToolSpecs[i].hint);
    action->setObjectName(QString("aTool%1").arg(i));
    toolGroup_->addAction(action);
    connect(action, &QAction::triggered, this, [this, tool] { ChooseTool(tool); });
    aTool[i] = action;
  }
  // Ctrl+C, Ctrl+A and Ctrl+D belong to other commands: the usual alternates take their place.
  aCut = NewAction("Cu&t", {}, &MapTools::CutSelection);
  aCut->setShortcuts({QKeySequence("Ctrl+X"), QKeySequence("Shift+Del")});
  aCopy = NewAction("&Copy", QKeySequence("Ctrl+Ins"), &MapTools::CopySelection);
  aPaste = NewAction("&Paste", {}, &MapTools::PasteClipboard);
  aPaste->setShortcuts({QKeySequence("Ctrl+V"), QKeySequence("Shift+Ins")});
  aDelete = NewAction("&Delete", QKeySequence("Del"), &MapTools::DeleteSelection);
  aSelectAll = NewAction("Select &all", QKeySequence("Ctrl+Shift+A"), &MapTools::SelectAll);
  aSelectNone = NewAction("Select &none", QKeySequence("Ctrl+Shift+D"), &MapTools::SelectNone);
  aInvertSelection = NewAction("&Invert selection", QKeySequence("Ctrl+Shift+I"), &MapTools::InvertSelection);
  aFlipStampH = NewAction("Flip pasted block &horizontally", QKeySequence("X"), nullptr);
  connect(aFlipStampH, &QAction::triggered, this, [this] { TurnStamp(&CellBlock::FlipHorizontally); });
  aFlipStampV = NewAction("Flip pasted block &vertically", QKeySequence("Y"), nullptr);
  connect(aFlipStampV, &QAction::triggered, this, [this] { TurnStamp(&CellBlock::FlipVertically); });
  aRotateStamp = NewAction("Rotate pasted block clock&wise", QKeySequence("Z"), nullptr);
  connect(aRotateStamp, &QAction::triggered, this, [this] { TurnStamp(&CellBlock::RotateClockwise); });
  aRotateStampBack = NewAction("Rotate pasted block &anticlockwise", QKeySequence("Shift+Z"), nullptr);
  connect(aRotateStampBack, &QAction::triggered, this, [this] { TurnStamp(&CellBlock::RotateAnticlockwise); });
  aCancelPaste = NewAction("Cancel paste", QKeySequence("Esc"), &MapTools::DropStamp);
  aCropToSelection = NewAction("Cr&op to selection", {}, &MapTools::CropToSelection);
}
void MapTools::CreateBars() {
  QMainWindow& window = context_.Window();
  toolBar = new QToolBar("Tools", &window);
  toolBar->setObjectName("ToolsToolbar");
  toolBar->setIconSize(QSize(24, 24));
  toolBar->addActions(toolGroup_->actions());
  // On the main tool bar's row: a row of their own would leave a small window no
  // room for the docks; where the row is too narrow, Qt folds the rest behind ».
  window.addToolBar(Qt::TopToolBarArea, toolBar);

  optionsBar = new QToolBar("Tool options", &window);
  optionsBar->setObjectName("ToolOptionsToolbar");
  optionsBar->addWidget(new QLabel(" Brush size: ", optionsBar));
  cbBrushSize = new QComboBox(optionsBar);
  cbBrushSize->setObjectName("cbBrushSize");
  for (int size : BrushSizes) cbBrushSize->addItem(QString::number(size), size);
  optionsBar->addWidget(cbBrushSize);
  cbBrushShape = new QComboBox(optionsBar);
  cbBrushShape->setObjectName("cbBrushShape");
  cbBrushShape->addItems({"Square", "Round"});
  optionsBar->addWidget(cbBrushShape);
  optionsBar->addSeparator();
  cbRandom = new QCheckBox("Random", optionsBar);
  cbRandom->setObjectName("cbRandom");
  cbRandom->setToolTip("Paint each cell with a terrain drawn from the chosen set");
  optionsBar->addWidget(cbRandom);
  auto* setMenu = new QMenu(optionsBar);
  for (int code = 0; code < TerrainCount; ++code) {
    QAction* action = setMenu->addAction(QString::fromUtf8(TerrainPickNames[code].data(),
                                                           static_cast<int>(TerrainPickNames[code].size())));
    action->setCheckable(true);
    action->setChecked(code == Forest || code == Downs || code == Mountains);
    aRandomTerrain[code] = action;
  }
  bRandomSet = new QToolButton(optionsBar);
  bRandomSet->setText("Terrains");
  bRandomSet->setToolTip("The terrains the random brush draws from");
  bRandomSet->setMenu(setMenu);
  bRandomSet->setPopupMode(QToolButton::InstantPopup);
  optionsBar->addWidget(bRandomSet);
  optionsBar->addWidget(new QLabel(" Seed: ", optionsBar));
  eSeed = new QSpinBox(optionsBar);
  eSeed->setObjectName("eSeed");
  eSeed->setAccessibleName("Random brush seed");
  eSeed->setRange(0, 999999);
  eSeed->setValue(1);
  optionsBar->addWidget(eSeed);
  window.addToolBar(Qt::TopToolBarArea, optionsBar);
}

void MapTools::AddToMenus() {
  QMenuBar* bar = context_.Window().menuBar();
  if (QMenu* edit = MenuTitled(bar, "&Edit")) {
    edit->addSeparator();
    edit->addActions({aCut, aCopy, aPaste, aDelete});
    edit->addSeparator();
    edit->addActions({aSelectAll, aSelectNone, aInvertSelection});
    edit->addSeparator();
    edit->addActions({aFlipStampH, aFlipStampV, aRotateStamp, aRotateStampBack, aCancelPaste});
  }
  context_.MapMenu().addSeparator();
  context_.MapMenu().addAction(aCropToSelection);
  if (QMenu* tools = MenuTitled(bar, "Tools")) {
    tools->addSeparator();
    tools->addActions(toolGroup_->actions());
  }
}

void MapTools::CreateStatusPanels() {
  // Cut with an ellipsis rather than widening the window: the hints are long.
  for (auto [panel, name] : {std::pair{&hintPanel_, "ToolHint"}, std::pair{&selectionPanel_, "SelectionSize"}}) {
    auto* label = new StatusPanel;
    label->SetElided(true);
    label->setMinimumWidth(1);
    label->setObjectName(name);
    *panel = label;
  }
  selectionPanel_->setToolTip("Selected cells");
  context_.AddStatusPanel(selectionPanel_);
  context_.AddStatusPanel(hintPanel_);
}

CellSelection& MapTools::SizedSelection() {
  const MapGrid& map = context_.Document().CurrentProject().Map;
  // A map of another size (loaded, resized, undone) starts without a selection.
  if (selection_.Width() != map.Width || selection_.Height() != map.Height) selection_.Reset(map.Width, map.Height);
  return selection_;
}

bool MapTools::StampHeld() const { return paste_->Holding(); }

const CellBlock* MapTools::Stamp() const { return paste_->Block(); }

std::vector<int> MapTools::RandomSet() const {
  std::vector<int> set;
  for (int code = 0; code < TerrainCount; ++code)
    if (aRandomTerrain[code]->isChecked()) set.push_back(code);
  return set;
}

void MapTools::ChooseTool(Tool tool) {
  // The old tool's drag ends without effect before the new tool takes over.
  tools_[static_cast<int>(tool_)]->Cancel();
  DropStamp();
  tool_ = tool;
  aTool[static_cast<int>(tool)]->setChecked(true);
  // A drawing tool is a painting mode: terrain unless domains are painted or were set aside.
  QAction& terrain = context_.PaintTerrain();
  QAction& domains = context_.PaintDomains();
  choosing_ = true;
  if (DrawingTool(tool)) {
    if (!terrain.isChecked() && !domains.isChecked() && context_.Document().MapPresent())
      (domainInk_ ? domains : terrain).trigger();
  } else if (terrain.isChecked() || domains.isChecked()) {
    domainInk_ = domains.isChecked();
    terrain.setChecked(false);
    domains.setChecked(false);
  }
  choosing_ = false;
  UpdateCursor();
  UpdateHint();
}

void MapTools::PaintingToggled() {
  if (choosing_) return;
  const bool painting = context_.PaintTerrain().isChecked() || context_.PaintDomains().isChecked();
  if (context_.PaintTerrain().isChecked() || !painting) domainInk_ = false;
  if (painting != DrawingTool(tool_)) ChooseTool(painting ? Tool::Brush : Tool::Pointer);
}

std::optional<Ink> MapTools::CurrentInk() const {
  if (!context_.Document().MapPresent()) return std::nullopt;
  Ink ink;
  ink.terrain = context_.PaintTerrain().isChecked();
  ink.code = context_.ActiveTerrain();
  ink.domain = context_.ActiveDomain();
  if (cbRandom->isChecked()) ink.set = RandomSet();
  ink.seed = static_cast<std::uint32_t>(eSeed->value());
  const bool drawable = ink.terrain ? (cbRandom->isChecked() ? !ink.set.empty() : ink.code >= 0)
                                    : context_.PaintDomains().isChecked() && ink.domain >= 0;
  if (!drawable) return std::nullopt;
  return ink;
}

BrushTip MapTools::Tip() const { return {cbBrushSize->currentData().toInt(), cbBrushShape->currentIndex() == 1}; }

MapDocument& MapTools::Document() { return context_.Document(); }

MapGridView& MapTools::Grid() { return context_.Grid(); }

TileImages& MapTools::Tiles() { return context_.Tiles(); }

void MapTools::HoldHistory(bool held) { context_.HoldHistory(held); }

void MapTools::ShowMessage(const QString& message) { context_.Window().statusBar()->showMessage(message, 10000); }

void MapTools::Commit(const QString& caption, CellEdit edit, bool applied) {
  if (edit.Empty()) return;
  MapDocument& document = context_.Document();
  document.Push(new CellEditCommand(caption, document.CurrentProject(), document, std::move(edit), applied));
}

MapTool& MapTools::Active() {
  return paste_->Holding() ? static_cast<MapTool&>(*paste_) : *tools_[static_cast<int>(tool_)];
}

void MapTools::Pressed(int column, int row, Qt::KeyboardModifiers modifiers) {
  if (!context_.Document().MapPresent() || !context_.Document().CurrentProject().Map.Contains(column, row)) return;
  SizedSelection();
  if (paste_->Holding()) {
    paste_->Press({column, row}, modifiers);
    StampChanged();
    return;
  }
  tools_[static_cast<int>(tool_)]->Press({column, row}, modifiers);
}

void MapTools::Painted(int column, int row, Qt::MouseButtons buttons) {
  if (buttons & Qt::LeftButton) tools_[static_cast<int>(tool_)]->Trace({column, row});
}

void MapTools::Moved(int column, int row, Qt::KeyboardModifiers modifiers, bool held) {
  if (context_.Document().MapPresent()) Active().Move({column, row}, modifiers, held);
}

void MapTools::Released() { tools_[static_cast<int>(tool_)]->Release(); }

bool MapTools::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &context_.Grid() && event->type() == QEvent::KeyPress)
    return Active().Key(*static_cast<QKeyEvent*>(event));
  return QObject::eventFilter(watched, event);
}

void MapTools::SelectAll() {
  SizedSelection().SelectAll();
  SelectionChanged();
}

void MapTools::SelectNone() {
  SizedSelection().Clear();
  SelectionChanged();
}

void MapTools::InvertSelection() {
  SizedSelection().Invert();
  SelectionChanged();
}

void MapTools::SelectionChanged() {
  context_.Grid().RedrawAll();
  selectionPanel_->setText(SelectionText());
  UpdateCommands();
}

QString MapTools::SelectionText() const {
  if (selection_.Empty()) return QString();
  const CellBounds box = selection_.Bounds();
  return QString("Selection: %1 cells (%2 x %3)").arg(selection_.Count()).arg(box.Width()).arg(box.Height());
}

void MapTools::UpdateCommands() {
  const bool selected = context_.Document().MapPresent() && !selection_.Empty();
  for (QAction* action : {aCut, aCopy, aDelete, aCropToSelection}) action->setEnabled(selected);
  for (QAction* action : {aFlipStampH, aFlipStampV, aRotateStamp, aRotateStampBack, aCancelPaste})
    action->setEnabled(paste_->Holding());
}

void MapTools::UpdateCursor() {
  std::optional<QCursor>& cursor = cursors_[static_cast<int>(tool_)];
  if (!cursor) cursor = ToolCursor(tool_);
  context_.Grid().viewport()->setCursor(paste_->Holding() ? QCursor(Qt::SizeAllCursor) : *cursor);
}

void MapTools::UpdateHint() {
  hintPanel_->setText(HintText());
  UpdateCommands();
}

QString MapTools::HintText() const { return paste_->Holding() ? StampHint : ToolSpecs[static_cast<int>(tool_)].hint; }

void MapTools::CopySelection() {
  const Project& project = context_.Document().CurrentProject();
  const CellBlock block = CellBlock::Copy(project.Map, project.Descriptions, project.Domains, SizedSelection());
  if (block.Empty()) return;
  auto* data = new QMimeData;
  const std::string own = block.Serialize();
  data->setData(CellBlockMimeType, QByteArray(own.data(), static_cast<qsizetype>(own.size())));
  const std::string letters = block.TerrainText();
  data->setText(QString::fromLatin1(letters.data(), static_cast<qsizetype>(letters.size())));
  QApplication::clipboard()->setMimeData(data);
}

void MapTools::DeleteSelection() { EraseSelection("Delete"); }

void MapTools::EraseSelection(const QString& caption) {
  const Project& project = context_.Document().CurrentProject();
  const MapGrid& map = project.Map;
  CellEdit edit(project);
  // The default cell: plains named by its terrain, domain 0; the ring stays.
  for (std::uint32_t cell : SizedSelection().Cells())
    if (!map.OnBorder(cell % map.Width, cell / map.Width))
      edit.Set(cell, CellState{Plains, 0, DefaultDescription(Plains)});
  Commit(caption, std::move(edit), false);
}

void MapTools::CutSelection() {
  CopySelection();
  EraseSelection("Cut");
}

void MapTools::PasteClipboard() {
  if (!context_.Document().MapPresent()) return;
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!data) return;
  CellBlock block;
  if (data->hasFormat(CellBlockMimeType)) {
    const QByteArray bytes = data->data(CellBlockMimeType);
    block = CellBlock::Parse(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  } else if (data->hasText()) {
    const QByteArray bytes = data->text().toLatin1();
    block = CellBlock::FromTerrainText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  } else {
    return;
  }
  tools_[static_cast<int>(tool_)]->Cancel();
  const MapGridView& grid = context_.Grid();
  paste_->Hold(std::move(block), {grid.CurrentColumn(), grid.CurrentRow()});
  StampChanged();
}

void MapTools::DropStamp() {
  if (paste_->Drop()) StampChanged();
}

void MapTools::StampChanged() {
  context_.Grid().viewport()->setMouseTracking(paste_->Holding());
  UpdateCursor();
  UpdateHint();
}

void MapTools::TurnStamp(void (CellBlock::*turn)()) { paste_->Turn(turn); }

void MapTools::CropToSelection() {
  const CellBounds box = SizedSelection().Bounds();
  if (!context_.Document().MapPresent() || box.Empty()) return;
  // The bounding box of the selection, whole: the cells keep what they hold, the ring is not rebuilt.
  context_.TransformMap("Crop to selection",
                        MapTransform::ResizeTo(box.Width(), box.Height(), {-box.left, -box.top}, false));
  // The cropped map is all that was selected: no selection is left to show.
  SizedSelection().Clear();
  SelectionChanged();
}

void MapTools::PaintOverlay(QPainter& painter, const QRect& exposed) {
  if (!context_.Document().MapPresent()) return;
  const MapGridView& grid = context_.Grid();
  const MapGrid& map = context_.Document().CurrentProject().Map;
  const int pitch = grid.Options().tileSize + (grid.Options().gridLines ? 1 : 0);
  const OverlayArea area{grid,
                         grid.LeftColumn() + exposed.left() / pitch,
                         grid.TopRow() + exposed.top() / pitch,
                         std::min<int>(map.Width - 1, grid.LeftColumn() + exposed.right() / pitch),
                         std::min<int>(map.Height - 1, grid.TopRow() + exposed.bottom() / pitch),
                         pitch};
  if (!selection_.Empty() && selection_.Width() == map.Width && selection_.Height() == map.Height)
    DrawOutline(
        painter, area, [this](int x, int y) { return selection_.Contains(x, y); }, QColor(60, 140, 255, 70),
        Qt::black);
  tools_[static_cast<int>(tool_)]->PaintOverlay(painter, area);
  paste_->PaintOverlay(painter, area);
}

}  // namespace mireforge
