#include "monitor/BurstFormat.h"

#include <cstdio>

std::string FormatBurst(const std::tm& localTime, int milliseconds, std::string_view bytes) {
  char head[64];
  std::snprintf(head, sizeof head, "%02d:%02d:%02d.%03d  %zu byte%s  ", localTime.tm_hour,
                localTime.tm_min, localTime.tm_sec, milliseconds, bytes.size(),
                bytes.size() == 1 ? "" : "s");
  std::string line = head;
  line.reserve(line.size() + bytes.size() * 4 + 4);

  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  for (unsigned char byte : bytes) {
    line += kHexDigits[byte >> 4];
    line += kHexDigits[byte & 0x0F];
    line += ' ';
  }
  line += " |";
  for (unsigned char byte : bytes) line += (byte >= 0x20 && byte < 0x7F) ? char(byte) : '.';
  line += '|';
  return line;
}
