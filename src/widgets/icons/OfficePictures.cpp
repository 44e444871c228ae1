// Time and paperwork: clocks, alarm clock, stopwatch, hourglass, timer, documents, floppy disk,
// printer, folders and calendars.
#include <QPainter>
#include <cmath>
#include <numbers>

#include "widgets/icons/PaintKit.h"
#include "widgets/icons/Pictures.h"

using namespace paintkit;

namespace {

// A point on a clock face: hour 0..12 at the given distance from the centre.
QPointF OnDial(QPointF centre, double hour, double distance) {
  const double angle = hour / 12.0 * 2.0 * std::numbers::pi;
  return centre + QPointF(std::sin(angle), -std::cos(angle)) * distance;
}

void Dial(QPainter& painter, const QRectF& face, const QColor& rim, double hourHand,
          double minuteHand) {
  FillFlat(painter, Ellipse(face), kPaper, rim);
  const QPointF centre = face.center();
  const double radius = face.width() / 2.0;
  for (int hour = 0; hour < 12; hour += 3) {
    Line(painter, OnDial(centre, hour, radius - 0.8), OnDial(centre, hour, radius - 2.0), kOutline,
         1.0);
  }
  Line(painter, centre, OnDial(centre, hourHand, radius * 0.5), kOutline, 1.4);
  Line(painter, centre, OnDial(centre, minuteHand, radius * 0.78), kOutline, 1.0);
}

QPainterPath Page(const QRectF& rect, double fold) {
  return Polygon({rect.topLeft(),
                  {rect.right() - fold, rect.top()},
                  {rect.right(), rect.top() + fold},
                  rect.bottomRight(),
                  rect.bottomLeft()});
}

void Sheet(QPainter& painter, const QRectF& rect) {
  const double fold = 3.5;
  FillFlat(painter, Page(rect, fold), kPaper, QColor(0x6a, 0x6a, 0x6a));
  FillFlat(painter,
           Polygon({{rect.right() - fold, rect.top()},
                    {rect.right() - fold, rect.top() + fold},
                    {rect.right(), rect.top() + fold}}),
           QColor(0xd8, 0xd8, 0xd0), QColor(0x6a, 0x6a, 0x6a));
}

void TextLines(QPainter& painter, double left, double right, double top, int count) {
  for (int line = 0; line < count; ++line) {
    const double y = top + line * 2.0;
    Line(painter, QPointF(left, y), QPointF(line % 3 == 2 ? right - 2.5 : right, y),
         kBlue.darker(120), 1.0);
  }
}

void FolderBack(QPainter& painter) {
  FillShaded(painter,
             Polygon({{0.5, 3.5}, {5.5, 3.5}, {7.0, 5.0}, {15.5, 5.0}, {15.5, 14.5}, {0.5, 14.5}}),
             kFolder.darker(112), QColor(0x8a, 0x62, 0x10));
}

void CalendarPage(QPainter& painter) {
  FillFlat(painter, RoundRect(QRectF(1.5, 2.5, 13.0, 12.0), 1.0), kPaper, QColor(0x6a, 0x6a, 0x6a));
  FillFlat(painter, RoundRect(QRectF(1.5, 2.5, 13.0, 3.5), 1.0), kRed, kRed.darker(160));
  for (const double x : {4.5, 11.5}) Line(painter, QPointF(x, 1.0), QPointF(x, 4.0), kOutline, 1.2);
}

}  // namespace

