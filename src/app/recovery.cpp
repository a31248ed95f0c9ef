#include "app/recovery.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QUndoStack>
#include <QUuid>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "app/edit_commands.h"
#include "app/main_window.h"
#include "app/user_prompts.h"
#include "formats/ini_file.h"
#include "formats/project_file.h"
#include "model/error.h"

namespace mireforge {

namespace {

constexpr const char* RecoverySection = "Recovery";
constexpr const char* CopySuffix = ".mfp";
constexpr const char* LockSuffix = ".lock";

std::string Local(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString LockPathOf(const QString& copyPath) {
  return copyPath.left(copyPath.size() - static_cast<int>(qstrlen(CopySuffix))) + LockSuffix;
}

// A lock that counts as taken only while its process lives: the age of a lock
// says nothing here, since an editor may run for days.
std::unique_ptr<QLockFile> SessionLock(const QString& path) {
  auto lock = std::make_unique<QLockFile>(path);
  lock->setStaleLockTime(0);
  return lock;
}

struct DeadSession {
  QString copyPath;
  QDateTime savedAt;
  std::unique_ptr<QLockFile> lock;  // held while the copy is offered
};

// The copies in folder whose sessions are gone, newest first. Locks of dead
// sessions that left no copy are cleared on the way.
std::vector<DeadSession> FindDeadSessions(const QString& folder) {
  std::vector<DeadSession> found;
  const QDir dir(folder);
  for (const QFileInfo& lockInfo : dir.entryInfoList({QString("*") + LockSuffix}, QDir::Files)) {
    const QString copyPath = lockInfo.absoluteFilePath().chopped(static_cast<int>(qstrlen(LockSuffix))) + CopySuffix;
    if (QFileInfo::exists(copyPath)) continue;
    auto lock = SessionLock(lockInfo.absoluteFilePath());
    if (lock->tryLock(0)) lock->unlock();  // removes the stale lock file
  }
  for (const QFileInfo& copy : dir.entryInfoList({QString("*") + CopySuffix}, QDir::Files)) {
    auto lock = SessionLock(LockPathOf(copy.absoluteFilePath()));
    if (!lock->tryLock(0)) continue;  // its editor is still running
    found.push_back({copy.absoluteFilePath(), copy.lastModified(), std::move(lock)});
  }
  std::sort(found.begin(), found.end(),
            [](const DeadSession& a, const DeadSession& b) { return a.savedAt > b.savedAt; });
  return found;
}

}  // namespace

// One thread doing the session's file work in order. A job not started yet is
// replaced by a newer one: only the latest state of the project matters.
class RecoverySession::CopyWriter {
 public:
  explicit CopyWriter(RecoverySession& session) : session_(session), thread_([this] { Run(); }) {}
  ~CopyWriter() {
    {
      std::lock_guard lock(mutex_);
      quit_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }

  // job returns the error text of a failure, empty on success.
  void Submit(std::function<QString()> job) {
    {
      std::lock_guard lock(mutex_);
      pending_ = std::move(job);
    }
    changed_.notify_all();
  }

  void Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !pending_ && !busy_; });
  }

  // The outcome of the jobs finished since the last call, if any.
  std::optional<QString> TakeResult() {
    std::lock_guard lock(mutex_);
    return std::exchange(result_, std::nullopt);
  }

 private:
  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return quit_ || pending_; });
      if (!pending_) return;
      std::function<QString()> job = std::exchange(pending_, nullptr);
      busy_ = true;
      lock.unlock();
      const QString error = job();
      lock.lock();
      busy_ = false;
      result_ = error;
      changed_.notify_all();
      // The window hears of it on its own thread.
      QMetaObject::invokeMethod(&session_, [session = &session_] { session->TakeWriteResult(); },
                                Qt::QueuedConnection);
    }
  }

  RecoverySession& session_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::function<QString()> pending_;
  bool busy_ = false;
  bool quit_ = false;
  std::optional<QString> result_;
  std::thread thread_;
};

QString DefaultRecoveryFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/recovery";
}

