// The queue that carries received data and status events from the read and
// status threads to the dispatch thread. The queue owns its buffers; every
// operation takes the queue's own lock, so any thread may call it.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "serial/Event.h"
#include "serial/ThreadAnnotations.h"

class TIOBuffer {
 public:
  explicit TIOBuffer(int32_t size) : size_(size) {}
  virtual ~TIOBuffer() = default;

  int32_t Size() const { return size_; }
  bool InUse() const { return inUse_; }
  void SetInUse(bool inUse) { inUse_ = inUse; }

 private:
  bool inUse_ = false;
  int32_t size_;
};

// Received bytes: Used bytes filled, Read of them already taken.
class TDataBuffer : public TIOBuffer {
 public:
  // Throws std::runtime_error "Insufficient memory to allocate I/O buffer."
  static std::unique_ptr<TDataBuffer> Create(int32_t size);

  uint8_t* Data() { return data_.data(); }
  int32_t Used = 0;
  int32_t Read = 0;

 private:
  explicit TDataBuffer(int32_t size);
  std::vector<uint8_t> data_;
};

// A communication event mask.
class TStatusBuffer : public TIOBuffer {
 public:
  explicit TStatusBuffer(uint32_t status) : TIOBuffer(sizeof status), Status(status) {}
  uint32_t Status;
};

class TIOQueue {
 public:
  static constexpr int64_t kSpareLimit = 64 * 1024;

  TIOQueue();

  // Appends and sets the push event, unless signal is false: a consumer that
  // cannot take the buffers yet need not wake for them.
  void Push(std::unique_ptr<TIOBuffer> buffer, bool signal = true);
  void PushAll(std::vector<std::unique_ptr<TIOBuffer>>& buffers, bool signal);
  // The first buffer, marked in use; null when empty or already in use.
  TIOBuffer* Peek();
  // Clears the in-use mark of a peeked buffer that stays queued.
  void Release(TIOBuffer* buffer);
  std::unique_ptr<TIOBuffer> Pop();
  // Pops the first buffer and keeps it for reuse by Spare.
  void PopToSpare();
  // A data buffer of the given size that left the queue earlier, emptied;
  // null when none is kept. Input that streams in then allocates nothing.
  std::unique_ptr<TDataBuffer> Spare(int32_t size);
  void Clear();
  // Drops the oldest buffers that are not in use until at most limit bytes
  // stay queued; returns the bytes dropped.
  int64_t DropOldest(int64_t limit);
  int64_t BytesQueued() const;
  // The event that every Push sets, for a consumer that polls it.
  TEvent& PushEvent() { return pushEvent_; }

 private:
  mutable std::mutex lock_;
  std::deque<std::unique_ptr<TIOBuffer>> items_ VRL_GUARDED_BY(lock_);
  int64_t bytesQueued_ VRL_GUARDED_BY(lock_) = 0;
  // Keeps a data buffer that left the queue, up to kSpareLimit bytes of them;
  // called with lock_ held.
  void KeepSpare(std::unique_ptr<TIOBuffer> buffer);
  std::vector<std::unique_ptr<TDataBuffer>> spares_ VRL_GUARDED_BY(lock_);
  int64_t spareBytes_ VRL_GUARDED_BY(lock_) = 0;
  TEvent pushEvent_;
};
