// Tracing and Logging on an open port through a pseudo-terminal: the request
// rules (on, pause, clear, the three dumps, off), size changes, a trace asked
// for before the port opened, what the log records of sent and received bytes,
// and dumps that cannot be written.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Pty.h"
#include "TestOwner.h"
#include "TraceFiles.h"
#include "serial/ComPort.h"
#include "serial/MessageQueue.h"
#include "serial/SerialErrors.h"

namespace {

constexpr uint16_t kPtyNumber = 5;

class ComPortTraceLogTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty_.Valid());
    TPortMap map;
    map.Assign(kPtyNumber, pty_.SlavePath());
    port_.SetPortMap(map);
    port_.SetMainThreadQueue(&queue_);
    port_.SetPromptForPort(false);
    port_.SetComNumber(kPtyNumber);
    port_.SetTraceName(TraceFile());
    port_.SetLogName(LogFile());
    port_.SetTraceHex(false);
  }

  std::string TraceFile() const { return folder_.File("VREL.TRC"); }
  std::string LogFile() const { return folder_.File("VREL.LOG"); }

  TTemporaryFolder folder_;
  TPty pty_;
  TMessageQueue queue_;
  TVrlComPort port_;
};

using TStep = std::function<void(TVrlComPort&)>;

TStep Send(std::string text) {
  return [text](TVrlComPort& port) { port.SendString(text); };
}
TStep Request(TTraceLogState request) {
  return [request](TVrlComPort& port) { port.SetTracing(request); };
}
TStep Size(uint32_t size) {
  return [size](TVrlComPort& port) { port.SetTraceSize(size); };
}

struct TRequestCase {
  std::string name;
  std::vector<TStep> steps;
  std::optional<std::string> file;  // the trace file's text; none: no file
  TTraceLogState state;             // Tracing afterwards
};

void PrintTo(const TRequestCase& requestCase, std::ostream* out) { *out << requestCase.name; }

using enum TTraceLogState;
const std::string kTransmit = "Transmit: \r\n";

const TRequestCase kRequestCases[] = {
    {"DumpWritesWhatWasSentAndStops",
     {Request(tlOn), Send("AB\r"), Request(tlDump)},
     kTransmit + "AB[13]",
     tlOff},
    {"PauseSkipsAndOnResumes",
     {Request(tlOn), Send("A"), Request(tlPause), Send("B"), Request(tlOn), Send("C"),
      Request(tlDump)},
     kTransmit + "AC",
     tlOff},
    {"ClearEmptiesTheTrace",
     {Request(tlOn), Send("A"), Request(tlClear), Send("B"), Request(tlDump)},
     kTransmit + "B",
     tlOff},
    {"AppendAndContinueKeepsTracing",
     {Request(tlOn), Send("A"), Request(tlAppendAndContinue), Send("B"), Request(tlAppend)},
     kTransmit + "A" + kTransmit + "B",
     tlOff},
    {"AppendAndContinueLeavesTheTraceOn",
     {Request(tlOn), Send("A"), Request(tlAppendAndContinue)},
     kTransmit + "A",
     tlOn},
    {"OffDropsTheTrace", {Request(tlOn), Send("A"), Request(tlOff), Request(tlDump)}, {}, tlOff},
    {"NewSizeRestartsARunningTrace",
     {Request(tlOn), Send("ABC"), Size(2), Send("DEF"), Request(tlDump)},
     kTransmit + "EF",
     tlOff},
    {"NewSizeStopsAPausedTrace",
     {Request(tlOn), Send("A"), Request(tlPause), Size(5), Send("B"), Request(tlDump)},
     {},
     tlOff},
    {"PauseOnAStoppedTraceDoesNothing", {Request(tlPause), Send("A"), Request(tlDump)}, {}, tlOff},
};

class ComPortTraceRequestTest : public ComPortTraceLogTest,
                                public testing::WithParamInterface<TRequestCase> {};

TEST_P(ComPortTraceRequestTest, ActsOnTheRunningTrace) {
  const TRequestCase& requestCase = GetParam();
  port_.SetOpen(true);
  for (const TStep& step : requestCase.steps) step(port_);
  EXPECT_EQ(ReadFile(TraceFile()), requestCase.file);
  EXPECT_EQ(port_.Tracing(), requestCase.state);
}

