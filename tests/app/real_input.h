#pragma once
// Dialogs answered the way a person answers them: the message box a command
// opens is found when it shows and its button clicked with the mouse.
#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "app_test_support.h"

namespace mireforge::testing {

// The questions are the real boxes; file dialogs and error boxes stay scripted.
class BoxPrompts : public ScriptedPrompts {
 public:
  Answer AskYesNoCancel(QWidget* parent, const QString& text) override { return real.AskYesNoCancel(parent, text); }
  bool AskReplace(QWidget* parent, const QString& text) override { return real.AskReplace(parent, text); }
  bool AskOffer(QWidget* parent, const QString& caption, const QString& text) override {
    return real.AskOffer(parent, caption, text);
  }

 private:
  DialogPrompts real;
};

// What the answerer met: the boxes it clicked, and any other modal window,
// which it closes so that a command that should have asked cannot hang the test.
struct ModalLog {
  QStringList boxes;   // caption + "|" + text of each box answered
  QStringList others;  // class names of modal windows that were no message box
};

// Answers the next modal windows in turn: a message box by clicking the
// button of the next answer; QMessageBox::NoButton closes the next modal
// window of any kind. A modal window that is no message box where a button was
// expected is closed and logged, so that a command that should have asked
// cannot hang the test. Stops when the answers are used up, or after two
// seconds without a modal window.
inline std::shared_ptr<ModalLog> AnswerBoxes(std::vector<QMessageBox::StandardButton> answers) {
  auto log = std::make_shared<ModalLog>();
  auto queue = std::make_shared<std::vector<QMessageBox::StandardButton>>(std::move(answers));
  auto attempt = std::make_shared<std::function<void(int)>>();
  *attempt = [log, queue, attempt](int tries) {
    if (queue->empty()) return;
    QWidget* modal = QApplication::activeModalWidget();
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box && queue->front() != QMessageBox::NoButton) {
      log->boxes << box->windowTitle() + "|" + box->text();
      QAbstractButton* button = box->button(queue->front());
      queue->erase(queue->begin());
      if (button) QTest::mouseClick(button, Qt::LeftButton);
      else box->reject();
      tries = 200;
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      log->others << dialog->metaObject()->className();
      if (queue->front() == QMessageBox::NoButton) queue->erase(queue->begin());
      dialog->reject();
      tries = 200;
    }
    if (tries > 0) QTimer::singleShot(10, [attempt, tries] { (*attempt)(tries - 1); });
  };
  QTimer::singleShot(0, [attempt] { (*attempt)(200); });
  return log;
}

// Presses a key in the window as the keyboard does. The window is made active
// first, as it is under the user's hands: offscreen, closing a modal dialog
// does not give the activation back.
inline void PressKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QApplication::setActiveWindow(window);
  QWidget* target = window->focusWidget() ? window->focusWidget() : window;
  QTest::keyClick(target, key, modifiers);
}

// Clicks the tab with this caption.
inline void ClickTab(QTabWidget* tabs, const QString& caption) {
  QTabBar* bar = tabs->tabBar();
  for (int i = 0; i < bar->count(); ++i)
    if (bar->tabText(i) == caption) QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
}

}  // namespace mireforge::testing
