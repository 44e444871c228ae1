// A word of wake-up reasons for one sleeping thread: any thread raises bits,
// the one owner thread takes them, sleeping while there are none. Raising
// costs a system call only when the owner sleeps, and the owner sleeps
// without spinning first.
#pragma once

#include <atomic>
#include <cstdint>

class TWakeWord {
 public:
  // Any thread.
  void Raise(uint32_t bits);
  // The owner thread only: waits until a bit is raised, then returns and
  // clears every raised bit.
  uint32_t Take();

 private:
  std::atomic<uint32_t> bits_{0};
  std::atomic<bool> sleeping_{false};
};
