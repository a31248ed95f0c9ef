#pragma once
// Drives the real main window offscreen: scripted answers for the questions
// and file dialogs, a private preferences file, and helpers that act on the
// modal dialog a command opens.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

#include "app/main_window/main_window.h"
#include "app/main_window/window_parts.h"
#include "app/layout/status_panel.h"
#include "app/panels/item_text_delegate.h"
#include "app/dialogs/terrain_dialogs.h"
#include "app/dialogs/user_prompts.h"

namespace mireforge::testing {

class ScriptedPrompts : public UserPrompts {
 public:
  Answer AskYesNoCancel(QWidget*, const QString& text) override {
    questions.push_back(text);
    return Pop(answers, Answer::Cancel);
  }
  bool AskReplace(QWidget*, const QString& text) override {
    questions.push_back(text);
    return true;
  }
  FileChoice SaveFile(QWidget*, const QString& title, const QString& filter, const QString& extension) override {
    dialogs.push_back(title + "|" + filter + "|" + extension);
    return Pop(files, FileChoice{});
  }
  FileChoice OpenFile(QWidget*, const QString& title, const QString& filter, const QString& extension) override {
    dialogs.push_back(title + "|" + filter + "|" + extension);
    return Pop(files, FileChoice{});
  }
  void ShowError(QWidget*, const QString& message) override { errors.push_back(message); }
  void ShowInformation(QWidget*, const QString& message) override { information.push_back(message); }

  std::deque<Answer> answers;
  std::deque<FileChoice> files;  // an empty name is a cancelled dialog
  QStringList questions, dialogs, errors, information;

 private:
  template <class T>
  static T Pop(std::deque<T>& queue, T fallback) {
    if (queue.empty()) return fallback;
    T value = queue.front();
    queue.pop_front();
    return value;
  }
};

// Runs action on the modal dialog of type D as soon as it is shown.
template <class D>
void OnModal(std::function<void(D*)> action) {
  auto attempt = std::make_shared<std::function<void(int)>>();
  *attempt = [action, attempt](int tries) {
    if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
      action(dialog);
      return;
    }
    if (tries > 0) QTimer::singleShot(10, [attempt, tries] { (*attempt)(tries - 1); });
  };
  QTimer::singleShot(0, [attempt] { (*attempt)(200); });
}

// Counts the events of one type an object receives (repaints, requests for a new
// layout); of repaints, also the area they covered.
class EventCounter : public QObject {
 public:
  EventCounter(QObject* watched, QEvent::Type type) : type_(type) { watched->installEventFilter(this); }
  int count = 0;
  QRegion painted;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != type_) return false;
    ++count;
    if (type_ == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }

 private:
  QEvent::Type type_;
};

// Input as a person gives it: a check box ticked with the space bar, text typed over
// what a field holds, a drop-down item chosen with the arrow keys, a list row clicked,
// a dialog button clicked.
inline void Tick(QAbstractButton* box, bool on) {
  if (box->isChecked() == on) return;
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Space);
}
inline void TypeInto(QWidget* field, const QString& text) {
  field->setFocus();
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(field, text);
}
// Steps a spin box with the arrow keys towards the value, as far as its range lets it go.
inline void StepTo(QSpinBox* box, int value) {
  box->setFocus();
  while (box->value() != value) {
    const int before = box->value();
    QTest::keyClick(box, before < value ? Qt::Key_Up : Qt::Key_Down);
    if (box->value() == before) return;
  }
}
inline void ChooseItem(QComboBox* box, int index) {
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Home);
  for (int i = 0; i < index; ++i) QTest::keyClick(box, Qt::Key_Down);
}
inline void ClickRow(QAbstractItemView* view, const QModelIndex& index, Qt::KeyboardModifiers modifiers = {}) {
  view->scrollTo(index);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, view->visualRect(index).center());
}
// Clicks the push button with this caption (accelerator marks aside) in the dialog.
inline void ClickButton(QWidget* dialog, const QString& caption) {
  for (QPushButton* button : dialog->findChildren<QPushButton*>())
    if (button->text().remove('&') == caption) {
      QTest::mouseClick(button, Qt::LeftButton);
      return;
    }
  ADD_FAILURE() << "no button " << caption.toStdString();
}

