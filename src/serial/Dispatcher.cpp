// Owner-facing operations of the base dispatcher: registry, opening, line and
// flow settings, the output ring, purges and the close order. The worker loops
// are in DispatcherThreads.cpp, the input side in DispatchInput.cpp.
#include "serial/Dispatcher.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include "serial/ResultCodes.h"
#include "serial/SerialErrors.h"

namespace {

std::mutex& RegistryLock() {
  static std::mutex lock;
  return lock;
}

std::vector<TVrlBaseDispatcher*>& Registry() {
  static std::vector<TVrlBaseDispatcher*> registry;
  return registry;
}

constexpr auto kPurgeAckWait = std::chrono::milliseconds(5000);

}  // namespace

TVrlBaseDispatcher::TVrlBaseDispatcher(TDispatcherOwner* owner) : owner_(owner) {
  std::lock_guard guard(RegistryLock());
  auto& registry = Registry();
  const auto empty = std::find(registry.begin(), registry.end(), nullptr);
  if (empty != registry.end()) {
    *empty = this;
    handleNumber_ = static_cast<int32_t>(empty - registry.begin());
  } else {
    registry.push_back(this);
    handleNumber_ = static_cast<int32_t>(registry.size() - 1);
  }
}

TVrlBaseDispatcher::~TVrlBaseDispatcher() {
  std::lock_guard guard(RegistryLock());
  auto& registry = Registry();
  registry[static_cast<size_t>(handleNumber_)] = nullptr;
  while (!registry.empty() && registry.back() == nullptr) registry.pop_back();
}

void TVrlBaseDispatcher::DestroyPort() {
  if (closeRequested_) {
    ReleaseBuffers();
  } else {
    ShutdownPort();
  }
  Kill();
  WaitAllWorkersEnded();
  JoinWorkers();
}

bool TVrlBaseDispatcher::WithDispatcher(int32_t handle,
                                        const std::function<void(TVrlBaseDispatcher&)>& fn) {
  std::lock_guard guard(RegistryLock());
  auto& registry = Registry();
  if (handle < 0 || static_cast<size_t>(handle) >= registry.size() || !registry[handle]) {
    return false;
  }
  fn(*registry[handle]);
  return true;
}

std::string TVrlBaseDispatcher::DeviceName() const {
  std::lock_guard guard(dispatcherLock_);
  return deviceName_;
}

void TVrlBaseDispatcher::SetDeviceName(const std::string& name) {
  std::lock_guard guard(dispatcherLock_);
  deviceName_ = name;
}

