// libFuzzer target: an expected-reply text and the bursts a device sends,
// through the reply check. The first byte is the length of the reply text;
// each burst after it is a length byte and that many bytes. A check that
// matched must have its pattern in what arrived, and it never keeps more than
// its bound of received bytes.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/ReplyChecks.h"
#include "core/ReplyPattern.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  if (input.empty()) return 0;
  const size_t replyLength =
      std::min<size_t>(static_cast<uint8_t>(input.front()), input.size() - 1);
  const TReplyPattern pattern = ParseReplyPattern(input.substr(1, replyLength));
  input.remove_prefix(1 + replyLength);

  const auto start = TReplyChecks::TClock::time_point{};
  TReplyChecks checks;
  checks.Start(1, 1, pattern, start + std::chrono::seconds(1));
  std::string received;
  while (!input.empty()) {
    const size_t length = std::min<size_t>(static_cast<uint8_t>(input.front()), input.size() - 1);
    const std::string_view burst = input.substr(1, length);
    input.remove_prefix(1 + length);
    received.append(burst);
    if (const auto result = checks.Receive(1, burst)) {
      if (result->Outcome != TReplyOutcome::Matched) __builtin_trap();
      if (FindReply(pattern, received) == std::string_view::npos) __builtin_trap();
      if (result->Received.size() > TReplyChecks::kKeptBytes) __builtin_trap();
      return 0;
    }
  }
  // Unmatched to the end: the whole of it holds no match either.
  if (checks.Running(1) && FindReply(pattern, received) != std::string_view::npos) __builtin_trap();
  for (const TReplyResult& result : checks.Expire(start + std::chrono::seconds(1))) {
    if (result.Outcome == TReplyOutcome::Matched) __builtin_trap();
  }
  return 0;
}
