#pragma once
// The open map and what belongs to it rather than to a view: the project, its
// undo history, whether a map is present, where it came from and its saved state.
// Every change goes through here and is announced once, by kind; the grid, the
// panels, the overview, the statistics, the actual view, the status bar, the
// commands, the title and the recovery copy listen instead of being called.
#include <QObject>
#include <QString>
#include <QUndoStack>
#include <cstdint>
#include <vector>

#include "app/edit/edit_commands.h"
#include "project/project.h"

namespace mireforge {

// The creation methods status panel 1 shows.
inline constexpr const char* OriginNone = "none";
inline constexpr const char* OriginProject = "Created from project";
inline constexpr const char* OriginFile = "Created from file";
inline constexpr const char* OriginBlank = "Created as blank map";

// The history's bounds unless the preferences say otherwise.
inline constexpr int DefaultUndoSteps = 200, MinUndoSteps = 1, MaxUndoSteps = 100000;
inline constexpr int DefaultUndoMegabytes = 32, MinUndoMegabytes = 1, MaxUndoMegabytes = 65536;

// How the map was replaced as a whole.
enum class MapReplacement {
  Emptied,   // "New empty project": no map
  Loaded,    // new, generated, imported, loaded, restored, blank map: painting starts afresh
  Restored,  // Fill, a transform, and the undo and redo of wholesale edits: the tools stay
};

class MapDocument : public QObject, public EditView {
  Q_OBJECT
 public:
  explicit MapDocument(QObject* parent = nullptr);

  Project& CurrentProject() { return project_; }
  const Project& CurrentProject() const { return project_; }
  QUndoStack& UndoStack() { return undo_; }
  bool MapPresent() const { return mapPresent_; }
  const QString& Origin() const { return origin_; }
  bool Saved() const { return project_.ProjectSaved; }
  const std::string& FileName() const { return project_.ProjectFileName; }

  // Puts a whole project in (one recovered after a crash): unsaved or not as it
  // says, with a new history, shown as a loaded project.
  void Restore(Project project);
  // While a wizard builds a new map in the project, what the project holds is
  // no one's work: the recovery copy waits.
  class Replacement {
   public:
    explicit Replacement(MapDocument& document) : document_(document) { ++document_.replacing_; }
    ~Replacement() { --document_.replacing_; }
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

   private:
    MapDocument& document_;
  };
  bool Replacing() const { return replacing_ > 0; }

  // Every undo step goes through here, never straight to the stack, so that
  // the history can drop its oldest steps once it holds more than the limits.
  void Push(QUndoCommand* command);
  void BeginMacro(const QString& text);
  void EndMacro();
  // At most steps steps and (beyond the newest step) bytes of memory.
  void SetHistoryLimits(int steps, std::size_t bytes);
  std::size_t HistoryBytes() const;

  // Announces a map the caller has just put into the project.
  void ReplaceMap(MapReplacement how, bool mapPresent, const QString& origin);
  // A new history: undoing never leads back past this point, nor to a state
  // that counts as saved when it was not.
  void ResetHistory();
  // The map is what the file holds: the history's clean point is here.
  void MarkSaved(const std::string& fileName);
  void MarkUnsaved();
  // After a wholesale change that did not come from the project file.
  void ForgetFileName();

  // EditView: what the undo commands report.
  void CellsEdited(const std::vector<std::uint32_t>& cells) override;
  void DomainsEdited() override;
  void MapRestored(bool mapPresent, const QString& origin) override;

 signals:
  // Cells (by index x + y * width) whose terrain, description or domain changed.
  void CellsChanged(const std::vector<std::uint32_t>& cells);
  // The map as a whole: its size, cells, descriptions and domains may all differ.
  void MapReplaced(MapReplacement how);
  // The domain table changed (names, colours).
  void DomainsChanged();
  // The file name or the saved state changed.
  void FileStateChanged();
  // The oldest steps of the history were dropped to keep it within its limits.
  void HistoryTrimmed(int dropped);

 private:
  void SetSaved(bool saved);
  void Trim();

  Project project_;
  QUndoStack undo_;
  bool mapPresent_ = false;
  QString origin_ = OriginNone;
  bool resettingHistory_ = false;
  int replacing_ = 0;
  int macroDepth_ = 0;
  int stepLimit_ = DefaultUndoSteps;
  std::size_t byteLimit_ = std::size_t(DefaultUndoMegabytes) << 20;
};

}  // namespace mireforge
