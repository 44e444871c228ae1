// A ser2net 4 started by the test on 127.0.0.1 and a free port, serving one
// device (a pty slave) through a raw TCP or a Telnet RFC 2217 accepter. Its
// YAML configuration lives in a temporary folder. Stop and Start again keep
// the port, as a device server that reboots does. Test thread only.
#pragma once

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "TemporaryFolder.h"
#include "TestOwner.h"
#include "serial/posix/UniqueFd.h"

extern char** environ;

// A port on 127.0.0.1 that nobody listens on now.
inline uint16_t FreeLocalPort(int socketType = SOCK_STREAM) {
  TUniqueFd probe(::socket(AF_INET, socketType | SOCK_CLOEXEC, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(probe.Get(), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::getsockname(probe.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return 0;
  }
  return ntohs(address.sin_port);
}

// Whether something listens on 127.0.0.1:port, read from the kernel's table
// so that asking opens no connection.
inline bool ListeningOnLoopback(uint16_t port) {
  std::ifstream table("/proc/net/tcp");
  char wanted[32];
  std::snprintf(wanted, sizeof wanted, "0100007F:%04X", port);
  std::string line;
  std::getline(table, line);
  while (std::getline(table, line)) {
    char local[64], remote[64], state[8];
    if (std::sscanf(line.c_str(), "%*s %63s %63s %7s", local, remote, state) == 3 &&
        wanted == std::string(local) && std::string(state) == "0A") {
      return true;
    }
  }
  return false;
}

class TSer2net {
 public:
  enum class TAccepter { RawTcp, Rfc2217 };

  TSer2net(TAccepter accepter, const std::string& devicePath)
      : port_(FreeLocalPort()),
        // While no server holds the pty's slave, reading its master fails at
        // once; a descriptor of our own keeps it readable between server runs.
        deviceHeld_(::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    const std::string kind = accepter == TAccepter::Rfc2217 ? "telnet(rfc2217),tcp" : "tcp";
    std::ofstream(folder_.File("ser2net.yaml"))
        << "connection: &panel\n"
        << "  accepter: " << kind << ",127.0.0.1," << port_ << "\n"
        << "  connector: serialdev," << devicePath << ",9600n81,local\n";
  }
  ~TSer2net() { Stop(); }
  TSer2net(const TSer2net&) = delete;
  TSer2net& operator=(const TSer2net&) = delete;

  uint16_t Port() const { return port_; }

  // Starts it in the foreground and waits until it listens.
  bool Start() {
    const std::string config = folder_.File("ser2net.yaml");
    const std::string pidFile = folder_.File("ser2net.pid");
    const char* arguments[] = {"ser2net",       "-n",   "-u", "-c", config.c_str(), "-P",
                               pidFile.c_str(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // It says on start-up that it cannot announce itself; nothing to see.
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawnp(&pid_, "ser2net", &actions, nullptr,
                                     const_cast<char* const*>(arguments), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
      pid_ = -1;
      return false;
    }
    return Eventually([&] { return ListeningOnLoopback(port_); });
  }

  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }

 private:
  TTemporaryFolder folder_;
  uint16_t port_;
  TUniqueFd deviceHeld_;
  pid_t pid_ = -1;
};
