#include "app/tools/tool_icons.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace mireforge {

namespace {

// Draws the tool's sign into a square of side s (24 for the tool bar).
void DrawSign(QPainter& p, Tool tool, int s) {
  p.setRenderHint(QPainter::Antialiasing);
  // The palette's text colour, so the signs stay visible on dark themes too.
  const QColor ink = QGuiApplication::palette().color(QPalette::WindowText);
  const double u = s / 24.0;
  p.scale(u, u);
  QPen pen(ink, 1.6);
  p.setPen(pen);
  switch (tool) {
    case Tool::Pointer: {
      // An arrow, filled with the window's colour so that it reads on light and dark bars.
      p.setBrush(QGuiApplication::palette().color(QPalette::Window));
      p.drawPolygon(QPolygonF({QPointF(6, 2), QPointF(6, 19), QPointF(10, 15), QPointF(13, 22), QPointF(16, 21),
                               QPointF(13, 14), QPointF(18, 14)}));
      break;
    }
    case Tool::Brush: {
      p.setBrush(QColor(150, 95, 40));
      p.drawRoundedRect(QRectF(13, 2, 4, 12), 1.5, 1.5);
      p.setBrush(QColor(40, 120, 220));
      QPainterPath tip;
      tip.moveTo(12, 14);
      tip.lineTo(18, 14);
      tip.quadTo(18, 21, 10, 22);
      tip.quadTo(12, 18, 12, 14);
      p.drawPath(tip);
      break;
    }
    case Tool::RectSelect: {
      QPen dash(ink, 1.8, Qt::DashLine);
      p.setPen(dash);
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(3, 4, 18, 16));
      break;
    }
    case Tool::MagicWand:
      p.setPen(QPen(ink, 2.4, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(4, 20), QPointF(14, 10));
      p.setPen(QPen(QColor(230, 170, 0), 1.6));
      for (const QLineF& ray : {QLineF(17, 2, 17, 7), QLineF(17, 9, 17, 14), QLineF(12, 8, 15, 8), QLineF(19, 8, 22, 8)})
        p.drawLine(ray);
      break;
    case Tool::SameTerrain:
      p.setBrush(QColor(60, 150, 60));
      for (const QRectF& r : {QRectF(3, 3, 7, 7), QRectF(14, 3, 7, 7), QRectF(3, 14, 7, 7), QRectF(14, 14, 7, 7)})
        p.drawRect(r);
      break;
    case Tool::Bucket: {
      p.setBrush(QColor(220, 220, 220));
      QPainterPath bucket;
      bucket.moveTo(4, 9);
      bucket.lineTo(12, 3);
      bucket.lineTo(20, 11);
      bucket.lineTo(12, 19);
      bucket.closeSubpath();
      p.drawPath(bucket);
      p.setBrush(QColor(40, 120, 220));
      p.drawEllipse(QRectF(17, 14, 5, 8));
      break;
    }
    case Tool::Rectangle:
      p.setBrush(QColor(40, 120, 220));
      p.drawRect(QRectF(3, 5, 18, 14));
      break;
    case Tool::Ellipse:
      p.setBrush(QColor(40, 120, 220));
      p.drawEllipse(QRectF(2, 4, 20, 16));
      break;
    case Tool::Line:
      // Edged in ink: the blue alone is faint on a dark tool bar.
      for (const auto& [colour, width] : {std::pair{ink, 4.6}, std::pair{QColor(40, 120, 220), 3.0}}) {
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 20), QPointF(20, 4));
      }
      break;
  }
}

}  // namespace

QIcon ToolIcon(Tool tool) {
  QPixmap pixmap(24, 24);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  DrawSign(p, tool, 24);
  p.end();
  return QIcon(pixmap);
}

QCursor ToolCursor(Tool tool) {
  // A cross whose centre is the hot spot, the tool's sign beside it.
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  for (const auto& [color, width] : {std::pair{QColor(Qt::white), 3.0}, std::pair{QColor(Qt::black), 1.0}}) {
    p.setPen(QPen(color, width));
    p.drawLine(QPointF(7.5, 0), QPointF(7.5, 15));
    p.drawLine(QPointF(0, 7.5), QPointF(15, 7.5));
  }
  p.translate(14, 14);
  DrawSign(p, tool, 18);
  p.end();
  return QCursor(pixmap, 7, 7);
}

}  // namespace mireforge
