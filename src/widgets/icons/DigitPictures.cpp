// Numbers 0 to 9 as key caps, for panels that select inputs, presets or channels by number.
#include <QPainter>

#include "widgets/icons/Glyphs.h"
#include "widgets/icons/PaintKit.h"
#include "widgets/icons/Pictures.h"

using namespace paintkit;

namespace {

void KeyCap(QPainter& painter, int digit) {
  FillShaded(painter, RoundRect(QRectF(1.5, 1.5, 13.0, 13.0), 2.5), QColor(0x46, 0x5a, 0x72));
  glyphs::Digit(painter, digit, QPointF(5.0, 4.0), Qt::white);
}

}  // namespace

namespace pictures {

void Number0(QPainter& p) { KeyCap(p, 0); }
void Number1(QPainter& p) { KeyCap(p, 1); }
void Number2(QPainter& p) { KeyCap(p, 2); }
void Number3(QPainter& p) { KeyCap(p, 3); }
void Number4(QPainter& p) { KeyCap(p, 4); }
void Number5(QPainter& p) { KeyCap(p, 5); }
void Number6(QPainter& p) { KeyCap(p, 6); }
void Number7(QPainter& p) { KeyCap(p, 7); }
void Number8(QPainter& p) { KeyCap(p, 8); }
void Number9(QPainter& p) { KeyCap(p, 9); }

}  // namespace pictures
