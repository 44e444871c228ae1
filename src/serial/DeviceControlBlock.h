// The platform-neutral device control block: the line and flow settings of one
// port in the layout the dispatcher's rules speak of. A plain value, guarded by
// the dispatcher lock of whichever dispatcher holds it.
#pragma once

#include <cstdint>

struct TDeviceControlBlock {
  uint32_t BaudRate = 115200;
  uint32_t Flags = 0;
  uint16_t XonLim = 0;
  uint16_t XoffLim = 0;
  uint8_t ByteSize = 8;
  uint8_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
  uint8_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
  uint8_t XonChar = 0x11;
  uint8_t XoffChar = 0x13;

  bool operator==(const TDeviceControlBlock&) const = default;
};

namespace vrl::dcb {

constexpr uint32_t kBinary = 0x0001;
constexpr uint32_t kParity = 0x0002;
constexpr uint32_t kOutxCtsFlow = 0x0004;
constexpr uint32_t kOutxDsrFlow = 0x0008;
constexpr uint32_t kDtrControlMask = 0x0030;
constexpr uint32_t kDtrControlEnable = 0x0010;
constexpr uint32_t kDtrControlHandshake = 0x0020;
constexpr uint32_t kDsrSensitivity = 0x0040;
constexpr uint32_t kTxContinueOnXoff = 0x0080;
constexpr uint32_t kOutX = 0x0100;
constexpr uint32_t kInX = 0x0200;
constexpr uint32_t kNull = 0x0800;
constexpr uint32_t kRtsControlMask = 0x3000;
constexpr uint32_t kRtsControlEnable = 0x1000;
constexpr uint32_t kRtsControlHandshake = 0x2000;
constexpr uint32_t kRtsControlToggle = 0x3000;

constexpr uint8_t kOneStopBit = 0;
constexpr uint8_t kOneAndHalfStopBits = 1;
constexpr uint8_t kTwoStopBits = 2;

}  // namespace vrl::dcb
