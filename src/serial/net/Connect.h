// Bounded name resolution and connection for the network outputs. Runs on the
// calling thread (the user-interface thread when a port opens) and never waits
// beyond the deadline it is given; a name lookup still running then is left to
// its thread, which frees it when the resolver answers.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "serial/net/PortUrl.h"
#include "serial/posix/UniqueFd.h"

struct TConnectResult {
  TUniqueFd Socket;     // connected and non-blocking when valid
  int ErrorNumber = 0;  // errno of the failure (ETIMEDOUT when the deadline passed)
  std::string Cause;    // the failure in words: "Connection refused", "timed out after 3 s"
};

// socketType: SOCK_STREAM or SOCK_DGRAM. boundText names the bound in a time-out's cause.
TConnectResult ConnectBounded(const TPortUrl& url, int socketType,
                              std::chrono::steady_clock::time_point deadline,
                              const std::string& boundText);
