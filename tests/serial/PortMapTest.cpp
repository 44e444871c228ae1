// Which device each port number opens: the built-in table and section "Ports".
#include <gtest/gtest.h>

#include "serial/PortMap.h"

namespace {

struct TPathCase {
  uint16_t number;
  std::string path;
};

class PortMapDefaultTest : public testing::TestWithParam<TPathCase> {};

TEST_P(PortMapDefaultTest, BuiltInTable) {
  EXPECT_EQ(TPortMap::DefaultDevicePath(GetParam().number), GetParam().path);
  EXPECT_EQ(TPortMap().DevicePath(GetParam().number), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(Numbers, PortMapDefaultTest,
                         testing::Values(TPathCase{0, ""}, TPathCase{1, "/dev/ttyS0"},
                                         TPathCase{4, "/dev/ttyS3"}, TPathCase{5, "/dev/ttyUSB0"},
                                         TPathCase{12, "/dev/ttyUSB7"},
                                         TPathCase{13, "/dev/ttyACM0"},
                                         TPathCase{20, "/dev/ttyACM7"}, TPathCase{21, ""},
                                         TPathCase{65535, ""}));

TEST(PortMap, EntriesOverrideTheTable) {
  TPortMap map;
  map.Assign(1, "/dev/pts/3");
  map.Assign(30, "/dev/serial/by-id/usb-FTDI");
  map.Assign(1, "/dev/pts/5");
  EXPECT_EQ(map.DevicePath(1), "/dev/pts/5");
  EXPECT_EQ(map.DevicePath(30), "/dev/serial/by-id/usb-FTDI");
  EXPECT_EQ(map.DevicePath(2), "/dev/ttyS1");
  EXPECT_EQ(map.Entries().size(), 2u);
}

}  // namespace
