// The SQL export wizard and the HTML map export flow, driven offscreen.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>

#include "app/main_window/window_parts.h"
#include "app/main_window/export_commands.h"
#include "app/wizards/sql_export_wizard.h"
#include "app/app_test_support.h"
#include "model/descriptions.h"
#include "project/project.h"

namespace mireforge::testing {
namespace {

class ExportWizardTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    project.Map.ResizeMap(66, 63);
    project.Map.FillTerrain(FrozenWastes, true);
    project.Map.FillTerrain(Plains, false);
    BuildDefaultDescriptions(project.Descriptions, project.Map);
  }
  QStringList SampleLines(const TfSQLEx& w) { return w.Sample->toPlainText().split('\n'); }
  static QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  Project project;
};

TEST_F(ExportWizardTest, SampleFollowsEveryOption) {
  TfSQLEx w(project, prompts, false, false);
  w.show();
  EXPECT_EQ(w.windowTitle(), "SQL Export Wizard");
  EXPECT_EQ(w.PageControl->tabText(w.PageControl->currentIndex()), "General");
  QStringList lines = SampleLines(w);
  ASSERT_EQ(lines.size(), 6);
  EXPECT_EQ(lines[0], R"(insert into MPD_MapDescriptions (MPD_Row, MPD_Column, MPD_TTY_ID) values (1,1,"citadel");)");
  EXPECT_EQ(lines[4], R"(insert into MPD_MapDescriptions (MPD_Row, MPD_Column, MPD_TTY_ID) values (5,5,"village");)");
  EXPECT_EQ(lines[5], "...");
  EXPECT_FALSE(w.Edit5->isEnabled());
  EXPECT_FALSE(w.lValue->isEnabled());

  for (QCheckBox* box : {w.CheckBox1, w.CheckBox2, w.CheckBox3, w.CheckBox4, w.CheckBox5, w.CheckBox6}) box->click();
  EXPECT_TRUE(w.Edit5->isEnabled());
  EXPECT_EQ(SampleLines(w)[0],
            R"(insert into MPD_MapDescriptions (MPD_SCN_ID, MPD_Row, MPD_Column, MPD_TTY_ID, MPD_Description, MPD_DOM_ID) values (0,1,1,"C","description",0);)");
  TypeInto(w.Edit1, "Cells");
  EXPECT_TRUE(SampleLines(w)[0].startsWith("insert into Cells (")) << "an edit rebuilds the sample at once";

  TypeInto(w.Edit1, "MPD_MapDescriptions");
  w.rbUpdate->click();
  EXPECT_EQ(SampleLines(w)[1], R"(update MPD_MapDescriptions set MPD_TTY_ID = "F" where MPD_Row = 2 and MPD_Column = 2;)");
  w.CheckBox1->click();
  EXPECT_EQ(SampleLines(w)[0],
            R"(update MPD_MapDescriptions set MPD_TTY_ID = "citadel" where MPD_Row = 1 and MPD_Column = 1;)");
}

TEST_F(ExportWizardTest, StepsAndTheSaveRule) {
  TfSQLEx w(project, prompts, false, false);
  w.show();
  EXPECT_EQ(w.NB->currentIndex(), 0);
  EXPECT_EQ(w.bNext->text(), "Next >");
  w.Edit4->clear();
  EXPECT_TRUE(w.bNext->isEnabled()) << "the welcome page always goes on";
  w.bNext->click();
  EXPECT_EQ(w.NB->currentIndex(), 1);
  EXPECT_EQ(w.bNext->text(), "&Save");
  EXPECT_FALSE(w.bNext->isEnabled());
  TypeInto(w.Edit4, "T");
  EXPECT_TRUE(w.bNext->isEnabled());
  for (QLineEdit* edit : {w.Edit1, w.Edit2, w.Edit3}) {
    const QString text = edit->text();
    edit->clear();
    EXPECT_FALSE(w.bNext->isEnabled());
    TypeInto(edit, text);
  }
  w.Edit6->clear();  // the M/MU names are not required
  EXPECT_TRUE(w.bNext->isEnabled());
  w.bCancel->click();
  EXPECT_EQ(w.result(), QDialog::Rejected);
  EXPECT_TRUE(prompts.dialogs.isEmpty()) << "Cancel writes nothing";
}

