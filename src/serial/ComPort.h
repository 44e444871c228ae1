// TVrlComPort: one serial port. Its settings are properties; assigning one on
// an open port programs the device at once. Opening creates the dispatcher
// (which owns the device and the worker threads) and a notify window; closing
// frees both. The owner (the main window) keeps one per output; every call
// comes from the user-interface thread, except ShowException, which the
// dispatcher's workers call.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "serial/ComPortTypes.h"
#include "serial/Dispatcher.h"
#include "serial/MainThreadQueue.h"
#include "serial/PortMap.h"

class TVrlComPort : public TDispatcherOwner {
 public:
  static constexpr size_t kMaxPassStringLength = 255;
  static constexpr uint32_t kMaxTraceSize = 4000000;
  static constexpr uint32_t kMaxLogSize = 16000000;
  // Posted to the notify window to finish a close that had to wait for the
  // dispatcher's delivery of an event.
  static constexpr uint32_t kMsgClosePending = 0x7E0A;
  // Option flag of the dispatcher that UseEventWord sets.
  static constexpr uint32_t kUseEventWordFlag = 4;

  // Shows a worker's failure; called on the failing worker's thread.
  using TExceptionDisplay = std::function<void(const std::exception& failure)>;
  // Received bytes wait in the dispatch buffer: count of them. Called on the
  // main thread once per batch that arrives, while the dispatch thread waits;
  // the handler takes the bytes with GetBlock.
  using TTriggerAvailEvent = std::function<void(TVrlComPort& sender, uint32_t count)>;

  TVrlComPort() = default;
  TVrlComPort(const TVrlComPort&) = delete;
  TVrlComPort& operator=(const TVrlComPort&) = delete;
  // Closes an open port first.
  ~TVrlComPort() override;

  TComPortState State() const { return state_; }
  // True while the port is open.
  bool Open() const { return open_; }
  // True opens the port with the current settings, false closes it; an equal
  // value does nothing. Opening raises the serial layer's exceptions (EBadId
  // for an absent device, EAlreadyOpen for one held by someone else) and leaves
  // the port closed; closing raises nothing.
  void SetOpen(bool value);

  // Queues text (any bytes) for sending and returns without waiting for the
  // wire. A closed port is opened first while AutoOpen is on, and so is one
  // whose device went away (unplugged). Raises EOutputBufferTooSmall and queues
  // nothing when text does not fit; drops text while the port is closing.
  void SendString(std::string_view text);
  // The dispatcher, opening the port first when AutoOpen allows; ECommNotOpen
  // when there is none.
  TVrlBaseDispatcher& RequireDispatcher();
  // Waits up to about boundMs until what was sent has left for the device;
  // true when it has or the port is not open, false when its device went away
  // first. Never opens the port.
  bool WaitUntilSent(uint32_t boundMs);

  // Takes up to count received bytes out of the dispatch buffer, oldest
  // first; returns how many. ECommNotOpen while the port is not open.
  uint32_t GetBlock(void* block, uint32_t count);
  // Without a handler received bytes stay in the dispatch buffer until it is
  // full; later ones are dropped, oldest first, beyond a bounded queue.
  const TTriggerAvailEvent& OnTriggerAvail() const { return onTriggerAvail_; }
  void SetOnTriggerAvail(TTriggerAvailEvent handler);

  // The main thread's queue that serves the notify window; set before opening.
  void SetMainThreadQueue(TMainThreadQueue* queue) { queue_ = queue; }
  // How a worker's failure is shown; without one it is dropped. Set before opening.
  void SetExceptionDisplay(TExceptionDisplay display) { exceptionDisplay_ = std::move(display); }

  // TDispatcherOwner: a port is never loaded from a stored form here.
  bool Loading() const override { return false; }
  TMainThreadQueue* MainThreadQueue() override { return queue_; }
  void ShowException(const std::exception& failure) override;

