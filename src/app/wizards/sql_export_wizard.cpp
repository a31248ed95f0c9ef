#include "app/wizards/sql_export_wizard.h"

#include "app/session/file_names.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/dialogs/small_forms.h"
#include "app/dialogs/user_prompts.h"
#include "app/session/desktop_session.h"
#include "app/wizards/wizard_parts.h"
#include "project/project.h"

namespace mireforge {

namespace {

constexpr const char* ScriptFilter = "SQL script file (*.sql)|*.sql|Plain text file (*.txt)|*.txt";

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

}  // namespace

TfSQLEx::TfSQLEx(const Project& project, UserPrompts& prompts, bool autoSelect, bool saveMap, QWidget* parent)
    : WizardDialog(parent), project_(project), prompts_(prompts), autoSelect_(autoSelect), saveMap_(saveMap) {
  setWindowTitle("SQL Export Wizard");
  NB = new QStackedWidget(this);
  NB->addWidget(CreateStartPage());
  NB->addWidget(CreateOptionsPage());
  PageControl->setCurrentIndex(0);

  bNext = new QPushButton("Next >", this);
  bCancel = new QPushButton("Cancel", this);
  connect(bNext, &QPushButton::clicked, this, &TfSQLEx::bNextClick);
  connect(bCancel, &QPushButton::clicked, this, &QDialog::reject);
  LayOutWizard(this, NB, nullptr, bNext, bCancel);
  SetDesignedSize(QSize(620, 500));

  for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8})
    connect(edit, &QLineEdit::textChanged, this, &TfSQLEx::OnDataChange);
  for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6, cbTransaction})
    connect(box, &QCheckBox::toggled, this, &TfSQLEx::OnDataChange);
  connect(rbInsert, &QRadioButton::toggled, this, &TfSQLEx::OnDataChange);
  OnDataChange();
}

QWidget* TfSQLEx::CreateStartPage() {
  return CreateWelcomePage(360, "Welcome to SQL Export Wizard",
                           "This wizard will help you to save map data as SQL script.");
}

QWidget* TfSQLEx::CreateOptionsPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(WizardHeading("Set export parameters", page));
  layout->addWidget(WrappedText(
      "Select generation method, table name and column names, as well as some other parameters.", page));

  PageControl = new QTabWidget(page);
  auto* general = new QWidget;
  RadioGroup1 = new QGroupBox(" &Generation method ", general);
  rbInsert = new QRadioButton("&Insert clause", RadioGroup1);
  rbUpdate = new QRadioButton("&Update clause", RadioGroup1);
  rbInsert->setChecked(true);
  auto* radios = new QVBoxLayout(RadioGroup1);
  radios->addWidget(rbInsert);
  radios->addWidget(rbUpdate);
  const SqlExportOptions defaults;
  Edit1 = new QLineEdit(QString::fromStdString(defaults.TableName), general);
  Edit2 = new QLineEdit(QString::fromStdString(defaults.XColumn), general);
  Edit3 = new QLineEdit(QString::fromStdString(defaults.YColumn), general);
  Edit4 = new QLineEdit(QString::fromStdString(defaults.TerrainColumn), general);
  auto* names = new QFormLayout;
  auto addRow = [&](const QString& caption, QLineEdit* edit) {
    auto* label = new QLabel(caption, general);
    label->setBuddy(edit);
    names->addRow(label, edit);
  };
  addRow("Table &name:", Edit1);
  names->addRow(new QLabel("Column names:", general));
  addRow("&X:", Edit2);
  addRow("&Y:", Edit3);
  addRow("&Terrain:", Edit4);
  cbTransaction = new QCheckBox("Wrap all statements in one transaction (loads &faster)", general);
  auto* generalLayout = new QGridLayout(general);
  generalLayout->addWidget(RadioGroup1, 0, 0, Qt::AlignTop);
  generalLayout->addLayout(names, 0, 1);
  generalLayout->setColumnStretch(1, 1);
  generalLayout->addWidget(cbTransaction, 1, 0, 1, 2);
  PageControl->addTab(general, "General");

  auto* mmu = new QWidget;
  CheckBox1 = new QCheckBox("Generate Midnight/MU &abbreviated terrain", mmu);
  CheckBox3 = new QCheckBox("Export Midnight/MU description column", mmu);
  Edit7 = new QLineEdit(QString::fromStdString(defaults.DescriptionColumnName), mmu);
  CheckBox2 = new QCheckBox("Generate Midnight/MU scenario &ID column", mmu);
  Edit6 = new QLineEdit(QString::fromStdString(defaults.ScenarioColumnName), mmu);
  Edit5 = new QLineEdit(QString::fromStdString(defaults.ScenarioValue), mmu);
  lValue = new QLabel("value", mmu);
  CheckBox4 = new QCheckBox("Generate Midnight/MU domain column", mmu);
  Edit8 = new QLineEdit(QString::fromStdString(defaults.DomainColumnName), mmu);
  CheckBox6 = new QCheckBox("Export domain descriptions", mmu);
  CheckBox5 = new QCheckBox("Do not export frozen wastes border", mmu);
  auto* grid = new QGridLayout(mmu);
  grid->addWidget(CheckBox1, 0, 0, 1, 5);
  grid->addWidget(CheckBox3, 1, 0);
  grid->addWidget(new QLabel("name", mmu), 1, 1);
  grid->addWidget(Edit7, 1, 2);
  grid->addWidget(CheckBox2, 2, 0);
  grid->addWidget(new QLabel("name", mmu), 2, 1);
  grid->addWidget(Edit6, 2, 2);
  grid->addWidget(lValue, 2, 3);
  grid->addWidget(Edit5, 2, 4);
  grid->addWidget(CheckBox4, 3, 0);
  grid->addWidget(new QLabel("name", mmu), 3, 1);
  grid->addWidget(Edit8, 3, 2);
  grid->addWidget(CheckBox6, 4, 0, 1, 5);
  grid->addWidget(CheckBox5, 5, 0, 1, 5);
  Edit5->setMaximumWidth(50);
  PageControl->addTab(mmu, "M/MU Specific");
  layout->addWidget(PageControl);

  Sample = new QPlainTextEdit(page);
  Sample->setReadOnly(true);
  Sample->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* sampleLabel = new QLabel("S&ample:", page);
  sampleLabel->setBuddy(Sample);
  layout->addWidget(sampleLabel);
  layout->addWidget(Sample, 1);
  return page;
}

