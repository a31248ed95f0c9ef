#include "app/dialogs/user_prompts.h"

#include "app/dialogs/unlisted_names.h"
#include "app/session/file_names.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QStringList>
#include <sys/stat.h>
#include <vector>

namespace mireforge {

namespace {

struct FilterEntry {
  QString caption;
  QStringList patterns;
};

std::vector<FilterEntry> FilterEntries(const QString& filter) {
  const QStringList parts = filter.split('|');
  std::vector<FilterEntry> entries;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
      pattern = pattern.trimmed();
      if (pattern == "*.*") pattern = "*";  // all files, also those whose names have no dot
    }
    patterns.removeAll(QString());
    entries.push_back({parts[i], patterns});
  }
  return entries;
}

// The extension a typed name without one gets under the entry: the default one where the entry
// allows it, else the entry's first plain "*.ext" pattern.
QString ExtensionOf(const FilterEntry& entry, const QString& defaultExtension) {
  if (entry.patterns.contains("*." + defaultExtension, Qt::CaseInsensitive)) return defaultExtension;
  static const QRegularExpression plain(QStringLiteral("^\\*\\.([^*?\\[\\]]+)$"));
  for (const QString& pattern : entry.patterns) {
    const QRegularExpressionMatch match = plain.match(pattern);
    if (match.hasMatch()) return match.captured(1);
  }
  return defaultExtension;
}

// Qt's own file dialog asks the icon provider for every listed file's type and icon; the stock
// provider finds them by reading the file's first bytes, and a file in /proc such as kmsg blocks
// that read for good while holding the MIME database's lock, which freezes the whole editor. Names
// alone tell the type here.
class NameOnlyIconProvider : public QFileIconProvider {
 public:
  using QFileIconProvider::icon;
  QIcon icon(const QFileInfo& info) const override {
    if (!info.isFile()) return QFileIconProvider::icon(info.isDir() ? Folder : File);
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    return QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName(), QFileIconProvider::icon(File)));
  }
  QString type(const QFileInfo& info) const override {
    if (!info.isFile()) return QFileIconProvider::type(info);
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    return mime.comment().isEmpty() ? mime.name() : mime.comment();
  }
};

// The 1-based entry of a name filter, as Qt reports it either whole or as its caption alone.
int EntryNumber(const QStringList& filters, const QString& selected) {
  for (int i = 0; i < filters.size(); ++i) {
    const QString& filter = filters[i];
    if (selected == filter || selected == filter.left(filter.lastIndexOf('(')).trimmed()) return i + 1;
  }
  return 1;
}

}  // namespace

QStringList QtFilterList(const QString& filter) {
  QStringList result;
  for (const FilterEntry& entry : FilterEntries(filter))
    result << (entry.caption + " (" + entry.patterns.join(' ') + ")").simplified();
  return result;
}

void SetUpFileDialog(QFileDialog& dialog, const QString& filter, const QString& defaultExtension, bool save) {
  // Only Qt's own dialog can be kept from reading file contents, and it shows the captions as
  // given; it is also the one that behaves the same on every desktop.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  // The dialog's folder model may still ask it from its own thread while the dialog goes away.
  static auto* const icons = new NameOnlyIconProvider;
  dialog.setIconProvider(icons);

  const QStringList filters = QtFilterList(filter);
  const std::vector<FilterEntry> entries = FilterEntries(filter);
  dialog.setNameFilters(filters);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  const auto follow = [&dialog, filters, entries, defaultExtension](const QString& selected) {
    const int number = EntryNumber(filters, selected);
    dialog.setDefaultSuffix(entries.empty() ? defaultExtension
                                            : ExtensionOf(entries[number - 1], defaultExtension));
  };
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
  if (!filters.isEmpty()) dialog.selectNameFilter(filters.front());
  follow(dialog.selectedNameFilter());
  // Wide enough for the places beside the name, size, type and date columns, in the font's own measure.
  const QFontMetrics metrics = dialog.fontMetrics();
  dialog.resize(dialog.size().expandedTo(QSize(110 * metrics.averageCharWidth(), 28 * metrics.lineSpacing())));
}

