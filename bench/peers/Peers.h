// The senders compared side by side: a plain write() loop, Qt's QSerialPort,
// libserialport and the program's own TVrlComPort. Each opens the slave of a
// pseudo-terminal at 9600 8N1 raw and sends as a new user of it would. Main
// thread only.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class TPeer {
 public:
  virtual ~TPeer() = default;

  virtual std::string Name() const = 0;
  // Opens the device and programs 9600 8N1 raw; false on failure.
  virtual bool Open(const std::string& path) = 0;
  virtual void Close() = 0;
  // One send call, as a click would make it.
  virtual bool Send(const char* data, size_t size) = 0;
  // Sends a block when there is room for it, waiting the way this peer's
  // users wait for room.
  virtual bool SendWhenRoom(const char* data, size_t size) = 0;
  // What the caller's event loop does between two sends.
  virtual void Pump() {}
  // Hands everything still held by the peer to the device.
  virtual void Flush() {}
  // Lets the open port sit for a while as the caller does between clicks.
  virtual void Idle(std::chrono::milliseconds duration);
};

std::vector<std::unique_ptr<TPeer>> CreatePeers();
