// How the monitor shows one burst of received bytes: the time it began, the
// count, every byte in hexadecimal, and the bytes as text with non-printable
// ones shown as ".". Pure functions; any thread.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

std::string FormatBurst(const std::tm& localTime, int milliseconds, std::string_view bytes);
