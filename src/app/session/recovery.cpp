#include "app/session/recovery.h"

#include <QCoreApplication>
#include <QMainWindow>
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
#include <zlib.h>
#include <utility>
#include <vector>

#include "app/dialogs/user_prompts.h"
#include "app/document/map_document.h"
#include "base/file_io.h"
#include "base/ini_file.h"
#include "formats/project_file.h"
#include "base/error.h"

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

QString DefaultRecoveryFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/recovery";
}

namespace {

constexpr const char* IncompleteCopy = "the copy is damaged or incomplete";

std::string Checksum(std::string_view bytes) {
  const uLong crc = ::crc32(::crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.data()),
                            static_cast<uInt>(bytes.size()));
  return QString::number(static_cast<qulonglong>(crc), 16).toStdString();
}

}  // namespace

void WriteRecoveryCopy(const Project& project, const QString& path, const QDateTime& savedAt) {
  IniFile ini;
  WriteProject(project, ini);
  std::string bytes = ini.Serialize();
  // After the project's own sections, so the copy still begins like any project
  // file; its length and checksum cover everything before it.
  IniFile tail;
  tail.WriteString(RecoverySection, "ProjectFileName", project.ProjectFileName);
  tail.WriteString(RecoverySection, "Time", savedAt.toUTC().toString(Qt::ISODateWithMs).toStdString());
  tail.WriteInteger(RecoverySection, "Bytes", static_cast<long long>(bytes.size()));
  tail.WriteString(RecoverySection, "Checksum", Checksum(bytes));
  bytes += tail.Serialize();
  WriteWholeFile(Local(path), bytes, "Unable to write to %s");
}

RecoveredProject ReadRecoveryCopy(const QString& path) {
  const std::string bytes = ReadWholeFile(Local(path), MaxProjectFileBytes);
  const IniFile ini = IniFile::Parse(bytes);
  const std::int32_t length = ini.ReadInteger(RecoverySection, "Bytes", -1);
  const std::string recoveryHead = std::string("[") + RecoverySection + "]";
  if (length < 0 || static_cast<std::size_t>(length) > bytes.size() ||
      bytes.compare(static_cast<std::size_t>(length), recoveryHead.size(), recoveryHead) != 0 ||
      ini.ReadString(RecoverySection, "Checksum", "") != Checksum(std::string_view(bytes).substr(0, length)))
    throw Error(IncompleteCopy);
  RecoveredProject recovered;
  ReadProject(ini, recovered.project);
  recovered.project.ProjectFileName = ini.ReadWholeString(RecoverySection, "ProjectFileName", "");
  recovered.project.ProjectSaved = false;
  recovered.savedAt =
      QDateTime::fromString(QString::fromStdString(ini.ReadString(RecoverySection, "Time", "")), Qt::ISODateWithMs);
  if (!recovered.savedAt.isValid()) recovered.savedAt = QFileInfo(path).lastModified();
  return recovered;
}

RecoverySession::RecoverySession(QMainWindow& window, MapDocument& document, QString folder, int intervalMs)
    : window_(window), document_(document), folder_(std::move(folder)) {
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

  writer_.setMaxThreadCount(1);
  timer_.setSingleShot(true);
  // A wholesale change (load, fill, blank map, a transform, and their undo) is
  // written at once; cell and panel edits within the interval, so that a stroke
  // is copied once a second rather than once per cell.
  connect(&document.UndoStack(), &QUndoStack::indexChanged, this, [this] {
    dirty_ = true;
    ScheduleUpdate(false);  // also removes the copy once saved
    if (!timer_.isActive()) timer_.start();
  });
  connect(&document, &MapDocument::FileStateChanged, this, [this] { ScheduleUpdate(false); });
  connect(&document, &MapDocument::MapReplaced, this, [this] { ScheduleUpdate(true); });
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (dirty_) Update();
  });
  timer_.setInterval(intervalMs);
  // A project that starts out unsaved (a restored one) is protected at once.
  dirty_ = !document_.CurrentProject().ProjectSaved;
  ScheduleUpdate(dirty_);
}

RecoverySession::~RecoverySession() {
  writer_.waitForDone();
  if (!copyPath_.isEmpty()) QFile::remove(copyPath_);
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
    if (document_.CurrentProject().ProjectSaved) RemoveCopy();
    else if (writeNow) Update();
  });
}

void RecoverySession::Update() {
  if (copyPath_.isEmpty()) return;
  const Project& project = document_.CurrentProject();
  if (project.ProjectSaved || project.Map.Cells.empty()) {
    RemoveCopy();
    return;
  }
  dirty_ = true;
  if (writing_) return;  // the end of this write starts the next
  // Open dialogs do not hold the copy back; only a wizard building a new map
  // into the project does, and the copy waits for what it leaves behind.
  if (document_.Replacing()) {
    if (!timer_.isActive()) timer_.start();
    return;
  }
  dirty_ = false;
  writing_ = true;
  removeAfterWrite_ = false;
  // The snapshot is the only part on the GUI thread; the write runs beside it.
  auto snapshot = std::make_shared<const Project>(project);
  const QString path = copyPath_;
  const QDateTime now = QDateTime::currentDateTime();
  writer_.start([this, snapshot, path, now] {
    QString error;
    try {
      WriteRecoveryCopy(*snapshot, path, now);
    } catch (const std::exception& e) {
      error = QString::fromStdString(e.what());
    }
    QMetaObject::invokeMethod(this, [this, error] { WriteFinished(error); }, Qt::QueuedConnection);
  });
}

void RecoverySession::WriteFinished(const QString& error) {
  if (!writing_) return;  // already handled by WaitForWrite
  writing_ = false;
  if (error.isEmpty()) {
    lastError_.clear();
    emit CopyWritten();
  } else {
    // Shown where it does not interrupt; the next change tries again.
    lastError_ = "Autosave failed: " + error;
    window_.statusBar()->showMessage(lastError_, 10000);
  }
  // Saved (or undone to the saved state) while the copy was being written.
  if (std::exchange(removeAfterWrite_, false)) QFile::remove(copyPath_);
  if (dirty_ && !timer_.isActive()) timer_.start();
}

void RecoverySession::WaitForWrite() {
  writer_.waitForDone();
  // The queued end of the write, if it has not been handled yet.
  QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void RecoverySession::RemoveCopy() {
  if (copyPath_.isEmpty()) return;
  dirty_ = false;
  if (writing_) removeAfterWrite_ = true;
  QFile::remove(copyPath_);
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

QString LeftoverQuestionText(const QString& folder) {
  const std::vector<std::string> leftovers = StaleTemporaryFiles(Local(folder), false);
  if (leftovers.empty()) return {};
  QStringList lines;
  for (const std::string& file : leftovers) {
    const QFileInfo info(QFile::decodeName(file.c_str()));
    lines << QString("%1 (%2)").arg(info.fileName(), QLocale().formattedDataSize(info.size()));
  }
  return QString("Saves that were cut short left these files in %1:\n%2\n\nA file that was being written in place "
                 "may hold its only whole copy. Remove them?")
      .arg(folder, lines.join('\n'));
}

bool OfferRecovery(QWidget& window, MapDocument& document, UserPrompts& prompts, const QString& folder,
                   const RestoreQuestion& ask) {
  if (const QString question = LeftoverQuestionText(folder); !question.isEmpty())
    if (prompts.AskOffer(&window, "Warning", question)) StaleTemporaryFiles(Local(folder), true);
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
    document.Restore(std::move(recovered.project));
    // The session that now holds the work writes its own copy.
    QFile::remove(session.copyPath);
    return true;
  }
  return false;
}

}  // namespace mireforge
