// udp://HOST:PORT: each send is one datagram to the peer, and each datagram
// from it is received input. A block longer than a datagram can carry does
// not fit the output ring and is refused as too big for it. Owned by the port
// component; WriteBlock's hooks run on the main thread, the rest on the workers.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

#include "serial/ThreadAnnotations.h"
#include "serial/net/SocketDispatcher.h"

class TVrlUdpDispatcher : public TVrlSocketDispatcher {
 public:
  // The largest UDP payload over IPv4.
  static constexpr uint32_t kMaxDatagram = 65507;

  explicit TVrlUdpDispatcher(TDispatcherOwner* owner);
  ~TVrlUdpDispatcher() override;

 protected:
  uint32_t OutputRingSize(uint32_t outSize) const override;
  void BlockQueued(uint32_t count) override;
  void QueuedBlocksDropped() override;

  int32_t WaitInput() override;
  int32_t DeviceRead(uint8_t* buffer, int32_t size) override;
  int32_t DeviceWrite(const uint8_t* data, int32_t size) override;

 private:
  std::mutex blocksLock_;
  // The length of every block in the ring, oldest first.
  std::deque<uint32_t> blocks_ VRL_GUARDED_BY(blocksLock_);
  // A datagram larger than one read, handed out over several; read thread only.
  std::string received_;
  size_t receivedTaken_ = 0;
};
