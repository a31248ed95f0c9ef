// mireforge: the desktop editor.
#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>

#include "app/main_window/main_window.h"
#include "app/session/command_line.h"
#include "app/session/desktop_session.h"
#include "app/session/file_names.h"
#include "app/session/preferences.h"
#include "app/session/recovery.h"
#include "app/dialogs/small_forms.h"
#include "app/dialogs/user_prompts.h"
#include "base/file_io.h"

int main(int argc, char* argv[]) {
  switch (mireforge::EarlyAnswerOf(argc, argv)) {
    case mireforge::EarlyAnswer::Help:
      std::fputs(mireforge::EditorHelpText().c_str(), stdout);
      return 0;
    case mireforge::EarlyAnswer::Version:
      std::fputs(mireforge::EditorVersionText().c_str(), stdout);
      return 0;
    case mireforge::EarlyAnswer::None:
      break;
  }
  if (const std::string missing = mireforge::MissingDisplay(argc, argv); !missing.empty()) {
    std::fprintf(stderr, "%s\n", missing.c_str());
    return 1;
  }
  mireforge::BeginGuardedStart();
  QApplication app(argc, argv);
  mireforge::EndGuardedStart();
  // Qt took its own options out of argv; the rest keep their bytes, which need not be text.
  QStringList given;
  for (int i = 1; i < argc; ++i) given << mireforge::NameFromBytes(QByteArray(argv[i]));
  const mireforge::EditorArguments arguments = mireforge::SortEditorArguments(given);
  if (!arguments.unknownOption.isEmpty()) {
    std::fprintf(stderr, "mireforge: unknown option '%s'\nTry 'mireforge --help'.\n",
                 arguments.unknownOption.toLocal8Bit().constData());
    return 2;
  }
  if (!arguments.ignoredFiles.isEmpty())
    std::fprintf(stderr, "mireforge: opens one file at a time; ignored: %s\n",
                 arguments.ignoredFiles.join(", ").toLocal8Bit().constData());
  QApplication::setApplicationName("Mireforge");
  QApplication::setWindowIcon(mireforge::AppIcon());
  QGuiApplication::setDesktopFileName("org.mireforge.Mireforge");

  mireforge::DialogPrompts prompts;
  mireforge::TfMain window(mireforge::Preferences::DefaultPath(), prompts);
  window.ShowAtStart();
  // What an in-place save stages (the target's folder refusing a new file) is
  // kept where the next start looks for what a killed save left behind.
  mireforge::SetStagingFolder(QFile::encodeName(mireforge::DefaultRecoveryFolder()).toStdString());
  // A save into a pipe whose reader stops fails instead of freezing the window.
  mireforge::SetDeviceWriteWait(std::chrono::seconds(2));
  // Destroyed only on a clean exit, which removes the autosaved copy.
  mireforge::RecoverySession recovery(window);

  // Once the window is up, so that questions and failures show over it. Lost
  // work is offered before a file named on the command line is opened, whose
  // load then asks before replacing what was restored.
  QTimer::singleShot(0, &window, [&window, &prompts, file = arguments.file] {
    try {
      const bool restored = mireforge::OfferRecovery(window, prompts);
      const QString open = !file.isEmpty() ? file
                           : restored      ? QString()
                                           : mireforge::SessionOf(window)->ProjectToReopen(window.Prefs().projects.Entries());
      if (open.isEmpty()) return;
      if (!window.OpenFile(open)) prompts.ShowError(&window, "Unknown file type: " + open);
    } catch (const std::exception& error) {
      prompts.ShowError(&window, QString::fromStdString(error.what()));
    }
  });
  mireforge::StartTestEdit(window);
  return app.exec();
}
