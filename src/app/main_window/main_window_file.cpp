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
#include "formats/html_map.h"
#include "formats/midnight_map.h"
#include "formats/preview_image.h"
#include "formats/project_file.h"

namespace mireforge {

namespace {

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }
std::string Path(const QString& name) { return name.toStdString(); }

constexpr const char* MmuSaveFilter = "Midnight/MU Map File (*.php)|*.php";
constexpr const char* MmuLoadFilter = "Midnight/MU map script file (*.php)|*.php";
constexpr const char* PreviewSaveFilter = "Windows bitmap (*.bmp)|*.bmp|PNG image (*.png)|*.png";
constexpr const char* PreviewLoadFilter =
    "Windows bitmap (*.bmp)|*.bmp|PNG image (*.png)|*.png|All supported formats|*.bmp;*.png";

enum RecentKind { RecentProjects, RecentImages, RecentMaps };

// The busy cursor for the length of a scope, also when the operation throws.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

void TfMain::ResetHistory() {
  resettingHistory_ = true;
  undo_.clear();
  // Undoing must never lead back to a state that counts as saved when it was not.
  if (!project_.ProjectSaved) undo_.resetClean();
  resettingHistory_ = false;
}

void TfMain::MarkSaved() {
  resettingHistory_ = true;
  undo_.setClean();
  resettingHistory_ = false;
  project_.ProjectSaved = true;
}

void TfMain::SetTitleFromProject() {
  setWindowTitle(QApplication::applicationName() + " - " +
                 QFileInfo(QString::fromStdString(project_.ProjectFileName)).fileName());
}

bool TfMain::AskSaveChanges(const QString& text) {
  if (project_.ProjectSaved) return true;
  switch (prompts_.AskYesNoCancel(this, text)) {
    case Answer::Yes:
      if (!project_.ProjectFileName.empty()) {
        const std::string file = project_.ProjectFileName;
        BusyCursor busy;
        SaveProject(project_, file, [this](std::string_view label, int maximum, int position) {
          if (!fInfo->isVisible()) fInfo->Start(Q(label), maximum);
          fInfo->SetPosition(position);
        });
        fInfo->Finish();
        MarkSaved();
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
  mapPresent_ = false;
  DG->SetDisplay(CellDisplay::None);
  project_.Descriptions.Clear();
  descModel->Reset();
  project_.Domains.ResetDomains();
  RebuildDomainPanel();
  project_.Map.ResizeMap(0, 0);
  project_.Map.RebuildTerrainRows();
  fActualView->Refresh();
  DG->SetGridSize(DefaultMapWidth, DefaultMapHeight);
  DG->SetCurrentCell(0, 0);
  DG->RedrawAll();
  ForgetProjectFile();
  MarkSaved();
  ResetHistory();
  ChooseTileSize(0);
  origin_ = OriginNone;
  SetStatus(0, QString("%1x%2").arg(DefaultMapWidth).arg(DefaultMapHeight));
  SetStatus(1, origin_);
  SetStatus(7, QString());
  SetStatusColor(palette().color(QPalette::Window));
  UpdateCommands();
  emit MapChanged();
}

void TfMain::RefreshMap(const QString& origin) {
  DG->SetGridSize(project_.Map.Width, project_.Map.Height);
  mapPresent_ = true;
  DG->SetDisplay(CellDisplay::Terrain);
  UpdateCommands();
  DG->RedrawAll();
  project_.Map.RebuildTerrainRows();
  SetStatus(0, QString("%1x%2").arg(project_.Map.Width).arg(project_.Map.Height));
  origin_ = origin;
  SetStatus(1, origin);
  DG->RedrawAll();
  fActualView->Refresh();
  emit MapReplaced();
  emit MapChanged();
}

void TfMain::ForgetProjectFile() {
  project_.ProjectFileName.clear();
  // The title must not name a file that no longer holds the map on screen.
  setWindowTitle(QApplication::applicationName());
}

void TfMain::AfterDefaultMapLoad(const QString& origin, bool clearSaved) {
  // The new map is not the project file's: saving must ask where it goes, never overwrite that file.
  ForgetProjectFile();
  RefreshMap(origin);
  BuildDefaultDescriptions(project_.Descriptions, project_.Map);
  descModel->Reset();
  RebuildDomainPanel();
  DG->RedrawAll();
  if (clearSaved) project_.ProjectSaved = false;
  ResetHistory();
  CellSelected(DG->CurrentColumn(), DG->CurrentRow());
}

void TfMain::SaveProjectCommand() { SaveProjectAs(); }

bool TfMain::SaveProjectAs() {
  const FileChoice choice = prompts_.SaveFile(this, Q(ProjectSaveTitle), Q(ProjectFileFilter), Q(ProjectFileExtension));
  if (choice.fileName.isEmpty()) return false;
  RememberFile(prefs_.projects, choice.fileName);
  {
    BusyCursor busy;
    SaveProject(project_, Path(choice.fileName), [this](std::string_view label, int maximum, int position) {
      if (!fInfo->isVisible()) fInfo->Start(Q(label), maximum);
      fInfo->SetPosition(position);
    });
    fInfo->Finish();
  }
  project_.ProjectFileName = Path(choice.fileName);
  MarkSaved();
  SessionOf(*this)->ProjectSaved();
  SetTitleFromProject();
  return true;
}

void TfMain::LoadProjectCommand() {
  if (!ConfirmReplaceMap()) return;
  const FileChoice choice = prompts_.OpenFile(this, Q(ProjectLoadTitle), Q(ProjectFileFilter), Q(ProjectFileExtension));
  if (choice.fileName.isEmpty()) return;
  RememberFile(prefs_.projects, choice.fileName);
  LoadProjectFile(choice.fileName);
}

void TfMain::LoadProjectFile(const QString& fileName) {
  try {
    BusyCursor busy;
    // The load is all or nothing into the project, so the grid never sees a half-read map.
    LoadProject(project_, Path(fileName), [this](std::string_view label, int maximum, int position) {
      if (!fInfo->isVisible() || fInfo->lInfo->text() != Q(label)) fInfo->Start(Q(label), maximum);
      fInfo->SetPosition(position);
    });
    fInfo->Finish();
  } catch (const ProjectVersionError& refused) {
    fInfo->Finish();
    prompts_.ShowInformation(this, QString::fromStdString(refused.what()));
    return;
  } catch (...) {
    fInfo->Finish();
    throw;
  }
  project_.ProjectFileName = Path(fileName);
  ShowLoadedProject();
}

void TfMain::ShowLoadedProject() {
  ResetHistory();
  RefreshMap(OriginProject);
  descModel->Reset();
  RebuildDomainPanel();
  DG->RedrawAll();
  if (project_.ProjectFileName.empty()) setWindowTitle(QApplication::applicationName());
  else SetTitleFromProject();
  CellSelected(DG->CurrentColumn(), DG->CurrentRow());
}

void TfMain::RestoreProject(Project restored) {
  project_ = std::move(restored);
  ShowLoadedProject();
}

void TfMain::SaveMMUCommand() {
  const FileChoice choice = prompts_.SaveFile(this, "Save Midnight/MU Map script file", MmuSaveFilter, "php");
  if (choice.fileName.isEmpty()) return;
  RememberFile(prefs_.mmuMaps, choice.fileName);
  BusyCursor busy;
  RunExport(this, [this, path = Path(choice.fileName)] { WriteMidnightMap(path, project_.Map, false); });
}

void TfMain::SaveMapImageCommand() {
  const FileChoice choice = prompts_.SaveFile(this, "Save map image", PreviewSaveFilter, "bmp");
  if (choice.fileName.isEmpty()) return;
  const GridOptions& options = DG->Options();
  BusyCursor busy;
  RunExport(this, [this, path = Path(choice.fileName), type = static_cast<PictureFileType>(choice.filterIndex),
                   style = CurrentTileStyle(), size = options.tileSize, grid = options.gridLines ? 1 : 0] {
    fInfo->Start("Saving, please wait...", project_.Map.Height);
    SaveMapImage(path, type, project_.Map, tiles_.MapImageTiles(style), size, grid,
                 [this](int done, int) { fInfo->SetPosition(done); });
    fInfo->Finish();
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
  RememberFile(prefs_.images, choice.fileName);
  BusyCursor busy;
  RunExport(this, [this, path = Path(choice.fileName), type = static_cast<PictureFileType>(choice.filterIndex)] {
    SavePreviewImage(path, type, project_.Map);
  });
}

void TfMain::LoadPreviewCommand() {
  if (!ConfirmReplaceMap()) return;
  const FileChoice choice = prompts_.OpenFile(this, "Load preview image", PreviewLoadFilter, "bmp");
  if (choice.fileName.isEmpty()) return;
  RememberFile(prefs_.images, choice.fileName);
  LoadMapFile(choice.fileName, true, LoadPreviewImage);
}

void TfMain::LoadMapFile(const QString& fileName, bool clearSaved, MapReader read) {
  {
    BusyCursor busy;
    read(Path(fileName), project_.Map);
  }
  AfterDefaultMapLoad(OriginFile, clearSaved);
}

void TfMain::RememberFile(RecentList& recent, const QString& fileName) {
  recent.Add(fileName);
  RebuildRecentMenu();
}

bool TfMain::OpenFile(const QString& fileName) {
  const QString extension = QFileInfo(fileName).suffix().toLower();
  const bool project = extension == "mfp";
  const bool mmuMap = extension == "php" || extension == "mmf";
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
      QAction* entry = mRecent->addAction(QString("&%1 %2").arg(i + 1).arg(QFileInfo(file).fileName()));
      entry->setToolTip(file);
      entry->setStatusTip(file);
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
    const QString file = urls.first().toLocalFile();
    Guard([this, file] {
      if (!OpenFile(file)) prompts_.ShowError(this, "Unknown file type: " + QFileInfo(file).fileName());
    });
  }
  return true;
}

}  // namespace mireforge
