// The wake word on a Linux futex. The owner announces that it goes to sleep
// before it looks at the word a last time, and a raiser looks for that
// announcement after it set its bits, so one of the two always sees the other.
#include "serial/WakeWord.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

void TWakeWord::Raise(uint32_t bits) {
  bits_.fetch_or(bits);
  if (sleeping_.load()) {
    ::syscall(SYS_futex, reinterpret_cast<uint32_t*>(&bits_), FUTEX_WAKE_PRIVATE, 1, nullptr,
              nullptr, 0);
  }
}

uint32_t TWakeWord::Take() {
  for (;;) {
    if (const uint32_t bits = bits_.exchange(0)) return bits;
    sleeping_.store(true);
    if (const uint32_t bits = bits_.exchange(0)) {
      sleeping_.store(false);
      return bits;
    }
    // Returns at once when a bit was raised since the look above.
    ::syscall(SYS_futex, reinterpret_cast<uint32_t*>(&bits_), FUTEX_WAIT_PRIVATE, 0, nullptr,
              nullptr, 0);
    sleeping_.store(false);
  }
}
