#include "app/property_grid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <algorithm>
#include <limits>

namespace mireforge {

namespace {

// Spin rows edit with a spin box inside their range, check rows pick "True"
// or "False", pick rows their items.
class RowDelegate : public QStyledItemDelegate {
 public:
  explicit RowDelegate(PropertyGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const PropertyGrid::Row* row = RowOf(index);
    if (row == nullptr) return QStyledItemDelegate::createEditor(parent, option, index);
    if (row->kind == PropertyGrid::Kind::Spin) {
      auto* spin = new QSpinBox(parent);
      spin->setRange(row->minimum, row->maximum);
      return spin;
    }
    auto* combo = new QComboBox(parent);
    combo->addItems(row->kind == PropertyGrid::Kind::Check ? QStringList{"True", "False"} : row->items);
    return combo;
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    const QString text = index.data().toString();
    if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
      bool ok = false;
      const int value = text.toInt(&ok);
      spin->setValue(ok ? value : spin->minimum());
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
      combo->setCurrentIndex(std::max(0, combo->findText(text)));
    } else {
      QStyledItemDelegate::setEditorData(editor, index);
    }
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
      spin->interpretText();
      model->setData(index, QString::number(spin->value()));
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
      model->setData(index, combo->currentText());
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
  setHeaderHidden(true);
  setRootIsDecorated(true);
  setAlternatingRowColors(false);
  setEditTriggers(QAbstractItemView::AllEditTriggers);
  setItemDelegateForColumn(1, new RowDelegate(this));
  header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  header()->setSectionResizeMode(1, QHeaderView::Stretch);
  connect(this, &QTreeWidget::itemChanged, this, &PropertyGrid::ItemChanged);
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
  row.item = new QTreeWidgetItem(category_, {"  " + row.caption, QString::fromStdString(*row.text)});
  row.item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
  category_->setExpanded(true);
  rows_.push_back(std::move(row));
  reloading_ = false;
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
}

}  // namespace mireforge
