// The input side of the base dispatcher: one dispatch cycle (status events,
// modem status, moving received bytes into the 8192-byte dispatch buffer), the
// availability pass, notification delivery and the block read. Runs on the
// dispatch thread, except the registration operations and the block read,
// which the main thread calls.
#include <algorithm>
#include <string_view>

#include "serial/Dispatcher.h"

namespace {

constexpr auto kSendTimeout = std::chrono::milliseconds(3000);

}  // namespace

void TVrlBaseDispatcher::SetTriggerLength(uint32_t length) {
  std::lock_guard guard(dispatcherLock_);
  triggerLength_ = length;
  log_.Add(TLogType::ltTrDatChg, vrl::logsubtype::kAvail, static_cast<int32_t>(length));
}

void TVrlBaseDispatcher::SetOptionFlag(uint32_t flag, bool on) {
  std::lock_guard guard(dispatcherLock_);
  optionFlags_ = on ? (optionFlags_ | flag) : (optionFlags_ & ~flag);
}

uint32_t TVrlBaseDispatcher::OptionFlags() const {
  std::lock_guard guard(dispatcherLock_);
  return optionFlags_;
}

void TVrlBaseDispatcher::RegisterNotifyWindow(TNotifyWindow window) {
  std::lock_guard guard(dispatcherLock_);
  windowHandlers_.push_back({window, false});
  handlersNeeded_ = true;
  log_.Add(TLogType::ltTrgHdAlc, vrl::logsubtype::kWindow, 0);
}

void TVrlBaseDispatcher::DeregisterNotifyWindow(TNotifyWindow window) {
  std::lock_guard guard(dispatcherLock_);
  for (auto it = windowHandlers_.begin(); it != windowHandlers_.end(); ++it) {
    if (it->window != window || it->deleted) continue;
    if (delivering_) {
      it->deleted = true;
    } else {
      windowHandlers_.erase(it);
      RecomputeHandlerFlags(0);
      log_.Add(TLogType::ltTrgHdDsp, vrl::logsubtype::kWindow, 0);
    }
    return;
  }
}

void TVrlBaseDispatcher::RefreshHandlerFlags(int mode) {
  std::lock_guard guard(dispatcherLock_);
  RecomputeHandlerFlags(mode);
}

void TVrlBaseDispatcher::RecomputeHandlerFlags(int mode) {
  const bool others = windowHandlers_.size() > 1;
  if (mode == 0) {
    handlersNeeded_ = others || portHandlerInstalled_;
  } else if (mode == 1) {
    portHandlerInstalled_ = true;
    handlersNeeded_ = true;
  } else if (mode == 2) {
    portHandlerInstalled_ = false;
    handlersNeeded_ = others;
  }
}

uint8_t TVrlBaseDispatcher::ModemStatus() const {
  std::lock_guard guard(dispatcherLock_);
  return modemStatus_;
}

uint32_t TVrlBaseDispatcher::DispatchBufferFill() const {
  if (dispatchFull_) return kDispatchBufferSize;
  if (dispatchHead_ >= dispatchTail_) return dispatchHead_ - dispatchTail_;
  return dispatchHead_ + kDispatchBufferSize - dispatchTail_;
}

uint32_t TVrlBaseDispatcher::DispatchBufferUsed() const {
  std::lock_guard input(inputLock_);
  return DispatchBufferFill() - taken_;
}

uint32_t TVrlBaseDispatcher::GetBlock(uint8_t* block, uint32_t count) {
  std::lock_guard input(inputLock_);
  if (dispatchBuffer_.empty()) return 0;
  // A handler sees the bytes from the tail on, less those it took itself. A
  // block read outside any handler (also while a delivery runs without
  // calling one) takes the bytes after those the delivery's handlers took.
  const uint32_t skipped = handlerCalled_ ? taken_ : mostTaken_;
  const uint32_t n = std::min(count, DispatchBufferFill() - skipped);
  const uint32_t start = (dispatchTail_ + skipped) % kDispatchBufferSize;
  const uint32_t firstPart = std::min(n, kDispatchBufferSize - start);
  std::copy_n(dispatchBuffer_.data() + start, firstPart, block);
  std::copy_n(dispatchBuffer_.data(), n - firstPart, block + firstPart);
  if (handlerCalled_) {
    // The delivery moves the tail once every handler has had its turn.
    taken_ += n;
  } else if (n > 0) {
    // These bytes leave at once, and with them those the handlers took.
    dispatchTail_ = (dispatchTail_ + mostTaken_ + n) % kDispatchBufferSize;
    mostTaken_ = 0;
    // Input queued behind a full buffer wakes no one by itself.
    if (dispatchFull_) inputQueue_.PushEvent().Set();
    dispatchFull_ = false;
    dispatchBufferFull_ = false;
  }
  return n;
}

