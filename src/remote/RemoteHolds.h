// Which remote client holds which button down, so that a client that goes away
// releases what it still holds, exactly once. Every press, hold and release of
// remote control passes through here. Owned by remote control; user-interface
// thread only.
#pragma once

#include <cstdint>
#include <map>

#include "remote/RemotePanel.h"

// One connection of a remote client, HTTP or line protocol.
using TRemoteClient = uint64_t;

class TRemoteHolds {
 public:
  explicit TRemoteHolds(TRemotePanel& panel) : panel_(panel) {}
  TRemoteHolds(const TRemoteHolds&) = delete;
  TRemoteHolds& operator=(const TRemoteHolds&) = delete;

  TRemotePanel& Panel() const { return panel_; }
  // A number no client has had before.
  TRemoteClient NewClient() { return ++lastClient_; }

  // number must be a button of the grid. A down that makes the button held
  // makes it this client's hold; a release ends the hold, whoever made it.
  TRemoteOutcome Act(TRemoteClient client, TRemoteAction action, int number);
  // Releases every button the client still holds.
  void Disconnected(TRemoteClient client);
  // Releases every button any client holds.
  void ReleaseAll();
  bool Holds(TRemoteClient client, int number) const;

 private:
  TRemotePanel& panel_;
  TRemoteClient lastClient_ = 0;
  std::map<int, TRemoteClient> holders_;  // button number to the client holding it
};
