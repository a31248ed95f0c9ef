#pragma once
// What the desktop keeps between runs beyond the preferences of old: the
// window's geometry and dock layout, the keymap, and the session options.
// Lives as a child of the main window; reads and writes mireforge.ini.
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

#include "app/dialogs/keyboard_page.h"
#include "app/document/map_document.h"
#include "app/session/keymap.h"

class QMainWindow;

namespace mireforge {

class TfOptions;

struct SessionOptions {
  bool reopenLastProject = false;
  bool repeatExportOnSave = false;
  // The undo history's bounds: the oldest steps go first.
  int undoSteps = DefaultUndoSteps;
  int undoMegabytes = DefaultUndoMegabytes;
};

class DesktopSession : public QObject {
  Q_OBJECT
 public:
  // Takes the window's current keys as the default keymap, then applies the
  // stored keys and layout. Call once the window has its commands and docks.
  DesktopSession(QMainWindow& window, const QString& preferencesPath);

  // True when a layout of an earlier run was restored (the window then keeps its place).
  bool LayoutRestored() const { return layoutRestored_; }
  // Writes layout, keys and options; Error when the file cannot be written.
  void Save();

  // The preferences dialog's "Keyboard" and "Session" pages, and taking their values on OK.
  void AddPages(TfOptions& dialog);
  void TakePages();

  // The newest recent project that still exists when "Reopen the last project" is on, else empty.
  QString ProjectToReopen(const QStringList& recentProjects) const;

  // The last export, written again after every project save while "Repeat last
  // export on save" is on (same file, same options, the map as saved).
  void RememberExport(std::function<void()> write) { lastExport_ = std::move(write); }
  void ProjectSaved() const;

  const Keymap& Keys() const { return keys_; }
  const Keymap& DefaultKeys() const { return defaults_; }
  const SessionOptions& Options() const { return options_; }

 private:
  QMainWindow& window_;
  QString path_;
  std::vector<KeyCommand> commands_;
  Keymap defaults_, keys_;
  SessionOptions options_;
  bool layoutRestored_ = false;
  std::function<void()> lastExport_;
  QPointer<KeyboardPage> keyboardPage_;
  QPointer<SessionPage> sessionPage_;
};

// The session of a window, or nullptr.
DesktopSession* SessionOf(QObject& window);

// Runs an export, then keeps it as the last export in the session of the
// window that widget belongs to (itself, or a dialog of it).
void RunExport(QWidget* widget, const std::function<void()>& write);

}  // namespace mireforge
