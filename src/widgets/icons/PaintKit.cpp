// Shared painting helpers for the pictures; stateless, called from the image list's construction.
#include "widgets/icons/PaintKit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPen>

namespace paintkit {

void FillShaded(QPainter& painter, const QPainterPath& shape, const QColor& colour,
                const QColor& outline) {
  const QRectF box = shape.boundingRect();
  QLinearGradient gradient(box.topLeft(), box.bottomLeft());
  gradient.setColorAt(0.0, colour.lighter(135));
  gradient.setColorAt(1.0, colour.darker(115));
  painter.setBrush(gradient);
  painter.setPen(QPen(outline, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(shape);
}

void FillFlat(QPainter& painter, const QPainterPath& shape, const QColor& colour,
              const QColor& outline) {
  painter.setBrush(colour);
  painter.setPen(outline.alpha() == 0
                     ? QPen(Qt::NoPen)
                     : QPen(outline, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(shape);
}

void Stroke(QPainter& painter, const QPainterPath& path, const QColor& colour, double width) {
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(path);
}

void Line(QPainter& painter, QPointF from, QPointF to, const QColor& colour, double width) {
  QPainterPath path(from);
  path.lineTo(to);
  Stroke(painter, path, colour, width);
}

void Arrowhead(QPainter& painter, QPointF tip, QPointF back, const QColor& colour, double spread) {
  const QPointF along = tip - back;
  const QPointF across(-along.y() * spread, along.x() * spread);
  FillFlat(painter, Polygon({tip, back + across, back - across}), colour, Qt::transparent);
}

QPainterPath Polyline(std::initializer_list<QPointF> points) {
  QPainterPath path;
  bool first = true;
  for (const QPointF& point : points) {
    if (first) {
      path.moveTo(point);
      first = false;
    } else {
      path.lineTo(point);
    }
  }
  return path;
}

QPainterPath Polygon(std::initializer_list<QPointF> points) {
  QPainterPath path = Polyline(points);
  path.closeSubpath();
  return path;
}

QPainterPath Rect(const QRectF& rect) {
  QPainterPath path;
  path.addRect(rect);
  return path;
}

QPainterPath RoundRect(const QRectF& rect, double radius) {
  QPainterPath path;
  path.addRoundedRect(rect, radius, radius);
  return path;
}

QPainterPath Ellipse(const QRectF& rect) {
  QPainterPath path;
  path.addEllipse(rect);
  return path;
}

void PixelGlyph(QPainter& painter, std::span<const char* const> rows, QPointF origin,
                const QColor& colour) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  double y = origin.y();
  for (const char* row : rows) {
    for (int x = 0; row[x] != '\0'; ++x) {
      if (row[x] == '#') painter.drawRect(QRectF(origin.x() + x, y, 1.0, 1.0));
    }
    y += 1.0;
  }
}

}  // namespace paintkit
