// Message texts, the code-to-exception rule and the operating-system error
// mapping, as case tables.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "serial/SerialErrors.h"
#include "serial/posix/SystemErrors.h"

namespace {

struct TMessageCase {
  int32_t code;
  const char* text;
};

const TMessageCase kMessageCases[] = {
    {0, "OK"},
    {-2011, "The ComNumber property of the TVrlComPort has not been set"},
    {2011, "The ComNumber property of the TVrlComPort has not been set"},
    {-2, "File not found"},
    {-162, "General failure"},
    {-1001, "Bad handle passed to com function"},
    {-3002, "Function not supported by driver"},
    {-3006, "Output buffer too small for block"},
    {-3010, "Base address not set"},
    {-13868, "No memory"},
    {-1050, "Not a serial device: only terminal character devices can be opened"},
    // Between rows: the platform's own text.
    {-7, "Argument list too long"},
    {vrl::PlatformErrorCode(EACCES), "Permission denied"},
    {vrl::PlatformErrorCode(EBUSY), "Device or resource busy"},
    // The magnitude is taken as a signed 16-bit value.
    {-(65536 + 2), "File not found"},
};

TEST(ErrorMessageFor, FindsEveryRowAndFallsBack) {
  for (const auto& c : kMessageCases) {
    EXPECT_EQ(ErrorMessageFor(c.code), c.text) << c.code;
  }
}

TEST(ErrorMessageFor, FindsEveryTableRowByBinarySearch) {
  const int32_t rows[] = {0,     -2,    -3,    -4,    -5,    -6,    -8,    -15,   -18,   -100,
                          -101,  -102,  -103,  -104,  -105,  -150,  -151,  -152,  -153,  -154,
                          -155,  -156,  -157,  -158,  -159,  -160,  -161,  -162,  -1001, -1002,
                          -1003, -1004, -1005, -1006, -1007, -1008, -1009, -2001, -2002, -2003,
                          -2004, -2005, -2006, -2007, -2008, -2009, -2010, -2011, -2012, -3001,
                          -3002, -3003, -3004, -3005, -3006, -3007, -3008, -3009, -3010};
  for (const int32_t code : rows) {
    const std::string text = ErrorMessageFor(code);
    EXPECT_FALSE(text.empty()) << code;
    EXPECT_EQ(text, ErrorMessageFor(-code)) << code;
  }
  EXPECT_EQ(ErrorMessageFor(-1002), "Bad argument passed to function");
  EXPECT_EQ(ErrorMessageFor(-3001), "No device layer specified");
}

TEST(FoldSystemText, MakesOneLineWithSingleBlanks) {
  EXPECT_EQ(vrl::FoldSystemText("The device\r\nis not ready.\r\n"), "The device is not ready. ");
  EXPECT_EQ(vrl::FoldSystemText("a\t\t  b"), "a b");
  EXPECT_EQ(vrl::FoldSystemText(""), "");
}

struct TCheckCase {
  const char* name;
  int32_t code;
  // Checks the exception that CheckResult raised.
  std::function<void(const std::exception&)> check;
};

template <class E>
std::function<void(const std::exception&)> IsVrl(int32_t code, const char* text) {
  return [code, text](const std::exception& raised) {
    const auto* e = dynamic_cast<const E*>(&raised);
    ASSERT_NE(e, nullptr) << raised.what();
    EXPECT_EQ(e->Code(), code);
    EXPECT_STREQ(e->what(), text);
  };
}

std::function<void(const std::exception&)> IsInOut(int32_t number, const char* text) {
  return [number, text](const std::exception& raised) {
    const auto* e = dynamic_cast<const EInOutError*>(&raised);
    ASSERT_NE(e, nullptr) << raised.what();
    EXPECT_EQ(e->ErrorCode(), number);
    EXPECT_STREQ(e->what(), text);
  };
}

const TCheckCase kCheckCases[] = {
    {"OutputBufferTooSmall", -3006,
     IsVrl<EOutputBufferTooSmall>(-3006, "Output buffer too small for block")},
    {"GroupCatchesMember", -3006, IsVrl<ESerialIO>(-3006, "Output buffer too small for block")},
    {"BadArgument", -1002, IsVrl<EGeneral>(-1002, "Bad argument passed to function")},
    {"BadId", -2001, IsVrl<EBadId>(-2001, "ie_BadId - Specified comport doesn't exist")},
    {"AlreadyOpen", -2008, IsVrl<EAlreadyOpen>(-2008, "ie_Open - device already open")},
    {"CommNotOpen", -2007, IsVrl<ECommNotOpen>(-2007, "ie_NOpen - device not open")},
    {"NoMemoryTelephony", -13868, IsVrl<ETapiNoMem>(-13868, "No memory")},
    {"TelephonyGroup", -13802, IsVrl<ETapi>(-13802, "")},
    {"ProtocolItself", -6008, IsVrl<EProtocol>(-6008, "")},
    {"IniInternal", -7003, IsVrl<EInternal>(-7003, "")},
    {"FileNotFound", -2, IsInOut(2, "File not found")},
    {"DeviceReadError", -161, IsInOut(161, "Device read error")},
    {"BadHandle", -1001, IsVrl<EVrlException>(0, "Vrel exception")},
    {"NotSupported", -3002, IsVrl<EVrlException>(0, "Vrel exception")},
    {"MinusOne", -1, IsVrl<EVrlException>(0, "Vrel exception")},
    {"AboveOsRange", -500, IsVrl<EVrlException>(0, "Vrel exception")},
    {"PermissionDenied", vrl::PlatformErrorCode(EACCES), IsInOut(EACCES, "Permission denied")},
    {"NotATerminal", -1050,
     IsVrl<EVrlException>(-1050,
                          "Not a serial device: only terminal character devices can be opened")},
};

class CheckResultTest : public testing::TestWithParam<TCheckCase> {};

TEST_P(CheckResultTest, RaisesTheSelectedException) {
  const TCheckCase& c = GetParam();
  try {
    CheckResult(false, c.code);
    FAIL() << "nothing raised";
  } catch (const std::exception& raised) {
    c.check(raised);
  }
}

INSTANTIATE_TEST_SUITE_P(Codes, CheckResultTest, testing::ValuesIn(kCheckCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckResult, ReturnsWithoutRaising) {
  EXPECT_EQ(CheckResult(false, 5), 5);
  EXPECT_EQ(CheckResult(false, 0), 0);
  EXPECT_EQ(CheckResult(true, -2011), -2011);
  EXPECT_THROW(CheckResult(false, -8), EOutOfMemory);
}

struct TErrnoCase {
  int errorNumber;
  bool opening;
  int32_t result;
};

const TErrnoCase kErrnoCases[] = {
    {ENOENT, true, -2},
    {ENOTDIR, true, -3},
    {ENXIO, true, -2},
    {ENODEV, true, -2},
    {EIO, true, -2},
    {EBUSY, true, -5},
    {EWOULDBLOCK, false, -5},
    {ENOMEM, false, -8},
    {EMFILE, true, -4},
    {EACCES, true, vrl::PlatformErrorCode(EACCES)},
    {EIO, false, vrl::PlatformErrorCode(EIO)},
    {0, false, 0},
};

TEST(SystemErrors, MapToCodesWhoseTextNamesTheCause) {
  for (const auto& c : kErrnoCases) {
    const int32_t result =
        c.opening ? vrl::OpenErrorToResult(c.errorNumber) : vrl::SystemErrorToResult(c.errorNumber);
    EXPECT_EQ(result, c.result) << std::strerror(c.errorNumber);
  }
  EXPECT_EQ(ErrorMessageFor(vrl::SystemErrorToResult(EIO)), "Input/output error");
}

}  // namespace
