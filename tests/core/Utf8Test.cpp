// Telling UTF-8 text from Windows code page text.
#include <gtest/gtest.h>

#include "core/Utf8.h"

namespace {

struct TUtf8Case {
  std::string bytes;
  bool valid;
};

class Utf8Test : public testing::TestWithParam<TUtf8Case> {};

TEST_P(Utf8Test, Classifies) { EXPECT_EQ(IsValidUtf8(GetParam().bytes), GetParam().valid); }

INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf8Test,
    testing::Values(TUtf8Case{"", true}, TUtf8Case{"plain ASCII\r\n", true},
                    TUtf8Case{"caf\xC3\xA9", true}, TUtf8Case{"\xE2\x82\xAC", true},
                    TUtf8Case{"\xF0\x9F\x98\x80", true}, TUtf8Case{"\xF4\x8F\xBF\xBF", true},
                    TUtf8Case{"caf\xE9", false},           // Windows-1252
                    TUtf8Case{"\x80", false},              // lone continuation
                    TUtf8Case{"\xC3", false},              // cut short
                    TUtf8Case{"\xC0\xAF", false},          // overlong
                    TUtf8Case{"\xE0\x80\xAF", false},      // overlong
                    TUtf8Case{"\xED\xA0\x80", false},      // surrogate
                    TUtf8Case{"\xF4\x90\x80\x80", false},  // above U+10FFFF
                    TUtf8Case{"\xF5\x80\x80\x80", false}, TUtf8Case{"\xFF", false}));

}  // namespace
