// On POSIX systems ports are terminal devices driven by TVrlPosixDispatcher,
// or network outputs named by a URL, one dispatcher per scheme; the right to
// open terminals usually comes with membership of the "dialout" group.
#include "serial/PlatformDispatcher.h"

#include <cerrno>

#include "serial/ResultCodes.h"
#include "serial/net/PortUrl.h"
#include "serial/net/Rfc2217Dispatcher.h"
#include "serial/net/TcpDispatcher.h"
#include "serial/net/UdpDispatcher.h"
#include "serial/posix/PosixDispatcher.h"
#include "serial/posix/SystemErrors.h"

std::unique_ptr<TVrlBaseDispatcher> CreatePlatformDispatcher(TDispatcherOwner* owner,
                                                             const std::string& devicePath) {
  if (!LooksLikeUrl(devicePath)) return std::make_unique<TVrlPosixDispatcher>(owner);
  const std::optional<TPortUrl> url = ParsePortUrl(devicePath);
  if (url && url->Scheme == TPortScheme::Rfc2217) {
    return std::make_unique<TVrlRfc2217Dispatcher>(owner);
  }
  if (url && url->Scheme == TPortScheme::Udp) return std::make_unique<TVrlUdpDispatcher>(owner);
  // A URL of no accepted form is refused by the socket dispatcher's open,
  // with the accepted forms in its message.
  return std::make_unique<TVrlTcpDispatcher>(owner);
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
