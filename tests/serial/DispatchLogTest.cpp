// The dispatch log: entry times from an injected clock, the dump's header and
// entry format (names, wrapped bytes, modem-status bits), the byte limit, and
// what an empty log or an unwritable file does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TraceFiles.h"
#include "serial/DispatchLog.h"
#include "serial/ResultCodes.h"

namespace {

using namespace vrl::logsubtype;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

constexpr size_t kHeaderLines = 7;

// Whether text has the shape of mask, where '9' stands for any digit.
bool Shaped(const std::string& text, const std::string& mask) {
  if (text.size() != mask.size()) return false;
  for (size_t i = 0; i < mask.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (mask[i] == '9' ? !digit : text[i] != mask[i]) return false;
  }
  return true;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

class DispatchLogTest : public testing::Test {
 protected:
  // The log's clock reads now_; the origin is taken at 1000 ms.
  DispatchLogTest() : log_([this] { return now_; }) {
    now_ = 1000;
    log_.SetOrigin();
  }

  // The dump's entry lines, header checked and cut off.
  std::vector<std::string> DumpEntries(bool allHex = false, bool hex = true) {
    const std::string file = folder_.File("VREL.LOG");
    EXPECT_EQ(log_.Dump(file, false, allHex, hex, "COM7"), 0);
    const std::vector<std::string> lines = Lines(ReadFile(file).value_or(""));
    if (lines.size() < kHeaderLines) {
      ADD_FAILURE() << "no header";
      return {};
    }
    return {lines.begin() + kHeaderLines, lines.end()};
  }

  int64_t now_ = 0;
  TDispatchLog log_;
  TTemporaryFolder folder_;
};

TEST_F(DispatchLogTest, HeaderNamesTheProgramToolchainSystemDeviceAndTime) {
  log_.Start(0);
  log_.Add(TLogType::ltDispatch, kWriteCom, 1, "x", 1);
  const std::string file = folder_.File("VREL.LOG");
  ASSERT_EQ(log_.Dump(file, false, false, true, "COM7"), 0);
  const std::vector<std::string> lines = Lines(ReadFile(file).value_or(""));
  ASSERT_EQ(lines.size(), kHeaderLines + 1);
  EXPECT_EQ(lines[0], "VREL v4.07");
  EXPECT_TRUE(StartsWith(lines[1], "Compiler : GCC ") || StartsWith(lines[1], "Compiler : Clang "))
      << lines[1];
  EXPECT_TRUE(StartsWith(lines[2], "Operating System : Linux ")) << lines[2];
  EXPECT_LE(lines[2].size(), std::string("Operating System : ").size() + 80);
  EXPECT_EQ(lines[3], "Device: COM7");
  EXPECT_TRUE(Shaped(lines[4], "Date/time: 99/99/99, 99:99:99")) << lines[4];
  EXPECT_EQ(lines[5], "Time      Type      SubType       Data      OtherData");
  EXPECT_EQ(lines[6], "--------  --------  ------------  --------  ---------");
}

struct TEntryCase {
  std::string name;
  int64_t at;  // milliseconds after the origin
  TLogType type;
  uint16_t subtype;
  int32_t data;
  std::string bytes;
  bool allHex;
  std::vector<std::string> expected;
};

void PrintTo(const TEntryCase& entry, std::ostream* out) { *out << entry.name; }

const std::string kBlanks(44, ' ');

const TEntryCase kEntryCases[] = {
    {"TimeInSecondsWithMilliseconds",
     12345,
     TLogType::ltDispatch,
     kWriteCom,
     3,
     "AB\r",
     false,
     {"0012.345  Dispatch  WriteCom      00000003  AB[0D]"}},
    {"EntryWithoutBytes",
     7,
     TLogType::ltTrDatChg,
     kAvail,
     1,
     "",
     false,
     {"0000.007  TrDatChg  Avail         00000001  "}},
    {"DataInLowerCaseHex",
     0,
     TLogType::ltTrgHdAlc,
     kWindow,
     -2,
     "",
     false,
     {"0000.000  TrgHdAlc  Window        fffffffe  "}},
    {"BytesWrapUnderTheBytesColumn",
     0,
     TLogType::ltDispatch,
     kReadCom,
     9,
     "ABCDEFGHI",
     true,
     {"0000.000  Dispatch  ReadCom       00000009  [41][42][43][44][45][46][47][48]",
      kBlanks + "[49]"}},
    {"UserBytesStayCharactersInAllHex",
     0,
     TLogType::ltUser,
     0,
     0,
     "ok",
     true,
     {"0000.000  User                    00000000  ok"}},
    {"TriggerStatusByName",
     0,
     TLogType::ltTrigAllc,
     kStatus,
     0,
     "\x03",
     false,
     {"0000.000  TrigAllc  Status        00000000  (Output buffer free)"}},
    {"ModemStatusBitNames",
     0,
     TLogType::ltDispatch,
     kModemStatus,
     0x31,
     "\x31",
     false,
     {"0000.000  Dispatch  Modem status  00000031  1(DCTS CTS DSR)"}},
    {"DispatchBufferFull",
     0,
     TLogType::ltDispatch,
     kStatus,
     0,
     "Dispatch buffer full.",
     false,
     {"0000.000  Dispatch  Status        00000000  Dispatch[20]buffer[20]full."}},
};

class DispatchLogEntryTest : public DispatchLogTest,
                             public testing::WithParamInterface<TEntryCase> {};

TEST_P(DispatchLogEntryTest, IsWrittenAsExpected) {
  const TEntryCase& entry = GetParam();
  log_.Start(0);
  now_ += entry.at;
  log_.Add(entry.type, entry.subtype, entry.data, entry.bytes.data(),
           static_cast<uint32_t>(entry.bytes.size()));
  EXPECT_EQ(DumpEntries(entry.allHex), entry.expected);
}

INSTANTIATE_TEST_SUITE_P(Entries, DispatchLogEntryTest, testing::ValuesIn(kEntryCases),
                         [](const auto& info) { return info.param.name; });

std::string BytesOf(const std::string& line) { return line.substr(44); }

TEST_F(DispatchLogTest, LimitDropsTheOldestEntries) {
  log_.Start(10);
  for (const char* bytes : {"aaaaaa", "bbbbbb", "cccccc"}) {
    log_.Add(TLogType::ltDispatch, kWriteCom, 6, bytes, 6);
  }
  const std::vector<std::string> entries = DumpEntries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(BytesOf(entries[0]), "bbbbbb");
  EXPECT_EQ(BytesOf(entries[1]), "cccccc");
}

TEST_F(DispatchLogTest, EmptyLogWritesNoFileAndDumpEmptiesTheLog) {
  const std::string file = folder_.File("VREL.LOG");
  log_.Add(TLogType::ltDispatch, kWriteCom, 1, "x", 1);  // off: not kept
  EXPECT_EQ(log_.Dump(file, false, false, true, "COM7"), 0);
  EXPECT_EQ(ReadFile(file), std::nullopt);
  log_.Start(0);
  log_.Add(TLogType::ltDispatch, kWriteCom, 1, "x", 1);
  EXPECT_EQ(DumpEntries().size(), 1u);
  EXPECT_EQ(log_.Dump(folder_.File("second.log"), false, false, true, "COM7"), 0);
  EXPECT_EQ(ReadFile(folder_.File("second.log")), std::nullopt);
}

TEST_F(DispatchLogTest, PauseResumeStopAndClear) {
  log_.Start(0);
  log_.Add(TLogType::ltDispatch, kWriteCom, 1, "a", 1);
  log_.Pause();
  log_.Add(TLogType::ltDispatch, kWriteCom, 1, "b", 1);
  log_.Resume();
  log_.Add(TLogType::ltDispatch, kWriteCom, 1, "c", 1);
  std::vector<std::string> entries = DumpEntries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(BytesOf(entries[1]), "c");
  log_.Add(TLogType::ltDispatch, kWriteCom, 1, "d", 1);
  log_.Clear();
  log_.Add(TLogType::ltDispatch, kWriteCom, 1, "e", 1);
  log_.Stop();
  log_.Add(TLogType::ltDispatch, kWriteCom, 1, "f", 1);
  EXPECT_FALSE(log_.Logging());
  EXPECT_EQ(log_.Dump(folder_.File("stopped.log"), false, false, true, "COM7"), 0);
  EXPECT_EQ(ReadFile(folder_.File("stopped.log")), std::nullopt);
}

TEST_F(DispatchLogTest, UnwritableFileKeepsTheEntries) {
  log_.Start(0);
  log_.Add(TLogType::ltDispatch, kWriteCom, 1, "k", 1);
  EXPECT_EQ(log_.Dump(folder_.File("absent/VREL.LOG"), false, false, true, "COM7"),
            vrl::kErrPathNotFound);
  const std::vector<std::string> entries = DumpEntries();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(BytesOf(entries[0]), "k");
}

}  // namespace
