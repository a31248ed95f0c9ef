#pragma once
// Every question, file dialog and message box the main window shows goes
// through this interface, so tests can answer them without a user.
#include <QString>

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
  // Filters use the "Caption (*.ext)|*.ext|..." form.
  virtual FileChoice SaveFile(QWidget* parent, const QString& title, const QString& filter,
                              const QString& defaultExtension) = 0;
  virtual FileChoice OpenFile(QWidget* parent, const QString& title, const QString& filter,
                              const QString& defaultExtension) = 0;
  virtual void ShowError(QWidget* parent, const QString& message) = 0;
  virtual void ShowInformation(QWidget* parent, const QString& message) = 0;
};

// Converts "Caption (*.a)|*.a|Other|*.b;*.c" into Qt's "Caption (*.a);;Other (*.b *.c)".
QStringList QtFilterList(const QString& filter);

// The real dialogs.
class DialogPrompts : public UserPrompts {
 public:
  Answer AskYesNoCancel(QWidget* parent, const QString& text) override;
  bool AskReplace(QWidget* parent, const QString& text) override;
  FileChoice SaveFile(QWidget* parent, const QString& title, const QString& filter,
                      const QString& defaultExtension) override;
  FileChoice OpenFile(QWidget* parent, const QString& title, const QString& filter,
                      const QString& defaultExtension) override;
  void ShowError(QWidget* parent, const QString& message) override;
  void ShowInformation(QWidget* parent, const QString& message) override;
};

}  // namespace mireforge
