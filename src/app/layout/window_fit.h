#pragma once
// The main window's least size: every menu stays on the bar, the grid keeps a
// usable area, and the docks show their titles and tab titles whole.
#include <QObject>
#include <QSize>

class QMainWindow;

namespace mireforge {

inline constexpr QSize GridLeastSize(200, 160);

class WindowFit : public QObject {
 public:
  WindowFit(QMainWindow* window, QWidget* grid);
  // Sets the least size for the docks as they are now shown.
  void Refit();

 private:
  QMainWindow* window_;
};

}  // namespace mireforge