namespace pictures {

void Clock(QPainter& p) { Dial(p, QRectF(1.0, 1.0, 14.0, 14.0), kOutline, 10.0, 2.0); }

void AlarmClock(QPainter& p) {
  Line(p, QPointF(4.5, 12.5), QPointF(3.0, 15.0), kOutline, 1.4);
  Line(p, QPointF(11.5, 12.5), QPointF(13.0, 15.0), kOutline, 1.4);
  for (const double x : {0.5, 10.0}) {
    QPainterPath bell;
    bell.moveTo(x, 5.0);
    bell.arcTo(QRectF(x, 0.5, 5.5, 5.5), x < 5.0 ? 225.0 : 315.0, x < 5.0 ? -180.0 : 180.0);
    FillShaded(p, bell.simplified(), kRed, kRed.darker(180));
  }
  Dial(p, QRectF(2.0, 2.5, 12.0, 12.0), kRed.darker(120), 4.0, 0.0);
}

void Stopwatch(QPainter& p) {
  FillShaded(p, RoundRect(QRectF(6.5, 0.5, 3.0, 2.5), 0.5), kSteel);
  Line(p, QPointF(12.0, 3.5), QPointF(13.5, 2.0), kOutline, 1.4);
  Dial(p, QRectF(1.5, 2.5, 13.0, 13.0), kOutline, 0.0, 0.0);
  QPainterPath sweep(QPointF(8.0, 9.0));
  sweep.arcTo(QRectF(3.0, 4.0, 10.0, 10.0), 90.0, -100.0);
  sweep.closeSubpath();
  FillFlat(p, sweep, QColor(0x2e, 0xa0, 0x3a, 140), Qt::transparent);
}

void Hourglass(QPainter& p) {
  FillShaded(p, RoundRect(QRectF(2.5, 0.5, 11.0, 2.0), 0.5), QColor(0x9a, 0x6a, 0x3a));
  FillShaded(p, RoundRect(QRectF(2.5, 13.5, 11.0, 2.0), 0.5), QColor(0x9a, 0x6a, 0x3a));
  FillFlat(p, Polygon({{3.5, 2.5}, {12.5, 2.5}, {8.8, 8.0}, {12.5, 13.5}, {3.5, 13.5}, {7.2, 8.0}}),
           QColor(0xdc, 0xee, 0xf8), QColor(0x5a, 0x6a, 0x7a));
  FillFlat(p, Polygon({{5.0, 4.5}, {11.0, 4.5}, {8.0, 7.8}}), QColor(0xe0, 0xb0, 0x50),
           Qt::transparent);
  FillFlat(p, Polygon({{8.0, 10.0}, {11.8, 13.0}, {4.2, 13.0}}), QColor(0xe0, 0xb0, 0x50),
           Qt::transparent);
}

void Timer(QPainter& p) {
  FillFlat(p, Ellipse(QRectF(1.0, 1.0, 14.0, 14.0)), kPaper, kOutline);
  QPainterPath slice(QPointF(8.0, 8.0));
  slice.arcTo(QRectF(2.0, 2.0, 12.0, 12.0), 90.0, -120.0);
  slice.closeSubpath();
  FillFlat(p, slice, kOrange, Qt::transparent);
  Line(p, QPointF(8.0, 8.0), QPointF(8.0, 2.0), kOutline, 1.0);
}

void Document(QPainter& p) { Sheet(p, QRectF(2.5, 0.5, 11.0, 15.0)); }

void DocumentText(QPainter& p) {
  Sheet(p, QRectF(2.5, 0.5, 11.0, 15.0));
  TextLines(p, 4.5, 11.5, 5.5, 5);
}

void Documents(QPainter& p) {
  Sheet(p, QRectF(5.5, 0.5, 10.0, 12.0));
  Sheet(p, QRectF(0.5, 3.5, 10.0, 12.0));
  TextLines(p, 2.5, 8.5, 8.5, 3);
}

void DocumentNew(QPainter& p) {
  Sheet(p, QRectF(1.5, 0.5, 11.0, 15.0));
  FillFlat(p, Ellipse(QRectF(8.0, 8.0, 7.5, 7.5)), kGreen, kGreen.darker(170));
  Line(p, QPointF(11.75, 9.7), QPointF(11.75, 13.8), Qt::white, 1.4);
  Line(p, QPointF(9.7, 11.75), QPointF(13.8, 11.75), Qt::white, 1.4);
}

void FloppyDisk(QPainter& p) {
  FillShaded(p, Polygon({{0.5, 0.5}, {13.0, 0.5}, {15.5, 3.0}, {15.5, 15.5}, {0.5, 15.5}}), kBlue,
             kBlue.darker(200));
  FillFlat(p, Rect(QRectF(3.5, 0.5, 9.0, 5.5)), QColor(0xd8, 0xdc, 0xe0), kBlue.darker(200));
  FillFlat(p, Rect(QRectF(9.5, 1.5, 2.0, 3.5)), kBlue.darker(160), Qt::transparent);
  FillFlat(p, RoundRect(QRectF(3.0, 9.0, 10.0, 6.5), 0.5), kPaper, kBlue.darker(200));
}

void Printer(QPainter& p) {
  FillFlat(p, Rect(QRectF(4.5, 0.5, 7.0, 6.0)), kPaper, QColor(0x6a, 0x6a, 0x6a));
  FillShaded(p, RoundRect(QRectF(0.5, 5.5, 15.0, 7.0), 1.5), kSteel);
  FillFlat(p, Ellipse(QRectF(12.0, 7.0, 2.0, 2.0)), kGreen, Qt::transparent);
  FillFlat(p, Rect(QRectF(3.5, 10.5, 9.0, 5.0)), kPaper, QColor(0x6a, 0x6a, 0x6a));
  TextLines(p, 5.0, 11.0, 12.5, 2);
}

void Folder(QPainter& p) {
  FolderBack(p);
  FillShaded(p, RoundRect(QRectF(0.5, 6.5, 15.0, 8.0), 0.5), kFolder, QColor(0x8a, 0x62, 0x10));
}

void FolderOpen(QPainter& p) {
  FolderBack(p);
  FillFlat(p, Rect(QRectF(2.5, 4.0, 11.0, 6.0)), kPaper, QColor(0x8a, 0x8a, 0x8a));
  FillShaded(p, Polygon({{3.0, 7.5}, {15.8, 7.5}, {13.0, 14.5}, {0.5, 14.5}}), kFolder.lighter(108),
             QColor(0x8a, 0x62, 0x10));
}

void FolderDocument(QPainter& p) {
  FolderBack(p);
  Sheet(p, QRectF(5.5, 0.5, 8.0, 10.0));
  FillShaded(p, RoundRect(QRectF(0.5, 8.5, 15.0, 6.0), 0.5), kFolder, QColor(0x8a, 0x62, 0x10));
}

void Calendar(QPainter& p) {
  CalendarPage(p);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 4; ++column) {
      FillFlat(p, Rect(QRectF(3.0 + column * 2.7, 7.5 + row * 2.3, 1.6, 1.4)),
               QColor(0x70, 0x70, 0x70), Qt::transparent);
    }
  }
}

void CalendarDay(QPainter& p) {
  CalendarPage(p);
  FillFlat(p, RoundRect(QRectF(4.5, 7.5, 7.0, 6.0), 0.8), kBlue, Qt::transparent);
  FillFlat(p, Rect(QRectF(7.0, 9.0, 2.0, 3.0)), Qt::white, Qt::transparent);
}

}  // namespace pictures
