// Autosave and crash recovery: a killed editor's work comes back at the next
// start; copies of clean sessions, of running editors and of saved work do not.
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "app/main_window/window_parts.h"
#include "app/session/recovery.h"
#include "app/app_test_support.h"
#include "app/editor_under_test.h"
#include "base/file_io.h"
#include "formats/midnight_map.h"
#include "formats/project_file.h"
#include "base/error.h"
#include "support/same_project.h"

namespace mireforge::testing {
namespace {

// A project whose descriptions, domains and domain table differ from the defaults.
Project SampleProject() {
  Project project;
  project.Map.ResizeMap(12, 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 12; ++x) project.Map.Cells[x + y * 12] = static_cast<TerrainCode>((x * 3 + y) % 15);
  project.Map.RebuildTerrainRows();
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  project.CellDescription(1, 1)->Text = "the Tower of the Moon";
  project.CellDescription(5, 2)->Domain = 7;
  project.CellDescription(6, 2)->Domain = 7;
  project.Domains.ResetDomains();
  project.Domains.Slots[7] = {0x00336699, "Kingdom of Ice"};
  project.Domains.Slots[0].Color = 1;
  return project;
}

QStringList CopiesIn(const QString& folder, const QString& pattern = "*.mfp") {
  return QDir(folder).entryList({pattern}, QDir::Files);
}

class RecoveryTest : public MainWindowTest {
 protected:
  QString Folder() const { return dir.filePath("recovery"); }

  // Answers the restore question and remembers what it asked.
  RestoreQuestion Reply(bool restore) {
    return [this, restore](QWidget*, const QString& text) {
      asked.push_back(text);
      return restore;
    };
  }

