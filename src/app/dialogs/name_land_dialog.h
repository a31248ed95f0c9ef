#pragma once
// "Name the land...": how many realms, the seed (with a button that draws a new
// one), the style of the names, a list of names to use first, and whether what
// the user already wrote is kept. The generation wizard shows the same fields
// but the seed and the keeping, which a new map does not need.
#include <QDialog>
#include <QWidget>

#include "generate/land_naming.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace mireforge {

class LandNamingFields : public QWidget {
  Q_OBJECT
 public:
  LandNamingFields(bool withSeedAndKeep, QWidget* parent = nullptr);

  // The options shown, with the list file read: Error when it cannot be.
  LandNamingOptions Options() const;

  QSpinBox* eDomains = nullptr;
  QSpinBox* eSeed = nullptr;          // null in the wizard
  QPushButton* bRandomize = nullptr;  // null in the wizard
  QComboBox* cbStyle = nullptr;
  QLineEdit* eNames = nullptr;
  QPushButton* bBrowse = nullptr;
  QCheckBox* cbKeep = nullptr;        // null in the wizard
};

class TfNameLand : public QDialog {
  Q_OBJECT
 public:
  explicit TfNameLand(QWidget* parent = nullptr);

  LandNamingOptions Options() const { return fields->Options(); }

  LandNamingFields* fields = nullptr;
  QDialogButtonBox* buttons = nullptr;
};

}  // namespace mireforge
