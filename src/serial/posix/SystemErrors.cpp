// Operating-system errors to result codes, in one place.
#include "serial/posix/SystemErrors.h"

#include <cerrno>

#include "serial/ResultCodes.h"

namespace vrl {

int32_t SystemErrorToResult(int errorNumber) {
  switch (errorNumber) {
    case 0:
      return 0;
    case ENOENT:
      return kErrFileNotFound;
    case ENOTDIR:
      return kErrPathNotFound;
    case EBUSY:
    case EWOULDBLOCK:
      return kErrAccessDenied;
    case ENOMEM:
      return kErrOutOfMemory;
    case EMFILE:
    case ENFILE:
      return -4;  // "Too many open files"
    default:
      return PlatformErrorCode(errorNumber);
  }
}

int32_t OpenErrorToResult(int errorNumber) {
  switch (errorNumber) {
    case ENXIO:
    case ENODEV:
    case EIO:  // a serial port node without hardware behind it
      return kErrFileNotFound;
    default:
      return SystemErrorToResult(errorNumber);
  }
}

}  // namespace vrl