  QStringList asked;
};

// The copy in folder once it holds the painted cell, or empty after deadlineMs.
QString WaitForCopyWith(const QString& folder, int x, int y, int code, int deadlineMs) {
  QElapsedTimer clock;
  clock.start();
  do {
    for (QDirIterator it(folder, {"*.mfp"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
      const QString copy = it.next();
      try {
        if (ReadRecoveryCopy(copy).project.Map.GetTerrain(x, y) == code) return copy;
      } catch (const Error&) {
        // Being written: read again.
      }
    }
    QTest::qWait(50);
  } while (clock.elapsed() < deadlineMs);
  return {};
}

TEST_F(RecoveryTest, KilledEditorOffersItsWorkBackAtTheNextStartAlsoUnderADialog) {
  const Project original = SampleProject();
  {
    Project toSave = original;
    SaveProject(toSave, File("castle.mfp").toStdString());
  }
  QFile ownFile(File("castle.mfp"));
  ASSERT_TRUE(ownFile.open(QIODevice::ReadOnly));
  const QByteArray ownBytes = ownFile.readAll();
  ownFile.close();

  // The keys of "Go to cell", "Save project" and "Options": each opens a modal
  // dialog at once after the paint, as a user does.
  for (const char* dialogKeys : {"Ctrl+J", "Shift+Ctrl+S", "Ctrl+O"}) {
    SCOPED_TRACE(dialogKeys);
    asked.clear();
    const QString home = dir.filePath(QString("run-%1").arg(QString(dialogKeys).remove('+')));
    // The editor as a user starts it, with a private home; it paints cell (3,4)
    // forest with a click of the paint tool, opens the dialog, and is killed
    // once its copy holds the paint, within the 2 s that may be lost.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
      const QString folder = home + "/" + QString(variable).toLower();
      QDir().mkpath(folder);
      environment.insert(variable, folder);
    }
    QFile::setPermissions(home + "/xdg_runtime_dir", QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                         QFileDevice::ExeOwner);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("MIREFORGE_DRIVE", QString("paint:3,4,2;key:") + dialogKeys);
    QProcess editor;
    editor.setProcessEnvironment(environment);
    editor.setWorkingDirectory(home);
    editor.start(QCoreApplication::applicationFilePath(), {EditorUnderTestOption, File("castle.mfp")});
    ASSERT_TRUE(editor.waitForStarted(10000));
    QByteArray output;
    for (int i = 0; i < 600 && !output.contains("dialog open") && editor.state() == QProcess::Running; ++i) {
      editor.waitForReadyRead(50);
      output += editor.readAllStandardError();
    }
    ASSERT_TRUE(output.contains("painted 2")) << "the click did not paint: " << output.toStdString();
    ASSERT_TRUE(output.contains("dialog open")) << output.toStdString();
    const QString copy = WaitForCopyWith(home + "/xdg_data_home", 3, 4, 2, 8000);
    editor.kill();  // SIGKILL: no shutdown code runs
    ASSERT_TRUE(editor.waitForFinished(10000));
    EXPECT_EQ(editor.exitStatus(), QProcess::CrashExit);
    ASSERT_FALSE(copy.isEmpty()) << "no recovery copy of the paint 8 s after it, with the dialog open";
    const QString folder = QFileInfo(copy).absolutePath();
    EXPECT_EQ(QFileInfo(folder).fileName(), "recovery");

    ASSERT_TRUE(ownFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(ownFile.readAll(), ownBytes) << "autosave wrote over the user's own file";
    ownFile.close();

    // The next start.
    TfMain& main = Start();
    ASSERT_TRUE(OfferRecovery(main, main.Document(), prompts, folder, Reply(true)));
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].startsWith("Mireforge did not close properly. Restore the unsaved work from "));
    EXPECT_TRUE(asked[0].endsWith("?"));

    Project expected = original;
    expected.SetTerrain(3, 4, 2);
    ASSERT_EQ(expected.CellDescription(3, 4)->Text, "forest");  // the edit reached the description too
    ExpectSameProject(main.CurrentProject(), expected);
    EXPECT_FALSE(main.CurrentProject().ProjectSaved);
    EXPECT_EQ(QString::fromStdString(main.CurrentProject().ProjectFileName), File("castle.mfp"));
    EXPECT_EQ(main.windowTitle(), "Mireforge - castle.mfp");
    EXPECT_TRUE(main.MapPresent());
    EXPECT_TRUE(PartOf<QAction>(main, "aSaveProject")->isEnabled());

    // Offered once: the copy went with the restore, and no stale lock is left.
    EXPECT_TRUE(CopiesIn(folder).isEmpty());
    EXPECT_TRUE(CopiesIn(folder, "*.lock").isEmpty());
    EXPECT_FALSE(OfferRecovery(main, main.Document(), prompts, folder, Reply(true)));
    EXPECT_EQ(asked.size(), 1);
    TearDown();
  }
}

TEST_F(RecoveryTest, CopiesOfDeadSessionsAreOfferedNewestFirstAndDiscardRemovesThem) {
  QDir().mkpath(Folder());
  Project older = SampleProject();
  older.ProjectFileName = File("older.mfp").toStdString();
  Project newer = SampleProject();
  newer.SetTerrain(0, 0, 5);
  // No lock beside them: their sessions are gone.
  WriteRecoveryCopy(older, Folder() + "/session-a.mfp", QDateTime::currentDateTime().addSecs(-600));
  WriteRecoveryCopy(newer, Folder() + "/session-b.mfp", QDateTime::currentDateTime());
  {
    QFile file(Folder() + "/session-a.mfp");
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime::currentDateTime().addSecs(-600), QFileDevice::FileModificationTime);
  }

  TfMain& main = Start();
  // Discard the newer, restore the older.
  int answers = 0;
  ASSERT_TRUE(OfferRecovery(main, main.Document(), prompts, Folder(), [&](QWidget*, const QString& text) {
    asked.push_back(text);
    return ++answers == 2;
  }));
  ASSERT_EQ(asked.size(), 2);
  EXPECT_NE(asked[0], asked[1]);  // each names its own time
  ExpectSameProject(main.CurrentProject(), older);
  EXPECT_EQ(QString::fromStdString(main.CurrentProject().ProjectFileName), File("older.mfp"));
  EXPECT_TRUE(CopiesIn(Folder()).isEmpty());

