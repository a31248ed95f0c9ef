// A seeded soak of the editor: thousands of random inputs as a person makes
// them (clicks and drags with every tool, tool keys, undo and redo, copy, cut
// and paste, the transforms, dialogs opened and cancelled or accepted). After
// every input the document is consistent and every view agrees with it; every
// undo and redo gives back, byte for byte, the project it stood for; at the
// end undoing every step gives the starting project and redoing them the final.
//
// MIREFORGE_SOAK_STEPS, MIREFORGE_SOAK_SEED and MIREFORGE_SOAK_SIZE ("512x512")
// make a long run; its figures are printed.
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>
#include <cstdio>
#include <functional>
#include <random>

#include "app/main_window/window_parts.h"
#include "app/app_test_support.h"
#include "app/dialogs/editor_dialogs.h"
#include "app/dialogs/keyboard_page.h"
#include "app/dialogs/small_forms.h"
#include "app/dialogs/resize_map_dialog.h"
#include "app/dialogs/terrain_dialogs.h"
#include "app/grid/terrain_palette.h"
#include "app/real_input.h"
#include "app/views_agree.h"
#include "base/ini_file.h"
#include "formats/project_file.h"

namespace mireforge::testing {
namespace {

// About a minute in a release build; the sanitizer run is many times slower.
#if defined(__SANITIZE_ADDRESS__)
constexpr int DefaultSteps = 800;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int DefaultSteps = 800;
#else
constexpr int DefaultSteps = 8000;
#endif
#else
constexpr int DefaultSteps = 8000;
#endif

int EnvironmentNumber(const char* name, int fallback) {
  bool ok = false;
  const int value = qEnvironmentVariableIntValue(name, &ok);
  return ok && value > 0 ? value : fallback;
}

std::string ProjectBytes(const Project& project) {
  IniFile ini;
  WriteProject(project, ini);
  return ini.Serialize();
}

// What the project file carries, hashed: each step's state is compared
// through it, which costs far less than the file's bytes on a big map.
std::size_t ContentHash(const Project& project) {
  const MapGrid& map = project.Map;
  std::string bytes(reinterpret_cast<const char*>(map.Cells.data()), map.Cells.size());
  const auto number = [&bytes](std::int32_t value) { bytes.append(reinterpret_cast<const char*>(&value), sizeof value); };
  number(map.Width);
  number(map.Height);
  for (const TDescItem& item : project.Descriptions.Entries) {
    bytes += item.Text;
    bytes += '\0';
    number(item.Domain);
  }
  for (const DomainSlot& slot : project.Domains.Slots) {
    bytes += slot.Name;
    bytes += '\0';
    number(static_cast<std::int32_t>(slot.Color));
  }
  return std::hash<std::string>{}(bytes);
}

// The process's peak resident memory in MB (Linux), or 0.
long PeakMegabytes() {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong() / 1024;
  return 0;
}

// The document holds together: one description per cell, at its own place.
void ExpectConsistent(const Project& project, const std::string& step) {
  SCOPED_TRACE(step);
  const MapGrid& map = project.Map;
  ASSERT_EQ(map.Cells.size(), static_cast<std::size_t>(map.Width) * map.Height);
  ASSERT_EQ(project.Descriptions.Size(), map.Cells.size());
  ASSERT_EQ(project.Descriptions.DescriptionNodes.size(), map.Cells.size());
  for (std::uint32_t i = 0; i < map.Cells.size(); ++i) {
    const TDescItem& item = project.Descriptions.Entry(project.Descriptions.DescriptionNodes[i]);
    ASSERT_EQ(item.X + item.Y * map.Width, static_cast<int>(i)) << "entry of cell " << i;
    ASSERT_LT(map.Cells[i] & 0x0F, TerrainCount);
  }
}

class SoakTest : public MainWindowTest {
 protected:
  int Random(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  QUndoStack& Undo() { return window->Document().UndoStack(); }

  void Press(const QKeySequence& keys) {
    for (int i = 0; i < keys.count(); ++i) PressKey(window.get(), keys[i].key(), keys[i].keyboardModifiers());
  }

  // A cell the grid shows whole.
  QPoint VisibleCell() {
    const int pitch = window->TileSize() + (PartOf<QAction>(*window, "aShowGrid")->isChecked() ? 1 : 0);
    const QSize view = PartOf<MapGridView>(*window, "DG")->viewport()->size();
    const MapGrid& map = window->CurrentProject().Map;
    const int columns = std::max(1, std::min(view.width() / pitch, map.Width - PartOf<MapGridView>(*window, "DG")->LeftColumn()));
    const int rows = std::max(1, std::min(view.height() / pitch, map.Height - PartOf<MapGridView>(*window, "DG")->TopRow()));
    return {PartOf<MapGridView>(*window, "DG")->LeftColumn() + Random(columns), PartOf<MapGridView>(*window, "DG")->TopRow() + Random(rows)};
  }

  void MouseAt(QEvent::Type type, QPoint cell, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers) {
    const QPointF pos = CellCentre(cell.x(), cell.y());
    QMouseEvent event(type, pos, PartOf<MapGridView>(*window, "DG")->viewport()->mapToGlobal(pos), button, buttons, modifiers);
    QApplication::sendEvent(PartOf<MapGridView>(*window, "DG")->viewport(), &event);
  }

  // A click or a drag through a few cells, with the modifiers of the selection modes.
  void Drag(int moves) {
    static const Qt::KeyboardModifiers modifiers[] = {Qt::NoModifier, Qt::NoModifier, Qt::ShiftModifier,
                                                      Qt::ControlModifier, Qt::AltModifier};
    const Qt::KeyboardModifiers held = modifiers[Random(5)];
    QPoint cell = VisibleCell();
    MouseAt(QEvent::MouseButtonPress, cell, Qt::LeftButton, Qt::LeftButton, held);
    for (int i = 0; i < moves; ++i) {
      cell = VisibleCell();
      MouseAt(QEvent::MouseMove, cell, Qt::NoButton, Qt::LeftButton, held);
    }
    MouseAt(QEvent::MouseButtonRelease, cell, Qt::LeftButton, Qt::NoButton, held);
  }

  // Presses keys that may open a modal dialog, and answers the dialog with
  // answer (Escape when none) if it opens; nothing is left waiting if it does not.
  void PressWithDialog(const QKeySequence& keys, std::function<void(QDialog*)> answer = {}) {
    auto pending = std::make_shared<bool>(true);
    auto attempt = std::make_shared<std::function<void()>>();
    *attempt = [pending, attempt, answer] {
      if (!*pending) return;
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        *pending = false;
        if (answer) answer(dialog);
        else QTest::keyClick(dialog, Qt::Key_Escape);
        return;
      }
      QTimer::singleShot(5, [attempt] { (*attempt)(); });
    };
    QTimer::singleShot(0, [attempt] { (*attempt)(); });
    Press(keys);
    *pending = false;
  }

