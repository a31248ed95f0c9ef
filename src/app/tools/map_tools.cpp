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
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>

#include "app/main_window/main_window.h"
#include "app/main_window/status_panel.h"
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
};

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

MapTools::MapTools(TfMain& window) : QObject(&window), window_(window) {
  CreateActions();
  CreateBars();
  AddToMenus();
  // Cut with an ellipsis rather than widening the window: the hints are long.
  for (auto [panel, name] : {std::pair{&hintPanel_, "ToolHint"}, std::pair{&selectionPanel_, "SelectionSize"}}) {
    auto* label = new StatusPanel(window_.statusBar());
    label->SetElided(true);
    label->setMinimumWidth(1);
    label->setObjectName(name);
    *panel = label;
  }
  selectionPanel_->setToolTip("Selected cells");
  window_.statusBar()->addPermanentWidget(selectionPanel_);
  window_.statusBar()->addPermanentWidget(hintPanel_);

  qApp->installEventFilter(new GridKeysStayInTheGrid(&window_, this));

  MapGridView* grid = window_.DG;
  grid->SetOverlay(this);
  connect(grid, &MapGridView::CellPressed, this, &MapTools::Pressed);
  connect(grid, &MapGridView::CellPainted, this, &MapTools::Painted);
  connect(grid, &MapGridView::PointerMoved, this, &MapTools::Moved);
  connect(grid, &MapGridView::StrokeFinished, this, &MapTools::Released);
  // A new map drops what was picked up from the old one; Fill and undo keep it.
  connect(&window_.Document(), &MapDocument::MapReplaced, this, [this](MapReplacement how) {
    if (how == MapReplacement::Restored) return;
    DropStamp();
    selection_.Reset(0, 0);
    SelectionChanged();
  });
  ChooseTool(Tool::Brush);
}

QAction* MapTools::NewAction(const QString& caption, const QKeySequence& shortcut, void (MapTools::*slot)()) {
  auto* action = new QAction(caption, &window_);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  QString hint = caption;
  hint.remove('&');
  action->setToolTip(hint);
  if (slot)
    connect(action, &QAction::triggered, this, [this, slot] { window_.Guard([this, slot] { (this->*slot)(); }); });
  window_.addAction(action);
  return action;
}

