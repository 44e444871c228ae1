// Which device paths are opened: the character devices every Linux has are
// refused before any open, each with the message that names why, by the open
// and by the presence probe alike; a pty slave is opened; an exclusive mark
// another program set survives our attempt. NoOpenOfRefusedDevices.sh runs the
// refusal table under strace to show that nothing opened those devices.
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <string>

#include "Pty.h"
#include "serial/ComPort.h"
#include "serial/ComPortPresent.h"
#include "serial/ResultCodes.h"
#include "serial/SerialErrors.h"
#include "serial/posix/DeviceCheck.h"
#include "serial/posix/PosixDispatcher.h"

namespace {

constexpr uint16_t kPortNumber = 7;

struct TRefusedDevice {
  const char* path;
  int32_t result;
  const char* messageStart;
};

// No pty is made here: making one opens /dev/ptmx, which the strace run
// must see no open of.
const TRefusedDevice kRefusedDevices[] = {
    {"/dev/null", vrl::kErrNotATerminal, "Not a serial device"},
    {"/dev/zero", vrl::kErrNotATerminal, "Not a serial device"},
    {"/dev/full", vrl::kErrNotATerminal, "Not a serial device"},
    {"/dev/random", vrl::kErrNotATerminal, "Not a serial device"},
    {"/dev/ptmx", vrl::kErrNotATerminal, "Not a serial device"},
    {"/dev/pts/ptmx", vrl::kErrNotATerminal, "Not a serial device"},
    {"/dev/tty", vrl::kErrControllingTerminal, "The device is the controlling terminal"},
};

bool IsCharacterDevice(const char* path) {
  struct stat status {};
  return ::stat(path, &status) == 0 && S_ISCHR(status.st_mode);
}

TEST(RefusedDevices, AreRefusedBeforeOpenWithTheirMessage) {
  for (const TRefusedDevice& device : kRefusedDevices) {
    if (!IsCharacterDevice(device.path)) continue;
    struct stat status {};
    EXPECT_EQ(vrl::CheckSerialDevice(device.path, status), device.result) << device.path;
    TVrlPosixDispatcher dispatcher(nullptr);
    EXPECT_EQ(dispatcher.OpenDevice(device.path), device.result) << device.path;

    TPortMap map;
    map.Assign(kPortNumber, device.path);
    EXPECT_FALSE(ComPortPresent(kPortNumber, map)) << device.path;
    TVrlComPort port;
    port.SetPortMap(map);
    port.SetComNumber(kPortNumber);
    try {
      port.SendString("x");
      ADD_FAILURE() << device.path << " was opened";
    } catch (const EVrlException& failure) {
      EXPECT_EQ(std::string(failure.what()).rfind(device.messageStart, 0), 0u)
          << device.path << ": " << failure.what();
    }
    EXPECT_FALSE(port.Open());
  }
}

TEST(TerminalDevices, APtySlaveIsATerminal) {
  TPty pty;
  ASSERT_TRUE(pty.Valid());
  struct stat status {};
  EXPECT_EQ(vrl::CheckSerialDevice(pty.SlavePath(), status), 0);
  EXPECT_TRUE(S_ISCHR(status.st_mode));
}

// Root may open a tty that another program made exclusive: it is still in
// use, and the mark stays as that program set it.
TEST(TerminalDevices, AnotherProgramsExclusiveMarkMeansInUseAndSurvives) {
  TPty pty;
  ASSERT_TRUE(pty.Valid());
  TUniqueFd other(::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  ASSERT_TRUE(other.Valid());
  ASSERT_EQ(::ioctl(other.Get(), TIOCEXCL), 0);
  TVrlPosixDispatcher dispatcher(nullptr);
  EXPECT_EQ(dispatcher.OpenDevice(pty.SlavePath()), vrl::kErrAccessDenied);
  TPortMap map;
  map.Assign(kPortNumber, pty.SlavePath());
  EXPECT_TRUE(ComPortPresent(kPortNumber, map));
  int exclusive = 0;
  ASSERT_EQ(::ioctl(other.Get(), TIOCGEXCL, &exclusive), 0);
  EXPECT_NE(exclusive, 0);
}

}  // namespace
