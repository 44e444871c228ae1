// Round indicator lamps in grey, red, green and yellow: plain, small, in a bezel and glowing.
// The lamp's own colour always covers the picture's centre, which is what its name promises.
#include <QPainter>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

#include "widgets/icons/PaintKit.h"
#include "widgets/icons/Pictures.h"

using namespace paintkit;

namespace {

const QColor kLampGrey{0x9a, 0x9a, 0x9a};
const QColor kLampRed{0xe8, 0x1c, 0x14};
const QColor kLampGreen{0x1c, 0xc4, 0x2c};
const QColor kLampYellow{0xf6, 0xd8, 0x10};

// A glass dome: the colour fills the middle, the rim darkens, a highlight sits upper left.
void Dome(QPainter& painter, const QRectF& rect, const QColor& colour) {
  QRadialGradient gradient(rect.center(), rect.width() / 2.0);
  gradient.setColorAt(0.0, colour);
  gradient.setColorAt(0.55, colour);
  gradient.setColorAt(1.0, colour.darker(170));
  painter.setBrush(gradient);
  painter.setPen(QPen(colour.darker(260), 1.0));
  painter.drawEllipse(rect);
  const double w = rect.width();
  const QRectF shine(rect.left() + w * 0.2, rect.top() + w * 0.12, w * 0.34, w * 0.22);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 190));
  painter.drawEllipse(shine);
}

void Plain(QPainter& painter, const QColor& colour) {
  Dome(painter, QRectF(1.5, 1.5, 13.0, 13.0), colour);
}

void Small(QPainter& painter, const QColor& colour) {
  Dome(painter, QRectF(3.5, 3.5, 9.0, 9.0), colour);
}

void Bezel(QPainter& painter, const QColor& colour) {
  QRadialGradient ring(QPointF(6.0, 5.0), 10.0);
  ring.setColorAt(0.0, QColor(0xe4, 0xe4, 0xe4));
  ring.setColorAt(1.0, QColor(0x70, 0x70, 0x70));
  painter.setBrush(ring);
  painter.setPen(QPen(kOutline, 1.0));
  painter.drawEllipse(QRectF(0.5, 0.5, 15.0, 15.0));
  painter.setBrush(QColor(0x40, 0x40, 0x40));
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(QRectF(3.0, 3.0, 10.0, 10.0));
  Dome(painter, QRectF(4.0, 4.0, 8.0, 8.0), colour);
}

void Glowing(QPainter& painter, const QColor& colour) {
  for (int ray = 0; ray < 8; ++ray) {
    const double angle = ray * std::numbers::pi / 4.0;
    const QPointF direction(std::cos(angle), std::sin(angle));
    Line(painter, QPointF(8.0, 8.0) + direction * 5.6, QPointF(8.0, 8.0) + direction * 7.3,
         colour.darker(130), 1.3);
  }
  Dome(painter, QRectF(4.0, 4.0, 8.0, 8.0), colour);
}

}  // namespace

namespace pictures {

void LampGrey(QPainter& p) { Plain(p, kLampGrey); }
void LampRed(QPainter& p) { Plain(p, kLampRed); }
void LampGreen(QPainter& p) { Plain(p, kLampGreen); }
void LampYellow(QPainter& p) { Plain(p, kLampYellow); }
void LampGreySmall(QPainter& p) { Small(p, kLampGrey); }
void LampRedSmall(QPainter& p) { Small(p, kLampRed); }
void LampGreenSmall(QPainter& p) { Small(p, kLampGreen); }
void LampYellowSmall(QPainter& p) { Small(p, kLampYellow); }
void LampGreyBezel(QPainter& p) { Bezel(p, kLampGrey); }
void LampRedBezel(QPainter& p) { Bezel(p, kLampRed); }
void LampGreenBezel(QPainter& p) { Bezel(p, kLampGreen); }
void LampYellowBezel(QPainter& p) { Bezel(p, kLampYellow); }
void LampGreyGlowing(QPainter& p) { Glowing(p, kLampGrey); }
void LampRedGlowing(QPainter& p) { Glowing(p, kLampRed); }
void LampGreenGlowing(QPainter& p) { Glowing(p, kLampGreen); }
void LampYellowGlowing(QPainter& p) { Glowing(p, kLampYellow); }

}  // namespace pictures
