// Arrows: single and double in all directions, turns, refresh, swaps, move and return.
// Straight arrows are one upward shape turned about the centre, so all directions match.
#include <QPainter>
#include <cmath>

#include "widgets/icons/PaintKit.h"
#include "widgets/icons/Pictures.h"

using namespace paintkit;

namespace {

// Paints the upward drawing turned clockwise by the given degrees; diagonals shrink to stay inside.
template <typename Drawing>
void Turned(QPainter& painter, double degrees, Drawing drawing) {
  painter.save();
  painter.translate(8.0, 8.0);
  painter.rotate(degrees);
  if (static_cast<int>(degrees) % 90 != 0) painter.scale(0.86, 0.86);
  painter.translate(-8.0, -8.0);
  drawing(painter);
  painter.restore();
}

void UpArrow(QPainter& painter) {
  FillShaded(painter,
             Polygon({{8.0, 1.0},
                      {14.5, 7.5},
                      {10.5, 7.5},
                      {10.5, 14.5},
                      {5.5, 14.5},
                      {5.5, 7.5},
                      {1.5, 7.5}}),
             kBlue);
}

void DoubleUp(QPainter& painter) {
  for (const double top : {1.5, 7.5}) {
    FillShaded(painter,
               Polygon({{8.0, top},
                        {14.0, top + 6.0},
                        {14.0, top + 8.0},
                        {8.0, top + 3.5},
                        {2.0, top + 8.0},
                        {2.0, top + 6.0}}),
               kBlue);
  }
}

void Arrow(QPainter& painter, double degrees) { Turned(painter, degrees, UpArrow); }
void DoubleArrow(QPainter& painter, double degrees) { Turned(painter, degrees, DoubleUp); }

// A round arrow from startAngle sweeping span degrees (counter-clockwise when positive).
void RoundArrow(QPainter& painter, const QRectF& circle, double startAngle, double span,
                const QColor& colour) {
  QPainterPath arc;
  arc.arcMoveTo(circle, startAngle);
  arc.arcTo(circle, startAngle, span);
  Stroke(painter, arc, colour, 2.0);
  QPainterPath probe;
  probe.arcMoveTo(circle, startAngle + span);
  const QPointF end = probe.currentPosition();
  probe.arcMoveTo(circle, startAngle + span - (span > 0 ? 20.0 : -20.0));
  const QPointF before = probe.currentPosition();
  const QPointF direction = (end - before) / std::hypot((end - before).x(), (end - before).y());
  Arrowhead(painter, end + direction * 3.0, end - direction * 1.0, colour, 0.75);
}

}  // namespace

namespace pictures {

void ArrowUp(QPainter& p) { Arrow(p, 0.0); }
void ArrowDown(QPainter& p) { Arrow(p, 180.0); }
void ArrowLeft(QPainter& p) { Arrow(p, 270.0); }
void ArrowRight(QPainter& p) { Arrow(p, 90.0); }
void ArrowUpLeft(QPainter& p) { Arrow(p, 315.0); }
void ArrowUpRight(QPainter& p) { Arrow(p, 45.0); }
void ArrowDownLeft(QPainter& p) { Arrow(p, 225.0); }
void ArrowDownRight(QPainter& p) { Arrow(p, 135.0); }
void DoubleArrowUp(QPainter& p) { DoubleArrow(p, 0.0); }
void DoubleArrowDown(QPainter& p) { DoubleArrow(p, 180.0); }
void DoubleArrowLeft(QPainter& p) { DoubleArrow(p, 270.0); }
void DoubleArrowRight(QPainter& p) { DoubleArrow(p, 90.0); }

void TurnClockwise(QPainter& p) {
  RoundArrow(p, QRectF(2.5, 2.5, 11.0, 11.0), 300.0, -250.0, kBlue);
}

void TurnCounterClockwise(QPainter& p) {
  RoundArrow(p, QRectF(2.5, 2.5, 11.0, 11.0), 240.0, 250.0, kBlue);
}

void Refresh(QPainter& p) {
  const QRectF circle(2.5, 2.5, 11.0, 11.0);
  RoundArrow(p, circle, 160.0, -120.0, kGreen);
  RoundArrow(p, circle, 340.0, -120.0, kGreen);
}

void SwapUpDown(QPainter& p) {
  Line(p, QPointF(5.0, 14.5), QPointF(5.0, 5.0), kBlue, 2.0);
  Arrowhead(p, QPointF(5.0, 1.0), QPointF(5.0, 5.5), kBlue);
  Line(p, QPointF(11.0, 1.5), QPointF(11.0, 11.0), kBlue, 2.0);
  Arrowhead(p, QPointF(11.0, 15.0), QPointF(11.0, 10.5), kBlue);
}

void SwapLeftRight(QPainter& p) {
  Line(p, QPointF(1.5, 5.0), QPointF(11.0, 5.0), kBlue, 2.0);
  Arrowhead(p, QPointF(15.0, 5.0), QPointF(10.5, 5.0), kBlue);
  Line(p, QPointF(14.5, 11.0), QPointF(5.0, 11.0), kBlue, 2.0);
  Arrowhead(p, QPointF(1.0, 11.0), QPointF(5.5, 11.0), kBlue);
}

void Move(QPainter& p) {
  Line(p, QPointF(8.0, 3.5), QPointF(8.0, 12.5), kBlue, 1.8);
  Line(p, QPointF(3.5, 8.0), QPointF(12.5, 8.0), kBlue, 1.8);
  Arrowhead(p, QPointF(8.0, 0.5), QPointF(8.0, 4.0), kBlue, 0.85);
  Arrowhead(p, QPointF(8.0, 15.5), QPointF(8.0, 12.0), kBlue, 0.85);
  Arrowhead(p, QPointF(0.5, 8.0), QPointF(4.0, 8.0), kBlue, 0.85);
  Arrowhead(p, QPointF(15.5, 8.0), QPointF(12.0, 8.0), kBlue, 0.85);
}

void Return(QPainter& p) {
  QPainterPath bend(QPointF(13.0, 2.0));
  bend.lineTo(13.0, 10.0);
  bend.lineTo(6.0, 10.0);
  Stroke(p, bend, kBlue, 2.2);
  Arrowhead(p, QPointF(1.0, 10.0), QPointF(6.0, 10.0), kBlue, 0.8);
}

}  // namespace pictures
