#include "app/panels/item_text_delegate.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>

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

}  // namespace

void ItemTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  const QWidget* widget = item.widget;
  const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  const QString text = item.text;
  // Texts that wrap or break into lines keep the style's own drawing, and so does the
  // one item with the focus, whose frame the style draws over its text.
  if (text.isEmpty() || (item.features & QStyleOptionViewItem::WrapText) || (item.state & QStyle::State_HasFocus) ||
      text.contains(QChar::LineSeparator) || text.contains(QLatin1Char('\n'))) {
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
  QTextLayout layout(text, item.font);
  QTextLine line = LayOut(layout, textOption, area.width());
  if (!line.isValid()) return;
  const QRect box = QStyle::alignedRect(Qt::LayoutDirectionAuto, item.displayAlignment,
                                        layout.boundingRect().size().toSize(), area);
  QTextLayout elided;
  QTextLayout* shown = &layout;
  if (line.naturalTextWidth() > area.width()) {
    elided.setText(QFontMetrics(item.font).elidedText(text, item.textElideMode, area.width()));
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

}  // namespace mireforge