// What a list's viewport shows with its own delegate, expected pixel for pixel the same
// as the style's plain delegate draws it: with what the delegate kept, and afresh.
inline QImage ExpectDrawnAsTheStyle(QAbstractItemView* list, const char* when) {
  QAbstractItemDelegate* own = list->itemDelegate();
  const auto grab = [list](QAbstractItemDelegate* delegate) {
    list->setItemDelegate(delegate);
    return list->viewport()->grab().toImage();
  };
  const QImage shown = grab(own);
  ItemTextDelegate fresh;
  const QImage afresh = grab(&fresh);
  QStyledItemDelegate styled;
  const QImage expected = grab(&styled);
  list->setItemDelegate(own);
  EXPECT_TRUE(shown == expected) << when;
  EXPECT_TRUE(afresh == expected) << when << ", drawn afresh";
  return shown;
}

// Each of the eight panels shown, in order, whole inside the bar, none over the next.
inline void ExpectPanelsInPlace(const TfMain& window) {
  const QStatusBar* bar = window.statusBar();
  int right = 0;
  for (int i = 0; i < 8; ++i) {
    const StatusPanel* panel = window.Panel(i);
    const QRect place(panel->mapTo(bar, QPoint(0, 0)), panel->size());
    EXPECT_TRUE(panel->isVisible()) << "panel " << i;
    EXPECT_GE(place.x(), right) << "panel " << i;
    EXPECT_LE(place.right(), bar->width()) << "panel " << i;
    right = place.right() + 1;
  }
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    iniPath = dir.filePath("mireforge.ini");
  }
  void TearDown() override {
    if (window) {
      window->CurrentProject().ProjectSaved = true;  // no question while tearing down
      window->close();
      window.reset();
    }
  }

  // With other prompts than the scripted ones, for example real message boxes.
  TfMain& Start(UserPrompts* with = nullptr) {
    window = std::make_unique<TfMain>(iniPath, with ? *with : prompts);
    window->resize(1000, 700);
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    QApplication::processEvents();
    return *window;
  }

  QString File(const QString& name) const { return dir.filePath(name); }

  // A blank map through the real dialog.
  void MakeBlankMap(int width = 66, int height = 63, int terrain = 0) {
    OnModal<TfNewBlank>([=](TfNewBlank* d) {
      TypeInto(d->eWidth, QString::number(width));
      TypeInto(d->eHeight, QString::number(height));
      ChooseItem(d->cbTerrain, terrain);
      ClickButton(d, "OK");
    });
    PartOf<QAction>(*window, "aNewBlank")->trigger();
  }

  QPoint CellCentre(int column, int row) const {
    const int pitch = window->TileSize() + (PartOf<QAction>(*window, "aShowGrid")->isChecked() ? 1 : 0);
    return QPoint((column - PartOf<MapGridView>(*window, "DG")->LeftColumn()) * pitch + pitch / 2,
                  (row - PartOf<MapGridView>(*window, "DG")->TopRow()) * pitch + pitch / 2);
  }

  void Mouse(QEvent::Type type, int column, int row, Qt::MouseButton button, Qt::MouseButtons buttons) {
    const QPointF pos = CellCentre(column, row);
    QMouseEvent event(type, pos, PartOf<MapGridView>(*window, "DG")->viewport()->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(PartOf<MapGridView>(*window, "DG")->viewport(), &event);
  }

  // A stroke from the first cell through the others, released on the last.
  void Stroke(const std::vector<QPoint>& cells) {
    Mouse(QEvent::MouseButtonPress, cells.front().x(), cells.front().y(), Qt::LeftButton, Qt::LeftButton);
    for (std::size_t i = 1; i < cells.size(); ++i)
      Mouse(QEvent::MouseMove, cells[i].x(), cells[i].y(), Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, cells.back().x(), cells.back().y(), Qt::LeftButton, Qt::NoButton);
  }

  int Terrain(int x, int y) { return window->CurrentProject().Map.GetTerrain(x, y); }
  TDescItem& Item(int x, int y) { return *window->CurrentProject().CellDescription(x, y); }

  QTemporaryDir dir;
  QString iniPath;
  ScriptedPrompts prompts;
  std::unique_ptr<TfMain> window;
};

}  // namespace mireforge::testing
