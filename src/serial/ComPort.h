// TVrlComPort: one serial port's settings as properties, with the rules that
// hold while the port is closed (flow-control thresholds, RS485 against RTS/CTS
// handshaking, trace and log requests). The owner (the main window) keeps one
// per output; every call comes from the user-interface thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "serial/ComPortTypes.h"
#include "serial/PortMap.h"

class TVrlComPort {
 public:
  static constexpr size_t kMaxPassStringLength = 255;
  static constexpr uint32_t kMaxTraceSize = 4000000;
  static constexpr uint32_t kMaxLogSize = 16000000;

  TVrlComPort() = default;
  TVrlComPort(const TVrlComPort&) = delete;
  TVrlComPort& operator=(const TVrlComPort&) = delete;

  TComPortState State() const { return state_; }
  // True while the port is open.
  bool Open() const { return open_; }

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
  TTraceLogState Tracing() const { return tracing_; }
  void SetTracing(TTraceLogState value);
  TTraceLogState Logging() const { return logging_; }
  void SetLogging(TTraceLogState value);
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

  TComPortState state_ = TComPortState::stClosed;
  bool open_ = false;
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