int32_t TVrlBaseDispatcher::InputPending() {
  TIOBuffer* first = inputQueue_.Peek();
  if (first == nullptr) return 0;
  auto* data = dynamic_cast<TDataBuffer*>(first);
  const int32_t pending = data != nullptr ? data->Used - data->Read : 0;
  inputQueue_.Release(first);
  return pending;
}

int32_t TVrlBaseDispatcher::TakeInput(uint8_t* buffer, int32_t size) {
  int32_t copied = 0;
  while (copied < size) {
    TIOBuffer* first = inputQueue_.Peek();
    if (first == nullptr) break;
    auto* data = dynamic_cast<TDataBuffer*>(first);
    if (data == nullptr) {
      inputQueue_.Release(first);
      break;
    }
    const int32_t n = std::min(size - copied, data->Used - data->Read);
    std::copy_n(data->Data() + data->Read, n, buffer + copied);
    data->Read += n;
    copied += n;
    if (data->Read >= data->Used) {
      inputQueue_.PopToSpare();
    } else {
      inputQueue_.Release(first);
    }
  }
  return copied;
}

void TVrlBaseDispatcher::RefreshModemStatus() {
  uint8_t driverBits;
  {
    std::lock_guard guard(dispatcherLock_);
    if (!DeviceOpen()) return;
    driverBits = DeviceModemStatus();
  }
  std::lock_guard guard(dispatcherLock_);
  modemStatus_ = static_cast<uint8_t>((driverBits & 0xF0) | (modemStatus_ & 0x0F));
  if (ringSeen_) {
    ringSeen_ = false;
    modemStatus_ |= 0x04;
  }
}

bool TVrlBaseDispatcher::DispatchCycle() {
  bool progress = false;
  uint32_t mask = 0;
  if (TIOBuffer* first = inputQueue_.Peek()) {
    if (auto* status = dynamic_cast<TStatusBuffer*>(first)) {
      mask = status->Status;
      inputQueue_.Pop();
      progress = true;
    } else {
      inputQueue_.Release(first);
    }
  }
  if (mask & (kEvRing | kEvRingTrailing)) {
    std::lock_guard guard(dispatcherLock_);
    ringSeen_ = true;
  }
  if (mask & 0x2138) {
    std::lock_guard guard(dispatcherLock_);
    if (DeviceOpen()) {
      const uint8_t old = modemStatus_;
      const uint8_t now = DeviceModemStatus();
      modemStatus_ = static_cast<uint8_t>(old | (((now ^ old) & 0xF0) >> 4));
    }
  }
  if (mask & (kEvBreak | kEvErr)) RefreshLineErrors();
  MoveReceivedBytes(progress);
  if (!delivering_) {
    RefreshModemStatus();
    while (!closeRequested_ && AvailabilityPass()) {
    }
    // A handler that emptied a full dispatch buffer makes room for input that
    // waited in the queue behind it; no push announces that.
    std::lock_guard input(inputLock_);
    if (!dispatchFull_ && InputPending() > 0) progress = true;
  }
  return progress;
}

