#pragma once
// The preferences file: section "Settings" and the three recent-file lists.
#include <QString>
#include <QStringList>
#include <functional>

namespace mireforge {

class IniFile;

struct Settings {
  bool showGrid = false;
  bool startFullscreen = true;
  bool interSelect = true;
  bool showDescriptionWindow = true;
  bool showTerrainWindow = true;
  bool showDomainsWindow = true;
  bool showOverviewWindow = true;
  bool showHistoryWindow = false;
  bool showStatisticsWindow = false;
  bool autoMMUSQL = false;
  bool autoSaveMMF = false;
  bool rememberLastInput = false;
  bool invertRowCol = false;  // kept only while the program runs, never stored
};

// Newest first, at most six full path names.
class RecentList {
 public:
  static constexpr int MaxEntries = 6;

  // Expands the name to a full path, puts it on top (moving it if listed), keeps six.
  void Add(const QString& fileName);
  // Drops every entry whose file no longer exists, from the last entry to the first.
  void Prune(const std::function<bool(const QString&)>& exists);
  void Read(const IniFile& ini, const char* section);
  // Entry n under "MRU" n; the keys of positions without an entry are deleted.
  void Write(IniFile& ini, const char* section) const;

  const QStringList& Entries() const { return entries_; }
  void Clear() { entries_.clear(); }

 private:
  QStringList entries_;
};

struct Preferences {
  Settings settings;
  RecentList projects, images, mmuMaps;

  // PathFor this program, its folder's writability and the user's configuration folder.
  static QString DefaultPath();
  // Beside a program run from a writable folder of its own (a build folder);
  // in configFolder for one installed in a system folder, even one root
  // could write to, or in a folder it cannot write.
  static QString PathFor(const QString& programPath, bool folderWritable, const QString& configFolder);
  // A missing or unreadable file or key gives the defaults.
  void Load(const QString& path);
  // Prunes the recent lists, then writes them and "Settings"; throws Error on failure.
  void Save(const QString& path);
};

}  // namespace mireforge
