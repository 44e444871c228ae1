// socket://HOST:PORT: a raw TCP connection. Every byte goes as it is, both
// ways; line settings and control lines are kept but sent nowhere. Owned by
// the port component; threads as in TVrlSocketDispatcher.
#pragma once

#include "serial/net/SocketDispatcher.h"

class TVrlTcpDispatcher : public TVrlSocketDispatcher {
 public:
  explicit TVrlTcpDispatcher(TDispatcherOwner* owner);
  ~TVrlTcpDispatcher() override;
};
