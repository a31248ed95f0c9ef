#include "app/dialogs/legend_dialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

#include "app/grid/tile_images.h"
#include "formats/preview_image.h"

namespace mireforge {

LegendBox::LegendBox(std::uint32_t color, QWidget* parent) : QFrame(parent), color_(color) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, ColorFromBgr(static_cast<std::int32_t>(color)));
  setPalette(pal);
  setToolTip(QString::fromStdString(LegendColorText(color)));
}

void LegendBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) emit RightClicked(this, event->globalPosition().toPoint());
}

TfLegend::TfLegend(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Colour legend for preview images");
  setFixedSize(306, 319);
  // The layout is pixel-fixed; a compact font keeps every label inside it.
  QFont compact = font();
  compact.setPointSizeF(std::min<qreal>(compact.pointSizeF(), 8.0));
  setFont(compact);
  struct Entry {
    const char* label;
    int code;
  };
  static const Entry Left[8] = {{"Plains", Plains},          {"Forest", Forest},   {"Downs", Downs},
                                {"Mountains", Mountains},    {"Frozen wastes", FrozenWastes},
                                {"Citadel", Citadel},        {"Keep", Keep},       {"Lake", Lake}};
  static const Entry Right[8] = {{"Snowhall", Snowhall}, {"Cavern", Cavern}, {"Tower", Tower},
                                 {"Village", Village},   {"Lith", Lith},     {"Henge", Henge},
                                 {"Ruin", Ruin},         {"(None)", NoTerrain}};
  popup = new QMenu(this);
  popup->addAction("&Copy this color value to clipboard", this, &TfLegend::CopyColor);
  int index = 0;
  for (int column = 0; column < 2; ++column) {
    const Entry* entries = column == 0 ? Left : Right;
    for (int row = 0; row < 8; ++row) {
      auto* box = new LegendBox(PreviewPalette[entries[row].code], this);
      box->setObjectName(QString("box%1").arg(entries[row].label));
      box->setGeometry(column == 0 ? 8 : 184, 8 + row * 32, 64, 25);
      auto* label = new QLabel(entries[row].label, this);
      label->setGeometry(column == 0 ? 80 : 256, 8 + row * 32, column == 0 ? 100 : 50, 25);
      connect(box, &LegendBox::RightClicked, this, [this](LegendBox* clicked, const QPoint& pos) {
        clickedBox = clicked;
        popup->popup(pos);
      });
      boxes[index++] = box;
    }
  }
  auto* note = new QLabel("Right-click on a color box to copy it's color value to clipboard.", this);
  note->setWordWrap(true);
  note->setGeometry(8, 260, 290, 26);
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  ok->setGeometry(116, 288, 75, 25);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TfLegend::CopyColor() {
  if (!clickedBox) return;
  QGuiApplication::clipboard()->setText(QString::fromStdString(LegendColorText(clickedBox->Color())));
}

}  // namespace mireforge
