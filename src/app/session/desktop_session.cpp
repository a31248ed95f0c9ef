#include "app/session/desktop_session.h"

#include <QFileInfo>
#include <algorithm>
#include <QMainWindow>
#include <QTabWidget>

#include "app/dialogs/keyboard_page.h"
#include "app/dialogs/small_forms.h"
#include "base/ini_file.h"
#include "base/error.h"

namespace mireforge {

namespace {

constexpr const char* WindowSection = "Window";
constexpr const char* SessionSection = "Session";
// Preferences with keys and a layout still fill only a few kilobytes.
constexpr std::uint64_t MaxPreferencesFileBytes = 1024 * 1024;

IniFile LoadPreferences(const QString& path) {
  try {
    return IniFile::LoadIfExists(path.toStdString(), MaxPreferencesFileBytes);
  } catch (const Error&) {
    return {};  // unreadable: defaults, as the other preferences
  }
}

QByteArray Stored(const IniFile& ini, const char* key) {
  return QByteArray::fromBase64(QByteArray::fromStdString(ini.ReadWholeString(WindowSection, key, "")));
}

}  // namespace

DesktopSession::DesktopSession(QMainWindow& window, const QString& preferencesPath)
    : QObject(&window), window_(window), path_(preferencesPath) {
  setObjectName("DesktopSession");
  commands_ = Keymap::CommandsOf(window);
  defaults_ = Keymap::Of(commands_);
  const IniFile ini = LoadPreferences(path_);
  keys_.ReadChanges(ini, Keymap::Section, defaults_);
  keys_.Apply(commands_);
  options_.reopenLastProject = ini.ReadBool(SessionSection, "Reopen last project", false);
  options_.repeatExportOnSave = ini.ReadBool(SessionSection, "Repeat last export on save", false);
  options_.undoSteps = std::clamp(ini.ReadInteger(SessionSection, "Undo steps", DefaultUndoSteps), MinUndoSteps,
                                  MaxUndoSteps);
  options_.undoMegabytes = std::clamp(ini.ReadInteger(SessionSection, "Undo memory MB", DefaultUndoMegabytes),
                                      MinUndoMegabytes, MaxUndoMegabytes);
  const QByteArray geometry = Stored(ini, "Geometry");
  const QByteArray state = Stored(ini, "State");
  if (!geometry.isEmpty() && window_.restoreGeometry(geometry)) layoutRestored_ = true;
  if (!state.isEmpty()) window_.restoreState(state);
}

void DesktopSession::Save() {
  IniFile ini = LoadPreferences(path_);
  ini.WriteString(WindowSection, "Geometry", window_.saveGeometry().toBase64().toStdString());
  ini.WriteString(WindowSection, "State", window_.saveState().toBase64().toStdString());
  ini.WriteBool(SessionSection, "Reopen last project", options_.reopenLastProject);
  ini.WriteBool(SessionSection, "Repeat last export on save", options_.repeatExportOnSave);
  ini.WriteInteger(SessionSection, "Undo steps", options_.undoSteps);
  ini.WriteInteger(SessionSection, "Undo memory MB", options_.undoMegabytes);
  keys_.WriteChanges(ini, Keymap::Section, defaults_);
  ini.Save(path_.toStdString(), "Unable to write to %s");
}

void DesktopSession::AddPages(TfOptions& dialog) {
  sessionPage_ = new SessionPage(options_, dialog.tabs);
  dialog.tabs->addTab(sessionPage_, "Session");
  keyboardPage_ = new KeyboardPage(commands_, keys_, defaults_, dialog.tabs);
  dialog.tabs->addTab(keyboardPage_, "Keyboard");
}

void DesktopSession::TakePages() {
  if (sessionPage_) options_ = sessionPage_->Values();
  if (keyboardPage_) {
    keys_ = keyboardPage_->Result();
    keys_.Apply(commands_);
  }
  sessionPage_ = nullptr;
  keyboardPage_ = nullptr;
}

QString DesktopSession::ProjectToReopen(const QStringList& recentProjects) const {
  if (!options_.reopenLastProject || recentProjects.isEmpty() || !QFileInfo::exists(recentProjects.front())) return {};
  return recentProjects.front();
}

void DesktopSession::ProjectSaved() const {
  if (options_.repeatExportOnSave && lastExport_) lastExport_();
}

void RunExport(QWidget* widget, const std::function<void()>& write) {
  write();
  for (QWidget* owner = widget; owner; owner = owner->parentWidget())
    if (DesktopSession* session = SessionOf(*owner)) return session->RememberExport(write);
}

DesktopSession* SessionOf(QObject& window) { return window.findChild<DesktopSession*>("DesktopSession", Qt::FindDirectChildrenOnly); }

}  // namespace mireforge
