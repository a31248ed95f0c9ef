// The dialogs on their own: legend, about box, preferences, the new-domain
// dialog's OK rule and the description history.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QCheckBox>
#include <QClipboard>
#include <QMenu>
#include <QMouseEvent>
#include <QTabWidget>

#include "app/dialogs/editor_dialogs.h"
#include "app/dialogs/legend_dialog.h"
#include "app/dialogs/small_forms.h"
#include "app/grid/tile_images.h"
#include "app/app_test_support.h"

namespace mireforge {
namespace {

TEST(LegendTest, BoxesShowPreviewColoursAndCopyTheirText) {
  TfLegend legend;
  EXPECT_EQ(legend.windowTitle(), "Colour legend for preview images");
  EXPECT_EQ(legend.size(), QSize(306, 319));
  auto* henge = legend.findChild<LegendBox*>("boxHenge");
  auto* citadel = legend.findChild<LegendBox*>("boxCitadel");
  auto* none = legend.findChild<LegendBox*>("box(None)");
  ASSERT_TRUE(henge && citadel && none);
  EXPECT_EQ(henge->toolTip(), "#A0A0A0");
  EXPECT_EQ(henge->palette().color(QPalette::Window), QColor(160, 160, 160));
  EXPECT_EQ(citadel->toolTip(), "#0000FF");
  EXPECT_EQ(citadel->palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_EQ(none->geometry(), QRect(184, 8 + 7 * 32, 64, 25));
  // Right click remembers the box; the menu item copies its text.
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), citadel->mapToGlobal(QPointF(5, 5)), Qt::RightButton,
                    Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(citadel, &press);
  EXPECT_EQ(legend.clickedBox, citadel);
  legend.popup->close();
  ASSERT_EQ(legend.popup->actions().size(), 1);
  EXPECT_EQ(legend.popup->actions().front()->text(), "&Copy this color value to clipboard");
  legend.popup->actions().front()->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "#0000FF");
}

TEST(AboutBoxTest, ShowsTitleAndClosesOnClick) {
  TfAbout about;
  about.show();
  bool found = false;
  for (QLabel* label : about.findChildren<QLabel*>()) found = found || label->text() == "Mireforge v2.65";
  EXPECT_TRUE(found);
  EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(20, 20), about.mapToGlobal(QPointF(20, 20)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(about.childAt(20, 20) ? about.childAt(20, 20) : &about, &press);
  EXPECT_FALSE(about.isVisible());
  EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST(OptionsDialogTest, ShowsValuesOnFirstTabAndReturnsThem) {
  TfOptions options({true, false, true, false});
  EXPECT_EQ(options.windowTitle(), "Options");
  EXPECT_EQ(options.tabs->currentIndex(), 0);
  EXPECT_EQ(options.tabs->tabText(1), "Midnight/MU");
  EXPECT_TRUE(options.cbRememberLastInput->isChecked());
  EXPECT_TRUE(options.cbInvertRowCol->isChecked());
  testing::Tick(options.cbAutoSaveMMF, true);
  testing::Tick(options.cbRememberLastInput, false);
  const OptionValues values = options.Values();
  EXPECT_FALSE(values.rememberLastInput);
  EXPECT_FALSE(values.autoMMUSQL);
  EXPECT_TRUE(values.invertRowCol);
  EXPECT_TRUE(values.autoSaveMMF);
}

TEST(InfoFormTest, ProgressFormGeometryAndBar) {
  QWidget main;
  TfInfo info(&main);
  EXPECT_EQ(info.size(), QSize(460, 88));
  EXPECT_EQ(info.pbInfo->width(), 433);
  EXPECT_TRUE(info.windowFlags() & Qt::WindowStaysOnTopHint);
  info.Start("Loading, please wait...", 62);
  EXPECT_TRUE(info.isVisible());
  EXPECT_EQ(info.pbInfo->maximum(), 62);
  info.SetPosition(30);
  EXPECT_EQ(info.pbInfo->value(), 30);
  info.Finish();
  EXPECT_FALSE(info.isVisible());
}

TEST(SetNameDialogTest, HistoryIsSortedAndUnique) {
  TfSetName dialog;
  for (const char* text : {"keep", "Anvil", "keep", "citadel of Ushgarak", "Anvil"}) dialog.Remember(text);
  EXPECT_EQ(dialog.History(), QStringList({"Anvil", "citadel of Ushgarak", "keep"}));
  dialog.Prepare("forest", "[2] Woods");
  EXPECT_EQ(dialog.Text(), "forest");
  EXPECT_EQ(dialog.lDomain->text(), "[2] Woods");
}

TEST(ColorTest, BgrConversionRoundTrips) {
  EXPECT_EQ(ColorFromBgr(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(ColorFromBgr(0x804000), QColor(0, 64, 128));
  EXPECT_EQ(BgrFromColor(QColor(1, 2, 3)), 0x030201);
}

}  // namespace
}  // namespace mireforge
