#include "app/export_commands.h"

#include <QApplication>

#include "app/user_prompts.h"
#include "formats/html_map.h"
#include "project/project.h"

namespace mireforge {

bool SaveHtmlMapFlow(QWidget* parent, UserPrompts& prompts, const Project& project) {
  const FileChoice choice = prompts.SaveFile(parent, HtmlMapTitle, HtmlMapFilter, "html");
  if (choice.fileName.isEmpty()) return false;
  HtmlMapOptions options;
  options.WritePictures = prompts.AskOffer(parent, HtmlMapTitle, HtmlPicturesQuestion);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    WriteHtmlMap(choice.fileName.toStdString(), project, options);
  } catch (...) {
    QApplication::restoreOverrideCursor();
    throw;
  }
  QApplication::restoreOverrideCursor();
  return true;
}

}  // namespace mireforge
