// TfMain: finding one's way in a big map: the overview, "Go to cell", "Find and
// replace", the history of edits and the live terrain statistics.
#include <QAction>
#include <QDockWidget>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTreeView>
#include <QUndoView>

#include "app/panels/description_model.h"
#include "app/navigation/cell_beside_window.h"
#include "app/navigation/find_replace_dialog.h"
#include "app/navigation/go_to_cell_dialog.h"
#include "app/panels/live_statistics.h"
#include "app/main_window/main_window.h"
#include "app/navigation/overview_map.h"

namespace mireforge {

void TfMain::CreateNavigation() {
  const auto makeDock = [this](const QString& title, const QString& name, QWidget* content) {
    auto* dock = new QDockWidget(title, this);
    dock->setObjectName(name);
    dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    dock->setWidget(content);
    return dock;
  };

  // The overview scrolls when its window is smaller than the map at one pixel per cell.
  overview = new OverviewMap(project_, this);
  overview->setObjectName("overview");
  auto* overviewScroll = new QScrollArea(this);
  overviewScroll->setWidget(overview);
  overviewScroll->setWidgetResizable(true);
  overviewScroll->setFrameShape(QFrame::NoFrame);
  overviewScroll->setMinimumSize(64, 48);  // small, so a small window keeps room for the descriptions
  twOverview = makeDock("Overview", "twOverview", overviewScroll);
  addDockWidget(Qt::RightDockWidgetArea, twOverview);
  splitDockWidget(twOverview, twDesc, Qt::Vertical);

  HistoryVT = new QUndoView(&undo_, this);
  HistoryVT->setObjectName("HistoryVT");
  HistoryVT->setAccessibleName("History");
  HistoryVT->setEmptyLabel("Start");
  HistoryVT->setMinimumSize(120, 80);
  twHistory = makeDock("History", "twHistory", HistoryVT);
  liveStats = new LiveStatistics(project_, tiles_, this);
  twStatistics = makeDock("Live statistics", "twStatistics", liveStats);
  // Tabbed with the descriptions, so showing them takes no room from the other windows.
  for (QDockWidget* dock : {twHistory, twStatistics}) {
    addDockWidget(Qt::RightDockWidgetArea, dock);
    tabifyDockWidget(twDesc, dock);
  }
  twDesc->raise();

  aShowOverviewWindow = twOverview->toggleViewAction();
  aShowOverviewWindow->setText("Overview window");
  aShowHistoryWindow = twHistory->toggleViewAction();
  aShowHistoryWindow->setText("History window");
  aShowStatisticsWindow = twStatistics->toggleViewAction();
  aShowStatisticsWindow->setText("Live statistics window");

  aGoToCell = NewAction("&Go to cell...", QKeySequence("Ctrl+J"), &TfMain::GoToCellCommand);
  aFind = NewAction("&Find and replace...", QKeySequence("Ctrl+Shift+F"), &TfMain::FindCommand);
  aFindNext = NewAction("Find &next", QKeySequence("F3"), nullptr);
  aFindPrevious = NewAction("Find pre&vious", QKeySequence("Shift+F3"), nullptr);

  fFind = new TfFindReplace(project_, document_, document_, prefs_.settings.invertRowCol,
                            [this] { return QPoint(DG->CurrentColumn(), DG->CurrentRow()); }, this);
  // F3 and Shift+F3 work in the dialog as in the main window.
  fFind->addActions({aFindNext, aFindPrevious});
  // Before anything was typed to find, they open the dialog.
  connect(aFindNext, &QAction::triggered, this, [this] {
    Guard([this] { fFind->eFind->text().isEmpty() ? FindCommand() : fFind->FindNext(); });
  });
  connect(aFindPrevious, &QAction::triggered, this, [this] {
    Guard([this] { fFind->eFind->text().isEmpty() ? FindCommand() : fFind->FindPrevious(); });
  });
  connect(fFind, &TfFindReplace::CellChosen, this, [this](int column, int row) {
    GoToCell(column, row);
    ScrollCellClearOf(*DG, column, row, *fFind);
  });
  connect(fFind, &TfFindReplace::DomainChosen, this, [this](int number) {
    const int row = domainModel->RowOf(number);
    if (row >= 0) DomainVT->setCurrentIndex(domainModel->index(row, 0));
    if (twDomains->isVisible()) twDomains->raise();
  });

  const auto showFrame = [this, overviewScroll] {
    const QRect shown(DG->LeftColumn(), DG->TopRow(), DG->VisibleColumns(), DG->VisibleRows());
    const QRect map(0, 0, project_.Map.Width, project_.Map.Height);
    const QRect frame = document_.MapPresent() ? shown & map : QRect();
    if (frame == overview->VisibleArea()) return;
    overview->SetVisibleArea(frame);
    // Keep the frame in sight when the overview scrolls; not while dragging, where
    // scrolling would move the map under the pointer and the frame with it.
    if (overview->Dragging()) return;
    const QRectF box = overview->CellsRect(frame);
    overviewScroll->ensureVisible(static_cast<int>(box.center().x()), static_cast<int>(box.center().y()),
                                  static_cast<int>(box.width() / 2) + 4, static_cast<int>(box.height() / 2) + 4);
  };
  for (QScrollBar* bar : {DG->horizontalScrollBar(), DG->verticalScrollBar()}) {
    connect(bar, &QScrollBar::valueChanged, this, showFrame);
    connect(bar, &QScrollBar::rangeChanged, this, showFrame);
  }
  connect(overview, &OverviewMap::CentreRequested, this, [this](int column, int row) { DG->CentreOn(column, row); });
  connect(overview, &OverviewMap::ZoomRequested, this, [this](int steps) {
    // The middle of the grid stays where it was.
    const int column = DG->LeftColumn() + DG->VisibleColumns() / 2, row = DG->TopRow() + DG->VisibleRows() / 2;
    Zoom(steps);
    DG->CentreOn(column, row);
  });

  connect(&document_, &MapDocument::CellsChanged, overview, &OverviewMap::UpdateCells);
  connect(&document_, &MapDocument::CellsChanged, liveStats, &LiveStatistics::UpdateCells);
  connect(&document_, &MapDocument::MapReplaced, this, [this, showFrame] {
    overview->RebuildMap();
    liveStats->Recount();
    fFind->ClearResults();
    aGoToCell->setEnabled(document_.MapPresent());
    showFrame();
  });
  aGoToCell->setEnabled(false);
}

void TfMain::AddNavigationMenus(QMenu* edit, QMenu* view) {
  edit->addSeparator();
  edit->addActions({aGoToCell, aFind, aFindNext, aFindPrevious});
  view->addActions({aShowOverviewWindow, aShowHistoryWindow, aShowStatisticsWindow});
}

void TfMain::GoToCellCommand() {
  if (!document_.MapPresent()) return;
  TfGoToCell dialog(QPoint(DG->CurrentColumn(), DG->CurrentRow()), prefs_.settings.invertRowCol, project_.Map.Width,
                    project_.Map.Height, this);
  if (dialog.exec() != QDialog::Accepted) return;
  GoToCell(dialog.Cell().x(), dialog.Cell().y());
}

void TfMain::GoToCell(int column, int row) {
  if (!document_.MapPresent() || !project_.Map.Contains(column, row)) return;
  DG->SetCurrentCell(column, row);
  DG->CentreOn(column, row);
  // The grid reports the move to the panels only while the main window is active.
  if (!project_.Descriptions.Empty()) SelectDescriptionOf(column, row);
}

void TfMain::FindCommand() {
  fFind->show();
  fFind->raise();
  fFind->activateWindow();
  fFind->eFind->setFocus();
  fFind->eFind->selectAll();
}

}  // namespace mireforge
