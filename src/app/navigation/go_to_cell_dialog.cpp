#include "app/navigation/go_to_cell_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace mireforge {

namespace {

QString Example(bool rowFirst) {
  return rowFirst ? QString("row, column: \"30, 12\" or \"[30,12]\"") : QString("column, row: \"12, 30\" or \"[12,30]\"");
}

QString Format(QPoint cell, bool rowFirst) {
  return rowFirst ? QString("%1, %2").arg(cell.y()).arg(cell.x()) : QString("%1, %2").arg(cell.x()).arg(cell.y());
}

}  // namespace

CellParse ParseCellPosition(const QString& text, bool rowFirst, int width, int height) {
  static const QRegularExpression pattern(R"(^\s*(\[)?\s*(-?\d{1,9})\s*(?:,|\s)\s*(-?\d{1,9})\s*(\])?\s*$)");
  const QRegularExpressionMatch match = pattern.match(text);
  // A bracket opened must be closed, and one never closed must not be opened.
  if (!match.hasMatch() || match.hasCaptured(1) != match.hasCaptured(4))
    return {false, {}, QString("'%1' is not a cell position. Type %2.").arg(text.trimmed(), Example(rowFirst))};
  int first = match.captured(2).toInt(), second = match.captured(3).toInt();
  const int column = rowFirst ? second : first, row = rowFirst ? first : second;
  if (column < 0 || column >= width)
    return {false, {}, QString("Column %1 is outside the map (0 to %2).").arg(column).arg(width - 1)};
  if (row < 0 || row >= height)
    return {false, {}, QString("Row %1 is outside the map (0 to %2).").arg(row).arg(height - 1)};
  return {true, QPoint(column, row), {}};
}

TfGoToCell::TfGoToCell(QPoint current, bool rowFirst, int width, int height, QWidget* parent)
    : QDialog(parent), rowFirst_(rowFirst), width_(width), height_(height), cell_(current) {
  setWindowTitle("Go to cell");
  eCell = new QLineEdit(Format(current, rowFirst), this);
  eCell->selectAll();
  lError = new QLabel(this);
  lError->setObjectName("lError");
  lError->setWordWrap(true);
  lError->setStyleSheet("color: #b00000");
  lError->hide();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &TfGoToCell::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(eCell, &QLineEdit::textEdited, lError, &QWidget::hide);
  auto* form = new QFormLayout;
  form->addRow(rowFirst ? "&Cell (row, column):" : "&Cell (column, row):", eCell);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(lError);
  layout->addWidget(buttons);
  setMinimumWidth(320);
}

void TfGoToCell::accept() {
  const CellParse parse = ParseCellPosition(eCell->text(), rowFirst_, width_, height_);
  if (!parse.ok) {
    // The dialog stays open, so the text can be mended.
    lError->setText(parse.error);
    lError->show();
    // A top-level window does not grow for a wrapped label by itself.
    layout()->activate();
    if (const int needed = layout()->totalHeightForWidth(width()); needed > height()) resize(width(), needed);
    eCell->setFocus();
    eCell->selectAll();
    return;
  }
  cell_ = parse.cell;
  QDialog::accept();
}

}  // namespace mireforge
