// The Telnet receive parser and negotiation of RFC 2217 connections, over
// bytes only: what is line data, what is answered, what is a com port reply,
// also when a sequence is split over several reads.
#include <gtest/gtest.h>

#include "serial/net/Telnet.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (const int value : values) out.push_back(static_cast<char>(value));
  return out;
}

struct TReceiveCase {
  const char* Name;
  std::string Input;
  std::string Data;
  std::string Answers;
  std::vector<std::pair<int, std::string>> Replies;
};

const std::vector<TReceiveCase>& ReceiveCases() {
  static const std::vector<TReceiveCase> cases = {
      {"plain data", Bytes({1, 0, 13, 10, 254}), Bytes({1, 0, 13, 10, 254}), "", {}},
      {"doubled 255 is one data byte", Bytes({5, 255, 255, 6}), Bytes({5, 255, 6}), "", {}},
      {"commands without option vanish",
       Bytes({'a', 255, 241, 'b', 255, 249, 255, 240, 'c'}),
       "abc",
       "",
       {}},
      {"supported options are accepted once",
       Bytes({255, 253, 0, 255, 251, 3, 255, 253, 0}),
       "",
       Bytes({255, 251, 0, 255, 253, 3}),
       {}},
      {"unsupported options are refused",
       Bytes({255, 253, 24, 255, 251, 1}),
       "",
       Bytes({255, 252, 24, 255, 254, 1}),
       {}},
      {"refusing an agreed option is acknowledged",
       Bytes({255, 253, 3, 255, 254, 3, 255, 254, 3}),
       "",
       Bytes({255, 251, 3, 255, 252, 3}),
       {}},
      {"com port replies",
       Bytes({255, 250, 44, 101, 0, 0, 75, 0, 255, 240, 255, 250, 44, 107, 0x30, 255, 240}),
       "",
       "",
       {{1, Bytes({0, 0, 75, 0})}, {7, Bytes({0x30})}}},
      {"255 inside a reply is doubled",
       Bytes({255, 250, 44, 101, 0, 1, 255, 255, 255, 240}),
       "",
       "",
       {{1, Bytes({0, 1, 255})}}},
      {"client commands and other options are no replies",
       Bytes({255, 250, 44, 1, 0, 255, 240, 255, 250, 24, 101, 255, 240}),
       "",
       "",
       {}},
      {"a command inside a subnegotiation ends it",
       Bytes({255, 250, 44, 101, 1, 255, 253, 3, 'x'}),
       "x",
       Bytes({255, 251, 3}),
       {}},
      {"an overlong subnegotiation is dropped",
       Bytes({255, 250, 44, 101}) + std::string(100, 'z') + Bytes({255, 240, 'k'}),
       "k",
       "",
       {}},
  };
  return cases;
}

TEST(TelnetTest, ReceiveSplitsDataAnswersAndReplies) {
  for (const TReceiveCase& entry : ReceiveCases()) {
    SCOPED_TRACE(entry.Name);
    // Whole, and one byte per read: a sequence split over reads parses the same.
    for (const bool byByte : {false, true}) {
      TTelnetState state;
      TTelnetReceived received;
      if (byByte) {
        for (const char c : entry.Input) ReceiveTelnet(state, std::string_view(&c, 1), received);
      } else {
        ReceiveTelnet(state, entry.Input, received);
      }
      EXPECT_EQ(received.Data, entry.Data);
      EXPECT_EQ(received.Answers, entry.Answers);
      ASSERT_EQ(received.Replies.size(), entry.Replies.size());
      for (size_t i = 0; i < entry.Replies.size(); ++i) {
        EXPECT_EQ(received.Replies[i].Command, entry.Replies[i].first);
        EXPECT_EQ(received.Replies[i].Value, entry.Replies[i].second);
      }
    }
  }
}

TEST(TelnetTest, TheOpeningAsksOnceAndTheServersAgreementIsNotAnswered) {
  TTelnetState state;
  EXPECT_EQ(OpenTelnetSession(state),
            Bytes({255, 251, 44, 255, 251, 0, 255, 251, 3, 255, 253, 0, 255, 253, 3}));
  EXPECT_EQ(OpenTelnetSession(state), "");
  EXPECT_EQ(state.Local[telnet::kComPort], TOptionState::WantYes);
  TTelnetReceived received;
  ReceiveTelnet(state, Bytes({255, 253, 44, 255, 253, 0, 255, 251, 0, 255, 252, 3}), received);
  EXPECT_EQ(received.Answers, "");
  EXPECT_EQ(state.Local[telnet::kComPort], TOptionState::Yes);
  EXPECT_EQ(state.Remote[telnet::kSuppressGoAhead], TOptionState::No);
  // A server that refuses the option leaves it off, unanswered.
  TTelnetState refused;
  OpenTelnetSession(refused);
  TTelnetReceived refusal;
  ReceiveTelnet(refused, Bytes({255, 254, 44}), refusal);
  EXPECT_EQ(refusal.Answers, "");
  EXPECT_EQ(refused.Local[telnet::kComPort], TOptionState::No);
}

TEST(TelnetTest, DataAndCommandsAreEscaped) {
  EXPECT_EQ(EscapeTelnetData(Bytes({1, 255, 2, 255, 255})),
            Bytes({1, 255, 255, 2, 255, 255, 255, 255}));
  EXPECT_EQ(ComPortCommand(telnet::kSetBaudRate, Bytes({0, 0, 255, 0})),
            Bytes({255, 250, 44, 1, 0, 0, 255, 255, 0, 255, 240}));
}

}  // namespace
