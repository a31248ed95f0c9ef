#pragma once
// The editors that live as long as the main window, so their history and
// check box state carry over between uses: TfSetName (description editor),
// TfSetDom (domain editor) and TfNewDomain (new and edit domain).
#include <QDialog>
#include <QFrame>
#include <cstdint>

class QCheckBox;
class QDialogButtonBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace mireforge {

// "OK" and "Cancel" wired to accept and reject.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

// A colour box; a click opens the colour dialog at its colour.
class ColorSwatch : public QFrame {
  Q_OBJECT
 public:
  explicit ColorSwatch(QWidget* parent = nullptr);
  void SetColor(std::int32_t bgr);
  std::int32_t Color() const { return color_; }

 signals:
  void Clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::int32_t color_ = 0xFFFFFF;
};

// The last rows of both domain dialogs: the domain's name and colour.
class DomainNameFields {
 public:
  QString DomainName() const;
  std::int32_t DomainColor() const;

  QLineEdit* eName = nullptr;
  ColorSwatch* swatch = nullptr;

 protected:
  // The caption on row, the name field and the colour box on the row below.
  void AddNameAndColor(QWidget* dialog, QGridLayout* layout, int row);
};

class TfSetName : public QDialog {
  Q_OBJECT
 public:
  explicit TfSetName(QWidget* parent = nullptr);
  void Prepare(const QString& text, const QString& domainLabel);
  QString Text() const;
  // Adds a confirmed text to the sorted history unless it is listed.
  void Remember(const QString& text);
  QStringList History() const;

  QComboBox* cbDescription = nullptr;
  QLabel* lDomain = nullptr;
};

class TfSetDom : public QDialog, public DomainNameFields {
  Q_OBJECT
 public:
  explicit TfSetDom(QWidget* parent = nullptr);
  void Prepare(const QString& description, int domain, const QString& name, std::int32_t color);
  int Domain() const;
  bool ChangeNameAndColor() const;

  QLabel* lDescription = nullptr;
  QSpinBox* eDomain = nullptr;
  QCheckBox* cbChange = nullptr;
};

class TfNewDomain : public QDialog, public DomainNameFields {
  Q_OBJECT
 public:
  explicit TfNewDomain(QWidget* parent = nullptr);
  // New: the number field proposes number and is enabled; Edit: it is fixed.
  void PrepareNew(int proposedNumber);
  void PrepareEdit(int number, const QString& name, std::int32_t color);
  int Number() const;

  QLabel* lNumber = nullptr;
  QSpinBox* eNumber = nullptr;
  QPushButton* bOK = nullptr;
};

}  // namespace mireforge
