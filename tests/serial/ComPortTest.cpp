// The serial port component's properties while the port is closed: defaults,
// flow-control thresholds, RS485 against RTS/CTS handshaking, trace and log.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "serial/ComPort.h"

namespace {

using TStep = std::function<void(TVrlComPort&)>;

THWFlowOptionSet Options(std::initializer_list<THWFlowOption> options) { return options; }

constexpr THWFlowOption kUseDTR = THWFlowOption::hwfUseDTR;
constexpr THWFlowOption kUseRTS = THWFlowOption::hwfUseRTS;
constexpr THWFlowOption kRequireCTS = THWFlowOption::hwfRequireCTS;

TEST(ComPort, NewPortHasTheDefaults) {
  const TVrlComPort port;
  EXPECT_EQ(port.State(), TComPortState::stClosed);
  EXPECT_FALSE(port.Open());
  EXPECT_EQ(port.ComNumber(), 0);
  EXPECT_EQ(port.Baud(), 19200);
  EXPECT_EQ(port.Parity(), TParity::pNone);
  EXPECT_EQ(port.DataBits(), 8);
  EXPECT_EQ(port.StopBits(), 1);
  EXPECT_EQ(port.InSize(), 4096);
  EXPECT_EQ(port.OutSize(), 4096);
  EXPECT_TRUE(port.AutoOpen());
  EXPECT_TRUE(port.PromptForPort());
  EXPECT_TRUE(port.DTR());
  EXPECT_TRUE(port.RTS());
  EXPECT_TRUE(port.HWFlowOptions().Empty());
  EXPECT_EQ(port.SWFlowOptions(), TSWFlowOptions::swfNone);
  EXPECT_EQ(port.XOnChar(), 17);
  EXPECT_EQ(port.XOffChar(), 19);
  EXPECT_EQ(port.BufferFull(), 0);
  EXPECT_EQ(port.BufferResume(), 0);
  EXPECT_FALSE(port.RS485Mode());
  EXPECT_EQ(port.Tracing(), TTraceLogState::tlOff);
  EXPECT_EQ(port.Logging(), TTraceLogState::tlOff);
  EXPECT_EQ(port.TraceSize(), 10000u);
  EXPECT_EQ(port.LogSize(), 10000u);
  EXPECT_EQ(port.TraceName(), "VREL.TRC");
  EXPECT_EQ(port.LogName(), "VREL.LOG");
  EXPECT_TRUE(port.TraceHex());
  EXPECT_TRUE(port.LogHex());
  EXPECT_FALSE(port.TraceAllHex());
  EXPECT_FALSE(port.LogAllHex());
  EXPECT_TRUE(port.UseEventWord());
  EXPECT_EQ(port.TapiMode(), TTapiMode::tmAuto);
  EXPECT_EQ(port.DeviceLayer(), TDeviceLayer::dlWin32);
  EXPECT_TRUE(port.PortMap().Entries().empty());
}

struct TThresholdCase {
  std::string name;
  std::vector<TStep> steps;
  uint16_t full;
  uint16_t resume;
};

std::ostream& operator<<(std::ostream& out, const TThresholdCase& c) { return out << c.name; }

class ComPortThresholdTest : public testing::TestWithParam<TThresholdCase> {};

TEST_P(ComPortThresholdTest, GivesTheFillLevels) {
  TVrlComPort port;
  for (const TStep& step : GetParam().steps) step(port);
  EXPECT_EQ(port.BufferFull(), GetParam().full);
  EXPECT_EQ(port.BufferResume(), GetParam().resume);
}

const TStep kHardware = [](TVrlComPort& p) { p.SetHWFlowOptions(Options({kUseDTR})); };
const TStep kSoftware = [](TVrlComPort& p) { p.SetSWFlowOptions(TSWFlowOptions::swfTransmit); };
TStep InSize(uint16_t v) {
  return [v](TVrlComPort& p) { p.SetInSize(v); };
}
TStep Full(uint16_t v) {
  return [v](TVrlComPort& p) { p.SetBufferFull(v); };
}
TStep Resume(uint16_t v) {
  return [v](TVrlComPort& p) { p.SetBufferResume(v); };
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ComPortThresholdTest,
    testing::Values(
        TThresholdCase{"HardwareDefaults", {kHardware}, 3686, 409},
        TThresholdCase{"SoftwareDefaults", {kSoftware}, 3072, 1024},
        TThresholdCase{"HardwareTruncates", {InSize(1001), kHardware}, 900, 100},
        TThresholdCase{"SoftwareTruncates", {InSize(1001), kSoftware}, 750, 250},
        TThresholdCase{
            "FormValuesStayForHardware", {Full(3686), Resume(409), kHardware}, 3686, 409},
        TThresholdCase{
            "FormValuesStayForSoftware", {Full(3686), Resume(409), kSoftware}, 3686, 409},
        TThresholdCase{"NoFlowChangesNothing",
                       {[](TVrlComPort& p) { p.SetHWFlowOptions({}); },
                        [](TVrlComPort& p) { p.SetSWFlowOptions(TSWFlowOptions::swfNone); }},
                       0,
                       0},
        TThresholdCase{"FullAboveInSizeIsReset",
                       {Full(3000), Resume(2000), InSize(1000), kHardware},
                       900,
                       100},
        TThresholdCase{"OnlyAMissingResumeIsSet", {Full(2000), kSoftware}, 2000, 1024},
        TThresholdCase{"FullAboveInSizeStoresNinetyPercentOfInSize", {Full(5000)}, 3686, 0},
        TThresholdCase{"FullAboveASmallInSize", {InSize(1001), Full(1002)}, 900, 0},
        TThresholdCase{"FullWithinInSizeIsStored", {Full(4096)}, 4096, 0},
        TThresholdCase{
            "ResumeAboveFullStoresTenPercentOfFull", {Full(2000), Resume(2001)}, 2000, 200},
        TThresholdCase{"ResumeUpToFullIsStored", {Full(2000), Resume(2000)}, 2000, 2000},
        // Each assignment re-applies the flow options, which re-runs the rule.
        TThresholdCase{"FullOfZeroUnderHardwareFlowIsReset", {kHardware, Full(0)}, 3686, 409},
        TThresholdCase{"FullAboveInSizeUnderSoftwareFlowStoresNinetyPercentOfInSize",
                       {kSoftware, Full(5000)},
                       3686,
                       1024},
        TThresholdCase{"ResumeOfZeroUnderSoftwareFlowIsReset", {kSoftware, Resume(0)}, 3072, 1024}),
    [](const auto& info) { return info.param.name; });

struct TRs485Case {
  std::string name;
  std::vector<TStep> steps;
  bool rs485;
  THWFlowOptionSet options;
  bool rts;
};

std::ostream& operator<<(std::ostream& out, const TRs485Case& c) { return out << c.name; }

class ComPortRs485Test : public testing::TestWithParam<TRs485Case> {};

TEST_P(ComPortRs485Test, LaterAssignmentDecides) {
  TVrlComPort port;
  for (const TStep& step : GetParam().steps) step(port);
  EXPECT_EQ(port.RS485Mode(), GetParam().rs485);
  EXPECT_EQ(port.HWFlowOptions(), GetParam().options);
  EXPECT_EQ(port.RTS(), GetParam().rts);
}

TStep Rs485(bool on) {
  return [on](TVrlComPort& p) { p.SetRS485Mode(on); };
}
TStep Hardware(std::initializer_list<THWFlowOption> options) {
  THWFlowOptionSet set(options);
  return [set](TVrlComPort& p) { p.SetHWFlowOptions(set); };
}

INSTANTIATE_TEST_SUITE_P(
    Rule, ComPortRs485Test,
    testing::Values(
        TRs485Case{"DtrHandshakeKeepsRs485",
                   {Rs485(true), Hardware({kUseDTR})},
                   true,
                   Options({kUseDTR}),
                   false},
        TRs485Case{"RtsHandshakeEndsRs485",
                   {Rs485(true), Hardware({kUseRTS})},
                   false,
                   Options({kUseRTS}),
                   false},
        TRs485Case{"CtsHandshakeEndsRs485",
                   {Rs485(true), Hardware({kRequireCTS})},
                   false,
                   Options({kRequireCTS}),
                   false},
        TRs485Case{"Rs485RemovesRtsAndCtsHandshake",
                   {Hardware({kUseDTR, kUseRTS, kRequireCTS}), Rs485(true)},
                   true,
                   Options({kUseDTR}),
                   false},
        TRs485Case{"Rs485DropsRts", {Hardware({kUseRTS}), Rs485(true)}, true, Options({}), false},
        TRs485Case{"Rs485OffKeepsRts", {Rs485(false)}, false, Options({}), true},
        TRs485Case{"RtsCanRiseAgainAfterRs485",
                   {Rs485(true), [](TVrlComPort& p) { p.SetRTS(true); }},
                   true,
                   Options({}),
                   true}),
    [](const auto& info) { return info.param.name; });

TEST(ComPort, ClosedPortKeepsOnlyTraceAndLogOnOrOff) {
  const TTraceLogState requests[] = {TTraceLogState::tlOff,
                                     TTraceLogState::tlOn,
                                     TTraceLogState::tlDump,
                                     TTraceLogState::tlAppend,
                                     TTraceLogState::tlClear,
                                     TTraceLogState::tlPause,
                                     TTraceLogState::tlAppendAndContinue};
  for (TTraceLogState request : requests) {
    SCOPED_TRACE(static_cast<int>(request));
    const TTraceLogState expected =
        request == TTraceLogState::tlOn ? TTraceLogState::tlOn : TTraceLogState::tlOff;
    TVrlComPort port;
    port.SetTracing(TTraceLogState::tlOn);
    port.SetLogging(TTraceLogState::tlOn);
    port.SetTracing(request);
    port.SetLogging(request);
    EXPECT_EQ(port.Tracing(), expected);
    EXPECT_EQ(port.Logging(), expected);
  }
}

TEST(ComPort, SizesAndNamesAreBounded) {
  TVrlComPort port;
  port.SetTraceSize(4000001);
  port.SetLogSize(16000001);
  EXPECT_EQ(port.TraceSize(), 4000000u);
  EXPECT_EQ(port.LogSize(), 16000000u);
  port.SetTraceSize(4000000);
  port.SetLogSize(0);
  EXPECT_EQ(port.TraceSize(), 4000000u);
  EXPECT_EQ(port.LogSize(), 0u);

  port.SetTraceName(std::string(300, 't'));
  port.SetLogName(std::string(255, 'l'));
  EXPECT_EQ(port.TraceName(), std::string(255, 't'));
  EXPECT_EQ(port.LogName(), std::string(255, 'l'));
}

TEST(ComPort, KeepsItsPortMap) {
  TPortMap map;
  map.Assign(5, "/dev/pts/4");
  TVrlComPort port;
  port.SetPortMap(map);
  EXPECT_EQ(port.PortMap(), map);
  EXPECT_EQ(port.PortMap().DevicePath(5), "/dev/pts/4");
}

}  // namespace
