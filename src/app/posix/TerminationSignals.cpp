// POSIX: the handler only writes the signal's number into a pipe (the one thing
// a handler may safely do); a socket notifier on the pipe's other end emits
// Received on the user-interface thread.
#include "app/TerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> kTerminationSignals = {SIGTERM, SIGINT, SIGHUP};

// The write end of the pipe, the one thing the handler can reach.
std::atomic<int> handlerPipe{-1};

extern "C" void OnTerminationSignal(int signalNumber) {
  const int savedErrno = errno;
  const unsigned char number = static_cast<unsigned char>(signalNumber);
  // A full pipe already holds a pending request; losing this byte loses nothing.
  [[maybe_unused]] const ssize_t written = write(handlerPipe.load(), &number, 1);
  errno = savedErrno;
}

class TFileDescriptor {
 public:
  explicit TFileDescriptor(int fd = -1) : fd_(fd) {}
  TFileDescriptor(const TFileDescriptor&) = delete;
  TFileDescriptor& operator=(const TFileDescriptor&) = delete;
  ~TFileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  int Get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

class TTerminationSignals::TImpl {
 public:
  TImpl(int readFd, int writeFd) : read_(readFd), write_(writeFd) {}
  TFileDescriptor read_;
  TFileDescriptor write_;
  std::array<struct sigaction, kTerminationSignals.size()> previous_{};
  std::unique_ptr<QSocketNotifier> notifier_;
};

TTerminationSignals::TTerminationSignals(QObject* parent) : QObject(parent) {
  std::array<int, 2> fds{};
  if (pipe2(fds.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
    throw std::system_error(errno, std::generic_category(), "pipe2() for the signal handler");
  }
  impl_ = std::make_unique<TImpl>(fds[0], fds[1]);
  int expected = -1;
  if (!handlerPipe.compare_exchange_strong(expected, impl_->write_.Get())) {
    throw std::logic_error("the termination signals are already being watched");
  }
  impl_->notifier_ = std::make_unique<QSocketNotifier>(impl_->read_.Get(), QSocketNotifier::Read);
  connect(impl_->notifier_.get(), &QSocketNotifier::activated, this, [this] {
    unsigned char number = 0;
    while (read(impl_->read_.Get(), &number, 1) == 1) emit Received(number);
  });
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (size_t i = 0; i < kTerminationSignals.size(); ++i) {
    sigaction(kTerminationSignals[i], &action, &impl_->previous_[i]);
  }
}

TTerminationSignals::~TTerminationSignals() {
  for (size_t i = 0; i < kTerminationSignals.size(); ++i) {
    sigaction(kTerminationSignals[i], &impl_->previous_[i], nullptr);
  }
  handlerPipe.store(-1);
}
