#include <gtest/gtest.h>

#include "core/BurstFormat.h"

namespace {

struct TBurstCase {
  const char* name;
  std::string bytes;
  const char* expected;
};

TEST(BurstFormat, ShowsTimeCountHexAndText) {
  std::tm at{};
  at.tm_hour = 9;
  at.tm_min = 5;
  at.tm_sec = 7;
  const TBurstCase cases[] = {
      {"printable and line end", "Hello\r\n",
       "09:05:07.042  7 bytes  48 65 6C 6C 6F 0D 0A  |Hello..|"},
      {"one byte", "A", "09:05:07.042  1 byte  41  |A|"},
      {"zero and high bytes", std::string("\x00\xFF\x7F ", 4),
       "09:05:07.042  4 bytes  00 FF 7F 20  |... |"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatBurst(at, 42, c.bytes), c.expected) << c.name;
  }
}

}  // namespace
