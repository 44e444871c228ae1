// Device primitives of the POSIX dispatcher. Descriptor calls of the main
// thread run under the dispatcher lock; the workers use the descriptor without
// it, which is safe because the descriptor is closed only after they ended.
#include "serial/posix/PosixDispatcher.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "serial/ResultCodes.h"
#include "serial/posix/DeviceCheck.h"
#include "serial/posix/SystemErrors.h"
#include "serial/posix/UucpLock.h"

namespace {

bool NoModemLines(int errorNumber) { return errorNumber == ENOTTY || errorNumber == EINVAL; }

int WaitMilliseconds(uint32_t baud, uint64_t characters) {
  const uint64_t rate = std::max<uint32_t>(baud, 1);
  const uint64_t ms = (characters * 10 * 1000 + rate - 1) / rate;
  return static_cast<int>(std::clamp<uint64_t>(ms, 1, 1000));
}

}  // namespace

TVrlPosixDispatcher::THandshakes TVrlPosixDispatcher::HandshakesOf(const TDeviceControlBlock& dcb) {
  using namespace vrl::dcb;
  THandshakes handshakes;
  handshakes.dtr = (dcb.Flags & kDtrControlMask) == kDtrControlHandshake;
  handshakes.rts = (dcb.Flags & kRtsControlMask) == kRtsControlHandshake;
  handshakes.requireDsr = (dcb.Flags & kOutxDsrFlow) != 0;
  handshakes.requireCts = (dcb.Flags & kOutxCtsFlow) != 0;
  handshakes.kernelRtsCts = handshakes.rts && handshakes.requireCts;
  return handshakes;
}

TVrlPosixDispatcher::TVrlPosixDispatcher(TDispatcherOwner* owner) : TVrlBaseDispatcher(owner) {}

int TVrlPosixDispatcher::DeviceIoctl(int fd, unsigned long request, void* argument) {
  return ::ioctl(fd, request, argument);
}

TVrlPosixDispatcher::~TVrlPosixDispatcher() { DestroyPort(); }

