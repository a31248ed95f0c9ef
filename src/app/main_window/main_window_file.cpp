// TfMain: new empty project, load and save commands, recent lists, the
// unsaved-changes question.
#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>

#include "app/actual_view/actual_view.h"
#include "app/panels/description_model.h"
#include "app/main_window/main_window.h"
#include "app/dialogs/small_forms.h"
#include "app/dialogs/user_prompts.h"
#include "app/session/desktop_session.h"
#include "app/session/file_names.h"
#include "app/session/project_file_watch.h"
#include "formats/html_map.h"
#include "generate/land_naming.h"
#include "formats/map_files.h"
#include "formats/midnight_map.h"
#include "formats/preview_image.h"
#include "formats/project_file.h"

namespace mireforge {

namespace {

std::string Path(const QString& name) { return PathOf(name); }

// A project's load or save reporting to the progress form.
ProjectProgress ReportTo(BusyScope& busy) {
  return [&busy](std::string_view label, int maximum, int position) { busy.Report(ShownText(label), maximum, position); };
}

constexpr const char* MmuSaveFilter = "Midnight/MU Map File (*.php)|*.php";
constexpr const char* MmuLoadFilter =
    "Midnight/MU map script file (*.php)|*.php|Tiled map (*.tmx; *.tmj)|*.tmx;*.tmj|CSV map (*.csv)|*.csv|"
    "All supported formats|*.php;*.tmx;*.tmj;*.csv";

bool CarriesDescriptions(const QString& fileName) {
  const QString extension = QFileInfo(fileName).suffix().toLower();
  return extension == "tmx" || extension == "tmj" || extension == "csv";
}
constexpr const char* PreviewSaveFilter = "Windows bitmap (*.bmp)|*.bmp|PNG image (*.png)|*.png";
constexpr const char* PreviewLoadFilter =
    "Windows bitmap (*.bmp)|*.bmp|PNG image (*.png)|*.png|All supported formats|*.bmp;*.png";

enum RecentKind { RecentProjects, RecentImages, RecentMaps };

}  // namespace

void TfMain::ShowFileState() {
  const std::string& file = document_.FileName();
  setWindowTitle(file.empty() ? QApplication::applicationName()
                              : QApplication::applicationName() + " - " + ShownName(QFileInfo(NameFromPath(file)).fileName()));
}

bool TfMain::AskSaveChanges(const QString& text) {
  if (project_.ProjectSaved) return true;
  switch (prompts_.AskYesNoCancel(this, text)) {
    case Answer::Yes:
      if (!project_.ProjectFileName.empty()) {
        const std::string file = project_.ProjectFileName;
        if (!fileWatch_->ConfirmOverwrite(NameFromPath(file))) return false;
        {
          BusyScope busy(fInfo);
          SaveProject(project_, file, ReportTo(busy));
        }
        document_.MarkSaved(file);
        fileWatch_->Remember(NameFromPath(file));
        SessionOf(*this)->ProjectSaved();
        return true;
      }
      // Cancelling the save dialog cancels the close or New as well, so no work is lost.
      return SaveProjectAs();
    case Answer::No: return true;
    case Answer::Cancel: break;
  }
  return false;
}

bool TfMain::ConfirmReplaceMap() {
  return AskSaveChanges("Do you want to save changes you made to current project?");
}

void TfMain::NewEmptyProject() {
  if (!ConfirmReplaceMap()) return;
  project_.Descriptions.Clear();
  project_.Domains.ResetDomains();
  project_.Map.ResizeMap(0, 0);
  project_.Map.RebuildTerrainRows();
  document_.MarkSaved({});
  document_.ResetHistory();
  document_.ReplaceMap(MapReplacement::Emptied, false, OriginNone);
}

void TfMain::RefreshMap(const QString& origin) {
  project_.Map.RebuildTerrainRows();
  document_.ReplaceMap(MapReplacement::Loaded, true, origin);
}

void TfMain::AfterDefaultMapLoad(const QString& origin, bool clearSaved, const LandNamingOptions* naming) {
  // The new map is not the project file's: saving must ask where it goes, never overwrite that file.
  document_.ForgetFileName();
  BuildDefaultDescriptions(project_.Descriptions, project_.Map);
  if (naming) NameTheLand(project_.Map, project_.Descriptions, project_.Domains, *naming);
  if (clearSaved) document_.MarkUnsaved();
  document_.ResetHistory();
  RefreshMap(origin);
}

void TfMain::SaveProjectCommand() { SaveProjectAs(); }

bool TfMain::SaveProjectAs() {
  const FileChoice choice = prompts_.SaveFile(this, ShownText(ProjectSaveTitle), ShownText(ProjectFileFilter), ShownText(ProjectFileExtension));
  if (choice.fileName.isEmpty() || !fileWatch_->ConfirmOverwrite(choice.fileName)) return false;
  {
    BusyScope busy(fInfo);
    SaveProject(project_, Path(choice.fileName), ReportTo(busy));
  }
  // Only a file that was written enters the list.
  RememberFile(prefs_.projects, choice.fileName);
  document_.MarkSaved(Path(choice.fileName));
  fileWatch_->Remember(choice.fileName);
  SessionOf(*this)->ProjectSaved();
  return true;
}

void TfMain::LoadProjectCommand() {
  if (!ConfirmReplaceMap()) return;
  const FileChoice choice = prompts_.OpenFile(this, ShownText(ProjectLoadTitle), ShownText(ProjectFileFilter), ShownText(ProjectFileExtension));
  if (choice.fileName.isEmpty()) return;
  RememberFile(prefs_.projects, choice.fileName);
  LoadProjectFile(choice.fileName);
}

bool TfMain::LoadProjectFile(const QString& fileName) {
  try {
    BusyScope busy(fInfo);
    // The load is all or nothing into the project, so the grid never sees a half-read map.
    LoadProject(project_, Path(fileName), ReportTo(busy));
  } catch (const ProjectVersionError& refused) {
    prompts_.ShowInformation(this, QString::fromStdString(refused.what()));
    return false;
  }
  project_.ProjectFileName = Path(fileName);
  ShowLoadedProject();
  fileWatch_->Remember(fileName);
  return true;
}

void TfMain::ShowLoadedProject(const QString& origin) {
  document_.ResetHistory();
  RefreshMap(origin);
}

void TfMain::SaveMMUCommand() {
  const FileChoice choice = prompts_.SaveFile(this, "Save Midnight/MU Map script file", MmuSaveFilter, "php");
  if (choice.fileName.isEmpty()) return;
  {
    BusyScope busy;
    RunExport(this, [this, path = Path(choice.fileName)] { WriteMidnightMap(path, project_.Map, false); });
  }
  RememberFile(prefs_.mmuMaps, choice.fileName);
}

void TfMain::SaveMapImageCommand() {
  const FileChoice choice = prompts_.SaveFile(this, "Save map image", PreviewSaveFilter, "bmp");
  if (choice.fileName.isEmpty()) return;
  const GridOptions& options = DG->Options();
  // The write may run again later (the session repeats exports): it holds its own guard.
  RunExport(this, [this, path = Path(choice.fileName), type = static_cast<PictureFileType>(choice.filterIndex),
                   style = CurrentTileStyle(), size = options.tileSize, grid = options.gridLines ? 1 : 0] {
    BusyScope busy(fInfo);
    const int rows = project_.Map.Height;
    busy.Report(ShownText(SavingLabel), rows, 0);
    SaveMapImage(path, type, project_.Map, tiles_.MapImageTiles(style), size, grid,
                 [&busy, rows](int done, int) { busy.Report(ShownText(SavingLabel), rows, done); });
  });
}

void TfMain::LoadMMUCommand() {
  if (!ConfirmReplaceMap()) return;
  const FileChoice choice = prompts_.OpenFile(this, "Load Midnight/MU map script file", MmuLoadFilter, "php");
  if (choice.fileName.isEmpty()) return;
  RememberFile(prefs_.mmuMaps, choice.fileName);
  LoadMapFile(choice.fileName, true, ReadMidnightMap);
}

void TfMain::SavePreviewCommand() {
  const FileChoice choice = prompts_.SaveFile(this, "Save preview image", PreviewSaveFilter, "bmp");
  if (choice.fileName.isEmpty()) return;
  {
    BusyScope busy;
    RunExport(this, [this, path = Path(choice.fileName), type = static_cast<PictureFileType>(choice.filterIndex)] {
      SavePreviewImage(path, type, project_.Map);
    });
  }
  RememberFile(prefs_.images, choice.fileName);
}

void TfMain::LoadPreviewCommand() {
  if (!ConfirmReplaceMap()) return;
  const FileChoice choice = prompts_.OpenFile(this, "Load preview image", PreviewLoadFilter, "bmp");
  if (choice.fileName.isEmpty()) return;
  RememberFile(prefs_.images, choice.fileName);
  LoadMapFile(choice.fileName, true, LoadPreviewImage);
}

void TfMain::LoadMapFile(const QString& fileName, bool clearSaved, MapReader read) {
  if (CarriesDescriptions(fileName)) return LoadDescribedMap(fileName, clearSaved);
  {
    BusyScope busy;
    read(Path(fileName), project_.Map);
  }
  AfterDefaultMapLoad(OriginFile, clearSaved);
}

void TfMain::LoadDescribedMap(const QString& fileName, bool clearSaved) {
  Project loaded;
  {
    BusyScope busy;
    loaded = ::mireforge::LoadMapFile(Path(fileName));
  }
  // The file holds no generator rows: the wizard keeps its own, as with any map file.
  loaded.Rows = std::move(project_.Rows);
  loaded.Settings = project_.Settings;
  if (!clearSaved) loaded.ProjectSaved = project_.ProjectSaved;
  project_ = std::move(loaded);
  ShowLoadedProject(OriginFile);
}

void TfMain::RememberFile(RecentList& recent, const QString& fileName) {
  recent.Add(fileName);
  RebuildRecentMenu();
}

bool TfMain::OpenFile(const QString& fileName) {
  const QString extension = QFileInfo(fileName).suffix().toLower();
  const bool project = extension == "mfp";
  const bool mmuMap = extension == "php" || extension == "mmf" || CarriesDescriptions(fileName);
  if (!project && !mmuMap && extension != "bmp" && extension != "png") return false;
  OpenRecent(project ? RecentProjects : mmuMap ? RecentMaps : RecentImages, fileName, true);
  return true;
}

void TfMain::OpenRecent(int list, const QString& fileName, bool clearSaved) {
  if (!ConfirmReplaceMap()) return;
  RecentList& recent = list == RecentProjects ? prefs_.projects : list == RecentImages ? prefs_.images : prefs_.mmuMaps;
  RememberFile(recent, fileName);
  if (list == RecentProjects) LoadProjectFile(fileName);
  else LoadMapFile(fileName, clearSaved, list == RecentImages ? LoadPreviewImage : ReadMidnightMap);
}

void TfMain::RebuildRecentMenu() {
  mRecent->clear();
  struct Group {
    const char* label;
    const RecentList* list;
    int kind;
  };
  const Group groups[] = {{"Mireforge projects", &prefs_.projects, RecentProjects},
                          {"Preview images", &prefs_.images, RecentImages},
                          {"Midnight/MU maps", &prefs_.mmuMaps, RecentMaps}};
  bool first = true;
  for (const Group& group : groups) {
    if (!first) mRecent->addSeparator();
    first = false;
    QAction* label = mRecent->addAction(group.label);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setEnabled(false);
    const QStringList entries = group.list->Entries();
    for (int i = 0; i < entries.size(); ++i) {
      const QString file = entries[i];
      QAction* entry = mRecent->addAction(QString("&%1 %2").arg(i + 1).arg(ShownName(QFileInfo(file).fileName())));
      entry->setToolTip(ShownName(file));
      entry->setStatusTip(ShownName(file));
      const int kind = group.kind;
      connect(entry, &QAction::triggered, this, [this, kind, file] { Guard([this, kind, file] { OpenRecent(kind, file); }); });
    }
  }
}

bool TfMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched != this || (event->type() != QEvent::DragEnter && event->type() != QEvent::Drop))
    return QMainWindow::eventFilter(watched, event);
  auto* drop = static_cast<QDropEvent*>(event);
  const QList<QUrl> urls = drop->mimeData()->urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return false;
  drop->acceptProposedAction();
  if (event->type() == QEvent::Drop) {
    const QString file = NameOfLocalUrl(urls.first());
    Guard([this, file] {
      if (!OpenFile(file)) prompts_.ShowError(this, "Unknown file type: " + ShownName(QFileInfo(file).fileName()));
    });
  }
  return true;
}

}  // namespace mireforge
