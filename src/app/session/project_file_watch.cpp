#include "app/session/project_file_watch.h"

#include <QFileInfo>
#include <QTimer>
#include <QWidget>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include "app/dialogs/user_prompts.h"
#include "app/document/map_document.h"
#include "app/session/file_names.h"

namespace mireforge {

bool ProjectFileWatch::Identity::operator==(const Identity& other) const {
  return exists == other.exists && size == other.size && seconds == other.seconds &&
         nanoseconds == other.nanoseconds && device == other.device && inode == other.inode;
}

ProjectFileWatch::Identity ProjectFileWatch::IdentityOf(const QString& fileName) {
  Identity identity;
#ifdef Q_OS_UNIX
  // Nanoseconds and the inode: a same-sized rewrite within a second, or a file
  // renamed over ours, still shows.
  struct stat status {};
  if (::stat(BytesOfName(fileName).constData(), &status) != 0) return identity;
  identity.exists = true;
  identity.size = status.st_size;
  identity.seconds = status.st_mtim.tv_sec;
  identity.nanoseconds = status.st_mtim.tv_nsec;
  identity.device = status.st_dev;
  identity.inode = status.st_ino;
#else
  const QFileInfo info(fileName);
  if (!info.exists()) return identity;
  identity.exists = true;
  identity.size = info.size();
  identity.seconds = info.lastModified().toMSecsSinceEpoch();
#endif
  return identity;
}

ProjectFileWatch::ProjectFileWatch(QWidget& window, MapDocument& document, UserPrompts& prompts,
                                   std::function<void(const QString&)> reload)
    : QObject(&window), window_(window), document_(document), prompts_(prompts), reload_(std::move(reload)) {
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] {
    // Another program's save may come in several writes, or as a new file renamed over ours.
    QTimer::singleShot(100, this, &ProjectFileWatch::FileChanged);
  });
  // A map from elsewhere (new, generated, imported) leaves the file behind; a
  // restored one takes its file as it is now.
  const auto followName = [this] {
    if (NameFromPath(document_.FileName()) != file_) Remember(NameFromPath(document_.FileName()));
  };
  connect(&document_, &MapDocument::FileStateChanged, this, followName);
  connect(&document_, &MapDocument::MapReplaced, this, followName);
}

void ProjectFileWatch::Remember(const QString& fileName) {
  if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
  file_ = fileName;
  identity_ = file_.isEmpty() ? Identity{} : IdentityOf(file_);
  declined_ = {};
  Follow();
}

void ProjectFileWatch::Follow() {
  // A file replaced by a rename is no longer watched under its name.
  if (!file_.isEmpty() && QFileInfo::exists(file_) && !watcher_.files().contains(file_)) watcher_.addPath(file_);
}

bool ProjectFileWatch::ChangedOnDisk() const {
  // A file that went away holds no one's work: saving simply writes it again.
  if (file_.isEmpty() || !identity_.exists) return false;
  const Identity now = IdentityOf(file_);
  return now.exists && !(now == identity_);
}

void ProjectFileWatch::FileChanged() {
  Follow();
  if (asking_ || !ChangedOnDisk()) return;
  const Identity now = IdentityOf(file_);
  if (now == declined_) return;
  const QString name = ShownName(QFileInfo(file_).fileName());
  QString text = QString("%1 was changed by another program. Reload it?").arg(name);
  if (!document_.Saved()) text += " The changes made here since it was saved will be lost.";
  asking_ = true;
  const bool reload = prompts_.AskOffer(&window_, "Warning", text);
  asking_ = false;
  if (reload) reload_(QString(file_));
  else declined_ = now;
}

bool ProjectFileWatch::ConfirmOverwrite(const QString& fileName) {
  if (file_.isEmpty() || QFileInfo(fileName) != QFileInfo(file_) || !ChangedOnDisk()) return true;
  return prompts_.AskReplace(&window_, QString("%1 was changed by another program since it was opened here.\n"
                                               "Replace it with this project?")
                                           .arg(ShownName(QFileInfo(file_).fileName())));
}

}  // namespace mireforge
