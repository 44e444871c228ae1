// Paints the program's icon as vectors in a 64 by 64 unit square, so every size is sharp; the
// window-frame sizes get a simpler layout on whole pixels, since fine detail turns to blur there.
#include "widgets/icons/AppIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

#include "widgets/icons/PaintKit.h"

using namespace paintkit;

namespace {

const QColor kButtonColours[2][3] = {{kGreen, kYellow, kRed},
                                     {kBlue, QColor(0xd8, 0xdc, 0xe0), kOrange}};

void Panel(QPainter& painter) {
  QLinearGradient face(QPointF(0.0, 3.0), QPointF(0.0, 43.0));
  face.setColorAt(0.0, QColor(0x5a, 0x6a, 0x7e));
  face.setColorAt(1.0, QColor(0x2c, 0x36, 0x44));
  painter.setBrush(face);
  painter.setPen(QPen(QColor(0x1a, 0x20, 0x28), 2.0));
  painter.drawRoundedRect(QRectF(3.0, 3.0, 50.0, 40.0), 6.0, 6.0);
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 3; ++column) {
      const QRectF key(8.0 + column * 15.0, 8.0 + row * 16.0, 12.0, 12.0);
      QLinearGradient shade(key.topLeft(), key.bottomLeft());
      shade.setColorAt(0.0, kButtonColours[row][column].lighter(135));
      shade.setColorAt(1.0, kButtonColours[row][column].darker(120));
      painter.setBrush(shade);
      painter.setPen(QPen(QColor(0x14, 0x18, 0x1e), 1.5));
      painter.drawRoundedRect(key, 2.5, 2.5);
    }
  }
}

void Plug(QPainter& painter) {
  QPainterPath cable(QPointF(44.0, 43.0));
  cable.cubicTo(44.0, 50.0, 50.0, 46.0, 50.0, 50.0);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0x1a, 0x20, 0x28), 5.0, Qt::SolidLine, Qt::RoundCap));
  painter.drawPath(cable);
  painter.setPen(QPen(QColor(0x60, 0x6c, 0x78), 2.5, Qt::SolidLine, Qt::RoundCap));
  painter.drawPath(cable);

  QLinearGradient metal(QPointF(0.0, 48.0), QPointF(0.0, 62.0));
  metal.setColorAt(0.0, QColor(0xf0, 0xf2, 0xf4));
  metal.setColorAt(1.0, QColor(0x8a, 0x94, 0x9e));
  painter.setBrush(metal);
  painter.setPen(QPen(QColor(0x30, 0x36, 0x3e), 1.5));
  painter.drawRoundedRect(QRectF(34.0, 48.0, 29.0, 14.0), 2.5, 2.5);
  painter.setBrush(QColor(0x24, 0x2a, 0x32));
  painter.drawPath(Polygon({{37.5, 50.5}, {59.5, 50.5}, {57.0, 59.5}, {40.0, 59.5}}));
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0xf0, 0xc8, 0x50));
  for (int pin = 0; pin < 5; ++pin) painter.drawEllipse(QPointF(40.5 + pin * 4.0, 53.0), 1.2, 1.2);
  for (int pin = 0; pin < 4; ++pin) painter.drawEllipse(QPointF(42.5 + pin * 4.0, 57.0), 1.2, 1.2);
}

// The same picture laid out on a 16 by 16 pixel grid.
void SmallIcon(QPainter& painter) {
  painter.setBrush(QColor(0x3e, 0x4a, 0x5a));
  painter.setPen(QPen(QColor(0x1a, 0x20, 0x28), 1.0));
  painter.drawRoundedRect(QRectF(0.5, 0.5, 14.0, 10.0), 1.5, 1.5);
  painter.setPen(Qt::NoPen);
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 3; ++column) {
      painter.setBrush(kButtonColours[row][column]);
      painter.drawRect(QRectF(2.0 + column * 4.0, 2.0 + row * 4.0, 3.0, 3.0));
    }
  }
  painter.fillRect(QRectF(11.0, 11.0, 1.0, 1.0), QColor(0x1a, 0x20, 0x28));
  painter.setBrush(QColor(0xc8, 0xcc, 0xd0));
  painter.setPen(QPen(QColor(0x30, 0x36, 0x3e), 1.0));
  painter.drawRect(QRectF(7.5, 12.0, 8.0, 3.5));
  painter.fillRect(QRectF(9.0, 13.0, 5.0, 1.5), QColor(0xd0, 0xa8, 0x30));
}

}  // namespace

QImage PaintAppIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  if (size < 32) {
    painter.scale(size / 16.0, size / 16.0);
    SmallIcon(painter);
  } else {
    painter.scale(size / 64.0, size / 64.0);
    Panel(painter);
    Plug(painter);
  }
  return image;
}

QIcon AppIcon() {
  QIcon icon;
  for (const int size : kAppIconSizes) icon.addPixmap(QPixmap::fromImage(PaintAppIcon(size)));
  return icon;
}
