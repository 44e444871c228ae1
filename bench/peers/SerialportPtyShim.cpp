// The least that lets libserialport open a pseudo-terminal. Linked into the
// benchmark, these definitions come before the C library's for every caller
// in the process; all but libserialport's own calls pass straight through.
//  - Looking a port up, it wants the tty's sysfs entry and its device link;
//    /sys/class/tty has none for pseudo-terminals, so for "pts/N" the entry is
//    reported as a directory and the link as a virtual device.
//  - Opening, it reads and sets the modem lines, which a pseudo-terminal
//    refuses with ENOTTY; for libserialport's calls only, that refusal reads
//    as success with DTR and RTS up.
#include <dlfcn.h>
#include <link.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstring>

namespace {

constexpr char kPtsEntry[] = "/sys/class/tty/pts/";
constexpr char kVirtualDevice[] = "../../../devices/virtual/pty";

bool IsPtsEntry(const char* path) {
  return path != nullptr && std::strncmp(path, kPtsEntry, sizeof kPtsEntry - 1) == 0;
}

template <typename TFunction>
TFunction Next(const char* name) {
  return reinterpret_cast<TFunction>(::dlsym(RTLD_NEXT, name));
}

struct TCodeRange {
  uintptr_t Begin = 0;
  uintptr_t End = 0;
};

// Where libserialport's code lies, found once.
const TCodeRange& SerialportCode() {
  static const TCodeRange range = [] {
    TCodeRange found;
    ::dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
          if (info->dlpi_name == nullptr ||
              std::strstr(info->dlpi_name, "libserialport") == nullptr) {
            return 0;
          }
          auto* range = static_cast<TCodeRange*>(data);
          for (int i = 0; i < info->dlpi_phnum; ++i) {
            const ElfW(Phdr)& segment = info->dlpi_phdr[i];
            if (segment.p_type != PT_LOAD || (segment.p_flags & PF_X) == 0) continue;
            range->Begin = info->dlpi_addr + segment.p_vaddr;
            range->End = range->Begin + segment.p_memsz;
          }
          return 1;
        },
        &found);
    return found;
  }();
  return range;
}

bool IsModemLineRequest(unsigned long request) {
  return request == TIOCMGET || request == TIOCMSET || request == TIOCMBIS || request == TIOCMBIC;
}

}  // namespace

extern "C" {

// libserialport looks the sysfs entry up through the old stat entry point.
int __lxstat(int version, const char* path, struct stat* status) {
  static const auto next = Next<int (*)(int, const char*, struct stat*)>("__lxstat");
  if (IsPtsEntry(path)) {
    std::memset(status, 0, sizeof *status);
    status->st_mode = S_IFDIR | 0755;
    return 0;
  }
  return next(version, path, status);
}

ssize_t readlink(const char* path, char* buffer, size_t size) noexcept {
  static const auto next = Next<ssize_t (*)(const char*, char*, size_t)>("readlink");
  if (IsPtsEntry(path)) {
    const size_t length = std::min(size, sizeof kVirtualDevice - 1);
    std::memcpy(buffer, kVirtualDevice, length);
    return static_cast<ssize_t>(length);
  }
  return next(path, buffer, size);
}

int ioctl(int fd, unsigned long request, ...) noexcept {
  static const auto next = Next<int (*)(int, unsigned long, ...)>("ioctl");
  va_list arguments;
  va_start(arguments, request);
  void* argument = va_arg(arguments, void*);
  va_end(arguments);
  const int result = next(fd, request, argument);
  if (result == 0 || errno != ENOTTY || !IsModemLineRequest(request)) return result;
  const auto caller = reinterpret_cast<uintptr_t>(__builtin_return_address(0));
  const TCodeRange& code = SerialportCode();
  if (caller < code.Begin || caller >= code.End) return result;
  if (request == TIOCMGET) *static_cast<int*>(argument) = TIOCM_DTR | TIOCM_RTS;
  return 0;
}
}
