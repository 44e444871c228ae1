// The serial data text of a grid button and the one integer rule shared with
// the settings file. Pure functions on 8-bit byte strings; any thread may call them.
#pragma once

#include <cstdint>
#include <functional>
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

// Calls onToken with each token of a serial data text, in order, as the text
// spells it; DecodeSerialData is every token's bytes in that order.
void ForEachSerialDataToken(std::string_view text,
                            const std::function<void(std::string_view token)>& onToken);
// The bytes one token stands for (at least one).
void AppendSerialDataToken(std::string_view token, std::string& bytes);
