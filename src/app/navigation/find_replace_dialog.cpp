#include "app/navigation/find_replace_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QUndoStack>
#include <QVBoxLayout>

#include "app/document/map_document.h"
#include "app/edit/find_replace_command.h"
#include "app/panels/description_model.h"
#include "base/text_encoding.h"
#include "project/project.h"

namespace mireforge {

FindResultsModel::FindResultsModel(const Project& project, const bool& rowFirst, QObject* parent)
    : QAbstractTableModel(parent), project_(project), rowFirst_(rowFirst) {}

void FindResultsModel::SetMatches(std::vector<TextMatch> matches) {
  beginResetModel();
  matches_ = std::move(matches);
  endResetModel();
}

int FindResultsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(matches_.size());
}

int FindResultsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant FindResultsModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= static_cast<int>(matches_.size())) return {};
  const TextMatch& match = matches_[index.row()];
  if (match.kind == TextMatch::DomainName) {
    if (index.column() == 0) return QString("Domain");
    return ShownText(project_.Domains.DomainLabel(match.index));
  }
  if (match.index >= project_.Descriptions.Size()) return {};
  TDescItem item = project_.Descriptions.Entry(match.index);
  if (index.column() == 1) return ShownText(item.Text);
  item.SwapXY = rowFirst_;
  return ShownText(item.PositionText());
}

QVariant FindResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return section == 0 ? QString("Position") : QString("Text");
}

TfFindReplace::TfFindReplace(Project& project, EditView& view, MapDocument& history, const bool& rowFirst,
                             std::function<QPoint()> currentCell, QWidget* parent)
    : QDialog(parent), project_(project), view_(view), history_(history), rowFirst_(rowFirst),
      currentCell_(std::move(currentCell)) {
  setWindowTitle("Find and replace");
  eFind = new QLineEdit(this);
  eReplace = new QLineEdit(this);
  cbMatchCase = new QCheckBox("Match &case", this);
  cbWholeWords = new QCheckBox("&Whole words", this);
  cbDescriptions = new QCheckBox("Location &descriptions", this);
  cbDescriptions->setChecked(true);
  cbDomains = new QCheckBox("Domain &names", this);
  cbDomains->setChecked(true);
  bFindNext = new QPushButton("Find &next", this);
  bFindNext->setDefault(true);
  bFindPrevious = new QPushButton("Find &previous", this);
  bFindAll = new QPushButton("Find &all", this);
  bReplace = new QPushButton("&Replace", this);
  bReplaceAll = new QPushButton("Replace a&ll", this);
  bClose = new QPushButton("Close", this);
  results = new FindResultsModel(project_, rowFirst_, this);
  ResultsVT = new QTreeView(this);
  ResultsVT->setObjectName("ResultsVT");
  ResultsVT->setAccessibleName("Matches");
  ResultsVT->setModel(results);
  ResultsVT->setRootIsDecorated(false);
  ResultsVT->setUniformRowHeights(true);
  ResultsVT->setSelectionBehavior(QAbstractItemView::SelectRows);
  ResultsVT->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ResultsVT->header()->resizeSection(0, 80);
  ResultsVT->header()->setStretchLastSection(true);
  lStatus = new QLabel(this);
  lStatus->setObjectName("lStatus");

  auto* fields = new QGridLayout;
  auto* findLabel = new QLabel("&Find:", this);
  findLabel->setBuddy(eFind);
  auto* replaceLabel = new QLabel("Replace &with:", this);
  replaceLabel->setBuddy(eReplace);
  fields->addWidget(findLabel, 0, 0);
  fields->addWidget(eFind, 0, 1);
  fields->addWidget(replaceLabel, 1, 0);
  fields->addWidget(eReplace, 1, 1);
  auto* options = new QGridLayout;
  options->addWidget(cbMatchCase, 0, 0);
  options->addWidget(cbWholeWords, 1, 0);
  options->addWidget(cbDescriptions, 0, 1);
  options->addWidget(cbDomains, 1, 1);
  auto* left = new QVBoxLayout;
  left->addLayout(fields);
  left->addLayout(options);
  left->addWidget(ResultsVT, 1);
  left->addWidget(lStatus);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {bFindNext, bFindPrevious, bFindAll, bReplace, bReplaceAll}) buttons->addWidget(button);
  buttons->addStretch();
  buttons->addWidget(bClose);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);
  resize(520, 420);

  connect(bFindNext, &QPushButton::clicked, this, [this] { FindStep(1); });
  connect(bFindPrevious, &QPushButton::clicked, this, [this] { FindStep(-1); });
  connect(bFindAll, &QPushButton::clicked, this, &TfFindReplace::FindAllCommand);
  connect(bReplace, &QPushButton::clicked, this, &TfFindReplace::ReplaceCommand);
  connect(bReplaceAll, &QPushButton::clicked, this, &TfFindReplace::ReplaceAllCommand);
  connect(bClose, &QPushButton::clicked, this, &QDialog::close);
  // A new text or option starts the search again from the current cell.
  connect(eFind, &QLineEdit::textChanged, this, [this] { lastFound_ = -1; });
  for (QCheckBox* box : {cbMatchCase, cbWholeWords, cbDescriptions, cbDomains})
    connect(box, &QCheckBox::toggled, this, [this] { lastFound_ = -1; });
  connect(ResultsVT->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& index) {
    if (index.isValid() && index.row() < static_cast<int>(results->Matches().size()))
      Choose(results->Matches()[index.row()]);
  });
}

