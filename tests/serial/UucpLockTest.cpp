// UUCP lock files: which contents name a live process, and a port whose lock
// file names one is in use ("ie_Open - device already open") while a stale
// one is ignored.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>

#include "Pty.h"
#include "TemporaryFolder.h"
#include "serial/ComPort.h"
#include "serial/SerialErrors.h"
#include "serial/posix/UucpLock.h"

namespace {

constexpr uint16_t kPortNumber = 5;
constexpr const char* kSystemLockFolder = "/var/lock";

// The id of a process that has ended and been reaped.
pid_t EndedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

std::string BinaryPid(int32_t pid) {
  std::string bytes(sizeof pid, '\0');
  std::memcpy(bytes.data(), &pid, sizeof pid);
  return bytes;
}

std::string TextPid(pid_t pid) {
  std::string text = std::to_string(pid);
  return std::string(10 - text.size(), ' ') + text + "\n";
}

TEST(UucpLock, ALiveProcessHoldsTheDeviceAStaleOrUnreadableLockDoesNot) {
  TTemporaryFolder folder;
  const pid_t live = ::getppid();
  const pid_t ended = EndedProcess();
  const struct {
    const char* name;
    const char* lockName;
    std::string content;
    bool held;
  } cases[] = {
      {"text form", "LCK..ttyUSB0", TextPid(live), true},
      {"bare number", "LCK..ttyUSB0", std::to_string(live), true},
      {"binary form", "LCK..ttyUSB0", BinaryPid(live), true},
      {"path below /dev", "LCK..serial_ttyUSB0", TextPid(live), true},
      {"other device", "LCK..ttyUSB1", TextPid(live), false},
      {"ended process", "LCK..ttyUSB0", TextPid(ended), false},
      {"this process", "LCK..ttyUSB0", TextPid(::getpid()), false},
      {"empty", "LCK..ttyUSB0", "", false},
      {"words", "LCK..ttyUSB0", "minicom was here\n", false},
      {"number and words", "LCK..ttyUSB0", "12 monkeys\n", false},
  };
  for (const auto& c : cases) {
    TTemporaryFolder locks;
    std::ofstream(locks / c.lockName, std::ios::binary) << c.content;
    // Whatever the path, the lock goes by the node's name.
    EXPECT_EQ(vrl::HeldByUucpLock("/dev/ttyUSB0", locks.Path()),
              c.held && std::string(c.lockName) == "LCK..ttyUSB0")
        << c.name;
    EXPECT_EQ(vrl::HeldByUucpLock("/dev/serial/ttyUSB0", locks.Path()), c.held) << c.name;
  }
  EXPECT_FALSE(vrl::HeldByUucpLock("/dev/ttyUSB0", folder / "no-such-folder"));
}

// A binary id whose bytes read like a blank, a digit or a line break is still
// the binary form; text is the number alone or with its line break.
TEST(UucpLock, TheContentNamesItsProcessInEitherForm) {
  const struct {
    std::string content;
    pid_t owner;
  } cases[] = {
      {TextPid(4242), 4242},
      {"4242", 4242},
      {"123\n", 123},
      {"  77\n", 77},
      {BinaryPid(4242), 4242},
      {BinaryPid(0x3120), 0x3120},  // a blank, then the digit 1
      {BinaryPid(0x0A31), 0x0A31},  // the digit 1 and a line break
      {BinaryPid(0x34), 0x34},      // the digit 4 alone
      {BinaryPid(0x3332), 0x3332},  // the digits 2 and 3
      {"12 monkeys\n", 0},
      {"", 0},
      {"-5\n", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(vrl::UucpLockOwner(c.content), c.owner) << '"' << c.content << '"';
  }
}

// A lock file in the system's folder for a pty of this test, removed again.
class TSystemLock {
 public:
  TSystemLock(const std::string& slavePath, pid_t owner)
      : path_(std::string(kSystemLockFolder) + "/LCK.." + slavePath.substr(5)) {
    std::replace(path_.begin() + std::strlen(kSystemLockFolder) + 6, path_.end(), '/', '_');
    std::ofstream(path_) << TextPid(owner);
  }
  ~TSystemLock() { ::unlink(path_.c_str()); }
  TSystemLock(const TSystemLock&) = delete;
  TSystemLock& operator=(const TSystemLock&) = delete;

 private:
  std::string path_;
};

TEST(UucpLock, APortLockedByALiveProcessIsInUseAndAStaleLockIsIgnored) {
  if (::access(kSystemLockFolder, W_OK) != 0) GTEST_SKIP() << "the lock folder is not writable";
  TPty pty;
  ASSERT_TRUE(pty.Valid());
  TPortMap map;
  map.Assign(kPortNumber, pty.SlavePath());
  TVrlComPort port;
  port.SetPortMap(map);
  port.SetComNumber(kPortNumber);
  {
    const TSystemLock lock(pty.SlavePath(), ::getppid());
    try {
      port.SendString("no");
      ADD_FAILURE() << "a locked port was opened";
    } catch (const EAlreadyOpen& failure) {
      EXPECT_STREQ(failure.what(), "ie_Open - device already open");
    }
    EXPECT_FALSE(port.Open());
    EXPECT_FALSE(HoldsDescriptorOn(pty.SlavePath()));
  }
  const TSystemLock stale(pty.SlavePath(), EndedProcess());
  port.SendString("ok");
  EXPECT_EQ(pty.Read(2), "ok");
}

}  // namespace
