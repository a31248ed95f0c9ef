#pragma once
// The tool set of the grid: one tool checked at a time (pointer, brush,
// rectangle select, magic wand, select same terrain, bucket fill, rectangle,
// ellipse and line), their tool bar, options and status panels; the selection
// with its outline; copy, cut, paste (a block placed under the pointer) and
// delete. The grid's input goes to the checked tool, or to the pasted block
// while one is held. A drawing tool is checked exactly while a painting mode is on.
#include <QCursor>
#include <QObject>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "app/tools/map_tool.h"
#include "app/tools/tool_context.h"

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;
class QToolBar;
class QToolButton;

namespace mireforge {

class CellBlock;
class PasteTool;

class MapTools : public QObject, public GridOverlay, private ToolHost {
  Q_OBJECT
 public:
  explicit MapTools(ToolContext& context);
  ~MapTools() override;

  Tool Current() const { return tool_; }
  void ChooseTool(Tool tool);
  const CellSelection& Selection() { return SizedSelection(); }
  bool StampHeld() const;
  const CellBlock* Stamp() const;
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

 protected:
  // Escape on the grid ends a drag.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAction* NewAction(const QString& caption, const QKeySequence& shortcut, void (MapTools::*slot)());
  void CreateActions();
  void CreateBars();
  void AddToMenus();
  void CreateStatusPanels();

  // The grid's input, to the pasted block or the checked tool.
  MapTool& Active();
  void Pressed(int column, int row, Qt::KeyboardModifiers modifiers);
  void Painted(int column, int row, Qt::MouseButtons buttons);
  void Moved(int column, int row, Qt::KeyboardModifiers modifiers, bool held);
  void Released();
  // A painting mode switched on checks the brush, switched off the pointer.
  void PaintingToggled();

  // ToolHost
  MapDocument& Document() override;
  MapGridView& Grid() override;
  CellSelection& SelectionToEdit() override { return SizedSelection(); }
  void SelectionChanged() override;
  std::optional<Ink> CurrentInk() const override;
  BrushTip Tip() const override;
  void HoldHistory(bool held) override;
  void Commit(const QString& caption, CellEdit edit, bool applied) override;
  TileImages& Tiles() override;
  void ShowMessage(const QString& message) override;

  CellSelection& SizedSelection();
  void CopySelection();
  void CutSelection();
  void DeleteSelection();
  void EraseSelection(const QString& caption);
  void PasteClipboard();
  void DropStamp();
  void StampChanged();
  void TurnStamp(void (CellBlock::*turn)());
  void CropToSelection();
  void SelectAll();
  void SelectNone();
  void InvertSelection();
  void UpdateCommands();
  void UpdateCursor();
  void UpdateHint();

  ToolContext& context_;
  std::array<std::unique_ptr<MapTool>, ToolCount> tools_;
  std::unique_ptr<PasteTool> paste_;
  Tool tool_ = Tool::Pointer;
  // Each tool's cursor, drawn when first shown: every paste and tool change sets one.
  std::array<std::optional<QCursor>, ToolCount> cursors_;
  bool domainInk_ = false;  // the painting mode a selection tool set aside was domains
  bool choosing_ = false;   // the painting mode is being set by a tool change
  CellSelection selection_;
  QActionGroup* toolGroup_ = nullptr;
  QLabel* hintPanel_ = nullptr;
  QLabel* selectionPanel_ = nullptr;
};

}  // namespace mireforge
