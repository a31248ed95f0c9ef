#include "app/panels/item_text_delegate.h"

#include <QApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <QTableView>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace mireforge {

namespace {

// One line of text laid out in width, as an item view shows it.
QTextLine LayOut(QTextLayout& layout, const QTextOption& option, int width) {
  layout.setTextOption(option);
  // Kept after the layout, or drawing would shape the text again.
  layout.setCacheEnabled(true);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  if (line.isValid()) {
    line.setLineWidth(width);
    line.setPosition(QPointF(0, 0));
  }
  layout.endLayout();
  return line;
}

bool PlainAscii(const QString& text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7f; });
}

// Whether font's own face, not a fallback, draws every printable ASCII character.
bool HasAscii(const QFont& font) {
  static QHash<QFont, bool> known;
  if (const auto found = known.constFind(font); found != known.cend()) return *found;
  const QRawFont raw = QRawFont::fromFont(font);
  bool all = raw.isValid();
  for (char16_t c = 0x20; all && c < 0x7f; ++c) all = raw.supportsCharacter(QChar(c));
  if (known.size() > 64) known.clear();
  return known[font] = all;
}

// Draws an item whose options are filled in from the model.
void DrawItem(QPainter* painter, QStyleOptionViewItem item, const QStyle* style) {
  const QWidget* widget = item.widget;
  const QString text = item.text;
  // Texts that wrap or break into lines keep the style's own drawing.
  if (text.isEmpty() || (item.features & QStyleOptionViewItem::WrapText) || text.contains(QChar::LineSeparator) ||
      text.contains(QLatin1Char('\n'))) {
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    return;
  }
  // The style paints the background, the selection and the icon...
  item.text.clear();
  item.features &= ~QStyleOptionViewItem::HasDisplay;
  style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
  // ...and the text goes where the style puts it, in the style's colours. Where the
  // selection covers the icon too, the text has the whole room beside the icon, which
  // the style finds without measuring the text.
  const QStyleOptionViewItem bare = item;
  item.features |= QStyleOptionViewItem::HasDisplay;
  item.text = text;
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, item.showDecorationSelected ? &bare : &item, widget)
                         .adjusted(margin, 0, -margin, 0);
  QPalette::ColorGroup group = (item.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
  if (group == QPalette::Normal && !(item.state & QStyle::State_Active)) group = QPalette::Inactive;
  const QColor colour =
      item.palette.color(group, (item.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text);

  QTextOption textOption;
  textOption.setWrapMode(QTextOption::ManualWrap);
  textOption.setTextDirection(item.direction);
  textOption.setAlignment(QStyle::visualAlignment(item.direction, item.displayAlignment));
  const QFontMetrics metrics(item.font);
  // A text far wider than its room is cut whatever it measures: laying it out whole
  // only to learn so would shape it once more (the cut keeps a text that fits whole).
  // Only where the cut text lines up as the whole would: plain ASCII without trailing
  // spaces, in a font that has all of it, so no other font's height enters the line.
  const bool overflows = static_cast<qint64>(text.size()) * metrics.averageCharWidth() > qint64{area.width()} * 3 / 2 &&
                         PlainAscii(text) && text.back() != QLatin1Char(' ') && HasAscii(item.font);
  QTextLayout layout(overflows ? metrics.elidedText(text, item.textElideMode, area.width()) : text, item.font);
  QTextLine line = LayOut(layout, textOption, area.width());
  if (!line.isValid()) return;
  const QRect box = QStyle::alignedRect(Qt::LayoutDirectionAuto, item.displayAlignment,
                                        layout.boundingRect().size().toSize(), area);
  QTextLayout elided;
  QTextLayout* shown = &layout;
  if (!overflows && line.naturalTextWidth() > area.width()) {
    elided.setText(metrics.elidedText(text, item.textElideMode, area.width()));
    elided.setFont(item.font);
    LayOut(elided, textOption, area.width());
    shown = &elided;
  }
  painter->save();
  painter->setClipRect(item.rect, Qt::IntersectClip);
  painter->setPen(colour);
  shown->draw(painter, QPointF(area.x(), box.top()));
  painter->restore();
}

// The frame the style draws last over the item with the focus, as the common style does.
void DrawFocusFrame(QPainter* painter, const QStyleOptionViewItem& item, const QStyle* style) {
  QStyleOptionFocusRect frame;
  frame.QStyleOption::operator=(item);
  frame.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &item, item.widget);
  frame.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
  const QPalette::ColorGroup group = (item.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
  frame.backgroundColor =
      item.palette.color(group, (item.state & QStyle::State_Selected) ? QPalette::Highlight : QPalette::Window);
  style->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, painter, item.widget);
}

