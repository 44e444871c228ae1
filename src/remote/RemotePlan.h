// What section "Remote" asks for, checked before any socket is opened: which
// listeners to open on which address, or why remote control stays off. A
// non-loopback address without a token is refused, because anyone who reaches
// the machine could then press the panel's buttons. Stateless; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/RemoteSettings.h"

struct TRemotePlan {
  // The address to listen on, as an IP address text ("localhost" becomes
  // 127.0.0.1). Ports are 0 for a listener that stays off.
  std::string Address;
  uint16_t HttpPort = 0;
  uint16_t TcpPort = 0;
  bool TokenRequired = false;
  // Set when the section asks for remote control but it must stay off: a short
  // cause for the configuration dialog, and the start-up message saying why.
  std::string Refusal;
  std::string RefusalMessage;

  bool Listens() const { return HttpPort != 0 || TcpPort != 0; }
};

TRemotePlan PlanRemote(const TRemoteSettings& settings);

// 127.0.0.0/8, ::1 and ::ffff:127.x.y.z, and "localhost".
bool IsLoopbackAddress(std::string_view address);

// The configuration dialog's line: "Remote control: HTTP 127.0.0.1:8642, line
// protocol off". httpUp and lineUp say whether each planned listener opened.
std::string DescribeRemote(const TRemotePlan& plan, bool httpUp, bool lineUp);