TextSearch TfFindReplace::Search() const {
  // Unicode's case folding, so that "ûmbar" finds "Ûmbar Gate".
  return {eFind->text().toStdString(), cbMatchCase->isChecked(), cbWholeWords->isChecked(),
          [](char32_t c) -> char32_t { return QChar::toCaseFolded(c); }};
}

void TfFindReplace::ClearResults() {
  results->SetMatches({});
  lastFound_ = -1;
  lStatus->clear();
}

bool TfFindReplace::MatchAt(long long position, const TextSearch& search, TextMatch* match) const {
  const long long entries = static_cast<long long>(project_.Descriptions.Size());
  if (position < entries) {
    if (!cbDescriptions->isChecked()) return false;
    if (FindText(project_.Descriptions.Entry(position).Text, search) == std::string_view::npos) return false;
    *match = {TextMatch::Description, static_cast<std::uint32_t>(position)};
    return true;
  }
  const long long number = position - entries;
  if (!cbDomains->isChecked() || !project_.Domains.Defined(number)) return false;
  if (FindText(project_.Domains.Name(number), search) == std::string_view::npos) return false;
  *match = {TextMatch::DomainName, static_cast<std::uint32_t>(number)};
  return true;
}

void TfFindReplace::FindStep(int direction) {
  const TextSearch search = Search();
  if (search.pattern.empty()) {
    lStatus->setText("Type the text to find.");
    return;
  }
  const long long entries = static_cast<long long>(project_.Descriptions.Size());
  const long long total = entries + DomainCount;
  // Go on from the match found last while the grid still shows it, else from the current cell.
  long long start = lastFound_;
  const QPoint cell = currentCell_();
  const std::size_t cellIndex = static_cast<std::size_t>(cell.x()) + static_cast<std::size_t>(cell.y()) * project_.Map.Width;
  const auto& nodes = project_.Descriptions.DescriptionNodes;
  const bool onCell = cellIndex < nodes.size() && !project_.Map.Empty();
  if (start >= total || (start >= 0 && start < entries && onCell && nodes[cellIndex] != start)) start = -1;
  if (start < 0) {
    // The current cell itself is looked at last: a step that stayed on it would seem to do nothing.
    start = onCell ? static_cast<long long>(nodes[cellIndex]) : (direction > 0 ? -1 : total);
  }
  for (long long step = 1; step <= total; ++step) {
    const long long position = ((start + step * direction) % total + total) % total;
    TextMatch match{};
    if (MatchAt(position, search, &match)) {
      lastFound_ = position;
      lStatus->setText("Found: " + Describe(match));
      Choose(match);
      return;
    }
  }
  lastFound_ = -1;
  lStatus->setText(QString("\"%1\" was not found.").arg(eFind->text()));
}

QString TfFindReplace::Describe(const TextMatch& match) const {
  if (match.kind == TextMatch::DomainName) return "domain " + ShownText(project_.Domains.DomainLabel(match.index));
  TDescItem item = project_.Descriptions.Entry(match.index);
  item.SwapXY = rowFirst_;
  return ShownText(item.PositionText()) + " " + ShownText(item.Text);
}

void TfFindReplace::Choose(const TextMatch& match) {
  if (match.kind == TextMatch::DomainName) {
    emit DomainChosen(static_cast<int>(match.index));
    return;
  }
  if (match.index >= project_.Descriptions.Size()) return;
  const TDescItem& item = project_.Descriptions.Entry(match.index);
  emit CellChosen(item.X, item.Y);
}

void TfFindReplace::FindAllCommand() {
  const TextSearch search = Search();
  results->SetMatches(FindAll(project_.Descriptions, project_.Domains, search, cbDescriptions->isChecked(),
                              cbDomains->isChecked()));
  const std::size_t count = results->Matches().size();
  lStatus->setText(search.pattern.empty() ? QString("Type the text to find.")
                                          : QString("%1 match%2.").arg(count).arg(count == 1 ? "" : "es"));
}

void TfFindReplace::ReplaceCommand() {
  const TextSearch search = Search();
  TextMatch match{};
  // Replaces in the entry found last, then finds the next one.
  if (lastFound_ >= 0 && MatchAt(lastFound_, search, &match)) {
    int count = 0;
    std::vector<TextChange> changes =
        ReplaceMatches(project_, {match}, search, CleanDescription(eReplace->text().toStdString()), &count);
    if (!changes.empty()) history_.Push(new ReplaceTextCommand("Replace", project_, view_, std::move(changes)));
  }
  FindStep(1);
}

void TfFindReplace::ReplaceAllCommand() {
  const TextSearch search = Search();
  const std::vector<TextMatch> matches = FindAll(project_.Descriptions, project_.Domains, search,
                                                 cbDescriptions->isChecked(), cbDomains->isChecked());
  int count = 0;
  std::vector<TextChange> changes =
      ReplaceMatches(project_, matches, search, CleanDescription(eReplace->text().toStdString()), &count);
  if (changes.empty()) {
    lStatus->setText(search.pattern.empty() ? QString("Type the text to find.") : QString("Nothing to replace."));
    return;
  }
  const std::size_t places = changes.size();
  history_.Push(new ReplaceTextCommand(CountedText("Replace all", places, "place"), project_, view_, std::move(changes)));
  lastFound_ = -1;
  if (results->rowCount() > 0) FindAllCommand();
  lStatus->setText(QString("Replaced %1 time%2 in %3 place%4.")
                       .arg(count).arg(count == 1 ? "" : "s").arg(places).arg(places == 1 ? "" : "s"));
}

}  // namespace mireforge
