// Pixel masks of digits and signs; stateless.
#include "widgets/icons/Glyphs.h"

#include <array>

#include "widgets/icons/PaintKit.h"

namespace glyphs {

namespace {

using TMask = std::array<const char*, kHeight>;

constexpr std::array<TMask, 10> kDigits{{
    {".####.", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", ".####."},
    {"..##..", ".###..", "####..", "..##..", "..##..", "..##..", "..##..", "..##..", "######"},
    {".####.", "##..##", "....##", "....##", "...##.", "..##..", ".##...", "##....", "######"},
    {".####.", "##..##", "....##", "....##", "..###.", "....##", "....##", "##..##", ".####."},
    {"...##.", "..###.", ".####.", "##.##.", "##.##.", "######", "...##.", "...##.", "...##."},
    {"######", "##....", "##....", "#####.", "....##", "....##", "....##", "##..##", ".####."},
    {".####.", "##..##", "##....", "##....", "#####.", "##..##", "##..##", "##..##", ".####."},
    {"######", "....##", "....##", "...##.", "...##.", "..##..", "..##..", "..##..", "..##.."},
    {".####.", "##..##", "##..##", "##..##", ".####.", "##..##", "##..##", "##..##", ".####."},
    {".####.", "##..##", "##..##", "##..##", ".#####", "....##", "....##", "##..##", ".####."},
}};

constexpr TMask kQuestion{".####.", "##..##", "....##", "...##.", "..##..",
                          "..##..", "......", "..##..", "..##.."};
constexpr TMask kExclamation{"..##..", "..##..", "..##..", "..##..", "..##..",
                             "..##..", "......", "..##..", "..##.."};
constexpr TMask kInformation{"..##..", "..##..", "......", ".###..", "..##..",
                             "..##..", "..##..", "..##..", ".####."};

void Draw(QPainter& painter, const TMask& mask, QPointF origin, const QColor& colour) {
  paintkit::PixelGlyph(painter, mask, origin, colour);
}

}  // namespace

void Digit(QPainter& painter, int digit, QPointF origin, const QColor& colour) {
  Draw(painter, kDigits.at(static_cast<size_t>(digit)), origin, colour);
}

void Question(QPainter& painter, QPointF origin, const QColor& colour) {
  Draw(painter, kQuestion, origin, colour);
}

void Exclamation(QPainter& painter, QPointF origin, const QColor& colour) {
  Draw(painter, kExclamation, origin, colour);
}

void Information(QPainter& painter, QPointF origin, const QColor& colour) {
  Draw(painter, kInformation, origin, colour);
}

}  // namespace glyphs