// The item as the style draws it, its text laid out once, and the focus frame over it:
// the style alone would shape the text of the item with the focus four or five times.
void DrawFramed(QPainter* painter, const QStyleOptionViewItem& item, const QStyle* style) {
  QStyleOptionViewItem plain = item;
  plain.state &= ~QStyle::State_HasFocus;
  DrawItem(painter, plain, style);
  if (item.state & QStyle::State_HasFocus) DrawFocusFrame(painter, item, style);
}

constexpr int DrawnKilobytes = 8 << 10;

// Who the model's decoration is: the option holds a fresh icon made of it on every paint.
// -1 for a kind of decoration that has no lasting name.
qint64 DecorationKey(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::UnknownType: return 0;
    case QMetaType::QPixmap: return qvariant_cast<QPixmap>(value).cacheKey();
    case QMetaType::QIcon: return qvariant_cast<QIcon>(value).cacheKey();
    case QMetaType::QImage: return qvariant_cast<QImage>(value).cacheKey();
    case QMetaType::QColor: return static_cast<qint64>(qvariant_cast<QColor>(value).rgba64());
    default: return -1;
  }
}

}  // namespace

ItemTextDelegate::ItemTextDelegate(QObject* parent) : QStyledItemDelegate(parent), drawn_(DrawnKilobytes) {}

size_t qHash(const ItemTextDelegate::Look& look, size_t seed) {
  return qHashMulti(seed, look.text, look.font, look.icon, look.palette, look.style, look.width, look.height,
                    look.state, look.features, look.alignment, look.decoration, look.elide, look.direction,
                    look.position, look.group, look.format, look.scale, look.kind, look.behind);
}

void ItemTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  const QWidget* widget = item.widget;
  const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  // A table paints each item over its viewport's background and the row's panel, in the
  // option it gives the delegate: a picture of the three is the item, wherever it lies.
  const auto* table = qobject_cast<const QTableView*>(widget);
  QPaintDevice* device = painter->paintEngine() != nullptr ? painter->paintEngine()->paintDevice() : nullptr;
  const qreal scale = painter->device()->devicePixelRatio();
  const QBrush behind =
      table != nullptr ? table->viewport()->palette().brush(table->viewport()->backgroundRole()) : QBrush();
  const QVariant decoration = table != nullptr ? index.data(Qt::DecorationRole) : QVariant();
  const qint64 decorationKey = DecorationKey(decoration);
  // What is drawn otherwise than plainly, or where the scale gives no whole pixels, is
  // drawn in place.
  if (table == nullptr || device == nullptr || device->devType() != QInternal::Image ||
      !table->viewport()->autoFillBackground() || behind.style() != Qt::SolidPattern || !behind.isOpaque() || decorationKey < 0 ||
      item.backgroundBrush.style() != Qt::NoBrush || (item.features & QStyleOptionViewItem::HasCheckIndicator) ||
      painter->transform().type() != QTransform::TxNone || painter->opacity() != 1.0 ||
      painter->compositionMode() != QPainter::CompositionMode_SourceOver || scale != std::floor(scale)) {
    DrawFramed(painter, item, style);
    return;
  }
  Look look;
  look.text = item.text;
  look.font = item.font;
  look.icon = decorationKey;
  look.kind = decoration.typeId();
  look.palette = item.palette.cacheKey();
  look.style = style;
  look.width = item.rect.width();
  look.height = item.rect.height();
  look.state = static_cast<int>(item.state);
  look.features = static_cast<int>(item.features);
  look.alignment = static_cast<int>(item.displayAlignment) | static_cast<int>(item.decorationAlignment) << 16;
  look.decoration = item.decorationSize.width() | item.decorationSize.height() << 12 | item.decorationPosition << 24;
  look.elide = item.textElideMode;
  look.direction = item.direction;
  look.position = item.viewItemPosition;
  look.group = item.palette.currentColorGroup();
  look.format = static_cast<const QImage*>(device)->format();
  look.scale = static_cast<int>(scale);
  look.behind = behind.color().rgba();
  const QImage* picture = drawn_.object(look);
  if (picture == nullptr) {
    auto* drawn = new QImage(item.rect.size() * look.scale, static_cast<QImage::Format>(look.format));
    drawn->setDevicePixelRatio(scale);
    QPainter into(drawn);
    into.translate(-item.rect.topLeft());
    into.fillRect(item.rect, behind);
    style->drawPrimitive(QStyle::PE_PanelItemViewRow, &option, &into, widget);
    DrawFramed(&into, item, style);
    into.end();
    picture = drawn;
    if (!drawn_.insert(look, drawn, std::max<qsizetype>(1, drawn->sizeInBytes() >> 10))) picture = nullptr;
    if (picture == nullptr) return DrawFramed(painter, item, style);
  }
  painter->drawImage(item.rect.topLeft(), *picture);
}

}  // namespace mireforge
