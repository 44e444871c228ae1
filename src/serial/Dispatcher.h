// The device-independent half of a port dispatcher: the output ring and the
// write thread's batching, line and flow rules, RS485 direction control, the
// input side with its read, status and dispatch threads, and the close order.
// A platform backend derives from it and supplies the device primitives.
// Owner-facing operations run on the main thread; the four workers run the
// Run*Thread loops. Locks: dispatcher lock (line state, handler lists), output
// lock (ring), input lock (dispatch buffer); the output lock or the input lock
// may be held while the dispatcher lock is taken, never the reverse.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "serial/DeviceControlBlock.h"
#include "serial/DispatchLog.h"
#include "serial/Event.h"
#include "serial/IOQueue.h"
#include "serial/MainThreadQueue.h"
#include "serial/ThreadAnnotations.h"
#include "serial/Trace.h"
#include "serial/WakeWord.h"

class TVrlBaseDispatcher {
 public:
  static constexpr uint32_t kDispatchBufferSize = 8192;
  static constexpr int32_t kReadBlockSize = 256;
  // The most one read of the device takes.
  static constexpr int32_t kReadChunkSize = 4096;
  // Received bytes queued behind the dispatch buffer at most; beyond them
  // input waits in the device (or, where it cannot wait there, the oldest
  // queued input is dropped).
  static constexpr int64_t kInputQueueLimit = 64 * 1024;

  // Line errors.
  static constexpr int32_t kReceiveOverflow = 0x01;
  // InitializePort line options.
  static constexpr uint32_t kDtrOn = 0x01, kRtsOn = 0x02, kDtrHandshake = 0x10,
                            kRtsHandshake = 0x20;
  // Communication event bits.
  static constexpr uint32_t kEvRxChar = 0x0001, kEvCts = 0x0008, kEvDsr = 0x0010, kEvRlsd = 0x0020,
                            kEvBreak = 0x0040, kEvErr = 0x0080, kEvRing = 0x0100,
                            kEvRingTrailing = 0x2000;
  // Notification messages.
  static constexpr uint32_t kMsgTriggerAvail = 0x7E01;
  // Device escapes.
  static constexpr int32_t kSetRts = 3, kClrRts = 4, kSetDtr = 5, kClrDtr = 6;
  // The rate a line gets when neither the settings nor the device name one.
  static constexpr uint32_t kDefaultBaud = 19200;

  explicit TVrlBaseDispatcher(TDispatcherOwner* owner);
  TVrlBaseDispatcher(const TVrlBaseDispatcher&) = delete;
  TVrlBaseDispatcher& operator=(const TVrlBaseDispatcher&) = delete;
  virtual ~TVrlBaseDispatcher();

  // Runs fn on the dispatcher registered under handle while holding the
  // registry lock; false when the handle names none.
  static bool WithDispatcher(int32_t handle, const std::function<void(TVrlBaseDispatcher&)>& fn);

  int32_t HandleNumber() const { return handleNumber_; }
  std::string DeviceName() const;
  void SetDeviceName(const std::string& name);

  int32_t InitializePort(const std::string& deviceName, uint32_t baud, uint8_t parity,
                         uint8_t dataBits, uint8_t stopBits, uint32_t inSize, uint32_t outSize,
                         uint32_t lineOptions);
  // baud 0 keeps the device's rate, or kDefaultBaud where it has none; the
  // line is never programmed at speed 0.
  int32_t SetLineParams(uint32_t baud, uint8_t parity, uint8_t dataBits, uint8_t stopBits);
  int32_t SetBufferSizes(uint32_t inSize, uint32_t outSize);
  // Waits up to about boundMs for the ring, the write thread's batch and the
  // driver's queue to empty, so that bytes just sent are not purged by a close
  // that follows; true when nothing is left unsent.
  bool WaitUntilSent(uint32_t boundMs);
  int32_t SetHardwareFlow(uint32_t bufferFull, uint32_t bufferResume, uint32_t options);
  int32_t EnableSoftwareFlow(uint32_t bufferFull, uint32_t bufferResume, uint32_t options);
  int32_t DisableSoftwareFlow();
  int32_t SetFlowChars(uint8_t xonChar, uint8_t xoffChar);
  // 1 without effect while the line is driven automatically.
  int32_t SetDTRLine(bool on);
  int32_t SetRTSLine(bool on);
  void SetRS485(bool on);
  void SetPriorityBoost(uint8_t boost);

  int32_t WriteBlock(const void* data, uint32_t count);
  int32_t OutputUsed();
  int32_t OutputFree();
  int32_t PurgeOutput();
  int32_t PurgeInput();
  void ShutdownPort();

