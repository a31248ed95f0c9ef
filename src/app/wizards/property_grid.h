#pragma once
// A property grid in the manner of the wizard's parameter pages: categories
// with rows of caption and value. Every value is held as text, because the
// rows travel as texts in project files and are converted only when used;
// a text that does not convert stays visible until the user corrects it.
#include <QTreeWidget>
#include <QStringList>
#include <string>
#include <vector>

namespace mireforge {

class PropertyGrid : public QTreeWidget {
  Q_OBJECT
 public:
  enum class Kind { Spin, Check, Pick };
  struct Row {
    QString caption;
    std::string* text;  // the row's storage (a field of the project's generator rows)
    Kind kind = Kind::Spin;
    int minimum = 0;
    int maximum = 0;
    QStringList items;  // pick rows
    QTreeWidgetItem* item = nullptr;
  };

  explicit PropertyGrid(QWidget* parent = nullptr);
  using QTreeWidget::edit;
  void AddCategory(const QString& caption);
  void AddSpin(const QString& caption, std::string* text, int minimum, int maximum);
  void AddCheck(const QString& caption, std::string* text);
  void AddPick(const QString& caption, std::string* text, QStringList items);

  // Shows the texts of the storage again (after a project load or seed write-back).
  void Reload();
  // The text a row shows, by caption; empty when there is no such row.
  QString Value(const QString& caption) const;
  // Sets a row's text as if the user had typed it.
  void SetValue(const QString& caption, const QString& text);
  const std::vector<Row>& Rows() const { return rows_; }
  const Row* FindRow(const QTreeWidgetItem* item) const;

 signals:
  // A row's text changed by the user (or SetValue), not by Reload.
  void RowEdited();

 protected:
  // Only values are edited: the captions name the rows.
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  static constexpr int MinimumValueWidth = 72;
  void AddRow(Row row);
  void FitColumns();
  void ItemChanged(QTreeWidgetItem* item, int column);

  std::vector<Row> rows_;
  QTreeWidgetItem* category_ = nullptr;
  bool reloading_ = false;
};

}  // namespace mireforge
