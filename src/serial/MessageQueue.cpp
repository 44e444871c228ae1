// The main thread's message queue. The lock guards the queue and the senders'
// completion flags; a message is handled without it, so that its procedure may
// queue further messages.
#include "serial/MessageQueue.h"

#include "serial/NotifyWindow.h"

TMessageQueue::TMessageQueue() : mainThread_(std::this_thread::get_id()) {}

bool TMessageQueue::Send(TNotifyWindow window, uint32_t message, uintptr_t wParam,
                         intptr_t lParam, std::chrono::milliseconds timeout) {
  if (std::this_thread::get_id() == mainThread_) {
    DeliverToNotifyWindow(window, message, wParam, lParam);
    return true;
  }
  auto send = std::make_shared<TSendState>();
  {
    std::lock_guard guard(lock_);
    pending_.push_back({window, message, wParam, lParam, send});
  }
  Wake();
  std::unique_lock lock(lock_);
  if (handled_.wait_for(lock, timeout, [&] { return send->handled; })) return true;
  // A message whose sender gave up is never handled late.
  send->abandoned = true;
  return false;
}

void TMessageQueue::Post(TNotifyWindow window, uint32_t message, uintptr_t wParam,
                         intptr_t lParam) {
  {
    std::lock_guard guard(lock_);
    pending_.push_back({window, message, wParam, lParam, nullptr});
  }
  Wake();
}

bool TMessageQueue::TakeNext(TMessage& next) {
  std::lock_guard guard(lock_);
  while (!pending_.empty()) {
    next = std::move(pending_.front());
    pending_.pop_front();
    if (!next.send || !next.send->abandoned) return true;
  }
  return false;
}

void TMessageQueue::ProcessOnePending() {
  TMessage next;
  if (!TakeNext(next)) return;
  DeliverToNotifyWindow(next.window, next.message, next.wParam, next.lParam);
  if (!next.send) return;
  std::lock_guard guard(lock_);
  next.send->handled = true;
  handled_.notify_all();
}

void TMessageQueue::ProcessAllPending() {
  for (size_t count = PendingCount(); count > 0; --count) ProcessOnePending();
}

size_t TMessageQueue::PendingCount() {
  std::lock_guard guard(lock_);
  size_t count = 0;
  for (const TMessage& message : pending_) {
    if (!message.send || !message.send->abandoned) ++count;
  }
  return count;
}
