// The far end of every pseudo-terminal the peers send to: a separate process
// that owns the master, timestamps each read on CLOCK_MONOTONIC, and on demand
// feeds the master at full speed (a device that talks continuously). The
// benchmark's main thread holds the client and talks to it over a socket.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "serial/posix/UniqueFd.h"

// One read of the master: when it returned and the bytes received so far.
struct TArrival {
  int64_t Nanoseconds;
  int64_t Total;
};

class TPtyReader {
 public:
  // Forks the reader process; call before any thread or Qt object exists.
  TPtyReader();
  TPtyReader(const TPtyReader&) = delete;
  TPtyReader& operator=(const TPtyReader&) = delete;
  // Ends the reader process and waits for it.
  ~TPtyReader();

  // A new pair, the old one closed; the reader keeps a descriptor of its own
  // on the slave so that a peer closing it never hangs the master up. Returns
  // the slave's path, empty on failure.
  std::string NewPty();
  // Puts the slave back to the settings a fresh pseudo-terminal has.
  void ResetSlave();
  // Waits until expected bytes arrived since NewPty (at most a few seconds of
  // silence) and returns every read's arrival; the pair is then closed.
  std::vector<TArrival> Collect(int64_t expected);
  // Starts and stops feeding the master as fast as the slave's reader takes
  // bytes; Stop returns the bytes fed.
  void StartTalking();
  int64_t StopTalking();

 private:
  void Command(char kind, int64_t value);
  void ReceiveAll(void* data, size_t size);

  pid_t child_ = -1;
  TUniqueFd control_;
};
