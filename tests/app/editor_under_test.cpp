#include "editor_under_test.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "app/grid/terrain_palette.h"
#include "app/main_window/editor_start.h"
#include "app/main_window/main_window.h"
#include "app/main_window/window_parts.h"

namespace mireforge::testing {
namespace {

void Report(const QString& line) {
  std::fprintf(stderr, "mireforge-test: %s\n", line.toLocal8Bit().constData());
  std::fflush(stderr);
}

void Paint(TfMain& window, int x, int y, int code) {
  QTest::mouseClick(PartOf<TerrainPalette>(window, "twPalette")->Button(code), Qt::LeftButton);
  QApplication::setActiveWindow(&window);
  if (!PartOf<QAction>(window, "aPaint")->isChecked()) {
    const QKeyCombination key = PartOf<QAction>(window, "aPaint")->shortcut()[0];
    QTest::keyClick(&window, key.key(), key.keyboardModifiers());
  }
  const int pitch = window.TileSize() + (PartOf<QAction>(window, "aShowGrid")->isChecked() ? 1 : 0);
  const QPoint at((x - PartOf<MapGridView>(window, "DG")->LeftColumn()) * pitch + pitch / 2, (y - PartOf<MapGridView>(window, "DG")->TopRow()) * pitch + pitch / 2);
  QTest::mouseClick(PartOf<MapGridView>(window, "DG")->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  Report(QString("painted %1").arg(window.CurrentProject().Map.GetTerrain(x, y)));
}

void PressKeys(TfMain& window, const QKeySequence& keys) {
  // A modal dialog runs its own loop inside the key press, so it is looked for from a timer.
  auto look = std::make_shared<std::function<void()>>();
  *look = [look] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      Report(QString("dialog open %1").arg(modal->metaObject()->className()));
      *look = nullptr;
    } else {
      QTimer::singleShot(20, [look] { (*look)(); });
    }
  };
  QTimer::singleShot(0, [look] { (*look)(); });
  QApplication::setActiveWindow(&window);
  for (int i = 0; i < keys.count(); ++i) QTest::keyClick(&window, keys[i].key(), keys[i].keyboardModifiers());
}

void Play(TfMain& window, const QStringList& steps) {
  for (const QString& step : steps) {
    const QString kind = step.section(':', 0, 0), argument = step.section(':', 1);
    if (kind == "paint") {
      const QStringList numbers = argument.split(',');
      Paint(window, numbers.value(0).toInt(), numbers.value(1).toInt(), numbers.value(2).toInt());
    } else if (kind == "key") {
      PressKeys(window, QKeySequence(argument));
    } else {
      Report("unknown step " + step);
    }
  }
}

}  // namespace

int RunEditorUnderTest(int argc, char* argv[]) {
  std::vector<char*> arguments{argv[0]};
  arguments.insert(arguments.end(), argv + 2, argv + argc);
  int count = static_cast<int>(arguments.size());
  const QStringList steps = qEnvironmentVariable("MIREFORGE_DRIVE").split(';', Qt::SkipEmptyParts);
  return RunEditor(count, arguments.data(), [steps](TfMain& window) {
    // Waits for the map the file argument brings: loading lets events run part-way.
    auto attempt = std::make_shared<std::function<void(int)>>();
    *attempt = [&window, attempt, steps](int triesLeft) {
      if (!window.MapPresent()) {
        if (triesLeft > 0) QTimer::singleShot(50, &window, [attempt, triesLeft] { (*attempt)(triesLeft - 1); });
        else Report("no map");
        return;
      }
      Play(window, steps);
    };
    QTimer::singleShot(0, &window, [attempt] { (*attempt)(200); });
  });
}

}  // namespace mireforge::testing
