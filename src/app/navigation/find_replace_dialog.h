#pragma once
// "Find and replace": finds text in location descriptions and domain names,
// steps to the next or previous match, lists every match with its position,
// and replaces one match's entry or all of them (each one undo step).
#include <QAbstractTableModel>
#include <QDialog>
#include <functional>
#include <vector>

#include "model/text_search.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class QUndoStack;

namespace mireforge {

struct Project;
class EditView;
class MapDocument;

// The results list: one row per match, no widget per row.
class FindResultsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  FindResultsModel(const Project& project, const bool& rowFirst, QObject* parent = nullptr);
  void SetMatches(std::vector<TextMatch> matches);
  const std::vector<TextMatch>& Matches() const { return matches_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const Project& project_;
  const bool& rowFirst_;
  std::vector<TextMatch> matches_;
};

class TfFindReplace : public QDialog {
  Q_OBJECT
 public:
  // currentCell tells where the grid's current cell is: the search goes on from there.
  TfFindReplace(Project& project, EditView& view, MapDocument& history, const bool& rowFirst,
                std::function<QPoint()> currentCell, QWidget* parent = nullptr);

  void FindNext() { FindStep(1); }
  void FindPrevious() { FindStep(-1); }
  // The map was replaced: the results no longer point anywhere.
  void ClearResults();

  QLineEdit *eFind = nullptr, *eReplace = nullptr;
  QCheckBox *cbMatchCase = nullptr, *cbWholeWords = nullptr, *cbDescriptions = nullptr, *cbDomains = nullptr;
  QPushButton *bFindNext = nullptr, *bFindPrevious = nullptr, *bFindAll = nullptr;
  QPushButton *bReplace = nullptr, *bReplaceAll = nullptr, *bClose = nullptr;
  QTreeView* ResultsVT = nullptr;
  QLabel* lStatus = nullptr;
  FindResultsModel* results = nullptr;

 signals:
  void CellChosen(int column, int row);
  void DomainChosen(int number);

 private:
  TextSearch Search() const;
  void FindStep(int direction);
  void FindAllCommand();
  void ReplaceCommand();
  void ReplaceAllCommand();
  // The match at a position of the search order (descriptions, then domains), if it is one.
  bool MatchAt(long long position, const TextSearch& search, TextMatch* match) const;
  void Choose(const TextMatch& match);
  QString Describe(const TextMatch& match) const;

  Project& project_;
  EditView& view_;
  MapDocument& history_;
  const bool& rowFirst_;
  std::function<QPoint()> currentCell_;
  long long lastFound_ = -1;  // position in the search order of the match found last
};

}  // namespace mireforge
