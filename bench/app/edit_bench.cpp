// The wholesale edits on a 512 x 512 map as the user runs them: "Fill..." and
// "Create blank map" through their dialogs, and their undo and redo, each
// until the window has taken the new map and the recovery copy is on its way.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>

#include "app/edit/edit_commands.h"
#include "app/main_window/main_window.h"
#include "app/main_window/window_parts.h"
#include "app/session/recovery.h"
#include "app/dialogs/terrain_dialogs.h"
#include "app/dialogs/user_prompts.h"
#include "project/project.h"

namespace mireforge {
namespace {

class NoQuestions : public DialogPrompts {
 public:
  Answer AskYesNoCancel(QWidget*, const QString&) override { return Answer::No; }
};

// Runs action on the modal dialog D once its event loop runs.
template <class D>
void OnModal(std::function<void(D*)> action) {
  auto attempt = std::make_shared<std::function<void()>>();
  *attempt = [action, attempt] {
    if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget()))
      action(dialog);
    else
      QTimer::singleShot(0, *attempt);
  };
  QTimer::singleShot(0, *attempt);
}

// A worked-on map: a few thousand cells with their own descriptions and domains.
struct EditedWindow {
  NoQuestions prompts;
  TfMain window{QDir::temp().filePath("mireforge_edit_bench.ini"), prompts};
  QTemporaryDir recoveryFolder;
  RecoverySession recovery{window, window.Document(), recoveryFolder.path()};

  EditedWindow() {
    window.show();
    Project& project = window.CurrentProject();
    project.Map.ResizeMap(512, 512);
    for (int i = 0; i < 512 * 512; ++i) project.Map.Cells[i] = static_cast<TerrainCode>((i * 7 + i / 512) % 16);
    window.RefreshMap("Created from file");
    BuildDefaultDescriptions(project.Descriptions, project.Map);
    for (std::size_t i = 0; i < project.Descriptions.Size(); i += 97) {
      project.Descriptions.Entry(i).Text = "Place " + std::to_string(i);
      project.Descriptions.Entry(i).Domain = static_cast<int>(i % 256);
    }
    window.RefreshMap("Created from file");
    // Unsaved work, so that undoing an edit also leaves a copy to write.
    window.Document().Push(new SetDescriptionCommand(project, window.Document(), {5}, "Marsh"));
    QApplication::processEvents();
  }
  ~EditedWindow() { window.CurrentProject().ProjectSaved = true; }

  void Fill(int terrain) {
    OnModal<TfFill>([terrain](TfFill* d) {
      d->cbTerrain->setCurrentIndex(terrain);
      d->accept();
    });
    mireforge::PartOf<QAction>(window, "aFill")->trigger();
  }

  void NewBlank(int terrain) {
    OnModal<TfNewBlank>([terrain](TfNewBlank* d) {
      d->eWidth->setValue(512);
      d->eHeight->setValue(512);
      d->cbTerrain->setCurrentIndex(terrain);
      d->accept();
    });
    mireforge::PartOf<QAction>(window, "aNewBlank")->trigger();
  }
};

enum class Step { Do, Undo, Redo };

// Times the edit itself, or its undo or redo; each iteration starts from the
// worked-on map, the other steps untimed.
template <void (EditedWindow::*Edit)(int)>
void BM_Edit512(benchmark::State& state) {
  const Step step = static_cast<Step>(state.range(0));
  EditedWindow edited;
  TfMain& window = edited.window;
  int terrain = 0;
  const auto timed = [&](Step which, const std::function<void()>& action) {
    if (which != step) state.PauseTiming();
    action();
    QApplication::processEvents();
    if (which != step) state.ResumeTiming();
  };
  for (auto _ : state) {
    timed(Step::Do, [&] { (edited.*Edit)(terrain++ % 10); });
    timed(Step::Undo, [&] { mireforge::PartOf<QAction>(window, "aUndo")->trigger(); });
    if (step == Step::Redo) {
      timed(Step::Redo, [&] { mireforge::PartOf<QAction>(window, "aRedo")->trigger(); });
      timed(Step::Do, [&] { mireforge::PartOf<QAction>(window, "aUndo")->trigger(); });
    }
  }
}
BENCHMARK(BM_Edit512<&EditedWindow::Fill>)->Name("BM_Fill512")->ArgNames({"do0_undo1_redo2"})->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Edit512<&EditedWindow::NewBlank>)->Name("BM_NewBlank512")->ArgNames({"do0_undo1_redo2"})->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mireforge
