#include "core/BurstFormat.h"

#include <cstdio>

std::string FormatBurstTime(const std::tm& localTime, int milliseconds) {
  char time[32];
  std::snprintf(time, sizeof time, "%02d:%02d:%02d.%03d", localTime.tm_hour, localTime.tm_min,
                localTime.tm_sec, milliseconds);
  return time;
}

std::string FormatBurstBytes(std::string_view bytes) {
  std::string line = std::to_string(bytes.size()) + (bytes.size() == 1 ? " byte  " : " bytes  ");
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

std::string FormatBurst(const std::tm& localTime, int milliseconds, std::string_view bytes) {
  return FormatBurstTime(localTime, milliseconds) + "  " + FormatBurstBytes(bytes);
}
