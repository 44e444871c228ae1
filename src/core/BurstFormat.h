// How a burst of bytes is shown, by the monitor and by the panel's reply view:
// the time it began, the count, every byte in hexadecimal, and the bytes as
// text with non-printable ones shown as ".". Pure functions; any thread.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

// "hh:mm:ss.mmm"
std::string FormatBurstTime(const std::tm& localTime, int milliseconds);
// "3 bytes  4F 4B 0D  |OK.|"
std::string FormatBurstBytes(std::string_view bytes);
// The time, then the bytes.
std::string FormatBurst(const std::tm& localTime, int milliseconds, std::string_view bytes);
