// Pixel masks of the characters the pictures carry (digits, "?", "!", "i"), drawn cell by cell
// so they stay sharp at 16 by 16 and look the same on every machine, whatever fonts it has.
#pragma once

#include <QColor>
#include <QPointF>

class QPainter;

namespace glyphs {

// Every glyph is 6 cells wide and 9 high; the origin is its top-left cell.
constexpr int kWidth = 6;
constexpr int kHeight = 9;

void Digit(QPainter& painter, int digit, QPointF origin, const QColor& colour);
void Question(QPainter& painter, QPointF origin, const QColor& colour);
void Exclamation(QPainter& painter, QPointF origin, const QColor& colour);
void Information(QPainter& painter, QPointF origin, const QColor& colour);

}  // namespace glyphs
