#pragma once
// The check that every view agrees with the document: grid, overview, live
// statistics, description and domain panels, status bar, title, Undo and Redo.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QUndoStack>
#include <string>

#include "app/actual_view/actual_view.h"
#include "app/main_window/main_window.h"
#include "app/main_window/window_parts.h"
#include "app/navigation/overview_map.h"
#include "app/panels/description_model.h"
#include "app/panels/live_statistics.h"
#include "model/preview_palette.h"
#include "model/statistics.h"

namespace mireforge::testing {

// Every view of the window shows what its document holds.
inline void ExpectViewsAgree(TfMain& window, const std::string& step) {
  SCOPED_TRACE(step);
  QApplication::processEvents();
  const Project& project = window.Document().CurrentProject();
  const MapGrid& map = project.Map;
  ASSERT_TRUE(window.Document().MapPresent());
  EXPECT_EQ(PartOf<MapGridView>(window, "DG")->Columns(), map.Width);
  EXPECT_EQ(PartOf<MapGridView>(window, "DG")->Rows(), map.Height);
  EXPECT_EQ(map.TerrainRows, map.Cells);

  const QImage& overview = PartOf<OverviewMap>(window, "overview")->MapPicture();
  ASSERT_EQ(overview.size(), QSize(map.Width, map.Height));
  int wrongPixels = 0;
  for (int y = 0; y < map.Height; ++y)
    for (int x = 0; x < map.Width; ++x)
      if (overview.pixel(x, y) != ColorFromBgr(static_cast<std::int32_t>(PreviewPalette[map.GetTerrain(x, y)])).rgb())
        ++wrongPixels;
  EXPECT_EQ(wrongPixels, 0);

  const std::array<int, TerrainCount> counts = CountTerrain(map);
  EXPECT_EQ(PartOf<LiveStatistics>(window, "liveStats")->Counts(), counts);

  ASSERT_EQ(PartOf<DescriptionModel>(window, "descModel")->rowCount(), static_cast<int>(project.Descriptions.Entries.size()));
  int wrongRows = 0;
  for (int entry = 0; entry < PartOf<DescriptionModel>(window, "descModel")->rowCount(); ++entry)
    if (PartOf<DescriptionModel>(window, "descModel")->data(PartOf<DescriptionModel>(window, "descModel")->index(entry, 2), Qt::DisplayRole).toString().toStdString() !=
        project.Descriptions.Entry(entry).Text)
      ++wrongRows;
  EXPECT_EQ(wrongRows, 0);
  const int column = PartOf<MapGridView>(window, "DG")->CurrentColumn(), row = PartOf<MapGridView>(window, "DG")->CurrentRow();
  const TDescItem* current = project.CellDescription(column, row);
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(PartOf<TfActualView>(window, "fActualView")->State().ViewX, column);
  EXPECT_EQ(PartOf<TfActualView>(window, "fActualView")->State().ViewY, row);
  int named = 0;
  for (int d = 0; d < DomainCount; ++d) named += project.Domains.Slots[d].Name.empty() ? 0 : 1;
  EXPECT_EQ(PartOf<DomainModel>(window, "domainModel")->rowCount(), named);

  EXPECT_EQ(window.StatusText(0), QString("%1x%2").arg(map.Width).arg(map.Height));
  EXPECT_EQ(window.StatusText(1), window.Document().Origin());
  EXPECT_EQ(window.StatusText(4), QString::number(column));
  EXPECT_EQ(window.StatusText(5), QString::number(row));
  EXPECT_EQ(window.StatusText(7).toStdString(), current->Text);

  const QString file = QFileInfo(QString::fromStdString(window.Document().FileName())).fileName();
  EXPECT_EQ(window.windowTitle(), file.isEmpty() ? QApplication::applicationName()
                                                  : QApplication::applicationName() + " - " + file);
  if (window.Document().Saved()) {
    EXPECT_TRUE(window.Document().UndoStack().isClean());
  }
  EXPECT_EQ(PartOf<QAction>(window, "aUndo")->isEnabled(), window.Document().UndoStack().canUndo());
  EXPECT_EQ(PartOf<QAction>(window, "aRedo")->isEnabled(), window.Document().UndoStack().canRedo());
}

}  // namespace mireforge::testing
