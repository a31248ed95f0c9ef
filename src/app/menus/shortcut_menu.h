#pragma once
// A menu that shows every shortcut of a command ("Ctrl+X, Shift+Del"), where
// Qt's own shows only the first.
#include <QMenu>

class QMenuBar;

namespace mireforge {

class ShortcutMenu : public QMenu {
  Q_OBJECT
 public:
  using QMenu::QMenu;
  // The shortcut text the menu shows beside the command.
  QString ShownShortcuts(const QAction* action) const;

 protected:
  void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;
};

// A ShortcutMenu added to the bar.
QMenu* AddShortcutMenu(QMenuBar* bar, const QString& title);

}  // namespace mireforge
