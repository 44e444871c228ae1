// Line settings in termios terms, and their translation to and from the
// device control block. Pure functions over plain values; any thread.
#pragma once

#include <cstdint>

#include "serial/DeviceControlBlock.h"

struct TLineTermios {
  uint32_t InputFlags = 0;
  uint32_t OutputFlags = 0;
  uint32_t ControlFlags = 0;
  uint32_t LocalFlags = 0;
  uint8_t ControlChars[19] = {};
  uint32_t Baud = 0;  // bits per second, any value

  bool operator==(const TLineTermios&) const = default;
};

// The settings that carry dcb onto a port whose current settings are current:
// raw bytes, receiver on, modem control lines ignored for opening, no parity check.
TLineTermios DcbToTermios(const TDeviceControlBlock& dcb, const TLineTermios& current);

// Reads what termios holds into kept; fields termios cannot hold stay as kept.
TDeviceControlBlock TermiosToDcb(const TLineTermios& settings, const TDeviceControlBlock& kept);

// Reads and writes the settings with termios2, so that any rate can be set.
// 0 or -errno.
int GetLineTermios(int fd, TLineTermios& settings);
int SetLineTermios(int fd, const TLineTermios& settings);
