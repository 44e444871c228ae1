// Datagram boundaries for the UDP output: the ring holds the bytes, blocks_
// their lengths, so that the write thread's batch splits back into sends.
#include "serial/net/UdpDispatcher.h"

#include <sys/socket.h>

#include <algorithm>
#include <cstring>

#include "serial/ResultCodes.h"

TVrlUdpDispatcher::TVrlUdpDispatcher(TDispatcherOwner* owner)
    : TVrlSocketDispatcher(owner, TPortScheme::Udp, SOCK_DGRAM) {}

TVrlUdpDispatcher::~TVrlUdpDispatcher() { DestroyPort(); }

uint32_t TVrlUdpDispatcher::OutputRingSize(uint32_t) const { return kMaxDatagram; }

void TVrlUdpDispatcher::BlockQueued(uint32_t count) {
  std::lock_guard guard(blocksLock_);
  blocks_.push_back(count);
}

void TVrlUdpDispatcher::QueuedBlocksDropped() {
  std::lock_guard guard(blocksLock_);
  blocks_.clear();
}

int32_t TVrlUdpDispatcher::DeviceWrite(const uint8_t* data, int32_t size) {
  const auto* bytes = reinterpret_cast<const char*>(data);
  size_t offset = 0;
  const auto total = static_cast<size_t>(size);
  while (offset < total) {
    size_t length = total - offset;
    {
      std::lock_guard guard(blocksLock_);
      // Blocks dropped by a purge while their batch was taken go as one.
      if (!blocks_.empty()) {
        length = std::min<size_t>(blocks_.front(), length);
        blocks_.pop_front();
      }
    }
    size_t sent = 0;
    const int32_t result = SendAll(std::string_view(bytes + offset, length), TWaitFor::WriteThread,
                                   TClock::time_point::max(), sent);
    if (result != 0) return result;
    offset += length;
  }
  return 0;
}

int32_t TVrlUdpDispatcher::WaitInput() {
  if (receivedTaken_ < received_.size()) return 1;
  return TVrlSocketDispatcher::WaitInput();
}

int32_t TVrlUdpDispatcher::DeviceRead(uint8_t* buffer, int32_t size) {
  if (receivedTaken_ >= received_.size()) {
    received_.resize(kMaxDatagram + 1);
    const int32_t n = ReceiveSome(reinterpret_cast<uint8_t*>(received_.data()), kMaxDatagram + 1);
    if (n <= 0) {
      received_.clear();
      receivedTaken_ = 0;
      return n;
    }
    received_.resize(static_cast<size_t>(n));
    receivedTaken_ = 0;
  }
  const size_t n = std::min(received_.size() - receivedTaken_, static_cast<size_t>(size));
  std::memcpy(buffer, received_.data() + receivedTaken_, n);
  receivedTaken_ += n;
  return static_cast<int32_t>(n);
}
