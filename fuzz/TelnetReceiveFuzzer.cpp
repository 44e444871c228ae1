// libFuzzer target: any byte string from a server through the Telnet receive
// parser, whole and split in two. Line data is never longer than its input,
// a split never changes what is parsed, and every reply fits its bound.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "serial/net/Telnet.h"

namespace {

TTelnetReceived Receive(std::string_view input, size_t split) {
  TTelnetState state;
  OpenTelnetSession(state);
  TTelnetReceived received;
  ReceiveTelnet(state, input.substr(0, split), received);
  ReceiveTelnet(state, input.substr(split), received);
  return received;
}

bool Same(const TTelnetReceived& a, const TTelnetReceived& b) {
  if (a.Data != b.Data || a.Answers != b.Answers || a.Replies.size() != b.Replies.size()) {
    return false;
  }
  for (size_t i = 0; i < a.Replies.size(); ++i) {
    if (a.Replies[i].Command != b.Replies[i].Command || a.Replies[i].Value != b.Replies[i].Value) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const TTelnetReceived whole = Receive(input, size);
  if (whole.Data.size() > size) __builtin_trap();
  for (const TComPortReply& reply : whole.Replies) {
    if (reply.Value.size() > telnet::kMaxSubnegotiation) __builtin_trap();
  }
  if (!Same(whole, Receive(input, size / 2))) __builtin_trap();
  return 0;
}
