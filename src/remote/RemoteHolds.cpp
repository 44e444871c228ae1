#include "remote/RemoteHolds.h"

#include <vector>

TRemoteOutcome TRemoteHolds::Act(TRemoteClient client, TRemoteAction action, int number) {
  // Only a hold this client started is its to release: the operator's hold,
  // or another client's, stays with them.
  const bool heldBefore = panel_.Held(number);
  const TRemoteOutcome outcome = panel_.Act(action, number);
  if (!panel_.Held(number)) {
    holders_.erase(number);
  } else if (!heldBefore && action == TRemoteAction::Down) {
    holders_[number] = client;
  }
  return outcome;
}

void TRemoteHolds::Disconnected(TRemoteClient client) {
  std::vector<int> held;
  for (const auto& [number, holder] : holders_) {
    if (holder == client) held.push_back(number);
  }
  // Each is forgotten before its release goes out, so nothing releases twice.
  for (int number : held) {
    holders_.erase(number);
    panel_.Act(TRemoteAction::Up, number);
  }
}

void TRemoteHolds::ReleaseAll() {
  while (!holders_.empty()) Disconnected(holders_.begin()->second);
}

bool TRemoteHolds::Holds(TRemoteClient client, int number) const {
  const auto it = holders_.find(number);
  return it != holders_.end() && it->second == client;
}