  // Opens the device only (the presence probe uses it with CloseDevice).
  virtual int32_t OpenDevice(const std::string& deviceName) = 0;
  // After a failed open: the failure in words when the result code alone
  // cannot name it (a network peer's host, port and cause); empty otherwise.
  virtual std::string OpenFailureText() const { return {}; }
  // Stops the workers in the order status, write, read, dispatch, then closes
  // the device; 0 at once while another close is running.
  int32_t CloseDevice();

  // Input side and notification bookkeeping.
  void SetTriggerLength(uint32_t length);
  void SetOptionFlag(uint32_t flag, bool on);
  uint32_t OptionFlags() const;
  void RegisterNotifyWindow(TNotifyWindow window);
  void DeregisterNotifyWindow(TNotifyWindow window);
  void RefreshHandlerFlags(int mode);
  bool EventBusy() const { return delivering_.load(); }
  bool ThreadsRunning() const { return runningThreads_.load() > 0; }
  // A worker failed: the device is (being) closed and the buffers released.
  bool Killed() const { return killed_.load(); }

  int32_t LineErrors() const { return lineErrors_.load(); }
  uint8_t ModemStatus() const;
  // Received bytes waiting in the dispatch buffer; during an "available"
  // delivery, less what the handler has taken so far.
  uint32_t DispatchBufferUsed() const;
  // Takes up to count received bytes out of the dispatch buffer, oldest first,
  // and returns how many it took. Called by a handler of an "available"
  // delivery (main thread, while the dispatch thread waits for it) or at any
  // other time from the owner's thread.
  uint32_t GetBlock(uint8_t* block, uint32_t count);
  int64_t InputQueueBytes() const { return inputQueue_.BytesQueued(); }

  // The trace and the dispatch log, driven by the component's Tracing and
  // Logging requests (main thread); DispatcherTraceLog.cpp. Both are off
  // after InitializePort, and the log's times count from then.
  enum class TRecorder { Trace, Log };
  // size: the trace's entries, or the log's limit in bytes (0: none).
  int32_t StartRecorder(TRecorder recorder, uint32_t size);
  void StopRecorder(TRecorder recorder);
  void PauseRecorder(TRecorder recorder);
  void ResumeRecorder(TRecorder recorder);
  void ClearRecorder(TRecorder recorder);
  // Writes what the recorder holds to fileName; 0 when it holds nothing.
  int32_t DumpRecorder(TRecorder recorder, const std::string& fileName, bool append, bool allHex,
                       bool hex);

 protected:
  // Device primitives. All but the thread primitives run under the dispatcher
  // lock and only while the device is open.
  virtual int32_t DeviceEscape(int32_t code) = 0;
  virtual int32_t DevicePurge(int which) = 0;  // 0 output, 1 input
  virtual int32_t DeviceErrors() = 0;          // line-error bits since the last call
  virtual int32_t ReadDeviceState(TDeviceControlBlock& dcb) = 0;
  virtual int32_t WriteDeviceState(const TDeviceControlBlock& dcb) = 0;
  virtual int32_t DeviceSetBufferSizes(uint32_t inSize, uint32_t outSize) = 0;
  virtual uint8_t DeviceModemStatus() = 0;  // CTS 0x10, DSR 0x20, RI 0x40, DCD 0x80
  virtual int32_t CloseDeviceHandle() = 0;
  // Bytes the driver has taken but not yet sent; 0 where it cannot tell.
  virtual uint32_t DeviceOutputQueued() { return 0; }
  virtual bool DeviceOpen() const = 0;
  // The driver switches the transmitter itself in RS485 mode.
  virtual bool DriverTogglesRts() const = 0;
  // Without driver toggling: whether the end of transmission can be sensed.
  virtual bool CanSenseTransmitterEmpty() const = 0;

  // Thread primitives; each returns at once when KillEvent() is set.
  // 1: input may be readable; 0: woken without input; negative: failure.
  virtual int32_t WaitInput() = 0;
  // Bytes read, 0 when none are waiting, negative on failure.
  virtual int32_t DeviceRead(uint8_t* buffer, int32_t size) = 0;
  // Whether input left unread stays in the device, which then holds its peer
  // back (a terminal's driver does). A backend whose own control answers
  // travel among the data must go on reading instead.
  virtual bool HoldsUnreadInput() const { return false; }
  // Waits without reading until InputRoomEvent() or the kill is set: 0, or
  // negative when the device fails or hangs up meanwhile.
  virtual int32_t WaitForInputRoom();
  // Writes the whole block: 0 done, -1 aborted (output abort or kill), negative on failure.
  virtual int32_t DeviceWrite(const uint8_t* data, int32_t size) = 0;
  // Blocks until the transmitter is empty; false when an output abort or the
  // kill event ended the wait first.
  virtual bool WaitTransmitterEmpty(uint32_t baud) = 0;
  // Waits for communication events; 0 with events (0 when woken), negative on failure.
  virtual int32_t WaitStatusEvent(uint32_t& events) = 0;
  virtual void SetThreadPriority(int nativeThreadId, int level) = 0;

