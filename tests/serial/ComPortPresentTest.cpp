// The presence probe over port numbers 1 to 20, every one of them mapped to a
// pseudo-terminal or to a path that does not exist: free, held by this
// program, refused to this user, absent, and paths that are no serial device.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Pty.h"
#include "serial/ComPort.h"
#include "serial/ComPortPresent.h"
#include "serial/SerialErrors.h"

namespace {

constexpr uint16_t kFree = 1;
constexpr uint16_t kHeld = 2;
constexpr uint16_t kFile = 3;
constexpr uint16_t kNotATerminal = 4;

TPortMap AllAbsentBut(const std::vector<std::pair<uint16_t, std::string>>& present) {
  TPortMap map;
  for (uint16_t number = 1; number <= 20; ++number) {
    map.Assign(number, "/nonexistent/tovrana-test-port" + std::to_string(number));
  }
  for (const auto& [number, path] : present) map.Assign(number, path);
  return map;
}

TEST(ComPortPresent, FindsFreeAndHeldPortsAmongOneToTwenty) {
  TPty free;
  TPty held;
  ASSERT_TRUE(free.Valid() && held.Valid());
  const TPortMap map = AllAbsentBut({{kFree, free.SlavePath()},
                                     {kHeld, held.SlavePath()},
                                     {kFile, "/etc/hostname"},
                                     {kNotATerminal, "/dev/null"}});
  TVrlComPort holder;
  holder.SetPortMap(map);
  holder.SetComNumber(kHeld);
  holder.SetOpen(true);

  std::vector<uint16_t> present;
  for (uint16_t number = 0; number <= 20; ++number) {
    if (ComPortPresent(number, map)) present.push_back(number);
  }
  EXPECT_EQ(present, (std::vector<uint16_t>{kFree, kHeld}));
  // The probe neither took the free port nor disturbed the held one.
  EXPECT_FALSE(HoldsDescriptorOn(free.SlavePath()));
  holder.SendString("ok");
  EXPECT_EQ(held.Read(2), "ok");
}

// A port the user may not open exists: the probe lists it, and opening it
// says why it failed and how to get the right.
TEST(ComPortPresent, APortRefusedToThisUserIsPresentAndItsOpenNamesTheGroup) {
  TPty refused;
  ASSERT_TRUE(refused.Valid());
  ASSERT_EQ(::chmod(refused.SlavePath().c_str(), 0), 0);
  const TPortMap map = AllAbsentBut({{kFree, refused.SlavePath()}});
  EXPECT_EXIT(
      {
        // Root may open anything; an unprivileged user may not.
        if (::geteuid() == 0 && ::setuid(65534) != 0) std::_Exit(2);
        if (!ComPortPresent(kFree, map)) std::_Exit(3);
        TVrlComPort port;
        port.SetPortMap(map);
        port.SetComNumber(kFree);
        try {
          port.SetOpen(true);
        } catch (const EInOutError& failure) {
          const std::string text = failure.what();
          const bool named = text.find("Permission denied") != std::string::npos &&
                             text.find("\"dialout\" group") != std::string::npos &&
                             text.find(refused.SlavePath()) != std::string::npos;
          std::_Exit(named && !port.Open() ? 0 : 4);
        }
        std::_Exit(5);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
