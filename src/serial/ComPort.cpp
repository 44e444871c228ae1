// The serial port component's properties and the rules of their assignment,
// on a closed port and on an open one. User-interface thread only; the
// component takes no lock (its dispatcher does). Opening, closing and sending
// are in ComPortOpen.cpp.
#include "serial/ComPort.h"

#include <algorithm>
#include <utility>

#include "serial/SerialErrors.h"

namespace {

constexpr uint32_t kHardwareFullPerMille = 900;
constexpr uint32_t kHardwareResumePerMille = 100;
constexpr uint32_t kSoftwareFullPerMille = 750;
constexpr uint32_t kSoftwareResumePerMille = 250;

// Truncates like the thresholds' fractions of InSize do.
uint16_t PerMilleOf(uint32_t value, uint32_t perMille) {
  return static_cast<uint16_t>(value * perMille / 1000);
}

// A trace or log request on a closed port can only switch recording on or off.
TTraceLogState ClosedPortRequest(TTraceLogState value) {
  return value == TTraceLogState::tlOn ? TTraceLogState::tlOn : TTraceLogState::tlOff;
}

std::string PassString(std::string_view value) {
  return std::string(value.substr(0, TVrlComPort::kMaxPassStringLength));
}

// The dispatcher's byte-wide line parameters; larger values saturate instead
// of wrapping round to small ones.
uint8_t ByteParameter(uint16_t value) { return static_cast<uint8_t>(std::min<uint16_t>(value, 255)); }

// The dispatcher's software flow flag word: 1 holds our output on XOFF, 2 sends
// XOFF/XON as our input fills and drains.
uint32_t SoftwareFlowWord(TSWFlowOptions options) {
  switch (options) {
    case TSWFlowOptions::swfReceive:
      return 2;
    case TSWFlowOptions::swfTransmit:
      return 1;
    case TSWFlowOptions::swfBoth:
      return 3;
    default:
      return 0;
  }
}

}  // namespace

void TVrlComPort::SetComNumber(uint16_t value) {
  if (value == comNumber_) return;
  if (!PortOpen()) {
    comNumber_ = value;
    return;
  }
  // The trace and log requests outlive the close that the reopen needs.
  const TTraceLogState tracing = tracing_;
  const TTraceLogState logging = logging_;
  SetOpen(false);
  comNumber_ = value;
  SetTracing(tracing);
  SetLogging(logging);
  SetOpen(true);
}

void TVrlComPort::ApplyLineParams() {
  if (!PortOpen()) return;
  CheckResult(Loading(), dispatcher_->SetLineParams(static_cast<uint32_t>(baud_),
                                                    static_cast<uint8_t>(parity_),
                                                    ByteParameter(dataBits_), ByteParameter(stopBits_)));
}

void TVrlComPort::SetBaud(int32_t value) {
  if (value == baud_) return;
  baud_ = value;
  ApplyLineParams();
}

void TVrlComPort::SetParity(TParity value) {
  if (value == parity_) return;
  parity_ = value;
  ApplyLineParams();
}

void TVrlComPort::SetDataBits(uint16_t value) {
  if (value == dataBits_) return;
  dataBits_ = value;
  ApplyLineParams();
}

void TVrlComPort::SetStopBits(uint16_t value) {
  if (value == stopBits_) return;
  stopBits_ = value;
  ApplyLineParams();
}

void TVrlComPort::SetInSize(uint16_t value) {
  if (value == inSize_) return;
  inSize_ = value;
  // The platform sizes its own buffers; a refusal changes nothing that matters.
  if (PortOpen()) dispatcher_->SetBufferSizes(inSize_, outSize_);
}

void TVrlComPort::SetOutSize(uint16_t value) {
  if (value == outSize_) return;
  outSize_ = value;
  if (PortOpen()) dispatcher_->SetBufferSizes(inSize_, outSize_);
}

void TVrlComPort::SetAutoOpen(bool value) {
  if (Unchanged(value == autoOpen_)) return;
  autoOpen_ = value;
}

void TVrlComPort::SetPromptForPort(bool value) {
  if (Unchanged(value == promptForPort_)) return;
  promptForPort_ = value;
}

// On an open port the line is kept only when the dispatcher set it: while a
// handshake or RS485 drives the line it answers 1 and the property stays.
void TVrlComPort::SetDTR(bool value) {
  if (Unchanged(value == dtr_)) return;
  if (PortOpen() && CheckResult(Loading(), dispatcher_->SetDTRLine(value)) != 0) return;
  dtr_ = value;
}

void TVrlComPort::SetRTS(bool value) {
  if (Unchanged(value == rts_)) return;
  if (PortOpen() && CheckResult(Loading(), dispatcher_->SetRTSLine(value)) != 0) return;
  rts_ = value;
}

void TVrlComPort::ApplyThresholdDefaults(uint32_t fullPerMille, uint32_t resumePerMille) {
  if (bufferFull_ == 0 || bufferFull_ > inSize_) bufferFull_ = PerMilleOf(inSize_, fullPerMille);
  if (bufferResume_ == 0 || bufferResume_ > bufferFull_) {
    bufferResume_ = PerMilleOf(inSize_, resumePerMille);
  }
}

