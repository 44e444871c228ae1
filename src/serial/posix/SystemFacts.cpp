// What the dispatch log's header says about this machine: the kernel's name,
// release and version (uname) and the local date and time. Any thread.
#include <sys/utsname.h>

#include <ctime>

#include "serial/DispatchLog.h"

namespace vrl {

std::string LocalDateTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (::localtime_r(&now, &local) == nullptr) return {};
  char text[32];
  const size_t length = std::strftime(text, sizeof text, "%d/%m/%y, %H:%M:%S", &local);
  return std::string(text, length);
}

std::string SystemDescription() {
  utsname names{};
  if (::uname(&names) != 0) return "Unknown";
  return std::string(names.sysname) + " " + names.release + " " + names.version;
}

}  // namespace vrl