  // Output ring hooks, called with the output lock held: the ring's size for
  // the component's output size, each block WriteBlock queued, and a purge
  // or release that dropped every queued block. A backend that sends each
  // block as a message of its own keeps the boundaries with them.
  virtual uint32_t OutputRingSize(uint32_t outSize) const { return outSize; }
  virtual void BlockQueued(uint32_t) {}
  virtual void QueuedBlocksDropped() {}

  // Sleeps of the line-change drain; a hook so that tests can observe them.
  virtual void SleepMilliseconds(uint32_t milliseconds);

  // Every derived destructor calls this first, while its primitives still exist.
  void DestroyPort();

  TEvent& KillEvent() { return killEvent_; }
  TEvent& ReadEvent() { return readEvent_; }
  TEvent& InputRoomEvent() { return inputMoved_; }
  TEvent& OutputAbortEvent() { return outputAbort_; }
  std::recursive_mutex& DispatcherLock() { return dispatcherLock_; }

 private:
  enum TWorker { kRead, kDispatch, kWrite, kStatus, kWorkerCount };

  int32_t StartThreads();
  // The receive handshake's marks: resume at or below full, full within the
  // input buffer. Called with the dispatcher lock held.
  bool ThresholdsValid(uint32_t bufferFull, uint32_t bufferResume) const;
  // DTR or RTS: 1 while the driver drives the line, else the escape's outcome.
  // Called with the dispatcher lock held.
  int32_t SetControlLine(bool on, bool automatic, int32_t escape, bool& state);
  void StartWorker(TWorker worker);
  void ReleaseBuffers();
  void ApplyDeviceState(TDeviceControlBlock& dcb, int32_t& result);
  // drain: wait first for what is still unsent, as a line change on an open
  // port does.
  int32_t ProgramLine(uint32_t baud, uint8_t parity, uint8_t dataBits, uint8_t stopBits,
                      bool drain);
  // The ring, the write thread's batch and the driver's queue.
  uint32_t UnsentCount();
  void DrainBeforeLineChange();
  bool ThreadOperationsAllowed() const;
  uint32_t RingCount() const;
  // Bytes between tail and head, whatever a delivery has taken. Input lock held.
  uint32_t DispatchBufferFill() const;
  void RefreshLineErrors();
  bool OnWorkerThread() const;
  void WaitWorkerEnded(TWorker worker);
  void WaitAllWorkersEnded();
  void JoinWorkers();
  void WorkerStarted(TWorker worker);
  void WorkerEnded(TWorker worker, int32_t result);
  void Kill();
  // What the write thread is woken for, as bits of its wake word.
  static constexpr uint32_t kWakeOutput = 1, kWakeAbort = 2, kWakeKill = 4;
  void WakeWriter(uint32_t reason);

  void RunReadThread();
  void RunDispatchThread();
  void RunWriteThread();
  void RunStatusThread();
  void WriteLoop(int32_t& result);
  int32_t RunWriter();
  void ShowException(const std::exception& failure);

  bool DispatchCycle();
  void MoveReceivedBytes(bool& moved);
  int32_t TakeInput(uint8_t* buffer, int32_t size);
  int32_t InputPending();
  bool AvailabilityPass();
  void RefreshModemStatus();
  bool Deliver(uint32_t message, uintptr_t wParam, int32_t data);
  void RecomputeHandlerFlags(int mode);
  // Takes the dispatcher lock; does nothing while the log is off.
  void AddLogEntry(TLogType type, uint16_t subtype, int32_t data, const void* bytes = nullptr,
                   uint32_t count = 0);

  TDispatcherOwner* owner_;
  int32_t handleNumber_ = -1;

  mutable std::recursive_mutex dispatcherLock_;
  mutable std::recursive_mutex outputLock_;
  mutable std::recursive_mutex inputLock_;