  // On an open port a new number closes the port and opens the new one; if
  // that fails the port stays closed and keeps the new number.
  uint16_t ComNumber() const { return comNumber_; }
  void SetComNumber(uint16_t value);
  int32_t Baud() const { return baud_; }
  void SetBaud(int32_t value);
  TParity Parity() const { return parity_; }
  void SetParity(TParity value);
  uint16_t DataBits() const { return dataBits_; }
  void SetDataBits(uint16_t value);
  uint16_t StopBits() const { return stopBits_; }
  void SetStopBits(uint16_t value);
  uint16_t InSize() const { return inSize_; }
  void SetInSize(uint16_t value);
  uint16_t OutSize() const { return outSize_; }
  void SetOutSize(uint16_t value);

  bool AutoOpen() const { return autoOpen_; }
  void SetAutoOpen(bool value);
  bool PromptForPort() const { return promptForPort_; }
  void SetPromptForPort(bool value);
  bool DTR() const { return dtr_; }
  void SetDTR(bool value);
  bool RTS() const { return rts_; }
  void SetRTS(bool value);

  // A non-empty set first puts missing or invalid thresholds to 90 % and 10 %
  // of InSize; a set holding hwfUseRTS or hwfRequireCTS switches RS485 off.
  THWFlowOptionSet HWFlowOptions() const { return hwFlowOptions_; }
  void SetHWFlowOptions(THWFlowOptionSet value);
  // Anything but swfNone first puts missing or invalid thresholds to 75 % and
  // 25 % of InSize.
  TSWFlowOptions SWFlowOptions() const { return swFlowOptions_; }
  void SetSWFlowOptions(TSWFlowOptions value);
  uint8_t XOnChar() const { return xOnChar_; }
  void SetXOnChar(uint8_t value);
  uint8_t XOffChar() const { return xOffChar_; }
  void SetXOffChar(uint8_t value);
  // Input fill levels of the receive handshake; each assignment re-applies
  // both flow options.
  uint16_t BufferFull() const { return bufferFull_; }
  void SetBufferFull(uint16_t value);
  uint16_t BufferResume() const { return bufferResume_; }
  void SetBufferResume(uint16_t value);
  // True removes hwfUseRTS and hwfRequireCTS and drops RTS: RTS keys the
  // transmitter instead.
  bool RS485Mode() const { return rs485Mode_; }
  void SetRS485Mode(bool value);

  // While closed only tlOff and tlOn are kept; any other request stores tlOff.
  // On an open port a request acts on the running trace (tlDump, tlAppend,
  // tlAppendAndContinue write it to TraceName) and the property reads tlOff,
  // tlOn or tlPause; a dump that fails raises. Likewise Logging and LogName.
  TTraceLogState Tracing() const { return tracing_; }
  void SetTracing(TTraceLogState value);
  TTraceLogState Logging() const { return logging_; }
  void SetLogging(TTraceLogState value);
  // A new size restarts a running trace (or log) with it; a paused one stops.
  uint32_t TraceSize() const { return traceSize_; }
  void SetTraceSize(uint32_t value);
  uint32_t LogSize() const { return logSize_; }
  void SetLogSize(uint32_t value);
  // At most 255 bytes are kept.
  const std::string& TraceName() const { return traceName_; }
  void SetTraceName(std::string_view value);
  const std::string& LogName() const { return logName_; }
  void SetLogName(std::string_view value);
  bool TraceHex() const { return traceHex_; }
  void SetTraceHex(bool value);
  bool LogHex() const { return logHex_; }
  void SetLogHex(bool value);
  bool TraceAllHex() const { return traceAllHex_; }
  void SetTraceAllHex(bool value);
  bool LogAllHex() const { return logAllHex_; }
  void SetLogAllHex(bool value);

  bool UseEventWord() const { return useEventWord_; }
  void SetUseEventWord(bool value);
  TTapiMode TapiMode() const { return tapiMode_; }
  void SetTapiMode(TTapiMode value);
  TDeviceLayer DeviceLayer() const { return deviceLayer_; }
  void SetDeviceLayer(TDeviceLayer value);

  // Which device path each port number opens.
  const TPortMap& PortMap() const { return portMap_; }
  void SetPortMap(TPortMap value);

