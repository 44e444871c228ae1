// Well-formedness check of UTF-8, by the byte ranges of RFC 3629.
#include "core/Utf8.h"

#include <cstdint>

bool IsValidUtf8(std::string_view bytes) {
  size_t pos = 0;
  const size_t end = bytes.size();
  auto at = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
  auto continuation = [&](size_t i, uint8_t low, uint8_t high) {
    return i < end && at(i) >= low && at(i) <= high;
  };
  while (pos < end) {
    const uint8_t lead = at(pos);
    size_t length = 0;
    if (lead < 0x80) {
      length = 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = continuation(pos + 1, 0x80, 0xBF) ? 2 : 0;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      // E0 excludes overlong forms, ED the surrogates.
      const uint8_t low = lead == 0xE0 ? 0xA0 : 0x80;
      const uint8_t high = lead == 0xED ? 0x9F : 0xBF;
      length = continuation(pos + 1, low, high) && continuation(pos + 2, 0x80, 0xBF) ? 3 : 0;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      // F0 excludes overlong forms, F4 code points above U+10FFFF.
      const uint8_t low = lead == 0xF0 ? 0x90 : 0x80;
      const uint8_t high = lead == 0xF4 ? 0x8F : 0xBF;
      length = continuation(pos + 1, low, high) && continuation(pos + 2, 0x80, 0xBF) &&
                       continuation(pos + 3, 0x80, 0xBF)
                   ? 4
                   : 0;
    }
    if (length == 0) return false;
    pos += length;
  }
  return true;
}
