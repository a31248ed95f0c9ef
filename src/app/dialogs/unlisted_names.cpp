#include "app/dialogs/unlisted_names.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <dirent.h>
#include <sys/stat.h>

#include "app/session/file_names.h"

namespace mireforge {

namespace {

constexpr const char* ChoiceProperty = "mireforgeUnlistedChoice";

// The "*.ext" patterns of a Qt name filter "Caption (*.a *.b)".
QList<QRegularExpression> PatternsOf(const QString& filter) {
  const qsizetype open = filter.lastIndexOf('('), close = filter.lastIndexOf(')');
  QList<QRegularExpression> patterns;
  if (open < 0 || close < open) return patterns;
  for (const QString& pattern : filter.mid(open + 1, close - open - 1).split(' ', Qt::SkipEmptyParts))
    patterns << QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                                   QRegularExpression::CaseInsensitiveOption);
  return patterns;
}

// The files of folder whose names are not text and match a pattern, in name order.
QStringList NamesNotText(const QString& folder, const QList<QRegularExpression>& patterns) {
  QStringList names;
  const QByteArray path = BytesOfName(folder);
  DIR* dir = ::opendir(path.constData());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const QString name = NameFromBytes(QByteArray(entry->d_name));
    if (IsTextName(name)) continue;
    struct stat st;
    if (::stat((path + "/" + entry->d_name).constData(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    const QString shown = ShownName(name);
    for (const QRegularExpression& pattern : patterns)
      if (pattern.match(shown).hasMatch()) {
        names << name;
        break;
      }
  }
  ::closedir(dir);
  names.sort();
  return names;
}

}  // namespace

void ShowUnlistedNames(QFileDialog& dialog) {
  auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
  if (!grid) return;
  auto* label = new QLabel("Files whose names are not text in this system's encoding:", &dialog);
  auto* list = new QListWidget(&dialog);
  list->setObjectName("unlistedNames");
  list->setMaximumHeight(5 * list->fontMetrics().lineSpacing());
  label->setBuddy(list);
  const int row = grid->rowCount();
  grid->addWidget(label, row, 0, 1, grid->columnCount());
  grid->addWidget(list, row + 1, 0, 1, grid->columnCount());
  const auto refresh = [&dialog, label, list] {
    list->clear();
    for (const QString& name : NamesNotText(dialog.directory().absolutePath(), PatternsOf(dialog.selectedNameFilter()))) {
      auto* item = new QListWidgetItem(ShownName(name), list);
      item->setData(Qt::UserRole, name);
    }
    label->setVisible(list->count() > 0);
    list->setVisible(list->count() > 0);
  };
  // The folder model follows every way the folder changes (typed, clicked, set).
  if (auto* model = dialog.findChild<QFileSystemModel*>()) QObject::connect(model, &QFileSystemModel::rootPathChanged, list, refresh);
  QObject::connect(&dialog, &QFileDialog::directoryEntered, list, refresh);
  QObject::connect(&dialog, &QFileDialog::filterSelected, list, refresh);
  QObject::connect(list, &QListWidget::itemActivated, &dialog, [&dialog](QListWidgetItem* item) {
    dialog.setProperty(ChoiceProperty, dialog.directory().absolutePath() + "/" + item->data(Qt::UserRole).toString());
    static_cast<QDialog&>(dialog).done(QDialog::Accepted);  // past the check that the name exists as text
  });
  refresh();
}

QString UnlistedChoice(const QFileDialog& dialog) { return dialog.property(ChoiceProperty).toString(); }

}  // namespace mireforge
