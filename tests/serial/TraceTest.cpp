// The trace ring and its dump: the file format (headers, hex and decimal
// items, all-hex, the line end past column 78), the ring's wrap, the recorder
// states, and what an unwritable file does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TraceFiles.h"
#include "serial/ResultCodes.h"
#include "serial/SerialErrors.h"
#include "serial/Trace.h"

namespace {

struct TRecord {
  uint8_t kind;
  std::string bytes;
};

struct TDumpCase {
  std::string name;
  uint32_t size;
  std::vector<TRecord> records;
  bool allHex;
  bool hex;
  std::string expected;
};

void PrintTo(const TDumpCase& dumpCase, std::ostream* out) { *out << dumpCase.name; }

const std::string kTransmit = "Transmit: \r\n";

const TDumpCase kDumpCases[] = {
    {"ControlByteInDecimal", 100, {{'T', "AB\r"}}, false, false, kTransmit + "AB[13]"},
    {"ControlByteInHex", 100, {{'T', "AB\r"}}, false, true, kTransmit + "AB[0D]"},
    {"SpaceIsPlainWithoutHex", 100, {{'T', "a b"}}, false, false, kTransmit + "a b"},
    {"SpaceIsBracketedInHex", 100, {{'T', "a b"}}, false, true, kTransmit + "a[20]b"},
    {"AllHexBracketsEveryByte", 100, {{'T', "Az\x7F"}}, true, false, kTransmit + "[41][7A][7F]"},
    {"DecimalWidths",
     100,
     {{'T', std::string("\x05\x1F\x7F\xFF", 4)}},
     false,
     false,
     kTransmit + "[5][31][127][255]"},
    {"KindChangeLeavesAnEmptyLine",
     100,
     {{'T', "ab"}, {'R', "c"}, {'X', "d"}, {'T', "e"}},
     false,
     false,
     kTransmit + "ab\r\n\r\nReceive: \r\nc\r\n\r\nSpecial-X: \r\nd\r\n\r\n" + kTransmit + "e"},
    {"LineEndsPastColumn78",
     1000,
     {{'T', std::string(79, 'a')}},
     false,
     false,
     kTransmit + std::string(78, 'a') + "\r\n" + "a"},
    {"WideItemMovesToTheNextLine",
     1000,
     {{'T', std::string(77, 'a') + "\x01"}},
     false,
     true,
     kTransmit + std::string(77, 'a') + "\r\n[01]"},
    {"WrappedRingStartsAtTheOldest", 3, {{'T', "ABCDE"}}, false, false, kTransmit + "CDE"},
};

class TraceDumpTest : public testing::TestWithParam<TDumpCase> {};

TEST_P(TraceDumpTest, WritesTheExpectedText) {
  const TDumpCase& dumpCase = GetParam();
  TTemporaryFolder folder;
  TTrace trace;
  ASSERT_EQ(trace.Start(dumpCase.size), 0);
  for (const TRecord& record : dumpCase.records) {
    trace.Record(record.kind, reinterpret_cast<const uint8_t*>(record.bytes.data()),
                 static_cast<uint32_t>(record.bytes.size()));
  }
  const std::string file = folder.File("VREL.TRC");
  ASSERT_EQ(trace.Dump(file, false, dumpCase.allHex, dumpCase.hex), 0);
  EXPECT_EQ(ReadFile(file), dumpCase.expected);
}

INSTANTIATE_TEST_SUITE_P(Formats, TraceDumpTest, testing::ValuesIn(kDumpCases),
                         [](const auto& info) { return info.param.name; });

void Record(TTrace& trace, const std::string& bytes) {
  trace.Record(TTrace::kTransmit, reinterpret_cast<const uint8_t*>(bytes.data()),
               static_cast<uint32_t>(bytes.size()));
}

TEST(TraceTest, NothingRecordedWritesNoFile) {
  TTemporaryFolder folder;
  const std::string file = folder.File("VREL.TRC");
  TTrace trace;
  EXPECT_EQ(trace.Dump(file, false, false, false), 0);  // no buffer at all
  ASSERT_EQ(trace.Start(10), 0);
  EXPECT_EQ(trace.Dump(file, false, false, false), 0);
  EXPECT_EQ(ReadFile(file), std::nullopt);
}

TEST(TraceTest, SizeAboveTheLimitIsRefused) {
  TTrace trace;
  EXPECT_EQ(trace.Start(TTrace::kMaxSize + 1), vrl::kErrBadArgument);
  EXPECT_FALSE(trace.Tracing());
  EXPECT_FALSE(trace.HasBuffer());
  EXPECT_EQ(trace.Start(TTrace::kMaxSize), 0);
  EXPECT_EQ(trace.Size(), TTrace::kMaxSize);
}

TEST(TraceTest, PauseClearAndRestartAfterDump) {
  TTemporaryFolder folder;
  const std::string file = folder.File("VREL.TRC");
  TTrace trace;
  ASSERT_EQ(trace.Start(10), 0);
  Record(trace, "a");
  trace.Pause();
  Record(trace, "b");
  trace.Resume();
  Record(trace, "c");
  EXPECT_EQ(trace.Count(), 2u);
  trace.Clear();
  Record(trace, "de");
  ASSERT_EQ(trace.Dump(file, false, false, false), 0);
  EXPECT_EQ(ReadFile(file), kTransmit + "de");
  // The dump starts the trace again, empty; an appended dump adds to the file.
  EXPECT_TRUE(trace.Tracing());
  EXPECT_EQ(trace.Count(), 0u);
  Record(trace, "f");
  ASSERT_EQ(trace.Dump(file, true, false, false), 0);
  EXPECT_EQ(ReadFile(file), kTransmit + "de" + kTransmit + "f");
  // Starting a running trace only empties it.
  Record(trace, "g");
  ASSERT_EQ(trace.Start(500), 0);
  EXPECT_EQ(trace.Count(), 0u);
  EXPECT_EQ(trace.Size(), 10u);
  trace.Stop();
  Record(trace, "h");
  EXPECT_FALSE(trace.HasBuffer());
}

struct TUnwritableCase {
  std::string name;
  std::string relativePath;
  int32_t code;
  std::string message;
};

void PrintTo(const TUnwritableCase& unwritable, std::ostream* out) { *out << unwritable.name; }

class TraceUnwritableTest : public testing::TestWithParam<TUnwritableCase> {};

TEST_P(TraceUnwritableTest, ReturnsTheCauseAndStopsTheTrace) {
  const TUnwritableCase& unwritable = GetParam();
  TTemporaryFolder folder;
  std::filesystem::create_directories(folder.Path() / "folder");
  std::ofstream(folder.File("plain")) << "a file";
  TTrace trace;
  ASSERT_EQ(trace.Start(10), 0);
  Record(trace, "x");
  const int32_t result = trace.Dump(folder.File(unwritable.relativePath), false, false, false);
  EXPECT_EQ(result, unwritable.code);
  EXPECT_EQ(ErrorMessageFor(result), unwritable.message);
  EXPECT_FALSE(trace.Tracing());
  EXPECT_FALSE(trace.HasBuffer());
}

const TUnwritableCase kUnwritableCases[] = {
    {"MissingFolder", "absent/VREL.TRC", vrl::kErrPathNotFound, "Path not found"},
    {"PathIsAFolder", "folder", vrl::PlatformErrorCode(EISDIR), "Is a directory"},
    {"FolderIsAFile", "plain/VREL.TRC", vrl::kErrPathNotFound, "Path not found"},
};

INSTANTIATE_TEST_SUITE_P(Paths, TraceUnwritableTest, testing::ValuesIn(kUnwritableCases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
