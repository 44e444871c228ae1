#include "serial/net/TcpDispatcher.h"

#include <sys/socket.h>

TVrlTcpDispatcher::TVrlTcpDispatcher(TDispatcherOwner* owner)
    : TVrlSocketDispatcher(owner, TPortScheme::Socket, SOCK_STREAM) {}

TVrlTcpDispatcher::~TVrlTcpDispatcher() { DestroyPort(); }
