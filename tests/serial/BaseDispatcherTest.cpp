// Rules of the base dispatcher on a recording fake device: line changes and
// their drain wait, flow-control thresholds, automatic lines, RS485 ordering,
// the output ring's bounds and the killed state.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "FakeDevice.h"
#include "TestOwner.h"

namespace {

using namespace vrl::dcb;

class BaseDispatcherTest : public testing::Test {
 protected:
  void Open(bool driverTogglesRts = false) {
    device_ = std::make_unique<TFakeDevice>(&owner_, driverTogglesRts);
    ASSERT_EQ(
        device_->InitializePort("fake", 9600, 0, 8, 1, 4096, 4096, TVrlBaseDispatcher::kDtrOn), 0);
    device_->Clear();
  }
  size_t Count(const std::string& prefix) {
    const auto records = device_->Records();
    return std::count_if(records.begin(), records.end(),
                         [&](const std::string& r) { return r.rfind(prefix, 0) == 0; });
  }

  TTestOwner owner_;
  std::unique_ptr<TFakeDevice> device_;
};

struct TLineCase {
  const char* name;
  uint32_t baud;
  uint8_t parity, dataBits, stopBits;
  size_t writes;
  const char* sleep;  // the character-time wait, or null
  uint8_t stopCode;
};

const TLineCase kLineCases[] = {
    {"unchanged", 9600, 0, 8, 1, 0, nullptr, kOneStopBit},
    {"all kept", 0, 5, 9, 3, 0, nullptr, kOneStopBit},
    {"stop bits 0 count as 1", 9600, 0, 8, 0, 0, nullptr, kOneStopBit},
    {"baud change", 19200, 0, 8, 1, 1, "sleep 19", kOneStopBit},
    {"parity change", 9600, 2, 8, 1, 1, "sleep 19", kOneStopBit},
    {"two stop bits", 9600, 0, 8, 2, 1, "sleep 19", kTwoStopBits},
    {"stop bits above 3 count as 2", 9600, 0, 8, 7, 1, "sleep 19", kTwoStopBits},
    {"five data bits", 9600, 0, 5, 2, 1, "sleep 19", kOneAndHalfStopBits},
};

TEST_F(BaseDispatcherTest, LineChangesWriteOnceAfterTheDrainOrNotAtAll) {
  for (const auto& c : kLineCases) {
    Open();
    EXPECT_EQ(device_->SetLineParams(c.baud, c.parity, c.dataBits, c.stopBits), 0) << c.name;
    const auto writes = device_->Writes();
    ASSERT_EQ(writes.size(), c.writes) << c.name;
    if (c.sleep == nullptr) {
      EXPECT_EQ(device_->Records(), std::vector<std::string>{}) << c.name;
      continue;
    }
    EXPECT_EQ(Count("sleep"), 1u) << c.name;
    EXPECT_EQ(device_->Records().front(), c.sleep) << c.name;
    EXPECT_EQ(writes[0].StopBits, c.stopCode) << c.name;
    EXPECT_EQ(writes[0].Flags & (kBinary | kTxContinueOnXoff), kBinary | kTxContinueOnXoff);
    EXPECT_EQ(writes[0].Flags & (kParity | kDsrSensitivity | kNull), 0u);
  }
}

struct TOpenRateCase {
  const char* name;
  uint32_t deviceRate, requested, programmed;
};

const TOpenRateCase kOpenRateCases[] = {
    {"hung-up device, stored rate 0", 0, 0, 19200}, {"hung-up device", 0, 9600, 9600},
    {"hung-up device at a slow rate", 0, 50, 50},   {"slow device keeps its rate", 50, 0, 50},
    {"device keeps its rate", 9600, 0, 9600},       {"slow device", 50, 19200, 19200},
};

TEST_F(BaseDispatcherTest, OpeningWaitsForNothingAndNeverProgramsSpeedZero) {
  for (const auto& c : kOpenRateCases) {
    device_ = std::make_unique<TFakeDevice>(&owner_);
    TDeviceControlBlock found;
    found.BaudRate = c.deviceRate;
    device_->SetDeviceState(found);
    ASSERT_EQ(device_->InitializePort("fake", c.requested, 0, 8, 1, 4096, 4096, 0), 0) << c.name;
    EXPECT_EQ(Count("sleep"), 0u) << c.name;
    const auto writes = device_->Writes();
    ASSERT_FALSE(writes.empty()) << c.name;
    EXPECT_EQ(writes.front().BaudRate, c.programmed) << c.name;
    // A later line change keeps the rate as well, and waits its character times.
    device_->Clear();
    ASSERT_EQ(device_->SetLineParams(0, 2, 8, 1), 0) << c.name;
    for (const TDeviceControlBlock& write : device_->Writes()) {
      EXPECT_EQ(write.BaudRate, c.programmed) << c.name;
    }
    EXPECT_EQ(Count("sleep"), 1u) << c.name;
  }
}

// What is still unsent when a line change comes: the drain must see it leave
// before the new settings are applied.
struct TUnsentCase {
  const char* name;
  std::function<void(TFakeDevice&)> leave;
};

const TUnsentCase kUnsentCases[] = {
    {"a batch the write thread holds",
     [](TFakeDevice& device) {
       device.SetWriteGate(false);
       const std::string batch(3000, 'b');
       ASSERT_EQ(device.WriteBlock(batch.data(), 3000), 0);
       ASSERT_TRUE(Eventually([&] { return device.OutputUsed() == 0; }));
     }},
    {"a batch held and more in the ring",
     [](TFakeDevice& device) {
       device.SetWriteGate(false);
       const std::string batch(3000, 'b');
       ASSERT_EQ(device.WriteBlock(batch.data(), 3000), 0);
       ASSERT_TRUE(Eventually([&] { return device.OutputUsed() == 0; }));
       ASSERT_EQ(device.WriteBlock("ring", 4), 0);
     }},
    {"bytes the driver still queues", [](TFakeDevice& device) { device.SetDriverQueued(3000); }},
};

TEST_F(BaseDispatcherTest, LineChangeAppliesOnlyOnceEverythingUnsentHasLeft) {
  for (const auto& c : kUnsentCases) {
    Open();
    c.leave(*device_);
    ASSERT_EQ(device_->SetLineParams(19200, 0, 8, 1), 0) << c.name;
    const auto records = device_->Records();
    const auto dcb = std::find(records.begin(), records.end(), "dcb");
    ASSERT_NE(dcb, records.end()) << c.name;
    for (auto r = dcb; r != records.end(); ++r) {
      EXPECT_TRUE(r->rfind("write", 0) != 0 && r->rfind("driver sent", 0) != 0)
          << c.name << ": " << r->substr(0, 20) << " after the new settings";
    }
    EXPECT_NE(std::find_if(records.begin(), dcb,
                           [](const std::string& r) {
                             return r.rfind("write", 0) == 0 || r.rfind("driver sent", 0) == 0;
                           }),
              dcb)
        << c.name;
    device_->SetWriteGate(true);
  }
}

TEST_F(BaseDispatcherTest, WaitUntilSentReturnsOnceEverythingUnsentHasLeft) {
  for (const auto& c : kUnsentCases) {
    Open();
    c.leave(*device_);
    ASSERT_TRUE(device_->WaitUntilSent(60'000)) << c.name;
    const auto records = device_->Records();
    EXPECT_NE(std::find_if(records.begin(), records.end(),
                           [](const std::string& r) {
                             return r.rfind("write", 0) == 0 || r.rfind("driver sent", 0) == 0;
                           }),
              records.end())
        << c.name;
    device_->SetWriteGate(true);
  }
}

TEST_F(BaseDispatcherTest, HardwareFlowThresholds) {
  Open();
  EXPECT_EQ(device_->SetHardwareFlow(3686, 409, 0x02), 0);
  ASSERT_EQ(device_->Writes().size(), 1u);
  EXPECT_EQ(device_->Writes()[0].XoffLim, 410);
  EXPECT_EQ(device_->Writes()[0].XonLim, 409);
  EXPECT_EQ(device_->Writes()[0].Flags & kRtsControlMask, kRtsControlHandshake);
  device_->Clear();
  EXPECT_EQ(device_->SetHardwareFlow(4097, 409, 0), vrl::kErrBadArgument);
  EXPECT_EQ(device_->SetHardwareFlow(400, 409, 0), vrl::kErrBadArgument);
  EXPECT_EQ(device_->EnableSoftwareFlow(4097, 409, 0x03), vrl::kErrBadArgument);
  EXPECT_TRUE(device_->Writes().empty());
  EXPECT_EQ(device_->EnableSoftwareFlow(3072, 1024, 0x03), 0);
  const TDeviceControlBlock soft = device_->Writes().back();
  EXPECT_EQ(soft.Flags & (kOutX | kInX), kOutX | kInX);
  EXPECT_EQ(soft.XoffLim, 1024);
  EXPECT_EQ(soft.XonChar, 0x11);
  EXPECT_EQ(soft.XoffChar, 0x13);
}

struct TAutomaticCase {
  const char* name;
  bool driverTogglesRts;
  bool rs485;
  uint32_t options;
  int32_t dtrResult, rtsResult;
};

const TAutomaticCase kAutomaticCases[] = {
    {"no handshake", false, false, 0, 0, 0},
    {"DTR handshake", false, false, 0x01, 1, 0},
    {"RTS handshake", false, false, 0x02, 0, 1},
    {"both", false, false, 0x03, 1, 1},
    {"RS485 toggled by the driver", true, true, 0, 0, 1},
    {"RS485 toggled by the dispatcher", false, true, 0, 0, 0},
};

TEST_F(BaseDispatcherTest, AutomaticLinesIgnoreExplicitSettings) {
  for (const auto& c : kAutomaticCases) {
    Open(c.driverTogglesRts);
    device_->SetRS485(c.rs485);
    ASSERT_EQ(device_->SetHardwareFlow(3686, 409, c.options), 0) << c.name;
    device_->Clear();
    EXPECT_EQ(device_->SetDTRLine(true), c.dtrResult) << c.name;
    EXPECT_EQ(device_->SetRTSLine(true), c.rtsResult) << c.name;
    EXPECT_EQ(Count("escape"), size_t(2 - c.dtrResult - c.rtsResult)) << c.name;
  }
}

// A port opened with a handshake on one line; then an Apply (the handshake
// cleared and set again) and the handshake unticked. The line never goes
// against the level asked for, and returns to it when the handshake stops.
struct TWantedLevelCase {
  const char* name;
  uint32_t lineOptions;
  uint32_t handshake;
  int32_t raise, lower;  // the line's escapes
  bool wanted;
};

const TWantedLevelCase kWantedLevelCases[] = {
    {"DTR wanted up", TVrlBaseDispatcher::kDtrOn | TVrlBaseDispatcher::kDtrHandshake, 0x01,
     TVrlBaseDispatcher::kSetDtr, TVrlBaseDispatcher::kClrDtr, true},
    {"DTR wanted down", TVrlBaseDispatcher::kDtrHandshake, 0x01, TVrlBaseDispatcher::kSetDtr,
     TVrlBaseDispatcher::kClrDtr, false},
    {"RTS wanted up", TVrlBaseDispatcher::kRtsOn | TVrlBaseDispatcher::kRtsHandshake, 0x02,
     TVrlBaseDispatcher::kSetRts, TVrlBaseDispatcher::kClrRts, true},
    {"RTS wanted down", TVrlBaseDispatcher::kRtsHandshake, 0x02, TVrlBaseDispatcher::kSetRts,
     TVrlBaseDispatcher::kClrRts, false},
};

TEST_F(BaseDispatcherTest, HandshakeChangesKeepTheLevelAskedFor) {
  for (const auto& c : kWantedLevelCases) {
    device_ = std::make_unique<TFakeDevice>(&owner_);
    ASSERT_EQ(device_->InitializePort("fake", 9600, 0, 8, 1, 4096, 4096, c.lineOptions), 0);
    ASSERT_EQ(device_->SetHardwareFlow(3686, 409, c.handshake), 0) << c.name;
    device_->Clear();
    for (const uint32_t options : {0u, c.handshake, 0u}) {
      ASSERT_EQ(device_->SetHardwareFlow(3686, 409, options), 0) << c.name;
    }
    const std::string against = "escape " + std::to_string(c.wanted ? c.lower : c.raise);
    EXPECT_EQ(Count(against), 0u) << c.name;
    EXPECT_GE(Count("escape " + std::to_string(c.wanted ? c.raise : c.lower)), 1u) << c.name;
    const uint32_t mask = c.handshake == 0x01 ? kDtrControlMask : kRtsControlMask;
    const uint32_t enable = c.handshake == 0x01 ? kDtrControlEnable : kRtsControlEnable;
    const uint32_t viaHandshake = c.handshake == 0x01 ? kDtrControlHandshake : kRtsControlHandshake;
    for (const TDeviceControlBlock& write : device_->Writes()) {
      const uint32_t control = write.Flags & mask;
      EXPECT_TRUE(control == viaHandshake || control == (c.wanted ? enable : 0u)) << c.name;
    }
  }
}

TEST_F(BaseDispatcherTest, RS485KeepsRtsUpFromBeforeTheFirstByteUntilAfterTheLast) {
  Open();
  device_->SetRS485(true);
  ASSERT_EQ(device_->SetRTSLine(false), 0);
  device_->Clear();
  ASSERT_EQ(device_->WriteBlock("abc", 3), 0);
  ASSERT_TRUE(device_->WaitForRecord("escape 4"));
  EXPECT_EQ(device_->Records(),
            (std::vector<std::string>{"escape 3", "write abc", "temt", "escape 4"}));
}

TEST_F(BaseDispatcherTest, RS485WithoutTransmitterSensingRefusesToSend) {
  Open();
  device_->SetCanSenseTransmitterEmpty(false);
  device_->SetRS485(true);
  device_->Clear();
  EXPECT_EQ(device_->WriteBlock("abc", 3), vrl::kErrBaseAddressNotSet);
  EXPECT_EQ(device_->OutputUsed(), 0);
  EXPECT_TRUE(device_->Records().empty());
}

TEST_F(BaseDispatcherTest, RingAcceptsExactlyItsFreeSpace) {
  Open();
  device_->SetWriteGate(false);
  const std::string first(1000, 'a');
  ASSERT_EQ(device_->WriteBlock(first.data(), 1000), 0);
  // The writer has taken the first block and waits at the gate; the ring is empty.
  ASSERT_TRUE(Eventually([&] { return device_->OutputUsed() == 0; }));
  const std::string big(4000, 'b');
  ASSERT_EQ(device_->WriteBlock(big.data(), 4000), 0);
  EXPECT_EQ(device_->WriteBlock(big.data(), 97), vrl::kErrOutputBufferTooSmall);
  EXPECT_EQ(device_->OutputUsed(), 4000);
  EXPECT_EQ(device_->WriteBlock(big.data(), 96), 0);
  EXPECT_EQ(device_->OutputFree(), 0);
  EXPECT_EQ(device_->WriteBlock("x", 1), vrl::kErrOutputBufferTooSmall);
  EXPECT_EQ(device_->WriteBlock("x", 0), 0);
  device_->SetWriteGate(true);
  ASSERT_TRUE(device_->WaitForRecord("write " + big + std::string(96, 'b')));
  EXPECT_EQ(Count("write"), 2u);
}

TEST_F(BaseDispatcherTest, SecondStartIsRefusedAndThePortKeepsWorking) {
  Open();
  try {
    device_->InitializePort("fake", 9600, 0, 8, 1, 4096, 4096, 0);
    FAIL() << "nothing raised";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Dispatcher already started.");
  }
  ASSERT_EQ(device_->WriteBlock("ok", 2), 0);
  EXPECT_TRUE(device_->WaitForRecord("write ok"));
}

TEST_F(BaseDispatcherTest, WriteFailureKillsThePortAndIsReported) {
  Open();
  device_->FailWrites();
  ASSERT_EQ(device_->WriteBlock("x", 1), 0);
  ASSERT_TRUE(owner_.WaitForFailures(1));
  EXPECT_EQ(owner_.Failures(), std::vector<std::string>{"Device write error"});
  ASSERT_TRUE(Eventually([&] { return !device_->ThreadsRunning(); }));
  EXPECT_TRUE(device_->Killed());
  EXPECT_EQ(device_->WriteBlock("x", 1), vrl::kErrCommNotOpen);
  EXPECT_EQ(device_->SetLineParams(19200, 0, 8, 1), vrl::kErrCommNotOpen);
  EXPECT_EQ(device_->SetDTRLine(false), vrl::kErrCommNotOpen);
  EXPECT_EQ(device_->CloseDevice(), 0);
  // The same dispatcher opens again after the failure.
  ASSERT_EQ(device_->InitializePort("fake", 9600, 0, 8, 1, 4096, 4096, 0), 0);
  EXPECT_TRUE(device_->ThreadsRunning());
}

TEST_F(BaseDispatcherTest, RegistryHandsOutTheLowestFreeHandle) {
  auto a = std::make_unique<TFakeDevice>(nullptr);
  auto b = std::make_unique<TFakeDevice>(nullptr);
  const int32_t aHandle = a->HandleNumber();
  EXPECT_NE(aHandle, b->HandleNumber());
  a.reset();
  auto c = std::make_unique<TFakeDevice>(nullptr);
  EXPECT_EQ(c->HandleNumber(), aHandle);
  EXPECT_TRUE(TVrlBaseDispatcher::WithDispatcher(
      c->HandleNumber(), [&](TVrlBaseDispatcher& d) { EXPECT_EQ(&d, c.get()); }));
  EXPECT_FALSE(TVrlBaseDispatcher::WithDispatcher(-1, [](TVrlBaseDispatcher&) {}));
}

}  // namespace
