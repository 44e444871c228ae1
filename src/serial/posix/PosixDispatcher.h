// The dispatcher on a POSIX terminal device: non-blocking descriptor, termios2
// line settings, modem lines through TIOCM*, line errors from TIOCGICOUNT, and
// kernel RS485 mode where the driver has it; the handshakes termios lacks are
// emulated on the modem lines. Owned by the port component; the
// device primitives run on the main thread and the dispatcher's workers.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "serial/Dispatcher.h"
#include "serial/posix/LineTermios.h"
#include "serial/posix/UniqueFd.h"

class TVrlPosixDispatcher : public TVrlBaseDispatcher {
 public:
  explicit TVrlPosixDispatcher(TDispatcherOwner* owner);
  ~TVrlPosixDispatcher() override;

  // Opens only tty drivers' devices, checked before the open (never a pty
  // master, the controlling terminal or the system console), and exclusively
  // (TIOCEXCL and flock): -2/-3 absent, -5 in use, also when another program
  // made the tty exclusive or holds a UUCP lock file for it. The exclusive
  // mark is set only once every step has succeeded, so a failed open leaves
  // the device as it was found.
  int32_t OpenDevice(const std::string& deviceName) override;

 protected:
  int32_t DeviceEscape(int32_t code) override;
  int32_t DevicePurge(int which) override;
  int32_t DeviceErrors() override;
  int32_t ReadDeviceState(TDeviceControlBlock& dcb) override;
  int32_t WriteDeviceState(const TDeviceControlBlock& dcb) override;
  int32_t DeviceSetBufferSizes(uint32_t inSize, uint32_t outSize) override;
  uint8_t DeviceModemStatus() override;
  int32_t CloseDeviceHandle() override;
  uint32_t DeviceOutputQueued() override;
  bool DeviceOpen() const override { return fd_.load() >= 0; }
  bool DriverTogglesRts() const override { return kernelRs485_; }
  bool CanSenseTransmitterEmpty() const override { return true; }

  int32_t WaitInput() override;
  int32_t DeviceRead(uint8_t* buffer, int32_t size) override;
  bool HoldsUnreadInput() const override { return true; }
  int32_t WaitForInputRoom() override;
  int32_t DeviceWrite(const uint8_t* data, int32_t size) override;
  bool WaitTransmitterEmpty(uint32_t baud) override;
  int32_t WaitStatusEvent(uint32_t& events) override;
  void SetThreadPriority(int nativeThreadId, int level) override;

  // The modem-line, queue, transmitter and RS485 requests to the driver all
  // pass here (a hook that tests use to log and answer them); ioctl's result.
  virtual int DeviceIoctl(int fd, unsigned long request, void* argument);

 private:
  // What the hardware-flow flags of a block ask of the modem lines. Only the
  // pair of RTS handshake and CTS requirement is termios's CRTSCTS; every
  // other handshake is emulated.
  struct THandshakes {
    bool dtr = false, rts = false;                // receive handshakes: the line is kept raised
    bool requireDsr = false, requireCts = false;  // output waits while the line is low
    bool kernelRtsCts = false;                    // the kernel does both halves
  };
  static THandshakes HandshakesOf(const TDeviceControlBlock& dcb);

  struct TCounters {
    int32_t cts = 0, dsr = 0, rng = 0, dcd = 0, frame = 0, overrun = 0, parity = 0, brk = 0,
            bufOverrun = 0;
  };
  bool ReadCounters(TCounters& counters) const;
  // Waits while output is held by an emulated handshake (DSR or CTS low):
  // 0 to go on, -1 on abort or kill.
  int32_t WaitForModemLines();

  TUniqueFd device_;         // closed only when no worker can use it
  std::atomic<int> fd_{-1};  // device_'s number, for the workers
  std::atomic<bool> hasModemLines_{false};
  std::atomic<bool> requireDsr_{false};  // output waits while DSR is low
  std::atomic<bool> requireCts_{false};  // output waits while CTS is low (emulated)
  bool kernelRs485_ = false;             // guarded by the dispatcher lock
  TDeviceControlBlock kept_;             // guarded by the dispatcher lock
  TLineTermios termios_;                 // guarded by the dispatcher lock
  TCounters errorCounters_;              // guarded by the dispatcher lock
  TCounters statusCounters_;             // status thread only
  uint8_t statusModemBits_ = 0;          // status thread only
};