INSTANTIATE_TEST_SUITE_P(Requests, ComPortTraceRequestTest, testing::ValuesIn(kRequestCases),
                         [](const auto& info) { return info.param.name; });

TEST_F(ComPortTraceLogTest, TraceAskedForWhileClosedStartsWithThePort) {
  port_.SetTracing(tlOn);
  port_.SendString("x");  // opens the port
  ASSERT_TRUE(port_.Open());
  port_.SetTracing(tlDump);
  EXPECT_EQ(ReadFile(TraceFile()), kTransmit + "x");
}

std::string FailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& failure) {
    return failure.what();
  }
  return "no exception";
}

TEST_F(ComPortTraceLogTest, ClosingWritesTheRunningTraceAndLog) {
  port_.SetTracing(tlOn);
  port_.SetLogging(tlOn);
  port_.SendString("AB");
  port_.SetOpen(false);
  EXPECT_FALSE(port_.Open());
  EXPECT_EQ(ReadFile(TraceFile()), kTransmit + "AB");
  EXPECT_NE(ReadFile(LogFile()).value_or("").find("WriteCom"), std::string::npos);
}

TEST_F(ComPortTraceLogTest, ACloseWhoseTraceCannotBeWrittenStillClosesAndSaysWhy) {
  port_.SetTraceName(folder_.File("absent/VREL.TRC"));
  port_.SetTracing(tlOn);
  port_.SendString("A");
  EXPECT_EQ(FailureOf([&] { port_.SetOpen(false); }), "Path not found");
  EXPECT_FALSE(port_.Open());
  EXPECT_EQ(port_.State(), TComPortState::stClosed);
}

// An entry line without its time, which no test can know.
std::vector<std::string> EntriesWithoutTime(const std::string& text) {
  std::vector<std::string> entries;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = text.substr(start, end - start);
    if (line.size() > 10 && line[4] == '.') entries.push_back(line.substr(10));
  }
  if (start < text.size() && text.size() - start > 10) entries.push_back(text.substr(start + 10));
  return entries;
}

bool Contains(const std::vector<std::string>& entries, const std::string& entry) {
  return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

TEST_F(ComPortTraceLogTest, LogRecordsTheOpenSentAndReceivedBytes) {
  port_.SetLogging(tlOn);
  port_.SetOpen(true);
  port_.SendString("Hi");
  ASSERT_EQ(::write(pty_.Master(), "xyz", 3), 3);
  ASSERT_TRUE(Eventually([&] { return port_.RequireDispatcher().DispatchBufferUsed() == 3; }));
  port_.SetLogging(tlDump);
  EXPECT_EQ(port_.Logging(), tlOff);
  const std::string text = ReadFile(LogFile()).value_or("");
  EXPECT_NE(text.find("\r\nDevice: COM5\r\n"), std::string::npos);
  const std::vector<std::string> entries = EntriesWithoutTime(text);
  for (const char* expected :
       {"TrDatChg  Avail         00000001  ", "TrgHdAlc  Window        00000000  ",
        "Dispatch  WriteCom      00000002  Hi", "Dispatch  ReadCom       00000003  xyz"}) {
    EXPECT_TRUE(Contains(entries, expected)) << expected << "\nin:\n" << text;
  }
}

TEST_F(ComPortTraceLogTest, UnwritableDumpRaisesTheCause) {
  port_.SetTracing(tlOn);
  port_.SetLogging(tlOn);
  port_.SetOpen(true);
  port_.SendString("A");
  // The trace stops; the log keeps its entries for a dump that can be written.
  port_.SetTraceName(folder_.File("absent/VREL.TRC"));
  EXPECT_EQ(FailureOf([&] { port_.SetTracing(tlDump); }), "Path not found");
  EXPECT_EQ(port_.Tracing(), tlOff);
  port_.SetLogName(folder_.Path().string());
  EXPECT_EQ(FailureOf([&] { port_.SetLogging(tlDump); }), "Is a directory");
  EXPECT_EQ(port_.Logging(), tlOn);
  port_.SetLogName(LogFile());
  port_.SetLogging(tlDump);
  const std::vector<std::string> entries = EntriesWithoutTime(ReadFile(LogFile()).value_or(""));
  EXPECT_TRUE(Contains(entries, "Dispatch  WriteCom      00000001  A"));
}

}  // namespace
