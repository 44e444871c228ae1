// Audio-visual and building equipment: cameras, screens, projector, speakers and volume,
// microphones, headphones, music, lamps of the room, plug, antenna, serial connector, sun, moon,
// thermometer and remote control.
#include <QPainter>
#include <cmath>
#include <numbers>

#include "widgets/icons/PaintKit.h"
#include "widgets/icons/Pictures.h"

using namespace paintkit;

namespace {

const QColor kBody{0x40, 0x46, 0x4e};
const QColor kScreen{0x5c, 0xa8, 0xe8};
const QColor kPin{0xe0, 0xc0, 0x60};

void LoudspeakerAt(QPainter& painter, double left) {
  FillShaded(painter,
             Polygon({{left, 5.5},
                      {left + 3.0, 5.5},
                      {left + 7.0, 1.5},
                      {left + 7.0, 14.5},
                      {left + 3.0, 10.5},
                      {left, 10.5}}),
             kBody);
}

void Waves(QPainter& painter, QPointF centre, int count, double startAngle, double span) {
  for (int wave = 1; wave <= count; ++wave) {
    const double radius = 2.5 * wave;
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(circle, startAngle);
    arc.arcTo(circle, startAngle, span);
    Stroke(painter, arc, kBlue, 1.3);
  }
}

void Rays(QPainter& painter, QPointF centre, double inner, double outer, const QColor& colour,
          int count) {
  for (int ray = 0; ray < count; ++ray) {
    const double angle = ray * 2.0 * std::numbers::pi / count;
    const QPointF direction(std::cos(angle), std::sin(angle));
    Line(painter, centre + direction * inner, centre + direction * outer, colour, 1.2);
  }
}

void Microphone(QPainter& painter) {
  Stroke(painter, QPainterPath([] {
           QPainterPath holder;
           holder.arcMoveTo(QRectF(3.5, 3.0, 9.0, 8.5), 180.0);
           holder.arcTo(QRectF(3.5, 3.0, 9.0, 8.5), 180.0, 180.0);
           return holder;
         }()),
         kOutline, 1.2);
  Line(painter, QPointF(8.0, 11.5), QPointF(8.0, 14.5), kOutline, 1.2);
  Line(painter, QPointF(5.0, 15.0), QPointF(11.0, 15.0), kOutline, 1.4);
  FillShaded(painter, RoundRect(QRectF(5.5, 0.5, 5.0, 9.5), 2.5), kSteel, kOutline);
  for (const double y : {3.0, 5.0})
    Line(painter, QPointF(6.5, y), QPointF(9.5, y), QColor(0x50, 0x58, 0x60), 0.8);
}

void Bulb(QPainter& painter, const QColor& glass) {
  QPainterPath bulb;
  bulb.moveTo(6.0, 11.0);
  bulb.cubicTo(6.0, 8.5, 3.0, 7.5, 3.0, 5.5);
  bulb.cubicTo(3.0, 2.5, 5.5, 0.5, 8.0, 0.5);
  bulb.cubicTo(10.5, 0.5, 13.0, 2.5, 13.0, 5.5);
  bulb.cubicTo(13.0, 7.5, 10.0, 8.5, 10.0, 11.0);
  bulb.closeSubpath();
  FillShaded(painter, bulb, glass, glass.darker(220));
  FillShaded(painter, RoundRect(QRectF(5.8, 11.0, 4.4, 3.2), 0.6), kSteel,
             QColor(0x40, 0x48, 0x50));
  FillFlat(painter, Rect(QRectF(7.0, 14.2, 2.0, 1.3)), kOutline, Qt::transparent);
}

}  // namespace

