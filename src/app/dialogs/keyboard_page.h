#pragma once
// The preferences' "Keyboard" page (every command and its keys, edited by
// pressing them) and "Session" page (what comes back at the next start).
#include <QWidget>
#include <vector>

#include "app/session/keymap.h"

class QCheckBox;
class QComboBox;
class QKeySequenceEdit;
class QLabel;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace mireforge {

struct SessionOptions;

class KeyboardPage : public QWidget {
  Q_OBJECT
 public:
  KeyboardPage(const std::vector<KeyCommand>& commands, const Keymap& keys, const Keymap& defaults,
               QWidget* parent = nullptr);
  Keymap Result() const { return keys_; }

  QComboBox* cbKeymap = nullptr;    // "Default keys", "Common keys", and "Custom" once edited
  QTreeWidget* CommandVT = nullptr;  // command, keys, conflicts
  QKeySequenceEdit* eKey = nullptr;  // the selected command's key: press the new one
  QPushButton *bClear = nullptr, *bReset = nullptr, *bResetAll = nullptr, *bExport = nullptr, *bImport = nullptr;
  QLabel* lConflict = nullptr;

 private:
  void Refill();
  void ShowSelected();
  void KeyPressed();
  void ChooseKeymap(int index);
  void ExportKeymap();
  void ImportKeymap();
  QString SelectedId() const;
  void SetSelectedKeys(const KeyList& keys);

  Keymap keys_, defaults_, common_;
  bool filling_ = false;
};

class SessionPage : public QWidget {
  Q_OBJECT
 public:
  SessionPage(const SessionOptions& options, QWidget* parent = nullptr);
  SessionOptions Values() const;

  QCheckBox* cbReopenLastProject = nullptr;
  QCheckBox* cbRepeatExport = nullptr;
  QSpinBox* eUndoSteps = nullptr;
  QSpinBox* eUndoMemory = nullptr;
};

}  // namespace mireforge
