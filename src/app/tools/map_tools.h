#pragma once
// The editing tools of the grid: brush, rectangle select, magic wand, select
// same terrain, bucket fill, rectangle, ellipse and line; the selection with
// its outline; copy, cut, paste (a stamp under the pointer) and delete. Each
// use of a tool is one undo step holding only the cells it changed.
#include <QObject>
#include <array>
#include <optional>
#include <vector>

#include "app/edit/cell_edit_command.h"
#include "app/grid/map_grid_view.h"
#include "formats/cell_block.h"
#include "model/cell_selection.h"

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QSpinBox;
class QToolBar;
class QToolButton;

namespace mireforge {

class TfMain;

enum class Tool { Brush, RectSelect, MagicWand, SameTerrain, Bucket, Rectangle, Ellipse, Line };
inline constexpr int ToolCount = 8;

class MapTools : public QObject, public GridOverlay {
  Q_OBJECT
 public:
  explicit MapTools(TfMain& window);

  Tool Current() const { return tool_; }
  void ChooseTool(Tool tool);
  const CellSelection& Selection();
  bool StampHeld() const { return stamp_.has_value(); }
  const CellBlock* Stamp() const { return stamp_ ? &*stamp_ : nullptr; }
  // The terrains the random brush draws from.
  std::vector<int> RandomSet() const;
  QString HintText() const;
  QString SelectionText() const;

  void PaintOverlay(QPainter& painter, const QRect& exposed) override;

  std::array<QAction*, ToolCount> aTool{};
  QAction *aCut, *aCopy, *aPaste, *aDelete, *aSelectAll, *aSelectNone, *aInvertSelection;
  QAction *aFlipStampH, *aFlipStampV, *aRotateStamp, *aRotateStampBack, *aCancelPaste;
  QAction* aCropToSelection;  // in the Map menu
  QToolBar* toolBar = nullptr;
  QToolBar* optionsBar = nullptr;
  QComboBox* cbBrushSize = nullptr;
  QComboBox* cbBrushShape = nullptr;
  QCheckBox* cbRandom = nullptr;
  QToolButton* bRandomSet = nullptr;
  std::array<QAction*, 16> aRandomTerrain{};
  QSpinBox* eSeed = nullptr;

 private:
  QAction* NewAction(const QString& caption, const QKeySequence& shortcut, void (MapTools::*slot)());
  void CreateActions();
  void CreateBars();
  void AddToMenus();

  void Pressed(int column, int row, Qt::KeyboardModifiers modifiers);
  void Painted(int column, int row, Qt::MouseButtons buttons);
  void Moved(int column, int row, Qt::KeyboardModifiers modifiers, bool held);
  void Released();

  // What a drawing tool writes into a cell, by the painting mode; false when
  // there is nothing to paint with (no mode, no terrain or domain chosen).
  bool CanDraw() const;
  struct Ink {
    bool terrain = true;  // terrain painting, else domains
    int code = -1;
    std::int32_t domain = -1;
    std::vector<int> set;  // the random brush's terrains, empty when it is off
    std::uint32_t seed = 0;
  };
  Ink CurrentInk() const;
  CellState Drawn(const Ink& ink, std::uint32_t index) const;
  bool Drawable(int x, int y) const;
  void Commit(const QString& caption, CellEdit edit, bool applied);
  std::vector<std::uint32_t> ShapeCells(int column, int row, bool constrain) const;
  void SetPreview(const std::vector<std::uint32_t>& cells);

  void CopySelection();
  void CutSelection();
  void DeleteSelection();
  void EraseSelection(const QString& caption);
  void PasteClipboard();
  void PlaceStamp(int column, int row);
  void DropStamp();
  void TurnStamp(void (CellBlock::*turn)());
  void CropToSelection();
  void SelectAll();
  void SelectNone();
  void InvertSelection();
  void SelectionChanged();
  void UpdateCommands();
  void UpdateCursor();
  void UpdateHint();

  TfMain& window_;
  Tool tool_ = Tool::Brush;
  CellSelection selection_;
  CellSelection base_;     // the selection when a rectangle drag began
  CellSelection preview_;  // cells a shape being dragged would change
  SelectionMode selectMode_ = SelectionMode::Replace;
  std::optional<CellEdit> stroke_;
  bool dragging_ = false;
  QPoint anchor_;          // the cell a drag began on
  QPoint pointer_;         // the cell under the pointer
  bool constrain_ = false;
  std::optional<CellBlock> stamp_;
  QActionGroup* toolGroup_ = nullptr;
  QLabel* hintPanel_ = nullptr;
  QLabel* selectionPanel_ = nullptr;
};

}  // namespace mireforge
