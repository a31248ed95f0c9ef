#include "app/main_window/editor_start.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>

#include "app/dialogs/small_forms.h"
#include "app/dialogs/user_prompts.h"
#include "app/main_window/main_window.h"
#include "app/session/command_line.h"
#include "app/session/desktop_session.h"
#include "app/session/file_names.h"
#include "app/session/preferences.h"
#include "app/session/recovery.h"
#include "base/file_io.h"

namespace mireforge {

int RunEditor(int argc, char* argv[], const std::function<void(TfMain&)>& started) {
  switch (EarlyAnswerOf(argc, argv)) {
    case EarlyAnswer::Help:
      std::fputs(EditorHelpText().c_str(), stdout);
      return 0;
    case EarlyAnswer::Version:
      std::fputs(EditorVersionText().c_str(), stdout);
      return 0;
    case EarlyAnswer::None:
      break;
  }
  if (const std::string missing = MissingDisplay(argc, argv); !missing.empty()) {
    std::fprintf(stderr, "%s\n", missing.c_str());
    return 1;
  }
  BeginGuardedStart();
  QApplication app(argc, argv);
  EndGuardedStart();
  // Qt took its own options out of argv; the rest keep their bytes, which need not be text.
  QStringList given;
  for (int i = 1; i < argc; ++i) given << NameFromBytes(QByteArray(argv[i]));
  const EditorArguments arguments = SortEditorArguments(given);
  if (!arguments.unknownOption.isEmpty()) {
    std::fprintf(stderr, "mireforge: unknown option '%s'\nTry 'mireforge --help'.\n",
                 arguments.unknownOption.toLocal8Bit().constData());
    return 2;
  }
  if (!arguments.ignoredFiles.isEmpty())
    std::fprintf(stderr, "mireforge: opens one file at a time; ignored: %s\n",
                 arguments.ignoredFiles.join(", ").toLocal8Bit().constData());
  QApplication::setApplicationName("Mireforge");
  QApplication::setWindowIcon(AppIcon());
  QGuiApplication::setDesktopFileName("org.mireforge.Mireforge");

  DialogPrompts prompts;
  TfMain window(Preferences::DefaultPath(), prompts);
  window.ShowAtStart();
  // What an in-place save stages (the target's folder refusing a new file) is
  // kept where the next start looks for what a killed save left behind.
  SetStagingFolder(QFile::encodeName(DefaultRecoveryFolder()).toStdString());
  // A save into a pipe whose reader stops fails instead of freezing the window.
  SetDeviceWriteWait(std::chrono::seconds(2));
  // Destroyed only on a clean exit, which removes the autosaved copy.
  RecoverySession recovery(window, window.Document());

  // Once the window is up, so that questions and failures show over it. Lost
  // work is offered before a file named on the command line is opened, whose
  // load then asks before replacing what was restored.
  QTimer::singleShot(0, &window, [&window, &prompts, file = arguments.file] {
    try {
      const bool restored = OfferRecovery(window, window.Document(), prompts);
      const QString open = !file.isEmpty() ? file
                           : restored      ? QString()
                                           : SessionOf(window)->ProjectToReopen(window.Prefs().projects.Entries());
      if (open.isEmpty()) return;
      if (!window.OpenFile(open)) prompts.ShowError(&window, "Unknown file type: " + open);
    } catch (const std::exception& error) {
      prompts.ShowError(&window, QString::fromStdString(error.what()));
    }
  });
  if (started) started(window);
  return app.exec();
}

}  // namespace mireforge
