#include "app/export_commands.h"

#include <QApplication>
#include <QMessageBox>

#include "app/user_prompts.h"
#include "formats/html_map.h"
#include "project/project.h"

namespace mireforge {

bool SaveHtmlMapFlow(QWidget* parent, UserPrompts& prompts, const Project& project,
                     const std::function<bool(const QString& question)>& askPictures) {
  const FileChoice choice = prompts.SaveFile(parent, HtmlMapTitle, HtmlMapFilter, "html");
  if (choice.fileName.isEmpty()) return false;
  HtmlMapOptions options;
  options.WritePictures = askPictures && askPictures(HtmlPicturesQuestion);
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

bool AskWriteHtmlPictures(QWidget* parent, const QString& question) {
  return QMessageBox::question(parent, HtmlMapTitle, question, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

}  // namespace mireforge
