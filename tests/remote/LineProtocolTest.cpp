// The pure parts of remote control: cutting bytes into lines, reading a line
// as a command, matching request paths and reading their numbers.
#include <gtest/gtest.h>

#include <string>

#include "remote/LineProtocol.h"
#include "remote/RoutePath.h"
#include "remote/TokenCompare.h"

namespace {

struct TScanCase {
  const char* Name;
  std::string Buffer;
  TLineScanStatus Status;
  std::string Line;
  size_t Consumed;
};

const TScanCase kScanCases[] = {
    {"Empty", "", TLineScanStatus::Incomplete, "", 0},
    {"NoLineEndYet", "PRESS 3", TLineScanStatus::Incomplete, "", 0},
    {"LineFeed", "PRESS 3\nLIST\n", TLineScanStatus::Line, "PRESS 3", 8},
    {"CarriageReturnLineFeed", "PRESS 3\r\n", TLineScanStatus::Line, "PRESS 3", 9},
    {"EmptyLine", "\n", TLineScanStatus::Line, "", 1},
    {"LongestLine", std::string(256, 'A') + "\r\n", TLineScanStatus::Line, std::string(256, 'A'),
     258},
    {"OneByteTooLong", std::string(257, 'A') + "\n", TLineScanStatus::TooLong, "", 0},
    {"LongestLineWaitingForItsEnd", std::string(256, 'A') + "\r", TLineScanStatus::Incomplete, "",
     0},
    {"TooLongBeforeItsEnd", std::string(258, 'A'), TLineScanStatus::TooLong, "", 0},
};

void PrintTo(const TScanCase& c, std::ostream* out) { *out << c.Name; }

class ScanLineTest : public testing::TestWithParam<TScanCase> {};

TEST_P(ScanLineTest, CutsOneLine) {
  const TScanCase& c = GetParam();
  const TLineScan scan = ScanLine(c.Buffer);
  EXPECT_EQ(scan.Status, c.Status);
  EXPECT_EQ(std::string(scan.Line), c.Line);
  EXPECT_EQ(scan.Consumed, c.Consumed);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScanLineTest, testing::ValuesIn(kScanCases),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TParseCase {
  const char* Name;
  const char* Line;
  TLineCommand Expected;
};

TLineCommand Command(TLineVerb verb, int number = 0, std::string argument = {}) {
  return {verb, number, std::move(argument), {}};
}

TLineCommand Invalid(std::string error) { return {TLineVerb::Invalid, 0, {}, std::move(error)}; }

const TParseCase kParseCases[] = {
    {"Press", "PRESS 3", Command(TLineVerb::Press, 3, "3")},
    {"DownInLowerCase", "down 12", Command(TLineVerb::Down, 12, "12")},
    {"UpWithBlanksAndTabs", " \tUp \t 7 ", Command(TLineVerb::Up, 7, "7")},
    {"LeadingZeros", "PRESS 003", Command(TLineVerb::Press, 3, "003")},
    {"ZeroIsANumber", "PRESS 0", Command(TLineVerb::Press, 0, "0")},
    {"HugeNumberSaturates", "PRESS 99999999999999999999",
     Command(TLineVerb::Press, TLineCommand::kNumberTooLarge, "99999999999999999999")},
    {"List", "LIST", Command(TLineVerb::List)},
    {"AuthKeepsInnerBlanks", "AUTH  open sesame ", Command(TLineVerb::Auth, 0, "open sesame")},
    {"Blank", "  \t", Command(TLineVerb::Empty)},
    {"NoNumber", "PRESS", Invalid("PRESS needs a button number")},
    {"TwoNumbers", "PRESS 1 2", Invalid("PRESS takes one button number")},
    {"Negative", "PRESS -1", Invalid("not a button number: -1")},
    {"Exponent", "DOWN 1e9", Invalid("not a button number: 1e9")},
    {"Letters", "UP three", Invalid("not a button number: three")},
    {"ListWithArgument", "LIST 1", Invalid("LIST takes no arguments")},
    {"AuthWithoutToken", "AUTH", Invalid("AUTH needs the token")},
    {"UnknownVerb", "PUSH 3", Invalid("unknown command: PUSH")},
    {"VerbGluedToNumber", "PRESS3", Invalid("unknown command: PRESS3")},
};

void PrintTo(const TParseCase& c, std::ostream* out) { *out << c.Name; }

class ParseLineCommandTest : public testing::TestWithParam<TParseCase> {};

TEST_P(ParseLineCommandTest, ReadsTheCommand) {
  EXPECT_EQ(ParseLineCommand(GetParam().Line), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseLineCommandTest, testing::ValuesIn(kParseCases),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TPathCase {
  const char* Pattern;
  const char* Path;
  bool Matches;
  std::vector<std::string> Captures;
};

const TPathCase kPathCases[] = {
    {"/api/buttons", "/api/buttons", true, {}},
    {"/api/buttons", "/api/buttons/", false, {}},
    {"/api/buttons", "/api/button", false, {}},
    {"/api/buttons", "/api", false, {}},
    {"/api/buttons/{}/press", "/api/buttons/3/press", true, {"3"}},
    {"/api/buttons/{}/press", "/api/buttons/abc/press", true, {"abc"}},
    {"/api/buttons/{}/press", "/api/buttons//press", false, {}},
    {"/api/buttons/{}/press", "/api/buttons/3/press/again", false, {}},
    {"/api/buttons/{}/press", "/api/buttons/3/down", false, {}},
    {"/api/location/{}/{}/up", "/api/location/2/3/up", true, {"2", "3"}},
    {"/api/location/{}/{}/up", "/api/location/2/up", false, {}},
    {"/api/buttons", "", false, {}},
    {"/api/buttons", "api/buttons", false, {}},
};

TEST(MatchPath, MatchesSegmentBySegment) {
  for (const TPathCase& c : kPathCases) {
    std::vector<std::string_view> captures;
    EXPECT_EQ(MatchPath(c.Pattern, c.Path, captures), c.Matches) << c.Pattern << " " << c.Path;
    if (c.Matches) {
      EXPECT_EQ(std::vector<std::string>(captures.begin(), captures.end()), c.Captures);
    }
  }
}

TEST(ParsePathNumber, TakesDigitsOnly) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"3", 3},
      {"0", 0},
      {"101", 101},
      {"007", 7},
      {"1000000000", kPathNumberTooLarge},
      {"-1", std::nullopt},
      {"1e9", std::nullopt},
      {"+3", std::nullopt},
      {"three", std::nullopt},
      {"3a", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [segment, expected] : cases)
    EXPECT_EQ(ParsePathNumber(segment), expected) << segment;
}

TEST(CheckRequestLine, TellsARequestFromGarbage) {
  using enum TRequestLineCheck;
  const std::pair<std::string_view, TRequestLineCheck> cases[] = {
      {"GET /api/buttons HTTP/1.1\r\nHost: x\r\n", Valid},
      {"POST /api/buttons/3/press HTTP/1.0\r\n", Valid},
      {"", Incomplete},
      {"PO", Incomplete},
      {"POST ", Incomplete},
      {"POST /api/butt", Incomplete},
      {"GARBAGE / NONSENSE\r\n", Malformed},
      {"get /api/buttons HTTP/1.1\r\n", Malformed},
      {"GET api HTTP/1.1\r\n", Malformed},
      {"GET /api/buttons HTTP/2.0\r\n", Malformed},
      {"GET /api/buttons HTTP/1.1 extra\r\n", Malformed},
      {"GET /api/buttons\r\n", Malformed},
      {std::string_view("\x00\x01\x02", 3), Malformed},
      {"\r\n", Malformed},
  };
  for (const auto& [start, expected] : cases) EXPECT_EQ(CheckRequestLine(start), expected) << start;
}

TEST(TokensMatch, OnlyTheWholeToken) {
  EXPECT_TRUE(TokensMatch("s3cret", "s3cret"));
  EXPECT_FALSE(TokensMatch("s3cre", "s3cret"));
  EXPECT_FALSE(TokensMatch("s3crett", "s3cret"));
  EXPECT_FALSE(TokensMatch("S3cret", "s3cret"));
  EXPECT_FALSE(TokensMatch("", "s3cret"));
  EXPECT_FALSE(TokensMatch("x", ""));
}

}  // namespace
