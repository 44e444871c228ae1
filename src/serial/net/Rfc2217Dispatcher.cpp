// The RFC 2217 client: Telnet framing of the data, com port commands for the
// line settings and the control lines, and the wait for the server's answers.
#include "serial/net/Rfc2217Dispatcher.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

#include "serial/ResultCodes.h"

namespace {

using namespace telnet;

// SET-CONTROL values for the device escapes.
constexpr uint8_t kControlDtrOn = 8, kControlDtrOff = 9, kControlRtsOn = 11, kControlRtsOff = 12;

std::string OneByte(uint8_t value) { return std::string(1, static_cast<char>(value)); }

std::string BaudValue(uint32_t baud) {
  return {static_cast<char>(baud >> 24), static_cast<char>(baud >> 16),
          static_cast<char>(baud >> 8), static_cast<char>(baud)};
}

// The block's parity (0 none .. 4 space) and stop-bit code (0 one, 1 one and
// a half, 2 two) in the option's numbering.
uint8_t ParityValue(uint8_t parity) {
  return static_cast<uint8_t>(std::min<uint8_t>(parity, 4) + 1);
}
uint8_t StopSizeValue(uint8_t stopBits) {
  return stopBits == vrl::dcb::kOneAndHalfStopBits ? 3 : stopBits == vrl::dcb::kTwoStopBits ? 2 : 1;
}

// Whether the first sent bytes of escaped end inside a doubled 255.
bool EndsInsidePair(std::string_view escaped, size_t sent) {
  size_t run = 0;
  while (run < sent && static_cast<uint8_t>(escaped[sent - 1 - run]) == kIac) ++run;
  return run % 2 == 1;
}

}  // namespace

class TVrlRfc2217Dispatcher::TSendTurn {
 public:
  TSendTurn(TVrlRfc2217Dispatcher& dispatcher, TClock::time_point deadline)
      : dispatcher_(dispatcher) {
    std::unique_lock lock(dispatcher_.sendLock_);
    auto free = [this] { return !dispatcher_.sending_; };
    if (deadline == TClock::time_point::max()) {
      dispatcher_.sendFree_.wait(lock, free);
    } else if (!dispatcher_.sendFree_.wait_until(lock, deadline, free)) {
      return;
    }
    dispatcher_.sending_ = true;
    taken_ = true;
  }
  ~TSendTurn() {
    if (!taken_) return;
    {
      std::lock_guard lock(dispatcher_.sendLock_);
      dispatcher_.sending_ = false;
    }
    dispatcher_.sendFree_.notify_one();
  }
  TSendTurn(const TSendTurn&) = delete;
  TSendTurn& operator=(const TSendTurn&) = delete;

  bool Taken() const { return taken_; }

 private:
  TVrlRfc2217Dispatcher& dispatcher_;
  bool taken_ = false;
};

TVrlRfc2217Dispatcher::TVrlRfc2217Dispatcher(TDispatcherOwner* owner)
    : TVrlSocketDispatcher(owner, TPortScheme::Rfc2217, SOCK_STREAM) {}

TVrlRfc2217Dispatcher::~TVrlRfc2217Dispatcher() { DestroyPort(); }

bool TVrlRfc2217Dispatcher::ComPortAgreed() {
  std::lock_guard guard(receiveLock_);
  return telnet_.Local[kComPort] == TOptionState::Yes;
}

uint32_t TVrlRfc2217Dispatcher::RepliesTo(uint8_t command) {
  std::lock_guard guard(receiveLock_);
  return command < kCommandCount ? replies_[command] : 0;
}

