// "Create preview" and "Seed gallery" as the user presses them: rows converted, generator run,
// preview drawn into the 306 x 306 box, seeds written back into the rows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>

#include "app/wizards/generation_wizard.h"
#include "app/wizards/property_grid.h"
#include "app/dialogs/user_prompts.h"
#include "project/project.h"

namespace {

class SilentPrompts : public mireforge::DialogPrompts {
 public:
  void ShowError(QWidget*, const QString& message) override { last = message; }
  QString last;
};

void Preview(benchmark::State& state, bool cevo) {
  mireforge::Project project;
  SilentPrompts prompts;
  mireforge::TfParams wizard(project, prompts, nullptr);
  wizard.show();
  mireforge::PropertyGrid* rows = cevo ? wizard.IcEvo : wizard.IPlasma;
  rows->SetValue("Map width", "512");
  rows->SetValue("Map height", "512");
  rows->SetValue(cevo ? "Randomize" : "Randomize map", "False");
  for (auto _ : state) {
    const bool done = cevo ? wizard.bcEvoClick() : wizard.bPlasmaClick();
    if (!done) state.SkipWithError(prompts.last.toStdString().c_str());
    QApplication::processEvents();  // the preview repaint
  }
  wizard.reject();
}

void BM_PlasmaPreview512(benchmark::State& state) { Preview(state, false); }
void BM_CEvoPreview512(benchmark::State& state) { Preview(state, true); }
BENCHMARK(BM_PlasmaPreview512)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CEvoPreview512)->Unit(benchmark::kMillisecond)->UseRealTime();

// "Seed gallery" as the user presses it: nine 512 x 512 maps of nine seeds on
// every core, their small previews drawn. Wall time, as the user waits for it;
// the CPU column counts every thread.
void Gallery(benchmark::State& state, int method) {
  mireforge::Project project;
  SilentPrompts prompts;
  mireforge::TfParams wizard(project, prompts, nullptr);
  wizard.show();
  mireforge::PropertyGrid* rows = method == 1 ? wizard.IcEvo : wizard.IPlasma;
  rows->SetValue("Map width", "512");
  rows->SetValue("Map height", "512");
  if (method == 1) wizard.rbcEvo->click();
  wizard.bNext->click();  // the page whose gallery is shown
  for (auto _ : state) {
    if (!wizard.ShowSeedGallery(method)) state.SkipWithError(prompts.last.toStdString().c_str());
    QApplication::processEvents();  // the nine tiles painted
  }
  wizard.reject();
}

void BM_PlasmaSeedGallery512(benchmark::State& state) { Gallery(state, 0); }
void BM_CEvoSeedGallery512(benchmark::State& state) { Gallery(state, 1); }
BENCHMARK(BM_PlasmaSeedGallery512)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_CEvoSeedGallery512)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
