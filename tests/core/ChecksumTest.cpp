// The checks a button appends: each algorithm against the catalogue's check
// value, and the final bytes with a start offset, both forms and a bad name.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/Checksum.h"

namespace {

// The catalogue's check values over "123456789".
const std::map<std::string, uint32_t> kCheckValues = {
    {"SUM8", 0xDD},
    {"NEG8", 0x23},
    {"XOR8", 0x31},
    {"CRC-8/SMBUS", 0xF4},
    {"CRC-16/MODBUS", 0x4B37},
    {"CRC-16/XMODEM", 0x31C3},
    {"CRC-16/IBM-3740", 0x29B1},
    {"CRC-16/KERMIT", 0x2189},
    {"CRC-32/ISO-HDLC", 0xCBF43926},
};

TEST(Checksum, EveryAlgorithmGivesTheCataloguesCheckValue) {
  ASSERT_EQ(ChecksumAlgorithms().size(), kCheckValues.size());
  for (const TChecksumAlgorithm& algorithm : ChecksumAlgorithms()) {
    const auto expected = kCheckValues.find(std::string(algorithm.Name));
    ASSERT_NE(expected, kCheckValues.end()) << algorithm.Name;
    EXPECT_EQ(ComputeChecksum(algorithm, "123456789"), expected->second) << algorithm.Name;
  }
}

struct TFinalCase {
  std::string name;
  std::string data;
  std::string checksum;
  int32_t from;
  TChecksumForm form;
  std::string bytes;
};

std::ostream& operator<<(std::ostream& out, const TFinalCase& c) { return out << c.name; }

class FinalBytesTest : public testing::TestWithParam<TFinalCase> {};

TEST_P(FinalBytesTest, AppendsTheCheck) {
  TCommand record;
  record.SetDefaults();
  record.Checksum = GetParam().checksum;
  record.ChecksumFrom = GetParam().from;
  record.ChecksumForm = GetParam().form;
  EXPECT_EQ(FinalBytes(GetParam().data, record), GetParam().bytes);
}

constexpr auto kBinary = TChecksumForm::Binary;
constexpr auto kHex = TChecksumForm::Hex;

INSTANTIATE_TEST_SUITE_P(
    Frames, FinalBytesTest,
    testing::Values(TFinalCase{"NoChecksum", "[AB]", "", 0, kBinary, "AB"},
                    TFinalCase{"ModbusLowByteFirst", "1 3 0 0 0 10", "CRC-16/MODBUS", 0, kBinary,
                               std::string("\x01\x03\x00\x00\x00\x0A\xC5\xCD", 8)},
                    TFinalCase{"NameIgnoresCase", "1 3 0 0 0 10", "crc-16/modbus", 0, kHex,
                               std::string("\x01\x03\x00\x00\x00\x0A", 6) + "C5CD"},
                    TFinalCase{"WiderChecksHighByteFirst", "[123456789]", "CRC-32/ISO-HDLC", 0,
                               kBinary, "123456789\xCB\xF4\x39\x26"},
                    TFinalCase{"FromLeavesOutTheStartByte", "$02 [AB]", "SUM8", 1, kBinary,
                               "\x02"
                               "AB\x83"},
                    TFinalCase{"HexUpperCaseCharacters", "$02 [AB]", "NEG8", 1, kHex,
                               "\x02"
                               "AB7D"},
                    TFinalCase{"TextFrameAfterStx", "$02 [PWR1]", "SUM8", 1, kHex, "\x02PWR12A"},
                    TFinalCase{"FromBeyondTheFrameChecksNothing", "$01", "SUM8", 5, kBinary,
                               std::string("\x01\x00", 2)},
                    TFinalCase{"NegativeFromChecksAll", "[AB]", "XOR8", -2, kHex, "AB03"}),
    [](const auto& info) { return info.param.name; });

TEST(Checksum, AnUnknownNameRefusesToSend) {
  TCommand record;
  record.SetDefaults();
  record.Checksum = "CRC-99/NONE";
  try {
    FinalBytes("[AB]", record);
    FAIL() << "no exception";
  } catch (const EUnknownChecksum& error) {
    EXPECT_STREQ(error.what(), "Unknown checksum \"CRC-99/NONE\"");
  }
  EXPECT_EQ(FindChecksum("CRC-99/NONE"), nullptr);
}

}  // namespace