void WriteRecoveryCopy(const Project& project, const QString& path, const QDateTime& savedAt) {
  IniFile ini;
  WriteProject(project, ini);
  // After the project's own sections, so the copy still begins like any project file.
  ini.WriteString(RecoverySection, "ProjectFileName", project.ProjectFileName);
  ini.WriteString(RecoverySection, "Time", savedAt.toUTC().toString(Qt::ISODateWithMs).toStdString());
  ini.Save(Local(path), "Unable to write to %s");
}

RecoveredProject ReadRecoveryCopy(const QString& path) {
  const IniFile ini = IniFile::Load(Local(path), MaxProjectFileBytes);
  RecoveredProject recovered;
  ReadProject(ini, recovered.project);
  recovered.project.ProjectFileName = ini.ReadWholeString(RecoverySection, "ProjectFileName", "");
  recovered.project.ProjectSaved = false;
  recovered.savedAt =
      QDateTime::fromString(QString::fromStdString(ini.ReadString(RecoverySection, "Time", "")), Qt::ISODateWithMs);
  if (!recovered.savedAt.isValid()) recovered.savedAt = QFileInfo(path).lastModified();
  return recovered;
}

RecoverySession::RecoverySession(TfMain& window, QString folder, int intervalMs)
    : window_(window), folder_(std::move(folder)) {
  if (!QDir().mkpath(folder_)) {
    lastError_ = "Autosave is off: cannot create the folder " + folder_;
  } else {
    const QString base = folder_ + "/session-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    lock_ = SessionLock(base + LockSuffix);
    if (lock_->tryLock(0)) copyPath_ = base + CopySuffix;
    else lastError_ = "Autosave is off: cannot create a file in " + folder_;
  }
  if (copyPath_.isEmpty()) {
    window_.statusBar()->showMessage(lastError_, 10000);
    return;
  }
  writer_ = std::make_unique<CopyWriter>(*this);

  QUndoStack& undo = window_.UndoStack();
  undoIndex_ = undo.index();
  connect(&undo, &QUndoStack::indexChanged, this, [this, &undo](int index) {
    // The command just done or undone. A wholesale change (fill, blank map) is
    // written at once; cell and panel edits wait for the timer, since a whole
    // copy of a 512 x 512 project takes a noticeable part of a second.
    const QUndoCommand* command = undo.command(index > undoIndex_ ? index - 1 : index);
    undoIndex_ = index;
    dirty_ = true;
    ScheduleUpdate(dynamic_cast<const MapChangeCommand*>(command) != nullptr);  // also removes the copy once saved
  });
  connect(&undo, &QUndoStack::cleanChanged, this, [this] { ScheduleUpdate(false); });
  connect(&window_, &TfMain::MapReplaced, this, [this] { ScheduleUpdate(true); });
  connect(&timer_, &QTimer::timeout, this, [this] {
    // A modal dialog may be half-way through a command (a wizard showing its
    // previews); the next tick writes what the command leaves behind.
    if (dirty_ && !QApplication::activeModalWidget()) Update();
  });
  timer_.start(intervalMs);
  // A project that starts out unsaved (a restored one) is protected at once.
  dirty_ = !window_.CurrentProject().ProjectSaved;
  ScheduleUpdate(dirty_);
}

RecoverySession::~RecoverySession() {
  RemoveCopy();
  writer_.reset();  // finishes the removal
  if (lock_) lock_->unlock();
}

void RecoverySession::ScheduleUpdate(bool write) {
  // Runs after the command that triggered it has finished: a wholesale change
  // sets the descriptions and ProjectSaved after the map itself.
  writeQueued_ = writeQueued_ || write;
  if (updateQueued_) return;
  updateQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    updateQueued_ = false;
    const bool writeNow = std::exchange(writeQueued_, false);
    if (window_.CurrentProject().ProjectSaved) RemoveCopy();
    else if (writeNow) Update();
  });
}

