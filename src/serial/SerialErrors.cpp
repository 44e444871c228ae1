// Message table, ErrorMessageFor and CheckResult. The table is constant and
// read-only, so every function here may run on any thread.
#include "serial/SerialErrors.h"

#include <array>
#include <cstdlib>
#include <string_view>

namespace {

struct TMessageRow {
  int32_t code;
  std::string_view text;
};

// Sorted by ascending magnitude; no two rows share a magnitude.
constexpr std::array kMessageTable = std::to_array<TMessageRow>({
    {0, "OK"},
    {-2, "File not found"},
    {-3, "Path not found"},
    {-4, "Too many open files"},
    {-5, "File access denied"},
    {-6, "Invalid file handle"},
    {-8, "Insufficient memory"},
    {-15, "Invalid drive"},
    {-18, "No more files"},
    {-100, "Attempt to read beyond end of file"},
    {-101, "Disk is full"},
    {-102, "File/device not assigned"},
    {-103, "File/device not open"},
    {-104, "File/device not open for input"},
    {-105, "File/device not open for output"},
    {-150, "Disk is write-protected"},
    {-151, "Unknown disk unit"},
    {-152, "Drive is not ready"},
    {-153, "Unknown command"},
    {-154, "Data error"},
    {-155, "Bad request structure length"},
    {-156, "Seek error"},
    {-157, "Unknown media type"},
    {-158, "Disk sector not found"},
    {-159, "Printer is out of paper"},
    {-160, "Device write error"},
    {-161, "Device read error"},
    {-162, "General failure"},
    {-1001, "Bad handle passed to com function"},
    {-1002, "Bad argument passed to function"},
    {-1003, "Got quit message"},
    {-1004, "Terminal buffer greater than 65521"},
    {-1005, "ComPort component not assigned"},
    {-1006, "Internal error creating window class"},
    {-1007, "Modem component not assigned"},
    {-1008, "Phonebook component not assigned"},
    {-1009, "Component not compatible with WinSock"},
    {-1050, "Not a serial device: only terminal character devices can be opened"},
    {-1051, "The device is the active system console and is never opened"},
    {-1052,
     "The device is the controlling terminal of this program (/dev/tty), not a serial port, "
     "and is never opened"},
    {-2001, "ie_BadId - Specified comport doesn't exist"},
    {-2002, "ie_Baudrate - unsupported baud rate"},
    {-2003, "ie_Bytesize - invalid byte size"},
    {-2004, "ie_Default - error in default parameters"},
    {-2005, "ie_Hardware - Specified comport in use"},
    {-2006, "ie_Memory - unable to allocate queues"},
    {-2007, "ie_NOpen - device not open"},
    {-2008, "ie_Open - device already open"},
    {-2009, "No more handles, can't open port"},
    {-2010, "No timers available"},
    {-2011, "The ComNumber property of the TVrlComPort has not been set"},
    {-2012, "Comport was not opened by Tapi"},
    {-3001, "No device layer specified"},
    {-3002, "Function not supported by driver"},
    {-3003, "EnableCommNotification failed"},
    {-3004, "Failed to put entire block"},
    {-3005, "Failed to get entire block"},
    {-3006, "Output buffer too small for block"},
    {-3007, "Buffer is empty"},
    {-3008, "Tracing not enabled"},
    {-3009, "Logging not enabled"},
    {-3010, "Base address not set"},
    {-13868, "No memory"},
});

int32_t Magnitude(int32_t code) { return code < 0 ? -code : code; }

// (low + high) / 2 rounded to the nearest integer, halves to the even neighbour.
int32_t Middle(int32_t low, int32_t high) {
  const int32_t sum = low + high;
  if (sum % 2 == 0) return sum / 2;
  const int32_t below = sum / 2;
  return below % 2 == 0 ? below : below + 1;
}

const std::string_view* FindRow(int16_t key) {
  int32_t low = 0;
  int32_t high = static_cast<int32_t>(kMessageTable.size()) - 1;
  while (high >= low) {
    const int32_t middle = Middle(low, high);
    const int32_t magnitude = Magnitude(kMessageTable[middle].code);
    if (magnitude == key) return &kMessageTable[middle].text;
    if (magnitude > key) {
      high = middle - 1;
    } else {
      low = middle + 1;
    }
  }
  return nullptr;
}

template <class E>
[[noreturn]] void Raise(int32_t code) {
  throw E(code);
}

// Raises the class that code selects; returns when it selects none.
void RaiseSelectedClass(int32_t code) {
  switch (code) {
#define VRL_CASE(value, Name, Parent) \
  case value:                         \
    Raise<Name>(code);
    VRL_CODE_CLASSES(VRL_CASE)
#undef VRL_CASE
#define VRL_CASE(value, Name) \
  case value:                 \
    Raise<Name>(code);
    VRL_TAPI_CLASSES(VRL_CASE)
#undef VRL_CASE
    case -6006:
    case -6008:
    case -6009:
      Raise<EProtocol>(code);
    case -7003:
    case -7006:
    case -7012:
      Raise<EInternal>(code);
    default:
      return;
  }
}

}  // namespace

EVrlException::EVrlException(int32_t code, bool)
    : std::runtime_error(ErrorMessageFor(code)), code_(code) {}

EVrlException::EVrlException(const std::string& text) : std::runtime_error(text) {}

namespace vrl {

std::string FoldSystemText(const std::string& text) {
  std::string folded;
  folded.reserve(text.size());
  for (const char c : text) {
    const char blankOrChar = static_cast<unsigned char>(c) < 32 ? ' ' : c;
    if (blankOrChar == ' ' && !folded.empty() && folded.back() == ' ') continue;
    folded.push_back(blankOrChar);
  }
  return folded;
}

}  // namespace vrl

std::string ErrorMessageFor(int32_t code) {
  const int64_t magnitude = code < 0 ? -static_cast<int64_t>(code) : code;
  const auto key = static_cast<int16_t>(static_cast<uint16_t>(magnitude & 0xFFFF));
  if (const std::string_view* text = FindRow(key)) return std::string(*text);
  std::string system = vrl::FoldSystemText(vrl::SystemMessageText(key));
  if (system.size() > 255) system.resize(255);
  return system;
}

int32_t CheckResult(bool loading, int32_t code) {
  if (code >= 0 || loading) return code;
  RaiseSelectedClass(code);
  if (code >= -162 && code <= -2) {
    if (code == vrl::kErrOutOfMemory) throw EOutOfMemory();
    throw EInOutError(ErrorMessageFor(code), -code);
  }
  // The platform's own refusals and error numbers keep a text that names the
  // cause instead of the generic one.
  if (code == vrl::kErrNotATerminal || code == vrl::kErrSystemConsole ||
      code == vrl::kErrControllingTerminal) {
    throw EVrlException(code);
  }
  if (code < -vrl::kPlatformErrorBase && code >= -vrl::kPlatformErrorLimit) {
    throw EInOutError(ErrorMessageFor(code), -code - vrl::kPlatformErrorBase);
  }
  throw EVrlException::FromText("Vrel exception");
}
