// A dispatcher owner for tests: records the failures the workers report and
// the notifications sent to notify windows, and lets a test wait for them.
// Shared by the test thread and the dispatcher's workers, hence the lock.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "serial/MainThreadQueue.h"

struct TSentMessage {
  TNotifyWindow window;
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
};

class TTestOwner : public TDispatcherOwner, public TMainThreadQueue {
 public:
  bool Loading() const override { return false; }
  TMainThreadQueue* MainThreadQueue() override { return this; }
  void ShowException(const std::exception& failure) override {
    std::lock_guard guard(lock_);
    failures_.emplace_back(failure.what());
    changed_.notify_all();
  }

  bool Send(TNotifyWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam,
            std::chrono::milliseconds) override {
    std::lock_guard guard(lock_);
    sent_.push_back({window, message, wParam, lParam});
    changed_.notify_all();
    return true;
  }
  void Post(TNotifyWindow, uint32_t, uintptr_t, intptr_t) override {}
  void ProcessOnePending() override {}

  std::vector<std::string> Failures() {
    std::lock_guard guard(lock_);
    return failures_;
  }
  std::vector<TSentMessage> Sent() {
    std::lock_guard guard(lock_);
    return sent_;
  }
  // Wait up to 10 s for at least count reports of their kind.
  bool WaitForFailures(size_t count) {
    std::unique_lock lock(lock_);
    return changed_.wait_for(lock, std::chrono::seconds(10),
                             [&] { return failures_.size() >= count; });
  }
  bool WaitForSent(size_t count) {
    std::unique_lock lock(lock_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return sent_.size() >= count; });
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<std::string> failures_;
  std::vector<TSentMessage> sent_;
};

// Polls a condition that no event announces, up to a generous deadline.
inline bool Eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::yield();
  }
  return true;
}