void RecoverySession::Update() {
  if (copyPath_.isEmpty()) return;
  const Project& project = window_.CurrentProject();
  if (project.ProjectSaved || project.Map.Cells.empty()) {
    RemoveCopy();
    return;
  }
  auto snapshot = std::make_shared<const Project>(project);
  const QDateTime savedAt = QDateTime::currentDateTime();
  dirty_ = false;
  writer_->Submit([snapshot, savedAt, path = copyPath_] {
    try {
      WriteRecoveryCopy(*snapshot, path, savedAt);
      return QString();
    } catch (const std::exception& error) {
      return QString("Autosave failed: ") + QString::fromStdString(error.what());
    }
  });
}

void RecoverySession::WaitForWrites() {
  if (!writer_) return;
  writer_->Wait();
  TakeWriteResult();
}

void RecoverySession::TakeWriteResult() {
  const std::optional<QString> result = writer_ ? writer_->TakeResult() : std::nullopt;
  if (!result) return;
  lastError_ = *result;
  if (lastError_.isEmpty()) return;
  // Shown where it does not interrupt; the next change tries again.
  dirty_ = true;
  window_.statusBar()->showMessage(lastError_, 10000);
}

void RecoverySession::RemoveCopy() {
  if (!writer_) return;
  writer_->Submit([path = copyPath_] {
    QFile::remove(path);
    return QString();
  });
}

bool AskRestore(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Warning, "Warning", text, QMessageBox::NoButton, parent);
  QPushButton* restore = box.addButton("Restore", QMessageBox::AcceptRole);
  box.addButton("Discard", QMessageBox::DestructiveRole);
  box.setDefaultButton(restore);
  box.exec();
  return box.clickedButton() == restore;
}

QString RestoreQuestionText(const QDateTime& savedAt) {
  return QString("Mireforge did not close properly. Restore the unsaved work from %1?")
      .arg(QLocale().toString(savedAt.toLocalTime(), QLocale::ShortFormat));
}

bool OfferRecovery(TfMain& window, UserPrompts& prompts, const QString& folder, const RestoreQuestion& ask) {
  for (DeadSession& session : FindDeadSessions(folder)) {
    RecoveredProject recovered;
    try {
      recovered = ReadRecoveryCopy(session.copyPath);
    } catch (const std::exception& error) {
      QFile::rename(session.copyPath, session.copyPath + ".damaged");
      prompts.ShowError(&window, QString("The unsaved work kept in %1 cannot be restored: %2")
                                     .arg(session.copyPath + ".damaged", QString::fromStdString(error.what())));
      continue;
    }
    if (!ask(&window, RestoreQuestionText(recovered.savedAt))) {
      QFile::remove(session.copyPath);
      continue;
    }
    window.RestoreProject(std::move(recovered.project));
    // The session that now holds the work writes its own copy.
    QFile::remove(session.copyPath);
    return true;
  }
  return false;
}

void StartTestEdit(TfMain& window, RecoverySession& recovery) {
  const QStringList parts = qEnvironmentVariable("MIREFORGE_TEST_EDIT").split(',');
  if (parts.size() != 3) return;
  const int x = parts[0].toInt(), y = parts[1].toInt(), code = parts[2].toInt();
  // Waits for the map a file argument brings: loading lets events run part-way.
  auto attempt = std::make_shared<std::function<void(int)>>();
  *attempt = [&window, &recovery, attempt, x, y, code](int triesLeft) {
    const MapGrid& map = window.CurrentProject().Map;
    if (!window.MapPresent() || x < 0 || y < 0 || x >= map.Width || y >= map.Height) {
      if (triesLeft > 0) QTimer::singleShot(50, &window, [attempt, triesLeft] { (*attempt)(triesLeft - 1); });
      else *attempt = nullptr;  // gives up; breaks the cycle of the shared function
      return;
    }
    if (code >= 0 && code < TerrainCount)
      window.UndoStack().push(new PaintTerrainCommand(window.CurrentProject(), window, 0, x, y, code));
    recovery.Update();
    recovery.WaitForWrites();
    *attempt = nullptr;
  };
  QTimer::singleShot(0, &window, [attempt] { (*attempt)(200); });
}

}  // namespace mireforge
