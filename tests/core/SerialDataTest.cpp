// The decoder's edge cases and the integer rule at its boundaries.
#include <gtest/gtest.h>

#include <string>

#include "core/SerialData.h"

namespace {

struct TDecodeCase {
  std::string text;
  std::string bytes;
};

std::ostream& operator<<(std::ostream& out, const TDecodeCase& c) {
  return out << "text \"" << c.text << "\"";
}

class DecodeSerialDataTest : public testing::TestWithParam<TDecodeCase> {};

TEST_P(DecodeSerialDataTest, GivesTheBytes) {
  EXPECT_EQ(DecodeSerialData(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, DecodeSerialDataTest,
    testing::Values(
        TDecodeCase{"", ""}, TDecodeCase{" , ; ", ""}, TDecodeCase{"\r\n\r\n", ""},
        TDecodeCase{"65 66 67", "\x41\x42\x43"}, TDecodeCase{"65,66.67:68;69", "ABCDE"},
        TDecodeCase{"[Hello],13,10", "Hello\r\n"}, TDecodeCase{"A B C", "ABC"},
        TDecodeCase{"ABC", "A"}, TDecodeCase{"$41", "A"}, TDecodeCase{"x41", "A"},
        TDecodeCase{"X41", "A"}, TDecodeCase{"0x41", "A"}, TDecodeCase{"0X41", "A"},
        TDecodeCase{"xA", "\x0A"}, TDecodeCase{"Xy", "X"}, TDecodeCase{"065", "A"},
        TDecodeCase{"300", "\x2C"}, TDecodeCase{"256", std::string(1, '\0')},
        TDecodeCase{"-1", "\xFF"}, TDecodeCase{"+7", "\x07"}, TDecodeCase{"2147483647", "\xFF"},
        TDecodeCase{"2147483648", "2"}, TDecodeCase{"-2147483648", std::string(1, '\0')},
        TDecodeCase{"$FFFFFFFF", "\xFF"}, TDecodeCase{"$100000000", "$"},
        TDecodeCase{"1.5", "\x01\x05"}, TDecodeCase{"[]", "["}, TDecodeCase{"[x]", "x"},
        TDecodeCase{"[[]]", "[]"}, TDecodeCase{"[ab", "["}, TDecodeCase{"[PWR ON]", "[O"},
        // Quotes group a token and stay part of it.
        TDecodeCase{"[\"A B\"]", "\"A B\""}, TDecodeCase{"'A B'", "'"}, TDecodeCase{"\"A B", "\""},
        TDecodeCase{"'A \" B' 66", "'B"}, TDecodeCase{"[\"a,\r\nb\"]", "\"a,\r\nb\""},
        // Line ends separate like blanks and yield nothing themselves.
        TDecodeCase{"65\r66\n67\r\n68", "ABCD"},
        // UTF-8 stays whole: inside a literal every byte is copied, outside only
        // a token's first byte counts.
        TDecodeCase{"[\xC3\xA9t\xC3\xA9]", "\xC3\xA9t\xC3\xA9"}, TDecodeCase{"\xC3\xA9", "\xC3"},
        TDecodeCase{std::string("[a\0b]", 5), std::string("a\0b", 3)}));

struct TIntegerCase {
  std::string text;
  std::optional<int32_t> value;
};

std::ostream& operator<<(std::ostream& out, const TIntegerCase& c) {
  return out << "text \"" << c.text << "\"";
}

class ParseIntegerTest : public testing::TestWithParam<TIntegerCase> {};

TEST_P(ParseIntegerTest, AcceptsOrRejects) {
  EXPECT_EQ(ParseInteger(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, ParseIntegerTest,
    testing::Values(
        TIntegerCase{"0", 0}, TIntegerCase{"0065", 65}, TIntegerCase{"  42", 42},
        TIntegerCase{"-0", 0}, TIntegerCase{"2147483647", 2147483647},
        TIntegerCase{"-2147483648", INT32_MIN}, TIntegerCase{"2147483648", std::nullopt},
        TIntegerCase{"-2147483649", std::nullopt},
        TIntegerCase{"99999999999999999999999", std::nullopt}, TIntegerCase{"$FFFFFFFF", -1},
        TIntegerCase{"$7FFFFFFF", 2147483647}, TIntegerCase{"$80000000", INT32_MIN},
        TIntegerCase{"-$80000000", INT32_MIN}, TIntegerCase{"-$1", -1}, TIntegerCase{"-x10", -16},
        TIntegerCase{"+0x10", 16}, TIntegerCase{"$00000000000FFFFFFFF", -1},
        TIntegerCase{"$100000000", std::nullopt}, TIntegerCase{"$2580", 9600},
        TIntegerCase{"0x2580", 9600}, TIntegerCase{"xa", 10}, TIntegerCase{"", std::nullopt},
        TIntegerCase{"   ", std::nullopt}, TIntegerCase{"+", std::nullopt},
        TIntegerCase{"-", std::nullopt}, TIntegerCase{"$", std::nullopt},
        TIntegerCase{"0x", std::nullopt}, TIntegerCase{"x", std::nullopt},
        TIntegerCase{"12 ", std::nullopt}, TIntegerCase{"12a", std::nullopt},
        TIntegerCase{"$1G", std::nullopt}, TIntegerCase{"- 5", std::nullopt},
        TIntegerCase{"+-5", std::nullopt}, TIntegerCase{"\t5", std::nullopt},
        TIntegerCase{"0$10", std::nullopt}, TIntegerCase{"$0x10", std::nullopt}));

}  // namespace
