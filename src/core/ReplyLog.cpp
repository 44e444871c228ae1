#include "core/ReplyLog.h"

#include <algorithm>
#include <ctime>

#include "core/BurstFormat.h"

uint64_t TReplyLog::Add(TReplyLine::TTime time, int output, TReplyDirection direction,
                        std::string_view bytes) {
  uint64_t firstChanged = lastNumber_ + 1;
  if (!lines_.empty() && direction == TReplyDirection::Received) {
    TReplyLine& last = lines_.back();
    if (last.Direction == direction && last.Output == output && time - last.LastTime < kBurstGap &&
        last.Bytes.size() < kLongestLine) {
      const size_t room = kLongestLine - last.Bytes.size();
      last.Bytes.append(bytes.substr(0, room));
      last.LastTime = time;
      firstChanged = last.Number;
      bytes.remove_prefix(std::min(room, bytes.size()));
    }
  }
  while (!bytes.empty()) {
    const std::string_view part = bytes.substr(0, kLongestLine);
    lines_.push_back({++lastNumber_, time, time, output, direction, std::string(part)});
    bytes.remove_prefix(part.size());
    if (lines_.size() > kMaxLines) lines_.pop_front();
  }
  return firstChanged;
}

std::string FormatReplyLine(const TReplyLine& line) {
  const auto sinceEpoch = line.Time.time_since_epoch();
  const std::time_t seconds = static_cast<std::time_t>(
      std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch).count());
  const int milliseconds = static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count() % 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  const char* direction = line.Direction == TReplyDirection::Sent ? "sent    " : "received";
  return FormatBurstTime(local, milliseconds) + "  output " + std::to_string(line.Output) + "  " +
         direction + "  " + FormatBurstBytes(line.Bytes);
}