void TVrlComPort::SetHWFlowOptions(THWFlowOptionSet value) {
  if (Unchanged(value == hwFlowOptions_)) return;
  if (!value.Empty()) ApplyThresholdDefaults(kHardwareFullPerMille, kHardwareResumePerMille);
  // Stored only once the device took it; the empty set switches the handshake off.
  if (PortOpen()) {
    CheckResult(Loading(), dispatcher_->SetHardwareFlow(bufferFull_, bufferResume_, value.Bits()));
  }
  hwFlowOptions_ = value;
  // RTS cannot both key an RS485 transmitter and serve as a handshake line.
  if (value.Contains(THWFlowOption::hwfUseRTS) || value.Contains(THWFlowOption::hwfRequireCTS)) {
    SetRS485Mode(false);
  }
}

void TVrlComPort::SetSWFlowOptions(TSWFlowOptions value) {
  if (Unchanged(value == swFlowOptions_)) return;
  if (value != TSWFlowOptions::swfNone) {
    ApplyThresholdDefaults(kSoftwareFullPerMille, kSoftwareResumePerMille);
  }
  if (PortOpen()) {
    CheckResult(Loading(), value == TSWFlowOptions::swfNone
                               ? dispatcher_->DisableSoftwareFlow()
                               : dispatcher_->EnableSoftwareFlow(bufferFull_, bufferResume_,
                                                                 SoftwareFlowWord(value)));
  }
  swFlowOptions_ = value;
}

void TVrlComPort::SetXOnChar(uint8_t value) {
  if (Unchanged(value == xOnChar_)) return;
  xOnChar_ = value;
  if (PortOpen()) CheckResult(Loading(), dispatcher_->SetFlowChars(xOnChar_, xOffChar_));
}

void TVrlComPort::SetXOffChar(uint8_t value) {
  if (Unchanged(value == xOffChar_)) return;
  xOffChar_ = value;
  if (PortOpen()) CheckResult(Loading(), dispatcher_->SetFlowChars(xOnChar_, xOffChar_));
}

void TVrlComPort::ReapplyFlowOptions() {
  TForceApply force(forceApply_);
  SetHWFlowOptions(hwFlowOptions_);
  SetSWFlowOptions(swFlowOptions_);
}

void TVrlComPort::SetBufferFull(uint16_t value) {
  if (Unchanged(value == bufferFull_)) return;
  bufferFull_ = value <= inSize_ ? value : PerMilleOf(inSize_, kHardwareFullPerMille);
  ReapplyFlowOptions();
}

void TVrlComPort::SetBufferResume(uint16_t value) {
  if (Unchanged(value == bufferResume_)) return;
  bufferResume_ = value <= bufferFull_ ? value : PerMilleOf(bufferFull_, kHardwareResumePerMille);
  ReapplyFlowOptions();
}

void TVrlComPort::SetRS485Mode(bool value) {
  if (Unchanged(value == rs485Mode_)) return;
  rs485Mode_ = value;
  if (PortOpen()) dispatcher_->SetRS485(value);
  if (value) {
    THWFlowOptionSet withoutRtsHandshake = hwFlowOptions_;
    withoutRtsHandshake.Exclude(THWFlowOption::hwfUseRTS);
    withoutRtsHandshake.Exclude(THWFlowOption::hwfRequireCTS);
    SetHWFlowOptions(withoutRtsHandshake);
    SetRTS(false);
  }
}

void TVrlComPort::SetTracing(TTraceLogState value) {
  if (Unchanged(value == tracing_)) return;
  if (PortOpen()) return RequestRecorder(TVrlBaseDispatcher::TRecorder::Trace, value);
  tracing_ = ClosedPortRequest(value);
}

void TVrlComPort::SetLogging(TTraceLogState value) {
  if (Unchanged(value == logging_)) return;
  if (PortOpen()) return RequestRecorder(TVrlBaseDispatcher::TRecorder::Log, value);
  logging_ = ClosedPortRequest(value);
}

void TVrlComPort::SetTraceSize(uint32_t value) {
  if (value > kMaxTraceSize) value = kMaxTraceSize;
  if (Unchanged(value == traceSize_)) return;
  traceSize_ = value;
  if (PortOpen()) ResizeRecorder(TVrlBaseDispatcher::TRecorder::Trace);
}

void TVrlComPort::SetLogSize(uint32_t value) {
  if (value > kMaxLogSize) value = kMaxLogSize;
  if (Unchanged(value == logSize_)) return;
  logSize_ = value;
  if (PortOpen()) ResizeRecorder(TVrlBaseDispatcher::TRecorder::Log);
}

void TVrlComPort::SetTraceName(std::string_view value) { traceName_ = PassString(value); }

void TVrlComPort::SetLogName(std::string_view value) { logName_ = PassString(value); }

void TVrlComPort::SetTraceHex(bool value) { traceHex_ = value; }

void TVrlComPort::SetLogHex(bool value) { logHex_ = value; }

void TVrlComPort::SetTraceAllHex(bool value) { traceAllHex_ = value; }

void TVrlComPort::SetLogAllHex(bool value) { logAllHex_ = value; }

void TVrlComPort::SetUseEventWord(bool value) {
  if (Unchanged(value == useEventWord_)) return;
  useEventWord_ = value;
  if (PortOpen()) dispatcher_->SetOptionFlag(kUseEventWordFlag, value);
}

void TVrlComPort::SetTapiMode(TTapiMode value) { tapiMode_ = value; }

void TVrlComPort::SetDeviceLayer(TDeviceLayer value) { deviceLayer_ = value; }

void TVrlComPort::SetPortMap(TPortMap value) { portMap_ = std::move(value); }
