// Remote control of the panel: the HTTP and line-protocol listeners that
// section "Remote" asks for, opened when this is created and closed with it.
// With the section absent, disabled or refused, no socket is opened at all.
// The main window owns it; user-interface thread only.
#pragma once

#include <memory>
#include <string>

#include "core/RemoteSettings.h"
#include "remote/RemoteHolds.h"
#include "remote/RemotePlan.h"

class THttpRemote;
class TLineRemote;

class TRemoteControl {
 public:
  TRemoteControl(TRemotePanel& panel, const TRemoteSettings& settings);
  TRemoteControl(const TRemoteControl&) = delete;
  TRemoteControl& operator=(const TRemoteControl&) = delete;
  // Releases every button a remote client still holds.
  ~TRemoteControl();

  // Whether any listener is up.
  bool Listening() const;
  // E.g. "Remote control: HTTP 127.0.0.1:8642, line protocol off".
  std::string Description() const;
  // Why remote control is off or a listener could not be opened, one sentence
  // each, for the start-up message; empty when all went as asked.
  const std::string& Problems() const { return problems_; }

 private:
  TRemoteHolds holds_;
  TRemotePlan plan_;
  std::string problems_;
  std::unique_ptr<THttpRemote> http_;
  std::unique_ptr<TLineRemote> line_;
};
