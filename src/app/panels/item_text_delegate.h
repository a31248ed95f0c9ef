#pragma once
// Paints a list's items as the style does, but lays each text out once. The
// style measures, elides and draws an item's text with a fresh layout each
// time, shaping it four or five times; after an edit that changes every row
// in sight, that shaping is most of what the window spends.
#include <QStyledItemDelegate>

namespace mireforge {

class ItemTextDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace mireforge
