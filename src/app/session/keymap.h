#pragma once
// Keys the user can change. Every command of the main window has an id (its
// caption without accelerator mark and ellipsis); a keymap gives each id its
// keys. The keys the window gives its commands are the default keymap.
#include <QKeySequence>
#include <QList>
#include <QMap>
#include <QString>
#include <vector>

class QAction;
class QWidget;

namespace mireforge {

class IniFile;

using KeyList = QList<QKeySequence>;

struct KeyCommand {
  QString id;
  QAction* action = nullptr;
};

class Keymap {
 public:
  // The window's commands that carry a caption, in their order, with unique ids.
  static std::vector<KeyCommand> CommandsOf(QWidget& window);

  Keymap() = default;
  // The keys the commands have now: the default keymap when taken at start.
  static Keymap Of(const std::vector<KeyCommand>& commands);
  // The default keymap with the keys most programs use for copy, cut, paste,
  // save and open project, undo and redo; the commands they displace move.
  static Keymap CommonKeys(const Keymap& defaults);

  KeyList Keys(const QString& id) const { return keys_.value(id); }
  void SetKeys(const QString& id, const KeyList& keys) { keys_[id] = keys; }
  const QMap<QString, KeyList>& All() const { return keys_; }
  bool operator==(const Keymap& other) const { return keys_ == other.keys_; }

  // The ids, other than id, that one of id's keys also starts.
  QStringList ConflictsOf(const QString& id) const;

  void Apply(const std::vector<KeyCommand>& commands) const;

  // Section "Keys" of the preferences: only what differs from defaults.
  static constexpr const char* Section = "Keys";
  void ReadChanges(const IniFile& ini, const char* section, const Keymap& defaults);
  void WriteChanges(IniFile& ini, const char* section, const Keymap& defaults) const;

  // A keymap file: section "Mireforge keymap", every command. Error on failure.
  void Export(const QString& path) const;
  // Reads the commands the file names, over defaults; Error when it is no keymap file.
  static Keymap Import(const QString& path, const Keymap& defaults);

 private:
  QMap<QString, KeyList> keys_;
};

}  // namespace mireforge
