// Input queue and its buffers; see IOQueue.h for the threads that use it.
#include "serial/IOQueue.h"

#include <new>
#include <stdexcept>

std::unique_ptr<TDataBuffer> TDataBuffer::Create(int32_t size) {
  try {
    return std::unique_ptr<TDataBuffer>(new TDataBuffer(size));
  } catch (const std::bad_alloc&) {
    throw std::runtime_error("Insufficient memory to allocate I/O buffer.");
  }
}

TDataBuffer::TDataBuffer(int32_t size) : TIOBuffer(size), data_(static_cast<size_t>(size), 0) {}

TIOQueue::TIOQueue() : pushEvent_(TEvent::TReset::Auto) {}

void TIOQueue::Push(std::unique_ptr<TIOBuffer> buffer, bool signal) {
  {
    std::lock_guard guard(lock_);
    bytesQueued_ += buffer->Size();
    items_.push_back(std::move(buffer));
  }
  if (signal) pushEvent_.Set();
}

void TIOQueue::PushAll(std::vector<std::unique_ptr<TIOBuffer>>& buffers, bool signal) {
  if (buffers.empty()) return;
  {
    std::lock_guard guard(lock_);
    for (auto& buffer : buffers) {
      bytesQueued_ += buffer->Size();
      items_.push_back(std::move(buffer));
    }
  }
  buffers.clear();
  if (signal) pushEvent_.Set();
}

TIOBuffer* TIOQueue::Peek() {
  std::lock_guard guard(lock_);
  if (items_.empty() || items_.front()->InUse()) return nullptr;
  items_.front()->SetInUse(true);
  return items_.front().get();
}

void TIOQueue::Release(TIOBuffer* buffer) {
  std::lock_guard guard(lock_);
  buffer->SetInUse(false);
}

std::unique_ptr<TIOBuffer> TIOQueue::Pop() {
  std::lock_guard guard(lock_);
  if (items_.empty()) return nullptr;
  std::unique_ptr<TIOBuffer> first = std::move(items_.front());
  items_.pop_front();
  bytesQueued_ -= first->Size();
  return first;
}

void TIOQueue::PopToSpare() {
  std::lock_guard guard(lock_);
  if (items_.empty()) return;
  std::unique_ptr<TIOBuffer> first = std::move(items_.front());
  items_.pop_front();
  bytesQueued_ -= first->Size();
  KeepSpare(std::move(first));
}

void TIOQueue::KeepSpare(std::unique_ptr<TIOBuffer> buffer) {
  auto* data = dynamic_cast<TDataBuffer*>(buffer.get());
  if (data == nullptr || spareBytes_ + data->Size() > kSpareLimit) return;
  buffer.release();
  data->Used = 0;
  data->Read = 0;
  data->SetInUse(false);
  spareBytes_ += data->Size();
  spares_.emplace_back(data);
}

std::unique_ptr<TDataBuffer> TIOQueue::Spare(int32_t size) {
  std::lock_guard guard(lock_);
  for (auto it = spares_.rbegin(); it != spares_.rend(); ++it) {
    if ((*it)->Size() != size) continue;
    std::unique_ptr<TDataBuffer> spare = std::move(*it);
    spares_.erase(std::next(it).base());
    spareBytes_ -= size;
    return spare;
  }
  return nullptr;
}

void TIOQueue::Clear() { DropOldest(0); }

int64_t TIOQueue::DropOldest(int64_t limit) {
  std::lock_guard guard(lock_);
  int64_t dropped = 0;
  for (auto it = items_.begin(); it != items_.end() && bytesQueued_ > limit;) {
    if ((*it)->InUse()) {
      ++it;
      continue;
    }
    bytesQueued_ -= (*it)->Size();
    dropped += (*it)->Size();
    KeepSpare(std::move(*it));
    it = items_.erase(it);
  }
  return dropped;
}

int64_t TIOQueue::BytesQueued() const {
  std::lock_guard guard(lock_);
  return bytesQueued_;
}
