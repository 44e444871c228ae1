// Shared brushes and shapes for the pictures, so every family keeps the same outline, shading and
// proportions. Everything here paints in the 16 by 16 unit square; no state is kept between calls.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <initializer_list>
#include <span>

class QPainter;

namespace paintkit {

inline const QColor kOutline{0x2b, 0x2b, 0x2b};
inline const QColor kPaper{0xfc, 0xfc, 0xf8};
inline const QColor kSteel{0x8a, 0x94, 0x9e};
inline const QColor kBlue{0x2a, 0x6f, 0xd0};
inline const QColor kRed{0xd8, 0x2a, 0x22};
inline const QColor kGreen{0x2e, 0xa0, 0x3a};
inline const QColor kYellow{0xf2, 0xc8, 0x1e};
inline const QColor kOrange{0xf0, 0x8a, 0x1c};
inline const QColor kFolder{0xf0, 0xbe, 0x4c};

// Fills the shape with a top-light vertical gradient of the colour and strokes it with the outline.
void FillShaded(QPainter& painter, const QPainterPath& shape, const QColor& colour,
                const QColor& outline = kOutline);
void FillFlat(QPainter& painter, const QPainterPath& shape, const QColor& colour,
              const QColor& outline = kOutline);
void Stroke(QPainter& painter, const QPainterPath& path, const QColor& colour, double width);
void Line(QPainter& painter, QPointF from, QPointF to, const QColor& colour, double width);

// A filled triangular head whose tip points away from back; its half-width is spread times its
// length.
void Arrowhead(QPainter& painter, QPointF tip, QPointF back, const QColor& colour,
               double spread = 0.7);

QPainterPath Polygon(std::initializer_list<QPointF> points);
QPainterPath Polyline(std::initializer_list<QPointF> points);
QPainterPath Rect(const QRectF& rect);
QPainterPath RoundRect(const QRectF& rect, double radius);
QPainterPath Ellipse(const QRectF& rect);

// Draws a glyph from a pixel mask ("#" lit, anything else clear) with its top-left cell at origin.
void PixelGlyph(QPainter& painter, std::span<const char* const> rows, QPointF origin,
                const QColor& colour);

}  // namespace paintkit
