#include "app/wizards/property_grid.h"

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <algorithm>
#include <limits>

namespace mireforge {

namespace {

// Spin rows edit with a spin box inside their range, check rows pick "True"
// or "False", pick rows their items.
class RowDelegate : public QStyledItemDelegate {
  static constexpr const char* ChosenProperty = "chosenByUser";
  static void MarkChosen(QWidget* editor) { editor->setProperty(ChosenProperty, true); }

 public:
  explicit RowDelegate(PropertyGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const PropertyGrid::Row* row = RowOf(index);
    if (row == nullptr) return QStyledItemDelegate::createEditor(parent, option, index);
    if (row->kind == PropertyGrid::Kind::Spin) {
      auto* spin = new QSpinBox(parent);
      spin->setRange(row->minimum, row->maximum);
      connect(spin, &QSpinBox::valueChanged, spin, [spin] { MarkChosen(spin); });
      if (auto* edit = spin->findChild<QLineEdit*>())
        connect(edit, &QLineEdit::textEdited, spin, [spin] { MarkChosen(spin); });
      return spin;
    }
    auto* combo = new QComboBox(parent);
    combo->addItems(row->kind == PropertyGrid::Kind::Check ? QStringList{"True", "False"} : row->items);
    connect(combo, &QComboBox::activated, combo, [combo] { MarkChosen(combo); });
    return combo;
  }

  // The editor shows the row's text; a text it cannot show (empty, not a number) shows as
  // nothing or as the minimum, and stays the row's text until the user chooses something.
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    const QString text = index.data().toString();
    const QSignalBlocker quiet(editor);
    if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
      bool ok = false;
      const int value = text.toInt(&ok);
      spin->setValue(ok ? value : spin->minimum());
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
      combo->setCurrentIndex(combo->findText(text));
    } else {
      QStyledItemDelegate::setEditorData(editor, index);
    }
    editor->setProperty(ChosenProperty, false);
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    if (!editor->property(ChosenProperty).toBool()) return;  // merely visited
    if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
      spin->interpretText();
      model->setData(index, QString::number(spin->value()));
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
      if (combo->currentIndex() >= 0) model->setData(index, combo->currentText());
    } else {
      QStyledItemDelegate::setModelData(editor, model, index);
    }
  }

 private:
  const PropertyGrid::Row* RowOf(const QModelIndex& index) const {
    return grid_->FindRow(grid_->itemFromIndex(index));
  }
  PropertyGrid* grid_;
};

}  // namespace

PropertyGrid::PropertyGrid(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(2);
  setHeaderLabels({"Parameter", "Value"});  // hidden, but what a screen reader calls the columns
  setAccessibleName("Parameters");
  setHeaderHidden(true);
  setRootIsDecorated(true);
  setIndentation(12);  // narrow steps leave the values room beside whole captions
  setAlternatingRowColors(false);
  setEditTriggers(QAbstractItemView::AllEditTriggers);
  setItemDelegateForColumn(1, new RowDelegate(this));
  // Captions get what their widest one needs, values the rest: nothing to scroll sideways to.
  // The widths are set by hand, because a hidden header never learns the viewport's width.
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  header()->setMinimumSectionSize(1);
  header()->setStretchLastSection(false);
  header()->setSectionResizeMode(QHeaderView::Fixed);
  connect(this, &QTreeWidget::itemChanged, this, &PropertyGrid::ItemChanged);
}

bool PropertyGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  if (index.column() != 1) return false;
  return QTreeWidget::edit(index, trigger, event);
}

void PropertyGrid::AddCategory(const QString& caption) {
  category_ = new QTreeWidgetItem(this, {caption});
  category_->setFirstColumnSpanned(true);
  QFont bold = font();
  bold.setBold(true);
  category_->setFont(0, bold);
  category_->setFlags(Qt::ItemIsEnabled);
  category_->setExpanded(true);
}

void PropertyGrid::AddSpin(const QString& caption, std::string* text, int minimum, int maximum) {
  AddRow({caption, text, Kind::Spin, minimum, maximum, {}});
}

void PropertyGrid::AddCheck(const QString& caption, std::string* text) {
  AddRow({caption, text, Kind::Check, 0, 0, {}});
}

void PropertyGrid::AddPick(const QString& caption, std::string* text, QStringList items) {
  AddRow({caption, text, Kind::Pick, 0, 0, std::move(items)});
}

void PropertyGrid::AddRow(Row row) {
  reloading_ = true;
  row.item = new QTreeWidgetItem(category_, {row.caption, QString::fromStdString(*row.text)});
  row.item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
  category_->setExpanded(true);
  rows_.push_back(std::move(row));
  reloading_ = false;
  FitColumns();
}

void PropertyGrid::FitColumns() {
  const QFontMetrics metrics = fontMetrics();
  int widest = 0, widestValue = 0;
  for (const Row& row : rows_) {
    widest = std::max(widest, metrics.horizontalAdvance(row.caption));
    // Every value a row can hold, so a seed written back is never cut.
    QStringList values = row.items;
    if (row.kind == Kind::Spin) values << QString::number(row.minimum) << QString::number(row.maximum);
    if (row.kind == Kind::Check) values << "True" << "False";
    for (const QString& value : values) widestValue = std::max(widestValue, metrics.horizontalAdvance(value));
  }
  const int textMargins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
  const int captions = 2 * indentation() + widest + textMargins + 4;  // rows sit one level below the root
  const int values = std::max(MinimumValueWidth, widestValue + textMargins + 4);
  setMinimumWidth(captions + values + 2 * frameWidth() + verticalScrollBar()->sizeHint().width());
  const int room = viewport()->width();
  const int first = std::max(1, std::min(captions, room - values));
  setColumnWidth(0, first);
  setColumnWidth(1, std::max(1, room - first));
}

bool PropertyGrid::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Resize) FitColumns();
  return QTreeWidget::viewportEvent(event);
}

void PropertyGrid::Reload() {
  reloading_ = true;
  for (Row& row : rows_) row.item->setText(1, QString::fromStdString(*row.text));
  reloading_ = false;
}

const PropertyGrid::Row* PropertyGrid::FindRow(const QTreeWidgetItem* item) const {
  for (const Row& row : rows_)
    if (row.item == item) return &row;
  return nullptr;
}

QString PropertyGrid::Value(const QString& caption) const {
  for (const Row& row : rows_)
    if (row.caption == caption) return row.item->text(1);
  return {};
}

void PropertyGrid::SetValue(const QString& caption, const QString& text) {
  for (Row& row : rows_)
    if (row.caption == caption) row.item->setText(1, text);
}

void PropertyGrid::ItemChanged(QTreeWidgetItem* item, int column) {
  if (reloading_ || column != 1) return;
  for (Row& row : rows_)
    if (row.item == item) *row.text = item->text(1).toStdString();
  emit RowEdited();
}

}  // namespace mireforge
