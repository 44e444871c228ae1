#include "core/ReplyPattern.h"

#include "core/SerialData.h"

namespace {

constexpr std::string_view kAnyByteToken = "??";

}  // namespace

TReplyPattern ParseReplyPattern(std::string_view replyText) {
  TReplyPattern pattern;
  ForEachSerialDataToken(replyText, [&](std::string_view token) {
    if (token == kAnyByteToken) {
      pattern.Bytes.push_back(TReplyPattern::kAnyByte);
      return;
    }
    std::string bytes;
    AppendSerialDataToken(token, bytes);
    for (unsigned char byte : bytes) pattern.Bytes.push_back(byte);
  });
  return pattern;
}

std::string ReplyPatternInHex(const TReplyPattern& pattern) {
  if (pattern.Empty()) return "none expected";
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (const int16_t byte : pattern.Bytes) {
    if (!hex.empty()) hex += ' ';
    if (byte == TReplyPattern::kAnyByte) {
      hex += kAnyByteToken;
    } else {
      hex += kHexDigits[byte >> 4];
      hex += kHexDigits[byte & 0x0F];
    }
  }
  return hex;
}

size_t FindReply(const TReplyPattern& pattern, std::string_view received) {
  const size_t length = pattern.Bytes.size();
  if (length == 0 || received.size() < length) return std::string_view::npos;
  // Replies and patterns are short: the plain search is the fastest there is.
  for (size_t at = 0; at + length <= received.size(); ++at) {
    size_t matched = 0;
    while (matched < length &&
           (pattern.Bytes[matched] == TReplyPattern::kAnyByte ||
            pattern.Bytes[matched] == static_cast<unsigned char>(received[at + matched]))) {
      ++matched;
    }
    if (matched == length) return at;
  }
  return std::string_view::npos;
}