int32_t TVrlPosixDispatcher::OpenDevice(const std::string& deviceName) {
  std::lock_guard guard(DispatcherLock());
  if (device_.Valid()) return vrl::kErrAccessDenied;
  struct stat before {};
  if (const int32_t refused = vrl::CheckSerialDevice(deviceName, before); refused != 0) {
    return refused;
  }
  if (vrl::HeldByUucpLock(deviceName)) return vrl::kErrAccessDenied;

  int raw;
  do {
    raw = ::open(deviceName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  } while (raw < 0 && errno == EINTR);
  if (raw < 0) return vrl::OpenErrorToResult(errno);
  TUniqueFd fd(raw);

  // The node may have been replaced between stat and open.
  struct stat opened {};
  if (::fstat(fd.Get(), &opened) != 0 || !S_ISCHR(opened.st_mode) ||
      opened.st_rdev != before.st_rdev || !::isatty(fd.Get())) {
    return vrl::kErrNotATerminal;
  }
  // Another holder's exclusive mark does not stop root; it counts as in use.
  int exclusive = 0;
  if (::ioctl(fd.Get(), TIOCGEXCL, &exclusive) == 0 && exclusive != 0) {
    return vrl::kErrAccessDenied;
  }
  // The lock is what other programs honour too.
  int locked;
  do {
    locked = ::flock(fd.Get(), LOCK_EX | LOCK_NB);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) return vrl::SystemErrorToResult(errno);

  if (const int got = GetLineTermios(fd.Get(), termios_); got != 0) {
    return vrl::SystemErrorToResult(-got);
  }
  kept_ = TermiosToDcb(termios_, TDeviceControlBlock{});
  int lines = 0;
  hasModemLines_ = DeviceIoctl(fd.Get(), TIOCMGET, &lines) == 0;
  statusModemBits_ = 0;
  // The driver switches the transmitter itself only if it accepts its own
  // RS485 settings back.
  struct serial_rs485 rs485 {};
  kernelRs485_ = DeviceIoctl(fd.Get(), TIOCGRS485, &rs485) == 0 &&
                 DeviceIoctl(fd.Get(), TIOCSRS485, &rs485) == 0;
  // Last, so that nothing above can fail with the mark left behind.
  if (::ioctl(fd.Get(), TIOCEXCL) != 0) {
    return errno == EBUSY ? vrl::kErrAccessDenied : vrl::SystemErrorToResult(errno);
  }
  device_ = std::move(fd);
  fd_ = device_.Get();
  errorCounters_ = {};
  ReadCounters(errorCounters_);
  statusCounters_ = errorCounters_;
  return 0;
}

int32_t TVrlPosixDispatcher::CloseDeviceHandle() {
  // Pending output would make close() wait for the line to drain; the
  // exclusive mark would outlive us while another descriptor holds the tty.
  ::tcflush(device_.Get(), TCOFLUSH);
  ::ioctl(device_.Get(), TIOCNXCL);
  fd_ = -1;
  return device_.Reset() == 0 ? 0 : -1;
}

uint32_t TVrlPosixDispatcher::DeviceOutputQueued() {
  int queued = 0;
  if (DeviceIoctl(device_.Get(), TIOCOUTQ, &queued) != 0 || queued < 0) return 0;
  return static_cast<uint32_t>(queued);
}

int32_t TVrlPosixDispatcher::DeviceEscape(int32_t code) {
  int bits = 0;
  unsigned long request = TIOCMBIS;
  switch (code) {
    case kSetDtr:
      bits = TIOCM_DTR;
      break;
    case kClrDtr:
      bits = TIOCM_DTR;
      request = TIOCMBIC;
      break;
    case kSetRts:
      bits = TIOCM_RTS;
      break;
    case kClrRts:
      bits = TIOCM_RTS;
      request = TIOCMBIC;
      break;
    default:
      return vrl::kErrBadArgument;
  }
  // A device without modem lines (a pseudo-terminal) has nothing to drive.
  if (!hasModemLines_) return 0;
  if (DeviceIoctl(device_.Get(), request, &bits) == 0 || NoModemLines(errno)) return 0;
  return vrl::SystemErrorToResult(errno);
}

int32_t TVrlPosixDispatcher::DevicePurge(int which) {
  if (::tcflush(device_.Get(), which == 0 ? TCOFLUSH : TCIFLUSH) == 0) return 0;
  return vrl::SystemErrorToResult(errno);
}

bool TVrlPosixDispatcher::ReadCounters(TCounters& counters) const {
  struct serial_icounter_struct icount {};
  if (::ioctl(device_.Get(), TIOCGICOUNT, &icount) != 0) return false;
  counters = {icount.cts,     icount.dsr,    icount.rng, icount.dcd,        icount.frame,
              icount.overrun, icount.parity, icount.brk, icount.buf_overrun};
  return true;
}

int32_t TVrlPosixDispatcher::DeviceErrors() {
  TCounters now;
  if (!ReadCounters(now)) return 0;
  int32_t errors = 0;
  if (now.bufOverrun != errorCounters_.bufOverrun) errors |= 0x01;
  if (now.overrun != errorCounters_.overrun) errors |= 0x02;
  if (now.parity != errorCounters_.parity) errors |= 0x04;
  if (now.frame != errorCounters_.frame) errors |= 0x08;
  if (now.brk != errorCounters_.brk) errors |= 0x10;
  errorCounters_ = now;
  return errors;
}

int32_t TVrlPosixDispatcher::ReadDeviceState(TDeviceControlBlock& dcb) {
  // A pseudo-terminal silently keeps other settings than it was given, so the
  // block last written stands for the device's state.
  dcb = kept_;
  return 0;
}

int32_t TVrlPosixDispatcher::WriteDeviceState(const TDeviceControlBlock& dcb) {
  const TLineTermios wanted = DcbToTermios(dcb, termios_);
  // Settings applied anew with nothing changed (an open applies every one of
  // them, one after another) need not reach the driver again.
  if (!(wanted == termios_)) {
    if (const int set = SetLineTermios(device_.Get(), wanted); set != 0) {
      return vrl::SystemErrorToResult(-set);
    }
    termios_ = wanted;
  }
  // termios has no DTR/DSR handshake, and its CRTSCTS couples throttling on
  // RTS with gating on CTS; each half asked for alone is emulated. The read
  // thread takes bytes from the driver as they arrive while it has room for
  // them, so a receive handshake keeps its line raised; a transmit handshake holds output while
  // its line is low (see DeviceWrite).
  const THandshakes handshakes = HandshakesOf(dcb);
  int raise = 0;
  if (handshakes.dtr) raise |= TIOCM_DTR;
  if (handshakes.rts) raise |= TIOCM_RTS;
  if (raise != 0 && DeviceIoctl(device_.Get(), TIOCMBIS, &raise) != 0 && !NoModemLines(errno)) {
    return vrl::SystemErrorToResult(errno);
  }
  requireDsr_ = handshakes.requireDsr;
  requireCts_ = handshakes.requireCts && !handshakes.kernelRtsCts;
  if (kernelRs485_) {
    struct serial_rs485 rs485 {};
    if (DeviceIoctl(device_.Get(), TIOCGRS485, &rs485) == 0) {
      const bool toggle = (dcb.Flags & vrl::dcb::kRtsControlMask) == vrl::dcb::kRtsControlToggle;
      rs485.flags &= ~(SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND | SER_RS485_RTS_AFTER_SEND);
      if (toggle) rs485.flags |= SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND;
      if (DeviceIoctl(device_.Get(), TIOCSRS485, &rs485) != 0) {
        return vrl::SystemErrorToResult(errno);
      }
    }
  }
  kept_ = dcb;
  return 0;
}

int32_t TVrlPosixDispatcher::DeviceSetBufferSizes(uint32_t, uint32_t) {
  // The tty layer sizes its own buffers; there is nothing to ask for.
  return 0;
}

uint8_t TVrlPosixDispatcher::DeviceModemStatus() {
  // The dispatch thread asks after every batch of input; a device without
  // modem lines has nothing to tell.
  if (!hasModemLines_) return 0;
  int lines = 0;
  if (DeviceIoctl(device_.Get(), TIOCMGET, &lines) != 0) return 0;
  uint8_t status = 0;
  if (lines & TIOCM_CTS) status |= 0x10;
  if (lines & TIOCM_DSR) status |= 0x20;
  if (lines & TIOCM_RNG) status |= 0x40;
  if (lines & TIOCM_CD) status |= 0x80;
  return status;
}

int32_t TVrlPosixDispatcher::WaitInput() {
  return WaitForInput(fd_.load(), ReadEvent(), KillEvent());
}

int32_t TVrlPosixDispatcher::DeviceRead(uint8_t* buffer, int32_t size) {
  for (;;) {
    const ssize_t n = ::read(fd_.load(), buffer, static_cast<size_t>(size));
    if (n > 0) return static_cast<int32_t>(n);
    if (n == 0) return vrl::kErrDeviceRead;
    if (errno == EINTR) continue;
    if (errno != EAGAIN) return vrl::kErrDeviceRead;
    // Nothing waiting: a hung-up device must not look idle.
    pollfd entry{fd_.load(), POLLIN, 0};
    if (::poll(&entry, 1, 0) > 0 && (entry.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0 &&
        (entry.revents & POLLIN) == 0) {
      return vrl::kErrDeviceRead;
    }
    return 0;
  }
}

int32_t TVrlPosixDispatcher::WaitForInputRoom() {
  // No events asked of the device: its input stays in the driver, and poll()
  // still reports a hang-up or an error, so an unplugged device is noticed.
  const TDeviceWait seen = WaitOnDevice(fd_.load(), 0, &InputRoomEvent(), KillEvent());
  if (seen.failed) return vrl::kErrDeviceRead;
  if (seen.killed) return 0;
  return (seen.device & (POLLHUP | POLLERR | POLLNVAL)) != 0 ? vrl::kErrDeviceRead : 0;
}

int32_t TVrlPosixDispatcher::WaitForModemLines() {
  while ((requireDsr_ || requireCts_) && hasModemLines_) {
    int lines = 0;
    if (DeviceIoctl(fd_.load(), TIOCMGET, &lines) != 0) return 0;
    const bool held =
        (requireDsr_ && (lines & TIOCM_DSR) == 0) || (requireCts_ && (lines & TIOCM_CTS) == 0);
    if (!held) return 0;
    // These changes are not announced; look ten times a second.
    const int which =
        TEvent::WaitAny({&OutputAbortEvent(), &KillEvent()}, std::chrono::milliseconds(100));
    if (which >= 0) return -1;
  }
  return 0;
}

int32_t TVrlPosixDispatcher::DeviceWrite(const uint8_t* data, int32_t size) {
  const int fd = fd_.load();
  int32_t done = 0;
  while (done < size) {
    if (WaitForModemLines() != 0) return -1;
    const ssize_t n = ::write(fd, data + done, static_cast<size_t>(size - done));
    if (n > 0) {
      done += static_cast<int32_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return vrl::kErrDeviceWrite;
    const TDeviceWait seen = WaitOnDevice(fd, POLLOUT, &OutputAbortEvent(), KillEvent());
    if (seen.failed) return vrl::kErrDeviceWrite;
    if (seen.woken || seen.killed) return -1;
    if ((seen.device & POLLOUT) == 0 && (seen.device & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
      return vrl::kErrDeviceWrite;
    }
  }
  return 0;
}

bool TVrlPosixDispatcher::WaitTransmitterEmpty(uint32_t baud) {
  const int fd = fd_.load();
  // First the driver's queue, waiting as long as its bytes need on the wire;
  // then the shift register, one character time per look. Never a busy loop,
  // and an output abort or a kill ends either wait at once.
  auto interrupted = [this](int milliseconds) {
    return TEvent::WaitAny({&OutputAbortEvent(), &KillEvent()},
                           std::chrono::milliseconds(milliseconds)) >= 0;
  };
  for (;;) {
    int queued = 0;
    if (DeviceIoctl(fd, TIOCOUTQ, &queued) != 0 || queued <= 0) break;
    if (interrupted(WaitMilliseconds(baud, static_cast<uint64_t>(queued)))) return false;
  }
  for (;;) {
    unsigned int lineStatus = 0;
    if (DeviceIoctl(fd, TIOCSERGETLSR, &lineStatus) != 0) break;
    if ((lineStatus & TIOCSER_TEMT) != 0) return true;
    if (interrupted(WaitMilliseconds(baud, 1))) return false;
  }
  // The driver cannot say: let it wait for its hardware (tcdrain). Its queue
  // is empty by now, so only the FIFO, the shift register or an adapter's own
  // buffer remain, and no output that waits for a reader or for flow control.
  DeviceIoctl(fd, TCSBRK, reinterpret_cast<void*>(uintptr_t{1}));
  return true;
}

int32_t TVrlPosixDispatcher::WaitStatusEvent(uint32_t& events) {
  events = 0;
  // Without modem lines (a pseudo-terminal) there is nothing to watch: sleep
  // until the port closes. Otherwise look ten times a second.
  if (!hasModemLines_) {
    KillEvent().Wait(std::chrono::milliseconds(-1));
    return 0;
  }
  if (KillEvent().Wait(std::chrono::milliseconds(100))) return 0;
  const int fd = fd_.load();
  int lines = 0;
  if (DeviceIoctl(fd, TIOCMGET, &lines) != 0) return NoModemLines(errno) ? 0 : vrl::kErrDeviceRead;
  uint8_t bits = 0;
  if (lines & TIOCM_CTS) bits |= 0x10;
  if (lines & TIOCM_DSR) bits |= 0x20;
  if (lines & TIOCM_RNG) bits |= 0x40;
  if (lines & TIOCM_CD) bits |= 0x80;
  const uint8_t changed = bits ^ statusModemBits_;
  if (changed & 0x10) events |= kEvCts;
  if (changed & 0x20) events |= kEvDsr;
  if (changed & 0x80) events |= kEvRlsd;
  if ((statusModemBits_ & 0x40) && !(bits & 0x40)) events |= kEvRing;
  statusModemBits_ = bits;
  TCounters now;
  if (ReadCounters(now)) {
    if (now.brk != statusCounters_.brk) events |= kEvBreak;
    if (now.frame != statusCounters_.frame || now.overrun != statusCounters_.overrun ||
        now.parity != statusCounters_.parity || now.bufOverrun != statusCounters_.bufOverrun) {
      events |= kEvErr;
    }
    statusCounters_ = now;
  }
  return 0;
}

void TVrlPosixDispatcher::SetThreadPriority(int nativeThreadId, int level) {
  if (nativeThreadId == 0) return;
  errno = 0;
  const int base = ::getpriority(PRIO_PROCESS, 0);
  if (errno != 0) return;
  // Best effort: raising a thread above the process needs a privilege.
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(nativeThreadId), base - level);
}
