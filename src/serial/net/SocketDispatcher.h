// The device half shared by the network outputs: a connected, non-blocking
// socket in place of a terminal. Opening resolves and connects within
// kOpenBound on the calling thread; the workers block in poll() on the socket
// and their events, never on a timer. A closed or reset connection fails the
// read or the write, which kills the port as an unplugged adapter does. Line
// settings are kept here; a scheme that sends them somewhere overrides
// WriteDeviceState. Owned by the port component.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "serial/Dispatcher.h"
#include "serial/net/PortUrl.h"
#include "serial/posix/UniqueFd.h"

class TVrlSocketDispatcher : public TVrlBaseDispatcher {
 public:
  using TClock = std::chrono::steady_clock;
  // The longest the user-interface thread waits for an open.
  static constexpr std::chrono::seconds kOpenBound{3};

  ~TVrlSocketDispatcher() override;

  // deviceName is the URL; one of another scheme or of no accepted form is
  // refused as no serial device.
  int32_t OpenDevice(const std::string& deviceName) override;
  std::string OpenFailureText() const override;

 protected:
  TVrlSocketDispatcher(TDispatcherOwner* owner, TPortScheme scheme, int socketType);

  // The scheme's own first steps on the new connection, before the deadline.
  virtual int32_t StartSession(TClock::time_point) { return 0; }

  int Socket() const { return fd_.load(); }
  // Received bytes: at most size, 0 when none are waiting, kErrDeviceRead when
  // the peer closed or reset the connection.
  int32_t ReceiveSome(uint8_t* buffer, int32_t size);
  // Sends bytes, waiting for room in poll(): 0 when all left, -1 when the
  // kill event (and, for the write thread, the output abort) or the deadline
  // ended the wait, kErrDeviceWrite on failure. sent counts what left.
  enum class TWaitFor { WriteThread, Deadline };
  int32_t SendAll(std::string_view bytes, TWaitFor waitFor, TClock::time_point deadline,
                  size_t& sent);

  int32_t DeviceEscape(int32_t code) override;
  int32_t DevicePurge(int which) override;
  int32_t DeviceErrors() override;
  int32_t ReadDeviceState(TDeviceControlBlock& dcb) override;
  int32_t WriteDeviceState(const TDeviceControlBlock& dcb) override;
  int32_t DeviceSetBufferSizes(uint32_t inSize, uint32_t outSize) override;
  uint8_t DeviceModemStatus() override;
  int32_t CloseDeviceHandle() override;
  bool DeviceOpen() const override { return fd_.load() >= 0; }
  // No local transmitter: the far end keys its own line.
  bool DriverTogglesRts() const override { return true; }
  bool CanSenseTransmitterEmpty() const override { return true; }

  int32_t WaitInput() override;
  int32_t DeviceRead(uint8_t* buffer, int32_t size) override;
  int32_t DeviceWrite(const uint8_t* data, int32_t size) override;
  bool WaitTransmitterEmpty(uint32_t baud) override;
  int32_t WaitStatusEvent(uint32_t& events) override;
  void SetThreadPriority(int nativeThreadId, int level) override;

 private:
  const TPortScheme scheme_;
  const int socketType_;
  TUniqueFd socket_;          // closed only when no worker can use it
  std::atomic<int> fd_{-1};   // socket_'s number, for the workers
  std::string failureText_;   // user-interface thread only
  TDeviceControlBlock kept_;  // guarded by the dispatcher lock
};
