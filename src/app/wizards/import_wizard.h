#pragma once
// TfImportMap, the heightmap import wizard: a picture becomes a grey preview,
// three thresholds cut it into four terrain classes, and "Generate" makes the
// map. Created for each use, so every use starts from the defaults.
#include <QDialog>
#include <QString>

#include "app/wizards/wizard_parts.h"
#include "pictures/image.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QToolButton;

namespace mireforge {

class UserPrompts;
struct Project;

class TfImportMap : public WizardDialog {
  Q_OBJECT
 public:
  TfImportMap(Project& project, UserPrompts& prompts, QWidget* parent = nullptr);

  int Step = 0;
  QStackedWidget* NB = nullptr;
  QPushButton *bPrevious = nullptr, *bNext = nullptr, *bCancel = nullptr;
  QLineEdit* bexFolder = nullptr;
  QToolButton* bexFolderButton = nullptr;
  QComboBox* cbStrech = nullptr;
  QCheckBox *cbInvert = nullptr, *cbFullEdge = nullptr, *cbClear = nullptr;
  QSpinBox *eMountains = nullptr, *eDowns = nullptr, *eForests = nullptr;
  StretchedImage *prImageBox = nullptr, *trImageBox = nullptr;

  const Image& PictureImage() const { return prImage_; }
  const Image& TerrainImage() const { return trImage_; }

  void FormShow() override;
  void bNextClick();
  void bPreviousClick();
  void bexFolderClickButton();
  // Puts a file name into bexFolder and loads it, as choosing it in the dialog does.
  void ChooseFile(const QString& fileName);
  void ParameterChange();
  void SpinnerChange();
  void reject() override;

 private:
  QWidget* CreateStartPage();
  QWidget* CreateLoadPage();
  QWidget* CreateParamsPage();
  QWidget* CreateCreatePage();
  void NBPageChanged(int page);
  void LoadPicture();
  void DrawTerrainPreview();
  void UpdateNextEnabled();

  Project& project_;
  UserPrompts& prompts_;
  Image prImage_;
  Image trImage_;
  MapBackup backup_;
};

}  // namespace mireforge
