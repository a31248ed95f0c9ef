#include "app/dialogs/name_land_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <limits>

#include "formats/name_list.h"
#include "model/random_source.h"

namespace mireforge {

LandNamingFields::LandNamingFields(bool withSeedAndKeep, QWidget* parent) : QWidget(parent) {
  auto* form = new QFormLayout(this);
  form->setContentsMargins(0, 0, 0, 0);
  eDomains = new QSpinBox(this);
  eDomains->setRange(1, MaxRealmCount);
  eDomains->setValue(DefaultRealmCount);
  form->addRow("&Domains:", eDomains);

  if (withSeedAndKeep) {
    eSeed = new QSpinBox(this);
    eSeed->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    eSeed->setValue(UtcMillisecondsOfDay());
    bRandomize = new QPushButton("&Randomize", this);
    // A new seed from the clock, as the generators draw theirs.
    connect(bRandomize, &QPushButton::clicked, this, [this] {
      const int old = eSeed->value();
      int seed = UtcMillisecondsOfDay();
      if (seed == old) ++seed;  // a second press within the same millisecond still changes it
      eSeed->setValue(seed);
    });
    auto* seedRow = new QHBoxLayout;
    seedRow->addWidget(eSeed, 1);
    seedRow->addWidget(bRandomize);
    auto* seedLabel = new QLabel("&Seed:", this);
    seedLabel->setBuddy(eSeed);
    form->addRow(seedLabel, seedRow);
  }

  cbStyle = new QComboBox(this);
  for (std::string_view style : NameStyleNames) {
    QString text = QString::fromUtf8(style.data(), static_cast<int>(style.size()));
    cbStyle->addItem(text.left(1).toUpper() + text.mid(1));
  }
  form->addRow("S&tyle:", cbStyle);

  eNames = new QLineEdit(this);
  eNames->setPlaceholderText("(none: generated names only)");
  eNames->setToolTip("A text file of names, one a line, used before generated ones");
  bBrowse = new QPushButton("&Browse...", this);
  connect(bBrowse, &QPushButton::clicked, this, [this] {
    const QString file =
        QFileDialog::getOpenFileName(this, "Names", eNames->text(), "Text files (*.txt);;All files (*)");
    if (!file.isEmpty()) eNames->setText(file);
  });
  auto* namesRow = new QHBoxLayout;
  namesRow->addWidget(eNames, 1);
  namesRow->addWidget(bBrowse);
  auto* namesLabel = new QLabel("&Names from:", this);
  namesLabel->setBuddy(eNames);
  form->addRow(namesLabel, namesRow);

  if (withSeedAndKeep) {
    cbKeep = new QCheckBox("&Keep descriptions and domains already written", this);
    cbKeep->setChecked(true);
    form->addRow(cbKeep);
  }
}

LandNamingOptions LandNamingFields::Options() const {
  LandNamingOptions options;
  options.Domains = eDomains->value();
  if (eSeed) options.Seed = eSeed->value();
  options.Style = static_cast<NameStyle>(cbStyle->currentIndex());
  if (!eNames->text().trimmed().isEmpty()) options.Names = ReadNameList(eNames->text().trimmed().toStdString());
  options.Keep = cbKeep && cbKeep->isChecked();
  return options;
}

TfNameLand::TfNameLand(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Name the land");
  auto* layout = new QVBoxLayout(this);
  fields = new LandNamingFields(true, this);
  layout->addWidget(fields);
  buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  setMinimumWidth(420);
}

}  // namespace mireforge
