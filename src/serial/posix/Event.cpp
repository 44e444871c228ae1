// eventfd-based events: a counter that poll() sees as readable while set.
#include "serial/Event.h"

#include <poll.h>
#include <sys/eventfd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

#include "serial/ResultCodes.h"

TEvent::TEvent(TReset reset) : reset_(reset), fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (!fd_.Valid()) throw std::system_error(errno, std::generic_category(), "eventfd");
}

void TEvent::Set() {
  const uint64_t one = 1;
  while (::write(fd_.Get(), &one, sizeof one) < 0 && errno == EINTR) {
  }
}

void TEvent::Reset() {
  uint64_t count = 0;
  while (::read(fd_.Get(), &count, sizeof count) < 0 && errno == EINTR) {
  }
}

bool TEvent::Consume() {
  if (reset_ == TReset::Manual) return true;
  uint64_t count = 0;
  for (;;) {
    if (::read(fd_.Get(), &count, sizeof count) == sizeof count) return true;
    if (errno != EINTR) return false;
  }
}

bool TEvent::Wait(std::chrono::milliseconds timeout) { return WaitAny({this}, timeout) == 0; }

int TEvent::WaitAny(std::initializer_list<TEvent*> events, std::chrono::milliseconds timeout) {
  using TClock = std::chrono::steady_clock;
  const bool unlimited = timeout.count() < 0;
  const auto deadline = TClock::now() + (unlimited ? std::chrono::milliseconds(0) : timeout);
  for (;;) {
    int waitMs = -1;
    if (!unlimited) {
      const auto left =
          std::chrono::ceil<std::chrono::milliseconds>(deadline - TClock::now()).count();
      waitMs = left > 0 ? static_cast<int>(left) : 0;
    }
    pollfd entries[8];
    nfds_t count = 0;
    for (TEvent* event : events) entries[count++] = pollfd{event->Fd(), POLLIN, 0};
    const int ready = ::poll(entries, count, waitMs);
    if (ready > 0) {
      int index = 0;
      for (TEvent* event : events) {
        if ((entries[index].revents & POLLIN) != 0 && event->Consume()) return index;
        ++index;
      }
    }
    if (ready == 0 && waitMs == 0) return -1;
    if (ready < 0 && errno != EINTR) return -1;
  }
}

TDeviceWait WaitOnDevice(int fd, short events, TEvent* wake, const TEvent& kill, int timeoutMs) {
  pollfd entries[3] = {
      {fd, events, 0}, {kill.Fd(), POLLIN, 0}, {wake != nullptr ? wake->Fd() : -1, POLLIN, 0}};
  TDeviceWait seen;
  int ready;
  do {
    ready = ::poll(entries, 3, timeoutMs);
  } while (ready < 0 && errno == EINTR);
  seen.failed = ready < 0;
  seen.timedOut = ready == 0;
  seen.killed = (entries[1].revents & POLLIN) != 0;
  seen.woken = (entries[2].revents & POLLIN) != 0 && wake->Consume();
  seen.device = entries[0].revents;
  return seen;
}

int32_t WaitForInput(int fd, TEvent& wake, const TEvent& kill) {
  const TDeviceWait seen = WaitOnDevice(fd, POLLIN, &wake, kill);
  if (seen.failed) return vrl::kErrDeviceRead;
  if (seen.killed) return 0;
  if (seen.device & POLLNVAL) return vrl::kErrDeviceRead;
  // A hang-up with nothing left to read is the device going away: the read
  // that follows reports it instead of spinning on poll().
  return (seen.device & (POLLIN | POLLHUP | POLLERR)) != 0 ? 1 : 0;
}
