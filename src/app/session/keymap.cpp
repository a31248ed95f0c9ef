#include "app/session/keymap.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "base/ini_file.h"
#include "base/error.h"

namespace mireforge {

namespace {

constexpr const char* FileSection = "Mireforge keymap";
constexpr std::uint64_t MaxKeymapFileBytes = 256 * 1024;

QString CommandId(const QAction& action) {
  QString id = action.text();
  id.remove('&');
  if (id.endsWith("...")) id.chop(3);
  return id.trimmed();
}

std::string KeyText(const KeyList& keys) { return QKeySequence::listToString(keys, QKeySequence::PortableText).toStdString(); }

KeyList KeysOf(const std::string& text) {
  KeyList keys;
  for (const QKeySequence& key : QKeySequence::listFromString(QString::fromStdString(text), QKeySequence::PortableText))
    if (!key.isEmpty()) keys << key;
  return keys;
}

// Usable as an INI key: no "=", no leading "[", no blanks at the ends.
bool StorableId(const QString& id) { return !id.isEmpty() && !id.contains('=') && !id.startsWith('['); }

}  // namespace

std::vector<KeyCommand> Keymap::CommandsOf(QWidget& window) {
  std::vector<KeyCommand> commands;
  QMap<QString, int> seen;
  for (QAction* action : window.actions()) {
    if (action->isSeparator() || action->menu()) continue;
    QString id = CommandId(*action);
    if (!StorableId(id)) continue;
    const int count = ++seen[id];
    if (count > 1) id += QString(" (%1)").arg(count);
    commands.push_back({id, action});
  }
  return commands;
}

Keymap Keymap::Of(const std::vector<KeyCommand>& commands) {
  Keymap map;
  for (const KeyCommand& command : commands) map.keys_[command.id] = command.action->shortcuts();
  return map;
}

Keymap Keymap::CommonKeys(const Keymap& defaults) {
  Keymap map = defaults;
  // What most programs do; a command whose key is taken keeps its other keys or gets a free one.
  const std::pair<const char*, const char*> changes[] = {
      {"Copy", "Ctrl+C; Ctrl+Ins"},
      {"Cut", "Ctrl+X; Shift+Del"},
      {"Paste", "Ctrl+V; Shift+Ins"},
      {"Save Mireforge project", "Ctrl+S"},
      {"Load Mireforge project", "Ctrl+O"},
      {"Undo", "Ctrl+Z"},
      {"Redo", "Ctrl+Shift+Z; Ctrl+Y"},
      {"Create map", "Ctrl+N"},
      {"Save map image to file", "Ctrl+Shift+E"},
      {"Preferences", "Ctrl+,"},
      {"Exit", "Ctrl+Q; Alt+F4"},
  };
  for (const auto& [id, keys] : changes)
    if (map.keys_.contains(id)) map.keys_[id] = KeysOf(keys);
  return map;
}

QStringList Keymap::ConflictsOf(const QString& id) const {
  QStringList others;
  const KeyList mine = keys_.value(id);
  for (auto it = keys_.begin(); it != keys_.end(); ++it) {
    if (it.key() == id) continue;
    bool clash = false;
    for (const QKeySequence& key : mine)
      for (const QKeySequence& other : it.value())
        clash = clash || key.matches(other) != QKeySequence::NoMatch || other.matches(key) != QKeySequence::NoMatch;
    if (clash) others << it.key();
  }
  return others;
}

void Keymap::Apply(const std::vector<KeyCommand>& commands) const {
  for (const KeyCommand& command : commands)
    if (keys_.contains(command.id)) command.action->setShortcuts(keys_.value(command.id));
}

void Keymap::ReadChanges(const IniFile& ini, const char* section, const Keymap& defaults) {
  keys_ = defaults.keys_;
  for (auto it = keys_.begin(); it != keys_.end(); ++it) {
    const std::string key = it.key().toStdString();
    if (ini.KeyExists(section, key)) it.value() = KeysOf(ini.ReadWholeString(section, key, ""));
  }
}

void Keymap::WriteChanges(IniFile& ini, const char* section, const Keymap& defaults) const {
  ini.EraseSection(section);
  for (auto it = keys_.begin(); it != keys_.end(); ++it)
    if (it.value() != defaults.keys_.value(it.key())) ini.WriteString(section, it.key().toStdString(), KeyText(it.value()));
}

void Keymap::Export(const QString& path) const {
  IniFile ini;
  for (auto it = keys_.begin(); it != keys_.end(); ++it)
    ini.WriteString(FileSection, it.key().toStdString(), KeyText(it.value()));
  ini.Save(path.toStdString(), "Cannot create file %s");
}

Keymap Keymap::Import(const QString& path, const Keymap& defaults) {
  const IniFile ini = IniFile::Load(path.toStdString(), MaxKeymapFileBytes);
  if (!ini.SectionExists(FileSection)) throw Error(FormatMessage("%s is not a Mireforge keymap file", path.toStdString()));
  Keymap map;
  map.ReadChanges(ini, FileSection, defaults);
  return map;
}

}  // namespace mireforge
