// The presence probe: open the device without starting any worker, and close
// it again at once. A network output is never connected to: its URL is present.
#include "serial/ComPortPresent.h"

#include <system_error>

#include "serial/PlatformDispatcher.h"
#include "serial/ResultCodes.h"
#include "serial/net/PortUrl.h"

bool ComPortPresent(uint16_t number, const TPortMap& portMap) {
  if (number == 0) return false;
  const std::string devicePath = portMap.DevicePath(number);
  if (LooksLikeUrl(devicePath)) return ParsePortUrl(devicePath).has_value();
  std::unique_ptr<TVrlBaseDispatcher> dispatcher;
  try {
    dispatcher = CreatePlatformDispatcher(nullptr, devicePath);
  } catch (const std::system_error&) {
    // Without descriptors to spare nothing can be opened, present or not.
    return false;
  }
  const int32_t result = dispatcher->OpenDevice(devicePath);
  if (result == 0) {
    dispatcher->CloseDevice();
    return true;
  }
  // A port that is held, or that only other users may open, still exists.
  return result == vrl::kErrAccessDenied || IsPermissionRefusal(result);
}