TEST_F(ExportWizardTest, AutoSelectTicksEveryMmuOptionButTheBorder) {
  TfSQLEx w(project, prompts, true, false);
  w.show();
  for (QCheckBox* box : {w.CheckBox1, w.CheckBox2, w.CheckBox3, w.CheckBox4, w.CheckBox6})
    EXPECT_TRUE(box->isChecked()) << box->text().toStdString();
  EXPECT_FALSE(w.CheckBox5->isChecked());
  EXPECT_TRUE(SampleLines(w)[0].contains("MPD_SCN_ID"));
}

TEST_F(ExportWizardTest, SaveWritesScriptAndAccompanyingMap) {
  const QString script = File("map.sql");
  const QString map = File("map.mmf");
  {
    TfSQLEx w(project, prompts, false, true);
    w.show();
    prompts.files.push_back({script, 1});
    w.bNext->click();
    w.bNext->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
  }
  EXPECT_EQ(prompts.dialogs.front(), "Save as SQL|SQL script file (*.sql)|*.sql|Plain text file (*.txt)|*.txt|sql");
  const QByteArray text = Read(script);
  EXPECT_EQ(text.count("\r\n"), 4223);
  EXPECT_TRUE(text.startsWith("# Map data\r\n\r\ninsert into MPD_MapDescriptions"));
  EXPECT_TRUE(QFileInfo::exists(map));
  EXPECT_TRUE(prompts.questions.isEmpty());

  // An existing map file is replaced only after the question.
  TfSQLEx again(project, prompts, false, true);
  again.show();
  prompts.files.push_back({script, 1});
  again.bNext->click();
  again.bNext->click();
  ASSERT_EQ(prompts.questions.size(), 1);
  EXPECT_TRUE(prompts.questions.front().startsWith(QDir::toNativeSeparators(map)) ||
              prompts.questions.front().startsWith(map));
  EXPECT_TRUE(prompts.questions.front().contains(" already exists.\nDo you want to replace it?"));

  // A cancelled save dialog still closes with OK and writes nothing.
  const int filesBefore = static_cast<int>(QDir(dir.path()).entryList(QDir::Files).size());
  TfSQLEx cancelled(project, prompts, false, true);
  cancelled.show();
  cancelled.bNext->click();
  cancelled.bNext->click();
  EXPECT_EQ(cancelled.result(), QDialog::Accepted);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), filesBefore);
}

// Scripted prompts that answer the offer as told and remember it.
class OfferPrompts : public ScriptedPrompts {
 public:
  bool AskOffer(QWidget*, const QString& caption, const QString& text) override {
    offers.push_back(caption + "|" + text);
    return accept;
  }
  bool accept = false;
  QStringList offers;
};

TEST_F(ExportWizardTest, HtmlExportOffersTheTilePictures) {
  OfferPrompts offer;
  const QString page = File("map.html");
  offer.files.push_back({page, 1});
  EXPECT_TRUE(SaveHtmlMapFlow(nullptr, offer, project));
  EXPECT_EQ(offer.dialogs.front(), "Save HTML map file|HTML map File (*.html)|*.html|html");
  ASSERT_EQ(offer.offers.size(), 1);
  EXPECT_TRUE(offer.offers.front().startsWith("Save HTML map file|"));
  EXPECT_EQ(Read(page).count("\r\n"), 73);  // 72 and the charset line
  EXPECT_FALSE(QFileInfo::exists(File("E.gif")));

  offer.accept = true;
  offer.files.push_back({page, 1});
  EXPECT_TRUE(SaveHtmlMapFlow(nullptr, offer, project));
  for (const char* name : {"0.gif", "9.gif", "A.gif", "E.gif", "F.gif"})
    EXPECT_TRUE(QFileInfo::exists(File(name))) << name;

  EXPECT_FALSE(SaveHtmlMapFlow(nullptr, offer, project)) << "a cancelled dialog writes nothing";
  EXPECT_EQ(offer.offers.size(), 2) << "nothing is offered without a page";
}

TEST_F(ExportWizardTest, SqlCommandRunsTheWizardOverTheOpenMap) {
  Start();
  MakeBlankMap(4, 3, Plains);
  prompts.files.push_back({File("small.txt"), 2});
  OnModal<TfSQLEx>([](TfSQLEx* w) {
    w->bNext->click();
    w->bNext->click();
  });
  PartOf<QAction>(*window, "aSaveSQL")->trigger();
  EXPECT_EQ(Read(File("small.txt")).count("\r\n"), 2 + 3 * (4 + 1));
  EXPECT_FALSE(QFileInfo::exists(File("small.mmf"))) << "the accompanying map is off by default";
}

}  // namespace
}  // namespace mireforge::testing
