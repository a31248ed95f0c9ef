#pragma once
// TfSQLEx, the SQL export wizard: a welcome page, then the options on two
// tabs with a sample of the statements that follows every change.
#include <QDialog>

#include "app/wizards/wizard_parts.h"
#include "formats/sql_export.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabWidget;

namespace mireforge {

class UserPrompts;
struct Project;

class TfSQLEx : public WizardDialog {
  Q_OBJECT
 public:
  // autoSelect: the preference that ticks every M/MU option on showing;
  // saveMap: the preference that writes the ".mmf" map beside the script.
  TfSQLEx(const Project& project, UserPrompts& prompts, bool autoSelect, bool saveMap, QWidget* parent = nullptr);

  int Step = 0;
  QStackedWidget* NB = nullptr;
  QTabWidget* PageControl = nullptr;
  QGroupBox* RadioGroup1 = nullptr;
  QRadioButton *rbInsert = nullptr, *rbUpdate = nullptr;
  QLineEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr, *Edit4 = nullptr, *Edit5 = nullptr,
            *Edit6 = nullptr, *Edit7 = nullptr, *Edit8 = nullptr;
  QCheckBox *CheckBox1 = nullptr, *CheckBox2 = nullptr, *CheckBox3 = nullptr, *CheckBox4 = nullptr,
            *CheckBox5 = nullptr, *CheckBox6 = nullptr;
  QCheckBox* cbTransaction = nullptr;  // off by default: the script stays as plain as it always was
  QLabel* lValue = nullptr;
  QPlainTextEdit* Sample = nullptr;
  QPushButton *bNext = nullptr, *bCancel = nullptr;

  // The options as the fields now read.
  SqlExportOptions Options() const;

  void FormShow() override;
  void bNextClick();
  void OnDataChange();
  void BuildSQLSample();

 private:
  QWidget* CreateStartPage();
  QWidget* CreateOptionsPage();
  void WriteSQLScript();

  const Project& project_;
  UserPrompts& prompts_;
  bool autoSelect_;
  bool saveMap_;
};

}  // namespace mireforge
