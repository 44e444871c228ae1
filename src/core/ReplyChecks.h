// The checks of the replies that buttons expect: at most one per output, from
// a send until its pattern appears in what the output receives or its time is
// up. Times are handed in, so the rules run without a clock. User-interface
// thread only; no lock.
#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ReplyPattern.h"

enum class TReplyOutcome {
  Matched,     // the pattern appeared in time
  Mismatched,  // bytes came, but not the pattern
  NoAnswer,    // nothing came in time
  Superseded,  // a newer send on the output ended the check
};

struct TReplyResult {
  int Button = 0;
  int Output = 0;
  TReplyOutcome Outcome = TReplyOutcome::NoAnswer;
  // What the output received during the check, at most kKeptBytes of it.
  std::string Received;
};

class TReplyChecks {
 public:
  using TClock = std::chrono::steady_clock;
  static constexpr int kOutputCount = 4;
  // Received bytes a result reports.
  static constexpr size_t kKeptBytes = 64;

  // A send of button on output (1..4) that expects pattern until deadline. A
  // check still running on that output ends superseded and is returned; an
  // empty pattern starts nothing.
  std::optional<TReplyResult> Start(int output, int button, TReplyPattern pattern,
                                    TClock::time_point deadline);
  // A send on output that expects nothing: it supersedes a running check.
  std::optional<TReplyResult> Supersede(int output);
  // Bytes that output received: the check there ends once its pattern has
  // appeared in everything received since the send, across bursts.
  std::optional<TReplyResult> Receive(int output, std::string_view bytes);
  // The checks whose deadline is not after now end: mismatched when bytes
  // came, no answer otherwise.
  std::vector<TReplyResult> Expire(TClock::time_point now);
  // The earliest deadline of the running checks.
  std::optional<TClock::time_point> NextDeadline() const;
  bool Running(int output) const;

 private:
  struct TCheck {
    int Button = 0;
    TReplyPattern Pattern;
    TClock::time_point Deadline;
    // The last bytes received, as many as a match that began before the
    // newest burst can still need.
    std::string Tail;
    std::string Received;
    bool AnyReceived = false;
  };
  TReplyResult End(int output, TReplyOutcome outcome);

  std::array<std::optional<TCheck>, kOutputCount> checks_;
};
