#include "widgets/TextEncoding.h"

#include <array>

namespace {

// Windows-1252 bytes 0x80..0x9F. The five bytes that code page leaves unassigned
// map to the C1 controls of the same value, as Windows itself converts them, so
// that every byte survives a round trip.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QChar FromWindows1252(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return QChar(kWindows1252High[byte - 0x80]);
  return QChar(static_cast<char16_t>(byte));
}

std::optional<char> ToWindows1252(QChar character) {
  const char16_t code = character.unicode();
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (size_t i = 0; i < kWindows1252High.size(); ++i) {
    if (kWindows1252High[i] == code) return static_cast<char>(0x80 + i);
  }
  return std::nullopt;
}

}  // namespace

QString DecodeText(const std::string& bytes, bool textIsUtf8) {
  if (textIsUtf8) return QString::fromStdString(bytes);
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (char byte : bytes) text.append(FromWindows1252(static_cast<unsigned char>(byte)));
  return text;
}

std::optional<std::string> EncodeText(const QString& text, bool textIsUtf8) {
  if (textIsUtf8) {
    // A lone surrogate has no UTF-8 form; Qt would write a replacement character.
    for (qsizetype i = 0; i < text.size(); ++i) {
      const QChar c = text.at(i);
      if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        ++i;
      } else if (c.isSurrogate()) {
        return std::nullopt;
      }
    }
    return text.toStdString();
  }
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  for (QChar character : text) {
    const std::optional<char> byte = ToWindows1252(character);
    if (!byte) return std::nullopt;
    bytes.push_back(*byte);
  }
  return bytes;
}
