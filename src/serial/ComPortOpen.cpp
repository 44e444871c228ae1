// Opening, closing and sending of the serial port component, and its notify
// window. User-interface thread only, except ShowException (workers). The
// component owns its dispatcher; the dispatcher owns the device and threads.
#include <algorithm>
#include <string>
#include <system_error>
#include <utility>

#include "serial/ComPort.h"
#include "serial/NotifyWindow.h"
#include "serial/PlatformDispatcher.h"
#include "serial/ResultCodes.h"
#include "serial/SerialErrors.h"

namespace {

constexpr uint32_t kFirstTriggerMessage = 0x7E01;
constexpr uint32_t kLastTriggerMessage = 0x7E04;
// The dispatcher delivers to the notify window only while the port's own
// handler is installed, which an assigned trigger event asks for.
constexpr int kPortHandler = 1;
constexpr int kNoPortHandler = 2;

// "In use" and "absent" are the two open failures the component words itself.
int32_t TranslateOpenResult(int32_t result) {
  if (result == vrl::kErrAccessDenied) return vrl::kErrAlreadyOpen;
  if (result == vrl::kErrFileNotFound || result == vrl::kErrPathNotFound) return vrl::kErrBadId;
  return result;
}

// The dispatcher's handle rides in the high 16 bits of a notification's lParam.
int32_t HandleOf(intptr_t lParam) {
  return static_cast<int32_t>((static_cast<uintptr_t>(lParam) >> 16) & 0xFFFF);
}

}  // namespace

TVrlComPort::~TVrlComPort() {
  if (state_ == TComPortState::stOpen) ClosePort(false);
  // A close still waiting for its notify window finishes now.
  if (dispatcher_) FinishClose();
}

void TVrlComPort::SetOpen(bool value) {
  if (value == open_) return;
  if (value) {
    OpenPort();
  } else {
    // The port is closed even when its trace or log could not be written out;
    // that failure is reported afterwards.
    CheckResult(Loading(), ClosePort(true));
  }
}

void TVrlComPort::OpenPort() {
  if (state_ != TComPortState::stClosed) {
    reopenPending_ = true;
    return;
  }
  // Without a port number there is nothing to open; this program never asks
  // the user to pick one.
  if (tapiMode_ != TTapiMode::tmOn && comNumber_ == 0) throw ENoPortSelected(vrl::kErrNoPortSelected);
  if (deviceLayer_ != TDeviceLayer::dlWin32) throw ENullApi(vrl::kErrNullApi);
  const std::string devicePath = portMap_.DevicePath(comNumber_);
  try {
    dispatcher_ = CreatePlatformDispatcher(this, devicePath);
  } catch (const std::system_error& failure) {
    // Its events need descriptors too: name the cause, such as none being left.
    CheckResult(Loading(), SystemErrorResult(failure.code().value()));
    throw;
  }
  dispatcher_->SetDeviceName("COM" + std::to_string(comNumber_));
  try {
    uint32_t options = 0;
    if (dtr_) options |= TVrlBaseDispatcher::kDtrOn;
    if (rts_) options |= TVrlBaseDispatcher::kRtsOn;
    if (hwFlowOptions_.Contains(THWFlowOption::hwfUseDTR))
      options |= TVrlBaseDispatcher::kDtrHandshake;
    if (hwFlowOptions_.Contains(THWFlowOption::hwfUseRTS))
      options |= TVrlBaseDispatcher::kRtsHandshake;
    const int32_t result = TranslateOpenResult(dispatcher_->InitializePort(
        devicePath, static_cast<uint32_t>(baud_), static_cast<uint8_t>(parity_),
        static_cast<uint8_t>(std::min<uint16_t>(dataBits_, 255)),
        static_cast<uint8_t>(std::min<uint16_t>(stopBits_, 255)), inSize_, outSize_, options));
    if (IsPermissionRefusal(result)) {
      throw EInOutError(PermissionRefusalText(devicePath), -result - vrl::kPlatformErrorBase);
    }
    // A network peer's failure names its host, port and cause.
    if (const std::string text = dispatcher_->OpenFailureText(); result < 0 && !text.empty()) {
      throw EInOutError(
          text, result <= -vrl::kPlatformErrorBase ? -result - vrl::kPlatformErrorBase : -result);
    }
    CheckResult(Loading(), result);
    state_ = TComPortState::stOpen;
    RefreshPortHandler();
    ReapplySettings();
    open_ = true;
    notifyWindow_ = CreateNotifyWindow([this](uint32_t message, uintptr_t wParam, intptr_t lParam) {
      return NotifyWindowProcedure(message, wParam, lParam);
    });
    dispatcher_->RegisterNotifyWindow(notifyWindow_);
  } catch (...) {
    open_ = false;
    state_ = TComPortState::stClosed;
    if (notifyWindow_ != 0) {
      DestroyNotifyWindow(notifyWindow_);
      notifyWindow_ = 0;
    }
    dispatcher_.reset();
    throw;
  }
}

