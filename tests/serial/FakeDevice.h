// A recording fake device under the base dispatcher, for the rules a
// pseudo-terminal cannot show: the exact device-control-block writes, modem
// line escapes, drain waits and RS485 ordering. Its thread primitives block on
// the dispatcher's kill event. Records are shared with the workers under a lock.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "serial/Dispatcher.h"
#include "serial/ResultCodes.h"

class TFakeDevice : public TVrlBaseDispatcher {
 public:
  explicit TFakeDevice(TDispatcherOwner* owner, bool driverTogglesRts = false)
      : TVrlBaseDispatcher(owner), driverTogglesRts_(driverTogglesRts) {}
  ~TFakeDevice() override { DestroyPort(); }

  int32_t OpenDevice(const std::string&) override {
    std::lock_guard guard(lock_);
    open_ = true;
    return 0;
  }

  // Everything recorded since the last Clear, in order: "dcb", "escape N",
  // "sleep N", "driver sent N", "write <bytes>", "temt".
  std::vector<std::string> Records() {
    std::lock_guard guard(lock_);
    return records_;
  }
  std::vector<TDeviceControlBlock> Writes() {
    std::lock_guard guard(lock_);
    return writes_;
  }
  void Clear() {
    std::lock_guard guard(lock_);
    records_.clear();
    writes_.clear();
  }
  bool WaitForRecord(const std::string& record) {
    std::unique_lock lock(lock_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] {
      for (const auto& r : records_) {
        if (r == record) return true;
      }
      return false;
    });
  }
  // The state the device is found in when it opens.
  void SetDeviceState(const TDeviceControlBlock& dcb) {
    std::lock_guard guard(lock_);
    dcb_ = dcb;
  }
  // Bytes the driver reports as taken but not yet sent.
  void SetDriverQueued(uint32_t count) {
    std::lock_guard guard(lock_);
    driverQueued_ = count;
  }
  // While closed, device writes wait; lets a test hold bytes in the ring.
  // Any sleep of the dispatcher opens it again: the line moves on meanwhile.
  void SetWriteGate(bool open) {
    std::lock_guard guard(lock_);
    gateOpen_ = open;
    changed_.notify_all();
  }
  void FailWrites() {
    std::lock_guard guard(lock_);
    failWrites_ = true;
  }
  void SetCanSenseTransmitterEmpty(bool can) {
    std::lock_guard guard(lock_);
    canSense_ = can;
  }

 protected:
  int32_t DeviceEscape(int32_t code) override { return Record("escape " + std::to_string(code)); }
  int32_t DevicePurge(int) override { return 0; }
  int32_t DeviceErrors() override { return 0; }
  int32_t ReadDeviceState(TDeviceControlBlock& dcb) override {
    std::lock_guard guard(lock_);
    dcb = dcb_;
    return 0;
  }
  int32_t WriteDeviceState(const TDeviceControlBlock& dcb) override {
    std::lock_guard guard(lock_);
    dcb_ = dcb;
    writes_.push_back(dcb);
    records_.push_back("dcb");
    return 0;
  }
  int32_t DeviceSetBufferSizes(uint32_t, uint32_t) override { return 0; }
  uint8_t DeviceModemStatus() override { return 0; }
  uint32_t DeviceOutputQueued() override {
    std::lock_guard guard(lock_);
    return driverQueued_;
  }
  int32_t CloseDeviceHandle() override {
    std::lock_guard guard(lock_);
    open_ = false;
    return 0;
  }
  bool DeviceOpen() const override {
    std::lock_guard guard(lock_);
    return open_;
  }
  bool DriverTogglesRts() const override { return driverTogglesRts_; }
  bool CanSenseTransmitterEmpty() const override {
    std::lock_guard guard(lock_);
    return canSense_;
  }
  int32_t WaitInput() override {
    KillEvent().Wait(std::chrono::milliseconds(-1));
    return 0;
  }
  int32_t DeviceRead(uint8_t*, int32_t) override { return 0; }
  int32_t DeviceWrite(const uint8_t* data, int32_t size) override {
    std::unique_lock lock(lock_);
    writing_ = true;
    changed_.wait(lock, [&] { return gateOpen_; });
    writing_ = false;
    changed_.notify_all();
    if (failWrites_) return vrl::kErrDeviceWrite;
    records_.push_back("write " + std::string(reinterpret_cast<const char*>(data), size));
    return 0;
  }
  bool WaitTransmitterEmpty(uint32_t) override {
    Record("temt");
    return true;
  }
  int32_t WaitStatusEvent(uint32_t& events) override {
    events = 0;
    KillEvent().Wait(std::chrono::milliseconds(-1));
    return 0;
  }
  void SetThreadPriority(int, int) override {}
  // Recorded; meanwhile the driver sends what it queues and a held write
  // goes out, which the sleep waits for at most as long as it lasts.
  void SleepMilliseconds(uint32_t milliseconds) override {
    std::unique_lock lock(lock_);
    records_.push_back("sleep " + std::to_string(milliseconds));
    if (driverQueued_ > 0) records_.push_back("driver sent " + std::to_string(driverQueued_));
    driverQueued_ = 0;
    gateOpen_ = true;
    changed_.notify_all();
    changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return !writing_; });
  }

 private:
  int32_t Record(const std::string& record) {
    std::lock_guard guard(lock_);
    records_.push_back(record);
    changed_.notify_all();
    return 0;
  }

  const bool driverTogglesRts_;
  mutable std::mutex lock_;
  std::condition_variable changed_;
  bool open_ = false;
  bool gateOpen_ = true;
  bool writing_ = false;
  uint32_t driverQueued_ = 0;
  bool failWrites_ = false;
  bool canSense_ = true;
  TDeviceControlBlock dcb_;
  std::vector<std::string> records_;
  std::vector<TDeviceControlBlock> writes_;
};