  // A command of a menu, clicked in the open menu.
  void ClickMenu(QMenu* menu, QAction* action) {
    if (!action->isEnabled()) return;
    menu->popup(window->mapToGlobal(QPoint(20, 20)));
    if (!QTest::qWaitForWindowExposed(menu)) return;
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(action).center());
    menu->hide();
  }

  static void ClickOk(QDialog* dialog) {
    if (auto* box = dialog->findChild<QDialogButtonBox*>())
      if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) return QTest::mouseClick(ok, Qt::LeftButton);
    ClickButton(dialog, "OK");
  }

  // One random input; returns what it was.
  std::string Step() {
    static const char* const descriptions[] = {"the Tower of the Moon", "Lake Ith", "Kor", ""};
    switch (Random(20)) {
      case 0:
      case 1: {  // a tool, by its key
        QList<QAction*> tools;
        for (QAction* action : window->findChildren<QAction*>())
          if (action->objectName().startsWith("aTool") && !action->shortcut().isEmpty()) tools << action;
        // Terrain painting is mostly on, as when a person works: its key turns it off again.
        const int pick = Random(10);
        QAction* tool = pick == 0                                  ? PartOf<QAction>(*window, "aPaintDom")
                        : pick < 4 && !PartOf<QAction>(*window, "aPaint")->isChecked() ? PartOf<QAction>(*window, "aPaint")
                                                                   : tools[Random(static_cast<int>(tools.size()))];
        Press(tool->shortcut());
        return "tool " + tool->text().toStdString();
      }
      case 2: {
        const int code = Random(TerrainCount);
        QTest::mouseClick(PartOf<TerrainPalette>(*window, "twPalette")->Button(code), Qt::LeftButton);
        return "terrain " + std::to_string(code);
      }
      case 3:
      case 4:
      case 5:
        Drag(0);
        return "click";
      case 6:
      case 7:
      case 8:
        Drag(1 + Random(6));
        return "drag";
      case 9:
      case 10:
        if (Undo().index() <= floor_) return "no undo";  // the blank map the soak began with stays
        Press(QKeySequence("Ctrl+Z"));
        return "undo";
      case 11:
        Press(QKeySequence("Ctrl+Y"));
        return "redo";
      case 12: {
        static const char* const keys[] = {"Ctrl+Ins", "Ctrl+X", "Ctrl+V", "Del",    "Ctrl+Shift+A",
                                           "Ctrl+Shift+D", "Ctrl+Shift+I", "X", "Z", "Esc"};
        const char* key = keys[Random(10)];
        Press(QKeySequence(key));
        return std::string("key ") + key;
      }
      case 13: {
        QAction* transforms[] = {PartOf<QAction>(*window, "aFlipHorizontally"), PartOf<QAction>(*window, "aFlipVertically"), PartOf<QAction>(*window, "aRotateClockwise"),
                                 PartOf<QAction>(*window, "aRotateCounterClockwise")};
        QAction* transform = transforms[Random(4)];
        ClickMenu(PartOf<QMenu>(*window, "mMap"), transform);
        return "menu " + transform->text().toStdString();
      }
      case 14: {  // Fill: cancelled or a terrain chosen with the keys
        const int code = Random(TerrainCount + 1) - 1;
        PressWithDialog(QKeySequence("Ctrl+F"), [code](QDialog* dialog) {
          auto* fill = qobject_cast<TfFill*>(dialog);
          if (!fill || code < 0) return QTest::keyClick(dialog, Qt::Key_Escape);
          fill->cbTerrain->setFocus();
          QTest::keyClick(fill->cbTerrain, Qt::Key_Home);
          for (int i = 0; i < code; ++i) QTest::keyClick(fill->cbTerrain, Qt::Key_Down);
          ClickOk(dialog);
        });
        return "Fill " + std::to_string(code);
      }
      case 15: {  // Resize: cancelled, or a size near the first one typed in
        const bool accept = Random(2) == 0;
        const int width = minSize_.width() + Random(maxSize_.width() - minSize_.width() + 1);
        const int height = minSize_.height() + Random(maxSize_.height() - minSize_.height() + 1);
        PressWithDialog(QKeySequence("Shift+Ctrl+R"), [=](QDialog* dialog) {
          auto* resize = qobject_cast<TfResizeMap*>(dialog);
          if (!resize || !accept) return QTest::keyClick(dialog, Qt::Key_Escape);
          for (auto [spin, value] : {std::pair{resize->eWidth, width}, std::pair{resize->eHeight, height}}) {
            spin->setFocus();
            QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(spin, QString::number(value));
          }
          ClickOk(dialog);
        });
        return accept ? "resize " + std::to_string(width) + "x" + std::to_string(height) : "resize cancelled";
      }
      case 16: {  // Set description, typed, or cancelled
        const char* text = descriptions[Random(4)];
        PressWithDialog(QKeySequence("Ctrl+D"), [text](QDialog* dialog) {
          auto* setName = qobject_cast<TfSetName*>(dialog);
          if (!setName || !*text) return QTest::keyClick(dialog, Qt::Key_Escape);
          setName->cbDescription->setFocus();
          QTest::keyClick(setName->cbDescription, Qt::Key_A, Qt::ControlModifier);
          QTest::keyClicks(setName->cbDescription, text);
          ClickOk(dialog);
        });
        return std::string("describe ") + text;
      }
      case 17: {  // dialogs opened and cancelled: Go to cell, Options
        const char* keys = Random(2) ? "Ctrl+J" : "Ctrl+O";
        PressWithDialog(QKeySequence(keys));
        return std::string("cancelled ") + keys;
      }
      case 18: {
        const int size = 1 + Random(7);
        Press(QKeySequence(QString("Ctrl+%1").arg(size)));
        return "tile size key " + std::to_string(size);
      }
      default:
        PartOf<MapGridView>(*window, "DG")->setFocus();
        Press(QKeySequence(Random(2) ? Qt::Key_Right : Qt::Key_Down));
        return "arrow";
    }
  }

