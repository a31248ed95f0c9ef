#pragma once
// "Go to cell": takes a position as "x, y" or "[x,y]", in the order the
// description panel shows positions (row first under "Invert row and column").
#include <QDialog>
#include <QPoint>
#include <QString>

class QLabel;
class QLineEdit;

namespace mireforge {

struct CellParse {
  bool ok = false;
  QPoint cell;    // column, row
  QString error;  // what is wrong, when not ok
};

// Reads two whole numbers, optionally in brackets, separated by a comma or blanks.
// rowFirst: the text names the row first. The cell must lie on a map of width x height.
CellParse ParseCellPosition(const QString& text, bool rowFirst, int width, int height);

class TfGoToCell : public QDialog {
  Q_OBJECT
 public:
  TfGoToCell(QPoint current, bool rowFirst, int width, int height, QWidget* parent = nullptr);
  QPoint Cell() const { return cell_; }

  QLineEdit* eCell = nullptr;
  QLabel* lError = nullptr;

 public slots:
  void accept() override;

 private:
  bool rowFirst_;
  int width_, height_;
  QPoint cell_;
};

}  // namespace mireforge
