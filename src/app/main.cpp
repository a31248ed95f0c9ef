// mireforge: the desktop editor.
#include <QApplication>
#include <QFile>
#include <QTimer>

#include "app/main_window/main_window.h"
#include "app/session/preferences.h"
#include "app/session/recovery.h"
#include "app/dialogs/small_forms.h"
#include "app/dialogs/user_prompts.h"
#include "base/file_io.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Mireforge");
  QApplication::setWindowIcon(mireforge::AppIcon());
  QGuiApplication::setDesktopFileName("org.mireforge.Mireforge");

  mireforge::DialogPrompts prompts;
  mireforge::TfMain window(mireforge::Preferences::DefaultPath(), prompts);
  window.ShowAtStart();
  // What an in-place save stages (the target's folder refusing a new file) is
  // kept where the next start looks for what a killed save left behind.
  mireforge::SetStagingFolder(QFile::encodeName(mireforge::DefaultRecoveryFolder()).toStdString());
  // Destroyed only on a clean exit, which removes the autosaved copy.
  mireforge::RecoverySession recovery(window);

  // Once the window is up, so that questions and failures show over it. Lost
  // work is offered before a file named on the command line is opened, whose
  // load then asks before replacing what was restored.
  QTimer::singleShot(0, &window, [&window, &prompts] {
    const QStringList arguments = QApplication::arguments();
    try {
      mireforge::OfferRecovery(window, prompts);
      if (arguments.size() < 2) return;
      const QString file = arguments.at(1);
      if (!window.OpenFile(file)) prompts.ShowError(&window, "Unknown file type: " + file);
    } catch (const std::exception& error) {
      prompts.ShowError(&window, QString::fromStdString(error.what()));
    }
  });
  mireforge::StartTestEdit(window);
  return app.exec();
}
