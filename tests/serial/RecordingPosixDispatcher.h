// The POSIX dispatcher on a pseudo-terminal, with the requests that a pty
// cannot answer (modem lines, transmitter state, RS485) logged and answered
// here instead of by the kernel: CTS and DSR are what the test sets, DTR and
// RTS follow what the dispatcher asks. The status thread does not poll, so
// every look at the lines after opening is the write path's. Shared by the
// test thread and the workers under a lock.
#pragma once

#include <linux/serial.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "serial/posix/PosixDispatcher.h"

class TRecordingPosixDispatcher : public TVrlPosixDispatcher {
 public:
  struct TDriver {
    bool reportsTransmitter = false;  // TIOCSERGETLSR
    bool kernelRs485 = false;         // TIOCGRS485 and TIOCSRS485
  };

  TRecordingPosixDispatcher(TDispatcherOwner* owner, TDriver driver)
      : TVrlPosixDispatcher(owner), driver_(driver) {}
  ~TRecordingPosixDispatcher() override { DestroyPort(); }

  // Since the last Clear, in order: "raise DTR", "lower RTS", "queue",
  // "transmitter busy", "transmitter empty", "transmitter unknown", "drain",
  // "rs485 on", "rs485 off".
  std::vector<std::string> Records() {
    std::lock_guard guard(lock_);
    return records_;
  }
  void Clear() {
    std::lock_guard guard(lock_);
    records_.clear();
  }
  bool WaitForRecord(const std::string& record) {
    std::unique_lock lock(lock_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] {
      for (const auto& r : records_) {
        if (r == record) return true;
      }
      return false;
    });
  }
  int Lines() {
    std::lock_guard guard(lock_);
    return lines_;
  }
  void SetLine(int line, bool up) {
    std::lock_guard guard(lock_);
    lines_ = up ? (lines_ | line) : (lines_ & ~line);
  }
  int Looks() {
    std::lock_guard guard(lock_);
    return looks_;
  }
  // Waits until the lines were read count more times than looksBefore.
  bool WaitForLooks(int looksBefore, int count) {
    std::unique_lock lock(lock_);
    return changed_.wait_for(lock, std::chrono::seconds(10),
                             [&] { return looks_ >= looksBefore + count; });
  }

 protected:
  int DeviceIoctl(int fd, unsigned long request, void* argument) override {
    std::lock_guard guard(lock_);
    changed_.notify_all();
    switch (request) {
      case TIOCMGET:
        ++looks_;
        *static_cast<int*>(argument) = lines_;
        return 0;
      case TIOCMBIS:
      case TIOCMBIC: {
        const int bits = *static_cast<int*>(argument);
        const char* verb = request == TIOCMBIS ? "raise " : "lower ";
        if (bits & TIOCM_DTR) records_.push_back(std::string(verb) + "DTR");
        if (bits & TIOCM_RTS) records_.push_back(std::string(verb) + "RTS");
        lines_ = request == TIOCMBIS ? (lines_ | bits) : (lines_ & ~bits);
        return 0;
      }
      case TIOCOUTQ:
        records_.push_back("queue");
        *static_cast<int*>(argument) = 0;
        return 0;
      case TIOCSERGETLSR:
        if (!driver_.reportsTransmitter) {
          records_.push_back("transmitter unknown");
          errno = ENOTTY;
          return -1;
        }
        // The last bits leave between the first look and the second.
        records_.push_back(++transmitterLooks_ == 1 ? "transmitter busy" : "transmitter empty");
        *static_cast<unsigned*>(argument) = transmitterLooks_ == 1 ? 0 : TIOCSER_TEMT;
        return 0;
      case TCSBRK:
        records_.push_back("drain");
        return 0;
      case TIOCGRS485:
      case TIOCSRS485:
        if (!driver_.kernelRs485) {
          errno = ENOTTY;
          return -1;
        }
        if (request == TIOCGRS485) {
          *static_cast<serial_rs485*>(argument) = rs485_;
        } else {
          rs485_ = *static_cast<serial_rs485*>(argument);
          records_.push_back((rs485_.flags & SER_RS485_ENABLED) ? "rs485 on" : "rs485 off");
        }
        return 0;
      default:
        return ::ioctl(fd, request, argument);
    }
  }
  int32_t WaitStatusEvent(uint32_t& events) override {
    events = 0;
    KillEvent().Wait(std::chrono::milliseconds(-1));
    return 0;
  }

 private:
  const TDriver driver_;
  std::mutex lock_;
  std::condition_variable changed_;
  int lines_ = 0;
  int looks_ = 0;
  int transmitterLooks_ = 0;
  serial_rs485 rs485_{};
  std::vector<std::string> records_;
};
