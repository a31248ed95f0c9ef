#pragma once
// What the editing tools need from the editor around them, and nothing more:
// the document they change, the grid they draw over, the tiles of a pasted
// block, the chosen terrain and domain, the painting modes and a way to run a
// command that reports its failure.
#include <functional>

class QAction;
class QMainWindow;
class QMenu;
class QString;
class QWidget;

namespace mireforge {

class MapDocument;
class MapGridView;
class MapTransform;
class TileImages;

class ToolContext {
 public:
  virtual ~ToolContext() = default;

  // The window the tools' bars, menu entries, status panels and shortcuts join.
  virtual QMainWindow& Window() = 0;
  virtual QMenu& MapMenu() = 0;
  virtual MapDocument& Document() = 0;
  virtual MapGridView& Grid() = 0;
  virtual TileImages& Tiles() = 0;
  // The terrain chosen in the palette and the domain focused in the domain panel; -1 for none.
  virtual int ActiveTerrain() const = 0;
  virtual int ActiveDomain() const = 0;
  // The painting modes ("Paint terrain", "Paint domains"): what the drawing tools write.
  virtual QAction& PaintTerrain() = 0;
  virtual QAction& PaintDomains() = 0;
  // Puts a panel at the status bar's end, right of those put there before.
  virtual void AddStatusPanel(QWidget* panel) = 0;
  // Undo and redo wait while held (a stroke under way).
  virtual void HoldHistory(bool held) = 0;
  // Runs a command; what it throws is shown to the user and the editor goes on.
  virtual void Run(const std::function<void()>& command) = 0;
  // Changes the whole map as one undo step, the current cell following it.
  virtual void TransformMap(const QString& undoText, const MapTransform& transform) = 0;
};

}  // namespace mireforge