 private:
  // Puts BufferFull and BufferResume to fractions of InSize (in tenths of a
  // percent) when they are 0 or out of order.
  void ApplyThresholdDefaults(uint32_t fullPerMille, uint32_t resumePerMille);
  void ReapplyFlowOptions();
  // True when an assignment of a value equal to the stored one has nothing to do.
  bool Unchanged(bool equal) const { return equal && !forceApply_; }
  bool PortOpen() const { return state_ == TComPortState::stOpen; }
  // Sets forceApply_ for its lifetime, also when a setter raises.
  class TForceApply {
   public:
    explicit TForceApply(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    TForceApply(const TForceApply&) = delete;
    TForceApply& operator=(const TForceApply&) = delete;
    ~TForceApply() { flag_ = previous_; }

   private:
    bool& flag_;
    bool previous_;
  };
  void ApplyLineParams();

  void OpenPort();
  void ReapplySettings();
  // deferAllowed: a close from inside an event delivery may finish later,
  // through the notify window; destruction never defers.
  // The result of writing out a running trace or log (0 when none ran).
  int32_t ClosePort(bool deferAllowed);
  // Trace and log requests on an open port; ComPortTraceLog.cpp.
  TTraceLogState& RecorderState(TVrlBaseDispatcher::TRecorder recorder);
  int32_t DumpRecorder(TVrlBaseDispatcher::TRecorder recorder, bool append);
  void RequestRecorder(TVrlBaseDispatcher::TRecorder recorder, TTraceLogState request);
  void ResizeRecorder(TVrlBaseDispatcher::TRecorder recorder);
  // The first step of a close: writes a running or paused trace and log to
  // their files and stops both. Raises nothing, so that the close can finish;
  // returns the first failure's code, 0 when there was none.
  int32_t DumpRecordersForClose();
  void FinishClose();
  // Installs the port's own handler with the dispatcher while an event wants it.
  void RefreshPortHandler();
  intptr_t NotifyWindowProcedure(uint32_t message, uintptr_t wParam, intptr_t lParam);

  TComPortState state_ = TComPortState::stClosed;
  bool open_ = false;
  bool reopenPending_ = false;
  std::unique_ptr<TVrlBaseDispatcher> dispatcher_;
  TNotifyWindow notifyWindow_ = 0;
  TMainThreadQueue* queue_ = nullptr;
  TExceptionDisplay exceptionDisplay_;
  TTriggerAvailEvent onTriggerAvail_;
  // Makes every setter re-apply a value equal to the stored one.
  bool forceApply_ = false;

  uint16_t comNumber_ = 0;
  int32_t baud_ = 19200;
  TParity parity_ = TParity::pNone;
  uint16_t dataBits_ = 8;
  uint16_t stopBits_ = 1;
  uint16_t inSize_ = 4096;
  uint16_t outSize_ = 4096;
  bool autoOpen_ = true;
  bool promptForPort_ = true;
  bool dtr_ = true;
  bool rts_ = true;
  THWFlowOptionSet hwFlowOptions_;
  TSWFlowOptions swFlowOptions_ = TSWFlowOptions::swfNone;
  uint8_t xOnChar_ = 17;
  uint8_t xOffChar_ = 19;
  uint16_t bufferFull_ = 0;
  uint16_t bufferResume_ = 0;
  bool rs485Mode_ = false;
  TTraceLogState tracing_ = TTraceLogState::tlOff;
  TTraceLogState logging_ = TTraceLogState::tlOff;
  uint32_t traceSize_ = 10000;
  uint32_t logSize_ = 10000;
  std::string traceName_ = "VREL.TRC";
  std::string logName_ = "VREL.LOG";
  bool traceHex_ = true;
  bool logHex_ = true;
  bool traceAllHex_ = false;
  bool logAllHex_ = false;
  bool useEventWord_ = true;
  TTapiMode tapiMode_ = TTapiMode::tmAuto;
  TDeviceLayer deviceLayer_ = TDeviceLayer::dlWin32;
  TPortMap portMap_;
};
