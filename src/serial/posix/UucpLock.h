// UUCP lock files: programs that do not lock the tty itself (minicom, screen,
// Qt programs) mark a port as theirs with a file LCK..NAME in /var/lock that
// holds their process id. Read only: a lock of a live process means the port
// is in use; one whose process is gone is stale and ignored. Any thread.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace vrl {

// The process id a lock file's content names, or 0 when it names none.
pid_t UucpLockOwner(std::string_view content);

// Whether a live process other than this one holds a lock file for the device
// in lockFolder. The device counts under the name of the node its path leads
// to ("ttyUSB0" for a /dev/serial/by-id link) and, below /dev, under its path
// with "/" written "_" ("pts_3").
bool HeldByUucpLock(const std::string& devicePath, const std::filesystem::path& lockFolder);
// The same in the system's lock folder.
bool HeldByUucpLock(const std::string& devicePath);

}  // namespace vrl
