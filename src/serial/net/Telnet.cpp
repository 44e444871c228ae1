// Telnet negotiation and parsing for RFC 2217 connections. Pure functions
// over their arguments; any thread, one state per connection.
#include "serial/net/Telnet.h"

namespace {

using namespace telnet;

bool WeSupportLocally(uint8_t option) {
  return option == kBinary || option == kSuppressGoAhead || option == kComPort;
}
bool WeSupportRemotely(uint8_t option) { return option == kBinary || option == kSuppressGoAhead; }

void Append(std::string& out, uint8_t verb, uint8_t option) {
  out.push_back(static_cast<char>(kIac));
  out.push_back(static_cast<char>(verb));
  out.push_back(static_cast<char>(option));
}

// One request or refusal from the server. Answers only when the option's
// state changes, so that two peers never negotiate in a loop.
void Negotiate(TTelnetState& state, uint8_t verb, uint8_t option, std::string& answers) {
  const bool aboutLocal = verb == kDo || verb == kDont;
  TOptionState& current = aboutLocal ? state.Local[option] : state.Remote[option];
  const bool enable = verb == kDo || verb == kWill;
  const bool supported = aboutLocal ? WeSupportLocally(option) : WeSupportRemotely(option);
  const uint8_t accept = aboutLocal ? kWill : kDo;
  const uint8_t refuse = aboutLocal ? kWont : kDont;
  if (enable) {
    if (!supported) {
      Append(answers, refuse, option);
    } else if (current == TOptionState::No) {
      current = TOptionState::Yes;
      Append(answers, accept, option);
    } else {
      current = TOptionState::Yes;
    }
    return;
  }
  if (current == TOptionState::Yes) Append(answers, refuse, option);
  current = TOptionState::No;
}

void FinishSubnegotiation(TTelnetState& state, TTelnetReceived& received) {
  const std::string& sub = state.Sub;
  if (!state.SubOverflow && sub.size() >= 2 && static_cast<uint8_t>(sub[0]) == kComPort) {
    const auto code = static_cast<uint8_t>(sub[1]);
    if (code >= kServerOffset) {
      received.Replies.push_back({static_cast<uint8_t>(code - kServerOffset), sub.substr(2)});
    }
  }
  state.Sub.clear();
  state.SubOverflow = false;
}

void AddSubByte(TTelnetState& state, char byte) {
  if (state.Sub.size() < kMaxSubnegotiation) {
    state.Sub.push_back(byte);
  } else {
    state.SubOverflow = true;
  }
}

}  // namespace

std::string OpenTelnetSession(TTelnetState& state) {
  std::string out;
  for (const uint8_t option : {kComPort, kBinary, kSuppressGoAhead}) {
    if (state.Local[option] == TOptionState::No) {
      state.Local[option] = TOptionState::WantYes;
      Append(out, kWill, option);
    }
  }
  for (const uint8_t option : {kBinary, kSuppressGoAhead}) {
    if (state.Remote[option] == TOptionState::No) {
      state.Remote[option] = TOptionState::WantYes;
      Append(out, kDo, option);
    }
  }
  return out;
}

void ReceiveTelnet(TTelnetState& state, std::string_view input, TTelnetReceived& received) {
  using TPhase = TTelnetState::TPhase;
  for (const char c : input) {
    const auto byte = static_cast<uint8_t>(c);
    switch (state.Phase) {
      case TPhase::Data:
        if (byte == kIac) {
          state.Phase = TPhase::Command;
        } else {
          received.Data.push_back(c);
        }
        break;
      case TPhase::Command:
        if (byte == kIac) {
          received.Data.push_back(c);
          state.Phase = TPhase::Data;
        } else if (byte >= kWill && byte <= kDont) {
          state.Verb = byte;
          state.Phase = TPhase::Option;
        } else if (byte == kSb) {
          state.Sub.clear();
          state.SubOverflow = false;
          state.Phase = TPhase::Sub;
        } else {
          // NOP, go-ahead, data mark and the like carry nothing for us.
          state.Phase = TPhase::Data;
        }
        break;
      case TPhase::Option:
        Negotiate(state, state.Verb, byte, received.Answers);
        state.Phase = TPhase::Data;
        break;
      case TPhase::Sub:
        if (byte == kIac) {
          state.Phase = TPhase::SubCommand;
        } else {
          AddSubByte(state, c);
        }
        break;
      case TPhase::SubCommand:
        if (byte == kIac) {
          AddSubByte(state, c);
          state.Phase = TPhase::Sub;
        } else if (byte == kSe) {
          FinishSubnegotiation(state, received);
          state.Phase = TPhase::Data;
        } else {
          // A command inside a subnegotiation ends it unfinished; the
          // command itself still counts.
          state.Sub.clear();
          state.SubOverflow = false;
          state.Phase = TPhase::Command;
          const char again = c;
          ReceiveTelnet(state, std::string_view(&again, 1), received);
        }
        break;
    }
  }
}

std::string EscapeTelnetData(std::string_view data) {
  std::string out;
  out.reserve(data.size());
  for (const char c : data) {
    out.push_back(c);
    if (static_cast<uint8_t>(c) == kIac) out.push_back(c);
  }
  return out;
}

std::string ComPortCommand(uint8_t command, std::string_view value) {
  std::string out{static_cast<char>(kIac), static_cast<char>(kSb), static_cast<char>(kComPort),
                  static_cast<char>(command)};
  out += EscapeTelnetData(value);
  out.push_back(static_cast<char>(kIac));
  out.push_back(static_cast<char>(kSe));
  return out;
}
