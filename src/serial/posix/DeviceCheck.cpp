// The device check before open. A character device counts as a terminal when
// sysfs files it under the tty subsystem; devices sysfs does not list (pty
// slaves) count when their major and minor numbers fall in a range that
// /proc/tty/drivers gives to a tty driver. Pty masters never count.
#include "serial/posix/DeviceCheck.h"

#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "serial/ResultCodes.h"
#include "serial/posix/SystemErrors.h"

namespace {

constexpr unsigned kTtyAuxMajor = 5;  // /dev/tty, /dev/console, /dev/ptmx
constexpr unsigned kControllingTerminalMinor = 0;
constexpr unsigned kConsoleMinor = 1;
constexpr unsigned kPtmxMinor = 2;
constexpr unsigned kVirtualConsoleMajor = 4;
constexpr unsigned kVirtualConsoleMinors = 64;

std::string ResolvedPath(const std::string& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string text(resolved);
  std::free(resolved);
  return text;
}

bool IsVirtualConsoleName(const std::string& path) {
  return path.rfind("/dev/tty", 0) == 0 && path.size() > 8 &&
         std::all_of(path.begin() + 8, path.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string SysfsLink(dev_t device, const char* below) {
  const std::string link = "/sys/dev/char/" + std::to_string(major(device)) + ":" +
                           std::to_string(minor(device)) + below;
  char target[512];
  const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
  return length > 0 ? std::string(target, static_cast<size_t>(length)) : std::string();
}

std::string LastComponent(const std::string& path) {
  return path.substr(path.find_last_of('/') + 1);
}

// Whatever the kernel lists as its active console, such as a serial console on ttyS0.
bool IsActiveConsole(dev_t device) {
  std::ifstream active("/sys/class/tty/console/active");
  std::string names;
  std::getline(active, names);
  if (names.empty()) return false;
  const std::string path = SysfsLink(device, "");
  if (path.empty()) return false;
  const std::string name = LastComponent(path);
  std::istringstream words(names);
  for (std::string word; words >> word;) {
    if (word == name) return true;
  }
  return false;
}

// Minors "a" or "a-b" of a /proc/tty/drivers line.
bool MinorInRange(const std::string& range, unsigned minorNumber) {
  const size_t dash = range.find('-');
  const unsigned long low = std::strtoul(range.c_str(), nullptr, 10);
  const unsigned long high =
      dash == std::string::npos ? low : std::strtoul(range.c_str() + dash + 1, nullptr, 10);
  return minorNumber >= low && minorNumber <= high;
}

// The type of the tty driver that /proc/tty/drivers gives the device number
// to ("serial", "pty:slave", ...), empty when no tty driver has it. False when
// the list cannot be read, with errno saying why.
bool ReadTtyDriverType(dev_t device, std::string& driverType) {
  driverType.clear();
  std::ifstream drivers("/proc/tty/drivers");
  if (!drivers) return false;
  for (std::string line; std::getline(drivers, line);) {
    std::istringstream fields(line);
    std::string name, node, range, type;
    unsigned majorNumber = 0;
    if (!(fields >> name >> node >> majorNumber >> range >> type)) continue;
    if (majorNumber == major(device) && MinorInRange(range, minor(device))) {
      driverType = type;
      break;
    }
  }
  return true;
}

int32_t CheckTerminalDevice(dev_t device) {
  std::string driverType;
  // Without the list (no descriptor left, say) the cause is what the user sees.
  if (!ReadTtyDriverType(device, driverType)) return vrl::SystemErrorToResult(errno);
  // Legacy pty masters are tty devices in sysfs, but nothing reads what is sent.
  if (driverType.rfind("pty:master", 0) == 0) return vrl::kErrNotATerminal;
  const std::string subsystem = SysfsLink(device, "/subsystem");
  const bool terminal = subsystem.empty() ? !driverType.empty() : LastComponent(subsystem) == "tty";
  return terminal ? 0 : vrl::kErrNotATerminal;
}

}  // namespace

namespace vrl {

int32_t CheckSerialDevice(const std::string& path, struct stat& status) {
  if (path.empty()) return kErrFileNotFound;
  if (::stat(path.c_str(), &status) != 0) return OpenErrorToResult(errno);
  if (!S_ISCHR(status.st_mode)) return kErrNotATerminal;

  // In a container the well-known names may stand for other devices, so the
  // names count as well as the numbers.
  const std::string resolved = ResolvedPath(path);
  const unsigned majorNumber = major(status.st_rdev);
  const unsigned minorNumber = minor(status.st_rdev);
  const bool auxiliary = majorNumber == kTtyAuxMajor;
  if (resolved == "/dev/tty" || (auxiliary && minorNumber == kControllingTerminalMinor)) {
    return kErrControllingTerminal;
  }
  if (resolved == "/dev/console" || IsVirtualConsoleName(resolved) ||
      (auxiliary && minorNumber == kConsoleMinor) ||
      (majorNumber == kVirtualConsoleMajor && minorNumber < kVirtualConsoleMinors) ||
      IsActiveConsole(status.st_rdev)) {
    return kErrSystemConsole;
  }
  // Opening the multiplexer creates a new pty master that nobody reads.
  if (resolved == "/dev/ptmx" || resolved == "/dev/pts/ptmx" ||
      (auxiliary && minorNumber == kPtmxMinor)) {
    return kErrNotATerminal;
  }
  return CheckTerminalDevice(status.st_rdev);
}

}  // namespace vrl
