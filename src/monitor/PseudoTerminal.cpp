#include "monitor/PseudoTerminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace {

[[noreturn]] void ThrowErrno(const char* call) {
  throw std::system_error(errno, std::generic_category(), call);
}

}  // namespace

TPseudoTerminal::TPseudoTerminal() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) ThrowErrno("posix_openpt()");
  try {
    if (grantpt(master_) != 0) ThrowErrno("grantpt()");
    if (unlockpt(master_) != 0) ThrowErrno("unlockpt()");
    char name[128];
    if (int error = ptsname_r(master_, name, sizeof name); error != 0) {
      errno = error;
      ThrowErrno("ptsname_r()");
    }
    slavePath_ = name;
    slave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) ThrowErrno("open() of the pseudo-terminal");
    // Raw mode, so that every byte the panel sends arrives unchanged.
    termios settings{};
    if (tcgetattr(slave_, &settings) != 0) ThrowErrno("tcgetattr()");
    cfmakeraw(&settings);
    if (tcsetattr(slave_, TCSANOW, &settings) != 0) ThrowErrno("tcsetattr()");
  } catch (...) {
    if (slave_ >= 0) close(slave_);
    close(master_);
    throw;
  }
}

TPseudoTerminal::~TPseudoTerminal() {
  close(slave_);
  close(master_);
}
