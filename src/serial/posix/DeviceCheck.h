// Decides from a device path alone, before anything opens it, whether it names a
// serial terminal that may be opened: only a tty driver's character device, never
// a pty master, the controlling terminal or the system console. Opening some
// devices has effects of its own (a watchdog arms, a pty master is created), so
// nothing is opened to find out. Pure apart from reading the file system; any thread.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>

namespace vrl {

// 0 when the path may be opened, with the node's status in status; otherwise the
// result code of the refusal: absent (-2, -3), kErrNotATerminal,
// kErrSystemConsole or kErrControllingTerminal.
int32_t CheckSerialDevice(const std::string& path, struct stat& status);

}  // namespace vrl
