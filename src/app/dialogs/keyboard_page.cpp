#include "app/dialogs/keyboard_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/session/desktop_session.h"

namespace mireforge {

namespace {

constexpr const char* KeymapFilter = "Mireforge keymap (*.keys);;All files (*)";
enum KeymapChoice { DefaultKeymap, CommonKeymap, CustomKeymap };

}  // namespace

KeyboardPage::KeyboardPage(const std::vector<KeyCommand>& commands, const Keymap& keys, const Keymap& defaults,
                           QWidget* parent)
    : QWidget(parent), keys_(keys), defaults_(defaults), common_(Keymap::CommonKeys(defaults)) {
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  cbKeymap = new QComboBox(this);
  cbKeymap->addItems({"Default keys", "Common keys", "Custom"});
  auto* keymapLabel = new QLabel("&Keymap:", this);
  keymapLabel->setBuddy(cbKeymap);
  top->addWidget(keymapLabel);
  top->addWidget(cbKeymap, 1);
  layout->addLayout(top);

  CommandVT = new QTreeWidget(this);
  CommandVT->setAccessibleName("Commands and their keys");
  CommandVT->setHeaderLabels({"Command", "Keys", "Conflicts with"});
  CommandVT->setRootIsDecorated(false);
  CommandVT->setAlternatingRowColors(true);
  CommandVT->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  for (const KeyCommand& command : commands) {
    auto* item = new QTreeWidgetItem(CommandVT, {command.id});
    item->setData(0, Qt::UserRole, command.id);
    item->setIcon(0, command.action->icon());
  }
  layout->addWidget(CommandVT, 1);

  auto* edit = new QHBoxLayout;
  eKey = new QKeySequenceEdit(this);
  eKey->setAccessibleName("Key of the selected command");
  auto* keyLabel = new QLabel("&Press the new key:", this);
  keyLabel->setBuddy(eKey);
  bClear = new QPushButton("C&lear", this);
  bReset = new QPushButton("&Reset to default", this);
  edit->addWidget(keyLabel);
  edit->addWidget(eKey, 1);
  edit->addWidget(bClear);
  edit->addWidget(bReset);
  layout->addLayout(edit);
  lConflict = new QLabel(this);
  lConflict->setWordWrap(true);
  layout->addWidget(lConflict);

  auto* files = new QHBoxLayout;
  bResetAll = new QPushButton("Reset &all", this);
  bImport = new QPushButton("&Import...", this);
  bExport = new QPushButton("E&xport...", this);
  files->addWidget(bResetAll);
  files->addStretch();
  files->addWidget(bImport);
  files->addWidget(bExport);
  layout->addLayout(files);

  connect(CommandVT, &QTreeWidget::currentItemChanged, this, &KeyboardPage::ShowSelected);
  // A second after the last key, or when focus leaves the field: the whole sequence is in.
  connect(eKey, &QKeySequenceEdit::editingFinished, this, &KeyboardPage::KeyPressed);
  connect(bClear, &QPushButton::clicked, this, [this] { SetSelectedKeys({}); });
  connect(bReset, &QPushButton::clicked, this, [this] { SetSelectedKeys(defaults_.Keys(SelectedId())); });
  connect(bResetAll, &QPushButton::clicked, this, [this] { ChooseKeymap(DefaultKeymap); });
  connect(cbKeymap, &QComboBox::activated, this, &KeyboardPage::ChooseKeymap);
  connect(bExport, &QPushButton::clicked, this, &KeyboardPage::ExportKeymap);
  connect(bImport, &QPushButton::clicked, this, &KeyboardPage::ImportKeymap);
  Refill();
  CommandVT->setCurrentItem(CommandVT->topLevelItem(0));
}

QString KeyboardPage::SelectedId() const {
  const QTreeWidgetItem* item = CommandVT->currentItem();
  return item ? item->data(0, Qt::UserRole).toString() : QString();
}

void KeyboardPage::Refill() {
  filling_ = true;
  for (int i = 0; i < CommandVT->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = CommandVT->topLevelItem(i);
    const QString id = item->data(0, Qt::UserRole).toString();
    item->setText(1, QKeySequence::listToString(keys_.Keys(id), QKeySequence::NativeText));
    item->setText(2, keys_.ConflictsOf(id).join(", "));
    QFont font = item->font(0);
    font.setBold(keys_.Keys(id) != defaults_.Keys(id));  // changed from the default
    item->setFont(1, font);
  }
  cbKeymap->setCurrentIndex(keys_ == defaults_ ? DefaultKeymap : keys_ == common_ ? CommonKeymap : CustomKeymap);
  filling_ = false;
  ShowSelected();
}

void KeyboardPage::ShowSelected() {
  if (filling_) return;
  const QString id = SelectedId();
  const KeyList keys = keys_.Keys(id);
  const QSignalBlocker quiet(eKey);
  eKey->setKeySequence(keys.isEmpty() ? QKeySequence() : keys.front());
  const QStringList conflicts = keys_.ConflictsOf(id);
  lConflict->setText(conflicts.isEmpty() ? QString()
                                         : QString("The key of \"%1\" is also the key of: %2").arg(id, conflicts.join(", ")));
}

void KeyboardPage::SetSelectedKeys(const KeyList& keys) {
  const QString id = SelectedId();
  if (id.isEmpty()) return;
  keys_.SetKeys(id, keys);
  Refill();
}

void KeyboardPage::KeyPressed() {
  const QKeySequence key = eKey->keySequence();
  if (key.isEmpty()) return;
  // The pressed key replaces the first one; a command's other keys stay.
  KeyList keys = keys_.Keys(SelectedId());
  if (keys.isEmpty()) keys << key;
  else keys.front() = key;
  SetSelectedKeys(keys);
}

void KeyboardPage::ChooseKeymap(int index) {
  if (index == DefaultKeymap) keys_ = defaults_;
  else if (index == CommonKeymap) keys_ = common_;
  Refill();
}

void KeyboardPage::ExportKeymap() {
  const QString path = QFileDialog::getSaveFileName(this, "Export keymap", "mireforge.keys", KeymapFilter, nullptr,
                                                    QFileDialog::DontUseNativeDialog);
  if (path.isEmpty()) return;
  try {
    keys_.Export(path);
  } catch (const std::exception& error) {
    QMessageBox::critical(this, "Error", QString::fromStdString(error.what()));
  }
}

void KeyboardPage::ImportKeymap() {
  const QString path =
      QFileDialog::getOpenFileName(this, "Import keymap", QString(), KeymapFilter, nullptr, QFileDialog::DontUseNativeDialog);
  if (path.isEmpty()) return;
  try {
    keys_ = Keymap::Import(path, defaults_);
  } catch (const std::exception& error) {
    QMessageBox::critical(this, "Error", QString::fromStdString(error.what()));
  }
  Refill();
}

SessionPage::SessionPage(const SessionOptions& options, QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  cbReopenLastProject = new QCheckBox("Re&open the last project at start", this);
  cbRepeatExport = new QCheckBox("Repeat last e&xport on save", this);
  cbRepeatExport->setToolTip("Saving the project writes the last export again, to the same file with the same options");
  layout->addWidget(cbReopenLastProject);
  layout->addWidget(cbRepeatExport);
  // The history keeps at most this many steps and this much memory, dropping the oldest.
  auto* undo = new QFormLayout;
  eUndoSteps = new QSpinBox(this);
  eUndoSteps->setRange(MinUndoSteps, MaxUndoSteps);
  eUndoSteps->setValue(options.undoSteps);
  eUndoMemory = new QSpinBox(this);
  eUndoMemory->setRange(MinUndoMegabytes, MaxUndoMegabytes);
  eUndoMemory->setSuffix(" MB");
  eUndoMemory->setValue(options.undoMegabytes);
  eUndoMemory->setToolTip("Undo keeps the newest steps that fit; a single larger step is still kept");
  undo->addRow("&Undo steps kept:", eUndoSteps);
  undo->addRow("Undo &memory limit:", eUndoMemory);
  layout->addLayout(undo);
  layout->addStretch();
  cbReopenLastProject->setChecked(options.reopenLastProject);
  cbRepeatExport->setChecked(options.repeatExportOnSave);
}

SessionOptions SessionPage::Values() const {
  SessionOptions values;
  values.reopenLastProject = cbReopenLastProject->isChecked();
  values.repeatExportOnSave = cbRepeatExport->isChecked();
  values.undoSteps = eUndoSteps->value();
  values.undoMegabytes = eUndoMemory->value();
  return values;
}

}  // namespace mireforge
