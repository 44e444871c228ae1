// Section "Remote" checked before any socket opens: what is listened on, what
// is refused and why, and the configuration dialog's line for each.
#include <gtest/gtest.h>

#include <string>

#include "remote/RemotePlan.h"

namespace {

TRemoteSettings Settings(bool enabled, int32_t http, int32_t tcp, std::string bind = "127.0.0.1",
                         std::string token = {}) {
  return {enabled, http, tcp, std::move(bind), std::move(token)};
}

struct TPlanCase {
  const char* Name;
  TRemoteSettings Settings;
  bool Listens;
  std::string Description;  // with every planned listener up
};

const TPlanCase kPlanCases[] = {
    {"AbsentSection", TRemoteSettings{}, false, "Remote control: off"},
    {"Disabled", Settings(false, 8642, 8643), false, "Remote control: off"},
    {"HttpOnly", Settings(true, 8642, 0), true,
     "Remote control: HTTP 127.0.0.1:8642, line protocol off"},
    {"Both", Settings(true, 8642, 8643, "127.0.0.2"), true,
     "Remote control: HTTP 127.0.0.2:8642, line protocol 127.0.0.2:8643"},
    {"LocalhostIsLoopback", Settings(true, 0, 8643, "localhost"), true,
     "Remote control: HTTP off, line protocol 127.0.0.1:8643"},
    {"Ipv6Loopback", Settings(true, 8642, 0, "::1"), true,
     "Remote control: HTTP [::1]:8642, line protocol off"},
    {"NetworkWithToken", Settings(true, 8642, 0, "0.0.0.0", "s3cret"), true,
     "Remote control: HTTP 0.0.0.0:8642, line protocol off, token required"},
    {"NetworkWithoutToken", Settings(true, 8642, 0, "0.0.0.0"), false,
     "Remote control: off (binding 0.0.0.0 needs a token)"},
    {"LanAddressWithoutToken", Settings(true, 0, 8643, "192.168.1.20"), false,
     "Remote control: off (binding 192.168.1.20 needs a token)"},
    {"Ipv6AnyWithoutToken", Settings(true, 8642, 0, "::"), false,
     "Remote control: off (binding :: needs a token)"},
    {"NoPorts", Settings(true, 0, 0), false,
     "Remote control: off (neither \"HTTP Port\" nor \"TCP Port\" is set)"},
    {"SamePortTwice", Settings(true, 8642, 8642), false,
     "Remote control: off (\"HTTP Port\" and \"TCP Port\" are both 8642)"},
    {"PortTooLarge", Settings(true, 70000, 0), false,
     "Remote control: off (\"HTTP Port\" 70000 is not a port number (1 to 65535, or 0 for none))"},
    {"NegativePort", Settings(true, 8642, -1), false,
     "Remote control: off (\"TCP Port\" -1 is not a port number (1 to 65535, or 0 for none))"},
    {"HostName", Settings(true, 8642, 0, "panel.example"), false,
     "Remote control: off (\"Bind\" value \"panel.example\" is not an IP address)"},
};

void PrintTo(const TPlanCase& c, std::ostream* out) { *out << c.Name; }

class RemotePlanTest : public testing::TestWithParam<TPlanCase> {};

TEST_P(RemotePlanTest, PlansAndDescribes) {
  const TPlanCase& c = GetParam();
  const TRemotePlan plan = PlanRemote(c.Settings);
  EXPECT_EQ(plan.Listens(), c.Listens);
  EXPECT_EQ(plan.RefusalMessage.empty(), c.Description.find("off (") == std::string::npos);
  EXPECT_EQ(DescribeRemote(plan, true, true), c.Description);
}

INSTANTIATE_TEST_SUITE_P(Cases, RemotePlanTest, testing::ValuesIn(kPlanCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(RemotePlan, TheRefusalSaysWhyAndWhatToDo) {
  const TRemotePlan plan = PlanRemote(Settings(true, 8642, 0, "0.0.0.0"));
  EXPECT_EQ(plan.RefusalMessage,
            "Remote control stays off: binding 0.0.0.0 needs a token. Without a token anyone who "
            "can reach this machine could press the panel's buttons. Set \"Token\" in section "
            "[Remote] of the settings file, or bind 127.0.0.1.");
}

TEST(RemotePlan, AListenerThatDidNotOpenIsNamed) {
  EXPECT_EQ(
      DescribeRemote(PlanRemote(Settings(true, 8642, 8643)), true, false),
      "Remote control: HTTP 127.0.0.1:8642, line protocol 127.0.0.1:8643 could not be opened");
}

TEST(IsLoopbackAddress, OnlyThisMachine) {
  for (const char* address :
       {"127.0.0.1", "127.1.2.3", "::1", "[::1]", "::ffff:127.0.0.1", "localhost"}) {
    EXPECT_TRUE(IsLoopbackAddress(address)) << address;
  }
  for (const char* address : {"0.0.0.0", "::", "10.0.0.1", "128.0.0.1", "::2", "::ffff:10.0.0.1",
                              "", "127.0.0.1.5", "local host"}) {
    EXPECT_FALSE(IsLoopbackAddress(address)) << address;
  }
}

}  // namespace
