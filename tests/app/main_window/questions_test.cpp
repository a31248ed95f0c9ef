// The questions asked before work is replaced or overwritten, answered in the
// real message boxes: unsaved changes before every new map, never a silent
// save over a project the map did not come from, and the HTML page's pictures.
#include <QFile>
#include <QTest>

#include "app/main_window/window_parts.h"
#include "app/wizards/generation_wizard.h"
#include "formats/midnight_map.h"
#include "formats/preview_image.h"
#include "formats/project_file.h"
#include "support/same_project.h"
#include "app/real_input.h"

namespace mireforge::testing {
namespace {

const QString CurrentProjectQuestion = "Warning|Do you want to save changes you made to current project?";

class QuestionsTest : public MainWindowTest {
 protected:
  QByteArray Bytes(const QString& name) {
    QFile file(File(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void Ctrl(Qt::Key key) { PressKey(window.get(), key, Qt::ControlModifier); }
  // The window closes without a question, as at the end of a test.
  void CloseWindow() {
    window->CurrentProject().ProjectSaved = true;
    window->close();
    window.reset();
  }

  BoxPrompts boxes;
};

// Create map, Import bitmap, a blank map, the three loads and New all ask
// first; Cancel leaves the map and opens nothing.
TEST_F(QuestionsTest, EveryWholesaleReplacementAsksFirst) {
  Start(&boxes);
  MakeBlankMap(9, 9);
  ASSERT_FALSE(window->CurrentProject().ProjectSaved);
  struct Command {
    const char* name;
    std::function<void()> run;
  };
  const Command commands[] = {
      {"Create map (Ctrl+C)", [&] { Ctrl(Qt::Key_C); }},
      {"Import bitmap (Ctrl+I)", [&] { Ctrl(Qt::Key_I); }},
      {"Create blank map", [&] { PartOf<QAction>(*window, "aNewBlank")->trigger(); }},
      {"Load project (Ctrl+Q)", [&] { Ctrl(Qt::Key_Q); }},
      {"Load Midnight/MU map (Ctrl+M)", [&] { Ctrl(Qt::Key_M); }},
      {"Load preview image (Ctrl+L)", [&] { Ctrl(Qt::Key_L); }},
      {"New empty project", [&] { PartOf<QAction>(*window, "aNew")->trigger(); }},
  };
  for (const Command& command : commands) {
    SCOPED_TRACE(command.name);
    const auto log = AnswerBoxes({QMessageBox::Cancel});
    command.run();
    EXPECT_EQ(log->boxes, QStringList{CurrentProjectQuestion});
    EXPECT_TRUE(log->others.isEmpty()) << log->others.join(", ").toStdString();
    EXPECT_TRUE(boxes.dialogs.isEmpty()) << boxes.dialogs.join(", ").toStdString();
    EXPECT_EQ(window->CurrentProject().Map.Width, 9);
    EXPECT_FALSE(window->CurrentProject().ProjectSaved);
  }
  // No: the command goes on to its own dialog.
  const auto log = AnswerBoxes({QMessageBox::No, QMessageBox::NoButton});
  Ctrl(Qt::Key_C);
  EXPECT_EQ(log->boxes, QStringList{CurrentProjectQuestion});
  EXPECT_EQ(log->others, QStringList{"mireforge::TfParams"});
}

// After a map that did not come from the open project file, Yes asks where to
// save (the save dialog) instead of writing over that project.
TEST_F(QuestionsTest, YesNeverSavesAnUnrelatedMapOverTheOpenProject) {
  MapGrid other;
  other.ResizeMap(5, 4);
  other.FillTerrain(Lake, true);
  WriteMidnightMap(File("other.php").toStdString(), other, false);
  SavePreviewImage(File("other.png").toStdString(), PictureFileType::Png, other);
  {
    Start(&boxes);
    MakeBlankMap(6, 6, Forest);
    boxes.files.push_back({File("castle.mfp"), 1});
    PartOf<QAction>(*window, "aSaveProject")->trigger();
    ASSERT_EQ(window->windowTitle(), "Mireforge - castle.mfp");
    CloseWindow();
  }
  const QByteArray project = Bytes("castle.mfp");
  ASSERT_FALSE(project.isEmpty());

  struct Replacement {
    const char* name;
    std::function<void()> run;
  };
  const Replacement replacements[] = {
      {"Load Midnight/MU map",
       [&] {
         boxes.files.push_back({File("other.php"), 1});
         Ctrl(Qt::Key_M);
       }},
      {"Load preview image",
       [&] {
         boxes.files.push_back({File("other.png"), 2});
         Ctrl(Qt::Key_L);
       }},
      {"Create blank map", [&] { MakeBlankMap(8, 8); }},
      {"Create map",
       [&] {
         OnModal<TfParams>([](TfParams* w) {
           for (int page = 0; page < 3; ++page) QTest::mouseClick(w->bNext, Qt::LeftButton);
         });
         Ctrl(Qt::Key_C);
       }},
  };
  for (const Replacement& replacement : replacements) {
    SCOPED_TRACE(replacement.name);
    Start(&boxes);
    ASSERT_TRUE(window->OpenFile(File("castle.mfp")));
    ASSERT_EQ(window->windowTitle(), "Mireforge - castle.mfp");
    replacement.run();
    ASSERT_TRUE(boxes.errors.isEmpty()) << boxes.errors.join("; ").toStdString();
    ASSERT_FALSE(window->CurrentProject().ProjectSaved);
    EXPECT_EQ(window->windowTitle(), "Mireforge") << "the title must not name a file that does not hold the map";

    boxes.dialogs.clear();
    const auto log = AnswerBoxes({QMessageBox::Yes});
    PartOf<QAction>(*window, "aNew")->trigger();  // Yes, then the save dialog, which is cancelled
    EXPECT_EQ(log->boxes, QStringList{CurrentProjectQuestion});
    ASSERT_EQ(boxes.dialogs.size(), 1);
    EXPECT_TRUE(boxes.dialogs.front().startsWith("Save Mireforge project file|"));
    EXPECT_EQ(Bytes("castle.mfp"), project);
    EXPECT_TRUE(window->MapPresent()) << "a cancelled save dialog keeps the work";
    CloseWindow();
  }
}

// The pictures beside the HTML page may be the user's own: replacing them is asked.
TEST_F(QuestionsTest, HtmlExportAsksBeforeReplacingTilePictures) {
  Start(&boxes);
  MakeBlankMap(4, 4, Mountains);
  QFile own(File("E.gif"));
  ASSERT_TRUE(own.open(QIODevice::WriteOnly));
  own.write("my own plains");
  own.close();

  // Write the pictures: yes; replace the existing one: no.
  boxes.files.push_back({File("map.html"), 1});
  auto log = AnswerBoxes({QMessageBox::Yes, QMessageBox::No});
  PressKey(window.get(), Qt::Key_H, Qt::ControlModifier);
  ASSERT_EQ(log->boxes.size(), 2);
  EXPECT_EQ(log->boxes[1],
            "Save As|These tile pictures already exist beside the page: E.gif.\n"
            "Do you want to replace them? (No keeps them and writes only the missing ones.)");
  EXPECT_EQ(Bytes("E.gif"), "my own plains");
  EXPECT_TRUE(Bytes("0.gif").startsWith("GIF")) << "the missing pictures are written";
  EXPECT_TRUE(Bytes("map.html").contains("0.gif"));

  // Every picture exists now; yes replaces them all.
  boxes.files.push_back({File("map.html"), 1});
  log = AnswerBoxes({QMessageBox::Yes, QMessageBox::Yes});
  PressKey(window.get(), Qt::Key_H, Qt::ControlModifier);
  ASSERT_EQ(log->boxes.size(), 2);
  EXPECT_TRUE(log->boxes[1].contains("0.gif, 1.gif, 2.gif"));
  EXPECT_TRUE(Bytes("E.gif").startsWith("GIF"));
  EXPECT_TRUE(boxes.errors.isEmpty()) << boxes.errors.join("; ").toStdString();
}

// Another program changed the open project's file: the change is offered for
// reloading as soon as it lands, and a save over it asks first, whether it
// comes from the save question or the Save dialog; the editor's own saves
// raise no question.
TEST_F(QuestionsTest, AProjectChangedByAnotherProgramIsOfferedAndNeverReplacedUnasked) {
  // Another program's version of the file: a different map, each time.
  const auto otherProgramWrites = [this](int width, int terrain) {
    Project other;
    other.Map.ResizeMap(width, 4);
    other.Map.FillTerrain(terrain, true);
    BuildDefaultDescriptions(other.Descriptions, other.Map);
    SaveProject(other, File("castle.mfp").toStdString());
    return other;
  };
  otherProgramWrites(6, Forest);
  Start(&boxes);
  ASSERT_TRUE(window->OpenFile(File("castle.mfp")));
  const QString reloadQuestion =
      "Warning|castle.mfp was changed by another program. Reload it? The changes made here since it was saved will "
      "be lost.";
  const QString replaceQuestion =
      "Save As|castle.mfp was changed by another program since it was opened here.\nReplace it with this project?";

  // Painted here, changed there; the offer is declined.
  window->ChooseTerrain(Mountains);
  PartOf<QAction>(*window, "aPaint")->trigger();
  Stroke({{1, 1}, {2, 1}});
  ASSERT_FALSE(window->CurrentProject().ProjectSaved);
  otherProgramWrites(7, Lake);
  const QByteArray theirs = Bytes("castle.mfp");
  auto log = AnswerBoxes({QMessageBox::No});
  QTRY_COMPARE_WITH_TIMEOUT(log->boxes.size(), 1, 5000);
  EXPECT_EQ(log->boxes[0], reloadQuestion);
  EXPECT_EQ(window->CurrentProject().Map.GetTerrain(1, 1), Mountains);

  // Saving over it through the save question, and through the Save dialog: No keeps their file.
  log = AnswerBoxes({QMessageBox::Yes, QMessageBox::No});
  PartOf<QAction>(*window, "aNew")->trigger();
  EXPECT_EQ(log->boxes, QStringList({CurrentProjectQuestion, replaceQuestion}));
  EXPECT_TRUE(window->MapPresent()) << "refusing to replace their file cancels New";
  boxes.files.push_back({File("castle.mfp"), 1});
  log = AnswerBoxes({QMessageBox::No});
  PressKey(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(log->boxes, QStringList{replaceQuestion});
  EXPECT_EQ(Bytes("castle.mfp"), theirs);
  EXPECT_FALSE(window->CurrentProject().ProjectSaved);

  // Changed again: this time it is reloaded, and is what they wrote.
  const Project latest = otherProgramWrites(9, Mountains);
  log = AnswerBoxes({QMessageBox::Yes});
  QTRY_COMPARE_WITH_TIMEOUT(log->boxes.size(), 1, 5000);
  EXPECT_EQ(log->boxes[0], reloadQuestion);
  QTRY_VERIFY_WITH_TIMEOUT(window->CurrentProject().Map.Width == 9, 5000);
  ExpectSameProject(window->CurrentProject(), latest);
  EXPECT_TRUE(window->CurrentProject().ProjectSaved);
  EXPECT_EQ(window->windowTitle(), "Mireforge - castle.mfp");

  // The editor's own save is no other program's: no question, no offer.
  window->ChooseTerrain(Forest);
  if (!PartOf<QAction>(*window, "aPaint")->isChecked()) PartOf<QAction>(*window, "aPaint")->trigger();
  Stroke({{3, 2}});
  ASSERT_FALSE(window->CurrentProject().ProjectSaved);
  boxes.files.push_back({File("castle.mfp"), 1});
  log = AnswerBoxes({QMessageBox::NoButton});
  PressKey(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(window->CurrentProject().ProjectSaved);
  QTest::qWait(500);
  EXPECT_TRUE(log->boxes.isEmpty() && log->others.isEmpty()) << log->boxes.join("; ").toStdString();
  EXPECT_TRUE(boxes.errors.isEmpty()) << boxes.errors.join("; ").toStdString();
}

}  // namespace
}  // namespace mireforge::testing
