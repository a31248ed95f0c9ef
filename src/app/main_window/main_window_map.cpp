// TfMain: the Map menu, whose commands resize, flip and rotate the whole map.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/actual_view/actual_view.h"
#include "app/main_window/main_window.h"
#include "app/edit/map_transform_command.h"
#include "app/dialogs/name_land_dialog.h"
#include "app/dialogs/resize_map_dialog.h"
#include "app/panels/description_model.h"
#include "generate/land_naming.h"

namespace mireforge {

void TfMain::CreateMapActions() {
  aResizeMap = NewAction("&Resize map...", QKeySequence("Shift+Ctrl+R"), &TfMain::ResizeMapCommand);
  aFlipHorizontally = NewAction("Flip &horizontally", {}, nullptr);
  aFlipVertically = NewAction("Flip &vertically", {}, nullptr);
  aRotateClockwise = NewAction("Rotate &clockwise", {}, nullptr);
  aRotateCounterClockwise = NewAction("Rotate &anticlockwise", {}, nullptr);
  aNameLand = NewAction("&Name the land...", QKeySequence("Shift+Ctrl+N"), &TfMain::NameLandCommand);
  const auto transformOn = [this](QAction* action, const QString& undoText, const MapTransform& transform) {
    connect(action, &QAction::triggered, this, [=, this] { Guard([=, this] { TransformMap(undoText, transform); }); });
  };
  transformOn(aFlipHorizontally, "Flip map horizontally", MapTransform::Flip(true));
  transformOn(aFlipVertically, "Flip map vertically", MapTransform::Flip(false));
  transformOn(aRotateClockwise, "Rotate map clockwise", MapTransform::Turn(1));
  transformOn(aRotateCounterClockwise, "Rotate map anticlockwise", MapTransform::Turn(-1));
  EnableMapTransforms(false);
}

void TfMain::CreateMapMenu() {
  mMap = menuBar()->addMenu("&Map");
  mMap->addAction(aResizeMap);
  mMap->addSeparator();
  mMap->addActions({aFlipHorizontally, aFlipVertically, aRotateClockwise, aRotateCounterClockwise});
  mMap->addSeparator();
  mMap->addAction(aNameLand);
}

void TfMain::EnableMapTransforms(bool enabled) {
  for (QAction* action :
       {aResizeMap, aFlipHorizontally, aFlipVertically, aRotateClockwise, aRotateCounterClockwise, aNameLand})
    action->setEnabled(enabled);
}

void TfMain::ResizeMapCommand() {
  if (!document_.MapPresent()) return;
  TfResizeMap dialog(project_.Map.Width, project_.Map.Height, this);
  if (dialog.exec() != QDialog::Accepted) return;
  TransformMap("Resize map", dialog.Transform());
}

void TfMain::NameLandCommand() {
  if (!document_.MapPresent()) return;
  TfNameLand dialog(this);
  if (dialog.exec() == QDialog::Accepted) NameLand(dialog.Options());
}

void TfMain::NameLand(const LandNamingOptions& options) {
  MapSnapshot before = MapSnapshot::Take(project_, true, document_.Origin());
  DomainTable domains = project_.Domains;
  NameTheLand(project_.Map, project_.Descriptions, domains, options);
  MapSnapshot after = MapSnapshot::Take(project_, true, document_.Origin());
  document_.ReplaceMap(MapReplacement::Restored, true, document_.Origin());
  // The snapshots carry the descriptions, the table command the domain slots.
  document_.BeginMacro("Name the land");
  document_.Push(new MapChangeCommand("Name the land", project_, document_, std::move(before), std::move(after)));
  document_.Push(new DomainTableCommand("Name the land", project_, document_, domains.Slots));
  document_.EndMacro();
}

void TfMain::TransformMap(const QString& undoText, const MapTransform& transform) {
  if (!document_.MapPresent()) return;
  CurrentCellAccess current{[this] { return std::pair(DG->CurrentColumn(), DG->CurrentRow()); },
                            [this](int column, int row) {
                              DG->SetCurrentCell(column, row);
                              fActualView->MoveTo(column, row);
                              CellSelected(column, row);
                            }};
  document_.Push(new MapTransformCommand(undoText, project_, document_, transform, document_.Origin(), std::move(current)));
}

}  // namespace mireforge
