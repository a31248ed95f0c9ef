#include "app/user_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace mireforge {

QStringList QtFilterList(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList result;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString& caption = parts[i];
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    // Captions that already show their patterns keep them; Qt reads the pattern
    // from the last parentheses of the entry.
    if (caption.contains('(')) result << caption;
    else result << caption + " (" + patterns + ")";
  }
  return result;
}

Answer DialogPrompts::AskYesNoCancel(QWidget* parent, const QString& text) {
  const auto button = QMessageBox::warning(parent, "Warning", text,
                                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                           QMessageBox::Yes);
  if (button == QMessageBox::Yes) return Answer::Yes;
  if (button == QMessageBox::No) return Answer::No;
  return Answer::Cancel;
}

bool DialogPrompts::AskReplace(QWidget* parent, const QString& text) {
  return QMessageBox::warning(parent, "Save As", text, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) == QMessageBox::Yes;
}

namespace {

FileChoice RunFileDialog(QWidget* parent, const QString& title, const QString& filter,
                         const QString& defaultExtension, bool save) {
  QFileDialog dialog(parent, title);
  const QStringList filters = QtFilterList(filter);
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(defaultExtension);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  FileChoice choice;
  choice.fileName = dialog.selectedFiles().first();
  choice.filterIndex = std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter()))) + 1;
  return choice;
}

}  // namespace

FileChoice DialogPrompts::SaveFile(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& defaultExtension) {
  return RunFileDialog(parent, title, filter, defaultExtension, true);
}

FileChoice DialogPrompts::OpenFile(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& defaultExtension) {
  return RunFileDialog(parent, title, filter, defaultExtension, false);
}

void DialogPrompts::ShowError(QWidget* parent, const QString& message) {
  QMessageBox::critical(parent, QApplication::applicationName(), message);
}

void DialogPrompts::ShowInformation(QWidget* parent, const QString& message) {
  QMessageBox::information(parent, "Information", message);
}

}  // namespace mireforge
