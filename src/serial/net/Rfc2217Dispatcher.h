// rfc2217://HOST:PORT: Telnet with the com port option. Opening negotiates the
// option, binary transmission and suppressed go-ahead; every line change sends
// the baud rate, data size, parity and stop size that changed and awaits the
// server's answers within a bound; DTR and RTS go as SET-CONTROL without an
// answer awaited (a server without modem lines never sends one). A command
// that goes unanswered once is not awaited again, and a server that refuses
// the option still carries the data. Owned by the port component. Locks:
// receiveLock_ (parser state, replies), then the send turn (what goes on the
// socket, so that a Telnet sequence is never split by another thread's bytes);
// never the reverse.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "serial/ThreadAnnotations.h"
#include "serial/net/SocketDispatcher.h"
#include "serial/net/Telnet.h"

class TVrlRfc2217Dispatcher : public TVrlSocketDispatcher {
 public:
  // How long a line change waits for the server's answers once the port is open.
  static constexpr std::chrono::seconds kAnswerBound{1};

  explicit TVrlRfc2217Dispatcher(TDispatcherOwner* owner);
  ~TVrlRfc2217Dispatcher() override;

  // For tests and diagnostics: whether the server agreed to the com port
  // option, and how many answers to a client command arrived.
  bool ComPortAgreed();
  uint32_t RepliesTo(uint8_t command);

 protected:
  int32_t StartSession(TClock::time_point deadline) override;
  int32_t WriteDeviceState(const TDeviceControlBlock& dcb) override;
  int32_t DeviceEscape(int32_t code) override;
  uint8_t DeviceModemStatus() override;
  int32_t CloseDeviceHandle() override;
  int32_t WaitInput() override;
  int32_t DeviceRead(uint8_t* buffer, int32_t size) override;
  int32_t DeviceWrite(const uint8_t* data, int32_t size) override;

 private:
  static constexpr size_t kCommandCount = 16;
  using TReplyCounts = std::array<uint32_t, kCommandCount>;

  // Parses raw bytes; receiveLock_ held. The data goes to pendingData_ and
  // the negotiation answers to answers.
  void ParseLocked(std::string_view raw, std::string& answers);
  // Negotiation answers and commands, whole or not at all before the deadline.
  bool SendControl(const std::string& bytes, TClock::time_point deadline);
  // Waits until done() holds or the deadline passes; reads the socket itself
  // while no read thread does. Returns done().
  template <class TDone>
  bool AwaitReplies(TClock::time_point deadline, TDone done);
  TClock::time_point AnswerDeadline();

  std::mutex receiveLock_;
  std::condition_variable replied_;
  TTelnetState telnet_ VRL_GUARDED_BY(receiveLock_);
  std::string pendingData_ VRL_GUARDED_BY(receiveLock_);
  TReplyCounts replies_ VRL_GUARDED_BY(receiveLock_) = {};
  bool readerStarted_ VRL_GUARDED_BY(receiveLock_) = false;
  std::atomic<uint8_t> modemState_{0};

  // The right to send, taken by one thread at a time; a main-thread taker
  // gives up at its deadline. (A flag under a plain mutex rather than a
  // timed mutex, whose timed lock the thread checker cannot follow.)
  class TSendTurn;
  std::mutex sendLock_;
  std::condition_variable sendFree_;
  bool sending_ VRL_GUARDED_BY(sendLock_) = false;

  // What the server was last sent and which commands went unanswered;
  // guarded by the dispatcher lock.
  struct TSentLine {
    std::optional<uint32_t> BaudRate;
    std::optional<uint8_t> DataSize, Parity, StopSize;
  };
  TSentLine sent_;
  std::array<bool, kCommandCount> silent_ = {};
  TClock::time_point openDeadline_;
};
