#include "app/main_window/export_commands.h"

#include <QApplication>
#include <QStringList>

#include "app/dialogs/small_forms.h"
#include "app/dialogs/user_prompts.h"
#include "app/session/desktop_session.h"
#include "app/session/file_names.h"
#include "formats/html_map.h"
#include "formats/tiled_project.h"
#include "project/project.h"

namespace mireforge {

namespace {

template <typename Write>
void WithBusyCursor(Write write) {
  BusyScope busy;
  write();
}

}  // namespace

bool SaveHtmlMapFlow(QWidget* parent, UserPrompts& prompts, const Project& project) {
  const FileChoice choice = prompts.SaveFile(parent, HtmlMapTitle, HtmlMapFilter, "html");
  if (choice.fileName.isEmpty()) return false;
  HtmlMapOptions options;
  options.WritePictures = prompts.AskOffer(parent, HtmlMapTitle, HtmlPicturesQuestion);
  if (options.WritePictures) {
    // Pictures already there may be the user's own: replace them only when told to.
    QStringList existing;
    for (const std::string& name : ExistingHtmlPictures(PathOf(choice.fileName)))
      existing << ShownName(NameFromPath(name));
    if (!existing.isEmpty())
      options.KeepExistingPictures =
          !prompts.AskReplace(parent, QString(HtmlPicturesReplaceQuestion).arg(existing.join(", ")));
  }
  WithBusyCursor([&] {
    RunExport(parent, [path = PathOf(choice.fileName), &project, options] { WriteHtmlMap(path, project, options); });
  });
  return true;
}

bool SaveTiledMapFlow(QWidget* parent, UserPrompts& prompts, const Project& project, TileLook look) {
  const FileChoice choice = prompts.SaveFile(parent, TiledMapTitle, TiledMapFilter, "tmx");
  if (choice.fileName.isEmpty()) return false;
  WithBusyCursor([&] { WriteTiledMapFiles(PathOf(choice.fileName), project, look); });
  return true;
}

}  // namespace mireforge
