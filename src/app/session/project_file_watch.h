#pragma once
// Notices when another program changes the project file the open map came
// from: the file's size, time and identity are kept at each load and save,
// and a watcher follows the file while it is open. A change is offered for
// reloading at once; saving over a changed file asks first, so that another
// program's work is never replaced unseen (nor mixed with ours).
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace mireforge {

class MapDocument;
class UserPrompts;

class ProjectFileWatch : public QObject {
  Q_OBJECT
 public:
  // reload loads the named file into the document as the project command does.
  ProjectFileWatch(QWidget& window, MapDocument& document, UserPrompts& prompts,
                   std::function<void(const QString&)> reload);

  // The file as it is now holds the document's map: after a load or a save.
  void Remember(const QString& fileName);
  // True when fileName may be written: it is not the file remembered, or it is
  // as it was, or the user agreed to replace what another program wrote.
  bool ConfirmOverwrite(const QString& fileName);

 private:
  struct Identity {
    bool exists = false;
    qint64 size = 0;
    qint64 seconds = 0, nanoseconds = 0;
    quint64 device = 0, inode = 0;
    bool operator==(const Identity& other) const;
  };
  static Identity IdentityOf(const QString& fileName);
  bool ChangedOnDisk() const;
  void FileChanged();
  void Follow();

  QWidget& window_;
  MapDocument& document_;
  UserPrompts& prompts_;
  std::function<void(const QString&)> reload_;
  QFileSystemWatcher watcher_;
  QString file_;
  Identity identity_;
  Identity declined_;  // a change offered for reloading and kept; the save asks
  bool asking_ = false;
};

}  // namespace mireforge
