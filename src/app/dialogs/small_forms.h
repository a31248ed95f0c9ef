#pragma once
// The small forms of the shell: TfInfo (progress), TfOptions (preferences),
// TfAbout (about box).
#include <QDialog>
#include <QElapsedTimer>
#include <QIcon>
#include <QWidget>

class QCheckBox;
class QLabel;
class QProgressBar;
class QTabWidget;

namespace mireforge {

// The application icon at every size it is drawn in.
QIcon AppIcon();

// The progress form shown by project save and load: 460 x 88, framed, on top.
class TfInfo : public QWidget {
  Q_OBJECT
 public:
  explicit TfInfo(QWidget* mainWindow);
  void Start(const QString& text, int maximum);
  void SetPosition(int position);
  void Finish();

  QLabel* lInfo = nullptr;
  QProgressBar* pbInfo = nullptr;

 private:
  QWidget* mainWindow_;
};

// The busy cursor for the length of a scope and, when given, the progress form
// while the work reports to it: both end with the scope, also when the work throws.
class BusyScope {
 public:
  explicit BusyScope(TfInfo* progress = nullptr);
  ~BusyScope();
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

  // A step of the work: a new label (re)starts the form. The bar moves and the
  // window answers at most every 20 ms and at the end: a row of a big map
  // takes far less, and a repaint per row would cost more than the rows.
  void Report(const QString& label, int maximum, int position);

 private:
  TfInfo* progress_;
  QElapsedTimer shown_;
};

struct OptionValues {
  bool rememberLastInput = false;
  bool autoMMUSQL = false;
  bool invertRowCol = false;
  bool autoSaveMMF = false;
};

class TfOptions : public QDialog {
  Q_OBJECT
 public:
  TfOptions(const OptionValues& values, QWidget* parent = nullptr);
  OptionValues Values() const;

  QTabWidget* tabs = nullptr;
  QCheckBox* cbRememberLastInput = nullptr;
  QCheckBox* cbAutoMMUSQL = nullptr;
  QCheckBox* cbInvertRowCol = nullptr;
  QCheckBox* cbAutoSaveMMF = nullptr;
};

// Borderless, centred on the main window; a click anywhere closes it.
class TfAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TfAbout(QWidget* parent = nullptr);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace mireforge
