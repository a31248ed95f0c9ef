#pragma once
// Every question, file dialog and message box the main window shows goes
// through this interface, so tests can answer them without a user.
#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace mireforge {

enum class Answer { Yes, No, Cancel };

struct FileChoice {
  QString fileName;   // empty: the user cancelled
  int filterIndex = 1;  // 1-based entry of the filter list the user left selected
};

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  // "Warning" box with Yes, No and Cancel.
  virtual Answer AskYesNoCancel(QWidget* parent, const QString& text) = 0;
  // "Save As" box with Yes and No.
  virtual bool AskReplace(QWidget* parent, const QString& text) = 0;
  // An optional offer with Yes and No; prompts that cannot ask decline it.
  virtual bool AskOffer(QWidget*, const QString& /*caption*/, const QString& /*text*/) { return false; }
  // Filters use the "Caption (*.ext)|*.ext|..." form.
  virtual FileChoice SaveFile(QWidget* parent, const QString& title, const QString& filter,
                              const QString& defaultExtension) = 0;
  virtual FileChoice OpenFile(QWidget* parent, const QString& title, const QString& filter,
                              const QString& defaultExtension) = 0;
  virtual void ShowError(QWidget* parent, const QString& message) = 0;
  virtual void ShowInformation(QWidget* parent, const QString& message) = 0;
};

// Converts "Caption (*.a)|*.a|Other|*.b;*.c" into Qt name filters "Caption (*.a) (*.a)" and
// "Other (*.b *.c)": Qt reads the patterns from the last parentheses, split at blanks, and a file
// dialog set up below shows each entry's caption exactly as given.
QStringList QtFilterList(const QString& filter);

// Gives a file dialog the filter list and its rules: captions as given, a typed name without an
// extension takes the extension of the type selected (defaultExtension where that type has none,
// or includes it), and listing a folder never reads the contents of its files.
void SetUpFileDialog(QFileDialog& dialog, const QString& filter, const QString& defaultExtension, bool save);
// The file an accepted dialog set up as above chose, with its 1-based filter entry.
FileChoice ChosenFile(const QFileDialog& dialog);

// The real dialogs.
class DialogPrompts : public UserPrompts {
 public:
  Answer AskYesNoCancel(QWidget* parent, const QString& text) override;
  bool AskReplace(QWidget* parent, const QString& text) override;
  bool AskOffer(QWidget* parent, const QString& caption, const QString& text) override;
  FileChoice SaveFile(QWidget* parent, const QString& title, const QString& filter,
                      const QString& defaultExtension) override;
  FileChoice OpenFile(QWidget* parent, const QString& title, const QString& filter,
                      const QString& defaultExtension) override;
  void ShowError(QWidget* parent, const QString& message) override;
  void ShowInformation(QWidget* parent, const QString& message) override;
};

}  // namespace mireforge
