// TfMain's commands that open the wizards, the exports with dialogs of their
// own and the statistics windows.
#include "app/main_window/export_commands.h"
#include "pictures/tile_pictures.h"
#include "app/wizards/generation_wizard.h"
#include "app/wizards/import_wizard.h"
#include "app/main_window/main_window.h"
#include "app/panels/description_model.h"
#include "app/wizards/sql_export_wizard.h"
#include "app/dialogs/statistics_dialogs.h"
#include "generate/land_naming.h"

namespace mireforge {

void TfMain::CreateMapCommand() {
  if (!ConfirmReplaceMap()) return;
  const MapDocument::Replacement replacing(document_);  // the previews are drawn into the project
  if (fParams->exec() != QDialog::Accepted) return;
  const auto& naming = fParams->Naming();
  AfterDefaultMapLoad(OriginProject, true, naming ? &*naming : nullptr);
}

void TfMain::ImportMapCommand() {
  if (!ConfirmReplaceMap()) return;
  const MapDocument::Replacement replacing(document_);
  TfImportMap wizard(project_, prompts_, this);
  if (wizard.exec() != QDialog::Accepted) return;
  AfterDefaultMapLoad(OriginFile, true);
}

void TfMain::SaveSQLCommand() {
  TfSQLEx wizard(project_, prompts_, prefs_.settings.autoMMUSQL, prefs_.settings.autoSaveMMF, this);
  wizard.exec();
}

void TfMain::SaveHTMLCommand() {
  SaveHtmlMapFlow(this, prompts_, project_);
}

void TfMain::ExportTiledCommand() {
  const TileStyle style = CurrentTileStyle();
  SaveTiledMapFlow(this, prompts_, project_,
                   style == TileStyle::Retro  ? TileLook::Retro
                   : style == TileStyle::Grey ? TileLook::Grayscale
                                              : TileLook::Color);
}

void TfMain::StatsCommand() {
  TfStats stats(project_, tiles_, this, TerrainListStyle());
  stats.exec();
}

void TfMain::DomStatsCommand() {
  TfDomains stats(project_, this);
  stats.exec();
}

}  // namespace mireforge
