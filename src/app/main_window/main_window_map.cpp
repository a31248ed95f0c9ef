// TfMain: the Map menu, whose commands resize, flip and rotate the whole map.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/actual_view/actual_view.h"
#include "app/main_window/main_window.h"
#include "app/edit/map_transform_command.h"
#include "app/dialogs/resize_map_dialog.h"

namespace mireforge {

void TfMain::CreateMapActions() {
  aResizeMap = NewAction("&Resize map...", QKeySequence("Shift+Ctrl+R"), &TfMain::ResizeMapCommand);
  aFlipHorizontally = NewAction("Flip &horizontally", {}, nullptr);
  aFlipVertically = NewAction("Flip &vertically", {}, nullptr);
  aRotateClockwise = NewAction("Rotate &clockwise", {}, nullptr);
  aRotateCounterClockwise = NewAction("Rotate &anticlockwise", {}, nullptr);
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
}

void TfMain::EnableMapTransforms(bool enabled) {
  for (QAction* action : {aResizeMap, aFlipHorizontally, aFlipVertically, aRotateClockwise, aRotateCounterClockwise})
    action->setEnabled(enabled);
}

void TfMain::ResizeMapCommand() {
  if (!mapPresent_) return;
  TfResizeMap dialog(project_.Map.Width, project_.Map.Height, this);
  if (dialog.exec() != QDialog::Accepted) return;
  TransformMap("Resize map", dialog.Transform());
}

void TfMain::TransformMap(const QString& undoText, const MapTransform& transform) {
  if (!mapPresent_) return;
  CurrentCellAccess current{[this] { return std::pair(DG->CurrentColumn(), DG->CurrentRow()); },
                            [this](int column, int row) {
                              DG->SetCurrentCell(column, row);
                              fActualView->MoveTo(column, row);
                              CellSelected(column, row);
                            }};
  undo_.push(new MapTransformCommand(undoText, project_, *this, transform, origin_, std::move(current)));
}

}  // namespace mireforge
