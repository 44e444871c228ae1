// libFuzzer target: any byte string through the serial data decoder and the
// integer rule. A decoded text is never longer than its source.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/SerialData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (DecodeSerialData(text).size() > text.size()) __builtin_trap();
  ParseInteger(text);
  return 0;
}
