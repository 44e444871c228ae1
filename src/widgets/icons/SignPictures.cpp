// Signs: question marks, information, warning, error, no entry, prohibited, check, cross, plus,
// minus and a stop sign. Characters are pixel glyphs so they stay sharp at 16 by 16.
#include <QPainter>

#include "widgets/icons/Glyphs.h"
#include "widgets/icons/PaintKit.h"
#include "widgets/icons/Pictures.h"

using namespace paintkit;

namespace {

const QRectF kDisc(0.5, 0.5, 15.0, 15.0);
// Centres a 6 by 9 glyph on the picture, on whole pixels.
const QPointF kGlyphOrigin(5.0, 4.0);

void Disc(QPainter& painter, const QColor& colour) {
  FillShaded(painter, Ellipse(kDisc), colour, colour.darker(190));
}

void Tick(QPainter& painter, const QColor& colour, double width) {
  Stroke(painter, Polyline({{3.0, 8.5}, {6.5, 12.0}, {13.0, 4.5}}), colour, width);
}

void Cross(QPainter& painter, const QColor& colour, double inset, double width) {
  Line(painter, QPointF(inset, inset), QPointF(16.0 - inset, 16.0 - inset), colour, width);
  Line(painter, QPointF(16.0 - inset, inset), QPointF(inset, 16.0 - inset), colour, width);
}

}  // namespace

namespace pictures {

void Question(QPainter& p) {
  Disc(p, kBlue);
  glyphs::Question(p, kGlyphOrigin, Qt::white);
}

void QuestionBubble(QPainter& p) {
  const QPainterPath bubble = RoundRect(QRectF(0.5, 0.5, 15.0, 12.0), 3.0)
                                  .united(Polygon({{3.5, 11.0}, {3.5, 15.5}, {8.0, 11.0}}));
  FillFlat(p, bubble, kPaper, kBlue.darker(150));
  glyphs::Question(p, QPointF(5.0, 2.0), kBlue);
}

void QuestionYellow(QPainter& p) {
  Disc(p, kYellow);
  glyphs::Question(p, kGlyphOrigin, kOutline);
}

void Information(QPainter& p) {
  Disc(p, kBlue);
  glyphs::Information(p, QPointF(5.0, 3.0), Qt::white);
}

void Warning(QPainter& p) {
  QPainterPath triangle = Polygon({{8.0, 0.8}, {15.5, 14.5}, {0.5, 14.5}});
  FillShaded(p, triangle, kYellow, QColor(0x80, 0x60, 0x00));
  glyphs::Exclamation(p, QPointF(5.0, 5.0), kOutline);
}

void Error(QPainter& p) {
  Disc(p, kRed);
  glyphs::Exclamation(p, kGlyphOrigin, Qt::white);
}

void NoEntry(QPainter& p) {
  Disc(p, kRed);
  FillFlat(p, RoundRect(QRectF(3.0, 6.5, 10.0, 3.0), 0.5), Qt::white, Qt::transparent);
}

void Prohibited(QPainter& p) {
  Stroke(p, Ellipse(QRectF(2.0, 2.0, 12.0, 12.0)), kRed, 2.4);
  Line(p, QPointF(4.0, 4.0), QPointF(12.0, 12.0), kRed, 2.4);
}

void Check(QPainter& p) { Tick(p, kGreen.darker(110), 2.8); }

void CheckCircle(QPainter& p) {
  Disc(p, kGreen);
  Tick(p, Qt::white, 2.0);
}

void CrossMark(QPainter& p) { Cross(p, kRed, 3.0, 2.8); }

void CrossCircle(QPainter& p) {
  Disc(p, kRed);
  Cross(p, Qt::white, 5.0, 2.0);
}

void Plus(QPainter& p) {
  FillShaded(p,
             Polygon({{6.0, 2.0},
                      {10.0, 2.0},
                      {10.0, 6.0},
                      {14.0, 6.0},
                      {14.0, 10.0},
                      {10.0, 10.0},
                      {10.0, 14.0},
                      {6.0, 14.0},
                      {6.0, 10.0},
                      {2.0, 10.0},
                      {2.0, 6.0},
                      {6.0, 6.0}}),
             kGreen);
}

void Minus(QPainter& p) { FillShaded(p, RoundRect(QRectF(2.0, 6.0, 12.0, 4.0), 0.5), kRed); }

void StopSign(QPainter& p) {
  const auto octagon = [](double in, double cut) {
    const double out = 16.0 - in;
    return Polygon({{in + cut, in},
                    {out - cut, in},
                    {out, in + cut},
                    {out, out - cut},
                    {out - cut, out},
                    {in + cut, out},
                    {in, out - cut},
                    {in, in + cut}});
  };
  FillShaded(p, octagon(0.5, 4.4), kRed, kRed.darker(190));
  Stroke(p, octagon(2.0, 3.8), Qt::white, 1.0);
  FillFlat(p, RoundRect(QRectF(4.0, 7.0, 8.0, 2.0), 0.3), Qt::white, Qt::transparent);
}

}  // namespace pictures