void TVrlBaseDispatcher::MoveReceivedBytes(bool& moved) {
  static constexpr std::string_view kBufferFullText = "Dispatch buffer full.";
  std::lock_guard input(inputLock_);
  if (dispatchBuffer_.empty()) return;
  if (dispatchFull_) {
    AddLogEntry(TLogType::ltDispatch, vrl::logsubtype::kStatus, 0, kBufferFullText.data(),
                static_cast<uint32_t>(kBufferFullText.size()));
    return;
  }
  const int32_t pending = InputPending();
  if (pending == 0) return;
  const uint32_t freeSpace = kDispatchBufferSize - DispatchBufferFill();
  const uint32_t capacity = dispatchTail_ > dispatchHead_ ? dispatchTail_ - dispatchHead_
                                                          : kDispatchBufferSize - dispatchHead_;
  const uint32_t total = std::min<uint32_t>(freeSpace, static_cast<uint32_t>(pending));
  const uint32_t secondPart = capacity < total ? total - capacity : 0;
  auto moveAtHead = [&](uint32_t wanted) {
    uint8_t* const at = dispatchBuffer_.data() + dispatchHead_;
    const auto n = static_cast<uint32_t>(TakeInput(at, static_cast<int32_t>(wanted)));
    if (n > 0) AddLogEntry(TLogType::ltDispatch, vrl::logsubtype::kReadCom, int32_t(n), at, n);
    dispatchHead_ = (dispatchHead_ + n) % kDispatchBufferSize;
    if (n > 0) {
      dispatchFull_ = dispatchHead_ == dispatchTail_;
      moved = true;
    }
    return n;
  };
  const uint32_t n = moveAtHead(std::min(capacity, total));
  if (n == std::min(capacity, total) && secondPart > 0) moveAtHead(secondPart);
  dispatchBufferFull_ = dispatchFull_;
  // The read thread may wait for room in the queue, or for the news that
  // nobody takes input and it is to drop the oldest instead.
  if (moved || dispatchFull_) inputMoved_.Set();
}

bool TVrlBaseDispatcher::AvailabilityPass() {
  uint32_t triggerLength;
  {
    std::lock_guard guard(dispatcherLock_);
    triggerLength = triggerLength_;
  }
  uint32_t used;
  {
    std::lock_guard input(inputLock_);
    // No data triggers exist, so examining the new bytes only advances the scan.
    scanPosition_ = dispatchHead_;
    used = DispatchBufferFill();
    if (triggerLength == 0 || scanPosition_ == notifiedPosition_ || used < triggerLength) {
      return false;
    }
    notifiedPosition_ = scanPosition_;
  }
  AddLogEntry(TLogType::ltTrigger, vrl::logsubtype::kAvail, static_cast<int32_t>(used));
  return Deliver(kMsgTriggerAvail, used, 0);
}

bool TVrlBaseDispatcher::Deliver(uint32_t message, uintptr_t wParam, int32_t data) {
  std::vector<TNotifyWindow> windows;
  {
    std::lock_guard guard(dispatcherLock_);
    if (!handlersNeeded_) return true;
    delivering_ = true;
    if (windowHandlers_.size() > 1 || portHandlerInstalled_) {
      for (const TWindowHandler& handler : windowHandlers_) {
        if (!handler.deleted) windows.push_back(handler.window);
      }
    }
  }
  const intptr_t lParam =
      static_cast<intptr_t>(data) + static_cast<intptr_t>(handleNumber_) * 65536;
  TMainThreadQueue* queue = owner_ != nullptr ? owner_->MainThreadQueue() : nullptr;
  {
    std::lock_guard input(inputLock_);
    taken_ = 0;
    mostTaken_ = 0;
  }
  bool stopped = false;
  for (TNotifyWindow window : windows) {
    if (closeRequested_ || kill_) {
      stopped = true;
      break;
    }
    {
      std::lock_guard input(inputLock_);
      handlerCalled_ = true;
    }
    if (queue != nullptr) queue->Send(window, message, wParam, lParam, kSendTimeout);
    // Each handler sees every byte of the delivery; the bytes count as taken
    // as far as the handler that took the most took them.
    std::lock_guard input(inputLock_);
    handlerCalled_ = false;
    mostTaken_ = std::max(mostTaken_, taken_);
    taken_ = 0;
  }
  bool result = !stopped;
  if (message == kMsgTriggerAvail) {
    std::lock_guard input(inputLock_);
    dispatchTail_ = (dispatchTail_ + mostTaken_) % kDispatchBufferSize;
    if (mostTaken_ > 0) {
      dispatchFull_ = false;
      dispatchBufferFull_ = false;
    }
    if (mostTaken_ != wParam) result = false;
    mostTaken_ = 0;
  }
  std::lock_guard guard(dispatcherLock_);
  delivering_ = false;
  const auto removed =
      std::remove_if(windowHandlers_.begin(), windowHandlers_.end(),
                     [](const TWindowHandler& handler) { return handler.deleted; });
  if (removed != windowHandlers_.end()) {
    windowHandlers_.erase(removed, windowHandlers_.end());
    RecomputeHandlerFlags(0);
  }
  return result;
}
