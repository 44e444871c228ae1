#include "remote/RemoteHolds.h"

#include <vector>

TRemoteOutcome TRemoteHolds::Act(TRemoteClient client, TRemoteAction action, int number) {
  switch (action) {
    case TRemoteAction::Down:
      // Kept even when the press bytes failed: releasing is the safe side.
      holders_[number] = client;
      break;
    case TRemoteAction::Up:
      holders_.erase(number);
      break;
    case TRemoteAction::Press:
      break;
  }
  return panel_.Act(action, number);
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
