// Transport and power pictures for players, recorders and switchers: play, stop, pause, record,
// winding, track skips, eject, repeat and shuffle.
#include <QPainter>

#include "widgets/icons/PaintKit.h"
#include "widgets/icons/Pictures.h"

using namespace paintkit;

namespace {

const QColor kTransport{0x3c, 0x50, 0x66};

void Bars(QPainter& painter, double left, double width, double gap) {
  FillShaded(painter, RoundRect(QRectF(left, 2.5, width, 11.0), 0.8), kTransport);
  FillShaded(painter, RoundRect(QRectF(left + width + gap, 2.5, width, 11.0), 0.8), kTransport);
}

}  // namespace

namespace pictures {

void Power(QPainter& p) {
  QPainterPath ring;
  // Angles run counter-clockwise from three o'clock; the gap is at the top.
  ring.arcMoveTo(QRectF(2.5, 3.0, 11.0, 11.0), 120.0);
  ring.arcTo(QRectF(2.5, 3.0, 11.0, 11.0), 120.0, 300.0);
  Stroke(p, ring, kTransport, 2.0);
  Line(p, QPointF(8.0, 1.8), QPointF(8.0, 8.0), kTransport, 2.0);
}

void Play(QPainter& p) { FillShaded(p, Polygon({{4.0, 2.0}, {13.5, 8.0}, {4.0, 14.0}}), kGreen); }

void Pause(QPainter& p) { Bars(p, 3.5, 3.5, 2.0); }

void Stop(QPainter& p) { FillShaded(p, RoundRect(QRectF(3.0, 3.0, 10.0, 10.0), 1.0), kTransport); }

void Record(QPainter& p) { FillShaded(p, Ellipse(QRectF(2.5, 2.5, 11.0, 11.0)), kRed); }

void FastForward(QPainter& p) {
  FillShaded(p, Polygon({{1.0, 3.5}, {8.0, 8.0}, {1.0, 12.5}}), kTransport);
  FillShaded(p, Polygon({{8.0, 3.5}, {15.0, 8.0}, {8.0, 12.5}}), kTransport);
}

void Rewind(QPainter& p) {
  FillShaded(p, Polygon({{15.0, 3.5}, {8.0, 8.0}, {15.0, 12.5}}), kTransport);
  FillShaded(p, Polygon({{8.0, 3.5}, {1.0, 8.0}, {8.0, 12.5}}), kTransport);
}

void NextTrack(QPainter& p) {
  FillShaded(p, Polygon({{2.0, 3.0}, {10.0, 8.0}, {2.0, 13.0}}), kTransport);
  FillShaded(p, RoundRect(QRectF(11.0, 3.0, 2.5, 10.0), 0.5), kTransport);
}

void PreviousTrack(QPainter& p) {
  FillShaded(p, Polygon({{14.0, 3.0}, {6.0, 8.0}, {14.0, 13.0}}), kTransport);
  FillShaded(p, RoundRect(QRectF(2.5, 3.0, 2.5, 10.0), 0.5), kTransport);
}

void Eject(QPainter& p) {
  FillShaded(p, Polygon({{2.0, 9.0}, {8.0, 2.5}, {14.0, 9.0}}), kTransport);
  FillShaded(p, RoundRect(QRectF(2.0, 11.0, 12.0, 2.5), 0.5), kTransport);
}

void Repeat(QPainter& p) {
  QPainterPath upper(QPointF(2.5, 10.0));
  upper.lineTo(2.5, 7.0);
  upper.quadTo(2.5, 4.5, 5.0, 4.5);
  upper.lineTo(10.5, 4.5);
  Stroke(p, upper, kBlue, 1.8);
  Arrowhead(p, QPointF(14.5, 4.5), QPointF(10.5, 4.5), kBlue);
  QPainterPath lower(QPointF(13.5, 6.0));
  lower.lineTo(13.5, 9.0);
  lower.quadTo(13.5, 11.5, 11.0, 11.5);
  lower.lineTo(5.5, 11.5);
  Stroke(p, lower, kBlue, 1.8);
  Arrowhead(p, QPointF(1.5, 11.5), QPointF(5.5, 11.5), kBlue);
}

void Shuffle(QPainter& p) {
  QPainterPath first(QPointF(1.5, 4.5));
  first.cubicTo(7.0, 4.5, 6.0, 11.5, 11.0, 11.5);
  QPainterPath second(QPointF(1.5, 11.5));
  second.cubicTo(7.0, 11.5, 6.0, 4.5, 11.0, 4.5);
  Stroke(p, first, kBlue, 1.8);
  Stroke(p, second, kBlue, 1.8);
  Arrowhead(p, QPointF(15.0, 4.5), QPointF(11.0, 4.5), kBlue);
  Arrowhead(p, QPointF(15.0, 11.5), QPointF(11.0, 11.5), kBlue);
}

void PlayPause(QPainter& p) {
  FillShaded(p, Polygon({{1.0, 3.0}, {7.5, 8.0}, {1.0, 13.0}}), kGreen);
  FillShaded(p, RoundRect(QRectF(9.0, 3.0, 2.2, 10.0), 0.5), kTransport);
  FillShaded(p, RoundRect(QRectF(12.8, 3.0, 2.2, 10.0), 0.5), kTransport);
}

}  // namespace pictures
