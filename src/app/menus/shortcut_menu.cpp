#include "app/menus/shortcut_menu.h"

#include <QAction>
#include <QMenuBar>
#include <QStyleOptionMenuItem>

namespace mireforge {

void ShortcutMenu::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
  QMenu::initStyleOption(option, action);
  const QList<QKeySequence> keys = action->shortcuts();
  if (keys.size() < 2 || action->text().contains('\t')) return;
  QStringList names;
  for (const QKeySequence& key : keys) names << key.toString(QKeySequence::NativeText);
  // The part after a tab is what the menu shows as the shortcut, and what it makes room for.
  option->text = option->text.section('\t', 0, 0) + '\t' + names.join(", ");
}

QString ShortcutMenu::ShownShortcuts(const QAction* action) const {
  QStyleOptionMenuItem option;
  initStyleOption(&option, action);
  return option.text.contains('\t') ? option.text.section('\t', 1) : action->shortcut().toString(QKeySequence::NativeText);
}

QMenu* AddShortcutMenu(QMenuBar* bar, const QString& title) {
  auto* menu = new ShortcutMenu(title, bar);
  bar->addMenu(menu);
  return menu;
}

}  // namespace mireforge