void TVrlBaseDispatcher::SleepMilliseconds(uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

int32_t TVrlBaseDispatcher::InitializePort(const std::string& deviceName, uint32_t baud,
                                           uint8_t parity, uint8_t dataBits, uint8_t stopBits,
                                           uint32_t inSize, uint32_t outSize,
                                           uint32_t lineOptions) {
  // A second open of a running dispatcher must not reach the device steps,
  // whose failure path would shut the running port down.
  if (threadsActive_) throw std::runtime_error("Dispatcher already started.");
  int32_t result = OpenDevice(deviceName);
  if (result == 0) result = SetBufferSizes(inSize, outSize);
  if (result != 0) {
    ShutdownPort();
    return result;
  }
  {
    std::lock_guard output(outputLock_);
    outSize_ = OutputRingSize(outSize);
    ring_.assign(outSize_, 0);
    ringHead_ = ringTail_ = 0;
    ringFull_ = false;
    ringReleased_ = false;
    writerBusy_ = false;
  }
  {
    std::lock_guard input(inputLock_);
    dispatchBuffer_.assign(kDispatchBufferSize, 0);
    dispatchHead_ = dispatchTail_ = scanPosition_ = notifiedPosition_ = 0;
    taken_ = mostTaken_ = 0;
    dispatchFull_ = false;
    dispatchBufferFull_ = false;
  }
  lineErrors_ = 0;
  outputSent_ = false;
  closeRequested_ = false;
  rs485_ = false;
  kill_ = false;
  killed_ = false;
  killEvent_.Reset();
  {
    std::lock_guard guard(dispatcherLock_);
    inSize_ = inSize;
    ReadDeviceState(dcb_);
    // The levels asked for are kept while a handshake drives the lines, so
    // that they return when it stops.
    dtrState_ = (lineOptions & kDtrOn) != 0;
    rtsState_ = (lineOptions & kRtsOn) != 0;
    dtrAuto_ = (lineOptions & kDtrHandshake) != 0;
    if (!dtrAuto_) SetDTRLine(dtrState_);
    rtsAuto_ = (lineOptions & kRtsHandshake) != 0;
    if (!rtsAuto_) SetRTSLine(rtsState_);
    triggerLength_ = 0;
    modemStatus_ = static_cast<uint8_t>(DeviceModemStatus() & 0xF0);
    ringSeen_ = false;
    lastBaud_ = 115200;
  }
  // Nothing was ever written on this port: there is nothing to drain.
  result = ProgramLine(baud, parity, dataBits, stopBits, false);
  if (result != 0) {
    ShutdownPort();
    return result;
  }
  RefreshLineErrors();
  {
    std::lock_guard guard(dispatcherLock_);
    trace_.Stop();
    log_.Stop();
    log_.SetOrigin();
  }
  result = StartThreads();
  if (result != 0) ShutdownPort();
  return result;
}

bool TVrlBaseDispatcher::ThreadOperationsAllowed() const { return !kill_ && DeviceOpen(); }

void TVrlBaseDispatcher::ApplyDeviceState(TDeviceControlBlock& dcb, int32_t& result) {
  using namespace vrl::dcb;
  if (!dtrAuto_) {
    dcb.Flags = (dcb.Flags & ~kDtrControlMask) | (dtrState_ ? kDtrControlEnable : 0);
  }
  if (!rtsAuto_) {
    dcb.Flags = (dcb.Flags & ~kRtsControlMask) | (rtsState_ ? kRtsControlEnable : 0);
  }
  result = WriteDeviceState(dcb);
  if (result == 0) dcb_ = dcb;
  lastBaud_ = dcb.BaudRate;
  SetDTRLine(dtrState_);
  if (!rs485_) SetRTSLine(rtsState_);
}

int32_t TVrlBaseDispatcher::SetLineParams(uint32_t baud, uint8_t parity, uint8_t dataBits,
                                          uint8_t stopBits) {
  return ProgramLine(baud, parity, dataBits, stopBits, true);
}

int32_t TVrlBaseDispatcher::ProgramLine(uint32_t baud, uint8_t parity, uint8_t dataBits,
                                        uint8_t stopBits, bool drain) {
  using namespace vrl::dcb;
  TDeviceControlBlock wanted;
  {
    std::lock_guard guard(dispatcherLock_);
    if (!ThreadOperationsAllowed()) return vrl::kErrCommNotOpen;
    ReadDeviceState(wanted);
    wanted.Flags =
        (wanted.Flags | kBinary | kTxContinueOnXoff) & ~(kParity | kDsrSensitivity | kNull);
    if (baud != 0) wanted.BaudRate = baud;
    // Speed 0 hangs a real line up: a device left there gets the default rate.
    if (wanted.BaudRate == 0) wanted.BaudRate = kDefaultBaud;
    if (parity != 5) wanted.Parity = parity;
    if (dataBits != 9) wanted.ByteSize = dataBits;
    if (stopBits == 0) stopBits = 1;
    if (stopBits >= 4) stopBits = 2;
    if (stopBits != 3) wanted.StopBits = stopBits == 1 ? kOneStopBit : kTwoStopBits;
    if (dataBits == 5) wanted.StopBits = kOneAndHalfStopBits;
    TDeviceControlBlock current;
    ReadDeviceState(current);
    if (wanted.BaudRate == current.BaudRate && wanted.Parity == current.Parity &&
        wanted.ByteSize == current.ByteSize && wanted.StopBits == current.StopBits &&
        wanted.Flags == current.Flags) {
      return 0;
    }
  }
  if (drain) DrainBeforeLineChange();
  std::lock_guard guard(dispatcherLock_);
  if (!ThreadOperationsAllowed()) return vrl::kErrCommNotOpen;
  TDeviceControlBlock dcb;
  ReadDeviceState(dcb);
  dcb.Flags = wanted.Flags;
  dcb.BaudRate = wanted.BaudRate;
  dcb.Parity = wanted.Parity;
  dcb.ByteSize = wanted.ByteSize;
  dcb.StopBits = wanted.StopBits;
  int32_t result = 0;
  ApplyDeviceState(dcb, result);
  return result;
}

uint32_t TVrlBaseDispatcher::UnsentCount() {
  uint32_t unsent;
  {
    std::lock_guard output(outputLock_);
    unsent = RingCount() + batchUnsent_;
  }
  // Read after the batch: bytes it hands to the driver meanwhile count there.
  std::lock_guard guard(dispatcherLock_);
  if (DeviceOpen()) unsent += DeviceOutputQueued();
  return unsent;
}

void TVrlBaseDispatcher::DrainBeforeLineChange() {
  // Everything not yet on the wire: the ring, the batch the write thread
  // holds, and what the driver still queues.
  for (int i = 0; i < 5000 && UnsentCount() > 0; ++i) SleepMilliseconds(2);
  TDeviceControlBlock dcb;
  {
    std::lock_guard guard(dispatcherLock_);
    ReadDeviceState(dcb);
  }
  // A line at speed 0 sends nothing, so nothing is left on its wire.
  if (dcb.BaudRate == 0) return;
  const uint64_t bits =
      dcb.ByteSize + 2u + (dcb.Parity != 0 ? 1u : 0u) + (dcb.StopBits != 0 ? 1u : 0u);
  uint64_t t = (10'000'000 / dcb.BaudRate) * bits * 18;  // units of 100 ns
  if (t < 10'000) t *= 2;
  SleepMilliseconds(static_cast<uint32_t>(t / 10'000 + (t % 10'000 != 0 ? 1 : 0)));
}

bool TVrlBaseDispatcher::WaitUntilSent(uint32_t boundMs) {
  for (uint32_t waited = 0; UnsentCount() > 0; waited += 2) {
    if (waited >= boundMs) return false;
    SleepMilliseconds(2);
  }
  return true;
}

int32_t TVrlBaseDispatcher::SetBufferSizes(uint32_t inSize, uint32_t outSize) {
  std::lock_guard guard(dispatcherLock_);
  if (!DeviceOpen()) return vrl::kErrCommNotOpen;
  return DeviceSetBufferSizes(inSize, outSize);
}

bool TVrlBaseDispatcher::ThresholdsValid(uint32_t bufferFull, uint32_t bufferResume) const {
  return bufferResume <= bufferFull && bufferFull <= inSize_;
}

int32_t TVrlBaseDispatcher::SetHardwareFlow(uint32_t bufferFull, uint32_t bufferResume,
                                            uint32_t options) {
  using namespace vrl::dcb;
  std::lock_guard guard(dispatcherLock_);
  if (!ThresholdsValid(bufferFull, bufferResume)) return vrl::kErrBadArgument;
  if (!ThreadOperationsAllowed()) return vrl::kErrCommNotOpen;
  TDeviceControlBlock dcb;
  ReadDeviceState(dcb);
  dcb.Flags &= ~(kOutxCtsFlow | kOutxDsrFlow | kDtrControlMask | kRtsControlMask);
  dtrAuto_ = rtsAuto_ = false;
  if (options & 0x01) {
    dcb.Flags |= kDtrControlHandshake;
    dtrAuto_ = true;
  } else if (dtrState_) {
    dcb.Flags |= kDtrControlEnable;
  }
  if (options & 0x02) {
    dcb.Flags |= kRtsControlHandshake;
    rtsAuto_ = true;
  } else if (rtsState_) {
    dcb.Flags |= kRtsControlEnable;
  }
  if (rs485_ && DriverTogglesRts()) {
    dcb.Flags = (dcb.Flags & ~kRtsControlMask) | kRtsControlToggle;
    rtsAuto_ = true;
  }
  dcb.XoffLim = static_cast<uint16_t>(inSize_ - bufferFull);
  dcb.XonLim = static_cast<uint16_t>(bufferResume);
  if (options & 0x04) dcb.Flags |= kOutxDsrFlow;
  if (options & 0x08) dcb.Flags |= kOutxCtsFlow;
  int32_t result = 0;
  ApplyDeviceState(dcb, result);
  return result;
}

int32_t TVrlBaseDispatcher::EnableSoftwareFlow(uint32_t bufferFull, uint32_t bufferResume,
                                               uint32_t options) {
  using namespace vrl::dcb;
  std::lock_guard guard(dispatcherLock_);
  if (!ThresholdsValid(bufferFull, bufferResume)) return vrl::kErrBadArgument;
  if (!ThreadOperationsAllowed()) return vrl::kErrCommNotOpen;
  TDeviceControlBlock dcb;
  ReadDeviceState(dcb);
  if (options & 0x02) {
    dcb.Flags |= kInX;
    dcb.XoffLim = static_cast<uint16_t>(inSize_ - bufferFull);
    dcb.XonLim = static_cast<uint16_t>(bufferResume);
  }
  if (options & 0x01) dcb.Flags |= kOutX;
  if (options & 0x03) {
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
  }
  int32_t result = 0;
  ApplyDeviceState(dcb, result);
  return result;
}

int32_t TVrlBaseDispatcher::DisableSoftwareFlow() {
  std::lock_guard guard(dispatcherLock_);
  if (!ThreadOperationsAllowed()) return vrl::kErrCommNotOpen;
  TDeviceControlBlock dcb;
  ReadDeviceState(dcb);
  dcb.Flags &= ~(vrl::dcb::kOutX | vrl::dcb::kInX);
  int32_t result = 0;
  ApplyDeviceState(dcb, result);
  return result;
}

int32_t TVrlBaseDispatcher::SetFlowChars(uint8_t xonChar, uint8_t xoffChar) {
  std::lock_guard guard(dispatcherLock_);
  if (!ThreadOperationsAllowed()) return vrl::kErrCommNotOpen;
  TDeviceControlBlock dcb;
  ReadDeviceState(dcb);
  dcb.XonChar = xonChar;
  dcb.XoffChar = xoffChar;
  int32_t result = 0;
  ApplyDeviceState(dcb, result);
  return result;
}

int32_t TVrlBaseDispatcher::SetDTRLine(bool on) {
  std::lock_guard guard(dispatcherLock_);
  return SetControlLine(on, dtrAuto_, on ? kSetDtr : kClrDtr, dtrState_);
}

int32_t TVrlBaseDispatcher::SetRTSLine(bool on) {
  std::lock_guard guard(dispatcherLock_);
  return SetControlLine(on, rtsAuto_, on ? kSetRts : kClrRts, rtsState_);
}

int32_t TVrlBaseDispatcher::SetControlLine(bool on, bool automatic, int32_t escape, bool& state) {
  if (automatic) return 1;
  if (!ThreadOperationsAllowed()) return vrl::kErrCommNotOpen;
  if (DeviceEscape(escape) < 0) return vrl::kErrBadArgument;
  state = on;
  return 0;
}

void TVrlBaseDispatcher::SetRS485(bool on) {
  using namespace vrl::dcb;
  std::lock_guard guard(dispatcherLock_);
  rs485_ = on;
  const int boost = priorityBoost_;
  SetThreadPriority(nativeThreadIds_[kWrite], boost + (on ? 1 : 0));
  // Where the driver keys the transmitter, it is told at once, both ways; off,
  // RTS returns to the level asked for.
  if (!DriverTogglesRts() || !ThreadOperationsAllowed()) return;
  TDeviceControlBlock dcb;
  ReadDeviceState(dcb);
  const bool toggling = (dcb.Flags & kRtsControlMask) == kRtsControlToggle;
  if (on == toggling) return;
  dcb.Flags &= ~kRtsControlMask;
  if (on) dcb.Flags |= kRtsControlToggle;
  rtsAuto_ = on;
  int32_t result = 0;
  ApplyDeviceState(dcb, result);
}

void TVrlBaseDispatcher::SetPriorityBoost(uint8_t boost) {
  std::lock_guard guard(dispatcherLock_);
  if (boost == priorityBoost_) return;
  priorityBoost_ = boost;
  for (TWorker worker : {kRead, kDispatch, kStatus}) {
    SetThreadPriority(nativeThreadIds_[worker], boost);
  }
  SetThreadPriority(nativeThreadIds_[kWrite], boost + (rs485_ ? 1 : 0));
}

uint32_t TVrlBaseDispatcher::RingCount() const {
  if (ringFull_) return outSize_;
  if (ringHead_ >= ringTail_) return ringHead_ - ringTail_;
  return ringHead_ + outSize_ - ringTail_;
}

int32_t TVrlBaseDispatcher::WriteBlock(const void* data, uint32_t count) {
  if (count == 0) return 0;
  const auto* bytes = static_cast<const uint8_t*>(data);
  {
    std::lock_guard output(outputLock_);
    if (kill_ || ringReleased_) return vrl::kErrCommNotOpen;
    const uint32_t free = outSize_ - RingCount();
    if (count > free) return vrl::kErrOutputBufferTooSmall;
    if (rs485_ && !DriverTogglesRts()) {
      if (!CanSenseTransmitterEmpty()) return vrl::kErrBaseAddressNotSet;
      SetRTSLine(true);
    }
    const uint32_t beforeEnd = outSize_ - ringHead_;
    if (count > beforeEnd) {
      std::memcpy(ring_.data() + ringHead_, bytes, beforeEnd);
      std::memcpy(ring_.data(), bytes + beforeEnd, count - beforeEnd);
      ringHead_ = count - beforeEnd;
    } else {
      std::memcpy(ring_.data() + ringHead_, bytes, count);
      ringHead_ = (ringHead_ + count) % outSize_;
    }
    if (count == free) ringFull_ = true;
    BlockQueued(count);
    outputSent_ = true;
  }
  // Woken after the lock is released, the write thread finds the ring free.
  WakeWriter(kWakeOutput);
  std::lock_guard guard(dispatcherLock_);
  log_.Add(TLogType::ltDispatch, vrl::logsubtype::kWriteCom, static_cast<int32_t>(count), bytes,
           count);
  trace_.Record(TTrace::kTransmit, bytes, count);
  return 0;
}

void TVrlBaseDispatcher::RefreshLineErrors() {
  std::lock_guard guard(dispatcherLock_);
  if (DeviceOpen()) lineErrors_ |= DeviceErrors();
}

int32_t TVrlBaseDispatcher::OutputUsed() {
  RefreshLineErrors();
  std::lock_guard output(outputLock_);
  return static_cast<int32_t>(RingCount());
}

int32_t TVrlBaseDispatcher::OutputFree() {
  RefreshLineErrors();
  std::lock_guard output(outputLock_);
  return static_cast<int32_t>(outSize_ - RingCount());
}

int32_t TVrlBaseDispatcher::PurgeOutput() {
  if (!threadsActive_ || kill_) return 0;
  bool writing;
  {
    std::lock_guard output(outputLock_);
    ringFull_ = false;
    ringHead_ = ringTail_ = 0;
    QueuedBlocksDropped();
    writing = writerBusy_;
  }
  int32_t result = 0;
  {
    std::lock_guard guard(dispatcherLock_);
    if (DeviceOpen()) result = DevicePurge(0);
  }
  // A write thread between batches holds nothing to abort, and with the ring
  // empty it cannot take a batch: there is no acknowledge to wait for.
  if (!writing) return result;
  outputAbort_.Set();
  WakeWriter(kWakeAbort);
  threadAck_.Wait(kPurgeAckWait);
  return result;
}

int32_t TVrlBaseDispatcher::PurgeInput() {
  int32_t result = 0;
  {
    std::lock_guard guard(dispatcherLock_);
    if (DeviceOpen()) result = DevicePurge(1);
  }
  inputQueue_.Clear();
  {
    std::lock_guard input(inputLock_);
    // A handler purging inside an "available" delivery: the tail moves when the
    // delivery ends, by everything that was there.
    if (handlerCalled_) {
      mostTaken_ = DispatchBufferFill();
    } else {
      dispatchTail_ = dispatchHead_;
      mostTaken_ = 0;
      dispatchFull_ = false;
      dispatchBufferFull_ = false;
    }
  }
  // A read thread holding input back in the device may read again.
  inputMoved_.Set();
  return result;
}

void TVrlBaseDispatcher::ShutdownPort() {
  bool open;
  {
    std::lock_guard guard(dispatcherLock_);
    open = DeviceOpen();
  }
  if (open) {
    PurgeOutput();
    PurgeInput();
    CloseDevice();
  }
  if (delivering_) {
    closeRequested_ = true;
  } else {
    ReleaseBuffers();
  }
}

void TVrlBaseDispatcher::ReleaseBuffers() {
  if (threadsActive_) CloseDevice();
  {
    std::lock_guard output(outputLock_);
    ringReleased_ = true;
    ringFull_ = false;
    ringHead_ = ringTail_ = 0;
    QueuedBlocksDropped();
    std::vector<uint8_t>().swap(ring_);
  }
  std::lock_guard input(inputLock_);
  std::vector<uint8_t>().swap(dispatchBuffer_);
  dispatchHead_ = dispatchTail_ = scanPosition_ = notifiedPosition_ = 0;
  dispatchFull_ = false;
  dispatchBufferFull_ = false;
}

int32_t TVrlBaseDispatcher::WaitForInputRoom() {
  TEvent::WaitAny({&inputMoved_, &killEvent_}, std::chrono::milliseconds(-1));
  return 0;
}

void TVrlBaseDispatcher::Kill() {
  kill_ = true;
  killEvent_.Set();
  WakeWriter(kWakeKill);
}

void TVrlBaseDispatcher::WakeWriter(uint32_t reason) { writerWake_.Raise(reason); }

int32_t TVrlBaseDispatcher::CloseDevice() {
  {
    std::lock_guard guard(dispatcherLock_);
    if (closing_) return 0;
    closing_ = true;
  }
  if (threadsActive_) {
    Kill();
    for (TWorker worker : {kStatus, kWrite, kRead, kDispatch}) WaitWorkerEnded(worker);
    if (!OnWorkerThread()) JoinWorkers();
  }
  std::lock_guard guard(dispatcherLock_);
  int32_t result = 0;
  if (DeviceOpen()) result = CloseDeviceHandle() == 0 ? 0 : -1;
  closing_ = false;
  return result;
}

int32_t TVrlBaseDispatcher::StartThreads() {
  std::lock_guard guard(dispatcherLock_);
  if (threadsActive_) throw std::runtime_error("Dispatcher already started.");
  // Workers of an earlier, killed run have ended but were never joined.
  JoinWorkers();
  threadsActive_ = true;
  kill_ = false;
  {
    std::lock_guard ended(endLock_);
    std::fill(std::begin(workerEnded_), std::end(workerEnded_), false);
  }
  runningThreads_ = kWorkerCount;
  // Workers that fail at once wait for this lock before they close anything,
  // so every worker exists before the device can be closed. None waits for
  // the one before it to report in: nothing a worker does at its start is
  // needed by the next one or by the owner, and each applies the priority it
  // is due itself.
  for (TWorker worker : {kRead, kDispatch, kWrite, kStatus}) {
    try {
      StartWorker(worker);
    } catch (const std::system_error& failure) {
      Kill();
      for (int rest = worker; rest < kWorkerCount; ++rest) WorkerEnded(TWorker(rest), 0);
      return vrl::PlatformErrorCode(failure.code().value());
    }
  }
  return 0;
}

void TVrlBaseDispatcher::StartWorker(TWorker worker) {
  switch (worker) {
    case kRead:
      workers_[worker] = std::thread(&TVrlBaseDispatcher::RunReadThread, this);
      break;
    case kDispatch:
      workers_[worker] = std::thread(&TVrlBaseDispatcher::RunDispatchThread, this);
      break;
    case kWrite:
      workers_[worker] = std::thread(&TVrlBaseDispatcher::RunWriteThread, this);
      break;
    default:
      workers_[worker] = std::thread(&TVrlBaseDispatcher::RunStatusThread, this);
      break;
  }
}

bool TVrlBaseDispatcher::OnWorkerThread() const {
  const auto self = std::this_thread::get_id();
  return std::any_of(std::begin(workerIds_), std::end(workerIds_),
                     [self](const std::atomic<std::thread::id>& id) { return id.load() == self; });
}

void TVrlBaseDispatcher::WaitWorkerEnded(TWorker worker) {
  if (workerIds_[worker].load() == std::this_thread::get_id()) return;
  // The main thread keeps handling its messages while it waits: the dispatch
  // thread may be blocked in a send to it.
  TMainThreadQueue* queue = owner_ && !OnWorkerThread() ? owner_->MainThreadQueue() : nullptr;
  std::unique_lock lock(endLock_);
  while (!workerEnded_[worker]) {
    if (queue == nullptr) {
      endSignal_.wait(lock);
      continue;
    }
    endSignal_.wait_for(lock, std::chrono::milliseconds(10));
    lock.unlock();
    queue->ProcessOnePending();
    lock.lock();
  }
}

void TVrlBaseDispatcher::WaitAllWorkersEnded() {
  for (TWorker worker : {kStatus, kWrite, kRead, kDispatch}) WaitWorkerEnded(worker);
}

void TVrlBaseDispatcher::JoinWorkers() {
  for (std::thread& worker : workers_) {
    if (worker.joinable()) worker.join();
  }
}

void TVrlBaseDispatcher::WorkerStarted(TWorker worker) {
  // The owner changes the boost and the RS485 mode under the dispatcher lock
  // and then applies them to the ids published so far. A worker that still
  // reads both unset after publishing its id is therefore seen by the owner;
  // one that reads either set applies the current level under that lock.
  workerIds_[worker] = std::this_thread::get_id();
  const int id = static_cast<int>(gettid());
  nativeThreadIds_[worker] = id;
  if (priorityBoost_ != 0 || (worker == kWrite && rs485_)) {
    std::lock_guard guard(dispatcherLock_);
    const int level = priorityBoost_ + (worker == kWrite && rs485_ ? 1 : 0);
    SetThreadPriority(id, level);
  }
}

void TVrlBaseDispatcher::ShowException(const std::exception& failure) {
  if (owner_ == nullptr) return;
  // A worker never lets an exception escape, not even one from the display.
  try {
    owner_->ShowException(failure);
  } catch (...) {
  }
}

void TVrlBaseDispatcher::WorkerEnded(TWorker worker, int32_t result) {
  if (result < 0) {
    try {
      CheckResult(owner_ != nullptr && owner_->Loading(), result);
    } catch (const std::exception& failure) {
      ShowException(failure);
    }
  }
  nativeThreadIds_[worker] = 0;
  workerIds_[worker] = std::thread::id();
  std::lock_guard guard(endLock_);
  workerEnded_[worker] = true;
  if (--runningThreads_ == 0) threadsActive_ = false;
  endSignal_.notify_all();
}
