// Colour values to painted colours, and settings texts to displayed text and back.
#include <QApplication>

#include <gtest/gtest.h>

#include "widgets/ColourMapping.h"
#include "widgets/TextEncoding.h"

namespace {

QPalette DistinctPalette() {
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(1, 2, 3));
  palette.setColor(QPalette::Text, QColor(4, 5, 6));
  palette.setColor(QPalette::Highlight, QColor(7, 8, 9));
  return palette;
}

struct TColourCase {
  TColour Value;
  QColor Expected;
};

TEST(ColourMapping, PlainAndSystemColours) {
  const TColourCase cases[] = {
      {0x000000FF, QColor(255, 0, 0)},     {0x0000FF00, QColor(0, 255, 0)},
      {0x00FF0000, QColor(0, 0, 255)},     {0x00123456, QColor(0x56, 0x34, 0x12)},
      {kColourButtonFace, QColor(1, 2, 3)}, {kColourWindowText, QColor(4, 5, 6)},
      {0xFF00000D, QColor(7, 8, 9)},       {0xFF000001, QColor(0, 0, 0)},
      {0xFF0000FE, QColor(0, 0, 0)},
  };
  for (const TColourCase& c : cases) {
    SCOPED_TRACE(c.Value);
    EXPECT_EQ(ToQColor(c.Value, DistinctPalette()), c.Expected);
  }
}

struct TTextCase {
  const char* Name;
  std::string Bytes;
  bool Utf8;
  QString Text;
};

TEST(TextEncoding, DecodesAndEncodesBackByteForByte) {
  const TTextCase cases[] = {
      {"Ascii", "Rack 3", true, "Rack 3"},
      {"Utf8", "Gr\xC3\xBC\xC3\x9F\x65", true, QString::fromUtf8("Grüße")},
      {"Windows1252", "Gr\xFC\xDF\x65 \x80", false, QString::fromUtf8("Grüße €")},
      {"UnassignedByteSurvives", std::string("\x81\x8D", 2), false, QString::fromUtf16(u"\u0081\u008D")},
  };
  for (const TTextCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(DecodeText(c.Bytes, c.Utf8), c.Text);
    EXPECT_EQ(EncodeText(c.Text, c.Utf8), c.Bytes);
  }
}

TEST(TextEncoding, RefusesWhatTheEncodingCannotHold) {
  EXPECT_EQ(EncodeText(QString::fromUtf8("Ωmega"), false), std::nullopt);
  EXPECT_EQ(EncodeText(QString(QChar(0xD800)), true), std::nullopt);
  EXPECT_EQ(EncodeText(QString::fromUtf8("Ωmega"), true), std::string("\xCE\xA9mega"));
}

}  // namespace
