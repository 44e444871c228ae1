#include "core/ReplyChecks.h"

#include <utility>

namespace {

bool ValidOutput(int output) { return output >= 1 && output <= TReplyChecks::kOutputCount; }

}  // namespace

std::optional<TReplyResult> TReplyChecks::Start(int output, int button, TReplyPattern pattern,
                                                TClock::time_point deadline) {
  std::optional<TReplyResult> superseded = Supersede(output);
  if (!ValidOutput(output) || pattern.Empty()) return superseded;
  checks_[output - 1] = TCheck{button, std::move(pattern), deadline, {}, {}, false};
  return superseded;
}

std::optional<TReplyResult> TReplyChecks::Supersede(int output) {
  if (!Running(output)) return std::nullopt;
  return End(output, TReplyOutcome::Superseded);
}

std::optional<TReplyResult> TReplyChecks::Receive(int output, std::string_view bytes) {
  if (!Running(output) || bytes.empty()) return std::nullopt;
  TCheck& check = *checks_[output - 1];
  check.AnyReceived = true;
  if (check.Received.size() < kKeptBytes) {
    check.Received.append(bytes.substr(0, kKeptBytes - check.Received.size()));
  }
  std::string window = check.Tail;
  window.append(bytes);
  if (FindReply(check.Pattern, window) != std::string::npos) {
    return End(output, TReplyOutcome::Matched);
  }
  const size_t keep = check.Pattern.Bytes.size() - 1;
  check.Tail = window.size() > keep ? window.substr(window.size() - keep) : window;
  return std::nullopt;
}

std::vector<TReplyResult> TReplyChecks::Expire(TClock::time_point now) {
  std::vector<TReplyResult> ended;
  for (int output = 1; output <= kOutputCount; ++output) {
    const std::optional<TCheck>& check = checks_[output - 1];
    if (!check || check->Deadline > now) continue;
    ended.push_back(
        End(output, check->AnyReceived ? TReplyOutcome::Mismatched : TReplyOutcome::NoAnswer));
  }
  return ended;
}

std::optional<TReplyChecks::TClock::time_point> TReplyChecks::NextDeadline() const {
  std::optional<TClock::time_point> next;
  for (const std::optional<TCheck>& check : checks_) {
    if (check && (!next || check->Deadline < *next)) next = check->Deadline;
  }
  return next;
}

bool TReplyChecks::Running(int output) const {
  return ValidOutput(output) && checks_[output - 1].has_value();
}

TReplyResult TReplyChecks::End(int output, TReplyOutcome outcome) {
  TCheck& check = *checks_[output - 1];
  TReplyResult result{check.Button, output, outcome, std::move(check.Received)};
  checks_[output - 1].reset();
  return result;
}
