// The line protocol of remote control, as pure functions over bytes: cutting
// received bytes into lines and reading one line as a command. One command per
// line ("PRESS 3", "DOWN 3", "UP 3", "LIST", "AUTH secret"), verbs in any letter
// case, a line ended by LF or CR LF. Stateless; any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Longer lines close the connection. Counted without the line end.
constexpr size_t kMaxLineLength = 256;

enum class TLineScanStatus {
  Incomplete,  // no line end yet: wait for more bytes
  Line,        // Line holds one line without its end; Consumed bytes are used up
  TooLong,     // the line is or will be longer than kMaxLineLength
};

struct TLineScan {
  TLineScanStatus Status = TLineScanStatus::Incomplete;
  std::string_view Line;  // a view into the scanned buffer
  size_t Consumed = 0;
};

TLineScan ScanLine(std::string_view buffer);

enum class TLineVerb { Empty, Press, Down, Up, List, Auth, Invalid };

struct TLineCommand {
  TLineVerb Verb = TLineVerb::Invalid;
  // Press, Down, Up: the button number; numbers too large for any grid read as
  // kNumberTooLarge.
  int Number = 0;
  // Press, Down, Up: the number as written; Auth: the token.
  std::string Argument;
  // Invalid: why, for the "ERR" answer.
  std::string Error;

  static constexpr int kNumberTooLarge = 1'000'000;

  bool operator==(const TLineCommand&) const = default;
};

// Blanks and tabs around the line and between its words do not matter.
TLineCommand ParseLineCommand(std::string_view line);
