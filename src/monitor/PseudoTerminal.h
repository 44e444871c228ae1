// A pseudo-terminal pair that stands in for a serial device: the panel opens
// the slave by its path and the monitor reads what arrives on the master. The
// monitor keeps the slave open as well, so the master never reports a hang-up
// between two runs of the panel. Owns both descriptors.
#pragma once

#include <string>

class TPseudoTerminal {
 public:
  // Throws std::system_error naming the call that failed.
  TPseudoTerminal();
  ~TPseudoTerminal();
  TPseudoTerminal(const TPseudoTerminal&) = delete;
  TPseudoTerminal& operator=(const TPseudoTerminal&) = delete;

  int MasterFd() const { return master_; }
  const std::string& SlavePath() const { return slavePath_; }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};
