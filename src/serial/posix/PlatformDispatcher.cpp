// On POSIX systems ports are terminal devices driven by TVrlPosixDispatcher;
// the right to open them usually comes with membership of the "dialout" group.
#include "serial/PlatformDispatcher.h"

#include <cerrno>

#include "serial/ResultCodes.h"
#include "serial/posix/PosixDispatcher.h"
#include "serial/posix/SystemErrors.h"

std::unique_ptr<TVrlBaseDispatcher> CreatePlatformDispatcher(TDispatcherOwner* owner) {
  return std::make_unique<TVrlPosixDispatcher>(owner);
}

bool IsPermissionRefusal(int32_t result) {
  return result == vrl::PlatformErrorCode(EACCES) || result == vrl::PlatformErrorCode(EPERM);
}

std::string PermissionRefusalText(const std::string& devicePath) {
  return "Permission denied: this user may not open " + devicePath +
         ". Serial devices are usually open to members of the \"dialout\" group: add the user "
         "to it (for example: sudo usermod -aG dialout $USER) and log in again.";
}

int32_t SystemErrorResult(int errorNumber) { return vrl::SystemErrorToResult(errorNumber); }
