// The Telnet side of an RFC 2217 connection, kept apart from any socket: what
// the client sends to open the session, the escaping of data and com port
// commands, and the receive parser, a pure function over bytes that splits
// what the server sends into line data, answers to negotiate back and com port
// replies. The state is a plain value owned by one connection.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace telnet {

constexpr uint8_t kIac = 255, kDont = 254, kDo = 253, kWont = 252, kWill = 251, kSb = 250,
                  kSe = 240;
constexpr uint8_t kBinary = 0, kSuppressGoAhead = 3, kComPort = 44;
// Com port commands of the client; the server answers each with 100 added.
constexpr uint8_t kSetBaudRate = 1, kSetDataSize = 2, kSetParity = 3, kSetStopSize = 4,
                  kSetControl = 5, kNotifyLineState = 6, kNotifyModemState = 7;
constexpr uint8_t kServerOffset = 100;
// A subnegotiation longer than this is no com port reply; it is dropped.
constexpr size_t kMaxSubnegotiation = 64;

}  // namespace telnet

// Where an option stands on one side: agreed, asked for, or off (also after
// the other side refused it).
enum class TOptionState : uint8_t { No, WantYes, Yes };

struct TTelnetState {
  enum class TPhase : uint8_t { Data, Command, Option, Sub, SubCommand };
  TPhase Phase = TPhase::Data;
  uint8_t Verb = 0;
  bool SubOverflow = false;
  std::string Sub;  // the option number first, then its bytes
  // Options this client performs (WILL/WONT) and options the server performs (DO/DONT).
  std::array<TOptionState, 256> Local{};
  std::array<TOptionState, 256> Remote{};
};

struct TComPortReply {
  uint8_t Command;  // the client command it answers (the server's code minus 100)
  std::string Value;
};

struct TTelnetReceived {
  std::string Data;     // bytes of the serial line, 255 undoubled
  std::string Answers;  // negotiation answers to send back
  std::vector<TComPortReply> Replies;
};

// What the client sends first: WILL com port, and binary transmission and
// suppressed go-ahead both ways, so that every byte passes unchanged.
std::string OpenTelnetSession(TTelnetState& state);

// Parses input, continuing where the last call stopped; appends to received.
void ReceiveTelnet(TTelnetState& state, std::string_view input, TTelnetReceived& received);

// Data with every 255 doubled.
std::string EscapeTelnetData(std::string_view data);

// IAC SB COM-PORT-OPTION command value IAC SE, the value escaped.
std::string ComPortCommand(uint8_t command, std::string_view value);
