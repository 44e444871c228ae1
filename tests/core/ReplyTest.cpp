// Replies in the core: the expected-reply pattern, the check that matches it
// against what an output receives, and the bounded lines of the reply view.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/ReplyChecks.h"
#include "core/ReplyLog.h"
#include "core/ReplyPattern.h"

namespace {

using namespace std::chrono_literals;
constexpr int16_t kAny = TReplyPattern::kAnyByte;

TEST(ReplyPattern, ReadsASerialDataTextWithTheAnyByteToken) {
  struct TCase {
    const char* text;
    std::vector<int16_t> bytes;
  } const cases[] = {
      {"[OK],13", {'O', 'K', 13}},
      {"$90 $41 ?? $FF", {0x90, 0x41, kAny, 0xFF}},
      {"??,??", {kAny, kAny}},
      {"[??]", {'?', '?'}},  // bracketed text stays text
      {"?", {'?'}},
      {"???", {'?'}},  // a longer word: its first character
      {"", {}},
  };
  for (const TCase& c : cases) EXPECT_EQ(ParseReplyPattern(c.text).Bytes, c.bytes) << c.text;
  EXPECT_EQ(ReplyPatternInHex(ParseReplyPattern("$90 $41 ?? $FF")), "90 41 ?? FF");
  EXPECT_EQ(ReplyPatternInHex(ParseReplyPattern("")), "none expected");
}

enum class TEnd { Nothing, TimeUp, NewSend };

struct TCheckCase {
  const char* name;
  const char* reply;
  std::vector<std::string> bursts;
  TEnd end;
  TReplyOutcome outcome;
  const char* received;
};

class ReplyCheckTest : public testing::TestWithParam<TCheckCase> {};

TEST_P(ReplyCheckTest, EndsWithTheExpectedOutcome) {
  const TCheckCase& c = GetParam();
  const auto sent = TReplyChecks::TClock::time_point{} + 1h;
  TReplyChecks checks;
  EXPECT_FALSE(checks.Start(2, 7, ParseReplyPattern(c.reply), sent + 1000ms));
  ASSERT_EQ(checks.NextDeadline(), sent + 1000ms);
  std::optional<TReplyResult> result;
  for (const std::string& burst : c.bursts) {
    EXPECT_FALSE(result) << "the check went on after it ended";
    result = checks.Receive(2, burst);
    // Another output's bytes never touch the check.
    EXPECT_FALSE(checks.Receive(3, burst));
  }
  EXPECT_TRUE(checks.Expire(sent + 999ms).empty());
  if (c.end == TEnd::TimeUp) {
    const std::vector<TReplyResult> expired = checks.Expire(sent + 1000ms);
    ASSERT_EQ(expired.size(), 1u);
    result = expired.front();
  } else if (c.end == TEnd::NewSend) {
    result = checks.Start(2, 8, ParseReplyPattern("[OK]"), sent + 2000ms);
  }
  ASSERT_TRUE(result);
  EXPECT_EQ(result->Outcome, c.outcome);
  EXPECT_EQ(result->Button, 7);
  EXPECT_EQ(result->Output, 2);
  EXPECT_EQ(result->Received, c.received);
  EXPECT_EQ(checks.Running(2), c.end == TEnd::NewSend);
}

const TCheckCase kCheckCases[] = {
    {"Exact", "[OK],13", {"OK\r"}, TEnd::Nothing, TReplyOutcome::Matched, "OK\r"},
    {"Wildcard",
     "$90 $41 ?? $FF",
     {"\x90\x41\x07\xFF"},
     TEnd::Nothing,
     TReplyOutcome::Matched,
     "\x90\x41\x07\xFF"},
    {"InsideLongerInput",
     "[OK]",
     {"\r\nPWR OK\r\n"},
     TEnd::Nothing,
     TReplyOutcome::Matched,
     "\r\nPWR OK\r\n"},
    {"SplitAcrossTwoBursts",
     "[PWR=1],13",
     {"xxPW", "R=1\r"},
     TEnd::Nothing,
     TReplyOutcome::Matched,
     "xxPWR=1\r"},
    {"SplitOneByteAtATime", "[ABC]", {"A", "B", "C"}, TEnd::Nothing, TReplyOutcome::Matched, "ABC"},
    {"NoMatch", "[OK]", {"ERR\r"}, TEnd::TimeUp, TReplyOutcome::Mismatched, "ERR\r"},
    {"NoMatchAcrossBurstsWithAGap",
     "[OK]",
     {"O", "xK"},
     TEnd::TimeUp,
     TReplyOutcome::Mismatched,
     "OxK"},
    {"Timeout", "[OK]", {}, TEnd::TimeUp, TReplyOutcome::NoAnswer, ""},
    {"Superseded", "[OK]", {"O"}, TEnd::NewSend, TReplyOutcome::Superseded, "O"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReplyCheckTest, testing::ValuesIn(kCheckCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReplyChecks, ASendWithoutAnExpectedReplyEndsTheRunningCheckAndStartsNone) {
  const auto now = TReplyChecks::TClock::now();
  TReplyChecks checks;
  EXPECT_FALSE(checks.Start(1, 3, ParseReplyPattern(""), now + 1s));
  EXPECT_FALSE(checks.Running(1));
  checks.Start(1, 3, ParseReplyPattern("[OK]"), now + 1s);
  const std::optional<TReplyResult> ended = checks.Supersede(1);
  ASSERT_TRUE(ended);
  EXPECT_EQ(ended->Outcome, TReplyOutcome::Superseded);
  EXPECT_FALSE(checks.Running(1));
  EXPECT_FALSE(checks.NextDeadline());
}

TEST(ReplyChecks, KeepsABoundedPartOfWhatAChattyDeviceSends) {
  const auto now = TReplyChecks::TClock::now();
  TReplyChecks checks;
  checks.Start(4, 1, ParseReplyPattern("[OK]"), now + 1s);
  for (int i = 0; i < 1000; ++i) checks.Receive(4, std::string(100, 'x'));
  const std::optional<TReplyResult> matched = checks.Receive(4, "OK");
  ASSERT_TRUE(matched);
  EXPECT_EQ(matched->Received, std::string(TReplyChecks::kKeptBytes, 'x'));
}

TEST(ReplyLog, KeepsTheNewestLinesOnePerBurst) {
  const auto start = std::chrono::system_clock::time_point{} + 24h;
  TReplyLog log;
  EXPECT_EQ(log.Add(start, 1, TReplyDirection::Sent, "PWR ON\r"), 1u);
  EXPECT_EQ(log.Add(start + 5ms, 1, TReplyDirection::Received, "O"), 2u);
  // Within the gap on the same output: the burst goes on in the same line.
  EXPECT_EQ(log.Add(start + 20ms, 1, TReplyDirection::Received, "K\r"), 2u);
  // Another output, or after the gap: a line of its own.
  EXPECT_EQ(log.Add(start + 30ms, 2, TReplyDirection::Received, "?"), 3u);
  EXPECT_EQ(log.Add(start + 90ms, 2, TReplyDirection::Received, "!"), 4u);
  ASSERT_EQ(log.Lines().size(), 4u);
  EXPECT_EQ(log.Lines()[1].Bytes, "OK\r");

  // A peer that never pauses: a line per kLongestLine bytes, the newest
  // kMaxLines lines kept.
  const std::string block(TReplyLog::kLongestLine, 'r');
  for (size_t i = 0; i < TReplyLog::kMaxLines + 10; ++i) {
    log.Add(start + 1s + std::chrono::microseconds(i), 3, TReplyDirection::Received, block);
  }
  ASSERT_EQ(log.Lines().size(), TReplyLog::kMaxLines);
  EXPECT_EQ(log.Lines().back().Number, 4 + TReplyLog::kMaxLines + 10);
  for (const TReplyLine& line : log.Lines()) ASSERT_EQ(line.Bytes.size(), TReplyLog::kLongestLine);
  log.Clear();
  EXPECT_TRUE(log.Lines().empty());
}

TEST(ReplyLog, LinesReadLikeTheMonitorsWithOutputAndDirection) {
  const std::string line = FormatReplyLine(
      {1, std::chrono::system_clock::now(), {}, 3, TReplyDirection::Received, "OK\r"});
  // The time is local: its digits vary, its shape does not.
  ASSERT_GT(line.size(), 12u);
  EXPECT_EQ(line[2], ':');
  EXPECT_EQ(line[8], '.');
  EXPECT_EQ(line.substr(12), "  output 3  received  3 bytes  4F 4B 0D  |OK.|");
  const std::string sent =
      FormatReplyLine({2, std::chrono::system_clock::now(), {}, 1, TReplyDirection::Sent, "A"});
  EXPECT_EQ(sent.substr(12), "  output 1  sent      1 byte  41  |A|");
}

}  // namespace
