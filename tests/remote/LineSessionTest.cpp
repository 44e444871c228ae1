// A line-protocol connection without its socket, on a recording panel: the
// answers, the token, lines split across reads, over-long lines, and holds
// released exactly once when the connection ends.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakePanel.h"
#include "remote/LineSession.h"

namespace {

using TActions = std::vector<std::string>;

struct TSessionCase {
  const char* Name;
  const char* Token;
  std::vector<std::string> Reads;  // what arrives, read by read
  std::string Answer;              // everything sent back
  bool Closed;
  TActions Actions;  // what reached the panel, release at the end included
};

const TSessionCase kSessionCases[] = {
    {"PressAnswersOk", "", {"PRESS 3\n"}, "OK\n", false, {"press 3"}},
    {"LinesSplitAcrossReads",
     "",
     {"PRE", "SS 3\r", "\nUP 4\n"},
     "OK\nOK\n",
     false,
     {"press 3", "up 4"}},
    {"SeveralLinesInOneRead",
     "",
     {"PRESS 1\nPRESS 2\n\nPRESS 3\n"},
     "OK\nOK\nOK\n",
     false,
     {"press 1", "press 2", "press 3"}},
    {"FailedSendGivesTheCause",
     "",
     {"PRESS 13\n"},
     "ERR Com port error.  (Data not sent)\n",
     false,
     {"press 13"}},
    {"UnknownButtons",
     "",
     {"PRESS 0\nDOWN 16\nUP 99999999999\n"},
     "ERR no button 0 on this panel\nERR no button 16 on this panel\n"
     "ERR no button 99999999999 on this panel\n",
     false,
     {}},
    {"BadLinesAnswerWhy",
     "",
     {"PUSH 1\nPRESS x\n"},
     "ERR unknown command: PUSH\nERR not a button number: x\n",
     false,
     {}},
    {"ControlBytesAreNotEchoed", "", {"P\x1bSH\n"}, "ERR unknown command: P SH\n", false, {}},
    {"DownIsReleasedWhenTheConnectionEnds",
     "",
     {"DOWN 2\nDOWN 5\n"},
     "OK\nOK\n",
     false,
     {"down 2", "down 5", "up 2", "up 5"}},
    {"FailedDownHoldsNothing",
     "",
     {"DOWN 13\n"},
     "ERR Com port error.  (Data not sent)\n",
     false,
     {"down 13"}},
    {"ReleasedHoldIsNotReleasedAgain",
     "",
     {"DOWN 2\nUP 2\n"},
     "OK\nOK\n",
     false,
     {"down 2", "up 2"}},
    {"TooLongLineCloses",
     "",
     {"PRESS 1\n" + std::string(300, 'A') + "\nPRESS 2\n"},
     "OK\nERR line longer than 256 bytes\n",
     true,
     {"press 1"}},
    {"NothingAfterClosing",
     "",
     {std::string(300, 'A'), "PRESS 2\n"},
     "ERR line longer than 256 bytes\n",
     true,
     {}},
    {"TokenFirst", "s3cret", {"AUTH s3cret\nPRESS 3\n"}, "OK\nOK\n", false, {"press 3"}},
    {"WrongTokenCloses", "s3cret", {"AUTH guess\nPRESS 3\n"}, "ERR wrong token\n", true, {}},
    {"CommandBeforeTokenCloses",
     "s3cret",
     {"PRESS 3\n"},
     "ERR AUTH with the token first\n",
     true,
     {}},
    {"BlankLinesBeforeTheToken", "s3cret", {"\r\n\nAUTH s3cret\n"}, "OK\n", false, {}},
};

void PrintTo(const TSessionCase& c, std::ostream* out) { *out << c.Name; }

class LineSessionTest : public testing::TestWithParam<TSessionCase> {};

TEST_P(LineSessionTest, AnswersAndActs) {
  const TSessionCase& c = GetParam();
  TFakePanel panel;
  panel.Fail(13);
  TRemoteHolds holds(panel);
  std::string answer;
  bool closed = false;
  {
    TLineSession session(holds, c.Token);
    for (const std::string& read : c.Reads) answer += session.Receive(read);
    closed = session.Closed();
  }
  EXPECT_EQ(answer, c.Answer);
  EXPECT_EQ(closed, c.Closed);
  EXPECT_EQ(panel.Actions(), c.Actions);
}

INSTANTIATE_TEST_SUITE_P(Cases, LineSessionTest, testing::ValuesIn(kSessionCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(LineSession, ListsEveryButtonThenOk) {
  TFakePanel panel(2, 2);
  TRemoteHolds holds(panel);
  TLineSession session(holds, "");
  EXPECT_EQ(session.Receive("list\n"),
            "BUTTON 1 1 1 1 Caption 1\nBUTTON 2 2 1 1 Caption 2\n"
            "BUTTON 3 1 2 1 Caption 3\nBUTTON 4 2 2 1 Caption 4\nOK\n");
}

TEST(RemoteHolds, OnlyTheClientThatStartedAHoldReleasesIt) {
  TFakePanel panel;
  panel.HoldLocally(6);
  TRemoteHolds holds(panel);
  const TRemoteClient first = holds.NewClient();
  const TRemoteClient second = holds.NewClient();
  holds.Act(first, TRemoteAction::Down, 4);
  holds.Act(second, TRemoteAction::Down, 4);
  holds.Act(second, TRemoteAction::Down, 6);
  holds.Disconnected(second);
  EXPECT_TRUE(holds.Holds(first, 4));
  holds.Disconnected(first);
  holds.Disconnected(first);
  holds.Act(first, TRemoteAction::Down, 5);
  holds.ReleaseAll();
  holds.ReleaseAll();
  EXPECT_EQ(panel.Actions(), (TActions{"down 4", "down 4", "down 6", "up 4", "down 5", "up 5"}));
  EXPECT_TRUE(panel.Held(6));
}

}  // namespace
