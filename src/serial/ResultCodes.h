// Result codes of the serial layer: 0 for success, negative for a failure.
// Plain constants shared by every thread; nothing here has state.
#pragma once

#include <cstdint>

namespace vrl {

// Operating-system conditions the port component interprets itself.
constexpr int32_t kErrFileNotFound = -2;  // device absent
constexpr int32_t kErrPathNotFound = -3;  // device absent
constexpr int32_t kErrAccessDenied = -5;  // device in use
constexpr int32_t kErrOutOfMemory = -8;
constexpr int32_t kErrDeviceWrite = -160;
constexpr int32_t kErrDeviceRead = -161;

constexpr int32_t kErrBadHandle = -1001;
constexpr int32_t kErrBadArgument = -1002;
constexpr int32_t kErrBadId = -2001;
constexpr int32_t kErrCommNotOpen = -2007;
constexpr int32_t kErrAlreadyOpen = -2008;
constexpr int32_t kErrNoPortSelected = -2011;
constexpr int32_t kErrNullApi = -3001;
constexpr int32_t kErrOutputBufferTooSmall = -3006;
constexpr int32_t kErrBaseAddressNotSet = -3010;
constexpr int32_t kErrNoMemory = -13868;

// Device refusals of this platform's backend, with rows of their own so that
// the message names the cause.
constexpr int32_t kErrNotATerminal = -1050;
constexpr int32_t kErrSystemConsole = -1051;
constexpr int32_t kErrControllingTerminal = -1052;

// Any other operating-system error number e is reported as
// -(kPlatformErrorBase + e), so that its text is the platform's own and never
// a table row that happens to share the number.
constexpr int32_t kPlatformErrorBase = 1100;
constexpr int32_t kPlatformErrorLimit = 1999;

constexpr int32_t PlatformErrorCode(int errorNumber) { return -(kPlatformErrorBase + errorNumber); }

}  // namespace vrl
