// The serial data text of a grid button and the one integer rule shared with
// the settings file. Pure functions on 8-bit byte strings; any thread may call them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Signed 32-bit decimal, or hexadecimal after "$", "x", "X", "0x" or "0X";
// leading blanks and one sign allowed, nothing after the digits. Returns
// nothing for a text the rule rejects.
std::optional<int32_t> ParseInteger(std::string_view text);

// The bytes a serial data text stands for. Never fails: every token yields at
// least one byte, a text without tokens yields none. Linear in the text's length.
std::string DecodeSerialData(std::string_view text);
