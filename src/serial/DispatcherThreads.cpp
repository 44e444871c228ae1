// The four worker loops of the base dispatcher. Each runs on its own thread,
// blocks on its device primitive or its events (never on a timer), and ends
// when the kill flag is set; a failure sets it for all of them.
#include <algorithm>
#include <cstring>

#include "serial/Dispatcher.h"
#include "serial/ResultCodes.h"

void TVrlBaseDispatcher::RunReadThread() {
  WorkerStarted(kRead);
  int32_t result = 0;
  // One read takes what the driver holds up to a chunk; the bytes then travel
  // in blocks of kReadBlockSize, reused once the dispatch thread is done with
  // them, so that steady input costs one read call a chunk and no allocation.
  std::vector<uint8_t> chunk(kReadChunkSize);
  std::vector<std::unique_ptr<TIOBuffer>> blocks;
  try {
    while (!kill_) {
      const int32_t waited = WaitInput();
      if (kill_) break;
      if (waited < 0) {
        result = vrl::kErrDeviceRead;
        break;
      }
      if (waited == 0) continue;
      for (;;) {
        // A reader of the dispatch buffer slower than the line, or nobody
        // taking input at all: leave the bytes with the driver, which holds
        // the peer back, until room is made. Unread input then costs nothing.
        // A device that cannot keep input goes on being read once nobody
        // takes any (the dispatch buffer is full), and its oldest is dropped.
        while (!kill_ && inputQueue_.BytesQueued() + kReadChunkSize > kInputQueueLimit &&
               (HoldsUnreadInput() || !dispatchBufferFull_)) {
          if (WaitForInputRoom() < 0) {
            result = vrl::kErrDeviceRead;
            break;
          }
        }
        if (kill_ || result < 0) break;
        const int32_t n = DeviceRead(chunk.data(), kReadChunkSize);
        if (n < 0) result = vrl::kErrDeviceRead;
        if (n <= 0) break;
        for (int32_t at = 0; at < n; at += kReadBlockSize) {
          std::unique_ptr<TDataBuffer> block = inputQueue_.Spare(kReadBlockSize);
          if (!block) block = TDataBuffer::Create(kReadBlockSize);
          block->Used = std::min(kReadBlockSize, n - at);
          std::memcpy(block->Data(), chunk.data() + at, static_cast<size_t>(block->Used));
          blocks.push_back(std::move(block));
        }
        // Behind a full dispatch buffer the queue stays bounded: where the
        // device could not keep the input, the oldest goes first. The
        // dispatch thread could not move these bytes either, so it sleeps on.
        const bool full = dispatchBufferFull_;
        const int64_t queued = static_cast<int64_t>(blocks.size()) * kReadBlockSize;
        if (full && inputQueue_.DropOldest(kInputQueueLimit - queued) > 0) {
          lineErrors_ |= kReceiveOverflow;
        }
        inputQueue_.PushAll(blocks, !full);
        // A block read that made room meanwhile must not leave these waiting.
        if (full && !dispatchBufferFull_) inputQueue_.PushEvent().Set();
      }
      if (result < 0) break;
    }
  } catch (const std::exception&) {
    result = vrl::kErrNoMemory;
  }
  blocks.clear();
  if (result < 0) {
    killed_ = true;
    Kill();
  }
  WorkerEnded(kRead, result);
}

void TVrlBaseDispatcher::RunStatusThread() {
  WorkerStarted(kStatus);
  int32_t result = 0;
  try {
    while (!kill_) {
      uint32_t events = 0;
      const int32_t waited = WaitStatusEvent(events);
      if (kill_) break;
      if (waited < 0) {
        result = waited;
        break;
      }
      if (events & kEvRxChar) readEvent_.Set();
      if (events & 0x21F8) inputQueue_.Push(std::make_unique<TStatusBuffer>(events));
    }
  } catch (const std::exception&) {
    result = vrl::kErrNoMemory;
  }
  if (result < 0) {
    killed_ = true;
    Kill();
  }
  WorkerEnded(kStatus, result);
}

void TVrlBaseDispatcher::RunWriteThread() {
  WorkerStarted(kWrite);
  int32_t result = 0;
  try {
    WriteLoop(result);
  } catch (const std::exception&) {
    result = vrl::kErrNoMemory;
  }
  if (result < 0) {
    killed_ = true;
    Kill();
  }
  WorkerEnded(kWrite, result);
}

void TVrlBaseDispatcher::WriteLoop(int32_t& result) {
  while (!kill_) {
    // Sleeps until a put, a purge or the kill; what came while the last batch
    // was on its way is seen at once.
    const uint32_t reasons = writerWake_.Take();
    if (kill_) break;
    if ((reasons & kWakeOutput) && RunWriter() != 0) {
      result = vrl::kErrDeviceWrite;
      break;
    }
    // A purge whose abort the device write did not already take.
    if ((reasons & kWakeAbort) && outputAbort_.Consume()) threadAck_.Set();
  }
}

int32_t TVrlBaseDispatcher::RunWriter() {
  for (;;) {
    {
      std::lock_guard output(outputLock_);
      const uint32_t count = RingCount();
      if (count == 0 || ringReleased_) {
        writerBusy_ = false;
        return 0;
      }
      writerBusy_ = true;
      writeBlock_.resize(count);
      const uint32_t firstPart = std::min(count, outSize_ - ringTail_);
      std::memcpy(writeBlock_.data(), ring_.data() + ringTail_, firstPart);
      std::memcpy(writeBlock_.data() + firstPart, ring_.data(), count - firstPart);
      ringHead_ = ringTail_ = 0;
      ringFull_ = false;
      batchUnsent_ = count;
    }
    const int32_t written =
        DeviceWrite(writeBlock_.data(), static_cast<int32_t>(writeBlock_.size()));
    {
      std::lock_guard output(outputLock_);
      batchUnsent_ = 0;
    }
    if (written == -1) {
      threadAck_.Set();
      return 0;
    }
    if (written < 0) return vrl::kErrDeviceWrite;
    if (rs485_ && !DriverTogglesRts()) {
      uint32_t baud;
      {
        std::lock_guard guard(dispatcherLock_);
        baud = dcb_.BaudRate;
      }
      if (!WaitTransmitterEmpty(baud)) {
        threadAck_.Set();
        return 0;
      }
      // Lower the direction line only when no newer batch is waiting, so that
      // RTS stays up from before the first byte of a batch until after its last.
      std::lock_guard output(outputLock_);
      if (RingCount() == 0) SetRTSLine(false);
    }
  }
}

void TVrlBaseDispatcher::RunDispatchThread() {
  WorkerStarted(kDispatch);
  bool progress = true;
  try {
    while (!kill_ && !closeRequested_) {
      // Sleep until the next push, unless the last cycle still found work.
      if (!progress) {
        TEvent::WaitAny({&inputQueue_.PushEvent(), &killEvent_}, std::chrono::milliseconds(-1));
      }
      if (kill_) break;
      progress = DispatchCycle();
    }
  } catch (const std::exception& failure) {
    ShowException(failure);
    killed_ = true;
    Kill();
  }
  threadAck_.Set();
  // The dispatch thread ends only on kill or a close request; it releases
  // what the port still holds.
  ReleaseBuffers();
  WorkerEnded(kDispatch, 0);
}
