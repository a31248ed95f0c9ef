// The editor on a desktop: every control has a name a screen reader can speak,
// and a dark colour scheme leaves lists and icons readable.
#include <QTableView>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSlider>
#include <QStyleFactory>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <cmath>

#include "app/main_window/window_parts.h"
#include "app/app_test_support.h"
#include "app/dialogs/small_forms.h"
#include "app/grid/terrain_palette.h"
#include "app/panels/description_model.h"
#include "app/session/desktop_session.h"
#include "app/tools/map_tools.h"

namespace mireforge::testing {
namespace {

bool IsControl(const QWidget* widget) {
  return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QAbstractItemView*>(widget) ||
         qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget) ||
         qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QSlider*>(widget) ||
         qobject_cast<const QPlainTextEdit*>(widget);
}

// What a screen reader would say is wrong: controls without a name, column
// headers that read as numbers. Qt's own inner parts (scroll bar buttons,
// the extension arrow of a tool bar) are Qt's.
QStringList Unnamed(QWidget& root) {
  QStringList problems;
  QList<QWidget*> widgets = root.findChildren<QWidget*>();
  widgets.prepend(&root);
  for (QWidget* widget : widgets) {
    if (!IsControl(widget) || widget->objectName().startsWith("qt_")) continue;
    if (qobject_cast<QHeaderView*>(widget)) continue;  // its sections are checked with its view
    if (qobject_cast<QLineEdit*>(widget) && qobject_cast<QAbstractSpinBox*>(widget->parentWidget())) continue;
    if (qobject_cast<QLineEdit*>(widget) && qobject_cast<QComboBox*>(widget->parentWidget())) continue;
    if (QString(widget->metaObject()->className()) == "QComboBoxListView") continue;  // the popup: its combo box is named
    // Shown only beside row headers, which the description list has none of.
    if (QString(widget->metaObject()->className()) == "QTableCornerButton") continue;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    const QString name = accessible ? accessible->text(QAccessible::Name).trimmed() : QString();
    const QString where = QString("%1 '%2' in %3")
                              .arg(widget->metaObject()->className(), widget->objectName(),
                                   widget->window()->windowTitle());
    if (name.isEmpty()) problems << where;
    if (auto* view = qobject_cast<QTreeView*>(widget); view && view->model())  // lists have no column headers
      for (int column = 0; column < view->model()->columnCount(); ++column) {
        const QString header = view->model()->headerData(column, Qt::Horizontal).toString();
        bool number = false;
        header.toInt(&number);
        if (header.trimmed().isEmpty() || number) problems << where + " column " + QString::number(column + 1);
      }
  }
  return problems;
}

using DesktopLookTest = MainWindowTest;

TEST_F(DesktopLookTest, EveryControlHasASpokenName) {
  TfMain& w = Start();
  MakeBlankMap(8, 8);
  EXPECT_EQ(Unnamed(w).join("\n").toStdString(), "") << "main window and the forms it keeps";
  // The dialogs made per command: the preferences with their pages.
  QStringList inOptions;
  OnModal<TfOptions>([&](TfOptions* dialog) {
    inOptions = Unnamed(*dialog);
    dialog->reject();
  });
  PartOf<QAction>(w, "aOptions")->trigger();
  EXPECT_EQ(inOptions.join("\n").toStdString(), "") << "preferences";
  const QList<QAbstractButton*> terrain = PartOf<TerrainPalette>(w, "twPalette")->findChildren<QAbstractButton*>();
  ASSERT_EQ(terrain.size(), 16);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(terrain[4])->text(QAccessible::Name).toStdString(), "Tower");
}

// Dark colours from the palette as a dark theme sets them.
QPalette DarkPalette() {
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(45, 45, 48));
  dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
  dark.setColor(QPalette::Base, QColor(30, 30, 30));
  dark.setColor(QPalette::AlternateBase, QColor(50, 50, 54));
  dark.setColor(QPalette::Text, QColor(230, 230, 230));
  dark.setColor(QPalette::Button, QColor(55, 55, 58));
  dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
  dark.setColor(QPalette::Highlight, QColor(38, 79, 120));
  dark.setColor(QPalette::HighlightedText, Qt::white);
  return dark;
}

double Lightness(QRgb pixel) { return QColor(pixel).lightnessF(); }

// The share of an icon's pixels that stand out from the background it sits on.
double ShareStandingOut(const QImage& image, QRgb background) {
  int standing = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (std::abs(Lightness(image.pixel(x, y)) - Lightness(background)) > 0.35) ++standing;
  return double(standing) / (image.width() * image.height());
}

TEST_F(DesktopLookTest, UnderADarkPaletteListsAndIconsStayReadable) {
  const QPalette before = QApplication::palette();
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  QApplication::setPalette(DarkPalette());
  struct Restore {
    QPalette palette;
    ~Restore() { QApplication::setPalette(palette); }
  } restore{before};
  TfMain& w = Start();
  MakeBlankMap(8, 8);
  QApplication::processEvents();

  // Every row of the descriptions list is dark under light text: no fixed light stripe.
  const QImage list = PartOf<QTableView>(w, "DescVT")->viewport()->grab().toImage();
  const QRect second = PartOf<QTableView>(w, "DescVT")->visualRect(PartOf<DescriptionModel>(w, "descModel")->index(1, 2));
  ASSERT_TRUE(second.isValid());
  const QRgb stripe = list.pixel(second.right() - 2, second.center().y());
  EXPECT_LT(Lightness(stripe), 0.4) << "odd row background " << QColor(stripe).name().toStdString();
  EXPECT_NE(stripe, list.pixel(PartOf<QTableView>(w, "DescVT")->visualRect(PartOf<DescriptionModel>(w, "descModel")->index(0, 2)).right() - 2,
                               PartOf<QTableView>(w, "DescVT")->visualRect(PartOf<DescriptionModel>(w, "descModel")->index(0, 2)).center().y()))
      << "the rows are still striped";

  // The icons that vanished on dark tool bars: drawn onto the bar's own colour, enough of each stands out.
  const QRgb bar = DarkPalette().color(QPalette::Button).rgb();
  const std::pair<const char*, QAction*> icons[] = {
      {"rectangle select", PartOf<MapTools>(w, "tools")->aTool[static_cast<int>(Tool::RectSelect)]},
      {"magic wand", PartOf<MapTools>(w, "tools")->aTool[static_cast<int>(Tool::MagicWand)]},
      {"line", PartOf<MapTools>(w, "tools")->aTool[static_cast<int>(Tool::Line)]},
      {"32 tile size", PartOf<QAction>(w, ("aTileSize" + std::to_string(0)).c_str())},
  };
  for (const auto& [name, action] : icons) {
    QImage image(24, 24, QImage::Format_RGB32);
    image.fill(bar);
    QPainter painter(&image);
    action->icon().paint(&painter, image.rect());
    painter.end();
    EXPECT_GT(ShareStandingOut(image, bar), 0.04) << name;
  }
}

}  // namespace
}  // namespace mireforge::testing