  // A copy without an original file opens untitled.
  WriteRecoveryCopy(newer, Folder() + "/session-c.mfp", QDateTime::currentDateTime());
  main.CurrentProject().ProjectSaved = true;
  ASSERT_TRUE(OfferRecovery(main, main.Document(), prompts, Folder(), Reply(true)));
  EXPECT_TRUE(main.CurrentProject().ProjectFileName.empty());
  EXPECT_EQ(main.windowTitle(), "Mireforge");
  EXPECT_FALSE(main.CurrentProject().ProjectSaved);
}

TEST_F(RecoveryTest, ACutCopyIsNotOfferedAsIfWhole) {
  QDir().mkpath(Folder());
  const QString path = Folder() + "/session-cut.mfp";
  Project project = SampleProject();
  project.Map.ResizeMap(66, 63);
  BuildDefaultDescriptions(project.Descriptions, project.Map);
  WriteRecoveryCopy(project, path, QDateTime::currentDateTime());
  ExpectSameProject(ReadRecoveryCopy(path).project, project);
  // Cut at 300 bytes, and cut just before its end: both read as valid project files.
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray whole = file.readAll();
  file.close();
  for (const QByteArray& cut : {whole.left(300), whole.left(whole.size() - 3)}) {
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(cut);
    file.close();
    EXPECT_THROW(ReadRecoveryCopy(path), Error);
  }
  TfMain& main = Start();
  EXPECT_FALSE(OfferRecovery(main, main.Document(), prompts, Folder(), Reply(true)));
  EXPECT_TRUE(asked.isEmpty());
  ASSERT_EQ(prompts.errors.size(), 1);
  EXPECT_TRUE(prompts.errors[0].endsWith("cannot be restored: the copy is damaged or incomplete"));
  EXPECT_TRUE(QFile::exists(path + ".damaged"));
  EXPECT_FALSE(main.MapPresent());
}

TEST_F(RecoveryTest, FilesLeftByCutSavesAreReportedAndRemovedWhenTheUserAgrees) {
  struct Offers : ScriptedPrompts {
    bool AskOffer(QWidget*, const QString& caption, const QString& text) override {
      offers.push_back(caption + "|" + text);
      return agree;
    }
    QStringList offers;
    bool agree = false;
  } offers;
  QDir().mkpath(Folder());
  const QString leftover = Folder() + "/.session-1.mfp.mireforge-tmp-Ab12Cd";
  WriteWholeFile(leftover.toStdString(), std::string(2048, 'x'), "%s");
  TfMain& main = Start();
  EXPECT_FALSE(OfferRecovery(main, main.Document(), offers, Folder(), Reply(true)));
  ASSERT_EQ(offers.offers.size(), 1);
  EXPECT_TRUE(offers.offers[0].startsWith("Warning|Saves that were cut short left these files in " + Folder()));
  EXPECT_TRUE(offers.offers[0].contains("\n.session-1.mfp.mireforge-tmp-Ab12Cd (2")) << offers.offers[0].toStdString();
  EXPECT_TRUE(QFile::exists(leftover));  // the user said no
  offers.agree = true;
  OfferRecovery(main, main.Document(), offers, Folder(), Reply(true));
  EXPECT_FALSE(QFile::exists(leftover));
  OfferRecovery(main, main.Document(), offers, Folder(), Reply(true));
  EXPECT_EQ(offers.offers.size(), 2) << "nothing left to tell";
}

TEST_F(RecoveryTest, UnreadableCopyIsReportedAndKeptAside) {
  QDir().mkpath(Folder());
  QFile damaged(Folder() + "/session-x.mfp");
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write("[Mireforge project file]\r\nVersion=2.0\r\n[Map]\r\nWidth=9999\r\nHeight=3\r\n");
  damaged.close();

  TfMain& main = Start();
  EXPECT_FALSE(OfferRecovery(main, main.Document(), prompts, Folder(), Reply(true)));
  EXPECT_TRUE(asked.isEmpty());
  ASSERT_EQ(prompts.errors.size(), 1);
  EXPECT_TRUE(prompts.errors[0].contains("session-x.mfp.damaged"));
  EXPECT_TRUE(QFile::exists(Folder() + "/session-x.mfp.damaged"));
  EXPECT_FALSE(main.MapPresent());
  // Not offered again at the next start.
  EXPECT_FALSE(OfferRecovery(main, main.Document(), prompts, Folder(), Reply(true)));
  EXPECT_EQ(prompts.errors.size(), 1);
}

TEST_F(RecoveryTest, SessionKeepsACopyOnlyWhileWorkIsUnsaved) {
  TfMain& main = Start();
  Project map = SampleProject();
  WriteMidnightMap(File("land.php").toStdString(), map.Map, false);

  auto session = std::make_unique<RecoverySession>(main, main.Document(), Folder(), 60 * 60 * 1000);
  QApplication::processEvents();
  EXPECT_TRUE(CopiesIn(Folder()).isEmpty()) << "nothing unsaved yet";

  // A wholesale change is written at once, without waiting for the timer.
  ASSERT_TRUE(main.OpenFile(File("land.php")));
  QApplication::processEvents();
  session->WaitForWrite();
  ASSERT_TRUE(QFile::exists(session->CopyPath()));
  ExpectSameProject(ReadRecoveryCopy(session->CopyPath()).project, main.CurrentProject());

  // A running editor's copy is not offered to another one.
  {
    ScriptedPrompts otherPrompts;
    TfMain other(dir.filePath("other.ini"), otherPrompts);
    EXPECT_FALSE(OfferRecovery(other, other.Document(), otherPrompts, Folder(), Reply(true)));
    EXPECT_TRUE(asked.isEmpty());
  }

  // Saving removes it.
  prompts.files.push_back({File("land.mfp")});
  PartOf<QAction>(main, "aSaveProject")->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(main.CurrentProject().ProjectSaved);
  EXPECT_FALSE(QFile::exists(session->CopyPath()));

  // Answering No to the save question of New removes it too.
  MakeBlankMap(20, 10, 2);
  QApplication::processEvents();
  session->WaitForWrite();
  ASSERT_FALSE(main.CurrentProject().ProjectSaved);
  ASSERT_TRUE(QFile::exists(session->CopyPath())) << session->LastError().toStdString();
  prompts.answers.push_back(Answer::No);
  PartOf<QAction>(main, "aNew")->trigger();
  QApplication::processEvents();
  EXPECT_FALSE(QFile::exists(session->CopyPath()));

  // A clean exit removes the copy and the session's lock.
  MakeBlankMap(20, 10, 2);
  QApplication::processEvents();
  session->WaitForWrite();
  ASSERT_TRUE(QFile::exists(session->CopyPath()));
  session.reset();
  EXPECT_TRUE(QDir(Folder()).entryList(QDir::Files).isEmpty());
}

TEST_F(RecoveryTest, EditsAreWrittenByTheTimerNotOnEveryCell) {
  TfMain& main = Start();
  MakeBlankMap(30, 20, 0);
  main.CurrentProject().ProjectSaved = true;  // as if just saved
  main.UndoStack().setClean();
  RecoverySession session(main, main.Document(), Folder(), 300);
  QApplication::processEvents();
  ASSERT_FALSE(QFile::exists(session.CopyPath()));

  main.ChooseTerrain(2);
  PartOf<QAction>(main, "aPaint")->trigger();
  QSignalSpy written(&session, &RecoverySession::CopyWritten);
  QElapsedTimer sinceStroke;
  sinceStroke.start();
  Stroke({{3, 3}, {4, 3}, {5, 3}, {6, 3}});
  ASSERT_FALSE(main.CurrentProject().ProjectSaved);
  // A painted cell must not cost a whole-project write: the stroke is written
  // once, by the timer.
  ASSERT_TRUE(written.wait(5000));
  EXPECT_GE(sinceStroke.elapsed(), 285);  // a coarse timer may fire 5% early
  EXPECT_FALSE(written.wait(600)) << "written again with nothing new";
  EXPECT_EQ(written.count(), 1);
  EXPECT_EQ(ReadRecoveryCopy(session.CopyPath()).project.Map.GetTerrain(4, 3), 2);

  // Undo back to the saved state: nothing is left to recover.
  main.UndoStack().undo();
  QApplication::processEvents();
  EXPECT_TRUE(main.CurrentProject().ProjectSaved);
  EXPECT_FALSE(QFile::exists(session.CopyPath()));
}

TEST_F(RecoveryTest, MapTransformIsWrittenAtOnce) {
  TfMain& main = Start();
  MakeBlankMap(30, 20, 0);
  main.CurrentProject().ProjectSaved = true;
  main.UndoStack().setClean();
  RecoverySession session(main, main.Document(), Folder(), 60 * 60 * 1000);
  QApplication::processEvents();
  PartOf<QAction>(main, "aRotateClockwise")->trigger();
  QApplication::processEvents();
  session.WaitForWrite();
  ASSERT_TRUE(QFile::exists(session.CopyPath())) << "a whole-map change must not wait for the timer";
  EXPECT_EQ(ReadRecoveryCopy(session.CopyPath()).project.Map.Width, 20);
}

TEST_F(RecoveryTest, UnwritableFolderLeavesEditingAlone) {
  QFile blocker(dir.filePath("not-a-folder"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  TfMain& main = Start();
  RecoverySession session(main, main.Document(), dir.filePath("not-a-folder/recovery"));
  EXPECT_TRUE(session.CopyPath().isEmpty());
  EXPECT_FALSE(session.LastError().isEmpty());
  MakeBlankMap(10, 10, 0);
  QApplication::processEvents();
  session.Update();  // must neither throw nor write anywhere
  EXPECT_TRUE(main.MapPresent());
}

}  // namespace
}  // namespace mireforge::testing