// A new dispatcher starts from the device's defaults: every setting goes to it
// again, in an order where the later ones see the earlier ones in force.
void TVrlComPort::ReapplySettings() {
  TForceApply force(forceApply_);
  SetTracing(tracing_);
  SetLogging(logging_);
  SetHWFlowOptions(hwFlowOptions_);
  SetSWFlowOptions(swFlowOptions_);
  SetXOnChar(xOnChar_);
  SetXOffChar(xOffChar_);
  dispatcher_->SetTriggerLength(1);
  SetDTR(dtr_);
  SetRTS(rts_);
  SetUseEventWord(useEventWord_);
  SetRS485Mode(rs485Mode_);
  dispatcher_->SetPriorityBoost(0);
}

int32_t TVrlComPort::ClosePort(bool deferAllowed) {
  if (state_ != TComPortState::stOpen) return 0;
  const int32_t dumped = DumpRecordersForClose();
  state_ = TComPortState::stShuttingDown;
  dispatcher_->ShutdownPort();
  // Closed from inside an event the dispatcher is delivering: the dispatcher
  // must outlive that delivery, so the notify window finishes the close.
  if (deferAllowed && queue_ != nullptr && dispatcher_->EventBusy()) {
    queue_->Post(notifyWindow_, kMsgClosePending, 0,
                 static_cast<intptr_t>(dispatcher_->HandleNumber()) << 16);
    queue_->ProcessOnePending();
    return dumped;
  }
  FinishClose();
  return dumped;
}

void TVrlComPort::FinishClose() {
  if (notifyWindow_ != 0) {
    dispatcher_->DeregisterNotifyWindow(notifyWindow_);
    DestroyNotifyWindow(notifyWindow_);
    notifyWindow_ = 0;
  }
  dispatcher_.reset();
  state_ = TComPortState::stClosed;
  open_ = false;
}

void TVrlComPort::RefreshPortHandler() {
  if (!dispatcher_) return;
  dispatcher_->RefreshHandlerFlags(onTriggerAvail_ ? kPortHandler : kNoPortHandler);
}

void TVrlComPort::SetOnTriggerAvail(TTriggerAvailEvent handler) {
  onTriggerAvail_ = std::move(handler);
  if (PortOpen()) RefreshPortHandler();
}

uint32_t TVrlComPort::GetBlock(void* block, uint32_t count) {
  if (!dispatcher_ || !PortOpen()) throw ECommNotOpen(vrl::kErrCommNotOpen);
  return dispatcher_->GetBlock(static_cast<uint8_t*>(block), count);
}

intptr_t TVrlComPort::NotifyWindowProcedure(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const bool trigger = message >= kFirstTriggerMessage && message <= kLastTriggerMessage;
  if (!trigger && message != kMsgClosePending) return 0;
  bool ours = false;
  bool threadsRunning = false;
  TVrlBaseDispatcher::WithDispatcher(HandleOf(lParam), [&](TVrlBaseDispatcher& dispatcher) {
    ours = &dispatcher == dispatcher_.get();
    threadsRunning = dispatcher.ThreadsRunning();
  });
  if (!ours) return 0;
  try {
    if (trigger) {
      // Bytes that arrive while the port closes go with the dispatcher.
      if (message == TVrlBaseDispatcher::kMsgTriggerAvail && onTriggerAvail_ && PortOpen()) {
        // A copy: the handler may assign another one.
        const TTriggerAvailEvent handler = onTriggerAvail_;
        handler(*this, static_cast<uint32_t>(wParam));
      }
      return 0;
    }
    if (threadsRunning) {
      queue_->Post(notifyWindow_, message, 0, lParam);
      return 0;
    }
    FinishClose();
    if (reopenPending_) {
      reopenPending_ = false;
      OpenPort();
    }
  } catch (const std::exception& failure) {
    ShowException(failure);
  }
  return 0;
}

TVrlBaseDispatcher& TVrlComPort::RequireDispatcher() {
  if (!dispatcher_ && !Loading() && state_ != TComPortState::stOpen && autoOpen_) SetOpen(true);
  if (!dispatcher_) throw ECommNotOpen(vrl::kErrCommNotOpen);
  return *dispatcher_;
}

void TVrlComPort::SendString(std::string_view text) {
  if (state_ == TComPortState::stShuttingDown) return;
  // A device that went away (an unplugged adapter) killed the dispatcher;
  // opening again serves an operator who plugged it back in.
  if (dispatcher_ && dispatcher_->Killed() && autoOpen_) SetOpen(false);
  TVrlBaseDispatcher& dispatcher = RequireDispatcher();
  CheckResult(Loading(), dispatcher.WriteBlock(text.data(), static_cast<uint32_t>(text.size())));
}

bool TVrlComPort::WaitUntilSent(uint32_t boundMs) {
  if (!dispatcher_) return true;
  // A device that went away takes nothing more; waiting would only delay.
  if (dispatcher_->Killed()) return false;
  return dispatcher_->WaitUntilSent(boundMs);
}

void TVrlComPort::ShowException(const std::exception& failure) {
  if (exceptionDisplay_) exceptionDisplay_(failure);
}
