// An event that a worker can poll() together with its device descriptor
// (an eventfd). Owned by its dispatcher; Set, Reset and Wait may be called
// from any thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <initializer_list>

#include "serial/posix/UniqueFd.h"

class TEvent {
 public:
  enum class TReset { Auto, Manual };

  explicit TEvent(TReset reset);
  TEvent(const TEvent&) = delete;
  TEvent& operator=(const TEvent&) = delete;

  bool Valid() const { return fd_.Valid(); }
  int Fd() const { return fd_.Get(); }

  void Set();
  void Reset();
  // True when the event was signalled within the time-out; an auto-reset
  // event is then consumed. A negative time-out waits without limit.
  bool Wait(std::chrono::milliseconds timeout);
  // After poll() reported Fd() readable: consumes an auto-reset event.
  // Returns false when another waiter took it first.
  bool Consume();
  // Waits until one of the events is signalled and consumes it; returns its
  // index, or -1 when the time-out passed first.
  static int WaitAny(std::initializer_list<TEvent*> events, std::chrono::milliseconds timeout);

 private:
  TReset reset_;
  TUniqueFd fd_;
};

// What one wait on a device descriptor together with two events saw.
struct TDeviceWait {
  bool failed = false;    // poll() itself failed
  bool timedOut = false;  // the time-out passed with nothing reported
  bool killed = false;    // the kill event is signalled; it stays so
  bool woken = false;     // the wake event was signalled, and this wait consumed it
  short device = 0;       // what the device reported
};

// Waits in poll() until the device reports one of events (or a hang-up or an
// error), the wake event (when there is one) or the kill event is signalled,
// or the time-out passes (a negative one waits without limit).
TDeviceWait WaitOnDevice(int fd, short events, TEvent* wake, const TEvent& kill,
                         int timeoutMs = -1);

// A read thread's wait for input on a device: 1 when it has input, or a
// hang-up or an error that the read that follows reports; 0 when the wake or
// the kill event ended the wait with nothing to read; a negative result code
// when the wait failed or the descriptor is no longer valid.
int32_t WaitForInput(int fd, TEvent& wake, const TEvent& kill);
