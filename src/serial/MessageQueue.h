// TMessageQueue: the main thread's queue of messages for notify windows. Any
// thread may send (waiting until the main thread has handled the message or a
// time-out passed) or post; the main thread handles them one at a time. A
// send from the main thread itself is handled at once. Applications derive to
// wake their event loop; tests use it as it is and process by hand.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "serial/MainThreadQueue.h"
#include "serial/ThreadAnnotations.h"

class TMessageQueue : public TMainThreadQueue {
 public:
  // Constructed on the main thread, which it then serves.
  TMessageQueue();
  TMessageQueue(const TMessageQueue&) = delete;
  TMessageQueue& operator=(const TMessageQueue&) = delete;

  bool Send(TNotifyWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam,
            std::chrono::milliseconds timeout) override;
  void Post(TNotifyWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  void ProcessOnePending() override;

  // Main thread: handles every message that is waiting now.
  void ProcessAllPending();
  // Messages waiting to be handled, abandoned sends not counted.
  size_t PendingCount();

 protected:
  // Called on the queuing thread, without the queue's lock, after a message
  // was queued.
  virtual void Wake() {}

 private:
  struct TSendState {
    bool handled = false;    // guarded by lock_
    bool abandoned = false;  // the sender stopped waiting; guarded by lock_
  };
  struct TMessage {
    TNotifyWindow window = 0;
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    std::shared_ptr<TSendState> send;  // null for a posted message
  };

  bool TakeNext(TMessage& next);

  const std::thread::id mainThread_;
  std::mutex lock_;
  std::condition_variable handled_;
  std::deque<TMessage> pending_ VRL_GUARDED_BY(lock_);
};
