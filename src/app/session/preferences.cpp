#include "app/session/preferences.h"

#include "app/session/file_names.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <string>

#include "base/ini_file.h"
#include "base/error.h"

namespace mireforge {

namespace {

constexpr const char* SettingsSection = "Settings";
// The settings and three lists of six paths fill a few kilobytes even with the
// longest paths; anything near this is not our file.
constexpr std::uint64_t MaxPreferencesFileBytes = 1024 * 1024;

std::string Utf8(const QString& text) { return text.toStdString(); }

// The stored settings in the order they are written; a missing key reads as the default.
struct SettingKey {
  const char* key;
  bool Settings::*value;
};
constexpr SettingKey SettingKeys[] = {
    {"AutoSaveMMF", &Settings::autoSaveMMF},
    {"RememberLastInput", &Settings::rememberLastInput},
    {"AutoMMUSQL", &Settings::autoMMUSQL},
    {"InterSelect", &Settings::interSelect},
    {"Show grid", &Settings::showGrid},
    {"Show description window", &Settings::showDescriptionWindow},
    {"Show terrain window", &Settings::showTerrainWindow},
    {"Show domains window", &Settings::showDomainsWindow},
    {"Show overview window", &Settings::showOverviewWindow},
    {"Show history window", &Settings::showHistoryWindow},
    {"Show statistics window", &Settings::showStatisticsWindow},
    {"Start fullscreen", &Settings::startFullscreen},
};

}  // namespace

void RecentList::Add(const QString& fileName) {
  const QString full = QFileInfo(fileName).absoluteFilePath();
  entries_.removeAll(full);
  entries_.prepend(full);
  while (entries_.size() > MaxEntries) entries_.removeLast();
}

void RecentList::Prune(const std::function<bool(const QString&)>& exists) {
  for (int i = static_cast<int>(entries_.size()) - 1; i >= 0; --i)
    if (!exists(entries_[i])) entries_.removeAt(i);
}

void RecentList::Read(const IniFile& ini, const char* section) {
  entries_.clear();
  for (int n = 1; n <= MaxEntries; ++n) {
    const std::string value = ini.ReadWholeString(section, "MRU" + std::to_string(n), "");
    if (!value.empty()) entries_.append(NameFromPath(value));
  }
}

void RecentList::Write(IniFile& ini, const char* section) const {
  for (int n = 1; n <= MaxEntries; ++n) {
    const std::string key = "MRU" + std::to_string(n);
    if (n <= entries_.size()) ini.WriteString(section, key, PathOf(entries_[n - 1]));
    else ini.DeleteKey(section, key);
  }
}

QString Preferences::DefaultPath() {
  const QString program = QCoreApplication::applicationFilePath();
  const QFileInfo folder(QFileInfo(program).absolutePath());
  const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  const QString path = PathFor(program, folder.isDir() && folder.isWritable(), config);
  if (path.startsWith(config)) QDir().mkpath(config);
  return path;
}

QString Preferences::PathFor(const QString& programPath, bool folderWritable, const QString& configFolder) {
  const QFileInfo info(programPath);
  const QString name = (info.completeBaseName().isEmpty() ? QString("mireforge") : info.completeBaseName()) + ".ini";
  const QString folder = QDir::cleanPath(info.absolutePath()) + "/";
  // Files there belong to packages: one left behind would outlive the package.
  static const QStringList systemFolders = {"/usr/", "/bin/", "/sbin/", "/opt/", "/snap/", "/app/", "/nix/", "/lib/", "/lib64/"};
  bool inSystemFolder = false;
  for (const QString& system : systemFolders) inSystemFolder = inSystemFolder || folder.startsWith(system);
#ifdef Q_OS_WIN
  for (const char* variable : {"ProgramFiles", "ProgramFiles(x86)", "SystemRoot"}) {
    const QString system = QDir::fromNativeSeparators(qEnvironmentVariable(variable));
    if (!system.isEmpty()) inSystemFolder = inSystemFolder || folder.startsWith(system + "/", Qt::CaseInsensitive);
  }
#endif
  if (!programPath.isEmpty() && folderWritable && !inSystemFolder) return QDir(info.absolutePath()).filePath(name);
  return QDir(configFolder).filePath(name);
}

void Preferences::Load(const QString& path) {
  IniFile ini;
  try {
    ini = IniFile::LoadIfExists(Utf8(path), MaxPreferencesFileBytes);
  } catch (const Error&) {
    // An unreadable preferences file must not stop the program: defaults apply.
  }
  const Settings defaults;
  for (const SettingKey& setting : SettingKeys)
    settings.*setting.value = ini.ReadBool(SettingsSection, setting.key, defaults.*setting.value);
  images.Read(ini, "MRUImages");
  projects.Read(ini, "MRUProjects");
  mmuMaps.Read(ini, "MRUMMUMaps");
}

void Preferences::Save(const QString& path) {
  IniFile ini;
  try {
    ini = IniFile::LoadIfExists(Utf8(path), MaxPreferencesFileBytes);
  } catch (const Error&) {
    // Unreadable: write a fresh file rather than lose the settings of this run.
  }
  const auto exists = [](const QString& file) { return NameExists(file); };
  images.Prune(exists);
  projects.Prune(exists);
  mmuMaps.Prune(exists);
  images.Write(ini, "MRUImages");
  projects.Write(ini, "MRUProjects");
  mmuMaps.Write(ini, "MRUMMUMaps");
  for (const SettingKey& setting : SettingKeys) ini.WriteBool(SettingsSection, setting.key, settings.*setting.value);
  ini.Save(Utf8(path), "Unable to write to %s");
}

}  // namespace mireforge
