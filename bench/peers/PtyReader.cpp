// The reader process and its client. Commands are one kind byte and one
// 64-bit value; replies are fixed-size values or a count followed by records.
#include "PtyReader.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

constexpr char kNewPty = 'N', kResetSlave = 'D', kCollect = 'E', kTalk = 'T', kStopTalk = 'S',
               kQuit = 'Q';
// How long Collect waits for the next byte before it gives up on the rest.
constexpr int kSilenceMs = 3000;

struct TCommandMessage {
  char Kind;
  int64_t Value;
};

int64_t NowNanoseconds() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void SendAll(int fd, const void* data, size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ::_exit(1);
    bytes += n;
    size -= static_cast<size_t>(n);
  }
}

// Everything the reader process does; it never returns.
class TReaderProcess {
 public:
  explicit TReaderProcess(int control) : control_(control) { feed_.fill('f'); }

  [[noreturn]] void Run() {
    for (;;) {
      pollfd entries[2] = {{control_, POLLIN, 0}, {-1, 0, 0}};
      if (master_.Valid()) {
        entries[1] = {master_.Get(), short(POLLIN | (talking_ ? POLLOUT : 0)), 0};
      }
      int timeout = -1;
      if (collecting_) timeout = kSilenceMs;
      const int ready = ::poll(entries, 2, timeout);
      if (ready < 0 && errno == EINTR) continue;
      if (ready == 0 && collecting_) FinishCollect();
      if (entries[1].revents & POLLIN) ReadMaster();
      if ((entries[1].revents & POLLOUT) && talking_) {
        const ssize_t n = ::write(master_.Get(), feed_.data(), feed_.size());
        if (n > 0) fed_ += n;
      }
      if (collecting_ && total_ >= expected_) FinishCollect();
      if (entries[0].revents & (POLLIN | POLLHUP)) HandleCommand();
    }
  }

 private:
  void ReadMaster() {
    const ssize_t n = ::read(master_.Get(), buffer_.data(), buffer_.size());
    if (n <= 0) return;
    const int64_t now = NowNanoseconds();
    total_ += n;
    if (!talking_) arrivals_.push_back({now, total_});
  }

  void HandleCommand() {
    TCommandMessage command{};
    const ssize_t n = ::read(control_, &command, sizeof command);
    if (n != sizeof command || command.Kind == kQuit) ::_exit(0);
    switch (command.Kind) {
      case kNewPty:
        OpenPair();
        break;
      case kResetSlave:
        ::tcsetattr(slave_.Get(), TCSANOW, &defaults_);
        SendAll(control_, &command.Kind, 1);
        break;
      case kCollect:
        expected_ = command.Value;
        collecting_ = true;
        if (total_ >= expected_) FinishCollect();
        break;
      case kTalk:
        talking_ = true;
        fed_ = 0;
        SendAll(control_, &command.Kind, 1);
        break;
      case kStopTalk:
        talking_ = false;
        SendAll(control_, &fed_, sizeof fed_);
        break;
      default:
        ::_exit(1);
    }
  }

  void OpenPair() {
    slave_.Reset();
    master_.Reset(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    std::array<char, 128> name{};
    uint32_t length = 0;
    if (master_.Valid() && ::grantpt(master_.Get()) == 0 && ::unlockpt(master_.Get()) == 0 &&
        ::ptsname_r(master_.Get(), name.data(), name.size()) == 0) {
      termios raw{};
      ::tcgetattr(master_.Get(), &raw);
      ::cfmakeraw(&raw);
      ::tcsetattr(master_.Get(), TCSANOW, &raw);
      slave_.Reset(::open(name.data(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
      ::tcgetattr(slave_.Get(), &defaults_);
      length = static_cast<uint32_t>(std::strlen(name.data()));
    }
    total_ = 0;
    arrivals_.clear();
    SendAll(control_, &length, sizeof length);
    SendAll(control_, name.data(), length);
  }

  void FinishCollect() {
    collecting_ = false;
    const uint64_t count = arrivals_.size();
    SendAll(control_, &count, sizeof count);
    SendAll(control_, arrivals_.data(), count * sizeof(TArrival));
    slave_.Reset();
    master_.Reset();
  }

  int control_;
  TUniqueFd master_;
  TUniqueFd slave_;
  termios defaults_{};
  std::array<char, 65536> buffer_{};
  std::array<char, 4096> feed_{};
  std::vector<TArrival> arrivals_;
  int64_t total_ = 0;
  int64_t expected_ = 0;
  int64_t fed_ = 0;
  bool collecting_ = false;
  bool talking_ = false;
};

}  // namespace

TPtyReader::TPtyReader() {
  int pair[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
    throw std::runtime_error("socketpair failed");
  }
  child_ = ::fork();
  if (child_ < 0) throw std::runtime_error("fork failed");
  if (child_ == 0) {
    ::close(pair[0]);
    TReaderProcess(pair[1]).Run();
  }
  ::close(pair[1]);
  control_.Reset(pair[0]);
}

TPtyReader::~TPtyReader() {
  Command(kQuit, 0);
  int status = 0;
  ::waitpid(child_, &status, 0);
}

void TPtyReader::Command(char kind, int64_t value) {
  const TCommandMessage command{kind, value};
  SendAll(control_.Get(), &command, sizeof command);
}

void TPtyReader::ReceiveAll(void* data, size_t size) {
  auto* bytes = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t n = ::read(control_.Get(), bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw std::runtime_error("the reader process ended");
    bytes += n;
    size -= static_cast<size_t>(n);
  }
}

std::string TPtyReader::NewPty() {
  Command(kNewPty, 0);
  uint32_t length = 0;
  ReceiveAll(&length, sizeof length);
  std::string path(length, '\0');
  ReceiveAll(path.data(), length);
  return path;
}

void TPtyReader::ResetSlave() {
  Command(kResetSlave, 0);
  char ack;
  ReceiveAll(&ack, 1);
}

std::vector<TArrival> TPtyReader::Collect(int64_t expected) {
  Command(kCollect, expected);
  uint64_t count = 0;
  ReceiveAll(&count, sizeof count);
  std::vector<TArrival> arrivals(count);
  ReceiveAll(arrivals.data(), count * sizeof(TArrival));
  return arrivals;
}

void TPtyReader::StartTalking() {
  Command(kTalk, 0);
  char ack;
  ReceiveAll(&ack, 1);
}

int64_t TPtyReader::StopTalking() {
  Command(kStopTalk, 0);
  int64_t fed = 0;
  ReceiveAll(&fed, sizeof fed);
  return fed;
}
