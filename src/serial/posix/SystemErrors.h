// Maps operating-system error numbers to the serial layer's result codes, so
// that the component sees "absent" and "in use" where it looks for them and
// every other failure keeps a text that names its cause. Pure; any thread.
#pragma once

#include <cstdint>

namespace vrl {

// For opening a device: absent hardware reads as "file not found".
int32_t OpenErrorToResult(int errorNumber);
// For any other call.
int32_t SystemErrorToResult(int errorNumber);

}  // namespace vrl