  std::string deviceName_ VRL_GUARDED_BY(dispatcherLock_);
  TDeviceControlBlock dcb_ VRL_GUARDED_BY(dispatcherLock_);
  uint32_t lastBaud_ VRL_GUARDED_BY(dispatcherLock_) = 115200;
  uint32_t inSize_ VRL_GUARDED_BY(dispatcherLock_) = 0;
  bool dtrState_ VRL_GUARDED_BY(dispatcherLock_) = false;
  bool rtsState_ VRL_GUARDED_BY(dispatcherLock_) = false;
  bool dtrAuto_ VRL_GUARDED_BY(dispatcherLock_) = false;
  bool rtsAuto_ VRL_GUARDED_BY(dispatcherLock_) = false;
  bool closing_ VRL_GUARDED_BY(dispatcherLock_) = false;
  // Changed under the dispatcher lock.
  std::atomic<uint8_t> priorityBoost_{0};
  uint32_t optionFlags_ VRL_GUARDED_BY(dispatcherLock_) = 0;
  uint32_t triggerLength_ VRL_GUARDED_BY(dispatcherLock_) = 0;
  struct TWindowHandler {
    TNotifyWindow window;
    bool deleted;
  };
  std::vector<TWindowHandler> windowHandlers_ VRL_GUARDED_BY(dispatcherLock_);
  bool handlersNeeded_ VRL_GUARDED_BY(dispatcherLock_) = false;
  bool portHandlerInstalled_ VRL_GUARDED_BY(dispatcherLock_) = false;
  uint8_t modemStatus_ VRL_GUARDED_BY(dispatcherLock_) = 0;
  bool ringSeen_ VRL_GUARDED_BY(dispatcherLock_) = false;
  TTrace trace_ VRL_GUARDED_BY(dispatcherLock_);
  TDispatchLog log_ VRL_GUARDED_BY(dispatcherLock_);

  std::vector<uint8_t> ring_ VRL_GUARDED_BY(outputLock_);
  uint32_t outSize_ VRL_GUARDED_BY(outputLock_) = 0;
  uint32_t ringHead_ VRL_GUARDED_BY(outputLock_) = 0;
  uint32_t ringTail_ VRL_GUARDED_BY(outputLock_) = 0;
  bool ringFull_ VRL_GUARDED_BY(outputLock_) = false;
  bool ringReleased_ VRL_GUARDED_BY(outputLock_) = true;
  // Bytes of the write thread's batch not yet taken by the device.
  uint32_t batchUnsent_ VRL_GUARDED_BY(outputLock_) = 0;
  // The write thread holds a batch: it is writing it, or waiting for the
  // transmitter to send it out.
  bool writerBusy_ VRL_GUARDED_BY(outputLock_) = false;

  std::vector<uint8_t> dispatchBuffer_ VRL_GUARDED_BY(inputLock_);
  uint32_t dispatchHead_ VRL_GUARDED_BY(inputLock_) = 0;
  uint32_t dispatchTail_ VRL_GUARDED_BY(inputLock_) = 0;
  bool dispatchFull_ VRL_GUARDED_BY(inputLock_) = false;
  uint32_t scanPosition_ VRL_GUARDED_BY(inputLock_) = 0;
  uint32_t notifiedPosition_ VRL_GUARDED_BY(inputLock_) = 0;
  // Bytes the current handler of an "available" delivery took, and the most
  // any handler of that delivery took; the tail moves by the latter after it.
  uint32_t taken_ VRL_GUARDED_BY(inputLock_) = 0;
  uint32_t mostTaken_ VRL_GUARDED_BY(inputLock_) = 0;
  // A handler of the delivery is being called: only what it takes counts
  // against the delivery. A delivery that calls no handler (none wants its
  // bytes) leaves block reads of the owner to move the tail at once.
  bool handlerCalled_ VRL_GUARDED_BY(inputLock_) = false;

  std::atomic<int32_t> lineErrors_{0};
  std::atomic<bool> rs485_{false};
  std::atomic<bool> outputSent_{false};
  std::atomic<bool> dispatchBufferFull_{false};
  std::atomic<bool> kill_{false};
  std::atomic<bool> killed_{false};
  std::atomic<bool> threadsActive_{false};
  std::atomic<int32_t> runningThreads_{0};
  std::atomic<bool> delivering_{false};
  std::atomic<bool> closeRequested_{false};
  std::atomic<int> nativeThreadIds_[kWorkerCount] = {};
  std::atomic<std::thread::id> workerIds_[kWorkerCount] = {};

  // Worker threads: started and joined on the owner's thread only.
  std::thread workers_[kWorkerCount];
  std::mutex endLock_;
  std::condition_variable endSignal_;
  bool workerEnded_[kWorkerCount] VRL_GUARDED_BY(endLock_) = {true, true, true, true};

  TEvent threadAck_{TEvent::TReset::Auto};
  // The write thread's idle wait: a wake word rather than an event, so that
  // a put costs no system call while the thread is busy and waking it costs
  // one.
  TWakeWord writerWake_;
  TEvent outputAbort_{TEvent::TReset::Auto};
  TEvent readEvent_{TEvent::TReset::Auto};
  // Set when bytes left the input queue (the dispatch thread moved them, or a
  // purge), and when the dispatch thread found the dispatch buffer full.
  TEvent inputMoved_{TEvent::TReset::Auto};
  TEvent killEvent_{TEvent::TReset::Manual};

  TIOQueue inputQueue_;
  std::vector<uint8_t> writeBlock_;  // the write thread's batch
};
