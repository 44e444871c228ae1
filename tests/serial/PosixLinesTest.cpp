// The POSIX dispatcher's use of the modem lines, with a logged driver over a
// pseudo-terminal: what each hardware-flow option asks of termios and of the
// lines, how RS485 direction control keys RTS around a batch, and RS485
// switched on an open port.
#include <gtest/gtest.h>
#include <termios.h>

#include <memory>
#include <string>
#include <vector>

#include "Pty.h"
#include "RecordingPosixDispatcher.h"
#include "TestOwner.h"
#include "serial/posix/LineTermios.h"

namespace {

constexpr uint32_t kUseDtr = 0x01, kUseRts = 0x02, kRequireDsr = 0x04, kRequireCts = 0x08;

class PosixLinesTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pty_.Valid()); }

  // Opened with DTR and RTS asked low, so that any raise is the handshake's.
  std::unique_ptr<TRecordingPosixDispatcher> Open(TRecordingPosixDispatcher::TDriver driver = {}) {
    auto port = std::make_unique<TRecordingPosixDispatcher>(&owner_, driver);
    EXPECT_EQ(port->InitializePort(pty_.SlavePath(), 9600, 0, 8, 1, 4096, 4096, 0), 0);
    port->Clear();
    return port;
  }
  size_t Count(TRecordingPosixDispatcher& port, const std::string& record) {
    const auto records = port.Records();
    return std::count(records.begin(), records.end(), record);
  }

  TPty pty_;
  TTestOwner owner_;
};

struct TFlowOptionCase {
  const char* name;
  uint32_t options;
  bool crtscts;  // termios does both halves
  bool raisesDtr, raisesRts;
  std::vector<int> gates;  // lines that hold output while low, emulated
};

const TFlowOptionCase kFlowOptionCases[] = {
    {"none", 0, false, false, false, {}},
    {"Use DTR", kUseDtr, false, true, false, {}},
    {"Use RTS", kUseRts, false, false, true, {}},
    {"Require DSR", kRequireDsr, false, false, false, {TIOCM_DSR}},
    {"Require CTS", kRequireCts, false, false, false, {TIOCM_CTS}},
    {"Use DTR, Use RTS", kUseDtr | kUseRts, false, true, true, {}},
    {"Use DTR, Require DSR", kUseDtr | kRequireDsr, false, true, false, {TIOCM_DSR}},
    {"Use DTR, Require CTS", kUseDtr | kRequireCts, false, true, false, {TIOCM_CTS}},
    {"Use RTS, Require DSR", kUseRts | kRequireDsr, false, false, true, {TIOCM_DSR}},
    {"Use RTS, Require CTS", kUseRts | kRequireCts, true, false, true, {}},
    {"Require DSR, Require CTS",
     kRequireDsr | kRequireCts,
     false,
     false,
     false,
     {TIOCM_DSR, TIOCM_CTS}},
};

TEST_F(PosixLinesTest, EachHardwareFlowOptionDoesWhatItsNameSays) {
  for (const auto& c : kFlowOptionCases) {
    auto port = Open();
    ASSERT_EQ(port->SetHardwareFlow(3686, 409, c.options), 0) << c.name;
    TLineTermios settings;
    ASSERT_EQ(GetLineTermios(pty_.Master(), settings), 0);
    EXPECT_EQ((settings.ControlFlags & CRTSCTS) != 0, c.crtscts) << c.name;
    EXPECT_EQ(Count(*port, "raise DTR") > 0, c.raisesDtr) << c.name;
    EXPECT_EQ(Count(*port, "lower DTR") > 0, !c.raisesDtr) << c.name;
    EXPECT_EQ(Count(*port, "raise RTS") > 0, c.raisesRts) << c.name;
    EXPECT_EQ(Count(*port, "lower RTS") > 0, !c.raisesRts) << c.name;
    // CTS and DSR are low; output waits for each gating line in turn.
    ASSERT_EQ(port->WriteBlock("g", 1), 0);
    for (const int line : c.gates) {
      ASSERT_TRUE(port->WaitForLooks(port->Looks(), 2)) << c.name;
      EXPECT_FALSE(pty_.Readable(0)) << c.name << ": sent while a gating line is low";
      port->SetLine(line, true);
    }
    EXPECT_EQ(pty_.Read(1), "g") << c.name;
  }
}

struct TTransmitterCase {
  const char* name;
  bool reportsTransmitter;
  std::vector<std::string> records;
};

const TTransmitterCase kTransmitterCases[] = {
    {"driver reports the transmitter",
     true,
     {"raise RTS", "queue", "transmitter busy", "transmitter empty", "lower RTS"}},
    {"driver cannot tell",
     false,
     {"raise RTS", "queue", "transmitter unknown", "drain", "lower RTS"}},
};

TEST_F(PosixLinesTest, RS485LowersRtsOnlyOnceTheTransmitterIsEmpty) {
  for (const auto& c : kTransmitterCases) {
    TRecordingPosixDispatcher::TDriver driver;
    driver.reportsTransmitter = c.reportsTransmitter;
    auto port = Open(driver);
    port->SetRS485(true);
    port->Clear();
    ASSERT_EQ(port->WriteBlock("frame", 5), 0);
    ASSERT_TRUE(port->WaitForRecord("lower RTS")) << c.name;
    EXPECT_EQ(pty_.Read(5), "frame") << c.name;
    EXPECT_EQ(port->Records(), c.records) << c.name;
  }
}

TEST_F(PosixLinesTest, RS485SwitchedOnAnOpenPortReachesTheDriverBothWays) {
  TRecordingPosixDispatcher::TDriver driver;
  driver.kernelRs485 = true;
  auto port = Open(driver);
  port->SetRS485(true);
  EXPECT_EQ(port->Records(), std::vector<std::string>({"rs485 on", "lower DTR"}));
  EXPECT_EQ(port->SetRTSLine(true), 1);
  port->Clear();
  port->SetRS485(false);
  EXPECT_EQ(port->Records(), std::vector<std::string>({"rs485 off", "lower DTR", "lower RTS"}));
  EXPECT_EQ(port->SetRTSLine(true), 0);
}

}  // namespace
