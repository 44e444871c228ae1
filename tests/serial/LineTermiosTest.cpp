// The translation between the device control block and termios flags: every
// rate, parity (mark and space included), data bits 5 to 8, the stop-bit
// codes and each flow option, and the way back.
#include <gtest/gtest.h>
#include <termios.h>

#include "serial/posix/LineTermios.h"

namespace {

using namespace vrl::dcb;

TDeviceControlBlock Block(uint32_t baud, uint8_t parity, uint8_t size, uint8_t stop,
                          uint32_t flags = kBinary) {
  TDeviceControlBlock dcb;
  dcb.BaudRate = baud;
  dcb.Parity = parity;
  dcb.ByteSize = size;
  dcb.StopBits = stop;
  dcb.Flags = flags;
  return dcb;
}

TEST(LineTermios, CarriesEveryRateUnchanged) {
  for (const uint32_t baud :
       {50u,     110u,    300u,    1200u,   2400u,    4800u,   9600u,   14400u,
        19200u,  28800u,  38400u,  56000u,  57600u,   115200u, 128000u, 230400u,
        250000u, 256000u, 460800u, 921600u, 1000000u, 3000000u}) {
    const TLineTermios t = DcbToTermios(Block(baud, 0, 8, 0), {});
    EXPECT_EQ(t.Baud, baud);
    EXPECT_EQ(TermiosToDcb(t, {}).BaudRate, baud);
  }
}

struct TFrameCase {
  uint8_t parity, size, stop;
  uint32_t controlFlags;  // of CSIZE | PARENB | PARODD | CMSPAR | CSTOPB
};

const TFrameCase kFrameCases[] = {
    {0, 8, kOneStopBit, CS8},
    {1, 8, kOneStopBit, CS8 | PARENB | PARODD},
    {2, 7, kOneStopBit, CS7 | PARENB},
    {3, 7, kTwoStopBits, CS7 | PARENB | PARODD | CMSPAR | CSTOPB},
    {4, 6, kOneStopBit, CS6 | PARENB | CMSPAR},
    {0, 5, kOneAndHalfStopBits, CS5 | CSTOPB},
    {2, 5, kOneAndHalfStopBits, CS5 | PARENB | CSTOPB},
    {0, 6, kTwoStopBits, CS6 | CSTOPB},
};

TEST(LineTermios, FramesCharactersAndReadsThemBack) {
  for (const auto& c : kFrameCases) {
    const TDeviceControlBlock dcb = Block(9600, c.parity, c.size, c.stop);
    const TLineTermios t = DcbToTermios(dcb, {});
    EXPECT_EQ(t.ControlFlags & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB), c.controlFlags)
        << int(c.parity) << " " << int(c.size) << " " << int(c.stop);
    EXPECT_TRUE(t.ControlFlags & CREAD);
    EXPECT_TRUE(t.ControlFlags & CLOCAL);
    EXPECT_FALSE(t.InputFlags & INPCK) << "received parity is never checked";
    const TDeviceControlBlock back = TermiosToDcb(t, {});
    EXPECT_EQ(back.Parity, c.parity);
    EXPECT_EQ(back.ByteSize, c.size);
    EXPECT_EQ(back.StopBits, c.stop);
  }
}

struct TFlowCase {
  const char* name;
  uint32_t flags;
  uint32_t controlFlags;  // CRTSCTS
  uint32_t inputFlags;    // IXON | IXOFF
};

const TFlowCase kFlowCases[] = {
    {"none", kBinary, 0, 0},
    // CRTSCTS is both halves; either alone is left to the backend's emulation.
    {"require CTS", kBinary | kOutxCtsFlow, 0, 0},
    {"RTS handshake", kBinary | kRtsControlHandshake, 0, 0},
    {"RTS handshake and CTS", kBinary | kRtsControlHandshake | kOutxCtsFlow, CRTSCTS, 0},
    {"RTS enable only", kBinary | kRtsControlEnable, 0, 0},
    {"XON/XOFF on transmit", kBinary | kOutX, 0, IXON},
    {"XON/XOFF on receive", kBinary | kInX, 0, IXOFF},
    {"both XON/XOFF", kBinary | kOutX | kInX, 0, IXON | IXOFF},
    {"DTR handshake is kept aside", kBinary | kDtrControlHandshake | kOutxDsrFlow, 0, 0},
};

TEST(LineTermios, MapsEachFlowOption) {
  for (const auto& c : kFlowCases) {
    TDeviceControlBlock dcb = Block(19200, 0, 8, 0, c.flags);
    dcb.XonChar = 0x21;
    dcb.XoffChar = 0x22;
    const TLineTermios t = DcbToTermios(dcb, {});
    EXPECT_EQ(t.ControlFlags & CRTSCTS, c.controlFlags) << c.name;
    EXPECT_EQ(t.InputFlags & (IXON | IXOFF), c.inputFlags) << c.name;
    EXPECT_EQ(t.ControlChars[VSTART], 0x21) << c.name;
    EXPECT_EQ(t.ControlChars[VSTOP], 0x22) << c.name;
    EXPECT_EQ(TermiosToDcb(t, dcb), dcb) << c.name;
  }
}

TEST(LineTermios, MakesTheLineRaw) {
  TLineTermios cooked;
  cooked.InputFlags = ICRNL | IXANY | BRKINT | INPCK;
  cooked.OutputFlags = OPOST | ONLCR;
  cooked.LocalFlags = ECHO | ICANON | ISIG | IEXTEN;
  const TLineTermios t = DcbToTermios(Block(9600, 0, 8, 0), cooked);
  EXPECT_EQ(t.InputFlags & (ICRNL | IXANY | BRKINT | INPCK), 0u);
  EXPECT_EQ(t.OutputFlags & OPOST, 0u);
  EXPECT_EQ(t.LocalFlags & (ECHO | ICANON | ISIG | IEXTEN), 0u);
  EXPECT_EQ(t.ControlChars[VMIN], 1);
  EXPECT_EQ(t.ControlChars[VTIME], 0);
}

}  // namespace
