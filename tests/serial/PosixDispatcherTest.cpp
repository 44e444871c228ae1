// The POSIX dispatcher on pseudo-terminals: the output path end to end, what a
// pty keeps of the line settings, which devices are refused, input held back,
// and the faults that matter most: a vanished device and many open-close cycles.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <termios.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <future>
#include <memory>

#include "Pty.h"
#include "TemporaryFolder.h"
#include "TestOwner.h"
#include "serial/ComPortPresent.h"
#include "serial/ResultCodes.h"
#include "serial/SerialErrors.h"
#include "serial/posix/LineTermios.h"
#include "serial/posix/PosixDispatcher.h"

namespace {

constexpr uint32_t kSize = 4096;

class PosixDispatcherTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pty_.Valid()); }

  std::unique_ptr<TVrlPosixDispatcher> Open(uint32_t baud = 9600) {
    auto port = std::make_unique<TVrlPosixDispatcher>(&owner_);
    const int32_t result = port->InitializePort(pty_.SlavePath(), baud, 0, 8, 1, kSize, kSize,
                                                TVrlBaseDispatcher::kDtrOn);
    EXPECT_EQ(result, 0) << ErrorMessageFor(result);
    return port;
  }

  TPty pty_;
  TTestOwner owner_;
};

TEST_F(PosixDispatcherTest, BlocksArriveInOrderWithEmbeddedZeros) {
  auto port = Open();
  const std::string blocks[] = {std::string("\x00\x01\x02", 3), "hello", std::string(1, '\0'),
                                std::string(kSize, '\xAA'), std::string("\r\n\x11\x13\xFF", 5)};
  std::string expected;
  for (const std::string& block : blocks) {
    // A full ring is the only refusal; wait for the writer to take the bytes.
    ASSERT_TRUE(Eventually([&] { return port->OutputFree() >= int32_t(block.size()); }));
    ASSERT_EQ(port->WriteBlock(block.data(), static_cast<uint32_t>(block.size())), 0);
    expected += block;
  }
  EXPECT_EQ(pty_.Read(expected.size()), expected);
}

TEST_F(PosixDispatcherTest, EmptyAndOversizedBlocksQueueNothing) {
  auto port = Open();
  EXPECT_EQ(port->WriteBlock("ignored", 0), 0);
  const std::string tooBig(kSize + 1, 'x');
  EXPECT_EQ(port->WriteBlock(tooBig.data(), kSize + 1), vrl::kErrOutputBufferTooSmall);
  EXPECT_EQ(port->OutputUsed(), 0);
  const std::string exact(kSize, 'y');
  ASSERT_EQ(port->WriteBlock(exact.data(), kSize), 0);
  ASSERT_TRUE(Eventually([&] { return port->OutputUsed() == 0; }));
  ASSERT_EQ(port->WriteBlock("!", 1), 0);
  EXPECT_EQ(pty_.Read(kSize + 1), exact + "!");
}

TEST_F(PosixDispatcherTest, ClosingDiscardsPendingOutputAndReturns) {
  auto port = Open();
  // Nobody reads the master: the writer blocks once the pty is full, and
  // the ring fills behind it.
  const std::string block(kSize, 'z');
  size_t queued = 0;
  for (int i = 0; i < 64; ++i) {
    if (port->WriteBlock(block.data(), kSize) == 0) queued += kSize;
    if (port->OutputFree() == 0 && i > 16) break;
    Eventually([&] { return port->OutputFree() == int32_t(kSize) || port->OutputUsed() > 0; });
  }
  ASSERT_EQ(port->OutputFree(), 0);
  port.reset();
  EXPECT_LT(pty_.ReadWaiting().size(), queued);
}

struct TKeptCase {
  const char* name;
  uint32_t baud;
  uint8_t parity, stopBits;
  uint32_t hardwareFlow, softwareFlow;
  uint32_t controlFlags;  // of CSTOPB | CRTSCTS | CMSPAR
  uint32_t inputFlags;    // of IXON | IXOFF
};

