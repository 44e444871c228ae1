// Translation between the device control block and termios flags.
#include "serial/posix/LineTermios.h"

#include <termios.h>

namespace {

using namespace vrl::dcb;

uint32_t SizeFlag(uint8_t byteSize) {
  switch (byteSize) {
    case 5:
      return CS5;
    case 6:
      return CS6;
    case 7:
      return CS7;
    default:
      return CS8;
  }
}

uint8_t ByteSizeOf(uint32_t controlFlags) {
  switch (controlFlags & CSIZE) {
    case CS5:
      return 5;
    case CS6:
      return 6;
    case CS7:
      return 7;
    default:
      return 8;
  }
}

uint32_t ParityFlags(uint8_t parity) {
  switch (parity) {
    case 1:
      return PARENB | PARODD;
    case 2:
      return PARENB;
    case 3:
      return PARENB | CMSPAR | PARODD;
    case 4:
      return PARENB | CMSPAR;
    default:
      return 0;
  }
}

uint8_t ParityOf(uint32_t controlFlags) {
  if ((controlFlags & PARENB) == 0) return 0;
  const bool odd = (controlFlags & PARODD) != 0;
  if (controlFlags & CMSPAR) return odd ? 3 : 4;
  return odd ? 1 : 2;
}

}  // namespace

TLineTermios DcbToTermios(const TDeviceControlBlock& dcb, const TLineTermios& current) {
  TLineTermios t = current;
  t.InputFlags &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF |
                    IXANY | INPCK | IUCLC | IMAXBEL);
  t.OutputFlags &= ~OPOST;
  t.LocalFlags &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.ControlFlags &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  t.ControlFlags |= CREAD | CLOCAL | SizeFlag(dcb.ByteSize) | ParityFlags(dcb.Parity);
  // With five data bits the UART sends one and a half stop bits for CSTOPB.
  if (dcb.StopBits != kOneStopBit) t.ControlFlags |= CSTOPB;
  // CRTSCTS is both halves at once: the RTS handshake and the CTS
  // requirement. Either alone is emulated by the backend.
  if ((dcb.Flags & kOutxCtsFlow) && (dcb.Flags & kRtsControlMask) == kRtsControlHandshake) {
    t.ControlFlags |= CRTSCTS;
  }
  if (dcb.Flags & kOutX) t.InputFlags |= IXON;
  if (dcb.Flags & kInX) t.InputFlags |= IXOFF;
  t.ControlChars[VSTART] = dcb.XonChar;
  t.ControlChars[VSTOP] = dcb.XoffChar;
  t.ControlChars[VMIN] = 1;
  t.ControlChars[VTIME] = 0;
  t.Baud = dcb.BaudRate;
  return t;
}

TDeviceControlBlock TermiosToDcb(const TLineTermios& settings, const TDeviceControlBlock& kept) {
  TDeviceControlBlock dcb = kept;
  dcb.BaudRate = settings.Baud;
  dcb.ByteSize = ByteSizeOf(settings.ControlFlags);
  dcb.Parity = ParityOf(settings.ControlFlags);
  if ((settings.ControlFlags & CSTOPB) == 0) {
    dcb.StopBits = kOneStopBit;
  } else {
    dcb.StopBits = dcb.ByteSize == 5 ? kOneAndHalfStopBits : kTwoStopBits;
  }
  // CRTSCTS stands for both halves; without it, a half kept alone is the
  // backend's emulation and stays.
  const bool bothKept =
      (dcb.Flags & kOutxCtsFlow) && (dcb.Flags & kRtsControlMask) == kRtsControlHandshake;
  if (settings.ControlFlags & CRTSCTS) {
    dcb.Flags = (dcb.Flags & ~kRtsControlMask) | kRtsControlHandshake | kOutxCtsFlow;
  } else if (bothKept) {
    dcb.Flags &= ~(kRtsControlMask | kOutxCtsFlow);
  }
  dcb.Flags = (settings.InputFlags & IXON) ? (dcb.Flags | kOutX) : (dcb.Flags & ~kOutX);
  dcb.Flags = (settings.InputFlags & IXOFF) ? (dcb.Flags | kInX) : (dcb.Flags & ~kInX);
  dcb.XonChar = settings.ControlChars[VSTART];
  dcb.XoffChar = settings.ControlChars[VSTOP];
  return dcb;
}