  std::mt19937 rng_;
  QSize minSize_, maxSize_;
  int floor_ = 0;
};

TEST_F(SoakTest, RandomInputsKeepEveryViewTrueAndEveryStepUndoable) {
  const int steps = EnvironmentNumber("MIREFORGE_SOAK_STEPS", DefaultSteps);
  const int seed = EnvironmentNumber("MIREFORGE_SOAK_SEED", 20261210);
  const QStringList size = qEnvironmentVariable("MIREFORGE_SOAK_SIZE", "48x36").split('x');
  const int width = size.value(0).toInt(), height = size.value(1).toInt();
  ASSERT_TRUE(width > 0 && height > 0);
  rng_.seed(static_cast<unsigned>(seed));
  minSize_ = QSize(std::max(2, width * 3 / 4), std::max(2, height * 3 / 4));
  maxSize_ = QSize(width, height);

  QElapsedTimer clock;
  clock.start();
  Start();
  // Every step stays undoable: the step limit is raised on the preferences'
  // Session page; the memory limit still binds on a big map.
  OnModal<TfOptions>([](TfOptions* dialog) {
    ClickTab(dialog->tabs, "Session");
    QSpinBox* steps = dialog->findChild<SessionPage*>()->eUndoSteps;
    steps->setFocus();
    QTest::keyClick(steps, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(steps, "100000");
    ClickButton(dialog, "OK");
  });
  PressKey(window.get(), Qt::Key_O, Qt::ControlModifier);
  MakeBlankMap(width, height, Random(TerrainCount));
  // The history as it stands: the project each undo index stands for, by hash.
  const std::string first = ProjectBytes(window->CurrentProject());
  std::vector<std::size_t> states{ContentHash(window->CurrentProject())};
  const int baseIndex = Undo().index();
  ASSERT_EQ(baseIndex, 1);  // the blank map is the first step; the soak starts after it
  states.insert(states.begin(), 0);  // the state before the blank map is not the soak's
  std::size_t trimmed = 0;
  QObject::connect(&window->Document(), &MapDocument::HistoryTrimmed, [&](int dropped) { trimmed += dropped; });

  int undoChecks = 0;
  for (int n = 0; n < steps; ++n) {
    floor_ = states[0] == 0 ? 1 : 0;
    const int countBefore = Undo().count();
    const QUndoCommand* topBefore = countBefore ? Undo().command(countBefore - 1) : nullptr;
    trimmed = 0;
    const std::string what = "step " + std::to_string(n) + ": " + Step();
    ASSERT_EQ(QApplication::activeModalWidget(), nullptr) << what;
    ExpectConsistent(window->CurrentProject(), what);
    ExpectViewsAgree(*window, what);
    if (::testing::Test::HasFailure()) FAIL() << "seed " << seed << ", " << what;

    // Trimmed steps leave the bottom of the list.
    states.erase(states.begin(), states.begin() + std::min(trimmed, states.size() - 1));
    const int index = Undo().index();
    const std::size_t now = ContentHash(window->CurrentProject());
    const bool moved = Undo().count() == countBefore && trimmed == 0 &&
                       (countBefore == 0 || Undo().command(countBefore - 1) == topBefore);
    if (moved) {  // undo, redo, or nothing: the project is the one that index stood for
      ASSERT_LT(static_cast<std::size_t>(index), states.size());
      ASSERT_EQ(now, states[index]) << "seed " << seed << ", " << what;
      ++undoChecks;
    } else {  // a new step
      states.resize(index);
      states.push_back(now);
    }
  }
  const double seconds = clock.elapsed() / 1000.0;
  const long peak = PeakMegabytes();  // before the whole files below are made for the last comparison
  const int kept = Undo().count();
  const std::size_t historyBytes = window->Document().HistoryBytes();
  const std::string last = ProjectBytes(window->CurrentProject());

  // Undo every step, then redo them all.
  const int top = Undo().index();
  const int bottom = states[0] == 0 ? 1 : 0;  // never undo the blank map itself
  if (!qEnvironmentVariableIsSet("MIREFORGE_SOAK_SIZE")) {
    EXPECT_EQ(bottom, 1) << "a small map's history keeps every step";
  }
  while (Undo().index() > bottom) PressKey(window.get(), Qt::Key_Z, Qt::ControlModifier);
  if (bottom == 1) EXPECT_EQ(ProjectBytes(window->CurrentProject()), first) << "undoing every step";
  else EXPECT_EQ(ContentHash(window->CurrentProject()), states[0]);
  ExpectViewsAgree(*window, "all undone");
  while (Undo().index() < top) PressKey(window.get(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(ProjectBytes(window->CurrentProject()), last) << "redoing every step";
  ExpectViewsAgree(*window, "all redone");

  std::printf("soak: %d inputs on %dx%d, seed %d, %.1f s, %d undo steps checked, %d steps in the history "
              "(%zu KB), peak memory %ld MB\n",
              steps, width, height, seed, seconds, undoChecks, kept, historyBytes / 1024, peak);
}

}  // namespace
}  // namespace mireforge::testing
