// The enumerations and the option set of the serial port component's
// properties. Plain values with the ordinals the port's users rely on.
#pragma once

#include <cstdint>
#include <initializer_list>

enum class TParity : uint8_t { pNone = 0, pOdd = 1, pEven = 2, pMark = 3, pSpace = 4 };

enum class THWFlowOption : uint8_t {
  hwfUseDTR = 0,
  hwfUseRTS = 1,
  hwfRequireDSR = 2,
  hwfRequireCTS = 3,
};

// A set of hardware handshake options, one bit per option (bit n = ordinal n);
// the dispatcher takes the same bits as its flag word.
class THWFlowOptionSet {
 public:
  constexpr THWFlowOptionSet() = default;
  constexpr THWFlowOptionSet(std::initializer_list<THWFlowOption> options) {
    for (THWFlowOption option : options) Include(option);
  }

  constexpr bool Contains(THWFlowOption option) const { return (bits_ & Bit(option)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr uint8_t Bits() const { return bits_; }
  constexpr void Include(THWFlowOption option) {
    bits_ = static_cast<uint8_t>(bits_ | Bit(option));
  }
  constexpr void Exclude(THWFlowOption option) {
    bits_ = static_cast<uint8_t>(bits_ & ~Bit(option));
  }

  constexpr bool operator==(const THWFlowOptionSet&) const = default;

 private:
  static constexpr uint8_t Bit(THWFlowOption option) {
    return static_cast<uint8_t>(1u << static_cast<unsigned>(option));
  }

  uint8_t bits_ = 0;
};

enum class TSWFlowOptions : uint8_t { swfNone = 0, swfReceive = 1, swfTransmit = 2, swfBoth = 3 };

enum class TTraceLogState : uint8_t {
  tlOff = 0,
  tlOn = 1,
  tlDump = 2,
  tlAppend = 3,
  tlClear = 4,
  tlPause = 5,
  tlAppendAndContinue = 6,
};

enum class TTapiMode : uint8_t { tmNone = 0, tmAuto = 1, tmOn = 2, tmOff = 3 };

enum class TDeviceLayer : uint8_t { dlWin32 = 0, dlWinsock = 1 };

enum class TComPortState : uint8_t { stClosed, stShuttingDown, stOpen };