SqlExportOptions TfSQLEx::Options() const {
  SqlExportOptions o;
  o.GenerationMethod = rbUpdate->isChecked() ? SqlExportOptions::UpdateClause : SqlExportOptions::InsertClause;
  o.TableName = Text(Edit1);
  o.XColumn = Text(Edit2);
  o.YColumn = Text(Edit3);
  o.TerrainColumn = Text(Edit4);
  o.AbbreviatedTerrain = CheckBox1->isChecked();
  o.DescriptionColumn = CheckBox3->isChecked();
  o.DescriptionColumnName = Text(Edit7);
  o.ScenarioColumn = CheckBox2->isChecked();
  o.ScenarioColumnName = Text(Edit6);
  o.ScenarioValue = Text(Edit5);
  o.DomainColumn = CheckBox4->isChecked();
  o.DomainColumnName = Text(Edit8);
  o.DomainDescriptions = CheckBox6->isChecked();
  o.OmitBorder = CheckBox5->isChecked();
  o.Transaction = cbTransaction->isChecked();
  return o;
}

void TfSQLEx::FormShow() {
  Step = 0;
  NB->setCurrentIndex(0);
  bNext->setText("Next >");
  bNext->setEnabled(true);
  if (autoSelect_)
    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox6}) box->setChecked(true);
  BuildSQLSample();
}

void TfSQLEx::OnDataChange() {
  BuildSQLSample();
  const SqlExportOptions options = Options();
  bNext->setEnabled(Step == 0 || options.CanSave());
  lValue->setEnabled(CheckBox2->isChecked());
  Edit5->setEnabled(CheckBox2->isChecked());
}

void TfSQLEx::BuildSQLSample() {
  QStringList lines;
  for (const std::string& line : mireforge::BuildSQLSample(Options())) lines << QString::fromStdString(line);
  Sample->setPlainText(lines.join('\n'));
}

void TfSQLEx::bNextClick() {
  if (Step == 0) {
    Step = 1;
    NB->setCurrentIndex(1);
    bNext->setText("&Save");
    bNext->setEnabled(Options().CanSave());
    return;
  }
  WriteSQLScript();
  accept();
}

void TfSQLEx::WriteSQLScript() {
  const FileChoice choice = prompts_.SaveFile(this, "Save as SQL", ScriptFilter, "sql");
  if (choice.fileName.isEmpty()) return;
  const std::string path = PathOf(choice.fileName);
  const SqlExportOptions options = Options();
  try {
    {
      BusyScope busy;
      RunExport(parentWidget(), [path, options, &project = project_] { mireforge::WriteSQLScript(path, project, options); });
    }
    if (saveMap_)
      WriteAccompanyingMap(path, project_.Map, options, [this](const std::string& question) {
        return prompts_.AskReplace(this, QString::fromStdString(question));
      });
  } catch (const std::exception& error) {
    prompts_.ShowError(this, QString::fromStdString(error.what()));
  }
}

}  // namespace mireforge