void MapTools::CreateActions() {
  toolGroup_ = new QActionGroup(this);
  for (int i = 0; i < ToolCount; ++i) {
    QAction* action = NewAction(ToolSpecs[i].caption, QKeySequence(ToolSpecs[i].key), nullptr);
    action->setCheckable(true);
    action->setIcon(ToolIcon(static_cast<Tool>(i)));
    action->setStatusTip(ToolSpecs[i].hint);
    action->setObjectName(QString("aTool%1").arg(i));
    toolGroup_->addAction(action);
    connect(action, &QAction::triggered, this, [this, i] { ChooseTool(static_cast<Tool>(i)); });
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
  toolBar = new QToolBar("Tools", &window_);
  toolBar->setObjectName("ToolsToolbar");
  toolBar->setIconSize(QSize(24, 24));
  toolBar->addActions(toolGroup_->actions());
  // On the main tool bar's row: a row of their own would leave a small window no
  // room for the docks; where the row is too narrow, Qt folds the rest behind ».
  window_.addToolBar(Qt::TopToolBarArea, toolBar);

  optionsBar = new QToolBar("Tool options", &window_);
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
  window_.addToolBar(Qt::TopToolBarArea, optionsBar);
}

void MapTools::AddToMenus() {
  QMenuBar* bar = window_.menuBar();
  if (QMenu* edit = MenuTitled(bar, "&Edit")) {
    edit->addSeparator();
    edit->addActions({aCut, aCopy, aPaste, aDelete});
    edit->addSeparator();
    edit->addActions({aSelectAll, aSelectNone, aInvertSelection});
    edit->addSeparator();
    edit->addActions({aFlipStampH, aFlipStampV, aRotateStamp, aRotateStampBack, aCancelPaste});
  }
  if (window_.mMap) {
    window_.mMap->addSeparator();
    window_.mMap->addAction(aCropToSelection);
  }
  if (QMenu* tools = MenuTitled(bar, "Tools")) {
    tools->addSeparator();
    tools->addActions(toolGroup_->actions());
  }
}

const CellSelection& MapTools::Selection() {
  const MapGrid& map = window_.CurrentProject().Map;
  // A map of another size (loaded, resized, undone) starts without a selection.
  if (selection_.Width() != map.Width || selection_.Height() != map.Height) selection_.Reset(map.Width, map.Height);
  return selection_;
}

std::vector<int> MapTools::RandomSet() const {
  std::vector<int> set;
  for (int code = 0; code < TerrainCount; ++code)
    if (aRandomTerrain[code]->isChecked()) set.push_back(code);
  return set;
}

void MapTools::ChooseTool(Tool tool) {
  DropStamp();
  tool_ = tool;
  aTool[static_cast<int>(tool)]->setChecked(true);
  // A drawing tool needs a painting mode; terrain unless domains are being painted.
  const bool draws = tool == Tool::Brush || tool == Tool::Bucket || tool == Tool::Rectangle ||
                     tool == Tool::Ellipse || tool == Tool::Line;
  if (draws && window_.MapPresent() && !window_.aPaint->isChecked() && !window_.aPaintDom->isChecked())
    window_.aPaint->trigger();
  UpdateCursor();
  UpdateHint();
}

bool MapTools::CanDraw() const {
  if (!window_.MapPresent()) return false;
  if (window_.aPaint->isChecked())
    return cbRandom->isChecked() ? !RandomSet().empty() : window_.ActiveTerrain() >= 0;
  return window_.aPaintDom->isChecked() && window_.ActiveDomain() >= 0;
}

MapTools::Ink MapTools::CurrentInk() const {
  Ink ink;
  ink.terrain = window_.aPaint->isChecked();
  ink.code = window_.ActiveTerrain();
  ink.domain = window_.ActiveDomain();
  if (cbRandom->isChecked()) ink.set = RandomSet();
  ink.seed = static_cast<std::uint32_t>(eSeed->value());
  return ink;
}

bool MapTools::Drawable(int x, int y) const {
  const MapGrid& map = window_.CurrentProject().Map;
  return map.Contains(x, y) && !map.OnBorder(x, y);
}

CellState MapTools::Drawn(const Ink& ink, std::uint32_t index) const {
  CellState state = ReadCell(window_.CurrentProject(), index);
  if (ink.terrain) {
    const int code =
        ink.set.empty() ? ink.code : ink.set[RandomPick(ink.seed, index, static_cast<int>(ink.set.size()))];
    state.terrain = static_cast<TerrainCode>(code);
    state.text = TerrainNames[code];
  } else {
    state.domain = ink.domain;
  }
  return state;
}

void MapTools::Commit(const QString& caption, CellEdit edit, bool applied) {
  if (edit.Empty()) return;
  window_.Document().Push(new CellEditCommand(caption, window_.CurrentProject(), window_.Document(), std::move(edit), applied));
}

std::vector<std::uint32_t> MapTools::ShapeCells(int column, int row, bool constrain) const {
  const MapGrid& map = window_.CurrentProject().Map;
  if (tool_ == Tool::Line) {
    const int size = cbBrushSize->currentData().toInt();
    const bool round = cbBrushShape->currentIndex() == 1;
    std::vector<std::uint32_t> cells;
    for (std::uint32_t centre : LineCells(map.Width, map.Height, anchor_.x(), anchor_.y(), column, row)) {
      const auto footprint = BrushCells(map.Width, map.Height, centre % map.Width, centre / map.Width, size, round);
      cells.insert(cells.end(), footprint.begin(), footprint.end());
    }
    return cells;
  }
  const CellBounds box = ShapeBox(anchor_.x(), anchor_.y(), column, row, constrain);
  return tool_ == Tool::Ellipse ? EllipseCells(map.Width, map.Height, box) : RectangleCells(map.Width, map.Height, box);
}

void MapTools::SetPreview(const std::vector<std::uint32_t>& cells) {
  const MapGrid& map = window_.CurrentProject().Map;
  if (preview_.Width() != map.Width || preview_.Height() != map.Height) preview_.Reset(map.Width, map.Height);
  preview_.Apply(cells, SelectionMode::Replace);
  window_.DG->RedrawAll();
}

void MapTools::Pressed(int column, int row, Qt::KeyboardModifiers modifiers) {
  if (!window_.MapPresent()) return;
  const Project& project = window_.CurrentProject();
  const MapGrid& map = project.Map;
  if (!map.Contains(column, row)) return;
  Selection();
  anchor_ = pointer_ = {column, row};
  constrain_ = modifiers & Qt::ShiftModifier;
  if (stamp_) {
    PlaceStamp(column, row);
    return;
  }
  selectMode_ = (modifiers & Qt::ShiftModifier)     ? SelectionMode::Add
                : (modifiers & Qt::ControlModifier) ? SelectionMode::Subtract
                                                    : SelectionMode::Replace;
  const TerrainCode terrain = map.GetTerrain(column, row);
  const auto sameTerrain = [&map, terrain](int x, int y) { return map.GetTerrain(x, y) == terrain; };
  switch (tool_) {
    case Tool::Brush:
      if (!CanDraw()) return;
      stroke_.emplace(project);
      // The undo and redo keys wait until the stroke is one step.
      window_.aUndo->setEnabled(false);
      window_.aRedo->setEnabled(false);
      break;  // the press paints through Painted
    case Tool::RectSelect:
      base_ = selection_;
      dragging_ = true;
      Moved(column, row, modifiers, true);
      break;
    case Tool::MagicWand:
      selection_.Apply(FloodRegion(map.Width, map.Height, column, row, sameTerrain), selectMode_);
      SelectionChanged();
      break;
    case Tool::SameTerrain:
      selection_.Apply(MatchingCells(map.Width, map.Height, sameTerrain), selectMode_);
      SelectionChanged();
      break;
    case Tool::Bucket: {
      if (!CanDraw() || !Drawable(column, row)) return;
      if (!selection_.Empty() && !selection_.Contains(column, row)) return;
      const bool domains = !window_.aPaint->isChecked();
      const TDescItem* start = project.CellDescription(column, row);
      const std::int32_t domain = start ? start->Domain : 0;
      const bool limited = !selection_.Empty();
      const auto member = [&](int x, int y) {
        if (map.OnBorder(x, y) || (limited && !selection_.Contains(x, y))) return false;
        if (!domains) return map.GetTerrain(x, y) == terrain;
        const TDescItem* item = project.CellDescription(x, y);
        return (item ? item->Domain : 0) == domain;
      };
      CellEdit edit(project);
      const Ink ink = CurrentInk();
      // A cell the fill leaves its terrain (or domain) keeps its description: filling a
      // region with its own terrain is no change at all.
      for (std::uint32_t cell : FloodRegion(map.Width, map.Height, column, row, member)) {
        const CellState now = ReadCell(project, cell), drawn = Drawn(ink, cell);
        if (drawn.terrain != now.terrain || drawn.domain != now.domain) edit.Set(cell, drawn);
      }
      Commit("Fill", std::move(edit), false);
      break;
    }
    case Tool::Rectangle:
    case Tool::Ellipse:
    case Tool::Line:
      if (!CanDraw()) return;
      dragging_ = true;
      SetPreview(ShapeCells(column, row, constrain_));
      break;
  }
}

void MapTools::Painted(int column, int row, Qt::MouseButtons buttons) {
  if (tool_ != Tool::Brush || !stroke_ || !(buttons & Qt::LeftButton)) return;
  Project& project = window_.CurrentProject();
  const MapGrid& map = project.Map;
  std::vector<std::uint32_t> changed;
  const Ink ink = CurrentInk();
  for (std::uint32_t cell : BrushCells(map.Width, map.Height, column, row, cbBrushSize->currentData().toInt(),
                                       cbBrushShape->currentIndex() == 1)) {
    if (map.OnBorder(cell % map.Width, cell / map.Width)) continue;
    if (stroke_->Write(project, cell, Drawn(ink, cell))) changed.push_back(cell);
  }
  window_.Document().CellsEdited(changed);
}

void MapTools::Moved(int column, int row, Qt::KeyboardModifiers modifiers, bool held) {
  if (!window_.MapPresent()) return;
  const QPoint cell(column, row);
  const bool constrain = modifiers & Qt::ShiftModifier;
  if (cell == pointer_ && constrain == constrain_ && !(held && tool_ == Tool::RectSelect && dragging_)) return;
  pointer_ = cell;
  constrain_ = constrain;
  if (stamp_) {
    window_.DG->RedrawAll();
    return;
  }
  if (!held || !dragging_) return;
  const MapGrid& map = window_.CurrentProject().Map;
  if (tool_ == Tool::RectSelect) {
    selection_ = base_;
    selection_.Apply(RectangleCells(map.Width, map.Height, ShapeBox(anchor_.x(), anchor_.y(), column, row, false)),
                     selectMode_);
    SelectionChanged();
  } else if (tool_ == Tool::Rectangle || tool_ == Tool::Ellipse || tool_ == Tool::Line) {
    SetPreview(ShapeCells(column, row, constrain_));
  }
}

void MapTools::Released() {
  if (stroke_) {
    CellEdit edit = std::move(*stroke_);
    stroke_.reset();
    window_.aUndo->setEnabled(window_.UndoStack().canUndo());
    window_.aRedo->setEnabled(window_.UndoStack().canRedo());
    Commit(window_.aPaint->isChecked() ? "Paint terrain" : "Paint domains", std::move(edit), true);
  }
  if (!dragging_) return;
  dragging_ = false;
  if (tool_ == Tool::Rectangle || tool_ == Tool::Ellipse || tool_ == Tool::Line) {
    const Project& project = window_.CurrentProject();
    const MapGrid& map = project.Map;
    CellEdit edit(project);
    const Ink ink = CurrentInk();
    for (std::uint32_t cell : preview_.Cells())
      if (!map.OnBorder(cell % map.Width, cell / map.Width)) edit.Set(cell, Drawn(ink, cell));
    preview_.Clear();
    window_.DG->RedrawAll();
    if (CanDraw()) Commit(aTool[static_cast<int>(tool_)]->text().remove('&'), std::move(edit), false);
  }
}

void MapTools::SelectAll() {
  Selection();
  selection_.SelectAll();
  SelectionChanged();
}

void MapTools::SelectNone() {
  Selection();
  selection_.Clear();
  SelectionChanged();
}

void MapTools::InvertSelection() {
  Selection();
  selection_.Invert();
  SelectionChanged();
}

void MapTools::SelectionChanged() {
  window_.DG->RedrawAll();
  selectionPanel_->setText(SelectionText());
  UpdateCommands();
}

QString MapTools::SelectionText() const {
  if (selection_.Empty()) return QString();
  const CellBounds box = selection_.Bounds();
  return QString("Selection: %1 cells (%2 x %3)").arg(selection_.Count()).arg(box.Width()).arg(box.Height());
}

void MapTools::UpdateCommands() {
  const bool selected = window_.MapPresent() && !selection_.Empty();
  for (QAction* action : {aCut, aCopy, aDelete, aCropToSelection}) action->setEnabled(selected);
  for (QAction* action : {aFlipStampH, aFlipStampV, aRotateStamp, aRotateStampBack, aCancelPaste})
    action->setEnabled(stamp_.has_value());
}

void MapTools::UpdateCursor() {
  window_.DG->viewport()->setCursor(stamp_ ? QCursor(Qt::SizeAllCursor) : ToolCursor(tool_));
}

void MapTools::UpdateHint() {
  hintPanel_->setText(HintText());
  UpdateCommands();
}

QString MapTools::HintText() const { return stamp_ ? StampHint : ToolSpecs[static_cast<int>(tool_)].hint; }

void MapTools::CopySelection() {
  const Project& project = window_.CurrentProject();
  const CellBlock block = CellBlock::Copy(project.Map, project.Descriptions, project.Domains, Selection());
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
  const Project& project = window_.CurrentProject();
  const MapGrid& map = project.Map;
  CellEdit edit(project);
  // The default cell: plains named by its terrain, domain 0; the ring stays.
  for (std::uint32_t cell : Selection().Cells())
    if (!map.OnBorder(cell % map.Width, cell / map.Width))
      edit.Set(cell, CellState{Plains, 0, std::string(TerrainNames[Plains])});
  Commit(caption, std::move(edit), false);
}

void MapTools::CutSelection() {
  CopySelection();
  EraseSelection("Cut");
}

void MapTools::PasteClipboard() {
  if (!window_.MapPresent()) return;
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
  dragging_ = false;
  stamp_ = std::move(block);
  pointer_ = {window_.DG->CurrentColumn(), window_.DG->CurrentRow()};
  window_.DG->viewport()->setMouseTracking(true);
  UpdateCursor();
  UpdateHint();
  window_.DG->RedrawAll();
}

void MapTools::PlaceStamp(int column, int row) {
  const CellBlock block = std::move(*stamp_);
  Project& project = window_.CurrentProject();
  const int left = column - block.Width / 2, top = row - block.Height / 2;
  CellEdit edit(project);
  for (int y = 0; y < block.Height; ++y)
    for (int x = 0; x < block.Width; ++x) {
      const BlockCell& cell = block.At(x, y);
      if (!cell.present || !Drawable(left + x, top + y)) continue;
      const auto index = static_cast<std::uint32_t>(left + x + (top + y) * project.Map.Width);
      // Letters from another program carry no domain: the cell keeps its own, as painting does.
      const std::int32_t domain = block.TerrainOnly ? ReadCell(project, index).domain : cell.domain;
      edit.Set(index, CellState{cell.terrain, domain, cell.text});
    }
  DropStamp();
  // A domain this map lacks comes with its name and colour; one it names otherwise stays as it is.
  DomainSlots table = project.Domains.Slots;
  QStringList kept;
  bool added = false;
  for (const BlockDomain& domain : block.Domains) {
    if (!project.Domains.Defined(domain.Number)) {
      table[domain.Number] = domain.Slot;
      added = true;
    } else if (!(project.Domains.Slots[domain.Number].Name == domain.Slot.Name &&
               project.Domains.Slots[domain.Number].Color == domain.Slot.Color))
      kept << QString::number(domain.Number);
  }
  if (!kept.isEmpty())
    window_.statusBar()->showMessage(
        QString("Pasted domain%1 %2 kept this map's name and colour.").arg(kept.size() == 1 ? "" : "s", kept.join(", ")),
        10000);
  if (edit.Empty() || !added) return Commit("Paste", std::move(edit), false);
  MapDocument& document = window_.Document();
  document.BeginMacro(QString("Paste (%1 cells)").arg(edit.Size()));
  document.Push(new DomainTableCommand("Paste domains", project, document, table));
  Commit("Paste", std::move(edit), false);
  document.EndMacro();
}

void MapTools::DropStamp() {
  if (!stamp_) return;
  stamp_.reset();
  window_.DG->viewport()->setMouseTracking(false);
  UpdateCursor();
  UpdateHint();
  window_.DG->RedrawAll();
}

void MapTools::TurnStamp(void (CellBlock::*turn)()) {
  if (!stamp_) return;
  ((*stamp_).*turn)();
  window_.DG->RedrawAll();
}

void MapTools::CropToSelection() {
  const CellBounds box = Selection().Bounds();
  if (!window_.MapPresent() || box.Empty()) return;
  // The bounding box of the selection, whole: the cells keep what they hold, the ring is not rebuilt.
  window_.TransformMap("Crop to selection",
                       MapTransform::ResizeTo(box.Width(), box.Height(), {-box.left, -box.top}, false));
  // The cropped map is all that was selected: no selection is left to show.
  selection_.Reset(window_.CurrentProject().Map.Width, window_.CurrentProject().Map.Height);
  SelectionChanged();
}

void MapTools::PaintOverlay(QPainter& painter, const QRect& exposed) {
  if (!window_.MapPresent()) return;
  const MapGridView& grid = *window_.DG;
  const MapGrid& map = window_.CurrentProject().Map;
  const int t = grid.Options().tileSize, pitch = t + (grid.Options().gridLines ? 1 : 0);
  const int c0 = grid.LeftColumn() + exposed.left() / pitch, r0 = grid.TopRow() + exposed.top() / pitch;
  const int c1 = std::min<int>(map.Width - 1, grid.LeftColumn() + exposed.right() / pitch);
  const int r1 = std::min<int>(map.Height - 1, grid.TopRow() + exposed.bottom() / pitch);

  // A tint over the cells and a white and black dashed line along the region's edge.
  const auto outline = [&](auto member, const QColor& tint, const QColor& line) {
    QVector<QLine> edges;
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c) {
        if (!member(c, r)) continue;
        const QRect square(grid.CellRect(c, r).topLeft(), QSize(pitch, pitch));
        if (tint.alpha() > 0) painter.fillRect(grid.CellRect(c, r), tint);
        if (!member(c, r - 1)) edges.append(QLine(square.topLeft(), square.topRight()));
        if (!member(c, r + 1)) edges.append(QLine(square.bottomLeft(), square.bottomRight()));
        if (!member(c - 1, r)) edges.append(QLine(square.topLeft(), square.bottomLeft()));
        if (!member(c + 1, r)) edges.append(QLine(square.topRight(), square.bottomRight()));
      }
    if (edges.isEmpty()) return;
    painter.setPen(QPen(Qt::white, 2));
    painter.drawLines(edges);
    painter.setPen(QPen(line, 2, Qt::DashLine));
    painter.drawLines(edges);
  };
  if (!selection_.Empty() && selection_.Width() == map.Width && selection_.Height() == map.Height)
    outline([this](int x, int y) { return selection_.Contains(x, y); }, QColor(60, 140, 255, 70), Qt::black);
  if (dragging_ && preview_.Width() == map.Width && preview_.Height() == map.Height && !preview_.Empty())
    outline([this](int x, int y) { return preview_.Contains(x, y); }, QColor(255, 255, 255, 90), QColor(200, 0, 0));
  if (stamp_) {
    const CellBlock& block = *stamp_;
    const int left = pointer_.x() - block.Width / 2, top = pointer_.y() - block.Height / 2;
    const GridOptions& options = grid.Options();
    const TileStyle style = options.retro ? TileStyle::Retro : options.grayscale ? TileStyle::Grey : TileStyle::Colour;
    painter.setOpacity(0.75);
    for (int y = std::max(0, r0 - top); y < block.Height && top + y <= r1; ++y)
      for (int x = std::max(0, c0 - left); x < block.Width && left + x <= c1; ++x) {
        const BlockCell& cell = block.At(x, y);
        if (cell.present)
          painter.drawImage(grid.CellRect(left + x, top + y).topLeft(), window_.tiles_.Scaled(style, cell.terrain, t));
      }
    painter.setOpacity(1.0);
    outline(
        [&](int x, int y) {
          const int bx = x - left, by = y - top;
          return bx >= 0 && by >= 0 && bx < block.Width && by < block.Height && block.At(bx, by).present;
        },
        QColor(0, 0, 0, 0), QColor(0, 160, 0));
  }
}

}  // namespace mireforge
