// mireforge: the desktop editor.
#include <QApplication>
#include <QTimer>

#include "app/main_window.h"
#include "app/preferences.h"
#include "app/small_forms.h"
#include "app/user_prompts.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Mireforge");
  QApplication::setOrganizationName("Mireforge");
  QApplication::setWindowIcon(mireforge::AppIcon());

  mireforge::DialogPrompts prompts;
  mireforge::TfMain window(mireforge::Preferences::DefaultPath(), prompts);
  window.ShowAtStart();

  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) {
    const QString file = arguments.at(1);
    // Opened once the window is up, so a failure shows over it.
    QTimer::singleShot(0, &window, [&window, &prompts, file] {
      try {
        if (!window.OpenFile(file)) prompts.ShowError(&window, "Unknown file type: " + file);
      } catch (const std::exception& error) {
        prompts.ShowError(&window, QString::fromStdString(error.what()));
      }
    });
  }
  return app.exec();
}
