// Colours as 32-bit values: a top byte of 0xFF names a system colour by the
// index in the low byte, any other value is 0x00BBGGRR.
#pragma once

#include <cstdint>

using TColour = uint32_t;

constexpr TColour kColourButtonFace = 0xFF00000F;
constexpr TColour kColourWindowText = 0xFF000008;

constexpr bool IsSystemColour(TColour colour) { return (colour >> 24) == 0xFF; }
