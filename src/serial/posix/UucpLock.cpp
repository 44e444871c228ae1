// Reading UUCP lock files. The process id is stored either as text, padded
// with blanks and ended by a line break, or in the older binary form of four
// bytes in the machine's order; anything else names no process.
#include "serial/posix/UucpLock.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <set>

#include "serial/posix/UniqueFd.h"

namespace {

constexpr const char* kSystemLockFolder = "/var/lock";
constexpr size_t kLongestLockText = 64;

std::set<std::string> LockNames(const std::string& devicePath) {
  std::error_code error;
  std::filesystem::path node = std::filesystem::canonical(devicePath, error);
  if (error) node = devicePath;
  std::set<std::string> names{"LCK.." + node.filename().string()};
  const std::string text = node.string();
  if (text.rfind("/dev/", 0) == 0) {
    std::string below = text.substr(5);
    std::replace(below.begin(), below.end(), '/', '_');
    names.insert("LCK.." + below);
  }
  return names;
}

pid_t LockOwner(const std::filesystem::path& lockFile) {
  TUniqueFd fd(::open(lockFile.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW));
  if (!fd.Valid()) return 0;
  char bytes[kLongestLockText];
  ssize_t got;
  do {
    got = ::read(fd.Get(), bytes, sizeof bytes);
  } while (got < 0 && errno == EINTR);
  if (got <= 0) return 0;
  return vrl::UucpLockOwner(std::string_view(bytes, static_cast<size_t>(got)));
}

bool IsLiveOtherProcess(pid_t pid) {
  if (pid <= 0 || pid == ::getpid()) return false;
  // EPERM: the process exists but belongs to another user.
  return ::kill(pid, 0) == 0 || errno == EPERM;
}

}  // namespace

namespace vrl {

pid_t UucpLockOwner(std::string_view content) {
  const size_t first = content.find_first_not_of(' ');
  if (first != std::string_view::npos && content[first] >= '0' && content[first] <= '9') {
    pid_t pid = 0;
    const char* const last = content.data() + content.size();
    const auto [end, failure] = std::from_chars(content.data() + first, last, pid);
    const bool ended = end == last || *end == '\n';
    // Four bytes are the binary form unless they are wholly a number with its
    // line break: a binary id's low byte may well be a blank or a digit.
    const bool whole = end == last || (end + 1 == last && *end == '\n');
    if (failure == std::errc() && ended && (whole || content.size() != sizeof(int32_t))) {
      return pid;
    }
  }
  if (content.size() == sizeof(int32_t)) {
    int32_t pid = 0;
    std::memcpy(&pid, content.data(), sizeof pid);
    return pid;
  }
  return 0;
}

bool HeldByUucpLock(const std::string& devicePath, const std::filesystem::path& lockFolder) {
  for (const std::string& name : LockNames(devicePath)) {
    if (IsLiveOtherProcess(LockOwner(lockFolder / name))) return true;
  }
  return false;
}

bool HeldByUucpLock(const std::string& devicePath) {
  return HeldByUucpLock(devicePath, kSystemLockFolder);
}

}  // namespace vrl
