#include "app/wizards/import_wizard.h"

#include "app/session/file_names.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/dialogs/small_forms.h"
#include "app/dialogs/user_prompts.h"
#include "app/wizards/wizard_parts.h"
#include "import/heightmap.h"
#include "project/project.h"

namespace mireforge {

namespace {

constexpr const char* PictureFilter =
    "All supported formats (*.png; *.bmp)|*.png; *.bmp|PNG format (*.png)|*.png|BMP format (*.bmp)|*.bmp|"
    "All files (*.*)|*.*";

const char* const Captions[] = {
    "Heightmap Import Wizard",
    "Heightmap Import Wizard - Step 1: Select image",
    "Heightmap Import Wizard - Step 2: Set parameters",
    "Heightmap Import Wizard - Step 3: Generate map",
};

QImage ToQImage(const Image& image) {
  if (image.Empty()) return {};
  QImage copy(image.Width, image.Height, QImage::Format_RGB32);
  for (int y = 0; y < image.Height; ++y)
    std::copy_n(image.Pixels.data() + static_cast<std::size_t>(y) * image.Width, image.Width,
                reinterpret_cast<QRgb*>(copy.scanLine(y)));
  return copy;
}

}  // namespace

TfImportMap::TfImportMap(Project& project, UserPrompts& prompts, QWidget* parent)
    : WizardDialog(parent), project_(project), prompts_(prompts) {
  setWindowTitle(Captions[0]);
  NB = new QStackedWidget(this);
  NB->addWidget(CreateStartPage());
  NB->addWidget(CreateLoadPage());
  NB->addWidget(CreateParamsPage());
  NB->addWidget(CreateCreatePage());
  connect(NB, &QStackedWidget::currentChanged, this, &TfImportMap::NBPageChanged);

  bPrevious = new QPushButton("< &Back", this);
  bNext = new QPushButton("Next >", this);
  bCancel = new QPushButton("Cancel", this);
  connect(bPrevious, &QPushButton::clicked, this, &TfImportMap::bPreviousClick);
  connect(bNext, &QPushButton::clicked, this, &TfImportMap::bNextClick);
  connect(bCancel, &QPushButton::clicked, this, &TfImportMap::reject);
  LayOutWizard(this, NB, bPrevious, bNext, bCancel);
  SetDesignedSize(QSize(592, 420));
}

QWidget* TfImportMap::CreateStartPage() {
  return CreateWelcomePage(350, "Welcome to Heightmap Import Wizard",
                           "This wizard makes a terrain map out of a picture: dark parts become mountains, "
                           "light parts plains.");
}

QWidget* TfImportMap::CreateLoadPage() {
  auto* page = new QWidget;
  bexFolder = new QLineEdit(page);
  bexFolder->setReadOnly(true);
  bexFolderButton = new QToolButton(page);
  bexFolderButton->setText("...");
  cbStrech = new QComboBox(page);
  for (std::string_view name : ResizeMethodNames) cbStrech->addItem(QString::fromLatin1(name.data(), name.size()));
  cbInvert = new QCheckBox("&Invert image", page);
  cbFullEdge = new QCheckBox("&Full edge resampling (recommended)", page);
  prImageBox = new StretchedImage(page);
  prImageBox->setFixedSize(260, 260);

  auto* file = new QHBoxLayout;
  file->addWidget(bexFolder, 1);
  file->addWidget(bexFolderButton);
  auto* stretchLabel = new QLabel("&Resize method:", page);
  stretchLabel->setBuddy(cbStrech);
  auto* left = new QVBoxLayout;
  left->addWidget(WizardHeading("Load picture from file", page));
  left->addLayout(file);
  left->addWidget(stretchLabel);
  left->addWidget(cbStrech);
  left->addWidget(cbInvert);
  left->addWidget(cbFullEdge);
  left->addStretch();
  auto* layout = new QHBoxLayout(page);
  layout->addLayout(left, 1);
  layout->addWidget(prImageBox, 0, Qt::AlignTop);

  connect(bexFolderButton, &QToolButton::clicked, this, &TfImportMap::bexFolderClickButton);
  connect(bexFolder, &QLineEdit::textChanged, this, &TfImportMap::UpdateNextEnabled);
  connect(cbStrech, &QComboBox::currentIndexChanged, this, &TfImportMap::ParameterChange);
  connect(cbInvert, &QCheckBox::clicked, this, &TfImportMap::ParameterChange);
  connect(cbFullEdge, &QCheckBox::clicked, this, &TfImportMap::ParameterChange);
  return page;
}

QWidget* TfImportMap::CreateParamsPage() {
  auto* page = new QWidget;
  eMountains = new QSpinBox(page);
  eMountains->setRange(0, 255);
  eDowns = new QSpinBox(page);
  eDowns->setRange(1, 255);
  eForests = new QSpinBox(page);
  eForests->setRange(2, 255);
  const ImportThresholds defaults;
  eForests->setValue(defaults.Forests);
  eDowns->setValue(defaults.Downs);
  eMountains->setValue(defaults.Mountains);
  trImageBox = new StretchedImage(page);
  trImageBox->setFixedSize(260, 260);

  auto* form = new QFormLayout;
  form->addRow("Mountains are darker than", eMountains);
  form->addRow("Downs are darker than", eDowns);
  form->addRow("Forests are darker than", eForests);
  auto* left = new QVBoxLayout;
  left->addWidget(WizardHeading("Transformation parameters", page));
  left->addLayout(form);
  left->addStretch();
  left->addWidget(CreateColourKey(page));
  auto* layout = new QHBoxLayout(page);
  layout->addLayout(left, 1);
  layout->addWidget(trImageBox, 0, Qt::AlignTop);
  for (QSpinBox* spin : {eMountains, eDowns, eForests}) {
    // Coupling on every keystroke would cut "100" at its "1" and drag the others down with it:
    // the value counts once it is finished (Enter, leaving the field) or stepped.
    spin->setKeyboardTracking(false);
    connect(spin, &QSpinBox::valueChanged, this, &TfImportMap::SpinnerChange);
  }
  return page;
}

QWidget* TfImportMap::CreateCreatePage() {
  auto* page = new QWidget;
  cbClear = new QCheckBox("Clear &objects and areas on creation", page);
  cbClear->setEnabled(false);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(WizardHeading("All necessary data is compiled", page));
  layout->addWidget(WrappedText("Please choose 'Generate' to create the map, 'Back' to review your choices or "
                                "'Cancel' to leave the map as it is.",
                                page));
  layout->addWidget(cbClear);
  layout->addStretch();
  return page;
}

void TfImportMap::FormShow() {
  Step = 0;
  bNext->setEnabled(true);
  bNext->setText("Next >");
  bPrevious->hide();
  {
    const QSignalBlocker quiet(cbStrech);
    cbStrech->setCurrentIndex(0);
  }
  NB->setCurrentIndex(0);
  NBPageChanged(0);
  backup_.Take(project_.Map);
}

void TfImportMap::NBPageChanged(int page) {
  if (page >= 0 && page < 4) setWindowTitle(Captions[page]);
}

void TfImportMap::UpdateNextEnabled() {
  // Next also waits for a picture that could be read: generating from none
  // would hand back an empty map as if it were imported.
  bNext->setEnabled(!bexFolder->text().isEmpty() && !prImage_.Empty());
}

void TfImportMap::bNextClick() {
  ++Step;
  switch (Step) {
    case 1:
      UpdateNextEnabled();
      break;
    case 2:
      DrawTerrainPreview();
      break;
    case 3:
      bNext->setText("&Generate");
      break;
    default: {
      MapGrid map = BuildMapFromPreview(trImage_);
      project_.Map = std::move(map);
      accept();
      return;
    }
  }
  bPrevious->show();
  NB->setCurrentIndex(Step);
}

void TfImportMap::bPreviousClick() {
  if (Step <= 0) return;
  --Step;
  bNext->setText("Next >");
  bPrevious->setVisible(Step > 0);
  NB->setCurrentIndex(Step);
}

void TfImportMap::bexFolderClickButton() {
  const FileChoice choice = prompts_.OpenFile(this, "Select picture", PictureFilter, "png");
  if (!choice.fileName.isEmpty()) ChooseFile(choice.fileName);
}

void TfImportMap::ChooseFile(const QString& fileName) {
  bexFolder->setText(fileName);
  ParameterChange();
}

void TfImportMap::ParameterChange() {
  // What exists but is no picture file (a pipe, a folder) is refused by the reader with its reason.
  if (bexFolder->text().isEmpty() || !NameExists(bexFolder->text())) {
    QApplication::beep();
    return;
  }
  LoadPicture();
  UpdateNextEnabled();
}

void TfImportMap::LoadPicture() {
  PictureImportOptions options;
  options.Method = ResizeMethodOfIndex(cbStrech->currentIndex());
  options.Invert = cbInvert->isChecked();
  options.FullEdge = cbFullEdge->isChecked();
  try {
    BusyScope busy;
    // Both previews change only once the whole picture has been read.
    const Image picture = LoadImportPicture(PathOf(bexFolder->text()));
    Image preview = BuildPicturePreview(picture, options);
    prImage_ = std::move(preview);
  } catch (const std::exception& error) {
    prompts_.ShowError(this, QString::fromStdString(error.what()));
    return;
  }
  prImageBox->SetImage(ToQImage(prImage_));
}

void TfImportMap::SpinnerChange() {
  ImportThresholds t{eMountains->value(), eDowns->value(), eForests->value()};
  const ThresholdLimits limits = CoupleThresholds(t);
  for (QSpinBox* spin : {eMountains, eDowns, eForests}) spin->blockSignals(true);
  eMountains->setMaximum(limits.MountainsMax);
  eDowns->setMaximum(limits.DownsMax);
  eDowns->setValue(t.Downs);
  eMountains->setValue(t.Mountains);
  for (QSpinBox* spin : {eMountains, eDowns, eForests}) spin->blockSignals(false);
  DrawTerrainPreview();
}

void TfImportMap::DrawTerrainPreview() {
  const ImportThresholds t{eMountains->value(), eDowns->value(), eForests->value()};
  trImage_ = mireforge::DrawTerrainPreview(prImage_, t);
  trImageBox->SetImage(ToQImage(trImage_));
}

void TfImportMap::reject() {
  if (!backup_.Cells.empty()) backup_.Restore(project_.Map);
  QDialog::reject();
}

}  // namespace mireforge
