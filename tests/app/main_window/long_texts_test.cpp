// A project holding a 10 MB description and a 10 MB domain name, loaded through
// the editor's own load command: the texts arrive cut to 2,047 characters and
// nothing in the window grows or stalls to show them.
#include <QLineEdit>
#include <QTest>
#include <QStatusBar>
#include <QTableView>
#include <string>

#include "app/main_window/window_parts.h"
#include "app/app_test_support.h"
#include "app/dialogs/editor_dialogs.h"
#include "app/layout/status_panel.h"
#include "base/file_io.h"
#include "formats/project_file.h"

namespace mireforge::testing {
namespace {

class LongTextsTest : public MainWindowTest {};

TEST_F(LongTextsTest, HugeTextsLoadCutAndShowElided) {
  {
    Project project;
    project.Map.ResizeMap(4, 3);
    project.Map.RebuildTerrainRows();
    BuildDefaultDescriptions(project.Descriptions, project.Map);
    project.Descriptions.Entry(5).Text = "DESCRIPTION";
    project.Descriptions.Entry(5).Domain = 1;
    project.Domains.Slots[1] = {0x0000FF, "DOMAIN"};
    WriteProjectFile(project, File("huge.mfp").toStdString());
  }
  std::string bytes = ReadWholeFile(File("huge.mfp").toStdString());
  const std::string huge(10 << 20, 'w');
  bytes.replace(bytes.find("DESCRIPTION"), 11, huge);
  bytes.replace(bytes.find("DOMAIN"), 6, huge);
  WriteWholeFile(File("huge.mfp").toStdString(), bytes, "%s");

  TfMain& w = Start();
  const int barHeight = w.statusBar()->height();
  const int minimumWidth = w.minimumSizeHint().width();
  prompts.files.push_back({File("huge.mfp"), 1});
  PartOf<QAction>(w, "aLoadProject")->trigger();
  ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(";").toStdString();
  EXPECT_EQ(Item(1, 1).Text, std::string(2047, 'w'));
  EXPECT_EQ(w.CurrentProject().Domains.Name(1), std::string(2047, 'w'));

  // Clicking the cell shows its description in the status bar, cut to fit.
  Mouse(QEvent::MouseButtonPress, 1, 1, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, 1, 1, Qt::LeftButton, Qt::NoButton);
  QApplication::processEvents();
  ASSERT_EQ(w.StatusText(7).size(), 2047);
  EXPECT_EQ(w.statusBar()->height(), barHeight);
  EXPECT_LE(w.minimumSizeHint().width(), minimumWidth);
  EXPECT_LE(w.width(), 1000);
  for (auto* panel : w.statusBar()->findChildren<StatusPanel*>()) EXPECT_LT(panel->sizeHint().width(), 4000);

  // The description list draws its rows, the cut text and the selected row among them,
  // pixel for pixel as the style draws them, with the list in focus and without.
  auto* list = PartOf<QTableView>(w, "DescVT");
  const auto expectStyled = [list](const char* when) { ExpectDrawnAsTheStyle(list, when); };
  expectStyled("grid in focus");
  QApplication::setActiveWindow(&w);
  // The list keeps the focus a click gives it, its current row framed.
  if (auto* toGrid = PartOf<QAction>(w, "aCenterMap"); toGrid->isChecked()) toGrid->trigger();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(5, 2)).center());
  ASSERT_EQ(list->currentIndex().row(), 5);
  ASSERT_TRUE(list->hasFocus());
  expectStyled("list in focus");

  // The dialogs showing the texts stay their size; what is typed stops at 2,047 characters.
  OnModal<TfSetDom>([](TfSetDom* d) {
    EXPECT_LT(d->sizeHint().width(), 1000);
    EXPECT_EQ(d->eName->text().size(), 2047);
    d->eName->setFocus();
    QTest::keyClick(d->eName, Qt::Key_End);
    QTest::keyClicks(d->eName, "more");
    EXPECT_EQ(d->eName->text().size(), 2047);
    d->reject();
  });
  PartOf<QAction>(w, "aSetDomain")->trigger();
  OnModal<TfSetName>([](TfSetName* d) {
    EXPECT_LT(d->sizeHint().width(), 1000);
    QTest::keyClick(d->cbDescription->lineEdit(), Qt::Key_End);
    QTest::keyClicks(d->cbDescription->lineEdit(), "more");
    EXPECT_EQ(d->Text().size(), 2047);
    d->reject();
  });
  PartOf<QAction>(w, "aSetName")->trigger();
}

}  // namespace
}  // namespace mireforge::testing
