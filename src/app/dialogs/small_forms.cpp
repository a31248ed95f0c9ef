#include "app/dialogs/small_forms.h"

#include "app/dialogs/editor_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>
#include <QVBoxLayout>

// The pictures are compiled into this static library; without a reference the
// linker would drop them.
static void InitAppResources() { Q_INIT_RESOURCE(app); }

namespace mireforge {

QIcon AppIcon() {
  InitAppResources();
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256}) icon.addFile(QString(":/app/icon-%1.png").arg(size), QSize(size, size));
  return icon;
}

TfInfo::TfInfo(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), mainWindow_(mainWindow) {
  setFixedSize(460, 88);
  auto* frame = new QFrame(this);
  frame->setFrameStyle(QFrame::Box | QFrame::Plain);
  frame->setGeometry(0, 0, 460, 88);
  lInfo = new QLabel("Saving, please wait...", frame);
  lInfo->setGeometry(13, 16, 433, 20);
  pbInfo = new QProgressBar(frame);
  pbInfo->setGeometry(13, 48, 433, 20);
  pbInfo->setTextVisible(false);
}

void TfInfo::Start(const QString& text, int maximum) {
  lInfo->setText(text);
  pbInfo->setRange(0, std::max(0, maximum));
  pbInfo->setValue(0);
  if (mainWindow_) move(mainWindow_->geometry().center() - rect().center());
  show();
  raise();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfInfo::SetPosition(int position) {
  pbInfo->setValue(position);
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfInfo::Finish() { hide(); }

BusyScope::BusyScope(TfInfo* progress) : progress_(progress) { QApplication::setOverrideCursor(Qt::WaitCursor); }

BusyScope::~BusyScope() {
  if (progress_) progress_->Finish();
  QApplication::restoreOverrideCursor();
}

void BusyScope::Report(const QString& label, int maximum, int position) {
  if (!progress_) return;
  if (!progress_->isVisible() || progress_->lInfo->text() != label) {
    progress_->Start(label, maximum);
  } else if (position < maximum && shown_.isValid() && shown_.elapsed() < 20) {
    return;
  }
  progress_->SetPosition(position);
  shown_.start();
}

TfOptions::TfOptions(const OptionValues& values, QWidget* parent) : QDialog(parent) {
  setWindowTitle("Options");
  auto* layout = new QVBoxLayout(this);
  tabs = new QTabWidget(this);
  auto* general = new QWidget;
  auto* generalLayout = new QVBoxLayout(general);
  cbRememberLastInput = new QCheckBox("&Remember last entered value in description and domain editors", general);
  generalLayout->addWidget(cbRememberLastInput);
  generalLayout->addStretch();
  auto* mmu = new QWidget;
  auto* mmuLayout = new QVBoxLayout(mmu);
  cbAutoMMUSQL = new QCheckBox("&Automatically select all M/MU options when saving as SQL", mmu);
  cbInvertRowCol = new QCheckBox("&Invert row and column in description/domain window", mmu);
  cbAutoSaveMMF = new QCheckBox("&When saving as SQL file, save accompanying map as well", mmu);
  mmuLayout->addWidget(cbAutoMMUSQL);
  mmuLayout->addWidget(cbInvertRowCol);
  mmuLayout->addWidget(cbAutoSaveMMF);
  mmuLayout->addStretch();
  tabs->addTab(general, "General");
  tabs->addTab(mmu, "Midnight/MU");
  tabs->setCurrentIndex(0);
  layout->addWidget(tabs);
  layout->addWidget(OkCancelButtons(this));
  cbRememberLastInput->setChecked(values.rememberLastInput);
  cbAutoMMUSQL->setChecked(values.autoMMUSQL);
  cbInvertRowCol->setChecked(values.invertRowCol);
  cbAutoSaveMMF->setChecked(values.autoSaveMMF);
}

OptionValues TfOptions::Values() const {
  return {cbRememberLastInput->isChecked(), cbAutoMMUSQL->isChecked(), cbInvertRowCol->isChecked(),
          cbAutoSaveMMF->isChecked()};
}

TfAbout::TfAbout(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  auto* layout = new QVBoxLayout(this);
  auto* frame = new QFrame(this);
  frame->setFrameStyle(QFrame::Box | QFrame::Plain);
  auto* inner = new QVBoxLayout(frame);
  auto* picture = new QLabel(frame);
  picture->setObjectName("aboutPicture");
  InitAppResources();
  picture->setPixmap(QPixmap(":/app/side.png"));
  picture->setAlignment(Qt::AlignCenter);
  auto* title = new QLabel("Mireforge v2.65", frame);
  QFont font = title->font();
  font.setBold(true);
  font.setPointSize(font.pointSize() + 4);
  title->setFont(font);
  title->setAlignment(Qt::AlignCenter);
  inner->addWidget(picture);
  inner->addWidget(title);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(frame);
  // The labels must not swallow the click that closes the box.
  picture->setAttribute(Qt::WA_TransparentForMouseEvents);
  title->setAttribute(Qt::WA_TransparentForMouseEvents);
  if (parent) {
    adjustSize();
    move(parent->window()->geometry().center() - rect().center());
  }
}

void TfAbout::mousePressEvent(QMouseEvent*) { accept(); }

}  // namespace mireforge
