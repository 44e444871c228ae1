// One connection of the line protocol, without its socket: received bytes go
// in, the answer to send comes out. With a token the first line must be
// "AUTH <token>"; a line over the longest allowed, or a wrong first line, ends
// the connection. Owned by the line listener, one per connection;
// user-interface thread only.
#pragma once

#include <string>
#include <string_view>

#include "remote/RemoteHolds.h"

class TLineSession {
 public:
  // An empty token lets every line through.
  TLineSession(TRemoteHolds& holds, std::string token);
  TLineSession(const TLineSession&) = delete;
  TLineSession& operator=(const TLineSession&) = delete;
  // Releases what this connection still holds.
  ~TLineSession();

  // Handles every complete line among the bytes received so far and returns
  // what to send back. Once Closed(), further bytes are ignored.
  std::string Receive(std::string_view bytes);
  bool Closed() const { return closed_; }
  TRemoteClient Client() const { return client_; }

 private:
  std::string Answer(std::string_view line);
  std::string ButtonAnswer(TRemoteAction action, int number, const std::string& written);
  std::string List() const;

  TRemoteHolds& holds_;
  const TRemoteClient client_;
  const std::string token_;
  bool authorised_;
  bool closed_ = false;
  std::string pending_;  // bytes of a line whose end has not come yet
};