int32_t TVrlRfc2217Dispatcher::StartSession(TClock::time_point deadline) {
  std::string opening;
  {
    std::lock_guard guard(receiveLock_);
    telnet_ = TTelnetState{};
    pendingData_.clear();
    replies_ = {};
    readerStarted_ = false;
    opening = OpenTelnetSession(telnet_);
  }
  modemState_ = 0;
  {
    std::lock_guard guard(DispatcherLock());
    sent_ = {};
    silent_ = {};
    openDeadline_ = deadline;
  }
  if (!SendControl(opening, deadline)) return vrl::kErrDeviceWrite;
  // A server that never answers the option still gets the data.
  AwaitReplies(deadline, [this] { return telnet_.Local[kComPort] != TOptionState::WantYes; });
  return 0;
}

int32_t TVrlRfc2217Dispatcher::CloseDeviceHandle() {
  {
    std::lock_guard guard(receiveLock_);
    readerStarted_ = false;
  }
  return TVrlSocketDispatcher::CloseDeviceHandle();
}

TVrlRfc2217Dispatcher::TClock::time_point TVrlRfc2217Dispatcher::AnswerDeadline() {
  bool opening;
  {
    std::lock_guard guard(receiveLock_);
    opening = !readerStarted_;
  }
  // While the port opens, its answers share the open's bound.
  return opening ? openDeadline_ : TClock::now() + kAnswerBound;
}

void TVrlRfc2217Dispatcher::ParseLocked(std::string_view raw, std::string& answers) {
  TTelnetReceived received;
  ReceiveTelnet(telnet_, raw, received);
  pendingData_ += received.Data;
  answers += received.Answers;
  for (const TComPortReply& reply : received.Replies) {
    if (reply.Command < kCommandCount) ++replies_[reply.Command];
    if (reply.Command == kNotifyModemState && !reply.Value.empty()) {
      modemState_ = static_cast<uint8_t>(reply.Value[0]);
    }
  }
  if (!received.Replies.empty() || !received.Answers.empty()) replied_.notify_all();
}

bool TVrlRfc2217Dispatcher::SendControl(const std::string& bytes, TClock::time_point deadline) {
  if (bytes.empty()) return true;
  const TSendTurn turn(*this, deadline);
  if (!turn.Taken()) return false;
  size_t sent = 0;
  return SendAll(bytes, TWaitFor::Deadline, deadline, sent) == 0;
}

