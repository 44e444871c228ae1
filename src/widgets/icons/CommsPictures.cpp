// Communication pictures: telephones, a mobile phone, globe, network and envelope.
#include <QPainter>

#include "widgets/icons/PaintKit.h"
#include "widgets/icons/Pictures.h"

using namespace paintkit;

namespace {

const QColor kHandset{0x30, 0x34, 0x3a};

// A handset lying from upper left (ear) to lower right (mouth), as seen in a call button.
QPainterPath HandsetShape() {
  QPainterPath shape(QPointF(2.0, 1.5));
  shape.lineTo(5.0, 1.0);
  shape.lineTo(6.5, 5.0);
  shape.lineTo(4.8, 6.5);
  shape.cubicTo(5.5, 8.5, 7.5, 10.5, 9.5, 11.2);
  shape.lineTo(11.0, 9.5);
  shape.lineTo(15.0, 11.0);
  shape.lineTo(14.5, 14.0);
  shape.cubicTo(8.0, 16.0, 0.0, 8.0, 2.0, 1.5);
  shape.closeSubpath();
  return shape;
}

void Handset(QPainter& painter, const QColor& colour) {
  FillShaded(painter, HandsetShape(), colour);
}

}  // namespace

namespace pictures {

void Telephone(QPainter& p) { Handset(p, kHandset); }

void TelephoneDesk(QPainter& p) {
  FillShaded(p, Polygon({{3.5, 7.0}, {12.5, 7.0}, {15.0, 14.5}, {1.0, 14.5}}), kHandset);
  FillFlat(p, Ellipse(QRectF(5.5, 8.5, 5.0, 5.0)), kPaper, Qt::transparent);
  FillFlat(p, Ellipse(QRectF(7.2, 10.2, 1.6, 1.6)), kHandset, Qt::transparent);
  QPainterPath receiver(QPointF(0.5, 5.5));
  receiver.cubicTo(1.0, 1.0, 15.0, 1.0, 15.5, 5.5);
  receiver.lineTo(12.0, 6.0);
  receiver.lineTo(11.5, 4.5);
  receiver.cubicTo(9.0, 3.8, 7.0, 3.8, 4.5, 4.5);
  receiver.lineTo(4.0, 6.0);
  receiver.closeSubpath();
  FillShaded(p, receiver, kHandset);
}

void TelephoneRinging(QPainter& p) {
  p.save();
  p.translate(0.0, 3.0);
  p.scale(0.8, 0.8);
  Handset(p, kHandset);
  p.restore();
  for (const double radius : {3.5, 6.5}) {
    const QRectF circle(7.5 - radius, 8.5 - radius, 2.0 * radius, 2.0 * radius);
    QPainterPath wave;
    wave.arcMoveTo(circle, 10.0);
    wave.arcTo(circle, 10.0, 70.0);
    Stroke(p, wave, kBlue, 1.4);
  }
}

void TelephoneHangUp(QPainter& p) {
  p.save();
  p.translate(8.0, 8.0);
  p.rotate(135.0);
  p.scale(0.9, 0.9);
  p.translate(-8.0, -8.0);
  Handset(p, kRed);
  p.restore();
}

void MobilePhone(QPainter& p) {
  FillShaded(p, RoundRect(QRectF(3.5, 0.5, 9.0, 15.0), 1.8), kHandset);
  FillFlat(p, Rect(QRectF(4.8, 2.5, 6.4, 9.0)), QColor(0x7c, 0xc4, 0xf0), Qt::transparent);
  FillFlat(p, Ellipse(QRectF(7.0, 12.5, 2.0, 2.0)), kSteel, Qt::transparent);
}

void Globe(QPainter& p) {
  const QRectF ball(0.5, 0.5, 15.0, 15.0);
  FillShaded(p, Ellipse(ball), kBlue, kBlue.darker(200));
  const QColor land(0x4c, 0xb0, 0x48);
  FillFlat(p,
           Polygon({{3.0, 4.0},
                    {6.5, 2.5},
                    {7.5, 5.0},
                    {6.0, 8.0},
                    {7.0, 11.0},
                    {5.0, 13.5},
                    {3.5, 10.0},
                    {2.0, 7.0}}),
           land, Qt::transparent);
  FillFlat(p,
           Polygon({{9.5, 3.0},
                    {13.0, 4.0},
                    {14.5, 7.0},
                    {12.5, 9.0},
                    {13.0, 12.0},
                    {10.5, 13.0},
                    {10.0, 9.5},
                    {8.5, 7.0}}),
           land, Qt::transparent);
  const QColor grid(255, 255, 255, 150);
  Stroke(p, Ellipse(QRectF(4.5, 0.5, 7.0, 15.0)), grid, 0.8);
  Line(p, QPointF(8.0, 0.5), QPointF(8.0, 15.5), grid, 0.8);
  Line(p, QPointF(0.5, 8.0), QPointF(15.5, 8.0), grid, 0.8);
  Line(p, QPointF(2.0, 4.5), QPointF(14.0, 4.5), grid, 0.8);
  Line(p, QPointF(2.0, 11.5), QPointF(14.0, 11.5), grid, 0.8);
  Stroke(p, Ellipse(ball), kBlue.darker(200), 1.0);
}

void Network(QPainter& p) {
  const QColor cable(0x50, 0x50, 0x50);
  Line(p, QPointF(8.0, 4.0), QPointF(8.0, 9.0), cable, 1.2);
  Line(p, QPointF(3.5, 9.0), QPointF(12.5, 9.0), cable, 1.2);
  Line(p, QPointF(3.5, 9.0), QPointF(3.5, 11.0), cable, 1.2);
  Line(p, QPointF(12.5, 9.0), QPointF(12.5, 11.0), cable, 1.2);
  for (const QRectF box :
       {QRectF(5.0, 0.5, 6.0, 4.5), QRectF(0.5, 10.5, 6.0, 4.5), QRectF(9.5, 10.5, 6.0, 4.5)}) {
    FillFlat(p, Rect(box), QColor(0x7c, 0xc4, 0xf0), kOutline);
  }
}

void Envelope(QPainter& p) {
  FillFlat(p, Rect(QRectF(0.5, 3.5, 15.0, 10.0)), kPaper, QColor(0x6a, 0x6a, 0x6a));
  Stroke(p, Polyline({{0.5, 3.5}, {8.0, 9.5}, {15.5, 3.5}}), QColor(0x6a, 0x6a, 0x6a), 1.0);
  Stroke(p, Polyline({{0.5, 13.5}, {6.0, 8.0}}), QColor(0xa0, 0xa0, 0xa0), 1.0);
  Stroke(p, Polyline({{15.5, 13.5}, {10.0, 8.0}}), QColor(0xa0, 0xa0, 0xa0), 1.0);
}

}  // namespace pictures