const TKeptCase kKeptCases[] = {
    {"standard rate", 19200, 0, 1, 0, 0, 0, 0},
    {"rate without a constant", 250000, 0, 1, 0, 0, 0, 0},
    {"two stop bits", 9600, 0, 2, 0, 0, CSTOPB, 0},
    {"mark parity", 9600, 3, 1, 0, 0, CMSPAR, 0},
    {"space parity", 9600, 4, 1, 0, 0, CMSPAR, 0},
    {"RTS handshake alone", 115200, 0, 1, 0x02, 0, 0, 0},
    {"require CTS alone", 115200, 0, 1, 0x08, 0, 0, 0},
    {"RTS handshake and CTS", 115200, 0, 1, 0x0A, 0, CRTSCTS, 0},
    {"XON/XOFF both ways", 38400, 0, 1, 0, 0x03, 0, IXON | IXOFF},
};

TEST_F(PosixDispatcherTest, PtyKeepsRateStopBitsAndFlowSettings) {
  for (const auto& c : kKeptCases) {
    // A second descriptor on the slave, opened first, to look at its settings.
    TUniqueFd look(::open(pty_.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    ASSERT_TRUE(look.Valid());
    auto port = Open();
    ASSERT_EQ(port->SetLineParams(c.baud, c.parity, 8, c.stopBits), 0) << c.name;
    ASSERT_EQ(port->SetHardwareFlow(3686, 409, c.hardwareFlow), 0) << c.name;
    if (c.softwareFlow != 0) {
      ASSERT_EQ(port->EnableSoftwareFlow(3072, 1024, c.softwareFlow), 0);
    }
    TLineTermios settings;
    ASSERT_EQ(GetLineTermios(look.Get(), settings), 0);
    EXPECT_EQ(settings.Baud, c.baud) << c.name;
    EXPECT_EQ(settings.ControlFlags & (CSTOPB | CRTSCTS | CMSPAR), c.controlFlags) << c.name;
    EXPECT_EQ(settings.InputFlags & (IXON | IXOFF), c.inputFlags) << c.name;
    EXPECT_EQ(settings.LocalFlags & ICANON, 0u) << c.name;
  }
}

class RefusedDeviceTest : public testing::Test {
 protected:
  TTemporaryFolder folder_;
  const std::string directory_ = folder_.Path().string();
};

TEST_F(RefusedDeviceTest, OpensOnlyTerminalCharacterDevices) {
  const std::string file = directory_ + "/file";
  std::ofstream(file) << "keep";
  ASSERT_EQ(::mkfifo((directory_ + "/fifo").c_str(), 0600), 0);
  TUniqueFd socketFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = directory_ + "/socket";
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
  ASSERT_EQ(::bind(socketFd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

  const struct {
    std::string path;
    int32_t result;
  } cases[] = {
      {directory_ + "/missing", vrl::kErrFileNotFound},
      {file + "/below-a-file", vrl::kErrPathNotFound},
      {"", vrl::kErrFileNotFound},
      {file, vrl::kErrNotATerminal},
      {directory_ + "/fifo", vrl::kErrNotATerminal},
      {directory_, vrl::kErrNotATerminal},
      {socketPath, vrl::kErrNotATerminal},
      {"/dev/null", vrl::kErrNotATerminal},
  };
  const int descriptors = OpenDescriptors();
  for (const auto& c : cases) {
    TVrlPosixDispatcher port(nullptr);
    EXPECT_EQ(port.OpenDevice(c.path), c.result) << c.path;
    EXPECT_EQ(port.InitializePort(c.path, 9600, 0, 8, 1, kSize, kSize, 0), c.result) << c.path;
    EXPECT_FALSE(port.ThreadsRunning());
  }
  EXPECT_EQ(OpenDescriptors(), descriptors);
  std::string content;
  std::ifstream(file) >> content;
  EXPECT_EQ(content, "keep");
}

TEST(ConsoleTest, TheSystemConsoleIsNeverOpened) {
  for (const char* path : {"/dev/console", "/dev/tty0"}) {
    struct stat info {};
    if (::stat(path, &info) != 0 || !S_ISCHR(info.st_mode)) continue;
    TVrlPosixDispatcher port(nullptr);
    EXPECT_EQ(port.OpenDevice(path), vrl::kErrSystemConsole) << path;
  }
}

TEST_F(PosixDispatcherTest, SecondOpenIsInUse) {
  auto port = Open();
  TVrlPosixDispatcher second(nullptr);
  EXPECT_EQ(second.OpenDevice(pty_.SlavePath()), vrl::kErrAccessDenied);
  port.reset();
  // Another program's exclusive lock counts as in use too (TIOCEXCL alone
  // does not stop root, the lock does).
  TUniqueFd other(::open(pty_.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  ASSERT_TRUE(other.Valid());
  ASSERT_EQ(::flock(other.Get(), LOCK_EX | LOCK_NB), 0);
  EXPECT_EQ(second.OpenDevice(pty_.SlavePath()), vrl::kErrAccessDenied);
  ::flock(other.Get(), LOCK_UN);
  EXPECT_EQ(second.OpenDevice(pty_.SlavePath()), 0);
  EXPECT_EQ(second.CloseDevice(), 0);
}

// Another holder of the tty, by lock, by exclusive mark or by both: neither a
// refused open nor the presence probe may change its exclusive state, and a
// probe of a free port leaves it free.
struct THolderCase {
  const char* name;
  bool locked, exclusive;
  bool probe;
};

const THolderCase kHolderCases[] = {
    {"open, lock only", true, false, false},
    {"open, lock and exclusive mark", true, true, false},
    {"open, exclusive mark only", false, true, false},
    {"probe, lock only", true, false, true},
    {"probe, lock and exclusive mark", true, true, true},
    {"probe, exclusive mark only", false, true, true},
    {"probe, a free port", false, false, true},
};

int ExclusiveState(int fd) {
  int exclusive = -1;
  return ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 ? exclusive : -1;
}

TEST_F(PosixDispatcherTest, RefusedOpenLeavesTheHoldersExclusiveStateAsItWas) {
  for (const auto& c : kHolderCases) {
    TUniqueFd holder(::open(pty_.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    ASSERT_TRUE(holder.Valid());
    if (c.locked) {
      ASSERT_EQ(::flock(holder.Get(), LOCK_EX | LOCK_NB), 0);
    }
    if (c.exclusive) {
      ASSERT_EQ(::ioctl(holder.Get(), TIOCEXCL), 0);
    }
    const int before = ExclusiveState(holder.Get());
    if (c.probe) {
      TPortMap map;
      map.Assign(1, pty_.SlavePath());
      EXPECT_TRUE(ComPortPresent(1, map)) << c.name;
    } else {
      TVrlPosixDispatcher port(&owner_);
      EXPECT_EQ(port.InitializePort(pty_.SlavePath(), 9600, 0, 8, 1, kSize, kSize, 0),
                vrl::kErrAccessDenied)
          << c.name;
    }
    EXPECT_EQ(ExclusiveState(holder.Get()), before) << c.name;
    ::ioctl(holder.Get(), TIOCNXCL);
  }
  // Free again, the port opens and its close takes its own mark away.
  { auto port = Open(); }
  TUniqueFd look(::open(pty_.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  ASSERT_TRUE(look.Valid());
  EXPECT_EQ(ExclusiveState(look.Get()), 0);
}

// A pty left at speed 0 (as a hung-up port is), at 50 baud, and at 9600: the
// open returns at once whatever the rate asked for, and the line is never
// left at speed 0.
struct TPtySpeedCase {
  speed_t found;
  uint32_t requested;
  uint32_t after;
};

const TPtySpeedCase kPtySpeedCases[] = {
    {B0, 19200, 19200}, {B0, 0, 19200},        {B50, 19200, 19200},
    {B50, 0, 50},       {B9600, 19200, 19200}, {B9600, 0, 9600},
};

TEST_F(PosixDispatcherTest, OpeningAtAnySpeedIsPromptAndNeverAtSpeedZero) {
  for (const auto& c : kPtySpeedCases) {
    termios settings{};
    ASSERT_EQ(::tcgetattr(pty_.Master(), &settings), 0);
    ::cfsetospeed(&settings, c.found);
    ::cfsetispeed(&settings, c.found);
    ASSERT_EQ(::tcsetattr(pty_.Master(), TCSANOW, &settings), 0);
    auto opening = std::async(std::launch::async, [&] { return Open(c.requested); });
    ASSERT_EQ(opening.wait_for(std::chrono::seconds(60)), std::future_status::ready)
        << c.found << " " << c.requested;
    auto port = opening.get();
    TLineTermios programmed;
    ASSERT_EQ(GetLineTermios(pty_.Master(), programmed), 0);
    EXPECT_EQ(programmed.Baud, c.after) << c.found << " " << c.requested;
    ASSERT_EQ(port->WriteBlock("s", 1), 0);
    EXPECT_EQ(pty_.Read(1), "s");
  }
}

TEST_F(PosixDispatcherTest, VanishedDeviceKillsThePortCleanly) {
  const int threads = BaselineThreads();
  auto port = Open();
  pty_.CloseMaster();
  ASSERT_TRUE(owner_.WaitForFailures(1));
  EXPECT_EQ(owner_.Failures(), std::vector<std::string>{"Device read error"});
  ASSERT_TRUE(Eventually([&] { return !port->ThreadsRunning(); }));
  EXPECT_TRUE(port->Killed());
  EXPECT_FALSE(HoldsDescriptorOn(pty_.SlavePath()));
  // The last worker leaves the kernel's task list just after its count drops.
  EXPECT_TRUE(Eventually([&] { return Threads() == threads; }));
  EXPECT_EQ(port->WriteBlock("x", 1), vrl::kErrCommNotOpen);
  EXPECT_EQ(port->SetLineParams(19200, 0, 8, 1), vrl::kErrCommNotOpen);
  EXPECT_EQ(port->SetRTSLine(true), vrl::kErrCommNotOpen);
  EXPECT_EQ(port->CloseDevice(), 0);
  EXPECT_EQ(port->CloseDevice(), 0);
  port->ShutdownPort();
}

TEST_F(PosixDispatcherTest, OpenSendCloseCyclesLeaveNothingBehind) {
  const int descriptors = OpenDescriptors();
  const int threads = BaselineThreads();
  for (int cycle = 0; cycle < 1000; ++cycle) {
    // The pty's own rate, so that opening waits no character times.
    auto port = Open(38400);
    ASSERT_EQ(port->WriteBlock("c", 1), 0);
    ASSERT_EQ(pty_.Read(1), "c") << cycle;
  }
  EXPECT_EQ(OpenDescriptors(), descriptors);
  EXPECT_EQ(Threads(), threads);
}

TEST_F(PosixDispatcherTest, InputNobodyTakesWaitsInTheDriver) {
  using Base = TVrlBaseDispatcher;
  auto port = Open();
  ASSERT_EQ(::fcntl(pty_.Master(), F_SETFL, O_NONBLOCK), 0);
  // A numbered stream, so that a lost byte shows as a gap.
  uint64_t fed = 0;
  auto feed = [&] {
    char block[kSize];
    for (;;) {
      for (size_t i = 0; i < sizeof block; ++i) block[i] = static_cast<char>((fed + i) % 251);
      const ssize_t n = ::write(pty_.Master(), block, sizeof block);
      if (n <= 0) return;
      fed += static_cast<uint64_t>(n);
    }
  };
  // Nobody takes input: the dispatch buffer fills, the queue behind it reaches
  // its limit, and then the peer is held back (the master takes no more).
  int64_t mostQueued = 0;
  auto heldBack = [&] {
    feed();
    mostQueued = std::max(mostQueued, port->InputQueueBytes());
    pollfd master{pty_.Master(), POLLOUT, 0};
    return port->DispatchBufferUsed() == Base::kDispatchBufferSize &&
           port->InputQueueBytes() + Base::kReadChunkSize > Base::kInputQueueLimit &&
           ::poll(&master, 1, 0) == 0;
  };
  ASSERT_TRUE(Eventually(heldBack));
  // More went in than the dispatcher keeps; the rest waits in the driver.
  EXPECT_GT(fed, Base::kDispatchBufferSize + Base::kInputQueueLimit);
  EXPECT_LE(mostQueued, Base::kInputQueueLimit);
  EXPECT_EQ(port->LineErrors() & Base::kReceiveOverflow, 0);

  // A block read makes room, and the input flows again, every byte in order.
  const uint64_t fedWhenHeld = fed;
  uint64_t taken = 0;
  bool inOrder = true;
  ASSERT_TRUE(Eventually([&] {
    feed();
    uint8_t block[kSize];
    const uint32_t n = port->GetBlock(block, sizeof block);
    for (uint32_t i = 0; i < n; ++i) inOrder = inOrder && block[i] == (taken + i) % 251;
    taken += n;
    return !inOrder || taken > fedWhenHeld + 1024 * 1024;
  }));
  EXPECT_TRUE(inOrder);

  // A purge makes room too: input is read again until it is held back anew.
  ASSERT_TRUE(Eventually(heldBack));
  EXPECT_EQ(port->PurgeInput(), 0);
  EXPECT_LT(port->DispatchBufferUsed(), Base::kDispatchBufferSize);
  ASSERT_TRUE(Eventually(heldBack));
  EXPECT_LE(mostQueued, Base::kInputQueueLimit);

  // A device that goes away while its input waits is noticed all the same.
  pty_.CloseMaster();
  ASSERT_TRUE(owner_.WaitForFailures(1));
  EXPECT_EQ(owner_.Failures(), std::vector<std::string>{"Device read error"});
  EXPECT_TRUE(Eventually([&] { return !port->ThreadsRunning(); }));
  EXPECT_TRUE(port->Killed());
}

TEST_F(PosixDispatcherTest, AvailableBytesReachTheWindowOnlyWhenAHandlerWantsThem) {
  auto port = Open();
  port->RefreshHandlerFlags(2);
  port->SetTriggerLength(1);
  port->RegisterNotifyWindow(7);
  ASSERT_EQ(::write(pty_.Master(), "abc", 3), 3);
  ASSERT_TRUE(Eventually([&] { return port->DispatchBufferUsed() == 3; }));
  EXPECT_TRUE(owner_.Sent().empty());
  port->RefreshHandlerFlags(1);
  ASSERT_EQ(::write(pty_.Master(), "de", 2), 2);
  // The switch itself may deliver the three waiting bytes before "de" comes;
  // nothing took them, the next delivery counts all five.
  ASSERT_TRUE(Eventually([&] {
    const auto sent = owner_.Sent();
    return !sent.empty() && sent.back().wParam == 5u;
  }));
  for (const TSentMessage& sent : owner_.Sent()) {
    EXPECT_EQ(sent.window, 7u);
    EXPECT_EQ(sent.message, TVrlBaseDispatcher::kMsgTriggerAvail);
    EXPECT_TRUE(sent.wParam == 3u || sent.wParam == 5u) << sent.wParam;
    EXPECT_EQ(sent.lParam >> 16, port->HandleNumber());
  }
}

}  // namespace
