#pragma once
// Paints a list's items as the style does, but lays each text out once. The
// style measures, elides and draws an item's text with a fresh layout each
// time, shaping it four or five times; after an edit that changes every row
// in sight, that shaping is most of what the window spends.
//
// A table's items are kept as drawn, by everything that decides their look: an
// undo, a redo or a repeated paste shows again what the rows in sight showed a
// moment ago, and a map's descriptions repeat its terrain names, so most items
// are copied rather than drawn again.
#include <QCache>
#include <QFont>
#include <QImage>
#include <QStyledItemDelegate>

namespace mireforge {

class ItemTextDelegate : public QStyledItemDelegate {
 public:
  explicit ItemTextDelegate(QObject* parent = nullptr);
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // What decides how an item looks, as a key to its picture.
  struct Look {
    QString text;
    QFont font;
    qint64 icon = 0, palette = 0;  // the decoration (of the kind) the model gives, the palette
    const void* style = nullptr;
    int width = 0, height = 0, state = 0, features = 0, alignment = 0, decoration = 0, elide = 0, direction = 0,
        position = 0, group = 0, format = 0, scale = 0, kind = 0;
    QRgb behind = 0;  // the view's background under the item
    bool operator==(const Look& other) const = default;
  };

 private:
  // The items the last paints drew, up to a few screens of them (cost in kilobytes).
  mutable QCache<Look, QImage> drawn_;
};

size_t qHash(const ItemTextDelegate::Look& look, size_t seed = 0);

}  // namespace mireforge
