// The real editor's own command line: answers and messages without a display.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QFile>
#include <QTemporaryDir>
#include <fstream>

#include "app/editor_under_test.h"

namespace mireforge {
namespace {

struct EditorRun {
  int status = -1;
  QString out, err;
};

// Runs the editor with only the given display variables set.
EditorRun RunEditor(const QStringList& arguments, const QMap<QString, QString>& display, const QString& waitFor = {},
                    const QString& program = MIREFORGE_APP_PATH) {
  QTemporaryDir home;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(variable);
  for (auto it = display.begin(); it != display.end(); ++it) environment.insert(it.key(), it.value());
  for (const char* variable : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"})
    environment.insert(variable, home.path());
  QProcess editor;
  editor.setProcessEnvironment(environment);
  editor.start(program, arguments);
  editor.waitForStarted(10000);
  EditorRun run;
  if (waitFor.isEmpty()) {
    editor.waitForFinished(30000);
  } else {
    // The editor keeps running: read until the line comes, then stop it.
    for (int i = 0; i < 600 && !run.err.contains(waitFor) && editor.state() == QProcess::Running; ++i) {
      editor.waitForReadyRead(50);
      run.err += QString::fromLocal8Bit(editor.readAllStandardError());
    }
    editor.kill();
    editor.waitForFinished(10000);
  }
  run.status = editor.exitStatus() == QProcess::NormalExit ? editor.exitCode() : -1;
  run.out = QString::fromLocal8Bit(editor.readAllStandardOutput());
  run.err += QString::fromLocal8Bit(editor.readAllStandardError());
  return run;
}

TEST(EditorCommandLine, AnswersWithoutADisplayAndExplainsAMissingOneInOneLine) {
  const EditorRun version = RunEditor({"--version"}, {});
  EXPECT_EQ(version.status, 0) << version.err.toStdString();
  EXPECT_EQ(version.out.toStdString(), std::string("mireforge ") + MIREFORGE_VERSION + "\n");
  const EditorRun help = RunEditor({"some.mfp", "--help"}, {});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.startsWith("Usage: mireforge [FILE]\n")) << help.out.toStdString();

  const EditorRun none = RunEditor({}, {});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err.toStdString(),
            "mireforge: no display to open the editor on (DISPLAY is not set); mireforge-cli works without one\n");
  // A display named but not there: Qt's abort becomes the same kind of line.
  const EditorRun gone = RunEditor({}, {{"DISPLAY", ":97"}, {"QT_QPA_PLATFORM", "xcb"}});
  EXPECT_EQ(gone.status, 1);
  EXPECT_EQ(gone.err.toStdString(), "mireforge: cannot open a window on the display :97; mireforge-cli works without one\n");

  const EditorRun wrong = RunEditor({"--bogus"}, {{"QT_QPA_PLATFORM", "offscreen"}});
  EXPECT_EQ(wrong.status, 2);
  EXPECT_EQ(wrong.err.toStdString(), "mireforge: unknown option '--bogus'\nTry 'mireforge --help'.\n");
  const EditorRun extra = RunEditor({"a.php", "b.php", "c.mfp"}, {{"QT_QPA_PLATFORM", "offscreen"}}, "ignored");
  EXPECT_TRUE(extra.err.contains("mireforge: opens one file at a time; ignored: b.php, c.mfp\n")) << extra.err.toStdString();
}


TEST(EditorCommandLine, OpensAFileWhoseNameIsNotText) {
  QTemporaryDir folder;
  // "café.php" as a Latin-1 system writes it: the é is the one byte E9.
  const std::string name = QFile::encodeName(folder.path()).toStdString() + "/caf\xE9.php";
  std::ofstream(name, std::ios::binary) << " \"CF \", //0\r\n \"cXD\"  //1\r\n";
  // Through a shell, which hands the editor the name's bytes as they are.
  const EditorRun run = RunEditor({"-c", "exec \"$0\" \"$1\" \"$2/caf$(printf '\\351').php\"",
                                   QCoreApplication::applicationFilePath(), testing::EditorUnderTestOption, folder.path()},
                                  {{"QT_QPA_PLATFORM", "offscreen"}, {"MIREFORGE_DRIVE", "paint:1,1,2"}}, "painted",
                                  "/bin/sh");
  // The paint waits for a map, which only the file can have brought.
  EXPECT_TRUE(run.err.contains("mireforge-test: painted ")) << "the map did not open: " << run.err.toStdString();
  EXPECT_FALSE(run.err.contains("Cannot open")) << run.err.toStdString();
}

}  // namespace
}  // namespace mireforge
