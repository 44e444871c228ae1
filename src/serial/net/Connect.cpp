// Resolution on a thread of its own so that a slow name server cannot hold
// the caller past its deadline, and non-blocking connect() raced against it.
#include "serial/net/Connect.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

using TClock = std::chrono::steady_clock;

// One lookup shared by the caller and the thread that resolves it; whichever
// lets go last frees it.
struct TLookup {
  std::string Host, Service;
  addrinfo Hints{};
  std::mutex Lock;
  std::condition_variable Done;
  bool Finished = false;
  int Error = 0;
  addrinfo* Result = nullptr;

  ~TLookup() {
    if (Result != nullptr) ::freeaddrinfo(Result);
  }
};

int MillisecondsLeft(TClock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(left);
}

// The resolver's failure in words; errno-based failures keep the system's text.
std::string LookupCause(int error, int errorNumber) {
  if (error == EAI_SYSTEM) return std::strerror(errorNumber);
  return ::gai_strerror(error);
}

// Resolves into lookup; 0 or an EAI_* code. A name goes to a thread of its
// own, since getaddrinfo cannot be bounded: past the deadline the caller
// leaves, and the thread ends and frees the lookup when the resolver answers.
int Resolve(const std::shared_ptr<TLookup>& lookup, TClock::time_point deadline, bool& timedOut,
            int& errorNumber) {
  // Addresses need no name server: answer them at once.
  lookup->Hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
  if (::getaddrinfo(lookup->Host.c_str(), lookup->Service.c_str(), &lookup->Hints,
                    &lookup->Result) == 0) {
    return 0;
  }
  lookup->Result = nullptr;
  lookup->Hints.ai_flags = AI_NUMERICSERV | AI_ADDRCONFIG;
  try {
    std::thread([lookup] {
      addrinfo* result = nullptr;
      const int error =
          ::getaddrinfo(lookup->Host.c_str(), lookup->Service.c_str(), &lookup->Hints, &result);
      const int savedErrno = errno;
      {
        std::lock_guard guard(lookup->Lock);
        lookup->Result = result;
        lookup->Error = error == EAI_SYSTEM ? -savedErrno : error;
        lookup->Finished = true;
      }
      lookup->Done.notify_all();
    }).detach();
  } catch (const std::system_error& failure) {
    errorNumber = failure.code().value();
    return EAI_SYSTEM;
  }
  std::unique_lock lock(lookup->Lock);
  if (!lookup->Done.wait_until(lock, deadline, [&] { return lookup->Finished; })) {
    timedOut = true;
    return EAI_AGAIN;
  }
  if (lookup->Error < 0) {
    errorNumber = -lookup->Error;
    return EAI_SYSTEM;
  }
  return lookup->Error;
}

// Connects one address before the deadline: 0, or the errno of the failure.
int ConnectOne(const addrinfo& address, TClock::time_point deadline, TUniqueFd& socket) {
  TUniqueFd fd(::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                        address.ai_protocol));
  if (!fd.Valid()) return errno;
  if (address.ai_socktype == SOCK_STREAM) {
    // Button presses are small and should leave at once.
    const int on = 1;
    ::setsockopt(fd.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  }
  int connected;
  do {
    connected = ::connect(fd.Get(), address.ai_addr, address.ai_addrlen);
  } while (connected != 0 && errno == EINTR);
  if (connected != 0 && errno != EINPROGRESS) return errno;
  if (connected != 0) {
    pollfd entry{fd.Get(), POLLOUT, 0};
    for (;;) {
      const int ready = ::poll(&entry, 1, MillisecondsLeft(deadline));
      if (ready < 0 && errno == EINTR) continue;
      if (ready < 0) return errno;
      if (ready == 0) return ETIMEDOUT;
      break;
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0) return errno;
    if (error != 0) return error;
  }
  socket = std::move(fd);
  return 0;
}

}  // namespace

TConnectResult ConnectBounded(const TPortUrl& url, int socketType, TClock::time_point deadline,
                              const std::string& boundText) {
  TConnectResult result;
  auto lookup = std::make_shared<TLookup>();
  lookup->Host = url.Host;
  lookup->Service = std::to_string(url.Port);
  lookup->Hints.ai_family = AF_UNSPEC;
  lookup->Hints.ai_socktype = socketType;
  bool timedOut = false;
  int errorNumber = 0;
  if (const int resolved = Resolve(lookup, deadline, timedOut, errorNumber); resolved != 0) {
    result.ErrorNumber = timedOut ? ETIMEDOUT : EHOSTUNREACH;
    result.Cause =
        timedOut ? "name lookup timed out after " + boundText : LookupCause(resolved, errorNumber);
    return result;
  }
  // Every address in turn (localhost may stand for ::1 and 127.0.0.1); the
  // last failure is the one reported.
  int error = EHOSTUNREACH;
  for (const addrinfo* address = lookup->Result; address != nullptr; address = address->ai_next) {
    if (MillisecondsLeft(deadline) == 0) {
      error = ETIMEDOUT;
      break;
    }
    error = ConnectOne(*address, deadline, result.Socket);
    if (error == 0) return result;
  }
  result.ErrorNumber = error;
  result.Cause = error == ETIMEDOUT ? "timed out after " + boundText : std::strerror(error);
  return result;
}
