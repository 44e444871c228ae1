// The main window's form values for its four ports.
#include <gtest/gtest.h>

#include "core/OutputPorts.h"
#include "serial/ComPort.h"

namespace {

TEST(OutputPorts, StoredFormValues) {
  std::array<TVrlComPort, 4> objects;
  ApplyStoredFormValues({&objects[0], &objects[1], &objects[2], &objects[3]});

  struct TExpected {
    uint16_t full;
    uint16_t resume;
    bool rs485;
  };
  const TExpected expected[] = {{3686, 409, true}, {0, 0, true}, {0, 0, true}, {3686, 409, false}};
  for (size_t i = 0; i < objects.size(); ++i) {
    SCOPED_TRACE("output " + std::to_string(i + 1));
    const TVrlComPort& port = objects[i];
    EXPECT_EQ(port.Baud(), 9600);
    EXPECT_FALSE(port.PromptForPort());
    EXPECT_FALSE(port.RTS());
    EXPECT_TRUE(port.AutoOpen());
    EXPECT_TRUE(port.DTR());
    EXPECT_EQ(port.BufferFull(), expected[i].full);
    EXPECT_EQ(port.BufferResume(), expected[i].resume);
    EXPECT_EQ(port.RS485Mode(), expected[i].rs485);
    EXPECT_TRUE(port.HWFlowOptions().Empty());
  }
}

}  // namespace
