// termios2 access with BOTHER, kept apart because the kernel's terminal
// headers clash with the C library's <termios.h>. Any thread; the caller
// serialises access to the descriptor.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>

#include "serial/posix/LineTermios.h"

static_assert(sizeof(TLineTermios::ControlChars) == NCCS);

int GetLineTermios(int fd, TLineTermios& settings) {
  struct termios2 t {};
  if (::ioctl(fd, TCGETS2, &t) != 0) return -errno;
  settings.InputFlags = t.c_iflag;
  settings.OutputFlags = t.c_oflag;
  settings.ControlFlags = t.c_cflag & ~(CBAUD | (CBAUD << IBSHIFT));
  settings.LocalFlags = t.c_lflag;
  std::memcpy(settings.ControlChars, t.c_cc, NCCS);
  settings.Baud = t.c_ospeed;
  return 0;
}

int SetLineTermios(int fd, const TLineTermios& settings) {
  struct termios2 t {};
  if (::ioctl(fd, TCGETS2, &t) != 0) return -errno;
  t.c_iflag = settings.InputFlags;
  t.c_oflag = settings.OutputFlags;
  t.c_cflag = (settings.ControlFlags & ~(CBAUD | (CBAUD << IBSHIFT))) | BOTHER;
  t.c_lflag = settings.LocalFlags;
  std::memcpy(t.c_cc, settings.ControlChars, NCCS);
  t.c_ispeed = settings.Baud;
  t.c_ospeed = settings.Baud;
  if (::ioctl(fd, TCSETS2, &t) != 0) return -errno;
  return 0;
}
