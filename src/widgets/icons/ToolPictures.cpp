// Everyday tool and marker pictures: gear, wrench, locks, key, home, star, flag, bell, user,
// pencil, waste bin and magnifiers.
#include <QPainter>
#include <cmath>
#include <numbers>

#include "widgets/icons/PaintKit.h"
#include "widgets/icons/Pictures.h"

using namespace paintkit;

namespace {

const QColor kBrass{0xe0, 0xb0, 0x30};

void Padlock(QPainter& painter, bool open) {
  QPainterPath shackle(QPointF(4.5, 8.0));
  shackle.lineTo(4.5, 5.0);
  shackle.arcTo(QRectF(4.5, 1.5, 7.0, 7.0), 180.0, -180.0);
  shackle.lineTo(11.5, open ? 4.5 : 8.0);
  painter.save();
  if (open) painter.translate(-3.5, -1.0);
  Stroke(painter, shackle, kOutline, 2.6);
  Stroke(painter, shackle, kSteel.lighter(130), 1.2);
  painter.restore();
  FillShaded(painter, RoundRect(QRectF(2.5, 7.5, 11.0, 8.0), 1.2), kBrass,
             QColor(0x7a, 0x5a, 0x10));
  FillFlat(painter, Ellipse(QRectF(7.0, 9.5, 2.0, 2.0)), kOutline, Qt::transparent);
  Line(painter, QPointF(8.0, 11.0), QPointF(8.0, 13.0), kOutline, 1.0);
}

void Magnifier(QPainter& painter) {
  Line(painter, QPointF(10.0, 10.0), QPointF(14.5, 14.5), QColor(0x5a, 0x3a, 0x20), 3.0);
  FillFlat(painter, Ellipse(QRectF(1.0, 1.0, 10.5, 10.5)), QColor(0xd8, 0xec, 0xfa, 220), kOutline);
  Stroke(painter, Ellipse(QRectF(1.0, 1.0, 10.5, 10.5)), kOutline, 1.6);
}

}  // namespace

