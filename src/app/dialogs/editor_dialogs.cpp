#include "app/dialogs/editor_dialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/grid/tile_images.h"
#include "base/ini_file.h"
#include "model/domains.h"

namespace mireforge {

QDialogButtonBox* OkCancelButtons(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

namespace {

// The longest text a project file gives back whole: typing more would be lost.
constexpr int LongestText = static_cast<int>(IniFile::MaxValueLength);
// Labels show at most this wide a text, so a long one neither widens the dialog
// nor takes long to lay out.
constexpr int LongestShownWidth = 480;

void SetElidedText(QLabel* label, const QString& text) {
  label->setText(label->fontMetrics().elidedText(text.left(LongestShownWidth), Qt::ElideRight, LongestShownWidth));
}

void ConnectColorDialog(ColorSwatch* swatch) {
  QObject::connect(swatch, &ColorSwatch::Clicked, swatch, [swatch] {
    const QColor chosen = QColorDialog::getColor(ColorFromBgr(swatch->Color()), swatch->window());
    if (chosen.isValid()) swatch->SetColor(BgrFromColor(chosen));
  });
}

}  // namespace

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setFixedSize(24, 21);
  setAutoFillBackground(true);
  setToolTip("Click to change");
  setCursor(Qt::PointingHandCursor);
  SetColor(0xFFFFFF);
}

void ColorSwatch::SetColor(std::int32_t bgr) {
  color_ = bgr;
  QPalette pal = palette();
  pal.setColor(QPalette::Window, ColorFromBgr(bgr));
  setPalette(pal);
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Clicked();
}

void DomainNameFields::AddNameAndColor(QWidget* dialog, QGridLayout* layout, int row) {
  auto* nameLabel = new QLabel("&Name and color for this domain:", dialog);
  eName = new QLineEdit(dialog);
  eName->setMaxLength(LongestText);
  nameLabel->setBuddy(eName);
  swatch = new ColorSwatch(dialog);
  ConnectColorDialog(swatch);
  layout->addWidget(nameLabel, row, 0, 1, 3);
  layout->addWidget(eName, row + 1, 0, 1, 2);
  layout->addWidget(swatch, row + 1, 2);
}

QString DomainNameFields::DomainName() const { return eName->text(); }
std::int32_t DomainNameFields::DomainColor() const { return swatch->Color(); }

TfSetName::TfSetName(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Set location description");
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel("New description:", this);
  cbDescription = new QComboBox(this);
  cbDescription->setEditable(true);
  cbDescription->setInsertPolicy(QComboBox::NoInsert);
  cbDescription->setMaxVisibleItems(16);
  cbDescription->setMinimumWidth(320);
  cbDescription->lineEdit()->setMaxLength(LongestText);
  label->setBuddy(cbDescription);
  auto* domainRow = new QHBoxLayout;
  domainRow->addWidget(new QLabel("Domain:", this));
  lDomain = new QLabel(this);
  domainRow->addWidget(lDomain, 1);
  layout->addWidget(label);
  layout->addWidget(cbDescription);
  layout->addLayout(domainRow);
  layout->addWidget(OkCancelButtons(this));
}

void TfSetName::Prepare(const QString& text, const QString& domainLabel) {
  cbDescription->setCurrentIndex(-1);
  cbDescription->setEditText(text);
  SetElidedText(lDomain, domainLabel);
  cbDescription->setFocus();
  cbDescription->lineEdit()->selectAll();
}

QString TfSetName::Text() const { return cbDescription->currentText(); }

void TfSetName::Remember(const QString& text) {
  if (cbDescription->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0) return;
  // Alphabetical without regard to case; texts that differ only in case keep a fixed order.
  const auto before = [](const QString& a, const QString& b) {
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : QString::compare(a, b) < 0;
  };
  int position = 0;
  while (position < cbDescription->count() && before(cbDescription->itemText(position), text)) ++position;
  cbDescription->insertItem(position, text);
}

QStringList TfSetName::History() const {
  QStringList items;
  for (int i = 0; i < cbDescription->count(); ++i) items << cbDescription->itemText(i);
  return items;
}

TfSetDom::TfSetDom(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Set location domain");
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel("Description:", this), 0, 0);
  lDescription = new QLabel(this);
  lDescription->setMinimumWidth(240);
  layout->addWidget(lDescription, 0, 1, 1, 2);
  auto* domainLabel = new QLabel("New &domain:", this);
  eDomain = new QSpinBox(this);
  eDomain->setRange(0, DomainCount - 1);
  domainLabel->setBuddy(eDomain);
  layout->addWidget(domainLabel, 1, 0);
  layout->addWidget(eDomain, 1, 1);
  AddNameAndColor(this, layout, 2);
  cbChange = new QCheckBox("&Change name and color", this);
  layout->addWidget(cbChange, 4, 0, 1, 3);
  layout->addWidget(OkCancelButtons(this), 5, 0, 1, 3);
}

void TfSetDom::Prepare(const QString& description, int domain, const QString& name, std::int32_t color) {
  SetElidedText(lDescription, description);
  eDomain->setValue(domain);
  eName->setText(name);
  swatch->SetColor(color);
  eDomain->setFocus();
  eDomain->selectAll();
}

int TfSetDom::Domain() const { return eDomain->value(); }
bool TfSetDom::ChangeNameAndColor() const { return cbChange->isChecked(); }

TfNewDomain::TfNewDomain(QWidget* parent) : QDialog(parent) {
  auto* layout = new QGridLayout(this);
  lNumber = new QLabel("New &domain:", this);
  eNumber = new QSpinBox(this);
  eNumber->setRange(0, DomainCount - 1);
  lNumber->setBuddy(eNumber);
  layout->addWidget(lNumber, 0, 0);
  layout->addWidget(eNumber, 0, 1);
  AddNameAndColor(this, layout, 1);
  eName->setMinimumWidth(240);
  auto* buttons = OkCancelButtons(this);
  bOK = buttons->button(QDialogButtonBox::Ok);
  layout->addWidget(buttons, 3, 0, 1, 3);
  connect(eName, &QLineEdit::textChanged, this, [this](const QString& text) { bOK->setEnabled(!text.isEmpty()); });
}

void TfNewDomain::PrepareNew(int proposedNumber) {
  setWindowTitle("New domain");
  lNumber->setText("New &domain:");
  eNumber->setEnabled(true);
  eNumber->setValue(std::min(proposedNumber, DomainCount - 1));
  eName->clear();
  swatch->SetColor(0xFFFFFF);
  bOK->setEnabled(false);
  eNumber->setFocus();
}

void TfNewDomain::PrepareEdit(int number, const QString& name, std::int32_t color) {
  setWindowTitle("Edit domain");
  lNumber->setText("This &domain:");
  eNumber->setValue(number);
  eNumber->setEnabled(false);
  eName->setText(name);
  swatch->SetColor(color);
  bOK->setEnabled(!name.isEmpty());
  eName->setFocus();
}

int TfNewDomain::Number() const { return eNumber->value(); }

}  // namespace mireforge
