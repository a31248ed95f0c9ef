#pragma once
// Autosave and crash recovery. While the open project has unsaved changes, a
// copy of it in the project file format is kept in the user's data folder (never
// over the user's own file), written after every wholesale map change and every
// two minutes after edits. A clean exit removes it. A copy whose session died
// (crash, power cut, kill) is offered back at the next start.
//
// Cell and panel edits wait for the two-minute timer: painting changes cells one
// by one, and a whole-project write per edit would stall it on a large map.
//
// Each running editor owns one session: a lock file holding its process id and
// the copy beside it. A copy whose lock is free or stale belongs to a dead session;
// the copies of other editors still running are left alone.
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "project/project.h"

class QLockFile;
class QWidget;

namespace mireforge {

class TfMain;
class UserPrompts;

inline constexpr int AutosaveIntervalMs = 2 * 60 * 1000;

// AppDataLocation/recovery.
QString DefaultRecoveryFolder();

// Writes the project and the name of the user's own file into path, atomically.
// Error when it cannot be written (or the map has no cells).
void WriteRecoveryCopy(const Project& project, const QString& path, const QDateTime& savedAt);

struct RecoveredProject {
  Project project;  // unsaved; ProjectFileName is the user's own file, or empty
  QDateTime savedAt;
};
// Error when the copy cannot be read or is not a valid project.
RecoveredProject ReadRecoveryCopy(const QString& path);

class RecoverySession : public QObject {
  Q_OBJECT
 public:
  // Follows the window's project from now on. Without a usable folder it does
  // nothing but say so once in the status bar: autosave must never stop editing.
  RecoverySession(TfMain& window, QString folder = DefaultRecoveryFolder(), int intervalMs = AutosaveIntervalMs);
  // The end of the session is a clean exit: the copy goes.
  ~RecoverySession() override;

  // Writes the copy now when the project has unsaved changes, removes it when it has none.
  // The file work runs on a thread of its own from a snapshot of the project, so
  // a 512 x 512 project does not stall the editor while it is written.
  void Update();
  // Blocks until the copy on disk follows the last Update.
  void WaitForWrites();
  const QString& CopyPath() const { return copyPath_; }
  const QString& LastError() const { return lastError_; }

 private:
  void ScheduleUpdate(bool write);
  void RemoveCopy();
  void TakeWriteResult();

  class CopyWriter;

  TfMain& window_;
  QString folder_;
  QString copyPath_;
  std::unique_ptr<QLockFile> lock_;
  QTimer timer_;
  bool dirty_ = false;        // edited since the copy was last written
  bool updateQueued_ = false;
  bool writeQueued_ = false;
  int undoIndex_ = 0;
  QString lastError_;
  std::unique_ptr<CopyWriter> writer_;  // last: its thread ends before the rest goes
};

// Answers the restore question: true for Restore, false for Discard.
using RestoreQuestion = std::function<bool(QWidget* parent, const QString& text)>;
// The real message box with Restore and Discard.
bool AskRestore(QWidget* parent, const QString& text);
// "Mireforge did not close properly. Restore the unsaved work from <time>?"
QString RestoreQuestionText(const QDateTime& savedAt);

// At start-up: offers the copies of dead sessions in folder, newest first, until
// one is restored into window. A discarded copy is removed; one that cannot be
// read is reported and renamed (".damaged") so it is neither lost nor offered again.
// True when a project was restored.
bool OfferRecovery(TfMain& window, UserPrompts& prompts, const QString& folder = DefaultRecoveryFolder(),
                   const RestoreQuestion& ask = AskRestore);

// For the crash test only: when MIREFORGE_TEST_EDIT holds "x,y,code", paints
// that cell through the undo stack once the start-up has run, then writes the
// copy at once instead of waiting for the timer.
void StartTestEdit(TfMain& window, RecoverySession& recovery);

}  // namespace mireforge
