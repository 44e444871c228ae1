// Socket primitives shared by the network outputs. The main thread's calls
// run under the dispatcher lock; the workers use the socket without it, which
// is safe because it is closed only after they ended.
#include "serial/net/SocketDispatcher.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

#include "serial/ResultCodes.h"
#include "serial/net/Connect.h"

namespace {

int MillisecondsLeft(std::chrono::steady_clock::time_point deadline) {
  if (deadline == std::chrono::steady_clock::time_point::max()) return -1;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
  return left <= 0 ? 0 : static_cast<int>(left);
}

}  // namespace

TVrlSocketDispatcher::TVrlSocketDispatcher(TDispatcherOwner* owner, TPortScheme scheme,
                                           int socketType)
    : TVrlBaseDispatcher(owner), scheme_(scheme), socketType_(socketType) {}

TVrlSocketDispatcher::~TVrlSocketDispatcher() { DestroyPort(); }

int32_t TVrlSocketDispatcher::OpenDevice(const std::string& deviceName) {
  failureText_.clear();
  {
    std::lock_guard guard(DispatcherLock());
    if (socket_.Valid()) return vrl::kErrAccessDenied;
  }
  const std::optional<TPortUrl> url = ParsePortUrl(deviceName);
  if (!url || url->Scheme != scheme_) {
    failureText_ = RefusedUrlText(deviceName);
    return vrl::kErrNotATerminal;
  }
  const auto deadline = TClock::now() + kOpenBound;
  TConnectResult connected =
      ConnectBounded(*url, socketType_, deadline, std::to_string(kOpenBound.count()) + " s");
  if (!connected.Socket.Valid()) {
    failureText_ = "Cannot connect to " + url->Host + " port " + std::to_string(url->Port) + ": " +
                   connected.Cause;
    return vrl::PlatformErrorCode(connected.ErrorNumber);
  }
  {
    std::lock_guard guard(DispatcherLock());
    socket_ = std::move(connected.Socket);
    fd_ = socket_.Get();
    kept_ = TDeviceControlBlock{};
  }
  const int32_t started = StartSession(deadline);
  if (started != 0) {
    std::lock_guard guard(DispatcherLock());
    CloseDeviceHandle();
  }
  return started;
}

std::string TVrlSocketDispatcher::OpenFailureText() const { return failureText_; }

int32_t TVrlSocketDispatcher::CloseDeviceHandle() {
  fd_ = -1;
  return socket_.Reset() == 0 ? 0 : -1;
}

int32_t TVrlSocketDispatcher::DeviceEscape(int32_t) { return 0; }
int32_t TVrlSocketDispatcher::DevicePurge(int) { return 0; }
int32_t TVrlSocketDispatcher::DeviceErrors() { return 0; }
int32_t TVrlSocketDispatcher::DeviceSetBufferSizes(uint32_t, uint32_t) { return 0; }
uint8_t TVrlSocketDispatcher::DeviceModemStatus() { return 0; }

int32_t TVrlSocketDispatcher::ReadDeviceState(TDeviceControlBlock& dcb) {
  dcb = kept_;
  return 0;
}

int32_t TVrlSocketDispatcher::WriteDeviceState(const TDeviceControlBlock& dcb) {
  kept_ = dcb;
  return 0;
}

int32_t TVrlSocketDispatcher::WaitInput() {
  return WaitForInput(fd_.load(), ReadEvent(), KillEvent());
}

int32_t TVrlSocketDispatcher::ReceiveSome(uint8_t* buffer, int32_t size) {
  for (;;) {
    const ssize_t n = ::recv(fd_.load(), buffer, static_cast<size_t>(size), MSG_DONTWAIT);
    if (n > 0) return static_cast<int32_t>(n);
    // An empty datagram is no end of anything; an empty stream read is.
    if (n == 0) return socketType_ == SOCK_DGRAM ? 0 : vrl::kErrDeviceRead;
    if (errno == EINTR) continue;
    return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : vrl::kErrDeviceRead;
  }
}

int32_t TVrlSocketDispatcher::DeviceRead(uint8_t* buffer, int32_t size) {
  return ReceiveSome(buffer, size);
}

int32_t TVrlSocketDispatcher::SendAll(std::string_view bytes, TWaitFor waitFor,
                                      TClock::time_point deadline, size_t& sent) {
  const int fd = fd_.load();
  sent = 0;
  while (sent < bytes.size()) {
    // MSG_NOSIGNAL: a peer that went away is a failed write, not SIGPIPE.
    const ssize_t n =
        ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      sent += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return vrl::kErrDeviceWrite;
    const bool writeThread = waitFor == TWaitFor::WriteThread;
    const TDeviceWait seen =
        WaitOnDevice(fd, POLLOUT, writeThread ? &OutputAbortEvent() : nullptr, KillEvent(),
                     writeThread ? -1 : MillisecondsLeft(deadline));
    if (seen.failed) return vrl::kErrDeviceWrite;
    if (seen.timedOut || seen.killed || seen.woken) return -1;
    if ((seen.device & POLLOUT) == 0 && (seen.device & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
      return vrl::kErrDeviceWrite;
    }
  }
  return 0;
}

int32_t TVrlSocketDispatcher::DeviceWrite(const uint8_t* data, int32_t size) {
  size_t sent = 0;
  return SendAll(std::string_view(reinterpret_cast<const char*>(data), static_cast<size_t>(size)),
                 TWaitFor::WriteThread, TClock::time_point::max(), sent);
}

bool TVrlSocketDispatcher::WaitTransmitterEmpty(uint32_t) { return true; }

int32_t TVrlSocketDispatcher::WaitStatusEvent(uint32_t& events) {
  // A socket has no modem lines to watch: sleep until the port closes.
  events = 0;
  KillEvent().Wait(std::chrono::milliseconds(-1));
  return 0;
}

// The network workers keep the process's priority: the peer, not this
// machine's scheduler, sets their pace.
void TVrlSocketDispatcher::SetThreadPriority(int, int) {}