namespace pictures {

void VideoCamera(QPainter& p) {
  FillShaded(p, RoundRect(QRectF(0.5, 4.5, 10.0, 8.0), 1.2), kBody);
  FillShaded(p, Polygon({{10.5, 8.5}, {15.5, 5.0}, {15.5, 12.0}}), kBody);
  FillFlat(p, Ellipse(QRectF(2.0, 1.0, 3.5, 3.5)), kBody.lighter(140), kOutline);
  FillFlat(p, Ellipse(QRectF(6.0, 1.0, 3.5, 3.5)), kBody.lighter(140), kOutline);
  FillFlat(p, Ellipse(QRectF(2.0, 6.5, 2.0, 2.0)), kRed, Qt::transparent);
}

void Camera(QPainter& p) {
  FillShaded(p, Polygon({{5.0, 3.5}, {6.5, 1.5}, {10.0, 1.5}, {11.5, 3.5}}), kBody);
  FillShaded(p, RoundRect(QRectF(0.5, 3.5, 15.0, 11.0), 1.5), kBody);
  FillFlat(p, Ellipse(QRectF(4.0, 4.5, 8.0, 8.0)), kSteel.lighter(120), kOutline);
  FillFlat(p, Ellipse(QRectF(5.8, 6.3, 4.4, 4.4)), QColor(0x30, 0x50, 0x80), Qt::transparent);
  FillFlat(p, Ellipse(QRectF(1.8, 5.0, 1.8, 1.5)), kYellow, Qt::transparent);
}

void Monitor(QPainter& p) {
  FillShaded(p, Polygon({{6.0, 11.5}, {10.0, 11.5}, {11.0, 14.5}, {5.0, 14.5}}), kSteel,
             QColor(0x40, 0x48, 0x50));
  FillFlat(p, RoundRect(QRectF(0.5, 1.5, 15.0, 10.5), 1.0), kBody, kOutline);
  FillShaded(p, Rect(QRectF(2.0, 3.0, 12.0, 7.5)), kScreen, kScreen.darker(160));
}

void Television(QPainter& p) {
  Line(p, QPointF(8.0, 4.0), QPointF(4.5, 0.5), kOutline, 1.0);
  Line(p, QPointF(8.0, 4.0), QPointF(11.5, 0.5), kOutline, 1.0);
  Line(p, QPointF(3.0, 13.5), QPointF(2.0, 15.5), kOutline, 1.4);
  Line(p, QPointF(13.0, 13.5), QPointF(14.0, 15.5), kOutline, 1.4);
  FillShaded(p, RoundRect(QRectF(0.5, 3.5, 15.0, 10.5), 2.0), QColor(0x9a, 0x6a, 0x3a));
  FillShaded(p, RoundRect(QRectF(2.0, 5.0, 9.5, 7.5), 1.5), kScreen, kScreen.darker(160));
  FillFlat(p, Ellipse(QRectF(12.5, 5.5, 2.0, 2.0)), kBody, Qt::transparent);
  FillFlat(p, Ellipse(QRectF(12.5, 9.0, 2.0, 2.0)), kBody, Qt::transparent);
}

void Projector(QPainter& p) {
  FillFlat(p, Polygon({{5.0, 4.0}, {15.5, 0.5}, {15.5, 9.0}, {5.0, 7.5}}),
           QColor(0xff, 0xf0, 0x90, 150), Qt::transparent);
  FillShaded(p, RoundRect(QRectF(0.5, 5.5, 15.0, 7.0), 1.5), kSteel.lighter(115),
             QColor(0x40, 0x48, 0x50));
  FillFlat(p, Ellipse(QRectF(2.0, 6.5, 5.0, 5.0)), QColor(0x30, 0x50, 0x80), kOutline);
  FillFlat(p, Ellipse(QRectF(3.2, 7.7, 1.6, 1.6)), QColor(255, 255, 255, 200), Qt::transparent);
  for (const double x : {9.0, 10.8, 12.6})
    Line(p, QPointF(x, 7.5), QPointF(x, 10.5), QColor(0x50, 0x58, 0x60), 0.8);
  Line(p, QPointF(3.0, 12.5), QPointF(3.0, 14.5), kOutline, 1.4);
  Line(p, QPointF(13.0, 12.5), QPointF(13.0, 14.5), kOutline, 1.4);
}

void ProjectionScreen(QPainter& p) {
  Line(p, QPointF(8.0, 11.0), QPointF(8.0, 15.5), kOutline, 1.0);
  Line(p, QPointF(8.0, 12.5), QPointF(4.0, 15.5), kOutline, 1.0);
  Line(p, QPointF(8.0, 12.5), QPointF(12.0, 15.5), kOutline, 1.0);
  FillFlat(p, Rect(QRectF(1.5, 2.5, 13.0, 8.5)), QColor(0xf8, 0xf8, 0xff),
           QColor(0x6a, 0x6a, 0x6a));
  FillShaded(p, RoundRect(QRectF(0.5, 0.5, 15.0, 2.5), 1.0), kBody);
}

void Speaker(QPainter& p) {
  LoudspeakerAt(p, 0.5);
  Waves(p, QPointF(8.0, 8.0), 3, -50.0, 100.0);
}

void VolumeUp(QPainter& p) {
  LoudspeakerAt(p, 0.5);
  Line(p, QPointF(12.0, 5.0), QPointF(12.0, 11.0), kGreen.darker(115), 2.0);
  Line(p, QPointF(9.0, 8.0), QPointF(15.0, 8.0), kGreen.darker(115), 2.0);
}

void VolumeDown(QPainter& p) {
  LoudspeakerAt(p, 0.5);
  Line(p, QPointF(9.0, 8.0), QPointF(15.0, 8.0), kOrange.darker(110), 2.0);
}

void Mute(QPainter& p) {
  LoudspeakerAt(p, 0.5);
  Line(p, QPointF(9.5, 5.5), QPointF(14.5, 10.5), kRed, 1.8);
  Line(p, QPointF(14.5, 5.5), QPointF(9.5, 10.5), kRed, 1.8);
}

void MicrophoneOn(QPainter& p) { Microphone(p); }

void MicrophoneOff(QPainter& p) {
  Microphone(p);
  Line(p, QPointF(2.0, 1.5), QPointF(14.0, 14.5), Qt::white, 3.2);
  Line(p, QPointF(2.0, 1.5), QPointF(14.0, 14.5), kRed, 1.8);
}

void Headphones(QPainter& p) {
  QPainterPath band;
  band.arcMoveTo(QRectF(2.0, 1.5, 12.0, 12.0), 180.0);
  band.arcTo(QRectF(2.0, 1.5, 12.0, 12.0), 180.0, -180.0);
  Stroke(p, band, kBody, 1.6);
  FillShaded(p, RoundRect(QRectF(0.5, 8.0, 4.5, 7.0), 1.5), kBody);
  FillShaded(p, RoundRect(QRectF(11.0, 8.0, 4.5, 7.0), 1.5), kBody);
}

void MusicNote(QPainter& p) {
  FillShaded(p, Polygon({{5.5, 3.5}, {14.5, 0.8}, {14.5, 3.5}, {5.5, 6.2}}), kBody);
  Line(p, QPointF(6.0, 4.0), QPointF(6.0, 12.5), kBody, 1.4);
  Line(p, QPointF(14.0, 1.5), QPointF(14.0, 10.5), kBody, 1.4);
  FillShaded(p, Ellipse(QRectF(1.5, 10.5, 5.2, 4.2)), kBody);
  FillShaded(p, Ellipse(QRectF(9.5, 8.5, 5.2, 4.2)), kBody);
}

void LightBulbOn(QPainter& p) {
  Rays(p, QPointF(8.0, 5.5), 6.2, 7.6, kOrange, 8);
  p.save();
  p.translate(8.0, 5.5);
  p.scale(0.85, 0.85);
  p.translate(-8.0, -5.5);
  Bulb(p, QColor(0xff, 0xe0, 0x30));
  p.restore();
}

void LightBulbOff(QPainter& p) { Bulb(p, QColor(0xd8, 0xd8, 0xd8)); }

void PowerPlug(QPainter& p) {
  Line(p, QPointF(6.0, 0.5), QPointF(6.0, 4.0), kSteel.darker(130), 1.6);
  Line(p, QPointF(10.0, 0.5), QPointF(10.0, 4.0), kSteel.darker(130), 1.6);
  FillShaded(p,
             Polygon({{3.0, 4.0}, {13.0, 4.0}, {13.0, 7.5}, {10.5, 11.0}, {5.5, 11.0}, {3.0, 7.5}}),
             kBody);
  QPainterPath cable(QPointF(8.0, 11.0));
  cable.cubicTo(8.0, 14.0, 12.0, 13.0, 14.0, 15.5);
  Stroke(p, cable, kBody, 1.6);
}

void Antenna(QPainter& p) {
  FillShaded(p, Polygon({{8.0, 6.0}, {11.0, 15.5}, {5.0, 15.5}}), kSteel, QColor(0x40, 0x48, 0x50));
  FillFlat(p, Ellipse(QRectF(6.5, 4.5, 3.0, 3.0)), kRed, kRed.darker(170));
  Waves(p, QPointF(8.0, 6.0), 2, -45.0, 90.0);
  Waves(p, QPointF(8.0, 6.0), 2, 135.0, 90.0);
}

void SerialConnector(QPainter& p) {
  FillShaded(p, RoundRect(QRectF(0.5, 3.0, 15.0, 10.0), 1.5), kSteel.lighter(120),
             QColor(0x40, 0x48, 0x50));
  FillFlat(p, Polygon({{2.5, 5.0}, {13.5, 5.0}, {12.0, 11.0}, {4.0, 11.0}}),
           QColor(0x28, 0x30, 0x3a), kOutline);
  for (int pin = 0; pin < 5; ++pin) {
    FillFlat(p, Ellipse(QRectF(3.5 + pin * 2.0, 6.0, 1.3, 1.3)), kPin, Qt::transparent);
  }
  for (int pin = 0; pin < 4; ++pin) {
    FillFlat(p, Ellipse(QRectF(4.5 + pin * 2.0, 8.7, 1.3, 1.3)), kPin, Qt::transparent);
  }
}

void Sun(QPainter& p) {
  Rays(p, QPointF(8.0, 8.0), 5.2, 7.6, kOrange, 8);
  FillShaded(p, Ellipse(QRectF(4.0, 4.0, 8.0, 8.0)), kYellow, kOrange.darker(130));
}

void Moon(QPainter& p) {
  QPainterPath moon =
      Ellipse(QRectF(1.5, 1.5, 13.0, 13.0)).subtracted(Ellipse(QRectF(5.5, -1.0, 12.0, 12.0)));
  FillShaded(p, moon, QColor(0xf0, 0xd8, 0x60), QColor(0x8a, 0x70, 0x10));
}

void Thermometer(QPainter& p) {
  FillFlat(p, RoundRect(QRectF(6.0, 0.5, 4.0, 11.0), 2.0), kPaper, kOutline);
  FillFlat(p, Ellipse(QRectF(4.5, 9.5, 7.0, 6.0)), kRed, kRed.darker(170));
  FillFlat(p, Rect(QRectF(7.2, 4.5, 1.6, 6.0)), kRed, Qt::transparent);
  for (const double y : {2.5, 4.5, 6.5}) Line(p, QPointF(10.5, y), QPointF(12.0, y), kOutline, 0.8);
}

void RemoteControl(QPainter& p) {
  FillShaded(p, RoundRect(QRectF(4.0, 0.5, 8.0, 15.0), 2.0), kBody);
  FillFlat(p, Ellipse(QRectF(6.8, 1.8, 2.4, 2.4)), kRed, Qt::transparent);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 2; ++column) {
      FillFlat(p, Rect(QRectF(5.8 + column * 2.8, 6.0 + row * 2.6, 1.6, 1.5)),
               QColor(0xd0, 0xd4, 0xd8), Qt::transparent);
    }
  }
}

}  // namespace pictures