FileChoice ChosenFile(const QFileDialog& dialog) {
  if (dialog.result() == QDialog::Accepted && !UnlistedChoice(dialog).isEmpty())
    return {UnlistedChoice(dialog), EntryNumber(dialog.nameFilters(), dialog.selectedNameFilter())};
  if (dialog.result() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  FileChoice choice;
  choice.fileName = dialog.selectedFiles().first();
  choice.filterIndex = EntryNumber(dialog.nameFilters(), dialog.selectedNameFilter());
  return choice;
}

Answer DialogPrompts::AskYesNoCancel(QWidget* parent, const QString& text) {
  const auto button = QMessageBox::warning(parent, "Warning", text,
                                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                           QMessageBox::Yes);
  if (button == QMessageBox::Yes) return Answer::Yes;
  if (button == QMessageBox::No) return Answer::No;
  return Answer::Cancel;
}

bool DialogPrompts::AskOffer(QWidget* parent, const QString& caption, const QString& text) {
  return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
         QMessageBox::Yes;
}

bool DialogPrompts::AskReplace(QWidget* parent, const QString& text) {
  return QMessageBox::warning(parent, "Save As", text, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) == QMessageBox::Yes;
}

namespace {

// What exists but is neither a file nor a folder, also through a link: a pipe, a socket, a device.
bool IsPipeOrDevice(const QString& name) {
  struct stat st;  // asked with the name's bytes, which need not be text
  return !name.isEmpty() && ::stat(BytesOfName(name).constData(), &st) == 0 && !S_ISREG(st.st_mode) &&
         !S_ISDIR(st.st_mode);
}

// A save into a pipe or a device happens only when the user says so.
bool ConfirmPipeOrDevice(QWidget* parent, const QString& name) {
  return QMessageBox::warning(parent, "Save As",
                              QString("%1 is not a file but a pipe or a device: what is saved goes to the program "
                                      "or device behind it.\nSave into it?")
                                  .arg(QDir::toNativeSeparators(name)),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

// Qt's dialog takes "folder/" for a name when the folder does not exist, and
// gives it the extension: "Cannot create file folder/.bmp". Say what is wrong
// and keep the dialog open instead.
class SaveFileDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;
  void accept() override {
    if (acceptMode() == QFileDialog::AcceptSave) {
      const auto* edit = findChild<QLineEdit*>("fileNameEdit");
      const QString typed = edit ? edit->text().trimmed() : QString();
      const QString chosen = typed.endsWith('/') ? directory().absoluteFilePath(typed)
                                                 : QFileInfo(selectedFiles().value(0)).absolutePath();
      if (!typed.isEmpty() && !QFileInfo(chosen).isDir()) {
        QMessageBox::warning(this, windowTitle(),
                             QString("The folder %1 does not exist.").arg(QDir::toNativeSeparators(QDir::cleanPath(chosen))));
        return;
      }
      if (IsPipeOrDevice(selectedFiles().value(0))) {
        if (!ConfirmPipeOrDevice(this, selectedFiles().value(0))) return;
        // Asked already, in words that fit it better than "replace".
        setOption(DontConfirmOverwrite);
        QFileDialog::accept();
        setOption(DontConfirmOverwrite, false);
        return;
      }
    }
    QFileDialog::accept();
  }
};

FileChoice RunFileDialog(QWidget* parent, const QString& title, const QString& filter,
                         const QString& defaultExtension, bool save) {
  SaveFileDialog dialog(parent, title);
  SetUpFileDialog(dialog, filter, defaultExtension, save);
  if (!save) ShowUnlistedNames(dialog);
  dialog.exec();
  return ChosenFile(dialog);
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
