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
  Settings& s = settings;
  s.showGrid = ini.ReadBool(SettingsSection, "Show grid", false);
  s.startFullscreen = ini.ReadBool(SettingsSection, "Start fullscreen", true);
  s.interSelect = ini.ReadBool(SettingsSection, "InterSelect", true);
  s.showDescriptionWindow = ini.ReadBool(SettingsSection, "Show description window", true);
  s.showTerrainWindow = ini.ReadBool(SettingsSection, "Show terrain window", true);
  s.showDomainsWindow = ini.ReadBool(SettingsSection, "Show domains window", true);
  s.showOverviewWindow = ini.ReadBool(SettingsSection, "Show overview window", true);
  s.showHistoryWindow = ini.ReadBool(SettingsSection, "Show history window", false);
  s.showStatisticsWindow = ini.ReadBool(SettingsSection, "Show statistics window", false);
  s.autoMMUSQL = ini.ReadBool(SettingsSection, "AutoMMUSQL", false);
  s.autoSaveMMF = ini.ReadBool(SettingsSection, "AutoSaveMMF", false);
  s.rememberLastInput = ini.ReadBool(SettingsSection, "RememberLastInput", false);
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
  const Settings& s = settings;
  ini.WriteBool(SettingsSection, "AutoSaveMMF", s.autoSaveMMF);
  ini.WriteBool(SettingsSection, "RememberLastInput", s.rememberLastInput);
  ini.WriteBool(SettingsSection, "AutoMMUSQL", s.autoMMUSQL);
  ini.WriteBool(SettingsSection, "InterSelect", s.interSelect);
  ini.WriteBool(SettingsSection, "Show grid", s.showGrid);
  ini.WriteBool(SettingsSection, "Show description window", s.showDescriptionWindow);
  ini.WriteBool(SettingsSection, "Show terrain window", s.showTerrainWindow);
  ini.WriteBool(SettingsSection, "Show domains window", s.showDomainsWindow);
  ini.WriteBool(SettingsSection, "Show overview window", s.showOverviewWindow);
  ini.WriteBool(SettingsSection, "Show history window", s.showHistoryWindow);
  ini.WriteBool(SettingsSection, "Show statistics window", s.showStatisticsWindow);
  ini.WriteBool(SettingsSection, "Start fullscreen", s.startFullscreen);
  ini.Save(Utf8(path), "Unable to write to %s");
}

}  // namespace mireforge
