// The platform's message for an error number, used where the layer's own
// table has no row. Reads only constant C library tables; any thread.
#include <cstring>

#include "serial/SerialErrors.h"

namespace vrl {

std::string SystemMessageText(int32_t errorNumber) {
  // Codes of the platform range carry the error number above the base.
  if (errorNumber > kPlatformErrorBase && errorNumber <= kPlatformErrorLimit) {
    errorNumber -= kPlatformErrorBase;
  }
  if (errorNumber <= 0) return {};
  const char* text = strerrordesc_np(errorNumber);
  return text != nullptr ? std::string(text) : std::string();
}

}  // namespace vrl
