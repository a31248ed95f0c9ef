#pragma once
// Autosave and crash recovery. While the open project has unsaved changes, a
// copy of it in the project file format is kept in the user's data folder (never
// over the user's own file), written at once after every wholesale map change and
// within a second after edits. A clean exit removes it. A copy whose session died
// (crash, power cut, kill) is offered back at the next start.
//
// The copy is written on a worker thread from a snapshot of the project, so a
// 512 x 512 project's write never stalls painting; edits made meanwhile are
// written by the next round. Each copy ends with its length and checksum, so a
// damaged or cut copy is never offered as if it were whole.
//
// Each running editor owns one session: a lock file holding its process id and
// the copy beside it. A copy whose lock is free or stale belongs to a dead session;
// the copies of other editors still running are left alone.
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "project/project.h"

class QLockFile;
class QMainWindow;
class QWidget;

namespace mireforge {

class MapDocument;
class UserPrompts;

// How long after an edit its copy is started; continuous painting is copied
// at this pace too.
inline constexpr int AutosaveIntervalMs = 1000;

// AppDataLocation/recovery.
QString DefaultRecoveryFolder();

// Writes the project and the name of the user's own file into path, atomically.
// Error when it cannot be written (or the map has no cells).
void WriteRecoveryCopy(const Project& project, const QString& path, const QDateTime& savedAt);

struct RecoveredProject {
  Project project;  // unsaved; ProjectFileName is the user's own file, or empty
  QDateTime savedAt;
};
// Error when the copy cannot be read, is damaged or incomplete, or is not a valid project.
RecoveredProject ReadRecoveryCopy(const QString& path);

class RecoverySession : public QObject {
  Q_OBJECT
 public:
  // Follows the document from now on. Without a usable folder it does nothing
  // but say so once in the window's status bar: autosave must never stop editing.
  RecoverySession(QMainWindow& window, MapDocument& document, QString folder = DefaultRecoveryFolder(),
                  int intervalMs = AutosaveIntervalMs);
  // The end of the session is a clean exit: the copy goes.
  ~RecoverySession() override;

  // Starts writing the copy when the project has unsaved changes, removes it
  // when it has none.
  void Update();
  // Waits until the copy being written is on disk (tests; the end of the session).
  void WaitForWrite();
  const QString& CopyPath() const { return copyPath_; }
  const QString& LastError() const { return lastError_; }

 signals:
  // A copy is whole on disk.
  void CopyWritten();

 private:
  void ScheduleUpdate(bool write);
  void WriteFinished(const QString& error);
  void RemoveCopy();

  QMainWindow& window_;
  MapDocument& document_;
  QString folder_;
  QString copyPath_;
  std::unique_ptr<QLockFile> lock_;
  QTimer timer_;
  QThreadPool writer_;        // one thread: copies are written one after the other
  bool dirty_ = false;        // edited since the last snapshot
  bool writing_ = false;      // a snapshot is being written
  bool removeAfterWrite_ = false;
  bool updateQueued_ = false;
  bool writeQueued_ = false;
  QString lastError_;
};

// Answers the restore question: true for Restore, false for Discard.
using RestoreQuestion = std::function<bool(QWidget* parent, const QString& text)>;
// The real message box with Restore and Discard.
bool AskRestore(QWidget* parent, const QString& text);
// "Mireforge did not close properly. Restore the unsaved work from <time>?"
QString RestoreQuestionText(const QDateTime& savedAt);

// At start-up: tells about files that saves cut short left in folder (and removes
// them when the user agrees), then offers the copies of dead sessions in folder,
// newest first, until one is restored into window. A discarded copy is removed;
// one that cannot be read or is damaged is reported and renamed (".damaged") so
// it is neither lost nor offered again. True when a project was restored.
bool OfferRecovery(QWidget& window, MapDocument& document, UserPrompts& prompts,
                   const QString& folder = DefaultRecoveryFolder(), const RestoreQuestion& ask = AskRestore);

// The question about files left by saves that were cut short, or empty when there are none.
QString LeftoverQuestionText(const QString& folder);

}  // namespace mireforge