template <class TDone>
bool TVrlRfc2217Dispatcher::AwaitReplies(TClock::time_point deadline, TDone done) {
  std::unique_lock lock(receiveLock_);
  while (!done()) {
    if (readerStarted_) {
      if (replied_.wait_until(lock, deadline) == std::cv_status::timeout) return done();
      continue;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
    if (left <= 0) return false;
    pollfd entry{Socket(), POLLIN, 0};
    const int ready = ::poll(&entry, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return done();
    char raw[512];
    const int32_t n = ReceiveSome(reinterpret_cast<uint8_t*>(raw), sizeof raw);
    // A closed connection is the read thread's to report.
    if (n < 0) return false;
    std::string answers;
    ParseLocked(std::string_view(raw, static_cast<size_t>(n)), answers);
    SendControl(answers, deadline);
  }
  return true;
}

int32_t TVrlRfc2217Dispatcher::WriteDeviceState(const TDeviceControlBlock& dcb) {
  TVrlSocketDispatcher::WriteDeviceState(dcb);
  if (!ComPortAgreed()) return 0;
  struct TChange {
    uint8_t Command;
    std::string Value;
  };
  std::vector<TChange> changes;
  if (sent_.BaudRate != dcb.BaudRate) {
    changes.push_back({kSetBaudRate, BaudValue(dcb.BaudRate)});
    sent_.BaudRate = dcb.BaudRate;
  }
  if (sent_.DataSize != dcb.ByteSize) {
    changes.push_back({kSetDataSize, OneByte(dcb.ByteSize)});
    sent_.DataSize = dcb.ByteSize;
  }
  if (const uint8_t parity = ParityValue(dcb.Parity); sent_.Parity != parity) {
    changes.push_back({kSetParity, OneByte(parity)});
    sent_.Parity = parity;
  }
  if (const uint8_t stopSize = StopSizeValue(dcb.StopBits); sent_.StopSize != stopSize) {
    changes.push_back({kSetStopSize, OneByte(stopSize)});
    sent_.StopSize = stopSize;
  }
  if (changes.empty()) return 0;
  TReplyCounts before;
  {
    std::lock_guard guard(receiveLock_);
    before = replies_;
  }
  std::string commands;
  for (const TChange& change : changes) commands += ComPortCommand(change.Command, change.Value);
  const TClock::time_point deadline = AnswerDeadline();
  if (!SendControl(commands, deadline)) {
    // Nothing reached the server: send it all again with the next change.
    sent_ = {};
    return 0;
  }
  auto answered = [&](const TChange& change) {
    return silent_[change.Command] || replies_[change.Command] > before[change.Command];
  };
  AwaitReplies(deadline, [&] { return std::all_of(changes.begin(), changes.end(), answered); });
  std::lock_guard guard(receiveLock_);
  for (const TChange& change : changes) {
    if (replies_[change.Command] == before[change.Command]) silent_[change.Command] = true;
  }
  return 0;
}

int32_t TVrlRfc2217Dispatcher::DeviceEscape(int32_t code) {
  uint8_t control;
  switch (code) {
    case kSetDtr:
      control = kControlDtrOn;
      break;
    case kClrDtr:
      control = kControlDtrOff;
      break;
    case kSetRts:
      control = kControlRtsOn;
      break;
    case kClrRts:
      control = kControlRtsOff;
      break;
    default:
      return vrl::kErrBadArgument;
  }
  if (!ComPortAgreed()) return 0;
  SendControl(ComPortCommand(kSetControl, OneByte(control)), TClock::now() + kAnswerBound);
  return 0;
}

uint8_t TVrlRfc2217Dispatcher::DeviceModemStatus() { return modemState_.load() & 0xF0; }

int32_t TVrlRfc2217Dispatcher::WaitInput() {
  {
    std::lock_guard guard(receiveLock_);
    readerStarted_ = true;
    if (!pendingData_.empty()) return 1;
  }
  return TVrlSocketDispatcher::WaitInput();
}

int32_t TVrlRfc2217Dispatcher::DeviceRead(uint8_t* buffer, int32_t size) {
  std::string answers;
  int32_t taken = 0;
  {
    std::unique_lock lock(receiveLock_);
    readerStarted_ = true;
    if (pendingData_.empty()) {
      lock.unlock();
      char raw[kReadBlockSize];
      const int32_t n =
          ReceiveSome(reinterpret_cast<uint8_t*>(raw), std::min<int32_t>(size, sizeof raw));
      if (n <= 0) return n;
      lock.lock();
      ParseLocked(std::string_view(raw, static_cast<size_t>(n)), answers);
    }
    taken = static_cast<int32_t>(std::min<size_t>(pendingData_.size(), static_cast<size_t>(size)));
    std::memcpy(buffer, pendingData_.data(), static_cast<size_t>(taken));
    pendingData_.erase(0, static_cast<size_t>(taken));
  }
  // Sent outside the receive lock, so that a waiting main thread never waits
  // on a peer that does not read.
  SendControl(answers, TClock::time_point::max());
  return taken;
}

int32_t TVrlRfc2217Dispatcher::DeviceWrite(const uint8_t* data, int32_t size) {
  const std::string escaped = EscapeTelnetData(
      std::string_view(reinterpret_cast<const char*>(data), static_cast<size_t>(size)));
  const TSendTurn turn(*this, TClock::time_point::max());
  size_t sent = 0;
  const int32_t result = SendAll(escaped, TWaitFor::WriteThread, TClock::time_point::max(), sent);
  // An abort between the two halves of a doubled 255 would leave the server
  // reading the next byte as a command.
  if (result == -1 && EndsInsidePair(escaped, sent)) {
    const char iac = static_cast<char>(kIac);
    ::send(Socket(), &iac, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
  }
  return result;
}