namespace pictures {

void Gear(QPainter& p) {
  QPainterPath wheel;
  const int teeth = 8;
  for (int step = 0; step < teeth * 4; ++step) {
    const double angle =
        step * 2.0 * std::numbers::pi / (teeth * 4) - std::numbers::pi / (teeth * 4);
    const double radius = (step % 4 == 1 || step % 4 == 2) ? 7.4 : 5.4;
    const QPointF point(8.0 + radius * std::cos(angle), 8.0 + radius * std::sin(angle));
    if (step == 0) {
      wheel.moveTo(point);
    } else {
      wheel.lineTo(point);
    }
  }
  wheel.closeSubpath();
  wheel.addEllipse(QRectF(5.5, 5.5, 5.0, 5.0));
  FillShaded(p, wheel, kSteel, QColor(0x40, 0x48, 0x50));
}

void Wrench(QPainter& p) {
  Line(p, QPointF(3.0, 13.0), QPointF(9.0, 7.0), QColor(0x40, 0x48, 0x50), 3.6);
  Line(p, QPointF(3.0, 13.0), QPointF(9.0, 7.0), kSteel.lighter(115), 1.8);
  QPainterPath head = Ellipse(QRectF(7.0, 1.0, 8.0, 8.0));
  head = head.subtracted(Polygon({{11.0, 5.0}, {12.5, -1.0}, {17.0, 3.5}}));
  FillShaded(p, head, kSteel, QColor(0x40, 0x48, 0x50));
}

void Lock(QPainter& p) { Padlock(p, false); }
void Unlock(QPainter& p) { Padlock(p, true); }

void Key(QPainter& p) {
  Line(p, QPointF(6.0, 10.0), QPointF(14.5, 10.0), QColor(0x7a, 0x5a, 0x10), 2.6);
  Line(p, QPointF(6.0, 10.0), QPointF(14.5, 10.0), kBrass, 1.2);
  FillShaded(p, RoundRect(QRectF(11.0, 10.0, 1.8, 3.5), 0.3), kBrass, QColor(0x7a, 0x5a, 0x10));
  FillShaded(p, RoundRect(QRectF(13.5, 10.0, 1.8, 2.5), 0.3), kBrass, QColor(0x7a, 0x5a, 0x10));
  QPainterPath bow = Ellipse(QRectF(0.5, 5.0, 8.0, 8.0));
  bow = bow.subtracted(Ellipse(QRectF(2.5, 7.0, 3.0, 3.0)));
  FillShaded(p, bow, kBrass, QColor(0x7a, 0x5a, 0x10));
}

void Home(QPainter& p) {
  FillShaded(p, Rect(QRectF(3.0, 7.5, 10.0, 8.0)), kPaper.darker(105), QColor(0x6a, 0x6a, 0x6a));
  FillShaded(p, Rect(QRectF(6.5, 10.5, 3.0, 5.0)), QColor(0x9a, 0x6a, 0x3a));
  FillShaded(p, Polygon({{8.0, 0.8}, {15.5, 8.5}, {0.5, 8.5}}), kRed, kRed.darker(180));
}

void Star(QPainter& p) {
  QPainterPath star;
  for (int point = 0; point < 10; ++point) {
    const double angle = -std::numbers::pi / 2.0 + point * std::numbers::pi / 5.0;
    const double radius = point % 2 == 0 ? 7.6 : 3.2;
    const QPointF corner(8.0 + radius * std::cos(angle), 8.6 + radius * std::sin(angle));
    if (point == 0) {
      star.moveTo(corner);
    } else {
      star.lineTo(corner);
    }
  }
  star.closeSubpath();
  FillShaded(p, star, kYellow, QColor(0x9a, 0x70, 0x00));
}

void Flag(QPainter& p) {
  Line(p, QPointF(2.5, 1.0), QPointF(2.5, 15.5), kOutline, 1.4);
  QPainterPath cloth(QPointF(3.2, 1.5));
  cloth.cubicTo(7.0, 0.0, 9.0, 3.5, 14.5, 2.0);
  cloth.lineTo(14.5, 9.0);
  cloth.cubicTo(9.0, 10.5, 7.0, 7.0, 3.2, 8.5);
  cloth.closeSubpath();
  FillShaded(p, cloth, kRed, kRed.darker(180));
}

void Bell(QPainter& p) {
  QPainterPath bell(QPointF(2.0, 12.5));
  bell.cubicTo(4.0, 10.0, 3.0, 3.0, 8.0, 2.5);
  bell.cubicTo(13.0, 3.0, 12.0, 10.0, 14.0, 12.5);
  bell.closeSubpath();
  FillFlat(p, Ellipse(QRectF(6.5, 12.0, 3.0, 3.0)), kBrass.darker(130), kOutline);
  FillShaded(p, bell, kBrass, QColor(0x7a, 0x5a, 0x10));
  FillFlat(p, Ellipse(QRectF(7.0, 0.8, 2.0, 2.0)), kBrass, QColor(0x7a, 0x5a, 0x10));
}

void User(QPainter& p) {
  QPainterPath body(QPointF(1.5, 15.5));
  body.cubicTo(1.5, 9.5, 14.5, 9.5, 14.5, 15.5);
  body.closeSubpath();
  FillShaded(p, body, kBlue, kBlue.darker(200));
  FillShaded(p, Ellipse(QRectF(4.5, 1.0, 7.0, 8.0)), QColor(0xf0, 0xc8, 0xa0),
             QColor(0x8a, 0x5a, 0x30));
}

void Pencil(QPainter& p) {
  p.save();
  p.translate(8.0, 8.0);
  p.rotate(45.0);
  p.translate(-8.0, -8.0);
  FillShaded(p, Rect(QRectF(5.8, 0.5, 4.4, 10.5)), kYellow, QColor(0x8a, 0x60, 0x00));
  FillFlat(p, Rect(QRectF(5.8, -1.5, 4.4, 2.0)), QColor(0xe8, 0x90, 0xa0),
           QColor(0x8a, 0x50, 0x50));
  FillFlat(p, Polygon({{5.8, 11.0}, {10.2, 11.0}, {8.0, 16.0}}), QColor(0xf0, 0xd8, 0xb0),
           QColor(0x8a, 0x60, 0x00));
  FillFlat(p, Polygon({{7.2, 14.2}, {8.8, 14.2}, {8.0, 16.0}}), kOutline, Qt::transparent);
  p.restore();
}

void WasteBin(QPainter& p) {
  FillShaded(p, Polygon({{3.0, 4.5}, {13.0, 4.5}, {12.0, 15.5}, {4.0, 15.5}}), kSteel,
             QColor(0x40, 0x48, 0x50));
  for (const double x : {6.0, 8.0, 10.0})
    Line(p, QPointF(x, 6.5), QPointF(x, 13.5), QColor(0x50, 0x58, 0x60), 0.9);
  FillShaded(p, RoundRect(QRectF(1.5, 2.5, 13.0, 2.0), 0.5), kSteel, QColor(0x40, 0x48, 0x50));
  FillFlat(p, RoundRect(QRectF(6.0, 0.5, 4.0, 2.0), 0.5), Qt::transparent,
           QColor(0x40, 0x48, 0x50));
}

void Search(QPainter& p) { Magnifier(p); }

void ZoomIn(QPainter& p) {
  Magnifier(p);
  Line(p, QPointF(6.25, 3.5), QPointF(6.25, 9.0), kOutline, 1.6);
  Line(p, QPointF(3.5, 6.25), QPointF(9.0, 6.25), kOutline, 1.6);
}

void ZoomOut(QPainter& p) {
  Magnifier(p);
  Line(p, QPointF(3.5, 6.25), QPointF(9.0, 6.25), kOutline, 1.6);
}

}  // namespace pictures
