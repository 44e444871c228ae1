// The lines of the reply view: what each output sent and received, one line
// per burst, the newest kMaxLines of them. Times are handed in. User-interface
// thread only; no lock.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

enum class TReplyDirection { Sent, Received };

struct TReplyLine {
  using TTime = std::chrono::system_clock::time_point;
  // Counts up from 1 over the log's life, also across a clear.
  uint64_t Number = 0;
  TTime Time;      // of the first byte
  TTime LastTime;  // of the last byte
  int Output = 0;
  TReplyDirection Direction = TReplyDirection::Sent;
  std::string Bytes;
};

class TReplyLog {
 public:
  static constexpr size_t kMaxLines = 10000;
  // Bytes in one line: a peer that never pauses still gets a line per this many.
  static constexpr size_t kLongestLine = 64;
  // Received bytes this close to the previous ones continue their burst.
  static constexpr std::chrono::milliseconds kBurstGap{30};

  // Adds bytes as a line, or continues the last line with them when they are
  // received on its output within the burst gap and it has room; bytes beyond
  // its room start new lines; no bytes add nothing. Returns the number of the
  // first line that changed: the last line before the call if it was continued.
  uint64_t Add(TReplyLine::TTime time, int output, TReplyDirection direction,
               std::string_view bytes);
  void Clear() { lines_.clear(); }
  const std::deque<TReplyLine>& Lines() const { return lines_; }

 private:
  std::deque<TReplyLine> lines_;
  uint64_t lastNumber_ = 0;
};

// "10:15:02.123  output 1  received  2 bytes  4F 4B  |OK|", the monitor's line
// with the output and the direction after the time, in local time.
std::string FormatReplyLine(const TReplyLine& line);
